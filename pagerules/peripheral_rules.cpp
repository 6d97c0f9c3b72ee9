#include "pagerules/peripheral_rules.h"

#include "net/device_family.h"
#include "pagerules/field_text.h"

namespace {

constexpr uint32_t kBauds[] = {2400, 4800, 9600, 19200, 38400, 57600, 115200};
constexpr size_t kModel1 = 2, kModel2 = 3, kBaud1 = 4, kBaud2 = 8, kId1 = 12, kId2 = 13;

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
  PeripheralValues v;
  if (peri.size() < kPeriBlockSize) return v;
  v.model1 = CodeTableIndexOf(peri[kModel1]);
  v.model2 = CodeTableIndexOf(peri[kModel2]);
  v.baud1 = IndexOfBaud(ReadU32(peri, kBaud1));
  v.baud2 = IndexOfBaud(ReadU32(peri, kBaud2));
  v.id1 = peri[kId1];
  v.id2 = peri[kId2];
  return v;
}

PeripheralStore StorePeripheral(const PeripheralValues& now, const PeripheralValues& snapshot,
                                std::span<uint8_t> peri) {
  PeripheralStore s;
  if (peri.size() < kPeriBlockSize) return s;
  auto byte = [&](int value, int was, size_t offset, bool device) {
    if (value == was || value < 0 || value > 255) return;
    peri[offset] = static_cast<uint8_t>(value);
    s.written = true;
    s.devicesChanged |= device;
  };
  byte(now.id1, snapshot.id1, kId1, true);
  byte(now.id2, snapshot.id2, kId2, true);
  if (now.model1 != snapshot.model1)
    byte(CodeTableValueAt(static_cast<uint8_t>(now.model1)), -1, kModel1, true);
  if (now.model2 != snapshot.model2)
    byte(CodeTableValueAt(static_cast<uint8_t>(now.model2)), -1, kModel2, true);
  if (now.baud1 != snapshot.baud1) {
    WriteU32(peri, kBaud1, BaudOfIndex(now.baud1));
    s.written = true;
  }
  if (now.baud2 != snapshot.baud2) {
    WriteU32(peri, kBaud2, BaudOfIndex(now.baud2));
    s.written = true;
  }
  return s;
}
