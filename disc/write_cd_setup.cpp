#include "disc/write_cd_setup.h"

#include "disc/cd_writer.h"
#include "disc/write_cd_dlg.h"
#include "disc/write_cd_progress.h"

bool PrepareDiscWrite(HWND parent, CCDWriter& writer, const std::string& backupPath,
                      uint32_t sizeMB) {
  if (!writer.Init(backupPath.c_str(), &WriteCDProgressCallback)) return false;
  for (;;) {
    // A fresh dialog each time, proposing the source file's own name again.
    CWriteCDDlg dlg(parent);
    dlg.Bind(&writer, nullptr, nullptr);
    if (!dlg.SetSource(backupPath, writer.DeviceNames(), writer.DeviceCount(), writer.MediaKind(),
                       static_cast<uint64_t>(sizeMB) << 20))
      return false;
    if (dlg.DoModal() != IDOK) return false;
    writer.SetCloseDisc(static_cast<uint32_t>(dlg.m_fCloseDisc));
    writer.SetSelectedDrive(dlg.m_nSelectedDevice);
    writer.SetDiscFileName(dlg.m_strFolder + dlg.m_strFileName);
    if (writer.CheckFiles()) return true;
  }
}
