// The base of the per-channel list pages: one report-list row per video channel of the DVR,
// edited row by row through a small modal dialog; the page keeps the channel values in arrays
// of its own and a changed flag that only an edit sets.
#pragma once

#include <windows.h>

#include <array>
#include <bitset>
#include <cstddef>
#include <string>
#include <vector>

#include "settings/settings_page.h"

class ChannelListPage : public SettingsPage {
 public:
  // listId: the report list; editId: the "Edit" button.
  ChannelListPage(UINT templateId, std::string caption, int listId, int editId);

  // Rows shown: 16 for RZ1K, 8 for RZ3K, 4 for RZ4K.
  int ChannelCount() const;
  bool Changed() const { return m_bChanged; }

 protected:
  struct Column {
    std::string title;
    int width;
  };
  // The columns after "NO." (40 pixels).
  virtual std::vector<Column> Columns() const = 0;
  // The texts of a channel's row after its number.
  virtual std::vector<std::string> RowTexts(int channel) const = 0;
  // Fills the page's arrays from the block copies for the rows shown.
  virtual void LoadChannels() = 0;
  // Runs the channel's edit dialog (through RunModal) and stores what differs into the arrays;
  // true when a value changed.
  virtual bool EditChannel(int channel) = 0;

  // Loads the arrays, makes the columns and one row per channel.
  void Load() override;
  // Rewrites the texts of one row.
  void RefreshRow(int channel);
  ost::ListView& List() { return m_list; }

 private:
  void OnEdit(bool fromDoubleClick);

  int m_listId;
  int m_editId;
  ost::ListView m_list;
  bool m_bChanged = false;
};

// A per-channel list page whose channel values are rows of one type. A page is this template
// over its row type (see dvr_list_pages.h); its .cpp defines the constructor and the five
// members for that type.
template <class Row>
class ChannelRowsPage : public ChannelListPage {
 public:
  static constexpr size_t kMaxRows = 16;

  ChannelRowsPage();
  bool Store(PageChanges& changes) override;

 protected:
  std::vector<Column> Columns() const override;
  std::vector<std::string> RowTexts(int channel) const override;
  void LoadChannels() override;
  bool EditChannel(int channel) override;

  Row& RowOf(int channel) { return m_rows[static_cast<size_t>(channel)]; }
  const Row& RowOf(int channel) const { return m_rows[static_cast<size_t>(channel)]; }
  // The blocks edits wrote into the copies; Store lists those of them the page sends.
  void Mark(uint8_t option) { m_marked.set(option); }
  bool Marked(uint8_t option) const { return m_marked.test(option); }

 private:
  std::array<Row, kMaxRows> m_rows{};
  std::bitset<kSysCfgAll> m_marked;
};
