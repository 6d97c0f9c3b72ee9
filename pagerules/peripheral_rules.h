// The peripheral page's values in the PERI block.
#pragma once

#include <cstdint>
#include <span>

struct PeripheralValues {
  int baud1 = 0, baud2 = 0;    // combo index 0-6
  int model1 = 0, model2 = 0;  // combo index 0-10
  int id1 = 0, id2 = 0;        // 0..255
};

uint32_t BaudOfIndex(int index);  // 2400 for index 0 and any index outside 1-6
int IndexOfBaud(uint32_t rate);   // 0 for a rate not among the seven

PeripheralValues LoadPeripheral(std::span<const uint8_t> peri);

struct PeripheralStore {
  bool written = false;
  bool devicesChanged = false;  // an ID or a model changed: the control-device list follows
};
// IDs outside 0..255 are not written (the page refuses them before).
PeripheralStore StorePeripheral(const PeripheralValues& now, const PeripheralValues& snapshot,
                                std::span<uint8_t> peri);
