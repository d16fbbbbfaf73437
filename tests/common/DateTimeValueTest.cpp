// The date-time value as the decoder builds it: a day count plus the time of
// day, and back again.

#include <gtest/gtest.h>

#include "common/DateTime.h"

namespace {

TEST(DateTimeValue, DaysAndTimeOfDay) {
  struct TRow {
    const char* Legend;
    int Year, Month, Day, Hour, Minute, Second;
    double Value;
  };
  const TRow rows[] = {
      {"the epoch", 1899, 12, 30, 0, 0, 0, 0},
      {"noon of the epoch", 1899, 12, 30, 12, 0, 0, 0.5},
      {"a receiver's date", 1994, 3, 23, 12, 35, 19, 34416 + 45319.0 / 86400},
      {"leap day of a century divisible by 400", 2000, 2, 29, 0, 0, 0, 36585},
      {"the last second of a day", 2026, 12, 31, 23, 59, 59, 46387 + 86399.0 / 86400},
  };
  for (const TRow& row : rows) {
    double date = 0, time = 0;
    ASSERT_TRUE(TryEncodeDate(row.Year, row.Month, row.Day, date)) << row.Legend;
    ASSERT_TRUE(TryEncodeTime(row.Hour, row.Minute, row.Second, 0, time)) << row.Legend;
    EXPECT_DOUBLE_EQ(date + time, row.Value) << row.Legend;
    const TDateTimeParts parts = DecodeDateTime(row.Value);
    EXPECT_EQ(parts.Year, row.Year) << row.Legend;
    EXPECT_EQ(parts.Month, row.Month) << row.Legend;
    EXPECT_EQ(parts.Day, row.Day) << row.Legend;
    EXPECT_EQ(parts.Second, row.Second) << row.Legend;
  }
}

}  // namespace
