// What the settings pages' edit filters make of a typed text: numbers kept to their digits and
// range, texts cut to their field.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// A typed number: empty or digit-less texts are left as they are (nullopt); otherwise the
// digits' number clamped to min..max, as decimal text. Numbers too long to read clamp to max.
std::optional<std::string> FilterNumberText(std::string_view typed, long min, long max);

// A typed text cut to maxChars characters; nullopt when it already fits.
std::optional<std::string> LimitFieldText(std::string_view typed, size_t maxChars);
