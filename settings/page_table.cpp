#include "settings/page_table.h"

#include "settings/network_backup_page.h"
#include "settings/network_page.h"
#include "settings/search_list_page.h"
#include "settings/settings_page.h"

namespace {

template <class Page>
std::unique_ptr<SettingsPage> Make() {
  return std::make_unique<Page>();
}

// In tree order. Add a page: replace its nullptr with &Make<YourPage>.
constexpr SettingsPageRow kPages[] = {
    {"Network", &Make<NetworkConfigPage>},
    {"DDNS", nullptr},
    {"Mail", nullptr},
    {"FTP", nullptr},
    {"Server Time Config", nullptr},
    {"DVR", nullptr},
    {"Device", nullptr},
    {"Detection", nullptr},
    {"Network Backup", &Make<DownloadFilePage>},
    {"Search List", &Make<CEventPage>},
    {"Timer Record", nullptr},
    {"Date", nullptr},
    {"Record Setting", nullptr},
    {"Alarm", nullptr},
    {"Alarm List", nullptr},
    {"General", nullptr},
    {"Account", nullptr},
    {"Peripheral", nullptr},
    {"Online User Info", nullptr},
    {"File Path", nullptr},
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
