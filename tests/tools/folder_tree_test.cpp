// The folder chooser's tree over a fake file system and a fake network: path components, the
// display form of names, the roots' order, filling at the first expansion only, item paths,
// which items OK accepts, network records without names, and opening the start folder.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tools/folder_tree.h"

namespace {

TEST(FolderTree, ParsePathGivesEachComponent) {
  struct Case {
    const char* path;
    int level;
    bool ok;
    const char* component;
  };
  const Case cases[] = {
      {"C:\\", 0, true, "C:"},
      {"C:\\", 1, true, ""},
      {"C:\\", 2, false, ""},
      {"C:\\Windows\\System32", 1, true, "Windows"},
      {"C:\\Windows\\System32", 2, true, "System32"},
      {"C:\\Windows\\System32", 3, false, ""},
      {"\\\\SERVER\\Share\\", 0, true, ""},
      {"\\\\SERVER\\Share\\", 2, true, "SERVER"},
      {"", 0, true, ""},
      {"", 1, false, ""},
      {"C:", -1, false, ""},
  };
  for (const Case& c : cases) {
    std::string out = "unchanged";
    EXPECT_EQ(ParsePath(c.path, c.level, out), c.ok) << c.path << " " << c.level;
    if (c.ok) {
      EXPECT_EQ(out, c.component) << c.path << " " << c.level;
    }
  }
}

TEST(FolderTree, MakeProperCaseLowersNamesWithoutSmallLetters) {
  const std::pair<const char*, const char*> cases[] = {
      {"WINDOWS", "Windows"},
      {"SERVER", "Server"},
      {"c:", "C:"},
      {"C:", "C:"},
      {"Program Files", "Program Files"},
      {"Network Neighborhood", "Network Neighborhood"},
      {"MyData", "MyData"},
      {"DATA_2", "Data_2"},
      {"1999", "1999"},
      {"DaTA", "DaTA"},  // a small letter after the first keeps the name
      {"dATA", "Data"},
      {"", ""},
      {"\xC4QUA", "\xC4qua"},  // a byte above 127 is left alone
  };
  for (const auto& [name, shown] : cases) EXPECT_EQ(MakeProperCase(name), shown) << name;
}

TEST(FolderTree, NetworkEntriesTakeTheirNamesAndSkipNamelessRecords) {
  struct Case {
    const char* remote;
    const char* comment;
    uint32_t displayType;
    const char* name;
    bool share;
  };
  const Case cases[] = {
      {"\\\\SERVER", "", 2, "SERVER", false},
      {"WORKGROUP", "", 1, "WORKGROUP", false},
      {"\\\\SERVER\\Share", "", kNetDisplayShare, "Share", true},
      {"Share", "", kNetDisplayShare, "Share", true},
      {"", "Microsoft Network", 0, "Microsoft Network", false},
      {"\\\\\\three", "", 2, "\\three", false},  // at most two backslashes are removed
      {"", "", 2, "", false},                    // no name at all: skipped
      {"\\\\", "", 2, "", false},
      {"\\\\SERVER\\", "", kNetDisplayShare, "", true},
  };
  for (const Case& c : cases) {
    NetResource r;
    r.remoteName = c.remote;
    r.comment = c.comment;
    r.displayType = c.displayType;
    const NetEntry e = NetworkEntry(r);
    EXPECT_EQ(e.name, c.name) << c.remote << "|" << c.comment;
    EXPECT_EQ(e.share, c.share) << c.remote;
  }
}

// A file system of drive letters and folders, counting the listings it was asked for.
class FakeFiles : public FolderSource {
 public:
  std::map<char, unsigned> drives;
  std::map<std::string, std::vector<Entry>> folders;  // by path ending in '\'
  std::vector<std::string> listed;

  unsigned DriveType(char letter) override {
    const auto it = drives.find(letter);
    return it == drives.end() ? 1 : it->second;
  }
  std::vector<Entry> List(const std::string& path) override {
    listed.push_back(path);
    const auto it = folders.find(path);
    return it == folders.end() ? std::vector<Entry>{} : it->second;
  }
};

// A network neighbourhood: a workgroup with one server and its shares, and a record without
// any name.
class FakeNetwork : public NetworkProvider {
 public:
  bool open = true;
  std::vector<std::string> asked;  // the parent's remote name, "" for the neighbourhood

  bool Enumerate(const NetResource* parent,
                 const std::function<void(const NetResource&)>& add) override {
    asked.push_back(parent ? parent->remoteName : "");
    if (!open) return false;
    if (parent == nullptr) {
      add(Record("WORKGROUP", 1));
      add(Record("", 2));
    } else if (parent->remoteName == "WORKGROUP") {
      add(Record("\\\\SERVER", 2));
    } else if (parent->remoteName == "\\\\SERVER") {
      add(Record("\\\\SERVER\\Video", kNetDisplayShare));
      add(Record("\\\\SERVER\\ARCHIVE", kNetDisplayShare));
    }
    return true;
  }
  static NetResource Record(const char* remote, uint32_t displayType) {
    NetResource r;
    r.remoteName = remote;
    r.displayType = displayType;
    r.provider = "Fake Network";
    return r;
  }
};

std::vector<std::string> Texts(const std::vector<std::unique_ptr<FolderTree::Item>>& items) {
  std::vector<std::string> texts;
  for (const auto& i : items) texts.push_back(i->text);
  return texts;
}

FolderTree::Item* Child(const std::vector<std::unique_ptr<FolderTree::Item>>& items,
                        const std::string& text) {
  for (const auto& i : items)
    if (i->text == text) return i.get();
  return nullptr;
}

struct Fixture {
  FakeFiles files;
  FakeNetwork network;
  FolderTree tree{files, &network};
  Fixture() {
    files.drives = {{'C', 3}, {'D', 5}, {'O', 4}, {'E', 0}, {'R', 6}, {'A', 2}};
    files.folders["C:\\"] = {
        {".", true},         {"..", true},     {"WINDOWS", true}, {"Program Files", true},
        {"boot.ini", false}, {"MyData", true}, {"DATA", true}};
    files.folders["C:\\Windows\\"] = {{"System32", true}, {"notepad.exe", false}};
    tree.Init();
  }
};

TEST(FolderTree, RootsAreTheDrivesAndTheNetworkInTheTreesOrder) {
  Fixture f;
  EXPECT_EQ(Texts(f.tree.Roots()),
            (std::vector<std::string>{"A:", "C:", "D:", "Network Neighborhood", "O:", "R:"}));
  std::vector<int> images;
  for (const auto& r : f.tree.Roots()) images.push_back(r->image);
  EXPECT_EQ(images, (std::vector<int>{2, 3, 5, 7, 4, 6}));
  for (const auto& r : f.tree.Roots()) {
    EXPECT_TRUE(r->childButton) << r->text;
    EXPECT_TRUE(r->children.empty()) << r->text;
  }
  EXPECT_TRUE(f.files.listed.empty());
  EXPECT_TRUE(f.network.asked.empty());
}

TEST(FolderTree, AFolderIsListedAtItsFirstExpansionOnly) {
  Fixture f;
  FolderTree::Item* c = Child(f.tree.Roots(), "C:");
  ASSERT_TRUE(f.tree.Fill(*c));
  EXPECT_EQ(f.files.listed, std::vector<std::string>{"C:\\"});
  // Folders only, hidden ones too; names without small letters in proper case; sorted.
  EXPECT_EQ(Texts(c->children),
            (std::vector<std::string>{"Data", "MyData", "Program Files", "Windows"}));
  FolderTree::Item* windows = Child(c->children, "Windows");
  EXPECT_EQ(windows->image, 1);
  EXPECT_EQ(windows->selectedImage, 0);

  // Collapsed and opened again: nothing is listed again, a folder made meanwhile stays unseen.
  f.files.folders["C:\\"].push_back({"New", true});
  EXPECT_FALSE(f.tree.Fill(*c));
  EXPECT_EQ(c->children.size(), 4u);
  EXPECT_EQ(f.files.listed.size(), 1u);

  ASSERT_TRUE(f.tree.Fill(*windows));
  EXPECT_EQ(f.files.listed.back(), "C:\\Windows\\");
  FolderTree::Item* system32 = Child(windows->children, "System32");
  ASSERT_NE(system32, nullptr);
  EXPECT_EQ(FolderTree::ItemPath(*system32), "C:\\Windows\\System32\\");
  EXPECT_EQ(FolderTree::ItemPath(*c), "C:\\");
  EXPECT_EQ(FolderTree::ItemPath(*Child(c->children, "Data")), "C:\\Data\\");
  EXPECT_EQ(FolderTree::ItemPath(*Child(c->children, "MyData")), "C:\\MyData\\");

  // Nothing below: the expand button goes.
  EXPECT_FALSE(f.tree.Fill(*system32));
  EXPECT_FALSE(system32->childButton);
  // A CD drive without a disc likewise.
  FolderTree::Item* d = Child(f.tree.Roots(), "D:");
  EXPECT_FALSE(f.tree.Fill(*d));
  EXPECT_FALSE(d->childButton);
}

TEST(FolderTree, TheNetworkGivesServersWithRecordsAndSharesAsFolders) {
  Fixture f;
  FolderTree::Item* root = Child(f.tree.Roots(), "Network Neighborhood");
  EXPECT_FALSE(FolderTree::AcceptsItem(*root));
  ASSERT_TRUE(f.tree.Fill(*root));
  // The record without a name is skipped.
  EXPECT_EQ(Texts(root->children), std::vector<std::string>{"Workgroup"});
  FolderTree::Item* group = root->children[0].get();
  ASSERT_TRUE(group->record);
  EXPECT_EQ(group->image, 8);
  EXPECT_EQ(group->record->provider, "Fake Network");
  ASSERT_TRUE(f.tree.Fill(*group));
  FolderTree::Item* server = Child(group->children, "Server");
  ASSERT_NE(server, nullptr);
  EXPECT_EQ(server->image, 9);
  EXPECT_FALSE(FolderTree::AcceptsItem(*server));
  EXPECT_EQ(FolderTree::ItemPath(*server), "\\\\SERVER\\");
  ASSERT_TRUE(f.tree.Fill(*server));
  EXPECT_EQ(Texts(server->children), (std::vector<std::string>{"Archive", "Video"}));
  FolderTree::Item* video = Child(server->children, "Video");
  EXPECT_FALSE(video->record);
  EXPECT_EQ(video->image, 1);
  EXPECT_TRUE(FolderTree::AcceptsItem(*video));
  EXPECT_EQ(FolderTree::ItemPath(*video), "\\\\SERVER\\Video\\");
  // A share is listed from the file system under its network path.
  f.files.folders["\\\\SERVER\\Video\\"] = {{"Cam1", true}};
  ASSERT_TRUE(f.tree.Fill(*video));
  EXPECT_EQ(FolderTree::ItemPath(*video->children[0]), "\\\\SERVER\\Video\\Cam1\\");
  EXPECT_EQ(f.network.asked, (std::vector<std::string>{"", "WORKGROUP", "\\\\SERVER"}));
}

TEST(FolderTree, ANetworkThatCannotBeEnumeratedLeavesTheRootEmpty) {
  Fixture f;
  f.network.open = false;
  FolderTree::Item* root = Child(f.tree.Roots(), "Network Neighborhood");
  EXPECT_FALSE(f.tree.Fill(*root));
  EXPECT_FALSE(root->childButton);

  FakeFiles files;
  FolderTree noNetwork(files, nullptr);
  noNetwork.Init();
  ASSERT_EQ(noNetwork.Roots().size(), 1u);
  EXPECT_FALSE(noNetwork.Fill(*noNetwork.Roots()[0]));
}

TEST(FolderTree, TheStartFolderIsOpenedAsFarAsItIsFound) {
  struct Case {
    const char* start;
    std::vector<std::string> chain;
    bool whole;
  };
  const Case cases[] = {
      {"C:\\Windows\\System32", {"C:", "Windows", "System32"}, true},
      {"c:\\windows\\system32\\", {"C:", "Windows", "System32"}, true},
      {"C:\\", {"C:"}, true},
      {"C:\\Windows\\Gone\\Deeper", {"C:", "Windows"}, false},
      {"Q:\\Data", {}, false},
      {"\\\\SERVER\\Video\\", {}, false},
      {"Network Neighborhood\\Workgroup", {}, false},
      {"", {}, false},
      {"UnKnown", {}, false},
  };
  for (const Case& c : cases) {
    Fixture f;
    std::vector<std::string> filled;
    const FolderTree::Located found = f.tree.Locate(c.start, [&](FolderTree::Item& item) {
      filled.push_back(item.text);
      return f.tree.Fill(item);
    });
    std::vector<std::string> chain;
    for (const FolderTree::Item* i : found.chain) chain.push_back(i->text);
    EXPECT_EQ(chain, c.chain) << c.start;
    EXPECT_EQ(found.whole, c.whole) << c.start;
    // Only the items with components below them are filled, never the network.
    std::vector<std::string> above = c.chain;
    if (c.whole) above.pop_back();
    EXPECT_EQ(filled, above) << c.start;
    EXPECT_TRUE(f.network.asked.empty()) << c.start;
  }
}

}  // namespace
