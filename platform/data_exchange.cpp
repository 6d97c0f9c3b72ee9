#include "platform/data_exchange.h"

#include <cerrno>
#include <cstdlib>

#include <commctrl.h>

#include "platform/wnd.h"

namespace ost {
namespace {

// Surrounding blanks are ignored, as in a typed number.
std::string Trimmed(const std::string& text) {
  const char* blanks = " \t\r\n";
  size_t first = text.find_first_not_of(blanks);
  if (first == std::string::npos) return {};
  size_t last = text.find_last_not_of(blanks);
  return text.substr(first, last - first + 1);
}

}  // namespace

HWND DataExchange::Control(int id) {
  if (Failed()) return nullptr;
  return ::GetDlgItem(m_dialog, id);
}

void DataExchange::Fail(HWND control) {
  m_failedControl = control;
  ::SetFocus(control);
  if (::SendMessageA(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) {
    ::SendMessageA(control, EM_SETSEL, 0, -1);
  }
}

void DataExchange::Text(int id, std::string& value, size_t maxChars) {
  HWND control = Control(id);
  if (control == nullptr) return;
  if (!m_save) {
    if (maxChars > 0) ::SendMessageA(control, EM_SETLIMITTEXT, maxChars, 0);
    SetWindowTextIfChanged(control, value);
    return;
  }
  std::string text = WindowText(control);
  if (maxChars > 0 && text.size() > maxChars) {
    Fail(control);
    return;
  }
  value = std::move(text);
}

bool DataExchange::ExchangeSigned(int id, int64_t& value, int64_t min, int64_t max) {
  HWND control = Control(id);
  if (control == nullptr) return false;
  if (!m_save) {
    SetWindowTextIfChanged(control, std::to_string(value));
    return false;
  }
  std::string text = Trimmed(WindowText(control));
  char* end = nullptr;
  errno = 0;
  long long parsed = std::strtoll(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || errno == ERANGE || parsed < min || parsed > max) {
    Fail(control);
    return false;
  }
  value = parsed;
  return true;
}

bool DataExchange::ExchangeUnsigned(int id, uint64_t& value, uint64_t max) {
  HWND control = Control(id);
  if (control == nullptr) return false;
  if (!m_save) {
    SetWindowTextIfChanged(control, std::to_string(value));
    return false;
  }
  std::string text = Trimmed(WindowText(control));
  char* end = nullptr;
  errno = 0;
  unsigned long long parsed = std::strtoull(text.c_str(), &end, 10);
  // strtoull accepts a minus sign and wraps; a negative number is no unsigned value.
  if (text.empty() || text[0] == '-' || *end != '\0' || errno == ERANGE || parsed > max) {
    Fail(control);
    return false;
  }
  value = parsed;
  return true;
}

void DataExchange::Check(int id, int& value) {
  HWND control = Control(id);
  if (control == nullptr) return;
  if (m_save) {
    value = static_cast<int>(::SendMessageA(control, BM_GETCHECK, 0, 0));
  } else {
    ::SendMessageA(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
  }
}

void DataExchange::ComboIndex(int id, int& value) {
  HWND control = Control(id);
  if (control == nullptr) return;
  if (m_save) {
    value = static_cast<int>(::SendMessageA(control, CB_GETCURSEL, 0, 0));
  } else {
    ::SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(value), 0);
  }
}

void DataExchange::Radio(int firstId, int lastId, int& value) {
  if (Failed()) return;
  if (m_save) {
    value = -1;
    for (int id = firstId; id <= lastId; ++id) {
      HWND button = ::GetDlgItem(m_dialog, id);
      if (button != nullptr && ::SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED) {
        value = id - firstId;
        return;
      }
    }
    return;
  }
  for (int id = firstId; id <= lastId; ++id) {
    if (HWND button = ::GetDlgItem(m_dialog, id)) {
      ::SendMessageA(button, BM_SETCHECK, id - firstId == value ? BST_CHECKED : BST_UNCHECKED, 0);
    }
  }
}

void DataExchange::IpAddress(int id, uint32_t& value) {
  HWND control = Control(id);
  if (control == nullptr) return;
  if (m_save) {
    DWORD address = 0;
    ::SendMessageA(control, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&address));
    value = address;
  } else {
    ::SendMessageA(control, IPM_SETADDRESS, 0, static_cast<LPARAM>(value));
  }
}

void DataExchange::Number(int id, int& value, int min, int max) {
  int64_t v = value;
  if (!ExchangeSigned(id, v, min, max)) {
    if (m_save && Failed()) {
      m_prompt = "Please enter an integer between " + std::to_string(min) + " and " +
                 std::to_string(max) + ".";
    }
    return;
  }
  value = static_cast<int>(v);
}

}  // namespace ost
