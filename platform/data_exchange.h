// Dialog data exchange: moves values between a dialog's members and its controls.
// Loading (save == false) writes the members into the controls; saving reads the controls back
// and validates them.  The first value that fails validation stops the exchange: the control
// gets the focus and UpdateData returns false.  No message is shown.
#ifndef OSTROVA_PLATFORM_DATA_EXCHANGE_H
#define OSTROVA_PLATFORM_DATA_EXCHANGE_H

#include <windows.h>

#include <concepts>
#include <cstdint>
#include <limits>
#include <string>
#include <type_traits>

namespace ost {

class DataExchange {
 public:
  DataExchange(HWND dialog, bool save) : m_dialog(dialog), m_save(save) {}

  bool IsSaving() const { return m_save; }
  bool Failed() const { return m_failedControl != nullptr; }
  HWND FailedControl() const { return m_failedControl; }

  // An edit control's text.  With maxChars > 0 the control is limited to that many characters
  // and a longer text fails to save.
  void Text(int id, std::string& value, size_t maxChars = 0);
  // An edit control's text as a decimal integer; saving fails for a text that is not a number
  // or does not fit the type.
  template <std::integral T>
  void Text(int id, T& value) {
    if (std::is_signed_v<T>) {
      int64_t v = static_cast<int64_t>(value);
      if (ExchangeSigned(id, v, std::numeric_limits<T>::min(), std::numeric_limits<T>::max())) {
        value = static_cast<T>(v);
      }
    } else {
      uint64_t v = static_cast<uint64_t>(value);
      if (ExchangeUnsigned(id, v, std::numeric_limits<T>::max())) {
        value = static_cast<T>(v);
      }
    }
  }
  // A check box or radio button: 0 unchecked, 1 checked, 2 indeterminate.
  void Check(int id, int& value);
  // A combo box's selected index (-1: none).
  void ComboIndex(int id, int& value);
  // A group of radio buttons firstId..lastId: the index of the checked one (-1: none).  Loading
  // checks the button at the index and unchecks the others.
  void Radio(int firstId, int lastId, int& value);
  // An IP address control: the address with its first octet in the top byte.
  void IpAddress(int id, uint32_t& value);
  // An edit control's decimal number in min..max; a failed save also keeps the prompt that
  // names the range (RangePrompt).
  void Number(int id, int& value, int min, int max);
  const std::string& RangePrompt() const { return m_prompt; }

 private:
  HWND Control(int id);
  void Fail(HWND control);
  bool ExchangeSigned(int id, int64_t& value, int64_t min, int64_t max);
  bool ExchangeUnsigned(int id, uint64_t& value, uint64_t max);

  HWND m_dialog;
  bool m_save;
  HWND m_failedControl = nullptr;
  std::string m_prompt;
};

}  // namespace ost

#endif  // OSTROVA_PLATFORM_DATA_EXCHANGE_H
