#include "tools/date_time_fields.h"

#include <algorithm>
#include <cctype>

namespace {

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// The weekday of the fields, for texts.
DateFields WithWeekday(DateFields f) {
  DateFields full;
  if (DateValue::FromFields(f).BreakDown(full)) f.weekday = full.weekday;
  return f;
}

}  // namespace

DateTimeFields::DateTimeFields(bool showTime) : m_bShowTime(showTime) {
  ApplyLocale(DateTimeLocale{});
}

void DateTimeFields::ApplyLocale(const DateTimeLocale& locale) {
  m_dateSep = locale.dateSeparator;
  m_timeSep = locale.timeSeparator;
  const char order = locale.dateOrder.empty() ? '0' : locale.dateOrder[0];
  if (order == '1')
    m_types = {FIELD_DAY, FIELD_MONTH, FIELD_YEAR};
  else if (order == '2')
    m_types = {FIELD_YEAR, FIELD_MONTH, FIELD_DAY};
  else
    m_types = {FIELD_MONTH, FIELD_DAY, FIELD_YEAR};
  m_b24Hour = !locale.timeFormat.empty() && locale.timeFormat[0] == '1';
  if (m_bShowTime) {
    m_types.insert(m_types.end(), {FIELD_HOUR, FIELD_MINUTE, FIELD_SECOND});
    if (!m_b24Hour) m_types.push_back(FIELD_AMPM);
  }
  m_am = Upper(locale.am);
  m_pm = Upper(locale.pm);
  m_current = 0;
  m_pendingDigit = -1;
}

void DateTimeFields::SetCurrentField(int i) {
  m_current = i >= 0 && i < FieldCount() ? i : -1;
}

std::string DateTimeFields::FieldText(int i, const DateFields& value) const {
  if (i < 0 || i >= FieldCount()) return {};
  static const char* const kFormats[] = {"", "%d", "%B", "%Y", "%H", "%M", "%S", "%p"};
  const DateTimeFieldType t = FieldType(i);
  const char* format = t == FIELD_HOUR && !m_b24Hour ? "%I" : kFormats[t];
  return FormatDate(WithWeekday(value), format);
}

std::string DateTimeFields::SeparatorAfter(int i) const {
  if (i < 0 || i >= FieldCount()) return {};
  if (i + 1 < FieldCount()) {
    const DateTimeFieldType a = FieldType(i), b = FieldType(i + 1);
    if (IsDateField(a) && IsDateField(b)) return m_dateSep;
    if (IsTimeField(a) && IsTimeField(b)) return m_timeSep;
  }
  return " ";
}

std::string DateTimeFields::Text() const {
  std::string text;
  for (int i = 0; i < FieldCount(); ++i) text += FieldText(i) + SeparatorAfter(i);
  return text;
}

DateFields DateTimeFields::OutputValue() const {
  DateFields out = m_value;
  out.second = 0;
  if (!m_bShowTime) out.hour = out.minute = 0;
  return out;
}

DateTimeFields::Result DateTimeFields::Store(const DateFields& next, bool beepWhenSame) {
  if (next == m_value) return beepWhenSame ? Result::kBeep : Result::kNone;
  m_value = next;
  return Result::kChanged;
}

DateTimeFields::Result DateTimeFields::OnDigit(int d) {
  const int v = m_pendingDigit == -1 ? d : m_pendingDigit * 10 + d;
  DateFields next = m_value;
  const bool twelveHourEntry = CurrentType() == FIELD_HOUR && !m_b24Hour;
  switch (CurrentType()) {
    case FIELD_DAY:
      next.day = std::clamp(v, 1, GetDaysInMonth(next.month, next.year));
      break;
    case FIELD_YEAR:
      next.year = next.year / 100 * 100 + v;
      break;
    case FIELD_HOUR:
      if (m_b24Hour) {
        next.hour = std::min(v, 23);
      } else {
        const int h = v > 12 ? d : v;
        next.hour = h % 12 + (m_value.hour >= 12 ? 12 : 0);
      }
      break;
    case FIELD_MINUTE:
      next.minute = std::min(v, 59);
      break;
    case FIELD_SECOND:
      next.second = std::min(v, 59);
      break;
    default:
      return Result::kNone;
  }
  m_value = next;
  if (m_pendingDigit == -1) {
    // In the 12-hour field only a first 1 waits for a second digit (10, 11, 12).
    m_pendingDigit = twelveHourEntry && d != 1 ? -1 : d;
  } else {
    m_pendingDigit = -1;
    if (m_current != FieldCount() - 1) NextField();
  }
  return Result::kChanged;
}

DateTimeFields::Result DateTimeFields::OnLetter(char letter) {
  switch (CurrentType()) {
    case FIELD_MONTH:
      return OnMonthLetter(letter);
    case FIELD_AMPM:
      return OnAmPmLetter(letter);
    default:
      return Result::kBeep;
  }
}

DateTimeFields::Result DateTimeFields::OnMonthLetter(char letter) {
  const bool wasLast = m_value.day == GetDaysInMonth(m_value.month, m_value.year);
  for (int step = 1; step < 12; ++step) {
    const int month = (m_value.month - 1 + step) % 12 + 1;
    const std::string name = MonthName(month);
    if (name.size() > 1 && name[0] == letter) {
      DateFields next = m_value;
      next.month = month;
      const int length = GetDaysInMonth(month, next.year);
      next.day = wasLast ? length : std::min(next.day, length);
      next.second = 0;
      m_value = next;
      return Result::kChanged;
    }
  }
  return Result::kBeep;
}

DateTimeFields::Result DateTimeFields::OnAmPmLetter(char letter) {
  const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
  DateFields next = m_value;
  if (!m_pm.empty() && c == m_pm[0] && next.hour < 12) next.hour += 12;
  if (!m_am.empty() && c == m_am[0] && next.hour >= 12) next.hour -= 12;
  next.second = 0;
  return Store(next, false);
}

DateTimeFields::Result DateTimeFields::OnSpace() {
  return CurrentType() == FIELD_AMPM ? Step(1) : Result::kNone;
}

DateTimeFields::Result DateTimeFields::Step(int delta) {
  const bool wasLast = m_value.day == GetDaysInMonth(m_value.month, m_value.year);
  DateFields next = m_value;
  auto wrap = [](int v, int low, int high) { return v < low ? high : v > high ? low : v; };
  switch (CurrentType()) {
    case FIELD_DAY:
      next.day = wrap(next.day + delta, 1, GetDaysInMonth(next.month, next.year));
      break;
    case FIELD_MONTH: {
      next.month = wrap(next.month + delta, 1, 12);
      const int length = GetDaysInMonth(next.month, next.year);
      if (wasLast || next.day > length) next.day = length;
      break;
    }
    case FIELD_YEAR:
      next.year = std::clamp(next.year + delta, 2000, 2099);
      next.day = std::min(next.day, GetDaysInMonth(next.month, next.year));
      break;
    case FIELD_HOUR:
      next.hour = wrap(next.hour + delta, 0, 23);
      break;
    case FIELD_MINUTE:
      next.minute = wrap(next.minute + delta, 0, 59);
      break;
    case FIELD_SECOND:
      next.second = wrap(next.second + delta, 0, 59);
      break;
    case FIELD_AMPM:
      next.hour = next.hour < 12 ? next.hour + 12 : next.hour - 12;
      break;
    default:
      return Result::kNone;
  }
  return Store(next, true);
}

DateTimeFields::Result DateTimeFields::SetLimit(bool last) {
  DateFields next = m_value;
  switch (CurrentType()) {
    case FIELD_DAY:
      next.day = last ? GetDaysInMonth(next.month, next.year) : 1;
      break;
    case FIELD_MONTH:
      next.month = last ? 12 : 1;
      break;
    case FIELD_HOUR:
      next.hour = last ? 23 : 0;
      break;
    case FIELD_MINUTE:
      next.minute = last ? 59 : 0;
      break;
    case FIELD_SECOND:
      next.second = last ? 59 : 0;
      break;
    default:
      return Result::kNone;
  }
  if (CurrentType() != FIELD_SECOND) next.second = 0;
  return Store(next, false);
}

void DateTimeFields::PrevField() {
  if (m_current == -1 || FieldCount() == 0) return;
  m_current = m_current == 0 ? FieldCount() - 1 : m_current - 1;
}

void DateTimeFields::NextField() {
  if (m_current == -1 || FieldCount() == 0) return;
  m_current = m_current == FieldCount() - 1 ? 0 : m_current + 1;
}
