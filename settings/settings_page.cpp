#include "settings/settings_page.h"

#include "settings/settings_ids.h"

SettingsPage::SettingsPage(UINT templateId, std::string caption)
    : ost::PropertyPage(templateId, std::move(caption)) {}

SheetProgram& SettingsPage::Program() const {
  static SheetProgram none;
  return m_context.program ? *m_context.program : none;
}

BOOL SettingsPage::OnInitDialog() {
  ost::PropertyPage::OnInitDialog();
  Load();
  return TRUE;
}

PlaceholderPage::PlaceholderPage(std::string caption)
    : SettingsPage(kPlaceholderPageTemplate, std::move(caption)) {}

BOOL PlaceholderPage::OnInitDialog() {
  SetItemText(kPlaceholderText, Caption() + ": not available in this version.");
  return SettingsPage::OnInitDialog();
}
