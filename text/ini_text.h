// A private-profile (INI) text: sections of key=value lines, names matched without case.
#pragma once

#include <optional>
#include <string>
#include <vector>

class IniText {
 public:
  IniText() = default;
  explicit IniText(const std::string& text);

  // The value of key in section, blanks around it removed; nullopt when there is none.
  std::optional<std::string> Get(const std::string& section, const std::string& key) const;
  // Replaces the key's value, or adds the key at the end of its section, or the section (and
  // key) at the end of the text.
  void Set(const std::string& section, const std::string& key, const std::string& value);
  // The text with CR LF line ends.
  std::string ToString() const;

 private:
  // Line range [begin, end) of the section's body; nullopt when there is no such section.
  std::optional<std::pair<size_t, size_t>> FindSection(const std::string& section) const;
  std::optional<size_t> FindKey(size_t begin, size_t end, const std::string& key) const;

  std::vector<std::string> lines_;
};
