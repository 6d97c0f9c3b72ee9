// The disc writer: writes one downloaded backup file, and on request the player installer, onto
// a CD or DVD through the burning engine, as a new session that keeps the files of the disc's
// last session.  One instance lives in the application data from start-up to shut-down.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "disc/engine_api.h"
#include "disc/engine_records.h"

// The progress function: (0, 0) when a burn starts, (1, percent), (2, 0) when it ends.
using WriteCDProgressFn = void (*)(int type, int value);
extern WriteCDProgressFn g_pfnWriteCDProgress;

class CCDWriter {
 public:
  enum Status : uint8_t { kIdle = 0, kWriting = 1, kBurning = 2, kEnded = 3 };

  CCDWriter();
  ~CCDWriter();
  CCDWriter(const CCDWriter&) = delete;
  CCDWriter& operator=(const CCDWriter&) = delete;

  // Loads and initialises the engine once, and reads the drives on every call.  1 or 0 after a
  // message.
  int Init(const char* path, WriteCDProgressFn progress);
  // 1 when the selected drive's disc and the disc file name allow a burn, else 0 after a message.
  int CheckFiles();
  // Writes the disc.  0 when nothing was written (after a message), 1 when the engine wrote it.
  int Burn();
  // Gives the drive list back and unloads the engine.
  void Close();

  // Set from the write-CD dialog.
  void SetCloseDisc(uint32_t close) { m_fCloseDisc = close; }
  void SetSelectedDrive(int32_t index) { m_nSelectedDrive = index; }
  void SetDiscFileName(const std::string& name) { m_strDiscFileName = name; }
  void SetTotalSize(uint64_t bytes) { m_qwTotalSize = bytes; }
  // Asks a running burn to stop (any thread).
  void Abort() { m_bAbort = 1; }
  // Where the append-player choice lives (the application data's flag when not bound).
  void BindAppendPlayer(const uint32_t* flag) { m_pAppendPlayer = flag; }

  char** DeviceNames() const { return m_ppDeviceNames; }
  int32_t DeviceCount() const { return m_nDeviceCount; }
  uint32_t MediaKind() const { return m_dwMediaKind; }
  uint8_t GetStatus() const { return m_byStatus.load(); }
  const std::string& DiscFileName() const { return m_strDiscFileName; }

  // Engine callbacks, given the writer as user data.
  static int IdleCallback(void* user);
  static int AbortedCallback(void* user);
  static int UserDialogCallback(void* user, int type, void* data);
  static int ProgressCallback(void* user, uint32_t percent);
  static void SetPhaseCallback(void* user, const char* text);
  static void AddLogLineCallback(void* user, int kind, const char* text);

 private:
  void FreeDeviceNames();
  uint32_t AppendPlayer() const;
  const disc::EngineDeviceEntry* SelectedEntry() const;
  // The disc's last session's items (null: none), with the stamp and the import's result.
  disc::EngineIsoItem* ImportLastSession(disc::DeviceHandle h, void** stamp, int* result,
                                         bool* hadTracks);
  disc::EngineIsoItem* MakeItem(const std::string& name, const std::string& source);
  void FreeItemTree(disc::EngineIsoItem* item);
  void ReleaseItem(disc::EngineIsoItem* item);
  void EndBurn();

  char** m_ppDeviceNames = nullptr;
  int32_t m_nDeviceCount = 0;
  std::atomic<uint8_t> m_byStatus{kIdle};
  uint32_t m_fInitialised = 0;
  std::atomic<uint8_t> m_bAbort{0};
  uint32_t m_dwMediaKind = 1;
  disc::EngineSettings m_Settings{};
  char m_szLanguageFile[128] = "Nero.txt";
  char m_szSoftware[128] = "Ostrova";
  char m_szVendor[128] = "";
  char m_szEngineFiles[128] = "OstrovaBackup";
  disc::EngineProgress m_Progress{};
  disc::EngineWriteCD* m_pWriteCD = nullptr;
  disc::EngineIsoItem* m_pItemList = nullptr;
  disc::EngineDriveList* m_pDriveList = nullptr;
  std::string m_strDiscFileName;
  std::string m_strSourcePath;
  disc::DeviceHandle m_hDevice = nullptr;
  uint32_t m_fCloseDisc = 0;
  uint32_t m_fImportLastSession = 1;
  int32_t m_nSelectedDrive = 0;
  uint64_t m_qwTotalSize = 0;
  const uint32_t* m_pAppendPlayer = nullptr;
};
