// The folder chooser under Wine, driven through its tree as a user does: the roots and their
// pictures, a drive without a medium, the start folder opened, a folder picked by expanding
// and OK, CANCEL, OK without a selection, and the network neighbourhood of a fake provider
// with its servers (OK refused) and shares.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cctype>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/remote_tree.h"
#include "tests/support/text_file.h"
#include "tests/support/win_process.h"
#include "tests/support/window_capture.h"
#include "tools/dlg_get_path.h"
#include "tools/folder_sources_win32.h"

namespace ts = testsupport;

namespace {

// The real file system, with drive types of our choosing: C: fixed (the real one), D: a CD
// drive without a disc, O: a network drive, R: a RAM disk.
class TestFiles : public FolderSource {
 public:
  unsigned DriveType(char letter) override {
    static const std::map<char, unsigned> types = {{'C', 3}, {'D', 5}, {'O', 4}, {'R', 6}};
    const auto it = types.find(letter);
    return it == types.end() ? 1 : it->second;
  }
  std::vector<Entry> List(const std::string& path) override {
    if (path.rfind("C:\\", 0) != 0) return {};
    return m_real.List(path);
  }

 private:
  Win32FolderSource m_real;
};

// A workgroup with one server that offers two shares, and a record without any name.
class FakeNetwork : public NetworkProvider {
 public:
  bool Enumerate(const NetResource* parent,
                 const std::function<void(const NetResource&)>& add) override {
    if (parent == nullptr) {
      add(Record("WORKGROUP", 1));
      add(Record("", 2));
    } else if (parent->remoteName == "WORKGROUP") {
      add(Record("\\\\SERVER", 2));
    } else if (parent->remoteName == "\\\\SERVER") {
      add(Record("\\\\SERVER\\VIDEO", kNetDisplayShare));
      add(Record("\\\\SERVER\\Backups", kNetDisplayShare));
    }
    return true;
  }
  static NetResource Record(const char* remote, uint32_t displayType) {
    NetResource r;
    r.remoteName = remote;
    r.displayType = displayType;
    return r;
  }
};

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

class FolderChooser : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX cc{sizeof cc, ICC_TREEVIEW_CLASSES};
    ::InitCommonControlsEx(&cc);
  }

  // Runs the chooser modally on this thread while `drive` works its window from another.
  INT_PTR Run(CDlgGetPath& dlg, const std::function<void(HWND dialog, HWND tree)>& drive) {
    dlg.UseSources(&m_files, &m_network);
    std::thread helper([&] {
      HWND dialog = nullptr;
      ts::WaitUntil([&] {
        dialog = ::FindWindowA(nullptr, "Destination Path");
        return dialog != nullptr && ::IsWindowVisible(dialog);
      });
      if (dialog == nullptr) return;
      drive(dialog, ::GetDlgItem(dialog, CDlgGetPath::kTree));
    });
    const INT_PTR result = dlg.DoModal();
    helper.join();
    return result;
  }
  static void Press(HWND dialog, int id) {
    ::PostMessageA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0);
  }
  static bool OkEnabled(HWND dialog) { return ::IsWindowEnabled(::GetDlgItem(dialog, IDOK)); }
  static int ImageOf(HWND tree, HTREEITEM item) {
    TVITEMA tv{};
    tv.mask = TVIF_IMAGE;
    tv.hItem = item;
    ::SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
    return tv.iImage;
  }
  static std::vector<std::string> Texts(const std::vector<ts::RemoteTreeItem>& items) {
    std::vector<std::string> texts;
    for (const auto& i : items) texts.push_back(i.text);
    return texts;
  }

  TestFiles m_files;
  FakeNetwork m_network;
};

TEST_F(FolderChooser, ListsTheDrivesAndTheNetworkWithTheirPictures) {
  CDlgGetPath dlg(nullptr);
  std::vector<std::string> roots;
  std::vector<int> images;
  bool cdButtonBefore = false, cdButtonAfter = true;
  bool okAtStart = false;
  HTREEITEM selectedAtStart = reinterpret_cast<HTREEITEM>(1);
  const INT_PTR result = Run(dlg, [&](HWND dialog, HWND tree) {
    okAtStart = OkEnabled(dialog);
    selectedAtStart = TreeView_GetSelection(tree);
    const auto top = ts::TreeChildren(tree, nullptr);
    roots = Texts(top);
    for (const auto& i : top) images.push_back(ImageOf(tree, i.item));
    // The CD drive has no disc: opening it finds nothing and takes its button away.
    const HTREEITEM cd = top.size() > 1 ? top[1].item : nullptr;
    cdButtonBefore = ts::TreeItemHasButton(tree, cd);
    ::SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(cd));
    cdButtonAfter = ts::TreeItemHasButton(tree, cd);
    Press(dialog, IDCANCEL);
  });
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(roots, (std::vector<std::string>{"C:", "D:", "Network Neighborhood", "O:", "R:"}));
  EXPECT_EQ(images, (std::vector<int>{3, 5, 7, 4, 6}));
  EXPECT_TRUE(okAtStart);
  EXPECT_EQ(selectedAtStart, nullptr);
  EXPECT_TRUE(cdButtonBefore);
  EXPECT_FALSE(cdButtonAfter);
}

TEST_F(FolderChooser, OpensAtTheStartFolderAndReturnsTheFolderPickedBelowIt) {
  ts::TempFolder folder("chooser");
  ASSERT_TRUE(::CreateDirectoryA(folder.File("DATA").c_str(), nullptr));
  ASSERT_TRUE(::CreateDirectoryA(folder.File("MyData").c_str(), nullptr));
  ASSERT_TRUE(::CreateDirectoryA(folder.File("MyData\\Cam1").c_str(), nullptr));
  ASSERT_TRUE(ts::WriteFileText(folder.File("notes.txt"), "not a folder"));
  CDlgGetPath dlg(nullptr);
  dlg.SetPath(folder.Path().substr(0, folder.Path().size() - 1));  // without the backslash
  std::string startSelection;
  std::vector<std::string> below;
  std::string picked;
  const INT_PTR result = Run(dlg, [&](HWND dialog, HWND tree) {
    startSelection = ts::SelectedTreePath(tree);
    const HTREEITEM start = TreeView_GetSelection(tree);
    ::SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(start));
    below = Texts(ts::TreeChildren(tree, start));
    ts::OpenTreePath(tree, folder.Path() + "MyData\\Cam1");
    picked = ts::SelectedTreePath(tree);
    Press(dialog, IDOK);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(Lower(startSelection), Lower(folder.Path()));
  EXPECT_EQ(below, (std::vector<std::string>{"Data", "MyData"}));
  EXPECT_EQ(Lower(dlg.GetPath()), Lower(folder.Path() + "MyData\\Cam1\\"));
  EXPECT_EQ(dlg.GetPath(), picked);
}

TEST_F(FolderChooser, ADriveRootEndsInABackslash) {
  CDlgGetPath dlg(nullptr);
  dlg.SetPath("C:\\no such folder here");
  std::string opened;
  const INT_PTR result = Run(dlg, [&](HWND dialog, HWND tree) {
    opened = ts::SelectedTreePath(tree);  // not found whole: nothing selected
    ts::OpenTreePath(tree, "C:");
    Press(dialog, IDOK);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(opened, "");
  EXPECT_EQ(dlg.GetPath(), "C:\\");
}

TEST_F(FolderChooser, OkWithoutASelectionKeepsTheStartTextAndCancelReturnsTwo) {
  {
    CDlgGetPath dlg(nullptr);
    dlg.SetPath("UnKnown");
    EXPECT_EQ(Run(dlg, [&](HWND dialog, HWND) { Press(dialog, IDOK); }), IDOK);
    EXPECT_EQ(dlg.GetPath(), "UnKnown");
  }
  {
    CDlgGetPath dlg(nullptr);
    dlg.SetPath("C:\\windows");
    EXPECT_EQ(Run(dlg, [&](HWND dialog, HWND) { Press(dialog, IDCANCEL); }), IDCANCEL);
  }
  {
    // Escape cancels too.
    CDlgGetPath dlg(nullptr);
    EXPECT_EQ(Run(dlg,
                  [&](HWND dialog, HWND) {
                    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                  }),
              IDCANCEL);
  }
}

TEST_F(FolderChooser, TheNetworkListsServersAndSharesAndOnlySharesAreChosen) {
  CDlgGetPath dlg(nullptr);
  std::vector<std::string> top, group, server;
  bool okOnRoot = true, okOnServer = true, stayedAfterEnter = false, okOnShare = false;
  const INT_PTR result = Run(dlg, [&](HWND dialog, HWND tree) {
    const HTREEITEM root = ts::OpenTreePath(tree, "Network Neighborhood");
    okOnRoot = OkEnabled(dialog);
    ::SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
    top = Texts(ts::TreeChildren(tree, root));
    const HTREEITEM srv = ts::OpenTreePath(tree, "Network Neighborhood\\Workgroup\\Server");
    group = Texts(ts::TreeChildren(tree, TreeView_GetParent(tree, srv)));
    okOnServer = OkEnabled(dialog);
    // Enter on a server is refused like the disabled button.
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    stayedAfterEnter = ::IsWindowVisible(dialog) != FALSE;
    ::SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(srv));
    server = Texts(ts::TreeChildren(tree, srv));
    ts::OpenTreePath(tree, "Network Neighborhood\\Workgroup\\Server\\Video");
    okOnShare = OkEnabled(dialog);
    if (!ts::ScreenshotFolder().empty()) {
      ::RedrawWindow(dialog, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
      ts::SaveWindowImage(dialog, ts::ScreenshotFolder() + "folder_chooser.bmp");
    }
    Press(dialog, IDOK);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_FALSE(okOnRoot);
  EXPECT_EQ(top, std::vector<std::string>{"Workgroup"});
  EXPECT_EQ(group, std::vector<std::string>{"Server"});
  EXPECT_FALSE(okOnServer);
  EXPECT_TRUE(stayedAfterEnter);
  EXPECT_EQ(server, (std::vector<std::string>{"Backups", "Video"}));
  EXPECT_TRUE(okOnShare);
  EXPECT_EQ(dlg.GetPath(), "\\\\SERVER\\Video\\");
}

}  // namespace
