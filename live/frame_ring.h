// A ring of frame slots handed from one thread to the next: the slots' bytes, one typed record
// per slot (the parsed header of a socket slot, the display interval of an image slot), the
// semaphores that count free and filled slots, and the writer's and the reader's positions.
// Each position is advanced by its own thread only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstdlib>

template <class Record>
class CFrameRing {
 public:
  CFrameRing() = default;
  CFrameRing(const CFrameRing&) = delete;
  CFrameRing& operator=(const CFrameRing&) = delete;
  ~CFrameRing() {
    CloseSemaphores();
    Free();
  }

  // Allocates slots x slotBytes bytes (not zeroed) and the records (zeroed), keeping what is
  // already there, and sets both positions to 0. 1, or 0 when an allocation failed.
  int Allocate(uint16_t slots, uint32_t slotBytes) {
    if (!lp_Buffer) lp_Buffer = static_cast<uint8_t*>(std::malloc(size_t{slots} * slotBytes));
    if (!lp_Records) lp_Records = static_cast<Record*>(std::calloc(slots, sizeof(Record)));
    if (!lp_Buffer || !lp_Records) return 0;
    w_Slots = slots;
    dw_SlotBytes = slotBytes;
    w_WritePos = w_ReadPos = 0;
    return 1;
  }
  // Frees the slots and the records; a second call changes nothing.
  void Free() {
    std::free(lp_Buffer);
    lp_Buffer = nullptr;
    std::free(lp_Records);
    lp_Records = nullptr;
  }

  // (Re)creates the free semaphore with count (freeSlots, freeSlots) and the filled one with
  // (0, freeSlots). 1, or 0 when either is missing.
  int CreateSemaphores(LONG freeSlots) {
    CloseSemaphores();
    h_FreeSem = CreateSemaphoreA(nullptr, freeSlots, freeSlots, nullptr);
    h_FilledSem = CreateSemaphoreA(nullptr, 0, freeSlots, nullptr);
    return h_FreeSem && h_FilledSem ? 1 : 0;
  }
  void CloseSemaphores() {
    for (HANDLE* h : {&h_FreeSem, &h_FilledSem}) {
      if (*h) CloseHandle(*h);
      *h = nullptr;
    }
  }

  uint8_t* Slot(uint16_t index) const { return lp_Buffer + size_t{index} * dw_SlotBytes; }
  Record& RecordOf(uint16_t index) const { return lp_Records[index]; }

  // The writer: the slot it fills next, then the hand-over to the reader.
  uint8_t* WriteSlot() const { return Slot(w_WritePos); }
  Record& WriteRecord() const { return RecordOf(w_WritePos); }
  void CommitWrite() {
    w_WritePos = Next(w_WritePos);
    ReleaseSemaphore(h_FilledSem, 1, nullptr);
  }

  // The reader: the slot it takes next; it gives the slot back with ReleaseFree.
  uint8_t* ReadSlot() const { return Slot(w_ReadPos); }
  Record& ReadRecord() const { return RecordOf(w_ReadPos); }
  void AdvanceRead() { w_ReadPos = Next(w_ReadPos); }
  void ReleaseFree() { ReleaseSemaphore(h_FreeSem, 1, nullptr); }

  uint16_t Next(uint16_t index) const {
    return static_cast<uint16_t>(w_Slots ? (index + 1u) % w_Slots : 0);
  }

  uint8_t* lp_Buffer = nullptr;
  Record* lp_Records = nullptr;
  HANDLE h_FreeSem = nullptr;
  HANDLE h_FilledSem = nullptr;
  uint16_t w_Slots = 0;
  uint32_t dw_SlotBytes = 0;
  uint16_t w_WritePos = 0;
  uint16_t w_ReadPos = 0;
};
