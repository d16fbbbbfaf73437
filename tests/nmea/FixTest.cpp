// GGA and RMC: each row decodes one sentence over a known previous record and
// compares the whole record afterwards, so a field written too early, too late
// or not at all shows up.

#include <gtest/gtest.h>

#include <string>

#include "nmea/NMEA.h"
#include "tests/nmea/Sentences.h"

namespace {

using namespace testing_nmea;

const char* const kPreviousGGA =
    "GPGGA,010203,1000.000,N,02000.000,E,2,05,1.5,10.0,M,2.0,M,3.0,0042";
const TGGA kPrevious{TimeOfDay(1, 2, 3), 10, 20, 2, 5, 1.5f, 10, 2, 3, 42};
const TGGA kFull{TimeOfDay(12, 35, 19), 48.1173, 11.516667, 1, 8, 0.9f, 545.4f, 46.9f, 0, 0};

TGGA With(TGGA record, void (*change)(TGGA&)) {
  change(record);
  return record;
}

TEST(DecodeGGA, Fields) {
  struct TRow {
    const char* Legend;
    const char* Body;
    TSentenceResult Result;
    TGGA Record;
  };
  const TRow rows[] = {
      {"every field", "GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,",
       TSentenceResult::GGA, kFull},
      {"south and west", "GPGGA,123519,4807.038,S,01131.000,W,1,08,0.9,545.4,M,46.9,M,,",
       TSentenceResult::GGA,
       With(kFull,
            [](TGGA& r) {
              r.Latitude = -48.1173;
              r.Longitude = -11.516667;
            })},
      {"no fix: fails at the time, nothing changes", "GPGGA,,,,,,0,,,,,,,,",
       TSentenceResult::Invalid, kPrevious},
      {"fraction of seconds dropped",
       "GPGGA,123519.50,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,", TSentenceResult::GGA,
       kFull},
      {"five-digit time", "GPGGA,12345,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,",
       TSentenceResult::GGA, With(kFull, [](TGGA& r) { r.Time = TimeOfDay(12, 34, 5); })},
      {"four-digit time", "GPGGA,1234,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,",
       TSentenceResult::Invalid, kPrevious},
      {"hour 24", "GPGGA,246000,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,",
       TSentenceResult::Invalid, kPrevious},
      {"time with a trailing space", "GPGGA,12351 ,4807.038,N,01131.000,E,1,08,,,M,,M,,",
       TSentenceResult::Invalid, kPrevious},
      {"empty HDOP, altitude and separation are 0",
       "GPGGA,123519,4807.038,N,01131.000,E,1,08,,,M,,M,,", TSentenceResult::GGA,
       With(kFull,
            [](TGGA& r) {
              r.HDOP = 0;
              r.Altitude = 0;
              r.GeoidSeparation = 0;
            })},
      {"age without station: fails with the age stored",
       "GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,2.5,", TSentenceResult::Invalid,
       With(kFull,
            [](TGGA& r) {
              r.DiffAge = 2.5f;
              r.DiffStation = 42;
            })},
      {"age and station", "GPGGA,123519,4807.038,N,01131.000,E,2,08,0.9,545.4,M,46.9,M,2.5,0123",
       TSentenceResult::GGA,
       With(kFull,
            [](TGGA& r) {
              r.Quality = 2;
              r.DiffAge = 2.5f;
              r.DiffStation = 123;
            })},
      {"quality keeps its low 8 bits",
       "GPGGA,123519,4807.038,N,01131.000,E,300,-1,0.9,545.4,M,46.9,M,,", TSentenceResult::GGA,
       With(kFull,
            [](TGGA& r) {
              r.Quality = 44;
              r.SatsUsed = 255;
            })},
      {"bad N/S: latitude left as read",
       "GPGGA,123519,4807.038,X,01131.000,E,1,08,0.9,545.4,M,46.9,M,,", TSentenceResult::Invalid,
       With(kPrevious,
            [](TGGA& r) {
              r.Time = TimeOfDay(12, 35, 19);
              r.Latitude = 4807.038;
            })},
      {"empty N/S is a failure", "GPGGA,123519,4807.038,,01131.000,E,1,08,0.9,545.4,M,46.9,M,,",
       TSentenceResult::Invalid,
       With(kPrevious,
            [](TGGA& r) {
              r.Time = TimeOfDay(12, 35, 19);
              r.Latitude = 4807.038;
            })},
      {"latitude beyond double range", "GPGGA,123519,1e400,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,",
       TSentenceResult::Invalid, With(kPrevious, [](TGGA& r) { r.Time = TimeOfDay(12, 35, 19); })},
      {"HDOP beyond single range", "GPGGA,123519,4807.038,N,01131.000,E,1,08,1e39,545.4,M,46.9,M,,",
       TSentenceResult::Invalid,
       With(kFull,
            [](TGGA& r) {
              r.HDOP = 1.5f;
              r.Altitude = 10;
              r.GeoidSeparation = 2;
              r.DiffAge = 3;
              r.DiffStation = 42;
            })},
      {"separation not a number", "GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,4 6,M,,",
       TSentenceResult::Invalid,
       With(kFull,
            [](TGGA& r) {
              r.GeoidSeparation = 2;
              r.DiffAge = 3;
              r.DiffStation = 42;
            })},
      {"empty satellites", "GPGGA,123519,4807.038,N,01131.000,E,1,,0.9,545.4,M,46.9,M,,",
       TSentenceResult::Invalid,
       With(kPrevious,
            [](TGGA& r) {
              r.Time = kFull.Time;
              r.Latitude = kFull.Latitude;
              r.Longitude = kFull.Longitude;
              r.Quality = 1;
            })},
      {"hex station ID", "GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,1,x1F",
       TSentenceResult::GGA,
       With(kFull,
            [](TGGA& r) {
              r.DiffAge = 1;
              r.DiffStation = 31;
            })},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Legend);
    TNMEA decoder;
    ASSERT_EQ(decoder.Decode(Sentence(kPreviousGGA)), TSentenceResult::GGA);
    ExpectRecord(decoder.GGA, kPrevious);
    EXPECT_EQ(decoder.Decode(Sentence(row.Body)), row.Result);
    ExpectRecord(decoder.GGA, row.Record);
  }
}

// A latitude far beyond any 64-bit count of whole degrees converts to a
// finite number instead of faulting: the number itself over 100.
TEST(DecodeGGA, HugeCoordinateStaysFinite) {
  TNMEA decoder;
  EXPECT_EQ(decoder.Decode(Sentence("GPGGA,123519,1e300,S,1e25,E,1,08,,,M,,M,,")),
            TSentenceResult::GGA);
  EXPECT_DOUBLE_EQ(decoder.GGA.Latitude, -1e298);
  EXPECT_DOUBLE_EQ(decoder.GGA.Longitude, 1e23);
}

const char* const kPreviousRMC = "GPRMC,010203,A,1000.000,N,02000.000,E,5.0,90.0,010120,1.0,E";

TRMC PreviousRMC() {
  return {At(2020, 1, 1, 1, 2, 3), true, 10, 20, 5, 90, 1};
}

TRMC FullRMC() {
  return {At(1994, 3, 23, 12, 35, 19), true, 48.1173, 11.516667, 22.4f, 84.4f, -3.1f};
}

TRMC With(TRMC record, void (*change)(TRMC&)) {
  change(record);
  return record;
}

TEST(DecodeRMC, Fields) {
  const TFixedYear year(2026);
  struct TRow {
    const char* Legend;
    const char* Body;
    TRMC Record;
  };
  const TRow rows[] = {
      {"every field", "GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W",
       FullRMC()},
      {"no fix: fields keep their values, variation empty is 0", "GPRMC,,V,,,,,,,,,",
       With(PreviousRMC(),
            [](TRMC& r) {
              r.Valid = false;
              r.Variation = 0;
            })},
      {"date without time fails, the rest decodes",
       "GPRMC,,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W",
       With(FullRMC(), [](TRMC& r) { r.DateTime = PreviousRMC().DateTime; })},
      {"31 February", "GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,310294,003.1,W",
       With(FullRMC(), [](TRMC& r) { r.DateTime = PreviousRMC().DateTime; })},
      {"year 76 in 2026 is 1976",
       "GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230376,003.1,W",
       With(FullRMC(), [](TRMC& r) { r.DateTime = At(1976, 3, 23, 12, 35, 19); })},
      {"year 75 in 2026 is 2075",
       "GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230375,003.1,W",
       With(FullRMC(), [](TRMC& r) { r.DateTime = At(2075, 3, 23, 12, 35, 19); })},
      {"one-digit year piece", "GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,23039,003.1,W",
       With(FullRMC(), [](TRMC& r) { r.DateTime = At(2009, 3, 23, 12, 35, 19); })},
      {"minutes 3 and a letter: reading stops there",
       "GPRMC,123a19,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W",
       With(FullRMC(), [](TRMC& r) { r.DateTime = At(1994, 3, 23, 12, 3, 0); })},
      {"fraction of seconds dropped",
       "GPRMC,123519.999,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W", FullRMC()},
      {"variation letter X: reported, sign kept",
       "GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,X",
       With(FullRMC(), [](TRMC& r) { r.Variation = 3.1f; })},
      {"variation east", "GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,E",
       With(FullRMC(), [](TRMC& r) { r.Variation = 3.1f; })},
      {"bad N/S: converted without a sign change",
       "GPRMC,123519,A,4807.038,Q,01131.000,W,022.4,084.4,230394,003.1,W",
       With(FullRMC(), [](TRMC& r) { r.Longitude = -11.516667; })},
      {"bad latitude keeps it", "GPRMC,123519,A,48O7.038,S,01131.000,E,022.4,084.4,230394,003.1,W",
       With(FullRMC(), [](TRMC& r) { r.Latitude = 10; })},
      {"empty speed and course keep theirs",
       "GPRMC,123519,A,4807.038,N,01131.000,E,,,230394,003.1,W",
       With(FullRMC(),
            [](TRMC& r) {
              r.Speed = 5;
              r.Course = 90;
            })},
      {"variation beyond single range keeps it, letter not applied",
       "GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,4e38,W",
       With(FullRMC(), [](TRMC& r) { r.Variation = 1; })},
      {"status other than exactly A", "GPRMC,123519,a,4807.038,N,01131.000,E,022.4,084.4,230394,,",
       With(FullRMC(),
            [](TRMC& r) {
              r.Valid = false;
              r.Variation = 0;
            })},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Legend);
    TNMEA decoder;
    ASSERT_EQ(decoder.Decode(Sentence(kPreviousRMC)), TSentenceResult::RMC);
    ExpectRecord(decoder.RMC, PreviousRMC());
    EXPECT_EQ(decoder.Decode(Sentence(row.Body)), TSentenceResult::RMC);
    ExpectRecord(decoder.RMC, row.Record);
  }
}

TEST(DecodeRMC, NoFixLinesNeverWearThePositionAway) {
  TNMEA decoder;
  decoder.Decode(Sentence(kPreviousRMC));
  for (int i = 0; i < 5; ++i) decoder.Decode(Sentence("GPRMC,123519,V,,,,,,,230394,,"));
  EXPECT_EQ(decoder.RMC.Latitude, 10);
  EXPECT_EQ(decoder.RMC.Longitude, 20);
  EXPECT_EQ(decoder.RMC.Speed, 5);
  EXPECT_FALSE(decoder.RMC.Valid);
}

}  // namespace
