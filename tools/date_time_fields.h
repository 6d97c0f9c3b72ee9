// The field logic of the date-time editor, without a window: the fields in the locale's order
// with their separators, the current field, two-digit entry, letters for the month and the
// half-day, stepping with wrap and carry, first and last values.  Every edit keeps the value a
// real date and time.
#pragma once

#include <string>
#include <vector>

#include "tools/date_value.h"

enum DateTimeFieldType {
  FIELD_NONE = 0,
  FIELD_DAY = 1,
  FIELD_MONTH = 2,
  FIELD_YEAR = 3,
  FIELD_HOUR = 4,
  FIELD_MINUTE = 5,
  FIELD_SECOND = 6,
  FIELD_AMPM = 7,
};

// The user's regional settings, as read as texts.
struct DateTimeLocale {
  std::string dateSeparator = "/";  // LOCALE_SDATE
  std::string timeSeparator = ":";  // LOCALE_STIME
  std::string dateOrder = "0";      // LOCALE_IDATE: "0" M/D/Y, "1" D/M/Y, "2" Y/M/D
  std::string timeFormat = "0";     // LOCALE_ITIME: "1" 24-hour
  std::string am = "AM";            // LOCALE_S1159
  std::string pm = "PM";            // LOCALE_S2359
};

class DateTimeFields {
 public:
  // What an input did: changed the value, was refused with a beep, or did nothing.
  enum class Result { kChanged, kBeep, kNone };

  explicit DateTimeFields(bool showTime = true);

  // Reads the order, separators, 12/24-hour mode and half-day letters; the first field becomes
  // current.
  void ApplyLocale(const DateTimeLocale& locale);

  int FieldCount() const { return static_cast<int>(m_types.size()); }
  DateTimeFieldType FieldType(int i) const { return m_types[static_cast<size_t>(i)]; }
  int CurrentField() const { return m_current; }
  DateTimeFieldType CurrentType() const {
    return m_current >= 0 && m_current < FieldCount() ? FieldType(m_current) : FIELD_NONE;
  }
  void SetCurrentField(int i);  // -1: none
  bool Is24Hour() const { return m_b24Hour; }
  bool ShowsTime() const { return m_bShowTime; }

  // The text of field i for these fields, and the separator after it.
  std::string FieldText(int i, const DateFields& value) const;
  std::string FieldText(int i) const { return FieldText(i, m_value); }
  std::string SeparatorAfter(int i) const;
  // Fields and separators in a row.
  std::string Text() const;

  const DateFields& Value() const { return m_value; }
  // Any representable date; no clamping.
  void SetValue(const DateFields& value) { m_value = value; }
  // The value handed out: seconds 0, and the time 00:00 without time fields.
  DateFields OutputValue() const;

  Result OnDigit(int digit);
  Result OnLetter(char letter);  // upper-case letter keys
  Result OnSpace();
  Result Step(int delta);
  Result SetLimit(bool last);
  void PrevField();
  void NextField();
  // Drops a first digit waiting for its second (other keys, a click, loss of focus).
  void DropPendingDigit() { m_pendingDigit = -1; }
  int PendingDigit() const { return m_pendingDigit; }

 private:
  Result Store(const DateFields& next, bool beepWhenSame);
  Result OnMonthLetter(char letter);
  Result OnAmPmLetter(char letter);
  static bool IsDateField(DateTimeFieldType t) {
    return t == FIELD_DAY || t == FIELD_MONTH || t == FIELD_YEAR;
  }
  static bool IsTimeField(DateTimeFieldType t) {
    return t == FIELD_HOUR || t == FIELD_MINUTE || t == FIELD_SECOND;
  }

  bool m_bShowTime;
  bool m_b24Hour = false;
  std::vector<DateTimeFieldType> m_types;
  std::string m_dateSep, m_timeSep, m_am, m_pm;
  int m_current = 0;
  int m_pendingDigit = -1;
  DateFields m_value;
};
