#include "history/ChartClock.h"

#include <cmath>

#include "common/Clock.h"
#include "common/DateTime.h"
#include "nmea/TimeText.h"

namespace {

constexpr double kDay = 86'400;
// 1970-01-01 as a TDateTime (days since 30 December 1899).
constexpr double kUnixDay = 25'569;

}  // namespace

// Read as the fix display reads an RMC's date, so that both show one day.
std::optional<long> EpochDay(std::string_view ddmmyy, int currentYear) {
  nmea::TJoinedText text;
  nmea::JoinDateTime(ddmmyy, "000000", text);
  TDateTime value = 0;
  if (!nmea::ReadDateTimeText(text.View(), currentYear, value)) return std::nullopt;
  return std::lround(std::floor(value) - kUnixDay);
}

TChartClock::TChartClock() : CurrentYear(DecodeDateTime(Clock::Now()).Year) {}

std::optional<double> TChartClock::Take(const TEpoch& epoch) {
  if (!epoch.Time) return std::nullopt;
  const std::optional<double> seconds = TimeOfDaySeconds(*epoch.Time);
  if (!seconds) return std::nullopt;
  if (epoch.Date) {
    // The date stays the same for a day of epochs: read once.
    if (*epoch.Date != DateText) {
      DateText = *epoch.Date;
      DateDay = EpochDay(DateText, CurrentYear);
    }
    if (DateDay) {
      DayStart = static_cast<double>(*DateDay) * kDay;
      HadDate = true;
    }
  }
  double at = DayStart + *seconds;
  if (Last && at < *Last - kDay / 2) {
    DayStart += kDay;
    at += kDay;
  }
  Last = at;
  return at;
}
