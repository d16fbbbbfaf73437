#include <gtest/gtest.h>

#include "history/Epoch.h"

namespace {

struct TTimeCase {
  const char* Legend;
  const char* Field;
  std::optional<double> Seconds;
};

const TTimeCase kTimeCases[] = {
    {"whole seconds", "123519", 12 * 3600 + 35 * 60 + 19},
    {"a fraction", "000000.25", 0.25},
    {"the last second of a day", "235959.99", 86399.99},
    {"a leap second", "235960", 86400},
    {"a point without digits", "120000.", 43200},
    {"too short", "12351", std::nullopt},
    {"an hour past the day", "245959", std::nullopt},
    {"letters", "12a519", std::nullopt},
    {"text behind the fraction", "123519.5x", std::nullopt},
    {"empty", "", std::nullopt},
};

TEST(EpochTime, TimeOfDaySeconds) {
  for (const TTimeCase& test : kTimeCases) {
    SCOPED_TRACE(test.Legend);
    const std::optional<double> seconds = TimeOfDaySeconds(test.Field);
    ASSERT_EQ(seconds.has_value(), test.Seconds.has_value());
    if (seconds) {
      EXPECT_DOUBLE_EQ(*seconds, *test.Seconds);
    }
  }
}

}  // namespace
