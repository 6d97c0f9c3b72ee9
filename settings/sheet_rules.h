// The settings sheet's decisions by device family: which pages it shows and under which tree
// item, the title it names the device by, the order of the apply steps and when an apply is
// refused. Portable.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

enum class SheetFamily : uint8_t {
  kNone,  // a Product-ID of none of the families: no pages, no tree
  kDvr,   // RZ1K, RZ3K, RZ4K
  kRz2k,
  kRzm,  // RZ5M, RZ6M, RZ7M
  kRz8p,
};

SheetFamily SheetFamilyOf(std::string_view productId);

// One row of a family's page tree: the page caption it takes, its parent row's caption (null
// for a top-level row) and the frame caption shown over the page (null: the item's text).
struct PageTreeRow {
  const char* caption;
  const char* parent;
  const char* frameCaption;
};

// The family's 20 rows (none for kNone).
std::span<const PageTreeRow> PageTreeRows(SheetFamily family);

// The tree built from the pages' captions in page order: for each page that gets an item, its
// page index and row. The first page whose caption is in no row ends the tree.
struct PageTreeItem {
  int page;
  int row;
  int parentRow;  // -1: top level
};
std::vector<PageTreeItem> PlanPageTree(std::span<const PageTreeRow> rows,
                                       std::span<const std::string> captions);

// The first part of an item path and the rest after it: parts are apart by "::" unless an odd
// number of backslashes comes before it; "\::" reads as "::" and "\\" as "\". Without a
// separator the whole text is the part and no rest remains (false).
bool TakeFirstPathPart(std::string_view path, std::string& part, std::string& rest);

// The device kind in the title box: "16CH DVR", "8CH DVR", "4CH DVR", "Video Server",
// "DVR Setting"; empty for an unknown Product-ID.
std::string SheetTitleText(std::string_view productId);

// The captions of the family's pages, in the order they are added. alarmListOnDvr: the DVR's
// control-device list holds a unit of model 19, 22 or 23.
std::vector<std::string> FamilyPageCaptions(std::string_view productId, bool alarmListOnDvr);

// The captions of the pages whose apply steps run, in their fixed order (a step runs only when
// its page's window exists).
std::vector<std::string> ApplyStepCaptions(std::string_view productId);

// Whether the apply is refused (message 4101): the address mode is PPPoE while DDNS is off.
// Families whose network step never runs are not held by it.
bool RefusePppoeWithoutDdns(std::string_view productId, uint8_t addressMode, bool ddnsEnabled);

// Rows of the per-channel list pages: 16 for RZ1K, 8 for RZ3K, 4 for RZ4K, else 0.
int ChannelRowsOf(std::string_view productId);

// EXIT, APPLY and REBOOT: which the family shows (REBOOT on RZ2K and RZ8P only).
bool SheetHasApply(std::string_view productId);
bool SheetHasReboot(std::string_view productId);
