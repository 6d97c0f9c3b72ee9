// Folder and file-name texts.
#pragma once

#include <string>

// directory = path up to, not including, its last backslash; empty when the path has no
// backslash or only a leading one. Returns 1.
int DirectoryOfPath(const std::string& path, std::string& directory);

// Appends a backslash when the folder does not end in one.
void EnsureFolderBackslash(std::string& folder);

// folder followed by name, with one path separator between them when folder is not empty and
// does not already end in one ('\\' or '/').
std::string JoinFolderAndName(const std::string& folder, const std::string& name);
