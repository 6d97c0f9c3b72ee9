// The date-time editor's fields driven without a window: layout by locale, digit entry,
// letters, stepping with wrap and carry, first and last values, field moves.
#include "tools/date_time_fields.h"

#include <gtest/gtest.h>

namespace {

using R = DateTimeFields::Result;

DateTimeLocale MdyTwelveHour() {
  return DateTimeLocale{"/", ":", "0", "0", "am", "pm"};
}
DateTimeLocale DmyTwentyFour() {
  return DateTimeLocale{".", ":", "1", "1", "", ""};
}

// Fields on `value`, with `type` current.
DateTimeFields At(DateFields value, DateTimeFieldType type,
                  DateTimeLocale locale = MdyTwelveHour()) {
  DateTimeFields f;
  f.ApplyLocale(locale);
  f.SetValue(value);
  for (int i = 0; i < f.FieldCount(); ++i)
    if (f.FieldType(i) == type) f.SetCurrentField(i);
  return f;
}

TEST(DateTimeFields, LayoutFollowsTheLocale) {
  DateTimeFields f;
  f.ApplyLocale(MdyTwelveHour());
  f.SetValue({2006, 1, 5, 13, 7, 9});
  EXPECT_EQ(f.FieldCount(), 7);
  EXPECT_EQ(f.Text(), "January/05/2006 01:07:09 PM ");
  EXPECT_EQ(f.CurrentType(), FIELD_MONTH);

  f.ApplyLocale(DmyTwentyFour());
  EXPECT_EQ(f.FieldCount(), 6);
  EXPECT_EQ(f.Text(), "05.January.2006 13:07:09 ");
  EXPECT_EQ(f.CurrentType(), FIELD_DAY);

  f.ApplyLocale(DateTimeLocale{"-", "", "2", "1", "", ""});
  EXPECT_EQ(f.Text(), "2006-January-05 130709 ");

  DateTimeFields dateOnly(false);
  dateOnly.ApplyLocale(MdyTwelveHour());
  dateOnly.SetValue({2006, 1, 5, 13, 7, 9});
  EXPECT_EQ(dateOnly.FieldCount(), 3);
  const DateFields out = dateOnly.OutputValue();
  EXPECT_EQ(out, (DateFields{2006, 1, 5, 0, 0, 0}));
}

struct DigitCase {
  const char* name;
  DateFields start;
  DateTimeFieldType field;
  DateTimeLocale locale;
  std::vector<int> digits;
  DateFields expected;
  bool movedOn;  // the next field is current afterwards
};

TEST(DateTimeFields, DigitEntry) {
  const DigitCase cases[] = {
      {"day 0 5",
       {2006, 1, 20, 10, 0, 0},
       FIELD_DAY,
       MdyTwelveHour(),
       {0, 5},
       {2006, 1, 5, 10, 0, 0},
       true},
      {"day 3 1 in February",
       {2006, 2, 10, 10, 0, 0},
       FIELD_DAY,
       MdyTwelveHour(),
       {3, 1},
       {2006, 2, 28, 10, 0, 0},
       true},
      {"day 3 1 in a leap February",
       {2004, 2, 10, 10, 0, 0},
       FIELD_DAY,
       MdyTwelveHour(),
       {3, 1},
       {2004, 2, 29, 10, 0, 0},
       true},
      {"day 4 5 in April",
       {2006, 4, 10, 10, 0, 0},
       FIELD_DAY,
       MdyTwelveHour(),
       {4, 5},
       {2006, 4, 30, 10, 0, 0},
       true},
      {"year 9",
       {2006, 4, 10, 10, 0, 0},
       FIELD_YEAR,
       MdyTwelveHour(),
       {9},
       {2009, 4, 10, 10, 0, 0},
       false},
      {"year 9 8",
       {2006, 4, 10, 10, 0, 0},
       FIELD_YEAR,
       MdyTwelveHour(),
       {9, 8},
       {2098, 4, 10, 10, 0, 0},
       true},
      {"24-hour 2 7",
       {2006, 4, 10, 10, 0, 0},
       FIELD_HOUR,
       DmyTwentyFour(),
       {2, 7},
       {2006, 4, 10, 23, 0, 0},
       true},
      {"12-hour 9",
       {2006, 4, 10, 15, 0, 0},
       FIELD_HOUR,
       MdyTwelveHour(),
       {9},
       {2006, 4, 10, 21, 0, 0},
       false},
      {"12-hour 1 2 afternoon",
       {2006, 4, 10, 15, 0, 0},
       FIELD_HOUR,
       MdyTwelveHour(),
       {1, 2},
       {2006, 4, 10, 12, 0, 0},
       true},
      {"12-hour 1 2 morning",
       {2006, 4, 10, 3, 0, 0},
       FIELD_HOUR,
       MdyTwelveHour(),
       {1, 2},
       {2006, 4, 10, 0, 0, 0},
       true},
      {"12-hour 1 5",
       {2006, 4, 10, 3, 0, 0},
       FIELD_HOUR,
       MdyTwelveHour(),
       {1, 5},
       {2006, 4, 10, 5, 0, 0},
       true},
      {"minute 7 5",
       {2006, 4, 10, 3, 0, 0},
       FIELD_MINUTE,
       MdyTwelveHour(),
       {7, 5},
       {2006, 4, 10, 3, 59, 0},
       true},
      {"second 4 2",
       {2006, 4, 10, 3, 0, 0},
       FIELD_SECOND,
       MdyTwelveHour(),
       {4, 2},
       {2006, 4, 10, 3, 0, 42},
       true},
  };
  for (const DigitCase& c : cases) {
    DateTimeFields f = At(c.start, c.field, c.locale);
    const int field = f.CurrentField();
    for (int d : c.digits) EXPECT_EQ(f.OnDigit(d), R::kChanged) << c.name;
    EXPECT_EQ(f.Value(), c.expected) << c.name;
    EXPECT_EQ(f.CurrentField(), c.movedOn ? field + 1 : field) << c.name;
  }
}

TEST(DateTimeFields, TheLoneFirstDigitShowsAtOnceAndOtherKeysDropIt) {
  DateTimeFields f = At({2006, 1, 20, 10, 0, 0}, FIELD_DAY);
  f.OnDigit(0);
  EXPECT_EQ(f.Value().day, 1);  // a lone 0 shows as the 1st
  f.DropPendingDigit();
  f.OnDigit(5);
  EXPECT_EQ(f.Value().day, 5);
  EXPECT_EQ(f.PendingDigit(), 5);
  // Digits in the month field change nothing; the last field keeps its place.
  DateTimeFields m = At({2006, 1, 20, 10, 0, 0}, FIELD_MONTH);
  EXPECT_EQ(m.OnDigit(3), R::kNone);
  DateTimeFields s = At({2006, 1, 20, 10, 0, 0}, FIELD_SECOND, DmyTwentyFour());
  s.OnDigit(1);
  s.OnDigit(2);
  EXPECT_EQ(s.CurrentType(), FIELD_SECOND);
}

TEST(DateTimeFields, Letters) {
  DateTimeFields f = At({2006, 1, 31, 10, 0, 30}, FIELD_MONTH);
  EXPECT_EQ(f.OnLetter('J'), R::kChanged);
  EXPECT_EQ(f.Value(), (DateFields{2006, 6, 30, 10, 0, 0}));  // the last day stays the last
  f.OnLetter('J');
  EXPECT_EQ(f.Value().month, 7);
  EXPECT_EQ(f.Value().day, 31);
  f.OnLetter('J');
  EXPECT_EQ(f.Value().month, 1);
  DateTimeFields feb = At({2006, 2, 10, 10, 0, 0}, FIELD_MONTH);
  EXPECT_EQ(feb.OnLetter('F'), R::kBeep);
  EXPECT_EQ(feb.OnLetter('Q'), R::kBeep);
  EXPECT_EQ(feb.Value().month, 2);
  DateTimeFields day = At({2006, 2, 10, 10, 0, 0}, FIELD_DAY);
  EXPECT_EQ(day.OnLetter('A'), R::kBeep);

  DateTimeFields half = At({2006, 2, 10, 10, 0, 15}, FIELD_AMPM);
  EXPECT_EQ(half.OnLetter('P'), R::kChanged);
  EXPECT_EQ(half.Value(), (DateFields{2006, 2, 10, 22, 0, 0}));
  EXPECT_EQ(half.OnLetter('P'), R::kNone);
  half.OnLetter('a');
  EXPECT_EQ(half.Value().hour, 10);
  EXPECT_EQ(half.OnSpace(), R::kChanged);
  EXPECT_EQ(half.Value().hour, 22);
  DateTimeFields minute = At({2006, 2, 10, 10, 0, 15}, FIELD_MINUTE);
  EXPECT_EQ(minute.OnSpace(), R::kNone);
}

struct StepCase {
  const char* name;
  DateFields start;
  DateTimeFieldType field;
  int delta;
  DateFields expected;
};

TEST(DateTimeFields, StepsWrapAndCarry) {
  const StepCase cases[] = {
      {"Jan 31 up", {2006, 1, 31, 9, 0, 0}, FIELD_MONTH, 1, {2006, 2, 28, 9, 0, 0}},
      {"Jan 31 up leap", {2004, 1, 31, 9, 0, 0}, FIELD_MONTH, 1, {2004, 2, 29, 9, 0, 0}},
      {"Feb 28 up", {2006, 2, 28, 9, 0, 0}, FIELD_MONTH, 1, {2006, 3, 31, 9, 0, 0}},
      {"Apr 30 up", {2006, 4, 30, 9, 0, 0}, FIELD_MONTH, 1, {2006, 5, 31, 9, 0, 0}},
      {"Feb 15 up", {2006, 2, 15, 9, 0, 0}, FIELD_MONTH, 1, {2006, 3, 15, 9, 0, 0}},
      {"Dec up", {2006, 12, 15, 9, 0, 0}, FIELD_MONTH, 1, {2006, 1, 15, 9, 0, 0}},
      {"day 1 down", {2006, 4, 1, 9, 0, 0}, FIELD_DAY, -1, {2006, 4, 30, 9, 0, 0}},
      {"last day up", {2006, 4, 30, 9, 0, 0}, FIELD_DAY, 1, {2006, 4, 1, 9, 0, 0}},
      {"Feb 29 2004 year up", {2004, 2, 29, 9, 0, 0}, FIELD_YEAR, 1, {2005, 2, 28, 9, 0, 0}},
      {"year 1999 up", {1999, 5, 5, 9, 0, 0}, FIELD_YEAR, 1, {2000, 5, 5, 9, 0, 0}},
      {"hour 23 up", {2006, 4, 30, 23, 0, 0}, FIELD_HOUR, 1, {2006, 4, 30, 0, 0, 0}},
      {"minute 0 down", {2006, 4, 30, 9, 0, 7}, FIELD_MINUTE, -1, {2006, 4, 30, 9, 59, 7}},
      {"second 59 up", {2006, 4, 30, 9, 0, 59}, FIELD_SECOND, 1, {2006, 4, 30, 9, 0, 0}},
      {"half-day", {2006, 4, 30, 15, 0, 0}, FIELD_AMPM, -1, {2006, 4, 30, 3, 0, 0}},
  };
  for (const StepCase& c : cases) {
    DateTimeFields f = At(c.start, c.field);
    EXPECT_EQ(f.Step(c.delta), R::kChanged) << c.name;
    EXPECT_EQ(f.Value(), c.expected) << c.name;
  }
  DateTimeFields top = At({2099, 4, 30, 9, 0, 0}, FIELD_YEAR);
  EXPECT_EQ(top.Step(1), R::kBeep);
  DateTimeFields bottom = At({2000, 4, 30, 9, 0, 0}, FIELD_YEAR);
  EXPECT_EQ(bottom.Step(-1), R::kBeep);
  EXPECT_EQ(bottom.Value().year, 2000);
}

TEST(DateTimeFields, FirstAndLastValues) {
  DateTimeFields s = At({2006, 4, 30, 10, 15, 30}, FIELD_SECOND);
  s.SetLimit(false);
  EXPECT_EQ(s.Value().second, 0);
  s.SetLimit(true);
  EXPECT_EQ(s.Value().second, 59);
  DateTimeFields m = At({2006, 4, 30, 10, 15, 30}, FIELD_MINUTE);
  EXPECT_EQ(m.SetLimit(false), R::kChanged);
  EXPECT_EQ(m.Value(), (DateFields{2006, 4, 30, 10, 0, 0}));
  DateTimeFields d = At({2006, 2, 3, 10, 15, 0}, FIELD_DAY);
  d.SetLimit(true);
  EXPECT_EQ(d.Value().day, 28);
  EXPECT_EQ(d.SetLimit(true), R::kNone);  // no beep
  DateTimeFields y = At({2006, 2, 3, 10, 15, 0}, FIELD_YEAR);
  EXPECT_EQ(y.SetLimit(true), R::kNone);
}

TEST(DateTimeFields, FieldMovesWrapAndNoFieldIgnoresInput) {
  DateTimeFields f = At({2006, 2, 3, 10, 15, 0}, FIELD_MONTH);
  f.PrevField();
  EXPECT_EQ(f.CurrentType(), FIELD_AMPM);
  f.NextField();
  EXPECT_EQ(f.CurrentType(), FIELD_MONTH);
  f.SetCurrentField(-1);
  f.NextField();
  EXPECT_EQ(f.CurrentField(), -1);
  EXPECT_EQ(f.OnDigit(4), R::kNone);
  EXPECT_EQ(f.Step(1), R::kNone);
  EXPECT_EQ(f.OnLetter('J'), R::kBeep);
  EXPECT_EQ(f.Value(), (DateFields{2006, 2, 3, 10, 15, 0}));
}

}  // namespace
