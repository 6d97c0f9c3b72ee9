#include "settings/sheet_rules.h"

#include <array>

namespace {

constexpr const char* kDvrCaptions[] = {nullptr,
                                        nullptr,
                                        nullptr,
                                        nullptr,
                                        nullptr,
                                        "DVR-CAMERA",
                                        "DVR-Device",
                                        "DVR-Detection",
                                        "DVR-Network Backup",
                                        "DVR-Search List",
                                        "DVR-Timer Record",
                                        "DVR-Date",
                                        "DVR-Record"};

struct Row {
  const char* caption;
  const char* parent;
};
constexpr Row kRows[20] = {
    {"Network", nullptr},
    {"DDNS", "Network"},
    {"Mail", "Network"},
    {"FTP", "Network"},
    {"Server Time Config", "Network"},
    {"DVR", nullptr},
    {"Device", "DVR"},
    {"Detection", "DVR"},
    {"Network Backup", "DVR"},
    {"Search List", "DVR"},
    {"Timer Record", "DVR"},
    {"Date", "DVR"},
    {"Record Setting", "DVR"},
    {"Alarm", nullptr},
    {"Alarm List", "Alarm"},
    {"General", nullptr},
    {"Account", "General"},
    {"Peripheral", "General"},
    {"Online User Info", "General"},
    {"File Path", "General"},
};

constexpr std::array<PageTreeRow, 20> MakeRows(bool frameCaptions, bool recordBeforeDate) {
  std::array<PageTreeRow, 20> rows{};
  for (size_t i = 0; i < rows.size(); ++i) {
    const char* frame = frameCaptions && i < std::size(kDvrCaptions) ? kDvrCaptions[i] : nullptr;
    rows[i] = {kRows[i].caption, kRows[i].parent, frame};
  }
  if (recordBeforeDate) std::swap(rows[11], rows[12]);
  return rows;
}

constexpr auto kDvrTable = MakeRows(true, false);
constexpr auto kPlainTable = MakeRows(false, false);
constexpr auto kRz8pTable = MakeRows(false, true);

bool Equal(const char* a, std::string_view b) {
  return a != nullptr && std::string_view(a) == b;
}

}  // namespace

SheetFamily SheetFamilyOf(std::string_view id) {
  if (id == "RZ1K" || id == "RZ3K" || id == "RZ4K") return SheetFamily::kDvr;
  if (id == "RZ2K") return SheetFamily::kRz2k;
  if (id == "RZ5M" || id == "RZ6M" || id == "RZ7M") return SheetFamily::kRzm;
  if (id == "RZ8P") return SheetFamily::kRz8p;
  return SheetFamily::kNone;
}

std::span<const PageTreeRow> PageTreeRows(SheetFamily family) {
  switch (family) {
    case SheetFamily::kDvr:
      return kDvrTable;
    case SheetFamily::kRz2k:
    case SheetFamily::kRzm:
      return kPlainTable;
    case SheetFamily::kRz8p:
      return kRz8pTable;
    case SheetFamily::kNone:
      break;
  }
  return {};
}

std::vector<PageTreeItem> PlanPageTree(std::span<const PageTreeRow> rows,
                                       std::span<const std::string> captions) {
  std::vector<PageTreeItem> items;
  for (size_t page = 0; page < captions.size(); ++page) {
    int row = -1;
    for (size_t r = 0; r < rows.size(); ++r) {
      if (Equal(rows[r].caption, captions[page])) {
        row = static_cast<int>(r);
        break;
      }
    }
    if (row < 0) break;
    int parent = -1;
    if (rows[row].parent != nullptr) {
      // The last row of that caption that already has an item.
      for (const PageTreeItem& item : items) {
        if (Equal(rows[item.row].caption, rows[row].parent)) parent = item.row;
      }
    }
    items.push_back({static_cast<int>(page), row, parent});
  }
  return items;
}

bool TakeFirstPathPart(std::string_view path, std::string& part, std::string& rest) {
  size_t split = std::string_view::npos;
  for (size_t i = 0; i + 1 < path.size(); ++i) {
    if (path[i] != ':' || path[i + 1] != ':') continue;
    size_t slashes = 0;
    while (slashes < i && path[i - 1 - slashes] == '\\') ++slashes;
    if (slashes % 2 == 0) {
      split = i;
      break;
    }
  }
  const std::string_view first = split == std::string_view::npos ? path : path.substr(0, split);
  part.clear();
  for (size_t i = 0; i < first.size(); ++i) {
    if (first[i] == '\\' && i + 2 < first.size() + 1 && first.substr(i).starts_with("\\::")) {
      part += "::";
      i += 2;
    } else if (first[i] == '\\' && i + 1 < first.size() && first[i + 1] == '\\') {
      part += '\\';
      i += 1;
    } else {
      part += first[i];
    }
  }
  if (split == std::string_view::npos) {
    rest.clear();
    return false;
  }
  rest = std::string(path.substr(split + 2));
  return true;
}

std::string SheetTitleText(std::string_view id) {
  if (id == "RZ2K" || id == "RZ8P") return "Video Server";
  if (id == "RZ1K") return "16CH DVR";
  if (id == "RZ3K") return "8CH DVR";
  if (id == "RZ4K") return "4CH DVR";
  if (SheetFamilyOf(id) == SheetFamily::kRzm) return "DVR Setting";
  return {};
}

std::vector<std::string> FamilyPageCaptions(std::string_view id, bool alarmListOnDvr) {
  switch (SheetFamilyOf(id)) {
    case SheetFamily::kDvr: {
      std::vector<std::string> pages{"Network",     "DDNS",         "Mail",      "FTP",
                                     "DVR",         "Device",       "Detection", "Network Backup",
                                     "Search List", "Timer Record", "Date",      "Record Setting",
                                     "Alarm"};
      if (alarmListOnDvr) pages.emplace_back("Alarm List");
      for (const char* p : {"General", "Account", "Online User Info", "File Path"})
        pages.emplace_back(p);
      return pages;
    }
    case SheetFamily::kRz2k:
      return {"Network",    "DDNS",    "Mail",    "FTP",        "Server Time Config", "Alarm",
              "Alarm List", "General", "Account", "Peripheral", "Online User Info",   "File Path"};
    case SheetFamily::kRz8p:
      return {"Network",  "DDNS",       "Mail",    "FTP",     "Server Time Config",
              "Alarm",    "Alarm List", "General", "Account", "Online User Info",
              "File Path"};
    case SheetFamily::kRzm:
      return {"Network",          "Mail",     "FTP", "Alarm", "Alarm List", "General", "Account",
              "Online User Info", "File Path"};
    case SheetFamily::kNone:
      break;
  }
  return {};
}

std::vector<std::string> ApplyStepCaptions(std::string_view id) {
  const SheetFamily family = SheetFamilyOf(id);
  std::vector<std::string> steps{"Account", "Alarm",     "Mail", "FTP",
                                 "Device",  "Detection", "DVR",  "DDNS"};
  if (family == SheetFamily::kRz2k || family == SheetFamily::kRz8p) {
    steps.emplace_back("Peripheral");
    steps.emplace_back("Server Time Config");
  }
  steps.emplace_back("General");
  if (family == SheetFamily::kDvr) {
    steps.emplace_back("Timer Record");
    steps.emplace_back("Date");
    steps.emplace_back("Record Setting");
  }
  if (family != SheetFamily::kRzm) steps.emplace_back("Network");
  return steps;
}

bool RefusePppoeWithoutDdns(std::string_view id, uint8_t addressMode, bool ddnsEnabled) {
  const SheetFamily family = SheetFamilyOf(id);
  if (family == SheetFamily::kRzm || family == SheetFamily::kNone) return false;
  return addressMode == 1 && !ddnsEnabled;
}

int ChannelRowsOf(std::string_view id) {
  if (id == "RZ1K") return 16;
  if (id == "RZ3K") return 8;
  if (id == "RZ4K") return 4;
  return 0;
}

bool SheetHasApply(std::string_view id) {
  return SheetFamilyOf(id) != SheetFamily::kNone;
}

bool SheetHasReboot(std::string_view id) {
  const SheetFamily family = SheetFamilyOf(id);
  return family == SheetFamily::kRz2k || family == SheetFamily::kRz8p;
}
