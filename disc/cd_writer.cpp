#include "disc/cd_writer.h"

#include <commdlg.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "app/app_data.h"
#include "disc/disc_checks.h"
#include "platform/message_box.h"
#include "platform/module_path.h"

using namespace disc;

WriteCDProgressFn g_pfnWriteCDProgress = nullptr;

namespace {

const char kImageRecorder[] = "Image Recorder";
const char kPlayerInstaller[] = "Quendor_setup.exe";
const char kVolumeName[] = "OstrovaBackup";

void Progress(int type, int value) {
  if (g_pfnWriteCDProgress != nullptr) g_pfnWriteCDProgress(type, value);
}

void Message(const std::string& text) {
  OstMessageBox(text.c_str(), MB_OK | MB_ICONEXCLAMATION);
}

// The full path of a file name; empty when it does not fit.
std::string FullPath(const std::string& name) {
  char buf[MAX_PATH] = {};
  char* part = nullptr;
  const DWORD n = ::GetFullPathNameA(name.c_str(), sizeof buf, buf, &part);
  if (n == 0 || n >= sizeof buf) return std::string();
  return std::string(buf, n);
}

bool IsImageRecorder(const char* deviceName) {
  return std::strncmp(deviceName, kImageRecorder, sizeof kImageRecorder - 1) == 0;
}

// A file's size; none when it does not open.
bool FileSize(const std::string& path, uint64_t* size) {
  WIN32_FILE_ATTRIBUTE_DATA a{};
  if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &a)) return false;
  *size = (static_cast<uint64_t>(a.nFileSizeHigh) << 32) | a.nFileSizeLow;
  return true;
}

char* CopyText(const std::string& s) {
  char* p = new char[s.size() + 1];
  std::memcpy(p, s.c_str(), s.size() + 1);
  return p;
}

}  // namespace

CCDWriter::CCDWriter() = default;

CCDWriter::~CCDWriter() {
  if (m_fInitialised) Close();
  FreeDeviceNames();
}

void CCDWriter::FreeDeviceNames() {
  if (m_ppDeviceNames != nullptr) {
    for (int32_t i = 0; i < m_nDeviceCount; ++i) delete[] m_ppDeviceNames[i];
    delete[] m_ppDeviceNames;
  }
  m_ppDeviceNames = nullptr;
  m_nDeviceCount = 0;
}

uint32_t CCDWriter::AppendPlayer() const {
  if (m_pAppendPlayer != nullptr) return *m_pAppendPlayer;
  return g_lpApp != nullptr ? g_lpApp->fAppendPlayer : 0;
}

const EngineDeviceEntry* CCDWriter::SelectedEntry() const {
  if (m_pDriveList == nullptr || m_nSelectedDrive < 0 ||
      static_cast<uint32_t>(m_nSelectedDrive) >= m_pDriveList->nCount ||
      m_nSelectedDrive >= m_nDeviceCount)
    return nullptr;
  return &m_pDriveList->entries[m_nSelectedDrive];
}

int CCDWriter::Init(const char* path, WriteCDProgressFn progress) {
  m_strDiscFileName = path != nullptr ? path : "";
  m_strSourcePath = m_strDiscFileName;
  g_pfnWriteCDProgress = progress;
  m_bAbort = 0;
  if (m_strDiscFileName.empty()) {
    Message("File name is not valid");
    return 0;
  }
  if (!m_fInitialised) {
    if (!EngApiLoad(0)) {
      Message("You should download nero first.");
      return 0;
    }
    m_Settings = {};
    m_Settings.pEngineFilesPath = m_szEngineFiles;
    m_Settings.pVendor = m_szVendor;
    m_Settings.pSoftware = m_szSoftware;
    m_Settings.pLanguageFile = m_szLanguageFile;
    m_Settings.pIdleCallback = &CCDWriter::IdleCallback;
    m_Settings.pIdleUserData = this;
    m_Settings.pUserDialogCallback = &CCDWriter::UserDialogCallback;
    m_Settings.pUserDialogUserData = this;
    m_Settings.bEnableOverburn = 0;
    m_Settings.nOverburnSize = 0;
    m_Progress = {};
    m_Progress.pProgressCallback = &CCDWriter::ProgressCallback;
    m_Progress.pAbortedCallback = &CCDWriter::AbortedCallback;
    m_Progress.pAddLogLineCallback = &CCDWriter::AddLogLineCallback;
    m_Progress.pSetPhaseCallback = &CCDWriter::SetPhaseCallback;
    m_Progress.pUserData = this;
    const int r = EngInit(&m_Settings, nullptr);
    // A warning of the engine does not stop the set-up: the drive query decides.
    if (r == 1) {
      Message("The arguments are not valid.");
    } else if (r != 0) {
      Message("An error occured. The type of error cannot be determined.");
    }
  }
  if (m_pDriveList != nullptr) EngFreeMem(m_pDriveList);
  m_pDriveList = EngGetAvailableDrivesEx(kMediaCD, nullptr);
  FreeDeviceNames();
  if (m_pDriveList == nullptr) {
    Message("No available devices.");
    return 0;
  }
  const int32_t count = static_cast<int32_t>(m_pDriveList->nCount);
  if (count <= 0) {
    Message("The number of available devices is 0.");
    return 0;
  }
  m_ppDeviceNames = new char*[count];
  for (int32_t i = 0; i < count; ++i) {
    m_ppDeviceNames[i] = new char[256]();
    const char* name = m_pDriveList->entries[i].szDeviceName;
    std::memcpy(m_ppDeviceNames[i], name, strnlen(name, 63));
  }
  m_nDeviceCount = count;
  m_fInitialised = 1;
  return 1;
}

EngineIsoItem* CCDWriter::ImportLastSession(DeviceHandle h, void** stamp, int* result,
                                            bool* hadTracks) {
  *stamp = nullptr;
  *result = kImportOk;
  *hadTracks = false;
  EngineDiscInfo* info = EngGetCDInfo(h, 0);
  if (info == nullptr) return nullptr;
  const uint32_t tracks = info->nNumTracks;
  EngFreeMem(info);
  // A blank disc has no session to import.
  if (tracks == 0) return nullptr;
  *hadTracks = true;
  EngineImportInfo import{};
  import.nSize = sizeof import;
  EngineIsoItem* items = EngImportDataTrack(h, tracks - 1, stamp, &import, 0, result, nullptr);
  if (import.pVolumeName != nullptr) EngFreeMem(import.pVolumeName);
  return items;
}

int CCDWriter::CheckFiles() {
  if (!HasDvrExtension(m_strDiscFileName)) {
    Message("The extension of file name should be (dvr)");
    return 0;
  }
  const EngineDeviceEntry* entry = SelectedEntry();
  if (entry == nullptr) {
    Message("No available devices.");
    return 0;
  }
  m_hDevice = EngOpenDevice(entry);
  if (m_hDevice == nullptr) {
    Message(std::string("Device could not be opened: ") + m_ppDeviceNames[m_nSelectedDrive]);
    return 0;
  }
  auto fail = [this](const char* text) {
    Message(text);
    EngCloseDevice(m_hDevice);
    m_hDevice = nullptr;
    return 0;
  };
  if (!IsImageRecorder(m_ppDeviceNames[m_nSelectedDrive])) {
    EngineDiscInfo* info = EngGetCDInfo(m_hDevice, 1);
    if (info != nullptr) {
      uint64_t needed = m_qwTotalSize;
      uint64_t player = 0;
      if (AppendPlayer() && FileSize(ExecutableFolder() + "\\" + kPlayerInstaller, &player))
        needed += player;
      if (!SpaceSuffices(needed, info->nFreeBlocks)) {
        EngFreeMem(info);
        return fail("No available space for writing CD.");
      }
    }
    m_dwMediaKind = MediaKindOf(info != nullptr, info != nullptr ? info->nMediaType : 0);
    if (info != nullptr) EngFreeMem(info);
    if (m_dwMediaKind == kKindNoDisc) return fail("NO DISC");
    if (m_dwMediaKind == kKindNotWritable) return fail("Disc is non writable");
  }
  EngineDiscInfo* present = EngGetCDInfo(m_hDevice, 0);
  if (present == nullptr) return fail("NO DISC");
  EngFreeMem(present);
  void* stamp = nullptr;
  int result = 0;
  bool hadTracks = false;
  EngineIsoItem* items = ImportLastSession(m_hDevice, &stamp, &result, &hadTracks);
  if (hadTracks && (items == nullptr || result != kImportOk)) {
    // Without the disc's names the new one cannot be checked.
    if (items != nullptr) EngFreeIsoItemTree(items);
    if (stamp != nullptr) EngFreeCDStamp(stamp);
    char text[128];
    std::snprintf(text, sizeof text, "There was %s while importing the track!",
                  ImportResultText(result).c_str());
    return fail(text);
  }
  const std::string name = FileNamePart(FullPath(m_strDiscFileName));
  bool taken = false;
  for (const EngineIsoItem* i = items; i != nullptr && !taken; i = i->pNextItem)
    taken = SameDiscName(ItemName(*i), name);
  if (items != nullptr) EngFreeIsoItemTree(items);
  if (stamp != nullptr) EngFreeCDStamp(stamp);
  if (taken) return fail("FileName is tha same as other existed file,please modify it");
  EngCloseDevice(m_hDevice);
  m_hDevice = nullptr;
  return 1;
}

EngineIsoItem* CCDWriter::MakeItem(const std::string& name, const std::string& source) {
  auto* item = static_cast<EngineIsoItem*>(EngCreateIsoItemOfSize(kIsoItemBytes));
  if (item == nullptr) return nullptr;
  std::memset(item, 0, kIsoItemBytes);
  item->pLongFileName = CopyText(name);
  item->pLongSourcePath = CopyText(source);
  return item;
}

void CCDWriter::ReleaseItem(EngineIsoItem* item) {
  if (!item->bIsReference) {
    delete[] item->pLongFileName;
    delete[] item->pLongSourcePath;
    item->pLongFileName = nullptr;
    item->pLongSourcePath = nullptr;
  }
  EngFreeIsoItem(item);
}

void CCDWriter::FreeItemTree(EngineIsoItem* root) {
  // The names this writer made; the engine frees the items.
  std::vector<EngineIsoItem*> pending{root};
  while (!pending.empty()) {
    EngineIsoItem* item = pending.back();
    pending.pop_back();
    for (; item != nullptr; item = item->pNextItem) {
      if (item->bIsDirectory) pending.push_back(item->pSubDirFirstItem);
      if (item->bIsReference) continue;
      delete[] item->pLongFileName;
      delete[] item->pLongSourcePath;
      item->pLongFileName = nullptr;
      item->pLongSourcePath = nullptr;
    }
  }
  if (root != nullptr) EngFreeIsoItemTree(root);
}

void CCDWriter::EndBurn() {
  if (m_hDevice != nullptr) EngCloseDevice(m_hDevice);
  m_hDevice = nullptr;
  m_bAbort = 0;
  m_byStatus = kEnded;
  Progress(2, 0);
  FreeItemTree(m_pItemList);
  m_pItemList = nullptr;
  if (m_pWriteCD != nullptr) {
    if (m_pWriteCD->pCDStamp != nullptr) EngFreeCDStamp(m_pWriteCD->pCDStamp);
    delete m_pWriteCD;
    m_pWriteCD = nullptr;
  }
}

int CCDWriter::Burn() {
  if (!m_fInitialised) return 0;
  if (m_strDiscFileName.empty()) {
    Message("Filename is not valid!");
    return 0;
  }
  delete m_pWriteCD;
  m_pWriteCD = new EngineWriteCD{};
  const EngineDeviceEntry* entry = SelectedEntry();
  m_hDevice = entry != nullptr ? EngOpenDevice(entry) : nullptr;
  if (m_hDevice == nullptr) {
    Message(std::string("Device could not be opened: ") +
            (entry != nullptr ? m_ppDeviceNames[m_nSelectedDrive] : ""));
    EndBurn();
    return 0;
  }
  if (!IsImageRecorder(m_ppDeviceNames[m_nSelectedDrive])) {
    EngineDiscInfo* info = EngGetCDInfo(m_hDevice, 1);
    m_dwMediaKind =
        MediaKindOf(info != nullptr, info != nullptr ? info->nMediaType : 0, true, m_dwMediaKind);
    if (info != nullptr) EngFreeMem(info);
    if (m_dwMediaKind == kKindNoDisc) {
      Message("NO DISC");
      EndBurn();
      return 0;
    }
  }

  // The new files: the backup and, when asked for, the player installer.
  const std::string source = FullPath(m_strSourcePath);
  m_pItemList = MakeItem(FileNamePart(FullPath(m_strDiscFileName)), source);
  if (m_pItemList != nullptr && AppendPlayer()) {
    const std::string player = ExecutableFolder() + "\\" + kPlayerInstaller;
    m_pItemList->pNextItem = MakeItem(kPlayerInstaller, player);
  }
  m_pWriteCD->nMediaType = m_dwMediaKind == kKindCD ? kMediaCD : kMediaDVDAny;

  Progress(0, 0);
  m_byStatus = kWriting;

  // The disc's last session, so that its files stay visible.
  void* stamp = nullptr;
  int result = kImportOk;
  bool hadTracks = false;
  EngineIsoItem* imported = ImportLastSession(m_hDevice, &stamp, &result, &hadTracks);
  if (hadTracks && (imported == nullptr || result != kImportOk)) {
    // Burning now would hide the disc's earlier files.
    if (imported != nullptr) EngFreeIsoItemTree(imported);
    if (stamp != nullptr) EngFreeCDStamp(stamp);
    char text[128];
    std::snprintf(text, sizeof text, "There was %s while importing the track!",
                  ImportResultText(result).c_str());
    Message(text);
    EndBurn();
    return 0;
  }
  if (imported != nullptr) {
    MergeHooks hooks;
    hooks.sourceTime = [](const EngineIsoItem& item) -> int64_t {
      const char* path = item.pLongSourcePath != nullptr ? item.pLongSourcePath : "";
      HANDLE f = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
      if (f == INVALID_HANDLE_VALUE) {
        char text[MAX_PATH + 32];
        std::snprintf(text, sizeof text, "Could not open file: %s.", path);
        Message(text);
        return -1;
      }
      FILETIME written{};
      const BOOL ok = ::GetFileTime(f, nullptr, nullptr, &written);
      ::CloseHandle(f);
      if (!ok) return -1;
      const uint64_t ticks =
          (static_cast<uint64_t>(written.dwHighDateTime) << 32) | written.dwLowDateTime;
      return static_cast<int64_t>(ticks / 10000000ull) - 11644473600ll;
    };
    hooks.releaseItem = [this](EngineIsoItem* item) { ReleaseItem(item); };
    if (!MergeItemLists(&m_pItemList, imported, hooks)) {
      Message("There was an error while merging tracks!");
      if (stamp != nullptr) EngFreeCDStamp(stamp);
      EndBurn();
      return 0;
    }
    m_pWriteCD->pCDStamp = stamp;
  } else if (stamp != nullptr) {
    EngFreeCDStamp(stamp);
  }

  EngineIsoTrack* track = EngCreateIsoTrackEx(m_pItemList, kVolumeName, kIsoTrackFlags);
  m_pWriteCD->pIsoTrack = track;
  m_byStatus = kBurning;
  int burn = kBurnFailed;
  if (track != nullptr) {
    burn = EngBurn(m_hDevice, kBurnFormatCD, m_pWriteCD,
                   m_fCloseDisc ? kBurnCloseDisc : kBurnCloseSession, 0, &m_Progress);
    EngFreeIsoTrack(track);
    m_pWriteCD->pIsoTrack = nullptr;
  }
  EndBurn();
  if (burn != kBurnOk) {
    Message(BurnResultMessage(burn));
    return 0;
  }
  return 1;
}

void CCDWriter::Close() {
  if (m_pDriveList != nullptr) EngFreeMem(m_pDriveList);
  m_pDriveList = nullptr;
  EngClearErrors();
  if (EngDone() != 0) Message("Detected memory leaks");
  EngApiUnload();
  m_fInitialised = 0;
}

int CCDWriter::IdleCallback(void* user) {
  auto* w = static_cast<CCDWriter*>(user);
  // The calling thread's own queue: the burn runs on the download thread.
  MSG msg;
  while (!w->m_bAbort && ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  return w->m_bAbort;
}

int CCDWriter::AbortedCallback(void* user) {
  return static_cast<CCDWriter*>(user)->m_bAbort;
}

int CCDWriter::ProgressCallback(void*, uint32_t percent) {
  Progress(1, static_cast<int>(percent));
  return 1;
}

void CCDWriter::SetPhaseCallback(void*, const char*) {}
void CCDWriter::AddLogLineCallback(void*, int, const char*) {}

int CCDWriter::UserDialogCallback(void*, int type, void* data) {
  switch (type) {
    case 2:
    case 7:
    case 12:
      return 5;
    case 6:
      return 3;
    case 13:
      return 1;
    case kDialogImageFile: {
      char file[MAX_PATH] = "Image.nrg";
      OPENFILENAMEA ofn{};
      ofn.lStructSize = sizeof ofn;
      ofn.hwndOwner = ::GetActiveWindow();
      ofn.lpstrFilter = "Image Files (*.nrg)\0*.nrg\0All Files (*.*)\0*.*\0";
      ofn.lpstrFile = file;
      ofn.nMaxFile = sizeof file;
      ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
      if (!::GetOpenFileNameA(&ofn)) return 21;
      if (data != nullptr) {
        char* out = static_cast<char*>(data);
        const size_t n = strnlen(file, kImageFileBufferChars - 1);
        std::memcpy(out, file, n);
        out[n] = '\0';
      }
      return 1;
    }
    default:
      return 0;
  }
}
