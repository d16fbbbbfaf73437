#include "history/ChartClock.h"

namespace {

constexpr double kDay = 86'400;

// Howard Hinnant's days_from_civil: days since 1970-01-01 of a Gregorian date.
long DaysFromCivil(int year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const long era = (year >= 0 ? year : year - 399) / 400;
  const long yearOfEra = year - era * 400;
  const long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146'097 + dayOfEra - 719'468;
}

}  // namespace

std::optional<long> EpochDay(std::string_view ddmmyy) {
  if (ddmmyy.size() != 6) return std::nullopt;
  int parts[3] = {};
  for (int i = 0; i < 3; ++i) {
    const char high = ddmmyy[2 * i];
    const char low = ddmmyy[2 * i + 1];
    if (high < '0' || high > '9' || low < '0' || low > '9') return std::nullopt;
    parts[i] = (high - '0') * 10 + (low - '0');
  }
  const int year = parts[2] >= 80 ? 1900 + parts[2] : 2000 + parts[2];
  static constexpr int kMonthDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (parts[1] < 1 || parts[1] > 12) return std::nullopt;
  if (parts[0] < 1 || parts[0] > kMonthDays[parts[1] - 1]) return std::nullopt;
  return DaysFromCivil(year, parts[1], parts[0]);
}

std::optional<double> TChartClock::Take(const TEpoch& epoch) {
  if (!epoch.Time) return std::nullopt;
  const std::optional<double> seconds = TimeOfDaySeconds(*epoch.Time);
  if (!seconds) return std::nullopt;
  if (epoch.Date) {
    if (const std::optional<long> day = EpochDay(*epoch.Date)) {
      DayStart = static_cast<double>(*day) * kDay;
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
