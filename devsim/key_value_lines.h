// Walks a text of "name=value" lines (blank lines and '#' comments skipped, CR LF accepted).
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace devsim {

// Calls apply(name, value, &why) for each line; stops at the first line without '=' (error:
// "line N: " + formHint) or whose apply returns false (error: "line N: " + why).
bool ForEachKeyValueLine(
    std::string_view text, std::string_view formHint,
    const std::function<bool(std::string_view, std::string_view, std::string*)>& apply,
    std::string* error);

}  // namespace devsim
