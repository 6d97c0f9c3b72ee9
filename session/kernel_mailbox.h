// The kernel message mailbox: one slot through which the stream threads and a few windows hand
// work to one long-lived thread, Process_KernelMessageThread, which carries the codes out one at
// a time (a lost stream, the drawing of each frame, the start of the player program).
#pragma once

#include <windows.h>

#include <cstdint>

// Kernel message codes (KernelMessageCode).
inline constexpr uint32_t Get_Image_TimeOut_Message = 1;  // the stream is lost: relogin
inline constexpr uint32_t KM_DRAW_IMAGE = 2;              // draw lp_CurrentImage
inline constexpr uint32_t KM_RELOAD_ALARM_WAVE = 4;
inline constexpr uint32_t KM_STOP_ALARM_SOUND = 5;
inline constexpr uint32_t KM_EXIT = 6;           // the kernel message thread ends
inline constexpr uint32_t KM_LAUNCH_PLAYER = 7;  // text: the downloaded file's path

// Hands a code, and for code 7 its text, to the kernel message thread: waits for the mailbox
// slot while the thread carries out the previous code, writes the code and a copy of the text
// (the caller's text need not outlive the call) and wakes the thread; does not wait for the
// code to be carried out. Returns 1 when the code was handed over; 0 without waiting when the
// mailbox does not exist, and 0 as soon as the process resources are being freed or, for codes
// 1 and 2 (which only the session's stream threads send), the session is being stopped.
int SendKernelMessage(uint32_t code, const char* text = nullptr);

// The kernel message thread. Its argument is passed on to nothing; returns 0.
DWORD WINAPI Process_KernelMessageThread(LPVOID param);

// For ExitProcessResource: hands KM_EXIT over, waiting for the slot at most timeoutMs or until
// `kernelThread` has ended.
void SendKernelExit(HANDLE kernelThread, DWORD timeoutMs);
// For ExitProcessResource: waits until no sender is inside the mailbox, then closes and clears
// its two semaphores. Senders that come later find no mailbox.
void CloseKernelMailbox();
