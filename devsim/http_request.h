// Request head parsing for the simulator's HTTP core: one GET per connection, raw query text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace devsim {

struct QueryParam {
  std::string name;
  std::string value;
};

struct RequestHead {
  std::string method;
  std::string target;  // everything between the method and the last blank of the request line
  std::string version;
  std::string path;   // target up to the first '?'
  std::string query;  // target after the first '?', empty when there is none
  std::vector<QueryParam> params;
  std::optional<uint64_t> content_length;
  size_t head_size = 0;  // bytes up to and including the blank line
};

enum class HeadStatus { kIncomplete, kComplete, kInvalid };

struct HeadParse {
  HeadStatus status = HeadStatus::kIncomplete;
  RequestHead head;
  std::string error;  // why the head is invalid
};

inline constexpr size_t kMaxHeadBytes = 16 * 1024;
inline constexpr uint64_t kMaxBodyBytes = 16 * 1024 * 1024;

// Parses the bytes received so far.  Complete once CR LF CR LF has arrived; invalid when the head
// is malformed or longer than kMaxHeadBytes.
HeadParse ParseRequestHead(std::string_view received);

// Splits "a=1&b=2" into its pairs in order; a pair without '=' has an empty value.  Nothing is
// unescaped.
std::vector<QueryParam> SplitQuery(std::string_view query);

// The value of the first parameter with this exact name, or null.
const std::string* FindParam(const std::vector<QueryParam>& params, std::string_view name);
// A parameter's value as a decimal number from 0 to hi (at most three digits), else nothing.
std::optional<int> SmallDecimal(std::string_view text, int hi);

}  // namespace devsim
