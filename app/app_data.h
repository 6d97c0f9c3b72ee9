// The application-data object: every handle, buffer, flag and embedded object of the session,
// reached by every window and thread through g_lpApp.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "app/record_controls.h"
#include "app/setting_ini.h"
#include "live/alarm_wave.h"
#include "live/stream_pipeline.h"
#include "net/control_device_list.h"
#include "net/ctrl_file.h"
#include "net/login_exchange.h"
#include "platform/trace_log.h"

// Objects of the folders above that the application data only refers to.
class CPallumDlg;
class MySystemDialog;
class CChannelBar;
class CModelLayout;
class CCmosToolBarDlg;
class CCDWriter;

// A thread handle with the id its creation fills in.
struct ThreadSlot {
  HANDLE h;
  DWORD id;
};

struct AccountEntry {
  uint32_t fInUse;
  uint16_t wValue;
  uint32_t dwValue;
  std::string strName;
  std::string strText;
};

// Whether start-up opens the main window after the login window: kLoginSucceeded, or one of
// the results 0, 10 and 20 kept from earlier clients.
inline bool LoginResultOpensMainWindow(uint16_t result) {
  return result == kLoginSucceeded || result == 20 || result == 10 || result == 0;
}

// The session's state as its three flags tell it (SessionActiveFlag, StreamRunningFlag,
// fVideoConnected; the threads set the flags, APP_DATA::SessionStateNow names them).
enum class SessionState : uint8_t {
  kIdle,       // no session: CONNECT starts one
  kLoggedIn,   // the session is active, its stream does not run yet
  kStreaming,  // the stream runs, no picture arrived yet
  kShowing,    // pictures arrive
};

// Sizes of the device configuration blocks.
enum SysCfgBlockSize : uint32_t {
  kIpBlockSize = 24,
  kSecureBlockSize = 196,
  kDnsBlockSize = 12,
  kSmtpBlockSize = 440,
  kFtpBlockSize = 104,
  kPppoeBlockSize = 68,
  kSystemBlockSize = 36,
  kSntpBlockSize = 36,
  kImgBlockSize = 12,
  kAlarmBlockSize = 24,
  kRs485BlockSize = 124,
  kInfBlockSize = 44,
  kOnlineBlockSize = 240,
  kDvrLiveBlockSize = 772,
  kDvrRecBlockSize = 132,
  kDvrOsdBlockSize = 20,
  kPeriBlockSize = 16,
};

// State of the network-backup download.
struct NetworkBackupState {
  HANDLE h_NetworkBkMutex;
  char szMutexName[32];
};

// The objects of the folders above that the application data refers to, by the names of its
// members: the record objects (record/), the main window's channel bar, layout and camera-sensor
// toolbar (mainwnd/) and the disc writer. The program creates them before the application data
// and frees them just before it (program/program_objects.h).
struct AppDataParts {
  PreAlarmRingControl& m_PreAlarmBuffer;
  AlarmRecordControl& m_AlarmRecord;
  UserRecordControl& m_UserRecord;
  SchRecordControl& m_SchRecord;
  CChannelBar& m_ChannelBar;
  CModelLayout& m_ModelLayout;
  CCDWriter& m_CDWriter;
  CCmosToolBarDlg& m_CmosToolBar;
};

class APP_DATA {
 public:
  explicit APP_DATA(const AppDataParts& parts)
      : m_PreAlarmBuffer(parts.m_PreAlarmBuffer),
        m_AlarmRecord(parts.m_AlarmRecord),
        m_UserRecord(parts.m_UserRecord),
        m_SchRecord(parts.m_SchRecord),
        m_ChannelBar(parts.m_ChannelBar),
        m_ModelLayout(parts.m_ModelLayout),
        m_CDWriter(parts.m_CDWriter),
        m_CmosToolBar(parts.m_CmosToolBar) {}
  APP_DATA(const APP_DATA&) = delete;
  APP_DATA& operator=(const APP_DATA&) = delete;

  static constexpr uint32_t kSocketSlotBytes = CStreamPipeline::kSocketSlotBytes;
  static constexpr uint32_t kImageSlotBytes = CStreamPipeline::kImageSlotBytes;
  static constexpr uint32_t kHeaderSlotBytes = sizeof(RTPH_Struct);

  // The live stream's rings, parser, display mode, frame timer, events, flags and statistics;
  // the members below that name them refer into it.
  CStreamPipeline m_StreamPipeline;

  // Process resources.
  ThreadSlot h_Process_KernelMessageThread{};
  ThreadSlot h_Process_Terminate_Thread{};
  ThreadSlot h_Process_Init_Thread{};
  HANDLE h_KernelMessageSem = nullptr;
  HANDLE h_KernelMessageSlotSem = nullptr;
  HANDLE h_Process_Notify_TerminateEvent = nullptr;
  HANDLE h_Process_Reply_TerminateEvent = nullptr;
  HANDLE h_Process_Notify_InitEvent = nullptr;
  HANDLE h_Process_Reply_InitEvent = nullptr;
  HANDLE& h_NotifyGetJPEGImageThreadResetEvent =
      m_StreamPipeline.h_NotifyGetJPEGImageThreadResetEvent;
  HANDLE& h_FeedBackForNotifyResetEvent = m_StreamPipeline.h_FeedBackForNotifyResetEvent;

  // Login resources and other threads.
  ThreadSlot h_ConnectionThread{};
  ThreadSlot h_GetJpegImageThread{};
  ThreadSlot h_ComposeImageDataThread{};
  ThreadSlot h_ShowImageDataThread{};
  ThreadSlot h_LoginThread{};
  ThreadSlot h_ReLoginThread{};
  ThreadSlot h_UpgradeFirmwareThread{};
  ThreadSlot h_PlayAudioWavThread{};
  HANDLE h_ConnectedEvent = nullptr;
  HANDLE& h_StartToGetJpegImageEvent = m_StreamPipeline.h_StartToGetJpegImageEvent;
  HANDLE& h_EndofGetJpegImageEvent = m_StreamPipeline.h_EndofGetJpegImageEvent;
  HANDLE& h_StartToShowImageEvent = m_StreamPipeline.h_StartToShowImageEvent;
  HANDLE& h_EndofShowImageEvent = m_StreamPipeline.h_EndofShowImageEvent;
  HANDLE& h_FinishShowImageJobEvent = m_StreamPipeline.h_FinishShowImageJobEvent;
  HANDLE h_TimerEvent = nullptr;
  HANDLE h_LifeTimeStartEvent = nullptr;
  HANDLE h_LifeTimeStopEvent = nullptr;
  HANDLE h_AudioBufferDoneEvent = nullptr;
  HANDLE h_AudioStopEvent = nullptr;
  HANDLE h_StartRTPThreadEvent = nullptr;
  HANDLE h_EndRTPThreadEvent = nullptr;

  // Session state shared by the main window and its threads.
  SessionState SessionStateNow() const {
    if (!SessionActiveFlag) return SessionState::kIdle;
    if (!StreamRunningFlag) return SessionState::kLoggedIn;
    return fVideoConnected ? SessionState::kShowing : SessionState::kStreaming;
  }
  uint32_t& SessionActiveFlag = m_StreamPipeline.SessionActiveFlag;
  uint32_t& StreamRunningFlag = m_StreamPipeline.StreamRunningFlag;
  uint8_t byPtzHotPointMode = 1;
  uint16_t wHotPointX = 0, wHotPointY = 0;
  POINT ptLastMouse{};
  uint16_t wHotPointMarkX = 50, wHotPointMarkY = 50;
  uint16_t wHotPointMarkFrames = 0;
  uint32_t& fVideoConnected = m_StreamPipeline.fVideoConnected;
  uint8_t byStartVideoMode = 0;
  int32_t dwLifeTimeMinutes = -1;

  // Stream buffer rings (the pipeline's) and the renderer's buffers.
  uint8_t*& lp_SocketBuffer = m_StreamPipeline.m_SocketRing.lp_Buffer;
  uint8_t*& lp_JpegBuffer = m_StreamPipeline.lp_JpegBuffer;
  uint8_t*& lp_ImageBuffer = m_StreamPipeline.m_ImageRing.lp_Buffer;
  uint8_t* lp_ViewBuffer = nullptr;
  uint8_t* lp_ResizeBuffer = nullptr;
  uint8_t*& lp_CurrentImage = m_StreamPipeline.lp_CurrentImage;
  CRingSemaphore*& SocketBufferFreeSem = m_StreamPipeline.m_SocketRing.h_FreeSem;
  CRingSemaphore*& SocketBufferFilledSem = m_StreamPipeline.m_SocketRing.h_FilledSem;
  CRingSemaphore*& JPEGImageBufferFreeSem = m_StreamPipeline.m_ImageRing.h_FreeSem;
  CRingSemaphore*& JPEGImageBufferRelSem = m_StreamPipeline.m_ImageRing.h_FilledSem;
  uint16_t& wSocketSlots = m_StreamPipeline.m_SocketRing.w_Slots;
  uint16_t& wImageSlots = m_StreamPipeline.m_ImageRing.w_Slots;
  uint16_t& wSocketWritePos = m_StreamPipeline.m_SocketRing.w_WritePos;
  uint16_t& wSocketReadPos = m_StreamPipeline.m_SocketRing.w_ReadPos;
  RTPH_Struct*& lp_HeaderSlots = m_StreamPipeline.m_SocketRing.lp_Records;
  uint16_t& wJpegSlotPos = m_StreamPipeline.wJpegSlotPos;
  uint16_t& wImageSlotPos = m_StreamPipeline.m_ImageRing.w_WritePos;

  // Kernel message mailbox.
  uint32_t KernelMessageCode = 0;
  const char* KernelMessageText = nullptr;

  uint8_t byUserClass = 0;
  uint8_t byVideoMode = 0;
  uint8_t byImageSizeClass = 0, byAppliedSizeClass = 0;
  uint16_t wMotionImageWidth = 0, wMotionImageHeight = 0;
  uint8_t* lp_MotionImage = nullptr;
  uint32_t fMotionImageRequest = 0;
  HANDLE MotionEditImageSem = nullptr;
  CWaveFile m_WaveFile;
  uint32_t fAlarmSoundPlaying = 0;
  uint32_t fAlarmSoundStarted = 0;
  uint32_t& dwRateTick = m_StreamPipeline.m_Statistics.dwRateTick;
  uint32_t& dwRateBytes = m_StreamPipeline.m_Statistics.dwRateBytes;
  uint32_t& dwLastKbps = m_StreamPipeline.m_Statistics.dwLastKbps;
  uint32_t& dwShownFrames = m_StreamPipeline.m_Statistics.dwShownFrames;
  uint16_t wLayoutId = 0;
  uint32_t fSnapshotRequest = 0;
  uint16_t w_LoginResult = 0;
  uint16_t w_UserLevel = 0;
  HWND h_MainDialogHandle = nullptr;
  CPallumDlg* lp_MainDialog = nullptr;
  std::string str_FWVersion;
  std::string str_BootVersion, str_2041Version, str_FPGAVersion;
  std::string str_ClientVersion;
  uint32_t dwLifeTimeSeconds = 0;
  uint16_t ScreenDpiX = 0, ScreenDpiY = 0;
  float ScreenScale = 1.0f;
  uint8_t byTurboRepeatStep = 5;
  uint32_t fPowerButtonState = 0;
  HMODULE LanguageDll = nullptr;
  HDC h_RenderMemDC = nullptr;
  HBITMAP h_RenderBitmap = nullptr;
  C_ControlD m_ControlD;
  AccountEntry AccountEntries[5];
  uint32_t fTurboMode = 0;
  uint8_t StreamFormatCode = 4;
  uint16_t LanguageId = 0;
  uint32_t dwCtrlDeviceCount = 0;
  CtrlDeviceRecord* lp_CtrlDeviceRecords = nullptr;
  uint32_t fActionPresetMode = 0;
  uint16_t& wImageWidth = m_StreamPipeline.wImageWidth;
  uint16_t& wImageHeight = m_StreamPipeline.wImageHeight;
  ImageSlotInfoRecord*& ImageSlotInfo = m_StreamPipeline.m_ImageRing.lp_Records;
  uint32_t& dwRateFramesLast = m_StreamPipeline.m_Statistics.dwRateFramesLast;
  uint32_t& dwRateFramesNow = m_StreamPipeline.m_Statistics.dwRateFramesNow;
  PreAlarmRingControl& m_PreAlarmBuffer;
  AlarmRecordControl& m_AlarmRecord;
  UserRecordControl& m_UserRecord;
  SchRecordControl& m_SchRecord;
  CRTPHeaderParser& m_RTPHeaderParser = m_StreamPipeline.m_RTPHeaderParser;
  CTraceFile m_DebugTrace;
  SYSTEMTIME stDeviceTime{};
  uint8_t byShowDeviceTitle = 0;
  uint32_t dwDeviceCapabilityMask = 0;
  uint32_t& fVideoLoss = m_StreamPipeline.fVideoLoss;
  CSettingINI m_Settings;
  std::string str_ProductID;
  char str_MACAddress[12] = {};
  std::string str_HostName;
  uint8_t byMultiChannel = 0;
  std::string str_DeviceTitle;
  char szFwVersionCopy[4] = {};

  // The device's configuration blocks as last fetched or edited, one copy per block and two for
  // PPPOE (cfg_PPPOE_Old for the older layout); read and written under SysCfgBlockMutex().
  uint8_t cfg_IP[kIpBlockSize] = {};
  uint8_t cfg_SECURE[kSecureBlockSize] = {};
  uint8_t cfg_DNS[kDnsBlockSize] = {};
  uint8_t cfg_SMTP[kSmtpBlockSize] = {};
  uint8_t cfg_FTP[kFtpBlockSize] = {};
  uint8_t cfg_PPPOE_Old[kPppoeBlockSize] = {};
  uint8_t cfg_PPPOE[kPppoeBlockSize] = {};
  uint8_t cfg_SYSTEM[kSystemBlockSize] = {};
  uint8_t cfg_SNTP[kSntpBlockSize] = {};
  uint8_t cfg_IMG[kImgBlockSize] = {};
  uint8_t cfg_ALARM[kAlarmBlockSize] = {};
  uint8_t cfg_RS485[kRs485BlockSize] = {};
  uint8_t cfg_INF[kInfBlockSize] = {};
  uint8_t cfg_ONLINE[kOnlineBlockSize] = {};
  uint8_t cfg_DVRLIVE[kDvrLiveBlockSize] = {};
  uint8_t cfg_DVRREC[kDvrRecBlockSize] = {};
  uint8_t cfg_DVROSD[kDvrOsdBlockSize] = {};
  uint8_t cfg_PERI[kPeriBlockSize] = {};

  CDisplayMode& m_DisplayMode = m_StreamPipeline.m_DisplayMode;
  CChannelBar& m_ChannelBar;
  CModelLayout& m_ModelLayout;
  CMMTimer& m_MMTimer = m_StreamPipeline.m_MMTimer;
  NetworkBackupState m_NetworkBackupState{};
  CCDWriter& m_CDWriter;
  // Whether the disc writer adds the player installer (set by the write-CD dialog).
  uint32_t fAppendPlayer = 0;
  MySystemDialog* lp_SystemDialog = nullptr;
  uint32_t fSystemDialogOpen = 0;
  CCmosToolBarDlg& m_CmosToolBar;
};

extern APP_DATA* g_lpApp;
// Session cookie: the Session-ID of the last login (at most 63 characters).
extern char g_szCookie[64];

// The creation of g_lpApp over the program's parts, and the buffer and semaphore groups of the
// application data. Each returns 1 on success; the free functions test every slot and clear it,
// so a second call changes nothing.
int CreateAppData(const AppDataParts& parts);
int AllocateSystemBuffer();
int FreeSystemBuffer();
int InitialSemaphore();
int FreeSemaphore();
