// The pre-alarm ring: the 20 newest frames, and the one-frame hand-off from the compose thread to
// the recorders that are writing. One lock guards the ring's indexes and every recorder's
// hand-off state, so a frame is handed to each writing recorder exactly once and the ring is
// never changed while a recorder reads it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

#include "app/record_controls.h"
#include "record/record_file_format.h"

// The recorders that take frames from the ring, in the order the store waits for them.
enum RingConsumerId : int {
  kRingAlarm = 0,
  kRingManual = 1,
  kRingSchedule = 2,
  kRingConsumers = 3
};

// Signals a recorder thread waits for (bits).
enum RingSignal : uint32_t {
  kSignalFrame = 1,    // a frame was stored for this recorder (the hand-off)
  kSignalStart = 2,    // a file is open: start writing it
  kSignalClose = 4,    // close the file
  kSignalStop = 8,     // the thread ends
  kSignalClosed = 16,  // the thread has closed the file (waited for by the closer)
};

// What the compose step knows of a frame besides its bytes.
struct StoredFrameMeta {
  uint32_t dwTimeStamp = 0;
  uint32_t dwNoPicture = 0;
  uint16_t wWidth = 0;
  uint16_t wHeight = 0;
  uint8_t byChannel = 0;
  RecordTime stStored{};
};

// Slots of the ring in the order they are written at the start of an alarm recording.
// writeIndex: the slot the next frame goes to; count: frames stored since the alarm thread
// started (up to 21).
std::vector<uint16_t> PreAlarmFlushOrder(uint16_t writeIndex, uint16_t count);

class CPreAlarmBuffer : public PreAlarmRingControl {
 public:
  static constexpr uint16_t kSlots = 20;
  static constexpr uint32_t kFrameBytes = recfmt::kMaxFrameBytes;

  CPreAlarmBuffer() = default;
  CPreAlarmBuffer(const CPreAlarmBuffer&) = delete;
  CPreAlarmBuffer& operator=(const CPreAlarmBuffer&) = delete;
  ~CPreAlarmBuffer() override;

  // 1 when all three areas exist afterwards.
  int AllocateBuffer() override;
  // Frees the areas; 1. The ring must have no writing recorder.
  int FreeBuffer() override;

  // The compose step: waits until every writing recorder has taken the previous frame, stores
  // this one in the next slot and hands it to each writing recorder. 1 when stored; 0 when the
  // ring is absent or the frame does not fit a slot (nothing is stored or handed on).
  int Store(const uint8_t* jpeg, uint32_t length, const StoredFrameMeta& meta);

  // Recorder side. Attach: this recorder writes from now on (a frame stored earlier is not
  // handed to it). Detach: it has stopped writing; a frame handed to it is given back.
  void Attach(RingConsumerId id);
  void Detach(RingConsumerId id);
  // The recorder has written the frame handed to it.
  void FrameDone(RingConsumerId id);
  // Sets signal bits for a recorder and wakes it.
  void Signal(RingConsumerId id, uint32_t bits);
  // Waits until one of the bits in mask is set, then takes the set bits of mask (the frame
  // signal stays until FrameDone). Returns them; 0 after timeout.
  uint32_t Wait(RingConsumerId id, uint32_t mask);
  uint32_t WaitFor(RingConsumerId id, uint32_t mask, std::chrono::milliseconds timeout);
  // Clears the given bits.
  void Clear(RingConsumerId id, uint32_t bits);
  // Thread registration: Signal of a stopped recorder's close is refused by SignalIfServed.
  void SetServed(RingConsumerId id, bool served);
  // Sets bits only while the recorder's thread serves them; false otherwise.
  bool SignalIfServed(RingConsumerId id, uint32_t bits);
  // Marks the thread as no longer serving and returns the bits left set.
  uint32_t EndServing(RingConsumerId id);

  // The alarm recorder's fill count, reset when its thread starts.
  void ResetPreAlarmCount();
  uint16_t PreAlarmCount() const;
  bool IsWriting(RingConsumerId id) const;
  bool IsServed(RingConsumerId id) const;

  // Read by a recorder while a frame is handed to it (the store waits meanwhile).
  uint16_t NewestSlot() const { return w_PreAlarmIndex == 0 ? kSlots - 1 : w_PreAlarmIndex - 1; }
  uint16_t WriteIndex() const { return w_PreAlarmIndex; }
  const RECORD_FRAME_INFO& Info(uint16_t slot) const { return m_lpFrameInfo[slot]; }
  const uint8_t* Data(uint16_t slot) const { return m_lpFrameData + size_t{slot} * kFrameBytes; }
  // Frames stored since start.
  uint32_t StoredFrames() const;

 private:
  struct Consumer {
    bool fWriting = false;
    bool fServed = false;
    uint32_t dwSignals = 0;
  };

  uint8_t* m_lpFrameData = nullptr;
  uint16_t w_PreAlarmIndex = 0;
  RECORD_FRAME_INFO* m_lpFrameInfo = nullptr;
  uint32_t* m_lpFrameKind = nullptr;  // two words per slot; read only by the schedule recorder

  mutable std::mutex m_Lock;
  std::condition_variable m_Changed;
  Consumer m_Consumers[kRingConsumers];
  uint16_t w_PreAlarmCount = 0;
  uint32_t m_dwStoredFrames = 0;
};
