#include <gtest/gtest.h>

#include "monitor/LogFileName.h"
#include "tests/support/DateTimes.h"

namespace {

TEST(LogFileName, DateAndTimeAreExpanded) {
  const TDateTime start = At(2024, 3, 5, 9, 7, 2);
  const struct {
    const char* Legend;
    const char* Name;
    const char* Expanded;
  } cases[] = {
      {"both", "trip_%DATE_%TIME.TXT", "trip_20240305_090702.TXT"},
      {"lower case is left alone", "trip_%date_%time.TXT", "trip_%date_%time.TXT"},
      {"trailing percent stays", "%DATE%.TXT", "20240305%.TXT"},
      {"every occurrence", "%DATE-%DATE", "20240305-20240305"},
      {"no marks", "GPS.TXT", "GPS.TXT"},
      {"mark at the very end", "log%TIME", "log090702"},
      {"half a mark", "%DAT%TIM", "%DAT%TIM"},
      {"empty", "", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ExpandLogFileName(c.Name, start, start), c.Expanded) << c.Legend;
}

TEST(LogFileName, DateAndTimeComeFromTheirOwnReadings) {
  // The clock is read once for the date and once for the time; a start just
  // at midnight may take them from either side of it.
  EXPECT_EQ(ExpandLogFileName("%DATE_%TIME", At(1999, 12, 31, 23, 59, 59), At(2000, 1, 1, 0, 0, 0)),
            "19991231_000000");
}

TEST(LogFileName, DateLeavesNoTimeMarkBehind) {
  // "%DATE" is replaced before "%TIME" is looked for, and digits never form a
  // new mark.
  EXPECT_EQ(ExpandLogFileName("%%DATETIME", At(2024, 1, 2, 3, 4, 5), At(2024, 1, 2, 3, 4, 5)),
            "%20240102TIME");
}

}  // namespace
