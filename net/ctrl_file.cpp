#include "net/ctrl_file.h"

#include <algorithm>
#include <cstring>

namespace {

uint8_t HexDigit(char c) {
  if (c >= '0' && c <= '9') return static_cast<uint8_t>(c - '0');
  if (c >= 'A' && c <= 'F') return static_cast<uint8_t>(c - 'A' + 10);
  if (c >= 'a' && c <= 'f') return static_cast<uint8_t>(c - 'a' + 10);
  return 0;
}

char CharAt(std::string_view s, size_t i) {
  return i < s.size() ? s[i] : '\0';
}

// The leading decimal digits of a line (no sign), saturated well above any use.
uint32_t LeadingNumber(std::string_view line) {
  uint32_t n = 0;
  size_t i = 0;
  while (i < line.size() && line[i] == ' ') ++i;
  for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i) {
    n = std::min<uint32_t>(n * 10 + static_cast<uint32_t>(line[i] - '0'), 100000000);
  }
  return n;
}

int SectionOf(std::string_view line) {
  for (size_t i = 0; i < CtrlFileSection.size(); ++i) {
    if (CtrlFileSection[i] == line) return static_cast<int>(i);
  }
  return -1;
}

// Reads one file while it is being parsed.
class CtrlFileParser {
 public:
  CtrlFileParser(CtrlFileContents& contents, const std::function<void(uint32_t)>& message)
      : m_contents(contents), m_message(message) {}

  // false once the "END" line has been read.
  bool DataLine(std::string_view line) {
    switch (m_section) {
      case -1:
        Report(kMsgCommandNotSupported);
        return true;
      case kSectionDeviceNumber:
        DeviceNumber(line);
        return true;
      case kSectionDeviceName:
        DeviceName(line);
        return true;
      case kSectionEof:
        if (line == "END") {
          m_contents.reachedEnd = true;
          return false;
        }
        return true;
      default:
        break;
    }
    CtrlDeviceRecord* record = Current();
    if (!record) {
      Report(kMsgCommandNotSupported);
      return true;
    }
    if (m_section == kSectionParameter) {
      Parameter(*record, line);
    } else if (m_section == kSectionPower) {
      Command(*record, record->PowerScript, line);
    } else if (m_section == kSectionDisplay) {
      record->byDisplay = static_cast<uint8_t>(LeadingNumber(line));
    } else {
      Command(*record, record->KeyScript[m_section - kSectionFirstKey], line);
    }
    return true;
  }

  void Header(std::string_view line) { m_section = SectionOf(line); }

 private:
  void Report(uint32_t id) {
    if (m_message) m_message(id);
  }

  CtrlDeviceRecord* Current() {
    if (m_device < 0 || static_cast<size_t>(m_device) >= m_contents.records.size()) return nullptr;
    return &m_contents.records[m_device];
  }

  void DeviceNumber(std::string_view line) {
    const uint32_t n = LeadingNumber(line);
    // The record array is sized once; the scripts point at their records.
    if (m_counted || n > kCtrlFileMaxDevices) {
      Report(kMsgCommandNotSupported);
      return;
    }
    m_counted = true;
    m_contents.records.resize(n);
  }

  void DeviceName(std::string_view line) {
    if (static_cast<size_t>(m_device + 1) >= m_contents.records.size()) {
      Report(kMsgCommandNotSupported);  // more names than announced
      return;
    }
    ++m_device;
    CtrlDeviceRecord& r = m_contents.records[m_device];
    const size_t n = std::min(line.size(), sizeof r.szName - 1);
    std::memcpy(r.szName, line.data(), n);
    r.szName[n] = '\0';
  }

  void Parameter(CtrlDeviceRecord& record, std::string_view line) {
    const size_t percent = line.find('%');
    const char digit = CharAt(line, percent + 1);
    const size_t x = percent == std::string_view::npos ? percent : line.find('X', percent + 2);
    if (percent == std::string_view::npos || digit < '0' || digit > '9' ||
        x == std::string_view::npos) {
      Report(kMsgCommandNotSupported);
      return;
    }
    record.byParam[digit - '0'] = ParseHexPair(CharAt(line, x + 1), CharAt(line, x + 2));
  }

  void Command(const CtrlDeviceRecord& record, ControlCommandScript& script,
               std::string_view line) {
    if (ParseHexCommand(script, line) != HexCommandParse::kComplete)
      Report(kMsgPleaseInputServerCommand);
    script.lpRecord = &record;
  }

  CtrlFileContents& m_contents;
  const std::function<void(uint32_t)>& m_message;
  int m_section = -1;
  int m_device = -1;
  bool m_counted = false;
};

}  // namespace

uint8_t ParseHexPair(char high, char low) {
  return static_cast<uint8_t>((HexDigit(high) << 4) | HexDigit(low));
}

size_t ReadCtrlFileLine(std::string_view text, std::string& line) {
  line.clear();
  size_t i = 0;
  for (; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '\n') return i + 1;
    if (c < 0x20 || c > 0x7E || line.size() >= kCtrlFileLineMax) continue;
    line += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : static_cast<char>(c);
  }
  return i;
}

HexCommandParse ParseHexCommand(ControlCommandScript& script, std::string_view line) {
  script.byCount = 0;
  script.lpBytes.clear();
  script.marks.clear();
  size_t x = line.find('X');
  if (x == std::string_view::npos) return HexCommandParse::kMissingFields;
  const uint8_t n = ParseHexPair(CharAt(line, x + 1), CharAt(line, x + 2));
  script.byCount = n;
  script.lpBytes.assign(n, 0);
  script.marks.assign(n, 0);
  size_t from = x + 3;
  for (uint8_t i = 0; i < n; ++i) {
    x = from < line.size() ? line.find('X', from) : std::string_view::npos;
    if (x == std::string_view::npos) return HexCommandParse::kMissingFields;
    const char first = CharAt(line, x + 1);
    script.marks[i] = first == '%' ? 1 : 0;
    script.lpBytes[i] = ParseHexPair(first, CharAt(line, x + 2));
    from = x + 3;
  }
  return HexCommandParse::kComplete;
}

void ParseCtrlFileText(std::string_view text, CtrlFileContents& contents,
                       const std::function<void(uint32_t)>& message) {
  CtrlFileParser parser(contents, message);
  std::string line;
  line.reserve(kCtrlFileLineMax);
  while (!text.empty()) {
    text.remove_prefix(ReadCtrlFileLine(text, line));
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      parser.Header(line);
    } else if (!parser.DataLine(line)) {
      return;
    }
  }
}

std::array<const CtrlDeviceRecord*, kModelRowCount> MapProtocolsToDevices(
    const std::vector<CtrlDeviceRecord>& records) {
  std::array<const CtrlDeviceRecord*, kModelRowCount> links{};
  for (int row = 0; row < kModelRowCount; ++row) {
    for (const CtrlDeviceRecord& r : records) {
      if (ModelRowNames[row] == r.szName) {
        links[row] = &r;
        break;
      }
    }
  }
  return links;
}
