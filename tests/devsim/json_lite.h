// A small JSON reader for the request log lines (objects, arrays, strings, numbers, literals).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace devsim_test {

struct Json {
  enum class Type { kNull, kBool, kNumber, kString, kArray, kObject } type = Type::kNull;
  bool boolean = false;
  double number = 0;
  std::string text;  // strings: code points up to U+00FF as single bytes (Latin-1)
  std::vector<Json> items;
  std::map<std::string, Json> fields;
  std::vector<std::string> field_order;

  const Json& operator[](const std::string& key) const;
  bool Has(const std::string& key) const { return fields.count(key) != 0; }
};

// Parses one complete JSON text; nullopt when it is not valid (or has a code point above U+00FF).
std::optional<Json> ParseJson(std::string_view text);

}  // namespace devsim_test
