// Key=value replies read item by item: "KEY=value;" items one after the other, each key matched
// whole (so "DAY" never matches inside "DAYLIGHTSAVING"). The first item of a key wins; an item
// without its ";" at the end of the reply is not read.
#pragma once

#include <optional>
#include <string_view>

// The value of the first item whose key is exactly key. Blanks and line breaks around a key are
// ignored; an item without "=" is skipped.
std::optional<std::string_view> KeyValueItem(std::string_view reply, std::string_view key);

// The item's value read as a decimal number the way the device's other replies are read (leading
// blanks, a sign, digits up to the first other character).
std::optional<int> KeyValueItemNumber(std::string_view reply, std::string_view key);
