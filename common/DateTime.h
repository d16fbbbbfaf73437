#pragma once
// The date-time value shared by the decoder records and the field formats:
// whole days since 30 December 1899, with the time of day as the fraction.

#include <cstdint>

using TDateTime = double;

struct TDateTimeParts {
  int Year = 1899;
  int Month = 12;
  int Day = 30;
  int Hour = 0;
  int Minute = 0;
  int Second = 0;
  int Millisecond = 0;
  int DayOfWeek = 7;  // 1 = Sunday .. 7 = Saturday
};

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
// Fails for a date that does not exist in the proleptic Gregorian calendar.
bool TryEncodeDate(int year, int month, int day, TDateTime& value);
// Fails outside 0..23, 0..59, 0..59, 0..999.
bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& value);
// Never fails; values far outside any calendar are clamped to its ends.
TDateTimeParts DecodeDateTime(TDateTime value);
