// Framing: the checksum test, the type at characters 4 to 6, field access.

#include <gtest/gtest.h>

#include <string>

#include "nmea/Fields.h"
#include "nmea/NMEA.h"
#include "tests/nmea/Sentences.h"

namespace {

using testing_nmea::Sentence;

const std::string kGGA = Sentence("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,");

std::string WithLastChar(std::string line, char ch) {
  line.back() = ch;
  return line;
}

std::string LowerCaseChecksum(std::string line) {
  for (size_t i = line.find('*'); i < line.size(); ++i)
    line[i] = static_cast<char>(tolower(line[i]));
  return line;
}

TEST(ChecksumValid, FramingAndDigits) {
  struct TRow {
    const char* Legend;
    std::string Line;
    bool Valid;
  };
  const TRow rows[] = {
      {"XOR of the text between $ and *", "$A*41", true},
      {"lower-case hex digits", "$J*4a", true},
      {"one digit compares as a value below 16", "$AB*3", true},
      {"a non-hex character counts as digit 0", "$A1*7g", true},
      {"text after the two digits is ignored", "$A*41,123456", true},
      {"text before the $ is not summed", "~123,$A*41", true},
      {"the first $ starts the sum", "$A$B*27", true},
      {"the first * ends it", "$A*41*00", true},
      {"empty sum, empty digits", "$*", true},
      {"* before $: the sum is 0", "*$", true},
      {"wrong value", "$A*40", false},
      {"no digits compare as 0", "$A*", false},
      {"the checksum is mandatory", "$A", false},
      {"no $", "A*41", false},
      {"empty line", "", false},
      {"lone *", "*", false},
  };
  const TNMEA decoder;
  for (const TRow& row : rows) {
    EXPECT_EQ(decoder.ChecksumValid(row.Line), row.Valid) << row.Legend;
  }
}

TEST(Decode, ResultCodes) {
  struct TRow {
    const char* Legend;
    std::string Line;
    TSentenceResult Result;
  };
  const TRow rows[] = {
      {"good GGA", kGGA, TSentenceResult::GGA},
      {"one checksum digit changed", WithLastChar(kGGA, kGGA.back() == '0' ? '1' : '0'),
       TSentenceResult::BadChecksum},
      {"checksum digits in lower case", LowerCaseChecksum(kGGA), TSentenceResult::GGA},
      {"no * and digits", kGGA.substr(0, kGGA.find('*')), TSentenceResult::BadChecksum},
      {"a comma and a timestamp after the checksum", kGGA + ",1234567", TSentenceResult::GGA},
      {"$* alone", "$*", TSentenceResult::Unrecognised},
      {"timestamp before the $ moves the type", "~123," + kGGA, TSentenceResult::Unrecognised},
      {"type in lower case", Sentence("gpgga,123519,4807.038,N,01131.000,E,1,08,,,M,,M,,"),
       TSentenceResult::Unrecognised},
      {"another talker", Sentence("GNGGA,123519,4807.038,N,01131.000,E,1,08,,,M,,M,,"),
       TSentenceResult::GGA},
      {"a type not decoded", Sentence("GPZDA,123519,23,03,1994,,"), TSentenceResult::Unrecognised},
      {"proprietary RME", Sentence("PGRME,15.0,M,45.0,M,25.0,M"), TSentenceResult::RME},
      {"short line with a good checksum", Sentence("GP"), TSentenceResult::Unrecognised},
      {"GGA failing a field", Sentence("GPGGA,,,,,,0,,,,,,,,"), TSentenceResult::Invalid},
      {"RMC whatever its fields", Sentence("GPRMC,,V,,,,,,,,,"), TSentenceResult::RMC},
      {"GSV", Sentence("GPGSV,1,1,01,05,40,083,46"), TSentenceResult::GSV},
      {"GSA", Sentence("GPGSA,A,3,,,,,,,,,,,,,,,"), TSentenceResult::GSA},
  };
  for (const TRow& row : rows) {
    TNMEA decoder;
    EXPECT_EQ(decoder.Decode(row.Line), row.Result) << row.Legend;
  }
}

TEST(Decode, FailedChecksumChangesNothing) {
  TNMEA decoder;
  decoder.Decode(WithLastChar(kGGA, kGGA.back() == '0' ? '1' : '0'));
  EXPECT_EQ(decoder.GGA, TGGA{});
}

// Every decoder reads its fields through one split, which looks at the line
// eight characters at a time: the rows put separators in either half of a
// word and across words.
TEST(Fields, FieldBoundaries) {
  struct TRow {
    const char* Legend;
    size_t Index;
    std::string_view Line;
    std::string_view Field;
  };
  using namespace std::string_view_literals;
  const std::string kGGAWithExtras = kGGA + ",extra,,fields";
  const TRow rows[] = {
      {"address field", 0, "$GPXXX,A,3,04*5C", "$GPXXX"},
      {"first field", 1, "$GPXXX,A,3,04*5C", "A"},
      {"the * ends the last field", 3, "$GPXXX,A,3,04*5C", "04"},
      {"a field the sentence lacks", 4, "$GPXXX,A,3,04*5C", ""},
      {"empty field between commas", 2, "$GP,a,,b*00", ""},
      {"commas after the * count", 2, "$GP,a*12,ts", "ts"},
      {"a second * closes nothing more", 3, "$GP,,,,*,,*,", ""},
      {"no commas at all", 0, "no commas", "no commas"},
      {"only commas", 3, ",,,,", ""},
      {"only stars", 0, "***", ""},
      {"empty line", 0, "", ""},
      {"trailing comma", 2, "$GP,a,", ""},
      {"a NUL is text", 1, "$GP,\0,a*b,c"sv, "\0"sv},
      {"text behind a * in the next word", 2, "$GP,\0,a*b,c"sv, "a"},
      {"a field across two words", 1, "$GPXXX,123456789012,x*00", "123456789012"},
      {"a field after several words", 9, kGGAWithExtras, "545.4"},
      {"text behind the checksum", 15, kGGAWithExtras, "extra"},
  };
  for (const TRow& row : rows) {
    const nmea::TFields<24> fields(row.Line);
    EXPECT_EQ(fields[row.Index], row.Field) << row.Legend;
  }
}

}  // namespace
