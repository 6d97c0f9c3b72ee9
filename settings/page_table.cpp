#include "settings/page_table.h"

#include "settings/account_page.h"
#include "settings/alarm_list_page.h"
#include "settings/alarm_page.h"
#include "settings/ddns_page.h"
#include "settings/dvr_list_pages.h"
#include "settings/dvr_setting_pages.h"
#include "settings/ftp_page.h"
#include "settings/general_page.h"
#include "settings/local_paths_page.h"
#include "settings/mail_page.h"
#include "settings/network_backup_page.h"
#include "settings/network_page.h"
#include "settings/online_users_page.h"
#include "settings/peripheral_page.h"
#include "settings/search_list_page.h"
#include "settings/time_server_page.h"
#include "settings/settings_page.h"

namespace {

template <class Page>
std::unique_ptr<SettingsPage> Make() {
  return std::make_unique<Page>();
}

// In tree order. Add a page: replace its nullptr with &Make<YourPage>.
constexpr SettingsPageRow kPages[] = {
    {"Network", &Make<NetworkConfigPage>},
    {"DDNS", &Make<CDNSPage>},
    {"Mail", &Make<MailPropertyPage>},
    {"FTP", &Make<FTPPropertyPage>},
    {"Server Time Config", &Make<CSNTPPage>},
    {"DVR", &Make<CameraPage>},
    {"Device", &Make<DevicePage>},
    {"Detection", &Make<DetectionPage>},
    {"Network Backup", &Make<DownloadFilePage>},
    {"Search List", &Make<CEventPage>},
    {"Timer Record", &Make<TimerRecordPage>},
    {"Date", &Make<DVRDatePage>},
    {"Record Setting", &Make<DVRRecordPage>},
    {"Alarm", &Make<AlarmPropertyPage>},
    {"Alarm List", &Make<AlarmDataPage>},
    {"General", &Make<ToolBoxPropertyPage>},
    {"Account", &Make<AccountPropertyPage>},
    {"Peripheral", &Make<CPeripheralPage>},
    {"Online User Info", &Make<COnlineUserPage>},
    {"File Path", &Make<RecordPage>},
};

}  // namespace

std::span<const SettingsPageRow> SettingsPageTable() {
  return kPages;
}

std::unique_ptr<SettingsPage> MakeSettingsPage(const std::string& caption) {
  for (const SettingsPageRow& row : kPages) {
    if (caption == row.caption && row.make != nullptr) return row.make();
  }
  return std::make_unique<PlaceholderPage>(caption);
}
