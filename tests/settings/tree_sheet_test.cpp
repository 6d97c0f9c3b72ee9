// The settings sheet in process on the display, over blocks of the test's own: the tree, the
// page frame's caption, the progress channel, the network page's filters and a page's modal
// dialog that outlives a close request.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <string>

#include "app/progress_channel.h"
#include "net/sys_cfg_fields.h"
#include "platform/message_loop.h"
#include "settings/my_system_dialog.h"
#include "settings/network_page.h"
#include "tests/support/window_capture.h"

namespace {

void Pump() {
  ost::PumpMessagesUntil([] { return false; }, 50);
}

struct Blocks {
  std::array<std::array<uint8_t, 800>, kSysCfgAll> bytes{};
  SheetBlocks spans;
  Blocks() {
    for (uint8_t o = 0; o < kSysCfgAll; ++o)
      spans.block[o] = std::span<uint8_t>(bytes[o].data(), SysCfgBlockSizes[o]);
    CfgSetIpv4(spans[kSysCfgIp], cfg::ip::kIPAddress, {192, 168, 1, 20});
    CfgSetIpv4(spans[kSysCfgIp], cfg::ip::kSubnetMask, {255, 255, 255, 0});
    CfgSetIpv4(spans[kSysCfgIp], cfg::ip::kGateway, {192, 168, 1, 1});
    CfgSetUint(spans[kSysCfgIp], cfg::ip::kWebPort, 10000);
  }
};

SheetStart StartFor(const char* product, const char* firmware, Blocks& blocks) {
  SheetStart s;
  s.device.productId = product;
  s.device.fwVersion = firmware;
  s.blocks = blocks.spans;
  return s;
}

void Screenshot(HWND w, const char* name) {
  if (const char* dir = std::getenv("OST_SCREENSHOT_DIR"))
    testsupport::SaveWindowImage(w, std::string(dir) + "\\" + name + ".bmp");
}

TEST(TreeSheet, OpensWithTheFamilysPagesAndCaptions) {
  for (const char* product : {"RZ1K", "RZ2K", "RZ5M", "RZ8P"}) {
    SCOPED_TRACE(product);
    Blocks blocks;
    MySystemDialog sheet(StartFor(product, "1058", blocks), "System setting", nullptr, 0);
    ASSERT_TRUE(sheet.Open());
    Pump();
    EXPECT_EQ(sheet.GetActiveIndex(), 0);
    ASSERT_NE(sheet.PageFrame(), nullptr);
    EXPECT_EQ(sheet.PageFrame()->CaptionText(), "Network");
    if (std::string(product) == "RZ1K") {
      sheet.SetActivePage(sheet.PageIndexOf("DVR"));
      EXPECT_EQ(sheet.PageFrame()->CaptionText(), "DVR-CAMERA");
      sheet.SetActivePage(0);
    }
    Pump();
    Screenshot(sheet.GetSafeHwnd(), (std::string("settings_sheet_") + product).c_str());
  }
}

TEST(TreeSheet, ProgressChannelDrawsAndIsDroppedOnceTheSheetIsGone) {
  Blocks blocks;
  {
    MySystemDialog sheet(StartFor("RZ2K", "1035", blocks), "System setting", nullptr, 0);
    ASSERT_TRUE(sheet.Open());
    EXPECT_TRUE(g_pProgressChannel->Served());
    ASSERT_TRUE(g_pProgressChannel->Send(kProgressBegin));
    ASSERT_TRUE(g_pProgressChannel->Send(kProgressTotal, 310));
    ASSERT_TRUE(g_pProgressChannel->Send(kProgressDraw, 155));
    ASSERT_TRUE(ost::PumpMessagesUntil([&] { return sheet.ProgressCurrent() == 155; }, 5000));
    EXPECT_TRUE(sheet.ProgressActive());
    EXPECT_EQ(sheet.ProgressTotal(), 310u);
    Pump();
    Screenshot(sheet.GetSafeHwnd(), "settings_sheet_progress");
    ASSERT_TRUE(g_pProgressChannel->Send(kProgressEnd));
    ASSERT_TRUE(ost::PumpMessagesUntil([&] { return !sheet.ProgressActive(); }, 5000));
  }
  // A writer that outlives the sheet is told so at once.
  EXPECT_FALSE(g_pProgressChannel->Served());
  EXPECT_FALSE(g_pProgressChannel->Send(kProgressDraw, 1));
}

TEST(TreeSheet, NetworkPageLoadsAndFilters) {
  Blocks blocks;
  MySystemDialog sheet(StartFor("RZ1K", "1051", blocks), "System setting", nullptr, 0);
  ASSERT_TRUE(sheet.Open());
  auto* page = static_cast<NetworkConfigPage*>(sheet.PageByCaption("Network"));
  ASSERT_NE(page, nullptr);
  HWND w = page->GetSafeHwnd();
  // A stored port above 9999 is shown as it is (and so sent back unchanged).
  EXPECT_EQ(ost::WindowText(::GetDlgItem(w, NetworkConfigPage::kWebPort)), "10000");
  // Typing filters rewrite only their own control: a PPPoE name typed first stays.
  ::SetWindowTextA(::GetDlgItem(w, NetworkConfigPage::kPppoeUser), "abcdefghijklmnopqrst");
  EXPECT_EQ(ost::WindowText(::GetDlgItem(w, NetworkConfigPage::kPppoeUser)),
            "abcdefghijklmno");  // the older layout holds 15
  ::SetWindowTextA(::GetDlgItem(w, NetworkConfigPage::kWebPort), "70000");
  EXPECT_EQ(ost::WindowText(::GetDlgItem(w, NetworkConfigPage::kWebPort)), "9999");
  EXPECT_EQ(ost::WindowText(::GetDlgItem(w, NetworkConfigPage::kPppoeUser)), "abcdefghijklmno");
  Pump();
  Screenshot(sheet.GetSafeHwnd(), "settings_network_page");
}

// A page's modal dialog running when the sheet is asked to close: the dialog ends, the sheet
// object lives until it has returned.
class ModalProbe : public ost::Dialog {
 public:
  ModalProbe() : ost::Dialog(3027, nullptr) {}
};

TEST(TreeSheet, CloseRequestDuringAPageModalWaitsForIt) {
  Blocks blocks;
  auto* sheet = new MySystemDialog(StartFor("RZ2K", "1035", blocks), "System setting", nullptr, 0);
  ASSERT_TRUE(sheet->Open());
  ModalProbe probe;
  bool returned = false;
  ::PostMessageA(sheet->GetSafeHwnd(), WM_NULL, 0, 0);
  // From inside the modal loop: the owner asks the sheet to go.
  ::SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    MySystemDialog* s = nullptr;
    for (HWND w = ::GetTopWindow(nullptr); w; w = ::GetWindow(w, GW_HWNDNEXT))
      if (auto* d = dynamic_cast<MySystemDialog*>(ost::Wnd::FromHandle(w))) s = d;
    if (s != nullptr && s->ModalDepth() > 0) s->CloseForDeletion();
  });
  sheet->RunPageModal(probe);
  returned = true;
  EXPECT_EQ(sheet->ModalDepth(), 0);
  EXPECT_FALSE(sheet->IsWindowVisible());
  delete sheet;
  EXPECT_TRUE(returned);
}

}  // namespace
