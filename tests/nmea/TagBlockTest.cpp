// TAG blocks in front of sentences, as multiplexers and AIS networks send them.

#include <gtest/gtest.h>

#include "nmea/NMEA.h"
#include "nmea/TagBlock.h"

namespace {

TEST(TagBlock, Strip) {
  struct TRow {
    const char* Legend;
    std::string_view Line;
    std::string_view Sentence;
  };
  const TRow rows[] = {
      {"source and time", "\\s:src,c:1700000000*58\\$GPGGA,1*00", "$GPGGA,1*00"},
      {"AIS sentence", "\\g:1-2-73874,c:1*25\\!AIVDM,1,1,,A,1*00", "!AIVDM,1,1,,A,1*00"},
      {"lower-case checksum", "\\s:r3669961,c:1700000000*7c\\$X", "$X"},
      {"no tags, checksum 00", "\\*00\\$GPGGA*56", "$GPGGA*56"},
      {"no block", "$GPRMC,1*00", "$GPRMC,1*00"},
      {"no checksum: left alone", "\\\\$GPGGA*56", "\\\\$GPGGA*56"},
      {"tags without checksum: left alone", "\\s:src\\$X", "\\s:src\\$X"},
      {"wrong checksum: left alone", "\\c:1*69\\$X", "\\c:1*69\\$X"},
      {"one hex digit: left alone", "\\c:1*6\\$X", "\\c:1*6\\$X"},
      {"not hex: left alone", "\\c:1*6G\\$X", "\\c:1*6G\\$X"},
      {"binary bytes between backslashes: left alone", "\\\x01\xB5\x62\\\x7F",
       "\\\x01\xB5\x62\\\x7F"},
      {"block never closes: left alone", "\\s:src$GPGGA*56", "\\s:src$GPGGA*56"},
      {"a backslash later in the line is no block", "$GP\\GGA\\*00", "$GP\\GGA\\*00"},
      {"only the leading block goes", "\\a*61\\\\b*62\\$X", "\\b*62\\$X"},
      {"block alone", "\\c:1*68\\", ""},
      {"lone backslash", "\\", "\\"},
      {"empty line", "", ""},
  };
  for (const TRow& row : rows) EXPECT_EQ(StripTagBlock(row.Line), row.Sentence) << row.Legend;
}

TEST(TagBlock, StrippedSentenceDecodes) {
  TNMEA decoder;
  const std::string_view line =
      "\\s:r3669961,c:1700000000*7C\\"
      "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47";
  EXPECT_NE(decoder.Decode(line), TSentenceResult::GGA) << "with its block the line is no sentence";
  EXPECT_EQ(decoder.Decode(StripTagBlock(line)), TSentenceResult::GGA);
}

}  // namespace
