// The list of controllable devices (PTZ heads, keypads) attached to the logged-in device.
#pragma once

#include <cstdint>
#include <string>

class C_ControlD {
 public:
  static constexpr int kMaxEntries = 30;
  static constexpr uint16_t kInUse = 0x0001;
  static constexpr uint16_t kChannelDevice = 0x0002;  // addressed through a video channel
  static constexpr uint16_t kBusDevice = 0x0004;

  struct Entry {
    uint32_t dwValue;
    uint8_t byAddress;
    uint8_t byModelRow;
    uint16_t wFlags;
  };

  C_ControlD() { Clear(); }

  void Clear();
  // Appends an entry; refused without change when the list is full. Returns 1 or 0.
  int Add(uint32_t value, uint8_t address, uint8_t modelRow, uint16_t kindFlags);
  // Makes the n-th used entry whose flags share a bit with kindMask current, keeping the previous
  // current one as secondary. 0, or -1 without change when there is no such entry.
  int MakeCurrent(uint16_t kindMask, int n);
  int IsCurrentChannelDevice() const;
  // Stores the R.E.T.R. state. When bound, also derives the alarm-record setting from it.
  void SetRETRState(uint8_t state);
  // Links the two settings that SetRETRState reads and writes.
  void BindAlarmRecordSettings(const uint8_t* retrAlarmRecord, uint8_t* alarmRecord);

  int Count() const { return m_nCount; }
  const Entry& At(int i) const { return m_Entries[i]; }
  int CurrentIndex() const { return m_nCurrent; }
  int SecondaryIndex() const { return m_nSecondary; }
  uint8_t RETRState() const { return m_byRETRState; }
  // The tool-tip text the R.E.T.R. button shows; changes with the state.
  const std::string& RETRToolTip() const { return m_strRETRToolTip; }

 private:
  Entry m_Entries[kMaxEntries];
  int m_nCount;
  int m_nCurrent;    // -1 when none
  int m_nSecondary;  // -1 when none
  uint8_t m_byRETRState = 0;
  std::string m_strRETRToolTip;
  const uint8_t* m_pRetrAlarmRecord = nullptr;
  uint8_t* m_pAlarmRecord = nullptr;
};
