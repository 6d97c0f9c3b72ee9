#include "settings/channel_list_page.h"

#include <commctrl.h>

#include <cstdio>

#include "platform/message_box.h"
#include "settings/settings_ids.h"
#include "settings/sheet_rules.h"

ChannelListPage::ChannelListPage(UINT templateId, std::string caption, int listId, int editId)
    : SettingsPage(templateId, std::move(caption)), m_listId(listId), m_editId(editId) {
  MapCommand(m_editId, [this] { OnEdit(false); });
  MapMessage(WM_NOTIFY, [this](WPARAM, LPARAM lp) -> LRESULT {
    const auto* header = reinterpret_cast<const NMHDR*>(lp);
    if (header != nullptr && header->idFrom == static_cast<UINT_PTR>(m_listId) &&
        header->code == NM_DBLCLK) {
      OnEdit(true);
    }
    return 0;
  });
}

int ChannelListPage::ChannelCount() const {
  return ChannelRowsOf(Device().productId);
}

void ChannelListPage::Load() {
  LoadChannels();
  if (!m_list.AttachDlgItem(m_listId, m_hWnd)) return;
  m_list.InsertColumn(0, "NO.", 40);
  int column = 1;
  for (const Column& c : Columns()) m_list.InsertColumn(column++, c.title, c.width);
  for (int channel = 0; channel < ChannelCount(); ++channel) {
    char number[8];
    std::snprintf(number, sizeof number, "%2d", channel + 1);
    m_list.AddRow(number);
    RefreshRow(channel);
  }
  UpdateData(false);
}

void ChannelListPage::RefreshRow(int channel) {
  int column = 1;
  for (const std::string& text : RowTexts(channel)) m_list.SetCell(channel, column++, text);
}

void ChannelListPage::OnEdit(bool fromDoubleClick) {
  const int row = m_list.SelectedRow();
  if (row < 0 || row >= ChannelCount()) {
    if (!fromDoubleClick) OstMessageBoxId(kMsgNoItemToEdit);
    return;
  }
  if (!EditChannel(row)) return;
  m_bChanged = true;
  RefreshRow(row);
  UpdateData(false);
}
