// Builds the text that follows "GET " in a device request: the command's path and its query.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class CGIParamList {
 public:
  explicit CGIParamList(uint8_t nCmdId);

  // Appends "?name=value" for the first parameter and "&name=value" after it. Nothing is escaped.
  // Both return 1.
  int AddParam(std::string_view name, std::string_view value);
  int AddParamInt(std::string_view name, int32_t value);
  // Back to the bare path; the next parameter is introduced by "?" again. Returns 1.
  int Reset();
  int32_t GetLength() const { return static_cast<int32_t>(m_strQuery.size()); }
  // Valid until the next change, Reset or destruction.
  const char* GetBuffer() const { return m_strQuery.c_str(); }

  std::string m_strQuery;
  uint16_t m_wParamCount = 0;
  uint8_t m_nCmdId;
};
