// The recorder pages in the real program under Wine against devsim: rows of the Device, DVR and
// Detection pages edited through their modal edit dialogs and sent by the sheet's APPLY reach
// the device as exactly the edited bytes of RS485, DVRLIVE, DVRREC and ALARM (each stored block
// compared whole); the date, record and timer pages are shown disabled before firmware 1058.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tests/settings/sheet_program_fixture.h"
#include "tests/support/remote_tree.h"

namespace {

namespace ts = testsupport;
using namespace sheettest;

constexpr int kDeviceList = 1404, kDeviceEdit = 1119;
constexpr int kDetectionList = 1413, kDetectionEdit = 1068;
constexpr int kCameraList = 1425, kCameraEdit = 1068;

const char* const kBlocks[] = {"RS485", "ALARM", "DVRLIVE", "DVRREC"};

// The shown page of the sheet that holds the control.
HWND ShownPageWith(HWND sheet, int control) {
  for (HWND child = ::GetWindow(sheet, GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (::IsWindowVisible(child) && ::GetDlgItem(child, control) != nullptr) return child;
  }
  return nullptr;
}

void Choose(HWND dialog, int id, int index) {
  ::SendDlgItemMessageA(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

class RecorderPagesProgram : public SettingsSheetProgram {
 protected:
  std::map<std::string, std::string> Stored() {
    std::map<std::string, std::string> blocks;
    for (const char* option : kBlocks) blocks[option] = Block(option);
    return blocks;
  }

  // Shows the page of the tree item; the page, found by one of its controls.
  HWND ShowPage(HWND sheet, const std::string& item, int control) {
    if (!ts::SelectTreeItem(::GetDlgItem(sheet, kTree), item)) return nullptr;
    HWND page = nullptr;
    ts::WaitUntil([&] { return (page = ShownPageWith(sheet, control)) != nullptr; });
    return page;
  }

  // Selects the row, presses the page's Edit button, lets the script change the modal edit
  // dialog (found by one of its controls) and presses its OK; true once the dialog is gone.
  bool EditRow(HWND page, int list, int edit, int row, int dialogControl,
               const std::function<void(HWND)>& script) {
    if (!ts::SelectListRow(::GetDlgItem(page, list), row)) return false;
    ts::PostClick(page, edit);
    HWND dialog = ts::WaitForWindowIf(m_process.Id(), [&](HWND w) {
      return ::IsWindowVisible(w) && ::GetDlgItem(w, dialogControl) != nullptr;
    });
    if (dialog == nullptr) return false;
    script(dialog);
    ts::PostClick(dialog, IDOK);
    return ts::WaitUntil([&] { return !::IsWindow(dialog); });
  }
};

struct Recorder {
  const char* product;
  const char* firmware;
  int rows;
};

const Recorder kRecorders[] = {
    {"RZ1K", "1057", 16}, {"RZ1K", "1058", 16}, {"RZ4K", "1057", 4}, {"RZ4K", "1058", 4}};

TEST_F(RecorderPagesProgram, RowEditsApplyExactlyTheirBytesAndOldFirmwareGatesTheQueryPages) {
  for (const Recorder& r : kRecorders) {
    SCOPED_TRACE(std::string(r.product) + " " + r.firmware);
    const bool queryPages = std::string(r.firmware) >= "1058";
    HWND main = StartAndLogIn({"--product", r.product, "--firmware", r.firmware});
    ASSERT_NE(main, nullptr);
    const auto before = Stored();
    for (const char* option : kBlocks) ASSERT_FALSE(before.at(option).empty()) << option;
    HWND sheet = OpenSheet(main);
    ASSERT_NE(sheet, nullptr) << MessageBoxes();

    // Date, Record Setting and Timer Record: shown on every firmware, usable from 1058 on.
    const std::pair<const char*, int> queryPageControls[] = {
        {"Date", 1504}, {"Record Setting", 1494}, {"Timer Record", 1201}};
    for (const auto& [item, control] : queryPageControls) {
      SCOPED_TRACE(item);
      HWND page = ShowPage(sheet, item, control);
      ASSERT_NE(page, nullptr);
      EXPECT_EQ(::IsWindowEnabled(::GetDlgItem(page, control)) != 0, queryPages);
    }
    EXPECT_EQ(m_device.RequestsOf("/GetDvrDate.cgi").size(), queryPages ? 1u : 0u);
    EXPECT_EQ(m_device.RequestsOf("/GetRecordSetting.cgi").size(), queryPages ? 1u : 0u);

    // Device, the third row: PTZ, ID 42, protocol P-D, 9600 baud.
    HWND page = ShowPage(sheet, "Device", kDeviceList);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(::SendDlgItemMessageA(page, kDeviceList, LVM_GETITEMCOUNT, 0, 0), r.rows);
    ASSERT_TRUE(EditRow(page, kDeviceList, kDeviceEdit, 2, 1412, [](HWND d) {
      Choose(d, 1195, 1);
      SetItemText(d, 1040, "42");
      Choose(d, 1409, 1);
      Choose(d, 1412, 2);
    })) << MessageBoxes();
    EXPECT_EQ(ts::ListCell(::GetDlgItem(page, kDeviceList), 2, 2), "42");

    // DVR, the second row: the record switch turned over.
    page = ShowPage(sheet, "DVR", kCameraList);
    ASSERT_NE(page, nullptr);
    const char recordWas = before.at("DVRREC")[20 + 1];
    ASSERT_TRUE(EditRow(page, kCameraList, kCameraEdit, 1, 1439, [&](HWND d) {
      Choose(d, 1196, recordWas == 1 ? 0 : 1);
    })) << MessageBoxes();

    // Detection, the last row: motion on, LS 15 (typed 99), alarm input OFF.
    page = ShowPage(sheet, "Detection", kDetectionList);
    ASSERT_NE(page, nullptr);
    const int last = r.rows - 1;
    ASSERT_TRUE(EditRow(page, kDetectionList, kDetectionEdit, last, 1417, [](HWND d) {
      Choose(d, 1416, 1);
      SetItemText(d, 1417, "99");
      Choose(d, 1421, 2);
    })) << MessageBoxes();

    ts::PostClick(sheet, kApply);
    ASSERT_TRUE(ts::WaitUntil([&] { return Gone(sheet); }, 20000)) << MessageBoxes();
    EXPECT_TRUE(MessageBoxes().empty()) << MessageBoxes();

    auto want = before;
    std::string& rs485 = want.at("RS485");
    rs485[12 + 2] = 42;
    rs485[28 + 2] = 1;
    rs485[44 + 2] = 1;
    rs485.replace(60 + 4 * 2, 4, std::string("\x80\x25\x00\x00", 4));
    want.at("DVRREC")[20 + 1] = recordWas == 1 ? 0 : 1;
    want.at("DVRLIVE")[308 + last] = 1;
    want.at("DVRLIVE")[324 + last] = 15;
    want.at("ALARM")[8 + last] = 2;
    const auto after = Stored();
    for (const char* option : kBlocks) {
      EXPECT_EQ(after.at(option), want.at(option)) << option;
      EXPECT_NE(after.at(option), before.at(option)) << option << ": the edit changed nothing";
    }
    // The untouched date page sends nothing; the record page, once fetched, sends its share
    // choice on every apply and every other item as unchanged.
    EXPECT_TRUE(m_device.RequestsOf("/SetDvrDate.cgi").empty());
    const auto records = m_device.RequestsOf("/SetRecordSetting.cgi");
    ASSERT_EQ(records.size(), queryPages ? 1u : 0u);
    if (queryPages) {
      const std::vector<std::string>& keys = records[0].params;
      ASSERT_EQ(keys.size(), 12u);
      EXPECT_GT(keys[0].size(), std::string("Cookie=").size());  // the login's cookie
      EXPECT_EQ(keys[0].rfind("Cookie=", 0), 0u);
      for (size_t i = 1; i + 2 < keys.size(); ++i) EXPECT_EQ(keys[i].back(), '0') << keys[i];
      EXPECT_EQ(keys[10], "CHIPSSHARE=1");
      EXPECT_EQ(keys[11].rfind("RECORDFIX=", 0), 0u);
    }
    CloseAndWait(main);
    m_device.Stop();
  }
}

}  // namespace
