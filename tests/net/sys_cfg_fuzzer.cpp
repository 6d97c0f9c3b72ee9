// Fuzzes the configuration blocks' decoders: the "ALL" split of both layouts and every field of
// every block read from a copy of any length, with the sender account's join.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "net/sys_cfg_blocks.h"
#include "net/sys_cfg_fields.h"

namespace {

void ReadEveryField(std::span<const uint8_t> block, uint8_t option) {
  for (const CfgField& f : AllCfgFields()) {
    if (f.option != option) continue;
    for (unsigned i = 0; i <= f.count; ++i) {
      const bool fits = CfgEntryFits(f, i, block.size());
      if (f.kind == CfgFieldKind::kText) {
        if (CfgGetText(block, f, i).size() > f.width) __builtin_trap();
      } else if (f.kind == CfgFieldKind::kBytes) {
        if (CfgGetBytes(block, f, i).size() != (fits ? f.width : 0u)) __builtin_trap();
      } else {
        (void)CfgGetUint(block, f, i);
        (void)CfgGetIpv4(block, f, i);
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t option = data[0] % kSysCfgAll;
  const std::span<const uint8_t> rest(data + 1, size - 1);

  // One block as the device might send it, of any length.
  ReadEveryField(rest, option);

  // The whole input as an "ALL" reply of either layout.
  for (SysCfgAllLayout layout : {SysCfgAllLayout::kVideoServer, SysCfgAllLayout::kDvr}) {
    std::vector<std::vector<uint8_t>> copies(kSysCfgAll);
    SysCfgAllTargets targets;
    for (int o = 0; o < kSysCfgAll; ++o) {
      copies[o].assign(SysCfgBlockSizes[o], 0xEE);
      targets.block[o] = copies[o].data();
    }
    const bool cut =
        CutSysCfgAll(rest.data(), static_cast<uint32_t>(rest.size()), true, layout, targets);
    if (cut != (rest.size() >= SysCfgAllFixedSize(layout))) __builtin_trap();
    for (int o = 0; o < kSysCfgAll; ++o) ReadEveryField(copies[o], static_cast<uint8_t>(o));

    for (const char* id : {"RZ1K", "RZ2K"}) {
      const MailOverflowPlace place = MailOverflowFor(id, "1060");
      const std::string account =
          ReadMailAccount(copies[kSysCfgSmtp], copies[place.option % kSysCfgAll], place);
      if (account.size() > 16 + 32) __builtin_trap();
      // Writing back what was read is read back the same (within the writable length).
      std::vector<uint8_t> smtp = copies[kSysCfgSmtp];
      std::vector<uint8_t> overflow = copies[place.option % kSysCfgAll];
      WriteMailAccount(smtp, overflow, place, account);
      (void)ReadMailAccount(smtp, overflow, place);
    }
  }
  return 0;
}
