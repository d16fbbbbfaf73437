#include <gtest/gtest.h>

#include "monitor/Timestamp.h"

namespace {

TEST(Timestamp, RelativeStampCountsAcrossTheWrap) {
  const struct {
    const char* Legend;
    uint32_t Now;
    uint32_t Start;
    const char* Stamp;
  } cases[] = {
      {"just started", 1000, 1000, "0"},
      {"no leading zeros", 1007, 1000, "7"},
      {"counter wrapped since the start", 5, 0xFFFFFFFBu, "10"},
      {"largest difference", 0xFFFFFFFEu, 0xFFFFFFFFu, "4294967295"},
      {"full range", 0xFFFFFFFFu, 0, "4294967295"},
  };
  for (const auto& c : cases) EXPECT_EQ(RelativeStamp(c.Now, c.Start), c.Stamp) << c.Legend;
}

TEST(Timestamp, ClockStampIsTwentyFourHourWithMilliseconds) {
  const struct {
    const char* Legend;
    int Hour, Minute, Second, Millisecond;
    const char* Stamp;
  } cases[] = {
      {"afternoon", 14, 3, 7, 45, "14:03:07.045"},
      {"midnight", 0, 0, 0, 0, "00:00:00.000"},
      {"last millisecond of the day", 23, 59, 59, 999, "23:59:59.999"},
      {"morning, no AM/PM", 9, 5, 1, 100, "09:05:01.100"},
  };
  TDateTime day = 0;
  TryEncodeDate(2024, 3, 5, day);
  for (const auto& c : cases) {
    TDateTime time = 0;
    TryEncodeTime(c.Hour, c.Minute, c.Second, c.Millisecond, time);
    EXPECT_EQ(ClockStamp(day + time), c.Stamp) << c.Legend;
  }
}

TEST(Timestamp, StampedLineKeepsTheLineAsItIs) {
  EXPECT_EQ(StampedLine("12", "$GPGGA,1*00"), "~12,$GPGGA,1*00");
  EXPECT_EQ(StampedLine("0", "~5,$GPRMC"), "~0,~5,$GPRMC");
}

}  // namespace
