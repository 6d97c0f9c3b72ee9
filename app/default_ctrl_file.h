// The built-in template of the per-model command file "CtrlFile.ini".
#pragma once

#include <cstdint>
#include <functional>
#include <string>

inline constexpr uint32_t kMsgCannotCreateCtrlFile =
    4009;  // "Can't read or create a CtrlFile.ini!!"

// The template as written: 167 lines, each ended by a line feed.
std::string DefaultCtrlFileText();

// Writes the template to fileName (binary, so line ends stay single line feeds). Returns 1, or
// 0 after showMessage(kMsgCannotCreateCtrlFile) when the file cannot be created or written.
int WriteDefaultCtrlFile(const std::string& fileName,
                         const std::function<void(uint32_t stringId)>& showMessage);
