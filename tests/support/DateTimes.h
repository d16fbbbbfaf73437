#pragma once
// An instant as the program's date-time value, for tests of every layer
// (header only: the decoder's tests link no Qt).

#include <gtest/gtest.h>

#include "common/DateTime.h"

// The date and time given, each part checked as it is encoded. Before
// 30 December 1899 the value is negative and its fraction still counts
// forward from midnight.
inline TDateTime At(int year, int month, int day, int hour, int minute, int second, int ms = 0) {
  TDateTime date = 0;
  TDateTime time = 0;
  EXPECT_TRUE(TryEncodeDate(year, month, day, date));
  EXPECT_TRUE(TryEncodeTime(hour, minute, second, ms, time));
  return date < 0 ? date - time : date + time;
}
