#include "tools/folder_tree.h"

#include <algorithm>

namespace {

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
char Upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The tree's order: case-insensitive by text.
bool Before(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(Lower(x)) < static_cast<unsigned char>(Lower(y));
  });
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return Lower(x) == Lower(y); });
}

}  // namespace

bool ParsePath(std::string_view path, int level, std::string& out) {
  if (level < 0) return false;
  size_t start = 0;
  for (int i = 0; i < level; ++i) {
    const size_t slash = path.find('\\', start);
    if (slash == std::string_view::npos) return false;
    start = slash + 1;
  }
  const size_t end = path.find('\\', start);
  out.assign(
      path.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
  return true;
}

std::string MakeProperCase(std::string_view name) {
  std::string text(name);
  if (!text.empty() &&
      std::any_of(text.begin() + 1, text.end(), [](char c) { return c >= 'a' && c <= 'z'; }))
    return text;
  for (char& c : text) c = Lower(c);
  if (!text.empty()) text[0] = Upper(text[0]);
  return text;
}

NetEntry NetworkEntry(const NetResource& resource) {
  NetEntry entry;
  std::string_view name = resource.remoteName.empty() ? resource.comment : resource.remoteName;
  for (int i = 0; i < 2 && !name.empty() && name.front() == '\\'; ++i) name.remove_prefix(1);
  entry.share = resource.displayType == kNetDisplayShare;
  if (entry.share) {
    const size_t slash = name.find('\\');
    if (slash != std::string_view::npos) name.remove_prefix(slash + 1);
  }
  entry.name.assign(name);
  return entry;
}

FolderTree::Item* FolderTree::Add(std::vector<std::unique_ptr<Item>>& siblings, Item* parent,
                                  std::string_view text, int image, int selectedImage) {
  auto item = std::make_unique<Item>();
  item->text = MakeProperCase(text);
  item->image = image;
  item->selectedImage = selectedImage < 0 ? image : selectedImage;
  item->parent = parent;
  Item* added = item.get();
  const auto at = std::upper_bound(siblings.begin(), siblings.end(), added->text,
                                   [](const std::string& t, const std::unique_ptr<Item>& other) {
                                     return Before(t, other->text);
                                   });
  siblings.insert(at, std::move(item));
  return added;
}

void FolderTree::Init() {
  m_roots.clear();
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const unsigned type = m_files.DriveType(letter);
    if (type < 2 || type > 6) continue;
    const char text[3] = {letter, ':', '\0'};
    Add(m_roots, nullptr, text, static_cast<int>(type), -1);
  }
  Add(m_roots, nullptr, kNetworkRootText, kImageNetworkRoot, -1)->networkRoot = true;
}

bool FolderTree::Fill(Item& item) {
  if (!item.children.empty()) return false;
  const bool added = item.networkRoot || item.record ? FillFromNetwork(item) : FillFromFolder(item);
  if (!added) item.childButton = false;
  return added;
}

bool FolderTree::FillFromFolder(Item& item) {
  bool added = false;
  for (const FolderSource::Entry& entry : m_files.List(ItemPath(item))) {
    if (!entry.folder || entry.name.empty() || entry.name == "." || entry.name == "..") continue;
    Add(item.children, &item, entry.name, kImageFolder, kImageOpenFolder);
    added = true;
  }
  return added;
}

bool FolderTree::FillFromNetwork(Item& item) {
  if (m_network == nullptr) return false;
  bool added = false;
  m_network->Enumerate(item.record.get(), [&](const NetResource& resource) {
    const NetEntry entry = NetworkEntry(resource);
    if (entry.name.empty()) return;
    if (entry.share) {
      Add(item.children, &item, entry.name, kImageFolder, kImageOpenFolder);
    } else {
      const int image =
          kImageNetworkRoot + static_cast<int>(std::min<uint32_t>(resource.displayType, 1000));
      Item* child = Add(item.children, &item, entry.name, image, -1);
      child->record = std::make_unique<NetResource>(resource);
    }
    added = true;
  });
  return added;
}

std::string FolderTree::ItemPath(const Item& item) {
  std::string path;
  for (const Item* at = &item; at != nullptr; at = at->parent) {
    if (at->record) {
      path.insert(0, at->record->remoteName + "\\");
      break;
    }
    path.insert(0, at->text + "\\");
  }
  return path;
}

FolderTree::Located FolderTree::Locate(std::string_view startPath,
                                       const std::function<bool(Item&)>& fill) {
  Located found;
  std::string component;
  if (!ParsePath(startPath, 0, component) || component.empty()) return found;
  const std::vector<std::unique_ptr<Item>>* level = &m_roots;
  for (int n = 0; ParsePath(startPath, n, component) && !component.empty(); ++n) {
    if (!found.chain.empty()) {
      Item& above = *found.chain.back();
      if (above.networkRoot || above.record) return found;
      fill(above);
      level = &above.children;
    }
    const auto match =
        std::find_if(level->begin(), level->end(),
                     [&](const std::unique_ptr<Item>& i) { return SameName(i->text, component); });
    if (match == level->end() || (*match)->networkRoot) return found;
    found.chain.push_back(match->get());
  }
  found.whole = !found.chain.empty();
  return found;
}
