#include "tests/support/json_lines.h"

#include <cctype>
#include <cstdlib>

#include "tests/support/text_file.h"

namespace testsupport {
namespace {

class Parser {
 public:
  explicit Parser(std::string_view s) : s_(s) {}

  std::optional<Json> Document() {
    auto v = Value();
    Blanks();
    if (!v || pos_ != s_.size()) return std::nullopt;
    return v;
  }

 private:
  void Blanks() {
    while (pos_ < s_.size() &&
           (s_[pos_] == ' ' || s_[pos_] == '\n' || s_[pos_] == '\t' || s_[pos_] == '\r'))
      ++pos_;
  }
  bool Eat(char c) {
    Blanks();
    if (pos_ < s_.size() && s_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }
  bool Literal(std::string_view word) {
    if (s_.substr(pos_, word.size()) != word) return false;
    pos_ += word.size();
    return true;
  }

  std::optional<std::string> String() {
    if (!Eat('"')) return std::nullopt;
    std::string out;
    while (pos_ < s_.size()) {
      char c = s_[pos_++];
      if (c == '"') return out;
      if (static_cast<unsigned char>(c) < 0x20) return std::nullopt;
      if (c != '\\') {
        out += c;
        continue;
      }
      if (pos_ >= s_.size()) return std::nullopt;
      char e = s_[pos_++];
      switch (e) {
        case '"':
          out += '"';
          break;
        case '\\':
          out += '\\';
          break;
        case '/':
          out += '/';
          break;
        case 'n':
          out += '\n';
          break;
        case 'r':
          out += '\r';
          break;
        case 't':
          out += '\t';
          break;
        case 'b':
          out += '\b';
          break;
        case 'f':
          out += '\f';
          break;
        case 'u': {
          if (pos_ + 4 > s_.size()) return std::nullopt;
          std::string hex(s_.substr(pos_, 4));
          char* end = nullptr;
          long cp = std::strtol(hex.c_str(), &end, 16);
          if (end != hex.c_str() + 4 || cp > 0xFF) return std::nullopt;
          out += static_cast<char>(cp);
          pos_ += 4;
          break;
        }
        default:
          return std::nullopt;
      }
    }
    return std::nullopt;
  }

  std::optional<Json> Value() {
    Blanks();
    if (pos_ >= s_.size()) return std::nullopt;
    Json j;
    char c = s_[pos_];
    if (c == '{') {
      ++pos_;
      j.type = Json::Type::kObject;
      if (Eat('}')) return j;
      do {
        auto key = String();
        if (!key || !Eat(':')) return std::nullopt;
        auto v = Value();
        if (!v || j.fields.count(*key)) return std::nullopt;
        j.field_order.push_back(*key);
        j.fields[*key] = std::move(*v);
      } while (Eat(','));
      if (!Eat('}')) return std::nullopt;
    } else if (c == '[') {
      ++pos_;
      j.type = Json::Type::kArray;
      if (Eat(']')) return j;
      do {
        auto v = Value();
        if (!v) return std::nullopt;
        j.items.push_back(std::move(*v));
      } while (Eat(','));
      if (!Eat(']')) return std::nullopt;
    } else if (c == '"') {
      auto s = String();
      if (!s) return std::nullopt;
      j.type = Json::Type::kString;
      j.text = std::move(*s);
    } else if (Literal("true")) {
      j.type = Json::Type::kBool;
      j.boolean = true;
    } else if (Literal("false")) {
      j.type = Json::Type::kBool;
    } else if (Literal("null")) {
      j.type = Json::Type::kNull;
    } else {
      size_t start = pos_;
      while (pos_ < s_.size() &&
             (std::isdigit(static_cast<unsigned char>(s_[pos_])) || s_[pos_] == '-' ||
              s_[pos_] == '.' || s_[pos_] == 'e' || s_[pos_] == 'E' || s_[pos_] == '+'))
        ++pos_;
      if (start == pos_) return std::nullopt;
      std::string num(s_.substr(start, pos_ - start));
      char* end = nullptr;
      j.number = std::strtod(num.c_str(), &end);
      if (end != num.c_str() + num.size()) return std::nullopt;
      j.type = Json::Type::kNumber;
    }
    return j;
  }

  std::string_view s_;
  size_t pos_ = 0;
};

}  // namespace

const Json& Json::operator[](const std::string& key) const {
  static const Json kNull;
  auto it = fields.find(key);
  return it == fields.end() ? kNull : it->second;
}

std::optional<Json> ParseJson(std::string_view text) {
  return Parser(text).Document();
}

std::vector<Json> ReadJsonLines(const std::string& path, std::vector<std::string>* bad) {
  std::vector<Json> out;
  for (const std::string& line : ReadLines(path)) {
    if (auto j = ParseJson(line)) {
      out.push_back(std::move(*j));
    } else if (bad) {
      bad->push_back(line);
    }
  }
  return out;
}

}  // namespace testsupport
