#include <gtest/gtest.h>

#include <QDate>
#include <QLocale>
#include <QTime>

#include "format/DateTimePattern.h"
#include "format/LocaleFormats.h"
#include "tests/support/DateTimes.h"

namespace {

const char* const kLocaleNames[] = {"en_US", "en_GB", "de_DE", "fr_FR", "es_ES", "pt_BR",
                                    "it_IT", "nl_NL", "sv_SE", "pl_PL", "ru_RU", "ja_JP",
                                    "zh_CN", "ko_KR", "hu_HU", "C"};

// Our translation of a locale's date patterns shows the date exactly as Qt
// shows it with the locale's own format: names, literal words and all.
TEST(LocaleFormatsOf, DatePatternsShowWhatTheLocaleShows) {
  const QDate dates[] = {QDate(2026, 12, 6), QDate(2031, 3, 1), QDate(1999, 7, 24)};
  for (const char* name : kLocaleNames) {
    const QLocale qt(name);
    const TLocaleFormats locale = LocaleFormatsOf(qt);
    for (const QDate& date : dates) {
      const TDateTime value = At(date.year(), date.month(), date.day(), 9, 30, 0);
      for (const auto format : {QLocale::ShortFormat, QLocale::LongFormat}) {
        const std::string pattern =
            format == QLocale::ShortFormat ? locale.ShortDateFormat : locale.LongDateFormat;
        EXPECT_EQ(FormatDateTime(pattern, value, locale),
                  qt.toString(date, qt.dateFormat(format)).toStdString())
            << name << " " << pattern;
      }
    }
  }
}

// The default time pattern follows the locale's clock, hour padding and
// designator position, always with ":" between the numbers.
TEST(LocaleFormatsOf, TimePatternsFollowTheLocaleClock) {
  const struct {
    const char* Locale;
    const char* ShortTime;
    const char* LongTime;
    const char* Afternoon;
  } cases[] = {
      {"en_US", "h:mm AMPM", "h:mm:ss AMPM", "2:05 PM"},
      {"de_DE", "hh:mm", "hh:mm:ss", "14:05"},
      {"ko_KR", "AMPM h:mm", "AMPM h:mm:ss", "\xEC\x98\xA4\xED\x9B\x84 2:05"},
  };
  for (const auto& c : cases) {
    const QLocale qt(c.Locale);
    const TLocaleFormats locale = LocaleFormatsOf(qt);
    EXPECT_EQ(locale.ShortTimeFormat, c.ShortTime) << c.Locale;
    EXPECT_EQ(locale.LongTimeFormat, c.LongTime) << c.Locale;
    EXPECT_EQ(FormatDateTime(locale.ShortTimeFormat, At(2026, 12, 6, 14, 5, 9), locale),
              c.Afternoon)
        << c.Locale;
  }
}

TEST(LocaleFormatsOf, NamesStartOnSundayAndJanuary) {
  const TLocaleFormats locale = LocaleFormatsOf(QLocale("de_DE"));
  EXPECT_EQ(locale.LongDayNames[0], "Sonntag");
  EXPECT_EQ(locale.LongDayNames[6], "Samstag");
  EXPECT_EQ(locale.LongMonthNames[0], "Januar");
  EXPECT_EQ(locale.LongMonthNames[2], "M\xC3\xA4rz");
}

struct TQtFormatCase {
  const char* Legend;
  const char* QtFormat;
  const char* Expected;  // at Sunday 2026-12-06 14:05:09
};

const TQtFormatCase kQtFormatCases[] = {
    {"numeric date", "M/d/yy", "12/6/26"},
    {"letters Qt shows as text stay text", "d 'de' MMMM", "6 de December"},
    {"unquoted letters Qt does not know", "yyyy Q d", "2026 Q 6"},
    {"doubled quote outside quotes", "d''MM", "6'12"},
    {"doubled quote inside quotes", "'It''s' d", "It's 6"},
    {"a double quote", "'\"'d'\"'", "\"6\""},
    {"time elements", "HH:mm:ss.zzz", "14:05:09.000"},
    {"designator", "h:mm AP", "2:05 PM"},
    {"time zone is left out", "HH:mm t", "14:05 "},
};

TEST(PatternFromQtFormat, RendersAsQtWould) {
  TLocaleFormats locale;
  locale.TimePMString = "PM";
  const TDateTime value = At(2026, 12, 6, 14, 5, 9);
  for (const auto& c : kQtFormatCases)
    EXPECT_EQ(FormatDateTime(PatternFromQtFormat(c.QtFormat), value, locale), c.Expected)
        << c.Legend;
}

TEST(TimePatternFromQtFormat, HourPaddingClockAndDesignatorPlace) {
  const struct {
    const char* QtFormat;
    bool WithSeconds;
    const char* Expected;
  } cases[] = {
      {"h:mm AP", false, "h:mm AMPM"}, {"h:mm:ss AP", true, "h:mm:ss AMPM"},
      {"HH:mm", false, "hh:mm"},       {"H:mm", true, "h:mm:ss"},
      {"AP h:mm", false, "AMPM h:mm"}, {"ap hh:mm", false, "AMPM hh:mm"},
      {"'h' H.mm", false, "h:mm"},     {"HH 'a' mm", false, "hh:mm"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TimePatternFromQtFormat(c.QtFormat, c.WithSeconds), c.Expected) << c.QtFormat;
}

}  // namespace
