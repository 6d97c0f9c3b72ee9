// A ring of frame slots handed from one thread to the next: the slots' bytes, one typed record
// per slot (the parsed header of a socket slot, the display interval of an image slot), the
// semaphores that count free and filled slots, and the writer's and the reader's positions.
// Each position is advanced by its own thread only.
#pragma once

#include <windows.h>

#include "live/ring_semaphore.h"

#include <cstdint>
#include <cstdlib>
#include <new>

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
    h_FreeSem = new (std::nothrow) CRingSemaphore(freeSlots, freeSlots);
    h_FilledSem = new (std::nothrow) CRingSemaphore(0, freeSlots);
    return h_FreeSem && h_FilledSem ? 1 : 0;
  }
  void CloseSemaphores() {
    for (CRingSemaphore** h : {&h_FreeSem, &h_FilledSem}) {
      delete *h;
      *h = nullptr;
    }
  }
  // A stop event was set: the threads waiting on this ring look at theirs.
  void InterruptWaits() {
    for (CRingSemaphore* h : {h_FreeSem, h_FilledSem})
      if (h) h->Interrupt();
  }

  uint8_t* Slot(uint16_t index) const { return lp_Buffer + size_t{index} * dw_SlotBytes; }
  Record& RecordOf(uint16_t index) const { return lp_Records[index]; }

  // The writer: the slot it fills next, then the hand-over to the reader.
  uint8_t* WriteSlot() const { return Slot(w_WritePos); }
  Record& WriteRecord() const { return RecordOf(w_WritePos); }
  void CommitWrite() {
    w_WritePos = Next(w_WritePos);
    if (h_FilledSem) h_FilledSem->Release();
  }

  // The reader: the slot it takes next; it gives the slot back with ReleaseFree.
  uint8_t* ReadSlot() const { return Slot(w_ReadPos); }
  Record& ReadRecord() const { return RecordOf(w_ReadPos); }
  void AdvanceRead() { w_ReadPos = Next(w_ReadPos); }
  void ReleaseFree() {
    if (h_FreeSem) h_FreeSem->Release();
  }

  uint16_t Next(uint16_t index) const {
    return static_cast<uint16_t>(w_Slots ? (index + 1u) % w_Slots : 0);
  }

  uint8_t* lp_Buffer = nullptr;
  Record* lp_Records = nullptr;
  CRingSemaphore* h_FreeSem = nullptr;
  CRingSemaphore* h_FilledSem = nullptr;
  uint16_t w_Slots = 0;
  uint32_t dw_SlotBytes = 0;
  uint16_t w_WritePos = 0;
  uint16_t w_ReadPos = 0;
};
