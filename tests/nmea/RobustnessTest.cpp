// Whatever arrives on the line, Decode returns a code and the records hold
// finite numbers: the display and the command-line tool print them as they are.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "nmea/NMEA.h"
#include "tests/nmea/Sentences.h"

namespace {

using testing_nmea::Sentence;

void ExpectFinite(const TNMEA& d) {
  const double values[] = {d.GGA.Time,      d.GGA.Latitude, d.GGA.Longitude,
                           d.GGA.HDOP,      d.GGA.Altitude, d.GGA.GeoidSeparation,
                           d.GGA.DiffAge,   d.RMC.DateTime, d.RMC.Latitude,
                           d.RMC.Longitude, d.RMC.Speed,    d.RMC.Course,
                           d.RMC.Variation, d.GSA.PDOP,     d.GSA.HDOP,
                           d.GSA.VDOP,      d.RME.HPE,      d.RME.VPE,
                           d.RME.EPE};
  for (double value : values) EXPECT_TRUE(std::isfinite(value)) << value;
}

TEST(Robustness, HostileLines) {
  const std::string megabyte(1 << 20, ',');
  struct TRow {
    const char* Legend;
    std::string Line;
    TSentenceResult Result;
  };
  const TRow rows[] = {
      {"lone $", "$", TSentenceResult::BadChecksum},
      {"lone *", "*", TSentenceResult::BadChecksum},
      {"megabyte of commas", "$GPGGA" + megabyte + "*00", TSentenceResult::BadChecksum},
      {"megabyte GSV with a good checksum", Sentence("GPGSV,1,1,1" + megabyte),
       TSentenceResult::GSV},
      {"megabyte of digits in a field",
       Sentence("GPGGA,123519," + std::string(1 << 20, '9') + ",N,00000,E,1,1,,,,,,,"),
       TSentenceResult::Invalid},
      {"NUL bytes inside", Sentence(std::string("GPGSA,A\0,3", 10)), TSentenceResult::GSA},
      {"bytes above 127", Sentence("GPRMC,\xff\x80,A,\xc8,N,,,,,\xe9\xe9,,"), TSentenceResult::RMC},
      {"numbers far beyond any range",
       Sentence("GPGGA,000000,1e4000,N,1e99999999999999999999,E,1,1,1e-99999,,,,,,"),
       TSentenceResult::Invalid},
      {"GSA values beyond single and extended range",
       Sentence("GPGSA,A,99999999999,1e39,,,,,,,,,,,,1e38,-1e39,1e5000"), TSentenceResult::GSA},
      {"RME values beyond single range", Sentence("PGRME,1e39,M,-3.5e38,M,1e-46,M"),
       TSentenceResult::RME},
      {"RMC values beyond single range",
       Sentence("GPRMC,000000,A,1e308,S,-1e308,W,1e39,-1e39,010120,1e39,W"), TSentenceResult::RMC},
      {"type cut short", "$G*47", TSentenceResult::Unrecognised},
      {"only two digits after * are read", "$*00FFFFFFFFFF", TSentenceResult::Unrecognised},
  };
  for (const TRow& row : rows) {
    TNMEA decoder;
    EXPECT_EQ(decoder.Decode(row.Line), row.Result) << row.Legend;
    ExpectFinite(decoder);
  }
}

}  // namespace
