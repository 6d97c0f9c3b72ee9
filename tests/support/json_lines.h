// A small JSON reader for JSON-lines files such as devsim's request log (objects, arrays,
// strings, numbers, literals). Portable (no windows.h).
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace testsupport {

struct Json {
  enum class Type { kNull, kBool, kNumber, kString, kArray, kObject } type = Type::kNull;
  bool boolean = false;
  double number = 0;
  std::string text;  // strings: code points up to U+00FF as single bytes (Latin-1)
  std::vector<Json> items;
  std::map<std::string, Json> fields;
  std::vector<std::string> field_order;

  // The field, or a null value when there is none.
  const Json& operator[](const std::string& key) const;
  bool Has(const std::string& key) const { return fields.count(key) != 0; }
};

// Parses one complete JSON text; nullopt when it is not valid (or has a code point above U+00FF).
std::optional<Json> ParseJson(std::string_view text);

// The lines of a JSON-lines file that parse, in order. The others (an empty line, a line still
// being written) go to *bad when bad is given.
std::vector<Json> ReadJsonLines(const std::string& path, std::vector<std::string>* bad = nullptr);

}  // namespace testsupport
