#include "settings/local_paths_page.h"

#include <commdlg.h>

#include "mainwnd/settings_sheet_slot.h"
#include "net/device_family.h"
#include "settings/page_controls.h"
#include "tools/dlg_get_path.h"

namespace {

constexpr unsigned kLocalPathsTemplate = 279;

}  // namespace

RecordPage::RecordPage() : SettingsPage(kLocalPathsTemplate, "File Path") {
  MapCommand(kModifyRecord, [this] { ChooseFolder(m_strRecordPath); });
  MapCommand(kModifySnapshot, [this] { ChooseFolder(m_strSnapshotPath); });
  MapCommand(kModifyWav, &RecordPage::ChooseWave);
  // Typed folders reach the members (and the settings) at once.
  for (int id : {kRecordPath, kSnapshotPath}) {
    MapNotify(id, EN_CHANGE, [this, id] {
      (id == kRecordPath ? m_strRecordPath : m_strSnapshotPath) = GetItemText(id);
      Publish();
    });
  }
}

void RecordPage::DoDataExchange(ost::DataExchange& dx) {
  dx.Text(kRecordPath, m_strRecordPath);
  dx.Text(kSnapshotPath, m_strSnapshotPath);
  dx.Text(kWavPath, m_strAlarmWavPath);
}

void RecordPage::Publish() {
  if (!Context().client) return;
  Context().client->recordPath = m_strRecordPath;
  Context().client->snapshotPath = m_strSnapshotPath;
  Context().client->wavPath = m_strAlarmWavPath;
}

void RecordPage::Load() {
  if (const SettingsSheetStart* start = Context().start) {
    m_strRecordPath = start->strRecordPath;
    m_strSnapshotPath = start->strSnapshotPath;
    m_strAlarmWavPath = start->strWavPath;
  }
  const bool hideWave = IsRZKSeriesProduct(Device().productId) && !Program().AlarmListOnDvr();
  page_controls::Show(m_hWnd, {kWavLabel, kWavPath, kModifyWav}, !hideWave);
  UpdateData(false);
  Publish();
}

void RecordPage::ChooseFolder(std::string& path) {
  CDlgGetPath dlg(m_hWnd);
  dlg.SetPath(path);
  if (RunModal(dlg) != IDOK) return;
  path = dlg.GetPath();
  UpdateData(false);
  Publish();
}

void RecordPage::ChooseWave() {
  char file[MAX_PATH] = {};
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = m_hWnd;
  ofn.lpstrFilter = "WAV files (*.wav)\0*.wav\0\0";
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file;
  ofn.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
  if (!::GetOpenFileNameA(&ofn) || file[0] == 0) return;
  m_strAlarmWavPath = file;
  UpdateData(false);
  Publish();
}

bool RecordPage::Store(PageChanges&) {
  UpdateData(true);
  Publish();
  return true;
}
