// The settings sheet's progress bar as a one-slot command mailbox: writers on any thread send
// begin, total, draw and end; the open sheet serves the commands on a thread of its own. The
// channel lives as long as the program, so a writer that outlives a sheet finds it unserved and
// its commands are dropped.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>

enum ProgressCommand : uint32_t {
  kProgressNone = 0,
  kProgressBegin = 1,
  kProgressTotal = 2,  // value: the total
  kProgressDraw = 3,   // value: the amount so far
  kProgressEnd = 4,
};

class ProgressChannel {
 public:
  using Sink = std::function<void(uint32_t command, uint32_t value)>;

  ProgressChannel();
  ~ProgressChannel();
  ProgressChannel(const ProgressChannel&) = delete;
  ProgressChannel& operator=(const ProgressChannel&) = delete;

  // Writers: waits until the previous command was taken (at most waitMs), then leaves this
  // one. False when no sheet serves the channel or the previous command was not taken in time.
  bool Send(uint32_t command, uint32_t value = 0, DWORD waitMs = 10000);
  bool Served() const { return m_served.load(); }

  // The sheet: serves the channel with a thread that hands each command to sink (on that
  // thread). False when it is served already or the thread could not start.
  bool Serve(Sink sink);
  // Stops serving: the thread ends and is joined; a command not yet taken is dropped.
  void StopServing();

 private:
  static DWORD WINAPI ThreadMain(LPVOID self);
  void Run();

  std::mutex m_lock;  // m_served changes and a writer's command are made under it
  std::atomic<bool> m_served{false};
  HANDLE m_request = nullptr;  // 0 of 1: a command waits
  HANDLE m_done = nullptr;     // 1 of 1: the slot is free
  HANDLE m_stop = nullptr;     // manual reset
  uint32_t m_command = 0;
  uint32_t m_value = 0;
  Sink m_sink;
  HANDLE m_thread = nullptr;
};

// The program's one channel (the settings sheet's "ProgressThread" serves it while it is open).
extern ProgressChannel* const g_pProgressChannel;
