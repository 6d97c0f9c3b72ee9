// The list of controllable units behind the device (the recorder itself, cameras and recorders on
// its RS-485 bus), with the current one whose model decides the tool buttons and key scripts.
#pragma once

#include <cstdint>

// One unit of the list.
struct ControlDeviceSlot {
  uint32_t dwBaudRate;  // 2400 for units on the bus, 0 for the recorder itself; only stored
  uint8_t byAddress;    // bus address (0 for the recorder itself)
  uint8_t byModelRow;   // row of the model control table (rows past the table: no model)
  uint16_t wSlotFlags;  // CDS_* bits
};

// Slot flags.
inline constexpr uint16_t CDS_USED = 0x0001;
inline constexpr uint16_t CDS_CHANNEL = 0x0002;  // channel group: the recorder and its channels
inline constexpr uint16_t CDS_PTZ = 0x0004;      // PTZ group: units chosen by the PTZ dialog

// Told when the R.E.T.R. button must change: state 1 on ("R.E.T.R.(Enable)"), 0 off. Runs on the
// thread that reports the state (the receive thread), so it must only post.
using RetrButtonNotifier = void (*)(void* context, int buttonState);

class C_ControlD {
 public:
  static constexpr int kMaxEntries = 30;
  // Older names of the flags.
  static constexpr uint16_t kInUse = CDS_USED;
  static constexpr uint16_t kChannelDevice = CDS_CHANNEL;
  static constexpr uint16_t kBusDevice = CDS_PTZ;
  using Entry = ControlDeviceSlot;

  C_ControlD() { Clear(); }

  // Writes the next free slot with flags | CDS_USED; the current slot stays. 0, or -1 when full.
  int Add(uint32_t baud, uint8_t address, uint8_t modelRow, uint16_t groupFlags);
  // Header (R.E.T.R. state included) and every slot zero.
  void Clear();
  // Keeps only the channel-group slots, in order; the current one stays current when it was one
  // of them, else slot 0 becomes current.
  void Compact();
  // Makes the n-th used slot whose flags share a bit with mask current. 0, or -1 without change
  // when there is no such slot.
  int MakeCurrent(uint8_t mask, uint8_t n);

  uint8_t GetCurrentModelIndex() const { return m_Slots[m_byCurrent].byModelRow; }
  uint8_t GetCurrentAddress() const { return m_Slots[m_byCurrent].byAddress; }
  uint8_t GetLastChannelAddress() const { return m_Slots[m_byLastChannel].byAddress; }
  uint8_t GetLastPtzAddress() const { return m_Slots[m_byLastPtz].byAddress; }
  uint8_t GetLastChannelModelIndex() const { return m_Slots[m_byLastChannel].byModelRow; }
  // Row of the n-th used slot of the channel (kind 2) or PTZ (kind 4) group; 0 when none.
  uint8_t GetNthKind2ModelIndex(uint8_t n) const;
  uint8_t GetNthKind4ModelIndex(uint8_t n) const;
  // Overwrites row and address of the n-th used PTZ-group slot, when there is one. Returns 1.
  int SetNthKind4Device(uint8_t n, uint8_t modelRow, uint8_t address);
  int IsCurrentChannelDevice() const;
  // Position of the current slot within its group (channel group when it has CDS_CHANNEL).
  uint8_t GetCurrentChannelIndex() const;
  // 1 when a used channel-group slot has row 19, 22 or 23 (the recorders' own rows).
  int HasModel19_22_23() const;

  // Records the state the device reports. First the alarm-trigger setting becomes 1 when the
  // R.E.T.R. alarm-record setting is set and the state held so far is on, else 0; then, when the
  // state changes, the R.E.T.R. button is told (state 0 when the old state was on, else 1).
  // Returns 1.
  int SetRETRState(uint8_t state);
  uint8_t GetRETRState() const { return m_byRetrState; }
  // Links the two settings SetRETRState reads and writes (null: none).
  void BindAlarmRecordSettings(const uint8_t* retrAlarmRecord, uint8_t* alarmRecord);
  void SetRetrButtonNotifier(RetrButtonNotifier notifier, void* context);

  // Header and slots.
  uint8_t CurrentIndex() const { return m_byCurrent; }
  uint8_t PreviousIndex() const { return m_byPrevious; }
  uint8_t LastChannelIndex() const { return m_byLastChannel; }
  uint8_t LastPtzIndex() const { return m_byLastPtz; }
  int Count() const { return m_bySlotCount; }
  const ControlDeviceSlot& At(int i) const { return m_Slots[i]; }
  uint8_t RETRState() const { return m_byRetrState; }

 private:
  // Index of the n-th used slot sharing a bit with mask, or -1.
  int FindNth(uint16_t mask, uint8_t n) const;
  // Position of slot index within the group of mask.
  uint8_t PositionInGroup(int index, uint16_t mask) const;

  uint8_t m_byCurrent;
  uint8_t m_byPrevious;
  uint8_t m_bySlotCount;
  uint8_t m_byLastChannel;
  uint8_t m_byLastPtz;
  uint8_t m_byRetrState;
  ControlDeviceSlot m_Slots[kMaxEntries];

  const uint8_t* m_pRetrAlarmRecord = nullptr;
  uint8_t* m_pAlarmRecord = nullptr;
  RetrButtonNotifier m_pRetrNotifier = nullptr;
  void* m_pRetrNotifierContext = nullptr;
};
