#include "devsim/key_value_lines.h"

namespace devsim {

bool ForEachKeyValueLine(
    std::string_view text, std::string_view formHint,
    const std::function<bool(std::string_view, std::string_view, std::string*)>& apply,
    std::string* error) {
  size_t line_no = 0, pos = 0;
  while (pos < text.size()) {
    size_t eol = text.find('\n', pos);
    std::string_view line = text.substr(pos, eol == std::string_view::npos ? eol : eol - pos);
    pos = eol == std::string_view::npos ? text.size() : eol + 1;
    ++line_no;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    size_t eq = line.find('=');
    std::string why;
    if (eq == std::string_view::npos) {
      why = std::string(formHint);
    } else if (apply(line.substr(0, eq), line.substr(eq + 1), &why)) {
      continue;
    }
    *error = "line " + std::to_string(line_no) + ": " + why;
    return false;
  }
  return true;
}

}  // namespace devsim
