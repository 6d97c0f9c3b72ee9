// The "Online User Info" page: who is logged in to the device (ONLINE block), fetched again
// with "Info Refresh".
#pragma once

#include <windows.h>

#include "platform/property_page.h"
#include "settings/settings_page.h"

class COnlineUserPage : public SettingsPage {
 public:
  static constexpr int kList = 1349, kRefresh = 1311;

  COnlineUserPage();

  void Load() override;

  uint16_t m_nUserCount = 0;

 private:
  void ListUsers(std::span<const uint8_t> online);
  void OnRefresh();
  bool MultiChannelDvr() const;

  ost::ListView m_UserList;
};
