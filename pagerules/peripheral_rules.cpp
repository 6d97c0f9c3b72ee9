#include "pagerules/peripheral_rules.h"

#include "net/device_family.h"
#include "net/sys_cfg_fields.h"

namespace {

constexpr uint32_t kBauds[] = {2400, 4800, 9600, 19200, 38400, 57600, 115200};

}  // namespace

uint32_t BaudOfIndex(int index) {
  return index >= 0 && index < 7 ? kBauds[index] : 2400;
}

int IndexOfBaud(uint32_t rate) {
  for (int i = 0; i < 7; ++i)
    if (kBauds[i] == rate) return i;
  return 0;
}

PeripheralValues LoadPeripheral(std::span<const uint8_t> peri) {
  using namespace cfg::peri;
  PeripheralValues v;
  v.model1 = CodeTableIndexOf(static_cast<uint8_t>(CfgGetUint(peri, kPeri1Model)));
  v.model2 = CodeTableIndexOf(static_cast<uint8_t>(CfgGetUint(peri, kPeri2Model)));
  v.baud1 = IndexOfBaud(CfgGetUint(peri, kPeri1Baud));
  v.baud2 = IndexOfBaud(CfgGetUint(peri, kPeri2Baud));
  v.id1 = static_cast<int>(CfgGetUint(peri, kPeri1ID));
  v.id2 = static_cast<int>(CfgGetUint(peri, kPeri2ID));
  return v;
}

PeripheralStore StorePeripheral(const PeripheralValues& now, const PeripheralValues& snapshot,
                                std::span<uint8_t> peri) {
  using namespace cfg::peri;
  PeripheralStore s;
  if (peri.size() < SysCfgBlockSizes[kSysCfgPeri]) return s;
  auto set = [&](const CfgField& field, uint32_t value, bool device) {
    CfgSetUint(peri, field, value);
    s.written = true;
    s.devicesChanged |= device;
  };
  auto id = [&](const CfgField& field, int value, int was) {
    if (value != was && value >= 0 && value <= 255) set(field, static_cast<uint32_t>(value), true);
  };
  id(kPeri1ID, now.id1, snapshot.id1);
  id(kPeri2ID, now.id2, snapshot.id2);
  if (now.model1 != snapshot.model1)
    set(kPeri1Model, CodeTableValueAt(static_cast<uint8_t>(now.model1)), true);
  if (now.model2 != snapshot.model2)
    set(kPeri2Model, CodeTableValueAt(static_cast<uint8_t>(now.model2)), true);
  if (now.baud1 != snapshot.baud1) set(kPeri1Baud, BaudOfIndex(now.baud1), false);
  if (now.baud2 != snapshot.baud2) set(kPeri2Baud, BaudOfIndex(now.baud2), false);
  return s;
}
