// The date-time value as the decoder builds it: a day count plus the time of
// day, and back again.

#include <gtest/gtest.h>

#include "common/DateTime.h"

namespace {

TEST(DateTimeValue, DaysAndTimeOfDay) {
  struct Row {
    const char* legend;
    int year, month, day, hour, minute, second;
    double value;
  };
  const Row rows[] = {
      {"the epoch", 1899, 12, 30, 0, 0, 0, 0},
      {"noon of the epoch", 1899, 12, 30, 12, 0, 0, 0.5},
      {"a receiver's date", 1994, 3, 23, 12, 35, 19, 34416 + 45319.0 / 86400},
      {"leap day of a century divisible by 400", 2000, 2, 29, 0, 0, 0, 36585},
      {"the last second of a day", 2026, 12, 31, 23, 59, 59, 46387 + 86399.0 / 86400},
  };
  for (const Row& row : rows) {
    double date = 0, time = 0;
    ASSERT_TRUE(TryEncodeDate(row.year, row.month, row.day, date)) << row.legend;
    ASSERT_TRUE(TryEncodeTime(row.hour, row.minute, row.second, 0, time)) << row.legend;
    EXPECT_DOUBLE_EQ(date + time, row.value) << row.legend;
    const TDateTimeParts parts = DecodeDateTime(row.value);
    EXPECT_EQ(parts.Year, row.year) << row.legend;
    EXPECT_EQ(parts.Month, row.month) << row.legend;
    EXPECT_EQ(parts.Day, row.day) << row.legend;
    EXPECT_EQ(parts.Second, row.second) << row.legend;
  }
}

}  // namespace
