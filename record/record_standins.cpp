#include "record/record_standins.h"

#include <cstdlib>

namespace {
void CloseSlot(HANDLE& h) {
  if (h) {
    CloseHandle(h);
    h = nullptr;
  }
}

DWORD WINAPI RecordThread(LPVOID stopEvent) {
  WaitForSingleObject(static_cast<HANDLE>(stopEvent), INFINITE);
  return 0;
}
}  // namespace

int CPreAlarmBuffer::AllocateBuffer() {
  if (!lp_Frames) lp_Frames = static_cast<uint8_t*>(std::malloc(kSlots * kFrameBytes));
  if (!lp_FrameInfo) lp_FrameInfo = static_cast<uint8_t*>(std::malloc(kSlots * kFrameInfoBytes));
  if (!lp_FrameExtra) lp_FrameExtra = static_cast<uint8_t*>(std::malloc(kSlots * 8));
  return lp_Frames && lp_FrameInfo && lp_FrameExtra ? 1 : 0;
}

int CPreAlarmBuffer::FreeBuffer() {
  std::free(lp_Frames);
  std::free(lp_FrameInfo);
  std::free(lp_FrameExtra);
  lp_Frames = lp_FrameInfo = lp_FrameExtra = nullptr;
  return 1;
}

CRecordObjectBase::~CRecordObjectBase() {
  CloseThread();
  CloseResource();
  FreeBuffer();
}

int CRecordObjectBase::AllocateBuffer() {
  if (!lp_WorkBuffer) lp_WorkBuffer = static_cast<uint8_t*>(std::malloc(kWorkBufferBytes));
  return lp_WorkBuffer ? 1 : 0;
}

int CRecordObjectBase::FreeBuffer() {
  std::free(lp_WorkBuffer);
  lp_WorkBuffer = nullptr;
  return 1;
}

int CRecordObjectBase::CreateResource() {
  CloseResource();
  for (HANDLE& s : h_Sem) s = CreateSemaphoreA(nullptr, 1, 1, nullptr);
  for (int i = 0; i < m_nEventCount; ++i) h_Events[i] = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  return 1;
}

int CRecordObjectBase::CloseResource() {
  for (HANDLE& s : h_Sem) CloseSlot(s);
  for (HANDLE& e : h_Events) CloseSlot(e);
  return 1;
}

int CRecordObjectBase::CreateThread(uint8_t, HANDLE stopEvent) {
  if (h_Thread || !stopEvent) return 0;
  h_StopEvent = stopEvent;
  DWORD id = 0;
  h_Thread = ::CreateThread(nullptr, 1000, RecordThread, stopEvent, STACK_SIZE_PARAM_IS_A_RESERVATION, &id);
  return h_Thread ? 1 : 0;
}

int CRecordObjectBase::CloseThread() {
  if (!h_Thread) return 1;
  // The owner sets the stop event before closing; the thread ends on it.
  WaitForSingleObject(h_Thread, INFINITE);
  CloseSlot(h_Thread);
  h_StopEvent = nullptr;
  return 1;
}

int CRecordObjectBase::StopRecord() {
  fFileOpen = 0;
  return 1;
}

int CAlarmRecord::CreateRecordFile(const std::string& folder) {
  m_strRecordFolder = folder;
  fFileOpen = 1;
  return 1;
}

int CAlarmRecord::CloseRecordFile() {
  fFileOpen = 0;
  return 1;
}
