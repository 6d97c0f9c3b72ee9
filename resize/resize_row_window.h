// A window of horizontally filtered source rows kept across destination rows.  A row is filtered
// when it enters the window and reused while it stays; buffers change roles, never contents.
#pragma once

#include <cstdint>
#include <limits>

template <typename Buf, int N>
class ResizeRowWindow {
 public:
  explicit ResizeRowWindow(Buf* const (&buffers)[N]) {
    for (int k = 0; k < N; ++k) {
      buffers_[k] = buffers[k];
      tags_[k] = std::numeric_limits<int64_t>::min();
    }
  }

  // Makes rows[k] (a key per source row) available as out[k]; filter(key, buffer) fills a buffer.
  template <typename Filter>
  void Acquire(const int64_t (&rows)[N], Buf* (&out)[N], Filter&& filter) {
    for (int k = 0; k < N; ++k) {
      int slot = Find(rows[k]);
      if (slot < 0) {
        slot = FreeSlot(rows);
        filter(rows[k], buffers_[slot]);
        tags_[slot] = rows[k];
      }
      out[k] = buffers_[slot];
    }
  }

 private:
  int Find(int64_t key) const {
    for (int s = 0; s < N; ++s) {
      if (tags_[s] == key) return s;
    }
    return -1;
  }
  // A slot whose row is not needed now; one exists whenever a needed row is missing.
  int FreeSlot(const int64_t (&rows)[N]) const {
    for (int s = 0; s < N; ++s) {
      bool needed = false;
      for (int k = 0; k < N; ++k) needed = needed || tags_[s] == rows[k];
      if (!needed) return s;
    }
    return 0;
  }

  Buf* buffers_[N];
  int64_t tags_[N];
};
