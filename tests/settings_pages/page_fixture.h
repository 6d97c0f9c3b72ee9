// Fixture of the settings pages' tests: devsim with a chosen family, the program's session
// logged in, the blocks fetched into the application data, a host window for one page at a
// time, the page's apply (its sends in order, the first failure told) and the stored blocks
// read back from devsim.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "settings/settings_page.h"
#include "tests/support/devsim_child.h"
#include "tests/support/win_process.h"

namespace pagetest {

class PageTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  void SetUp() override;
  void TearDown() override;

 public:  // scripted edits run from the tests' case tables
  // Starts devsim as this family and firmware (more settings in args), logs the program's
  // session in and fetches every block.
  void StartDevice(const std::string& product, const std::string& firmware,
                   const std::vector<std::string>& args = {});

  // Makes the page on the host window over the fetched blocks and shows it.
  template <class Page>
  Page& Open() {
    auto page = std::make_unique<Page>();
    Page& p = *page;
    OpenPage(std::move(page));
    return p;
  }

  // The page's store and its sends, in order; the first failure shows the page's message.
  // The number of sends that reached the device, or -1 when the page refused to store.
  int Apply();
  // The same for the page's send at once (the time server's "now").
  int ApplyNow();

  HWND Page() const { return m_page ? m_page->GetSafeHwnd() : nullptr; }
  std::string Text(int id) const;
  // Types into an edit (its EN_CHANGE runs) and clicks buttons.
  void Type(int id, const std::string& text);
  void Click(int id);
  void Choose(int comboId, int index);
  void SelectRow(int listId, int row);

  // The block as devsim stores it now.
  std::string Stored(uint8_t option);
  // Offsets where two blocks differ.
  static std::vector<size_t> Diff(const std::string& a, const std::string& b);
  std::vector<testsupport::DevsimRequest> Requests(const std::string& path) const {
    return devsim.RequestsOf(path);
  }
  // Message boxes shown (each line one text).
  std::vector<std::string> Messages() const;
  void AddFault(const std::string& query);

  testsupport::DevsimChild devsim;
  SheetContext m_context;
  BlockSnapshot m_snapshot;
  SheetClientSettings m_client;
  SheetChoices m_choices;
  // The program's folder (the settings' program folder), with its trailing backslash.
  std::string ProgramFolder() const { return m_folder->Path(); }

  std::vector<std::string> m_modalRuns;  // templates of the dialogs pages ran
  std::function<void(ost::Dialog&)> m_onModal;
  // When set, runs the pages' modal dialogs in place of m_onModal (e.g. the dialog itself).
  std::function<INT_PTR(ost::Dialog&)> m_runModal;

 private:
  void OpenPage(std::unique_ptr<SettingsPage> page);
  int Send(const PageChanges& changes);

  std::unique_ptr<testsupport::TempFolder> m_folder;
  HWND m_host = nullptr;
  std::unique_ptr<SettingsPage> m_page;
};

}  // namespace pagetest
