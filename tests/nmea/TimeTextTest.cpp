// The joined time and date texts, and the hundred-year window of two-digit years.

#include <gtest/gtest.h>

#include <string>

#include "nmea/NMEA.h"
#include "nmea/TimeText.h"
#include "tests/nmea/Sentences.h"

namespace {

using testing_nmea::At;
using testing_nmea::Sentence;
using testing_nmea::TFixedYear;
using testing_nmea::TimeOfDay;

TEST(TimeText, ReadWhole) {
  struct TRow {
    const char* Legend;
    const char* Text;
    bool Valid;
    TDateTime Value;
  };
  const TRow rows[] = {
      {"plain", "12:35:19", true, TimeOfDay(12, 35, 19)},
      {"one-digit seconds", "12:34:5", true, TimeOfDay(12, 34, 5)},
      {"spaces before numbers", " 1: 2: 3", true, TimeOfDay(1, 2, 3)},
      {"fraction dropped", "12:34:56.7", true, TimeOfDay(12, 34, 56)},
      {"a colon needs digits", "12:34:", false, 0},
      {"empty pieces", "::", false, 0},
      {"a point needs digits", "12:34:5.", false, 0},
      {"hour 24", "24:00:00", false, 0},
      {"minute 60", "12:60:00", false, 0},
      {"trailing text", "12:34:5x", false, 0},
      {"trailing space", "12:34:5 ", false, 0},
      {"hours only", "12", true, TimeOfDay(12, 0, 0)},
      {"sign is no digit", "-1:00:00", false, 0},
  };
  for (const TRow& row : rows) {
    TDateTime value = -1;
    EXPECT_EQ(nmea::ReadTimeText(row.Text, value), row.Valid) << row.Legend;
    if (row.Valid) {
      EXPECT_DOUBLE_EQ(value, row.Value) << row.Legend;
    }
  }
}

TEST(TimeText, ReadDateTime) {
  struct TRow {
    const char* Legend;
    const char* Text;
    bool Valid;
    TDateTime Value;
  };
  const TRow rows[] = {
      {"plain", "23/03/94 12:35:19", true, At(1994, 3, 23, 12, 35, 19)},
      {"spaces everywhere", " 1/ 2/ 3  4: 5: 6", true, At(2003, 2, 1, 4, 5, 6)},
      {"hours alone are enough", "23/03/94 12", true, At(1994, 3, 23, 12, 0, 0)},
      {"reading stops at a letter", "23/03/94 12:3a:19", true, At(1994, 3, 23, 12, 3, 0)},
      {"no time", "23/03/94 ::", false, 0},
      {"a colon needs digits", "23/03/94 12:", false, 0},
      {"leap day 2000", "29/02/00 00:00:00", true, At(2000, 2, 29, 0, 0, 0)},
      {"no leap day 2001", "29/02/01 00:00:00", false, 0},
      {"month 13", "01/13/20 00:00:00", false, 0},
      {"day 0", "00/01/20 00:00:00", false, 0},
      {"empty date", "// 12:35:19", false, 0},
      {"four-digit year as written", "1/1/2000 0", true, At(2000, 1, 1, 0, 0, 0)},
  };
  for (const TRow& row : rows) {
    TDateTime value = -1;
    EXPECT_EQ(nmea::ReadDateTimeText(row.Text, 2026, value), row.Valid) << row.Legend;
    if (row.Valid) {
      EXPECT_DOUBLE_EQ(value, row.Value) << row.Legend;
    }
  }
}

TEST(TimeText, HundredYearWindow) {
  struct TRow {
    int CurrentYear;
    int Year;
    int Expected;
  };
  const TRow rows[] = {
      {2026, 76, 1976}, {2026, 75, 2075}, {2026, 0, 2000},  {2026, 99, 1999},
      {2000, 50, 1950}, {2000, 49, 2049}, {2099, 49, 2049}, {2099, 48, 2148},
  };
  for (const TRow& row : rows) {
    EXPECT_EQ(nmea::WindowedYear(row.Year, row.CurrentYear), row.Expected)
        << row.Year << " in " << row.CurrentYear;
  }
}

// The decoder reads the year from the clock, but not on every sentence: a
// changed clock shows once the tick counter has moved a second on.
TEST(TimeText, YearFollowsTheClock) {
  uint32_t tick = 5000;
  Clock::SetTickSource([&tick] { return tick; });
  const std::string line = Sentence("GPRMC,000000,A,,,,,,,010176,,");
  TNMEA decoder;
  {
    const TFixedYear year(2026);
    decoder.Decode(line);
    EXPECT_EQ(DecodeDateTime(decoder.RMC.DateTime).Year, 1976);
  }
  const TFixedYear later(2120);
  decoder.Decode(line);
  EXPECT_EQ(DecodeDateTime(decoder.RMC.DateTime).Year, 1976) << "same second: cached";
  tick += 1000;
  decoder.Decode(line);
  EXPECT_EQ(DecodeDateTime(decoder.RMC.DateTime).Year, 2076);
  Clock::SetTickSource({});
}

}  // namespace
