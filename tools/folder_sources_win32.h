// The folder chooser's sources on the platform: drive types and folder listings of the file
// system, and the network neighbourhood of the Windows networking enumeration.
#pragma once

#include "tools/folder_tree.h"

class Win32FolderSource : public FolderSource {
 public:
  unsigned DriveType(char letter) override;
  std::vector<Entry> List(const std::string& path) override;
};

class WNetNetworkProvider : public NetworkProvider {
 public:
  bool Enumerate(const NetResource* parent,
                 const std::function<void(const NetResource&)>& add) override;
};
