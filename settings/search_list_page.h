// The "Search List" page: the device's record list of a disk, paged in with "/GetSearchList.cgi",
// shown in the "Full List" dialog, whose chosen record presets the "Network Backup" page.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "platform/dialog.h"
#include "platform/gdi.h"
#include "platform/property_page.h"
#include "record/network_backup.h"
#include "record/search_list.h"
#include "settings/settings_page.h"

class CFullListDlg : public ost::Dialog {
 public:
  CFullListDlg(HWND owner, const std::vector<SearchListEntry>& entries, std::string title,
               int diskIndex, int listType);

 protected:
  BOOL OnInitDialog() override;
  HBRUSH OnCtlColor(HDC dc, HWND control, UINT type) override;

 private:
  ost::Brush m_backBrush = ost::SolidBrush(RGB(0x1E, 0x22, 0x28));
  void ListAgain();
  void Toggle(bool& flag, int id);
  void OnDownload();

  const std::vector<SearchListEntry>& m_entries;
  std::string m_title;
  int m_diskIndex;
  int m_listType;
  SearchListFilter m_filter;
  ost::ListView m_list;
  std::vector<size_t> m_rowEntry;  // the entry each row shows
};

class CEventPage : public SettingsPage {
 public:
  CEventPage();

 protected:
  void Load() override;
  void DoDataExchange(ost::DataExchange& dx) override;

 private:
  void OnDownloadHddList();

  int m_nHdd = -1;
  int m_nType = -1;
  int m_nMax = 0;
  DvrHddReply m_hdd;
  std::vector<int> m_disks;
  std::vector<SearchListEntry> m_entries;
  uint16_t m_wCurExitListNumber = 0;
};
