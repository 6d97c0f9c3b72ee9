// The folder chooser's tree without a window: the drive roots and the network neighbourhood,
// each item filled at its first expansion from the file system or the network, the display
// form of names, an item's path and which items OK accepts.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The component of a backslash-separated text at `level` (counted from 0): the text between the
// level-th backslash (or the start) and the next one (or the end).  False when the text has fewer
// than `level` backslashes.  "C:\" gives "C:" at level 0, "" at level 1 and false at level 2.
bool ParsePath(std::string_view path, int level, std::string& out);

// The display form of a name: a name holding a letter a-z after its first character stays as
// it is; any other is lower-cased whole and its first character upper-cased (WINDOWS ->
// Windows, c: -> C:, Program Files and MyData unchanged).
std::string MakeProperCase(std::string_view name);

// A record of the network enumeration, with its texts owned (a missing text is empty).
struct NetResource {
  uint32_t scope = 0;
  uint32_t type = 0;
  uint32_t displayType = 0;
  uint32_t usage = 0;
  std::string localName, remoteName, comment, provider;
};

inline constexpr uint32_t kNetDisplayShare = 3;

// The entry a network record adds to the tree: its name and whether it is a share (a share is
// a folder; every other entry keeps its record to be enumerated further).  An empty name means
// the record is skipped.
struct NetEntry {
  std::string name;
  bool share = false;
};
NetEntry NetworkEntry(const NetResource& resource);

// The network neighbourhood behind the chooser.
class NetworkProvider {
 public:
  virtual ~NetworkProvider() = default;
  // Hands every entry below `parent` (the local machine's neighbourhood when null) to `add`, as
  // the enumeration returns them.  False when the enumeration could not be opened; entries
  // handed over before a failed call stay.
  virtual bool Enumerate(const NetResource* parent,
                         const std::function<void(const NetResource&)>& add) = 0;
};

// The local file system behind the chooser.
class FolderSource {
 public:
  struct Entry {
    std::string name;
    bool folder = false;
  };
  virtual ~FolderSource() = default;
  // The drive type of "<letter>:\": 2 removable, 3 fixed, 4 remote, 5 CD-ROM, 6 RAM disk; 0 or
  // 1 when there is no such drive.
  virtual unsigned DriveType(char letter) = 0;
  // The entries of a folder (`path` ends in a backslash); none when it cannot be read.
  virtual std::vector<Entry> List(const std::string& path) = 0;
};

// Image indices of the tree's pictures.
enum FolderImage : int {
  kImageOpenFolder = 0,
  kImageFolder = 1,
  kImageNetworkRoot = 7,
};

class FolderTree {
 public:
  struct Item {
    std::string text;  // display form
    int image = 0;
    int selectedImage = 0;
    bool networkRoot = false;
    std::unique_ptr<NetResource> record;  // network items other than shares
    Item* parent = nullptr;
    std::vector<std::unique_ptr<Item>> children;  // in the tree's order
    // The expand button: every item has one until an expansion finds nothing below it.
    bool childButton = true;
  };

  static constexpr const char* kNetworkRootText = "Network Neighborhood";

  // `network` may be null: the neighbourhood then lists nothing.
  FolderTree(FolderSource& files, NetworkProvider* network) : m_files(files), m_network(network) {}

  // The roots: a drive item for every letter A-Z of type 2-6 (image = its type) and the network
  // root, in the tree's order (case-insensitive by text).
  void Init();
  const std::vector<std::unique_ptr<Item>>& Roots() const { return m_roots; }

  // Fills an item that has no children yet: the network root and network records from the
  // network, everything else with its sub-folders.  An item that already has children is left
  // as it is (the tree is never refreshed).  When nothing is found the item loses its expand
  // button.  True when children were added.
  bool Fill(Item& item);

  // The item's path, always ending in a backslash: the display texts from the root down, or
  // from the nearest network record's remote name ("C:\Windows\", "\\SERVER\Share\").
  static std::string ItemPath(const Item& item);
  // Whether OK accepts the item: drives, folders and shares; not the network root nor a record.
  static bool AcceptsItem(const Item& item) { return !item.networkRoot && !item.record; }

  // The items that lead to a start folder on a local drive, each filled on the way (`fill` is
  // called for every item whose components go on below it, before its children are searched),
  // compared case-insensitively component by component.  `whole` when every component was found.
  // A text on the network (starting with a backslash) is not followed: nothing is opened.
  struct Located {
    std::vector<Item*> chain;
    bool whole = false;
  };
  Located Locate(std::string_view startPath, const std::function<bool(Item&)>& fill);

 private:
  Item* Add(std::vector<std::unique_ptr<Item>>& siblings, Item* parent, std::string_view text,
            int image, int selectedImage);
  bool FillFromNetwork(Item& item);
  bool FillFromFolder(Item& item);

  FolderSource& m_files;
  NetworkProvider* m_network;
  std::vector<std::unique_ptr<Item>> m_roots;
};
