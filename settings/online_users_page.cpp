#include "settings/online_users_page.h"

#include <vector>

#include "app/sys_cfg_items.h"
#include "net/device_family.h"
#include "pagerules/online_rules.h"
#include "platform/message_box.h"
#include "settings/page_controls.h"

namespace {

constexpr unsigned kOnlineUsersTemplate = 293;
constexpr unsigned kMsgGetConfigError = 4029;
constexpr uint32_t kOnlineSize = 240;

}  // namespace

COnlineUserPage::COnlineUserPage() : SettingsPage(kOnlineUsersTemplate, "Online User Info") {
  MapCommand(kRefresh, &COnlineUserPage::OnRefresh);
}

bool COnlineUserPage::MultiChannelDvr() const {
  return IsRZKSeriesProduct(Device().productId) && Device().multiChannel != 0;
}

void COnlineUserPage::ListUsers(std::span<const uint8_t> online) {
  const bool pal = Program().VideoMode() != 0;
  m_UserList.DeleteAllRows();
  m_nUserCount = 0;
  const bool multi = MultiChannelDvr();
  for (const OnlineUserRow& r : OnlineUserRows(online, Device().productId, pal)) {
    const int row = m_UserList.AddRow(r.name);
    m_UserList.SetCell(row, 1, r.address);
    m_UserList.SetCell(row, 2, r.levelTextId ? page_controls::LoadText(r.levelTextId) : "");
    m_UserList.SetCell(row, 3, r.resolution);
    m_UserList.SetCell(row, 4, r.qualityTextId ? page_controls::LoadText(r.qualityTextId) : "");
    if (multi) m_UserList.SetCell(row, 5, r.channel);
    ++m_nUserCount;
  }
}

void COnlineUserPage::Load() {
  using page_controls::LoadText;
  const bool multi = MultiChannelDvr();
  m_UserList.AttachDlgItem(kList, m_hWnd);
  m_UserList.InsertColumn(0, LoadText(2100), 40);
  m_UserList.InsertColumn(1, LoadText(2101), 80);
  m_UserList.InsertColumn(2, LoadText(2102), multi ? 60 : 80);
  m_UserList.InsertColumn(3, LoadText(2111), multi ? 60 : 80);
  m_UserList.InsertColumn(4, LoadText(2112), multi ? 50 : 80);
  if (multi) m_UserList.InsertColumn(5, LoadText(8572), 40);
  ListUsers(Block(kSysCfgOnline));
}

void COnlineUserPage::OnRefresh() {
  // The family's resolution texts are used again after a refresh.
  std::vector<uint8_t> online(kOnlineSize, 0);
  if (GetSysCfgItem(kSysCfgOnline, online.data(), kOnlineSize) != 1) {
    OstMessageBoxId(kMsgGetConfigError);
    return;
  }
  std::span<uint8_t> copy = Block(kSysCfgOnline);
  std::copy_n(online.begin(), std::min(copy.size(), online.size()), copy.begin());
  ListUsers(online);
}
