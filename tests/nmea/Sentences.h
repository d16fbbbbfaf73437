#pragma once
// Helpers for the decoder tests: sentences framed with their right checksum,
// the clock's year pinned, and records compared as a whole with positions to
// a micro-degree.

#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <string>

#include "common/Clock.h"
#include "common/DateTime.h"
#include "common/Routines.h"
#include "nmea/NMEA.h"
#include "tests/support/DateTimes.h"

// Failures name the result code instead of printing it as a character.
inline void PrintTo(TSentenceResult result, std::ostream* out) {
  *out << SentenceResultName(result);
}

namespace testing_nmea {

// "$" + body + "*" + the two upper-case hex digits of its checksum.
inline std::string Sentence(const std::string& body) {
  return FrameSentence(body);
}

// Pins the local clock to 1 July of the given year for one test.
class TFixedYear {
 public:
  explicit TFixedYear(int year) {
    TDateTime day = 0;
    TryEncodeDate(year, 7, 1, day);
    Clock::SetNowSource([day] { return day; });
  }
  ~TFixedYear() { Clock::SetNowSource({}); }
  TFixedYear(const TFixedYear&) = delete;
  TFixedYear& operator=(const TFixedYear&) = delete;
};

using ::At;

inline TDateTime TimeOfDay(int hour, int minute, int second) {
  return At(1899, 12, 30, hour, minute, second);
}

constexpr double kDegreeTolerance = 1e-6;

inline void ExpectRecord(const TGGA& actual, const TGGA& expected) {
  EXPECT_DOUBLE_EQ(actual.Time, expected.Time);
  EXPECT_NEAR(actual.Latitude, expected.Latitude, kDegreeTolerance);
  EXPECT_NEAR(actual.Longitude, expected.Longitude, kDegreeTolerance);
  EXPECT_EQ(actual.Quality, expected.Quality);
  EXPECT_EQ(actual.SatsUsed, expected.SatsUsed);
  EXPECT_EQ(actual.HDOP, expected.HDOP);
  EXPECT_EQ(actual.Altitude, expected.Altitude);
  EXPECT_EQ(actual.GeoidSeparation, expected.GeoidSeparation);
  EXPECT_EQ(actual.DiffAge, expected.DiffAge);
  EXPECT_EQ(actual.DiffStation, expected.DiffStation);
}

inline void ExpectRecord(const TRMC& actual, const TRMC& expected) {
  EXPECT_DOUBLE_EQ(actual.DateTime, expected.DateTime);
  EXPECT_EQ(actual.Valid, expected.Valid);
  EXPECT_NEAR(actual.Latitude, expected.Latitude, kDegreeTolerance);
  EXPECT_NEAR(actual.Longitude, expected.Longitude, kDegreeTolerance);
  EXPECT_EQ(actual.Speed, expected.Speed);
  EXPECT_EQ(actual.Course, expected.Course);
  EXPECT_EQ(actual.Variation, expected.Variation);
}

}  // namespace testing_nmea
