#include "text/ini_text.h"

#include <algorithm>

namespace {
std::string Trim(const std::string& s) {
  const size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return std::string();
  const size_t e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

bool EqualNoCase(const std::string& a, const std::string& b) {
  auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [&](char x, char y) { return lower(x) == lower(y); });
}

// The section name of a "[name]" line, or nullopt for any other line.
std::optional<std::string> SectionName(const std::string& line) {
  const std::string t = Trim(line);
  if (t.size() < 2 || t.front() != '[') return std::nullopt;
  const size_t close = t.find(']');
  if (close == std::string::npos) return std::nullopt;
  return Trim(t.substr(1, close - 1));
}
}  // namespace

IniText::IniText(const std::string& text) {
  size_t pos = 0;
  while (pos < text.size()) {
    size_t lf = text.find('\n', pos);
    if (lf == std::string::npos) lf = text.size();
    std::string line = text.substr(pos, lf - pos);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines_.push_back(std::move(line));
    pos = lf + 1;
  }
}

std::optional<std::pair<size_t, size_t>> IniText::FindSection(const std::string& section) const {
  for (size_t i = 0; i < lines_.size(); ++i) {
    const auto name = SectionName(lines_[i]);
    if (!name || !EqualNoCase(*name, section)) continue;
    size_t end = i + 1;
    while (end < lines_.size() && !SectionName(lines_[end])) ++end;
    return std::make_pair(i + 1, end);
  }
  return std::nullopt;
}

std::optional<size_t> IniText::FindKey(size_t begin, size_t end, const std::string& key) const {
  for (size_t i = begin; i < end; ++i) {
    const std::string& line = lines_[i];
    const size_t eq = line.find('=');
    if (eq == std::string::npos || Trim(line).starts_with(';')) continue;
    if (EqualNoCase(Trim(line.substr(0, eq)), key)) return i;
  }
  return std::nullopt;
}

std::optional<std::string> IniText::Get(const std::string& section, const std::string& key) const {
  const auto range = FindSection(section);
  if (!range) return std::nullopt;
  const auto line = FindKey(range->first, range->second, key);
  if (!line) return std::nullopt;
  const std::string& text = lines_[*line];
  return Trim(text.substr(text.find('=') + 1));
}

void IniText::Set(const std::string& section, const std::string& key, const std::string& value) {
  const std::string entry = key + "=" + value;
  const auto range = FindSection(section);
  if (!range) {
    lines_.push_back("[" + section + "]");
    lines_.push_back(entry);
    return;
  }
  if (const auto line = FindKey(range->first, range->second, key)) {
    lines_[*line] = entry;
    return;
  }
  size_t at = range->second;
  while (at > range->first && Trim(lines_[at - 1]).empty()) --at;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), entry);
}

std::string IniText::ToString() const {
  std::string text;
  for (const std::string& line : lines_) text += line + "\r\n";
  return text;
}
