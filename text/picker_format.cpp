#include "text/picker_format.h"

std::string WholeMonthFormat(std::string_view format) {
  std::string out;
  out.reserve(format.size() + 4);
  bool literal = false;
  for (size_t i = 0; i < format.size();) {
    const char c = format[i];
    if (c == '\'') {
      literal = !literal;
      out += c;
      ++i;
      continue;
    }
    if (literal || c != 'M') {
      out += c;
      ++i;
      continue;
    }
    size_t run = 0;
    while (i + run < format.size() && format[i + run] == 'M') ++run;
    out.append(run == 3 ? 4 : run, 'M');
    i += run;
  }
  return out;
}
