// GSV cycles over the twelve slots, GSA and RME.

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "nmea/NMEA.h"
#include "tests/nmea/Sentences.h"

namespace {

using testing_nmea::Sentence;

TSatellite Sat(int prn) {
  return {prn, prn + 1, prn + 2, prn + 3};
}

std::string SatFields(int prn) {
  // Appended, not "," + ...: GCC 12 at -O3 warns falsely (-Wrestrict) about a
  // literal added to a temporary string.
  std::string fields;
  for (int value : {prn, prn + 1, prn + 2, prn + 3}) {
    fields += ',';
    fields += std::to_string(value);
  }
  return fields;
}

// Message number of a cycle announcing `inView` satellites numbered from `firstPrn`.
std::string GsvMessage(int count, int number, int inView, int firstPrn) {
  std::string body = "GPGSV," + std::to_string(count) + "," + std::to_string(number) + "," +
                     std::to_string(inView);
  for (int k = 4 * (number - 1); k < std::min(4 * number, inView); ++k)
    body += SatFields(firstPrn + k * 10);
  return Sentence(body);
}

TEST(DecodeGSV, CyclesFillAndKeepSlots) {
  TNMEA decoder;
  for (int n = 1; n <= 3; ++n)
    ASSERT_EQ(decoder.Decode(GsvMessage(3, n, 11, 100)), TSentenceResult::GSV);
  TGSV expected{3, 3, 11, {}};
  for (int k = 0; k < 11; ++k) expected.Sats[k] = Sat(100 + k * 10);
  EXPECT_EQ(decoder.GSV, expected) << "slot 12 written with zeros by the short third message";

  // Fewer satellites: the second message writes slot 5 and zeros into 6 to 8;
  // slots 9 to 11 are stale, and only SatsInView says so.
  for (int n = 1; n <= 2; ++n)
    ASSERT_EQ(decoder.Decode(GsvMessage(2, n, 5, 500)), TSentenceResult::GSV);
  TGSV afterDrop = expected;
  afterDrop.MessageCount = 2;
  afterDrop.MessageNumber = 2;
  afterDrop.SatsInView = 5;
  for (int k = 0; k < 8; ++k) afterDrop.Sats[k] = k < 5 ? Sat(500 + k * 10) : TSatellite{};
  EXPECT_EQ(decoder.GSV, afterDrop);
}

TEST(DecodeGSV, HeaderAndSatelliteFields) {
  struct TRow {
    const char* Legend;
    const char* Body;
    TSentenceResult Result;
    TGSV Record;
  };
  // Every row starts from a full first message: header 3,1,11 and slots 1-4 of Sat(1..4).
  const TGSV start{3, 1, 11, {Sat(1), Sat(2), Sat(3), Sat(4)}};
  const TRow rows[] = {
      {"fourth message: stored, rejected, no slot written",
       "GPGSV,4,4,16,09,10,100,40",
       TSentenceResult::Invalid,
       {4, 4, 11, start.Sats}},
      {"message number 0",
       "GPGSV,3,0,11,09,10,100,40",
       TSentenceResult::Invalid,
       {3, 0, 11, start.Sats}},
      {"message number not an integer", "GPGSV,3,x,12,09,10,100,40", TSentenceResult::Invalid,
       start},
      {"count not an integer", "GPGSV,,1,12,09,10,100,40", TSentenceResult::Invalid, start},
      {"empty satellites in view",
       "GPGSV,2,1,,09,10,100,40",
       TSentenceResult::Invalid,
       {2, 1, 11, start.Sats}},
      {"empty SNR and a bad elevation give 0",
       "GPGSV,1,1,02,09,1.5,100,,07,20,200,30",
       TSentenceResult::GSV,
       {1, 1, 2, {TSatellite{9, 0, 100, 0}, TSatellite{7, 20, 200, 30}, {}, {}}}},
      {"no relation between header fields is checked",
       "GPGSV,1,3,99",
       TSentenceResult::GSV,
       {1, 3, 99, {Sat(1), Sat(2), Sat(3), Sat(4)}}},
  };
  for (const TRow& row : rows) {
    TNMEA decoder;
    ASSERT_EQ(decoder.Decode(Sentence("GPGSV,3,1,11" + SatFields(1) + SatFields(2) + SatFields(3) +
                                      SatFields(4))),
              TSentenceResult::GSV);
    ASSERT_EQ(decoder.GSV, start);
    EXPECT_EQ(decoder.Decode(Sentence(row.Body)), row.Result) << row.Legend;
    EXPECT_EQ(decoder.GSV, row.Record) << row.Legend;
  }
}

TEST(DecodeGSA, Fields) {
  struct TRow {
    const char* Legend;
    const char* Body;
    TGSA Record;
  };
  const TRow rows[] = {
      {"manual 3D with five satellites",
       "GPGSA,M,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1",
       {"M", 3, {4, 5, 0, 9, 12, 0, 0, 24, 0, 0, 0, 0}, 2.5f, 1.3f, 2.1f}},
      {"every field empty", "GPGSA,,,,,,,,,,,,,,,,,", {"", 0, {}, 0, 0, 0}},
      {"PRN keeps its low 8 bits, bad ones are 0",
       "GPGSA,A,2,300,x,-1,,,,,,,,,,1.0,abc,1e39",
       {"A", 2, {44, 0, 255}, 1, 0, 0}},
      {"sentence cut short", "GPGSA,A", {"A", 0, {}, 0, 0, 0}},
      {"mode kept exactly as sent", "GPGSA, a ,1", {" a ", 1, {}, 0, 0, 0}},
  };
  for (const TRow& row : rows) {
    TNMEA decoder;
    decoder.Decode(Sentence("GPGSA,A,3,01,02,03,04,05,06,07,08,09,10,11,12,9.9,9.9,9.9"));
    EXPECT_EQ(decoder.Decode(Sentence(row.Body)), TSentenceResult::GSA) << row.Legend;
    EXPECT_EQ(decoder.GSA, row.Record) << row.Legend;
  }
}

TEST(DecodeRME, Fields) {
  struct TRow {
    const char* Legend;
    const char* Body;
    TRME Record;
  };
  const TRow rows[] = {
      {"three values with units", "PGRME,15.0,M,45.0,M,25.0,M", {15, 45, 25}},
      {"empty values", "PGRME,,M,,M,,M", {0, 0, 0}},
      {"beyond single range and not a number are 0", "PGRME,1e39,M,-1e39,M,x,M", {0, 0, 0}},
      {"largest single still fits",
       "PGRME,3.4028235e38,M,1e-50,M,-0.5,M",
       {3.4028235e38f, 0, -0.5f}},
  };
  for (const TRow& row : rows) {
    TNMEA decoder;
    decoder.Decode(Sentence("PGRME,1,M,2,M,3,M"));
    EXPECT_EQ(decoder.Decode(Sentence(row.Body)), TSentenceResult::RME) << row.Legend;
    EXPECT_EQ(decoder.RME, row.Record) << row.Legend;
  }
}

}  // namespace
