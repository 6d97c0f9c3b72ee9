// The "Write CD Setting" dialog: picks the drive, the name the backup file gets on the disc,
// whether to close the disc and whether to add the player installer, before a download that is
// to be written to disc.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/dialog.h"
#include "platform/gdi.h"

class CCDWriter;

class CWriteCDDlg : public ost::Dialog {
 public:
  static constexpr UINT kTemplateId = 349;
  static constexpr int kDeviceCombo = 1195, kSourceEdit = 1040, kFileNameEdit = 1041;
  static constexpr int kCloseDiscCheck = 1506, kImportCheck = 1507, kCdRadio = 1508,
                       kDvdRadio = 1509, kCancelWriting = 1068, kAppendPlayerCheck = 1510;

  explicit CWriteCDDlg(HWND parent = nullptr);

  // Where the dialog keeps its choices beyond itself: the writer, the settings' close option
  // and the append-player flag (the application data's when not bound).
  void Bind(CCDWriter* writer, int32_t* closeOption, uint32_t* appendPlayer);

  // 1 when there are devices to choose from, else 0.
  int SetSource(const std::string& path, char** deviceNames, int32_t deviceCount,
                uint32_t mediaKind, uint64_t totalSize);

  int m_fCloseDisc = 0;
  int m_fImportLastSession = 0;
  std::string m_strSourceFile;
  int m_fAppendPlayer = 0;
  std::string m_strFileName;
  char** m_ppDeviceNames = nullptr;
  int32_t m_nDeviceCount = 0;
  int32_t m_nSelectedDevice = 0;
  uint32_t m_dwMediaKind = 1;
  std::string m_strFolder;

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  void DoDataExchange(ost::DataExchange& dx) override;
  // The skin's dark card behind the labels and boxes.
  HBRUSH OnCtlColor(HDC dc, HWND control, UINT type) override;

 private:
  void OnDeviceChange();
  void OnCloseDisc();
  void OnAppendPlayer();
  void OnMedia(uint32_t kind);
  bool Checked(int id) const;

  CCDWriter* m_pWriter = nullptr;
  int32_t* m_pCloseOption = nullptr;
  uint32_t* m_pAppendPlayer = nullptr;
  ost::Brush m_backBrush;
};
