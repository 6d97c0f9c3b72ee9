// Custom formats of date-time pickers: the three-letter month field widened to the whole name.
#pragma once

#include <string>
#include <string_view>

// The format with each "MMM" field (exactly three M's, outside quoted literals) made "MMMM".
std::string WholeMonthFormat(std::string_view format);
