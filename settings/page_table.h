// The one table of the settings sheet's pages: each caption a family can show, with the
// function that makes its page. A page's author adds it with one line here; a caption without
// a maker gets a placeholder page.
#pragma once

#include <memory>
#include <span>
#include <string>

class SettingsPage;

using SettingsPageMaker = std::unique_ptr<SettingsPage> (*)();

struct SettingsPageRow {
  const char* caption;
  SettingsPageMaker make;  // null: not built yet
};

std::span<const SettingsPageRow> SettingsPageTable();

// The page for the caption: made by its row's maker, else a placeholder.
std::unique_ptr<SettingsPage> MakeSettingsPage(const std::string& caption);
