// What the disc writer decides without the engine or the system: the disc file name's checks,
// the media kind of a disc, the space test, the result texts, and the merge of a new session's
// items with the items of the disc's last session.
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>

#include "disc/engine_records.h"

namespace disc {

// The writer's media kinds.
enum MediaKind : uint32_t {
  kKindNoDisc = 0,
  kKindCD = 1,
  kKindDVD = 0xC001C,
  kKindNotWritable = 0x400,
};

// The kind of the disc whose media-type bits are `mask` (hasInfo false: no disc information).
// A mask of no known kind gives kKindNotWritable, or `previous` when keepUnknown is set.
uint32_t MediaKindOf(bool hasInfo, uint32_t mask, bool keepUnknown = false,
                     uint32_t previous = kKindNoDisc);

// Whether a disc file name ends in ".DVR" in any letter case.
bool HasDvrExtension(const std::string& name);

// The name part of a path (after the last backslash or slash).
std::string FileNamePart(const std::string& path);

// Whether two names on a disc are the same without regard to case.
bool SameDiscName(const std::string& a, const std::string& b);

// Whether `needed` bytes and a margin of 4096 fit in `freeBlocks` blocks of 2048 bytes.
bool SpaceSuffices(uint64_t neededBytes, uint32_t freeBlocks);

// Texts of the engine's results.
std::string ImportResultText(int result);   // the words put into the import message
std::string BurnResultMessage(int result);  // empty for success

// An item's name: its long file name when set, else its short name.
std::string ItemName(const EngineIsoItem& item);

// An item's entry time as local calendar time; -1 when unset or before 1970.
int64_t ItemEntryTime(const EngineIsoItem& item);

// What the merge needs of its caller.
struct MergeHooks {
  // The time of a new item's source file; -1 when it cannot be read.
  std::function<int64_t(const EngineIsoItem&)> sourceTime;
  // Releases one item that left both lists.
  std::function<void(EngineIsoItem*)> releaseItem;
};

// Merges the imported items into the new list (held by *newList): of two items with one name
// the newer stays in the new list and the other is released; the remaining imported items follow
// the last new item.  False when either list is empty (the imported items are then still
// appended, when there are any).
bool MergeItemLists(EngineIsoItem** newList, EngineIsoItem* imported, const MergeHooks& hooks);

}  // namespace disc
