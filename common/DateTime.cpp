#include "common/DateTime.h"

#include <cmath>

namespace {

constexpr double kMsPerDay = 86400000.0;
// 1 January 0001 and 31 December 9999, as day counts from 30 December 1899.
constexpr double kFirstDay = -693593.0;
constexpr double kLastDay = 2958465.0;
// The civil-date arithmetic below counts from 1 March 0000, which makes the
// leap day the last day of its year; 30 December 1899 is this many days later.
constexpr int64_t kEpochShift = 693899;

int64_t DaysFromCivil(int64_t year, int64_t month, int64_t day) {
  year -= month <= 2;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const int64_t yearOfEra = year - era * 400;
  const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - kEpochShift;
}

void CivilFromDays(int64_t days, int& year, int& month, int& day) {
  days += kEpochShift;
  const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const int64_t dayOfEra = days - era * 146097;
  const int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
  day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
  month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
  year = static_cast<int>(yearOfEra + era * 400 + (month <= 2));
}

}  // namespace

bool IsLeapYear(int year) {
  return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return kDays[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

bool TryEncodeDate(int year, int month, int day, TDateTime& value) {
  if (year < 1 || year > 9999 || day < 1 || day > DaysInMonth(year, month)) return false;
  value = static_cast<double>(DaysFromCivil(year, month, day));
  return true;
}

bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& value) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
      millisecond < 0 || millisecond > 999)
    return false;
  value = (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + millisecond) / kMsPerDay;
  return true;
}

TDateTimeParts DecodeDateTime(TDateTime value) {
  if (std::isnan(value)) value = 0;
  if (value < kFirstDay) value = kFirstDay;
  if (value >= kLastDay + 1) value = kLastDay + 0.999999;
  // A negative value counts whole days back from the epoch, while its fraction
  // is still the time of day forward from midnight of that day.
  double wholeDays = std::trunc(value);
  int64_t ms = std::llround(std::fabs(value - wholeDays) * kMsPerDay);
  if (ms >= static_cast<int64_t>(kMsPerDay)) {  // rounds up to the next midnight
    ms = 0;
    wholeDays += value < 0 ? -1 : 1;
  }
  TDateTimeParts parts;
  const auto days = static_cast<int64_t>(wholeDays);
  CivilFromDays(days, parts.Year, parts.Month, parts.Day);
  parts.Hour = static_cast<int>(ms / 3600000);
  parts.Minute = static_cast<int>(ms / 60000 % 60);
  parts.Second = static_cast<int>(ms / 1000 % 60);
  parts.Millisecond = static_cast<int>(ms % 1000);
  parts.DayOfWeek = static_cast<int>(((days + 6) % 7 + 7) % 7) + 1;
  return parts;
}
