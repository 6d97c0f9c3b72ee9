// The three threads that carry the live stream from the socket to the renderer: receive (cuts
// the stream into frames and fills the two socket-buffer slots), compose (decodes each picture
// into the image slot) and show (hands the image to the renderer through the kernel message
// mailbox). They belong to one session: created after each login, stopped with it.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

// Creation of the threads: stack sizes and priorities.
inline constexpr DWORD kReceiveThreadStackBytes = 1024;
inline constexpr DWORD kComposeThreadStackBytes = 1000;
inline constexpr DWORD kShowThreadStackBytes = 1000;
inline constexpr int kReceiveThreadPriority = THREAD_PRIORITY_HIGHEST;
inline constexpr int kShowThreadPriority = THREAD_PRIORITY_HIGHEST;

// Codes kept in StreamStatusCode.
inline constexpr uint32_t kStreamHeaderTooLong = 4097;
inline constexpr uint32_t kStreamConnectFailed = 4098;
inline constexpr uint32_t kStreamEndedWaitingForSlot = 4099;
inline constexpr uint32_t kStreamNoFreeSlot = 4100;

// Last error code of the receive thread; written only.
extern std::atomic<uint32_t> StreamStatusCode;

// Each takes the stream pipeline (CStreamPipeline*, live/stream_pipeline.h) as its argument and
// returns 0. Of the program around them they use the session's device address and cookie, the
// local address, h_Process_Reply_TerminateEvent, the kernel message mailbox (code 1 relogin,
// code 2 draw), the trace log, the device's VIDEOMODE (blank pictures) and the store that
// recording installs on the pipeline (StoreToPreAlarmRing).
//
// Receive: waits for h_StartToGetJpegImageEvent, connects and sends the stream request, then
// reads frames until the session ends. Every end but a stop request closes the socket and sends
// kernel message 1 (relogin). A stop request (h_NotifyGetJPEGImageThreadResetEvent or
// h_EndofGetJpegImageEvent, also noticed while a read waits) closes the socket, clears
// SessionActiveFlag and StreamRunningFlag, sets h_FeedBackForNotifyResetEvent and ends quietly.
// Every header it parses reacts at once (CHeaderReactions), whether or not its picture is kept.
DWORD WINAPI Jpeg_TCP_Get_Image_Data_Thread(LPVOID pipeline);
// Compose: ends on h_EndofGetJpegImageEvent.
DWORD WINAPI Jpeg_Compose_Image_Data_Thread(LPVOID pipeline);
// Show: waits for h_StartToShowImageEvent; ends on h_EndofShowImageEvent.
DWORD WINAPI Jpeg_Show_Image_Data_Thread(LPVOID pipeline);
