#include <gtest/gtest.h>

#include <limits>

#include "format/DateTimePattern.h"
#include "format/FormatRoutines.h"
#include "tests/support/DateTimes.h"

namespace {

// A locale unlike the built-in one, so that every name and pattern shown is
// seen to come from the locale passed in.
TLocaleFormats TestLocale() {
  TLocaleFormats locale;
  locale.ShortDateFormat = "dd.mm.yy";
  locale.LongDateFormat = "dddd, d. mmmm yyyy";
  locale.ShortTimeFormat = "hh:mm";
  locale.LongTimeFormat = "hh:mm:ss";
  locale.TimeAMString = "AM";
  locale.TimePMString = "PM";
  locale.ShortDayNames = {"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"};
  locale.LongDayNames = {"Sonntag",    "Montag",  "Dienstag", "Mittwoch",
                         "Donnerstag", "Freitag", "Samstag"};
  locale.ShortMonthNames = {"Jan", "Feb", "Mär", "Apr", "Mai", "Jun",
                            "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
  locale.LongMonthNames = {"Januar", "Februar", "März",      "April",   "Mai",      "Juni",
                           "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
  return locale;
}

struct TPatternCase {
  const char* Legend;
  const char* Pattern;
  const char* Expected;
};

// The list choices of the dialog, at 2026-12-06 14:05:09.
const TPatternCase kChoiceCases[] = {
    {"date choice", "dd/MM/yyyy", "06/12/2026"},
    {"date choice", "dd/MM/yy", "06/12/26"},
    {"date choice", "d/MM/yyyy", "6/12/2026"},
    {"date choice", "d/MM/yy", "6/12/26"},
    {"date choice", "MM/dd/yyyy", "12/06/2026"},
    {"date choice", "MM/dd/yy", "12/06/26"},
    {"date choice", "MM/d/yyyy", "12/6/2026"},
    {"date choice", "MM/d/yy", "12/6/26"},
    {"time choice", "HH:MM", "14:05"},
    {"time choice", "HH:MM:SS", "14:05:09"},
    {"time choice", "h:mm AMPM", "2:05 PM"},
    {"time choice", "hh:mm AMPM", "02:05 PM"},
    {"time choice", "h:mm:ss AMPM", "2:05:09 PM"},
    {"time choice", "hh:mm:ss AMPM", "02:05:09 PM"},
};

TEST(FormatDateTime, DialogChoices) {
  const TDateTime value = At(2026, 12, 6, 14, 5, 9);
  for (const auto& c : kChoiceCases)
    EXPECT_EQ(FormatDateTime(c.Pattern, value, TestLocale()), c.Expected) << c.Pattern;
}

// Every element, at Sunday 2026-12-06 14:05:09.078.
const TPatternCase kElementCases[] = {
    {"day", "d", "6"},
    {"day, two digits", "dd", "06"},
    {"abbreviated day name", "ddd", "So"},
    {"full day name", "dddd", "Sonntag"},
    {"short date pattern", "ddddd", "06.12.26"},
    {"long date pattern", "dddddd", "Sonntag, 6. Dezember 2026"},
    {"month", "m", "12"},
    {"abbreviated month name", "mmm", "Dez"},
    {"full month name", "mmmm", "Dezember"},
    {"more m is the full name", "mmmmmm", "Dezember"},
    {"one y is two digits", "y", "26"},
    {"two y", "yy", "26"},
    {"three y is four digits", "yyy", "2026"},
    {"four y", "yyyy", "2026"},
    {"hour", "h", "14"},
    {"more h count as hh", "hhhh", "14"},
    {"minutes", "n", "5"},
    {"minutes, two digits", "nn", "05"},
    {"seconds", "s", "9"},
    {"seconds, two digits", "ss", "09"},
    {"milliseconds", "z", "78"},
    {"milliseconds, three digits", "zzz", "078"},
    {"short time pattern", "t", "14:05"},
    {"long time pattern", "tt", "14:05:09"},
    {"c: date and time", "c", "06.12.26 14:05:09"},
    {"empty pattern is c", "", "06.12.26 14:05:09"},
    {"system designator", "ampm", "PM"},
    {"am/pm as written", "am/pm", "pm"},
    {"AM/PM as written", "AM/PM", "PM"},
    {"a/p as written", "a/p", "p"},
    {"A/P as written", "A/P", "P"},
    {"aaa is the abbreviated day", "aaa", "So"},
    {"aaaa is the full day", "aaaa", "Sonntag"},
    {"a lone a is itself", "a", "a"},
    {"letters match in either case", "DD-Mmm-YYYY", "06-Dez-2026"},
    {"single-quoted text", "'d m y'", "d m y"},
    {"double-quoted text", "\"hh\"", "hh"},
    {"other quote inside quotes", "'say \"d\"'", "say \"d\""},
    {"unclosed quote runs to the end", "d 'yy", "6 yy"},
    {"separators and other characters", "d/m:y.-,#", "6/12:26.-,#"},
    {"letters without meaning are themselves", "bijkqx", "bijkqx"},
};

TEST(FormatDateTime, EveryElement) {
  const TDateTime value = At(2026, 12, 6, 14, 5, 9, 78);
  for (const auto& c : kElementCases)
    EXPECT_EQ(FormatDateTime(c.Pattern, value, TestLocale()), c.Expected) << c.Legend;
}

// Minutes and the 12-hour clock depend on the elements around the hour.
const TPatternCase kClockCases[] = {
    {"m right after an hour is minutes", "h:m", "14:5"},
    {"mm after an hour across quotes", "h'h'mm", "14h05"},
    {"m after another element is the month", "h d m", "14 6 12"},
    {"mm after minutes is the month again", "hh:mm:mm", "14:05:12"},
    {"mmm after an hour is the month name", "h mmm", "14 Dez"},
    {"month before hour", "MM HH", "12 14"},
    {"am/pm element makes the hour 12-hour", "hh am/pm", "02 pm"},
    {"a/p makes the hour 12-hour", "h a/p", "2 p"},
    {"a day name after the hour keeps 24 hours", "h aaaa ampm", "14 Sonntag PM"},
    {"an am/pm after a further hour is that hour's", "h h ampm", "14 2 PM"},
    {"a quoted am/pm does not count", "h 'am/pm'", "14 am/pm"},
    {"designator in front of the hour", "ampm h:nn", "PM 2:05"},
};

TEST(FormatDateTime, HourMinuteAndClockRules) {
  const TDateTime value = At(2026, 12, 6, 14, 5, 9);
  for (const auto& c : kClockCases)
    EXPECT_EQ(FormatDateTime(c.Pattern, value, TestLocale()), c.Expected) << c.Legend;
}

struct TTwelveHourCase {
  int Hour;
  const char* Expected;
};

TEST(FormatDateTime, TwelveHourClockAroundTheDay) {
  const TTwelveHourCase cases[] = {
      {0, "12 AM a"},  {1, "1 AM a"},  {11, "11 AM a"},
      {12, "12 PM p"}, {13, "1 PM p"}, {23, "11 PM p"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatDateTime("h ampm a/p", At(2026, 3, 1, c.Hour, 0, 0), TestLocale()), c.Expected)
        << c.Hour;
}

TEST(FormatDateTime, PaddingAndEdgesOfTheCalendar) {
  const TLocaleFormats locale = TestLocale();
  const TDateTime morning = At(987, 3, 1, 0, 7, 3, 5);
  EXPECT_EQ(FormatDateTime("d dd m mm yy yyyy", morning, locale), "1 01 3 03 87 0987");
  EXPECT_EQ(FormatDateTime("h hh:nn:ss zzz", morning, locale), "0 00:07:03 005");
  EXPECT_EQ(FormatDateTime("c", At(2026, 12, 6, 0, 0, 0), locale), "06.12.26")
      << "midnight has no time part";
  EXPECT_EQ(FormatDateTime("dd/mm/yyyy hh:nn", 0.25, locale), "30/12/1899 06:00")
      << "a time of day alone is on the first day";
}

TEST(FormatDateTime, ValuesOutsideTheCalendarStillGiveText) {
  for (const double value : {-1e300, 1e300, std::numeric_limits<double>::quiet_NaN()})
    EXPECT_FALSE(FormatDateTime("c", value, TestLocale()).empty()) << value;
}

TEST(FormatDateTime, OutputStopsAt256Characters) {
  const TDateTime value = At(2026, 12, 6, 14, 5, 9);
  const std::string longText(300, 'x');
  EXPECT_EQ(FormatDateTime("'" + longText + "'", value, TestLocale()), std::string(256, 'x'));
  std::string years;
  std::string expected;
  for (int k = 0; k < 100; ++k) {
    years += "yyyy/";
    expected += "2026/";
  }
  EXPECT_EQ(FormatDateTime(years, value, TestLocale()), expected.substr(0, 256));
  // A two-byte character across the limit is left out whole, never split.
  EXPECT_EQ(FormatDateTime("'" + std::string(255, 'x') + "\xC3\xBC'", value, TestLocale()),
            std::string(255, 'x'));
}

TEST(FormatDateTime, SelfReferringLocalePatternsEnd) {
  TLocaleFormats locale = TestLocale();
  locale.ShortDateFormat = "ddddd";
  locale.LongTimeFormat = "c tt";
  const std::string text = FormatDateTime("c", At(2026, 12, 6, 14, 5, 9), locale);
  EXPECT_LE(text.size(), kMaxDateTimeText);
}

TEST(FormatDateAndTime, UseTheirOwnPatterns) {
  TFieldFormats formats;
  formats.DateFormat = "dd/MM/yyyy hh:nn";
  formats.TimeFormat = "dd/MM/yyyy";
  formats.Locale = TestLocale();
  // An RMC date-time shows its time of day; a GGA time has a zero date part.
  EXPECT_EQ(FormatDate(At(2026, 12, 6, 14, 5, 9), formats), "06/12/2026 14:05");
  EXPECT_EQ(FormatTime(At(1899, 12, 30, 14, 5, 9), formats), "30/12/1899");
}

// Every short pattern built from the language's own characters renders within
// the limit: unclosed quotes, elements cut off at the end, and "a" and "/"
// in every position.
TEST(FormatDateTime, EveryShortPatternRenders) {
  const std::string alphabet = "dmyhnsztcaP/:'\" \xC3";
  const TLocaleFormats locale = TestLocale();
  const TDateTime value = 46362.5;
  std::string pattern(3, ' ');
  for (const char a : alphabet)
    for (const char b : alphabet)
      for (const char c : alphabet) {
        pattern[0] = a;
        pattern[1] = b;
        pattern[2] = c;
        EXPECT_LE(FormatDateTime(pattern, value, locale).size(), kMaxDateTimeText) << pattern;
      }
}

}  // namespace
