#include "settings/peripheral_page.h"

#include "settings/page_controls.h"

namespace {

constexpr unsigned kPeripheralPageTemplate = 275;

}  // namespace

CPeripheralPage::CPeripheralPage() : SettingsPage(kPeripheralPageTemplate, "Peripheral") {}

void CPeripheralPage::DoDataExchange(ost::DataExchange& dx) {
  dx.ComboIndex(kBaud1, m_nBaud1);
  dx.ComboIndex(kModel1, m_nModel1);
  dx.Number(kId2, m_nID2, 0, 255);
  dx.Number(kId1, m_nID1, 0, 255);
  dx.ComboIndex(kModel2, m_nModel2);
  dx.ComboIndex(kBaud2, m_nBaud2);
}

void CPeripheralPage::Load() {
  for (int id : {kBaud1, kBaud2})
    page_controls::FillCombo(m_hWnd, id,
                             {"2400", "4800", "9600", "19200", "38400", "57600", "115200"});
  for (int id : {kModel1, kModel2})
    page_controls::FillCombo(
        m_hWnd, id,
        {"CAMERA", "1CH DVR", "4CH DVR(FULL)", "4CH DVR(BASIC)", "4CH DMR", "9CH DMR", "16CH DMR",
         "4CH DQR", "PTZ(NORMAL)", "4CH MPEG2 DVR", "PTZ(P-D)"});
  m_snapshot = LoadPeripheral(Snapshot(kSysCfgPeri));
  const PeripheralValues now = LoadPeripheral(Block(kSysCfgPeri));
  m_nID1 = now.id1;
  m_nID2 = now.id2;
  m_nModel1 = now.model1;
  m_nModel2 = now.model2;
  m_nBaud1 = now.baud1;
  m_nBaud2 = now.baud2;
  UpdateData(false);
}

bool CPeripheralPage::Store(PageChanges& changes) {
  // An ID outside 0..255 is prompted for and nothing of the page is sent.
  if (!SaveControls()) return false;
  const PeripheralValues now{m_nBaud1, m_nBaud2, m_nModel1, m_nModel2, m_nID1, m_nID2};
  const PeripheralStore s = StorePeripheral(now, m_snapshot, Block(kSysCfgPeri));
  if (s.written) changes.sends.push_back({kSysCfgPeri, {}});
  changes.controlListChanged = s.devicesChanged;
  return true;
}
