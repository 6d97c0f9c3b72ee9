#include "settings/settings_sheet_install.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <vector>

#include "app/app_data.h"
#include "app/sys_cfg_items.h"
#include "mainwnd/pallum_dlg.h"
#include "net/device_session.h"
#include "net/sys_cfg_fields.h"
#include "platform/strings.h"
#include "settings/settings_ids.h"
#include "settings/sheet_program_link.h"

namespace {

// Sheets whose deletion waits until no page's modal dialog runs any more.
std::vector<MySystemDialog*> g_retired;

void ReapRetired() {
  std::erase_if(g_retired, [](MySystemDialog* sheet) {
    if (sheet->ModalDepth() > 0) return false;
    delete sheet;
    return true;
  });
}

void CopyIntoProgram(MySystemDialog& sheet, bool rebuildRs485, bool rebuildPeri) {
  APP_DATA& a = *g_lpApp;
  CSettingINI& s = a.m_Settings;
  const SheetClientSettings& c = sheet.ClientChoices();
  if (c.recordPath) s.m_strRecordPath = *c.recordPath;
  if (c.snapshotPath) s.m_strSnapshotPath = *c.snapshotPath;
  if (c.wavPath) s.m_strWavPath = *c.wavPath;
  if (c.alarmRecord) s.m_byAlarmRecord = *c.alarmRecord;
  if (c.alarmAutoSwitch) s.m_byAlarmSwitchVideo = *c.alarmAutoSwitch;
  if (c.turboStepIndex) a.byTurboRepeatStep = static_cast<uint8_t>(*c.turboStepIndex + 1);
  if (c.networkFileDir) s.m_strNetworkFileDir = *c.networkFileDir;
  if (c.searchListType) s.m_bySearchListType = *c.searchListType;
  if (c.searchListHdd) s.m_wSearchListHDD = *c.searchListHdd;
  if (c.searchListMax) s.m_wSearchListMax = *c.searchListMax;
  for (const std::string& folder : {s.m_strRecordPath, s.m_strSnapshotPath})
    if (!folder.empty()) ::CreateDirectoryA(folder.c_str(), nullptr);  // may exist already

  C_ControlD& list = a.m_ControlD;
  bool relayout = false;
  if (rebuildPeri) {
    const std::span<const uint8_t> peri = SysCfgCopy(a, kSysCfgPeri);
    list.Clear();
    list.Add(CfgGetUint(peri, cfg::peri::kPeri1Baud),
             static_cast<uint8_t>(CfgGetUint(peri, cfg::peri::kPeri1ID)),
             static_cast<uint8_t>(CfgGetUint(peri, cfg::peri::kPeri1Model)), 2);
    list.Add(CfgGetUint(peri, cfg::peri::kPeri2Baud),
             static_cast<uint8_t>(CfgGetUint(peri, cfg::peri::kPeri2ID)),
             static_cast<uint8_t>(CfgGetUint(peri, cfg::peri::kPeri2Model)), 2);
    list.MakeCurrent(2, s.m_bySelectedChannel == 1 ? 0 : 1);
    relayout = true;
  }
  if (rebuildRs485) {
    const std::span<const uint8_t> rs485 = SysCfgCopy(a, kSysCfgRs485);
    auto modelOf = [&](unsigned n) -> uint8_t {
      if (CfgGetUint(rs485, cfg::rs485::kDeviceType, n) != 1) return 0;
      return CfgGetUint(rs485, cfg::rs485::kProtocol, n) == 1 ? 18 : 11;
    };
    const bool wasChannel = list.IsCurrentChannelDevice() != 0;
    const uint8_t index = list.GetCurrentChannelIndex();
    const std::string& id = a.str_ProductID;
    const bool dvr = id == "RZ1K" || id == "RZ3K" || id == "RZ4K";
    if (dvr && a.byMultiChannel != 0) {
      const uint8_t model = modelOf(0);
      list.Clear();
      list.Add(0, 0, model, 2);
      for (unsigned n = 0; n < 16; ++n)
        list.Add(CfgGetUint(rs485, cfg::rs485::kBaudRate, n),
                 static_cast<uint8_t>(CfgGetUint(rs485, cfg::rs485::kDeviceID, n)), model, 2);
      list.MakeCurrent(2, index);
    } else {
      list.Compact();
      for (unsigned n = 0; n < 16; ++n)
        list.Add(CfgGetUint(rs485, cfg::rs485::kBaudRate, n),
                 static_cast<uint8_t>(CfgGetUint(rs485, cfg::rs485::kDeviceID, n)), modelOf(n), 4);
      if (!wasChannel) {
        const uint8_t model = list.GetNthKind4ModelIndex(index);
        if (model == 11 || model == 18) {
          list.MakeCurrent(4, index);
        } else {
          // The camera under PTZ control is gone: PTZ control ends with it.
          if (a.lp_MainDialog != nullptr) a.lp_MainDialog->ResetPtzButton();
          list.MakeCurrent(2, 0);
        }
      }
    }
    relayout = true;
  }
  if (relayout && a.lp_MainDialog != nullptr)
    a.lp_MainDialog->ChangeItemPositionForDeviceModified();
}

MySystemDialog* CreateSheet(HWND parent, const SettingsSheetStart& client) {
  ReapRetired();
  auto* sheet = new MySystemDialog(SheetStartFromProgram(client),
                                   ost::LoadResString(kStrSystemSetting), parent, 0);
  sheet->SetAfterApply(&CopyIntoProgram);
  sheet->SetOnWindowGone([] { std::atomic_ref<uint32_t>(g_lpApp->fSystemDialogOpen).store(0); });
  if (!sheet->Open()) {
    delete sheet;
    return nullptr;
  }
  return sheet;
}

void DestroySheet(MySystemDialog* sheet) {
  ReapRetired();
  if (sheet == nullptr) return;
  if (sheet->ModalDepth() == 0) {
    delete sheet;
    return;
  }
  // A page's modal dialog is still running on the stack: end it, hide the sheet and delete it
  // at the next chance.
  sheet->CloseForDeletion();
  g_retired.push_back(sheet);
}

}  // namespace

SheetStart SheetStartFromProgram(const SettingsSheetStart& client) {
  APP_DATA& a = *g_lpApp;
  SheetStart start;
  start.device.productId = a.str_ProductID;
  start.device.fwVersion = a.str_FWVersion;
  start.device.multiChannel = a.byMultiChannel;
  start.device.deviceMask = CfgGetUint(SysCfgCopy(a, kSysCfgInf), cfg::inf::kDeviceMask);
  for (uint8_t option = 0; option < kSysCfgAll; ++option)
    start.blocks.block[option] = SysCfgCopy(a, option);
  start.session = &ProgramDeviceSession();
  start.cookie = g_szCookie;
  start.client = client;
  start.scale = a.ScreenScale;
  start.alarmListOnDvr = a.m_ControlD.HasModel19_22_23() != 0;
  start.program = &ProgramSheetLink();
  return start;
}

void InstallSettingsSheet() {
  SetSettingsSheetFactory(SettingsSheetFactory{&CreateSheet, &DestroySheet});
}
