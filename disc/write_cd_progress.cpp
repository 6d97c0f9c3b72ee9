#include "disc/write_cd_progress.h"

#include <atomic>

namespace {

std::atomic<ProgressChannel*> g_channel{nullptr};

void Post(ProgressChannel* c, LONG command, LONG value) {
  ::WaitForSingleObject(c->m_hDone, INFINITE);
  c->m_nCommand = command;
  c->m_nValue = value;
  ::ReleaseSemaphore(c->m_hRequest, 1, nullptr);
}

}  // namespace

void SetWriteCDProgressChannel(ProgressChannel* channel) {
  g_channel = channel;
}

void WriteCDProgressCallback(int type, int value) {
  ProgressChannel* c = g_channel;
  if (c == nullptr) return;
  switch (type) {
    case 0:
      Post(c, kProgressBegin, 0);
      Post(c, kProgressTotal, 100);
      break;
    case 1:
      Post(c, kProgressStep, value);
      break;
    case 2:
      Post(c, kProgressEnd, 0);
      break;
    default:
      break;
  }
}
