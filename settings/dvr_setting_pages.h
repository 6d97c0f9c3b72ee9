// The recorder's "Date", "Record Setting" and "Timer Record" pages (firmware "1058" or newer;
// otherwise every control is disabled and nothing is sent). Date and Record Setting fetch their
// values with query-key commands when the window is made and send their changes with the Set
// commands; Timer Record edits the seven ranges of DVRREC.
#pragma once

#include <array>
#include <string>

#include "settings/dvr_query_pages.h"
#include "settings/settings_page.h"

class DVRDatePage : public SettingsPage {
 public:
  DVRDatePage();
  void Load() override;
  bool Store(PageChanges& changes) override;
  bool Fetched() const { return m_bFetched; }

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void OnFormatChanged();
  DvrDatePageValues PageValues() const;

  DvrDateInfo m_DvrDate;
  uint8_t m_byDaylightSaving = 0;
  bool m_bFetched = false;
};

class DVRRecordPage : public SettingsPage {
 public:
  DVRRecordPage();
  void Load() override;
  bool Store(PageChanges& changes) override;
  bool Fetched() const { return m_bFetched; }

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void FillRates();
  void OnImageSize(uint8_t size);
  void SetYesNo(int yes, int no, uint8_t value);
  DvrRecordPageValues PageValues() const;

  DvrRecordInfo m_RecordSetting;
  uint8_t m_byRecMode = 0, m_byRecordFix = 0, m_byQuality = 0;
  bool m_bFetched = false;
};

class TimerRecordPage : public SettingsPage {
 public:
  TimerRecordPage();
  void Load() override;
  bool Store(PageChanges& changes) override;

 private:
  bool m_bEnabled = false;
  TimerRanges m_loaded{};
};
