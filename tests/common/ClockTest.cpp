// The system clocks behind Clock::Now and Clock::TickCount: the local time
// follows the time zone as the C library reads it, and the tick counter
// follows the passing of time.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <thread>

#include "common/Clock.h"

namespace {

// Sets TZ for the lifetime of the object.
class TTimeZone {
 public:
  explicit TTimeZone(const char* zone) {
    if (const char* saved = std::getenv("TZ")) Saved = saved;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~TTimeZone() {
    if (Saved)
      setenv("TZ", Saved->c_str(), 1);
    else
      unsetenv("TZ");
    tzset();
  }

 private:
  std::optional<std::string> Saved;
};

// Days since 30 December 1899 in UTC, from the system clock.
double UtcNow() {
  using namespace std::chrono;
  const double seconds =
      duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count() / 1000.0;
  return 25569 + seconds / 86400;
}

TEST(Clock, LocalTimeFollowsTheTimeZone) {
  struct TRow {
    const char* Legend;
    const char* Zone;
    double HoursAhead;
  };
  const TRow rows[] = {
      {"UTC", "UTC0", 0},
      {"east of Greenwich, as in Helsinki in winter", "EET-2", 2},
      {"west, with half an hour", "NST3:30", -3.5},
  };
  constexpr double kSecond = 1.0 / 86400;
  for (const TRow& row : rows) {
    const TTimeZone zone(row.Zone);
    const double expected = UtcNow() + row.HoursAhead / 24;
    EXPECT_NEAR(Clock::Now(), expected, 2 * kSecond) << row.Legend;
  }
}

TEST(Clock, TicksFollowTime) {
  const uint32_t before = Clock::TickCount();
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  const uint32_t elapsed = Clock::TickCount() - before;
  EXPECT_GE(elapsed, 30u);
  EXPECT_LT(elapsed, 5000u);
}

}  // namespace
