#include "net/cgi_param_list.h"

#include "net/cgi_command_table.h"

CGIParamList::CGIParamList(uint8_t nCmdId) : m_strQuery(CgiCommandPath(nCmdId)), m_nCmdId(nCmdId) {}

int CGIParamList::AddParam(std::string_view name, std::string_view value) {
  m_strQuery += m_wParamCount == 0 ? '?' : '&';
  m_strQuery += name;
  m_strQuery += '=';
  m_strQuery += value;
  ++m_wParamCount;
  return 1;
}

int CGIParamList::AddParamInt(std::string_view name, int32_t value) {
  return AddParam(name, std::to_string(value));
}

int CGIParamList::Reset() {
  m_strQuery = CgiCommandPath(m_nCmdId);
  m_wParamCount = 0;
  return 1;
}
