#include "monitor/SentenceStats.h"

#include <gtest/gtest.h>

#include <string>

#include "nmea/NMEA.h"
#include "nmea/SkyModel.h"

namespace {

TEST(SentenceAddress, RowsAreKeyedAsTheWindowShowsThem) {
  const std::pair<const char*, const char*> cases[] = {
      {"$GPGGA,123519,4807.038,N*47", "GPGGA"},  // talker and type
      {"!AIVDM,1,1,,B,15M67N,0*5C", "AIVDM"},    // encapsulated sentences start with "!"
      {"$PGRME,15.0,M*1B", "PGRME"},             // proprietary
      {"$GPGGA*47", "GPGGA"},                    // "*" ends the address too
      {"$GNRMC", "GNRMC"},                       // so does the line's end
      {"$,1,2", ""},                             // nothing before the first comma
      {"GPGGA,1,2*00", ""},                      // no leading "$": not a sentence
      {" $GPGGA,1", ""},                         // leading noise
      {"", ""},
      {"$ABCDEFGHIJKLMNOPQRSTUVWXYZ,1", "ABCDEFGHIJKLMNOP"},  // noise: cut at 16, as --stats does
  };
  for (const auto& [line, address] : cases) EXPECT_EQ(SentenceAddress(line), address) << line;
}

// Lines through the decoder and the sky model as the receive loop takes
// them, in order, and what each counts as.
TEST(LineFault, AccusesOnlyWhatIsWrong) {
  struct TCase {
    const char* Legend;
    const char* Line;
    TLineFault Fault;
  };
  const TCase cases[] = {
      {"a capture's header line", "# u-blox M8 capture, 2020-07-11", TLineFault::None},
      {"noise", "\x13\x7f GA,12", TLineFault::None},
      {"AIS with its checksum", "!AIVDM,1,1,,B,15M67N0000G?Uf6E`FepT@3n00Sa,0*53",
       TLineFault::None},
      {"AIS, checksum wrong", "!AIVDM,1,1,,B,15M67N0000G?Uf6E`FepT@3n00Sa,0*54",
       TLineFault::BadChecksum},
      {"no \"*\"", "$GPZDA,201530.00,04,07,2002,00,00", TLineFault::BadChecksum},
      {"checksum wrong", "$GPZDA,201530.00,04,07,2002,00,00*61", TLineFault::BadChecksum},
      {"a type not decoded", "$GPZDA,201530.00,04,07,2002,00,00*60", TLineFault::None},
      {"GGA the decoder rejects",
       "$GPGGA,123519,4807.038,Q,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*58", TLineFault::Invalid},
      {"GSV 1 of 4", "$GPGSV,4,1,16,01,10,020,30,02,20,040,31,03,30,060,32,04,40,080,33*73",
       TLineFault::None},
      {"GSV 2 of 4", "$GPGSV,4,2,16,05,10,020,30,06,20,040,31,07,30,060,32,08,40,080,33*78",
       TLineFault::None},
      {"GSV 3 of 4", "$GPGSV,4,3,16,09,10,020,30,10,20,040,31,11,30,060,32,12,40,080,33*7E",
       TLineFault::None},
      {"GSV 4 of 4: past the fix display's slots, good NMEA",
       "$GPGSV,4,4,16,13,10,020,30,14,20,040,31,15,30,060,32,16,40,080,33*76", TLineFault::None},
      {"GSV 4 of 3", "$GPGSV,3,4,16,13,10,020,30*4B", TLineFault::Invalid},
      {"GSV cut inside a satellite", "$GPGSV,1,1,04,01,10,020,30,02*62", TLineFault::Invalid},
      {"no type, as a binary frame glued to text leaves", "$*", TLineFault::None},
      {"a start alone", "$", TLineFault::BadChecksum},
      {"AIS with nothing in it", "!*", TLineFault::None},
      {"a talker cut short", "$G*", TLineFault::BadChecksum},
  };
  TNMEA decoder;
  TSkyModel sky;
  for (const TCase& c : cases) {
    const TSentenceResult decoded = decoder.Decode(c.Line);
    EXPECT_EQ(LineFault(c.Line, decoded, sky.Take(c.Line)), c.Fault) << c.Legend;
  }
}

TEST(SentenceStats, CountsEachLineInOneRowAndTheTotal) {
  TSentenceStats stats;
  struct TRow {
    const char* Line;
    TLineFault Result;
  };
  const TRow lines[] = {
      {"$GPGGA,1*00", TLineFault::None},           {"$GPGGA,2*00", TLineFault::BadChecksum},
      {"$GPGGA,3*00", TLineFault::Invalid},        {"!AIVDM,1*00", TLineFault::None},
      {"garbage", TLineFault::BadChecksum},        {"$GPRMC,1*00", TLineFault::None},
      {"\xff\xfe noise", TLineFault::BadChecksum},
  };
  uint32_t tick = 100;
  for (const TRow& row : lines) stats.Count(row.Line, row.Result, tick += 10);
  const auto sorted = stats.SortedRows();
  ASSERT_EQ(sorted.size(), 4u);
  struct TExpected {
    const char* Address;
    uint64_t Count, Bad, Invalid;
    const char* Last;
    uint32_t LastMs;
  };
  const TExpected expected[] = {
      {"", 2, 2, 0, "\xff\xfe noise", 170},  // the empty address sorts first
      {"AIVDM", 1, 0, 0, "!AIVDM,1*00", 140},
      {"GPGGA", 3, 1, 1, "$GPGGA,3*00", 130},
      {"GPRMC", 1, 0, 0, "$GPRMC,1*00", 160},
  };
  for (size_t i = 0; i < sorted.size(); ++i) {
    EXPECT_EQ(sorted[i]->Address, expected[i].Address);
    EXPECT_EQ(sorted[i]->Count, expected[i].Count) << expected[i].Address;
    EXPECT_EQ(sorted[i]->BadChecksum, expected[i].Bad) << expected[i].Address;
    EXPECT_EQ(sorted[i]->Invalid, expected[i].Invalid) << expected[i].Address;
    EXPECT_EQ(sorted[i]->LastLine, expected[i].Last) << expected[i].Address;
    EXPECT_EQ(sorted[i]->LastSeenMs, expected[i].LastMs) << expected[i].Address;
  }
  EXPECT_EQ(stats.Total().Count, 7u);
  EXPECT_EQ(stats.Total().BadChecksum, 3u);
  EXPECT_EQ(stats.Total().Invalid, 1u);
  EXPECT_EQ(stats.Total().LastLine, "\xff\xfe noise");
}

// Lines arriving at a steady rate, read at a time nowMs after the first line.
TEST(SentenceStats, LinesPerSecondOverTheLastTenSeconds) {
  struct TCase {
    const char* Legend;
    uint32_t StartMs;  // the tick of the first line
    uint32_t EveryMs;  // 0: a single line
    uint32_t UntilMs;  // lines until this long after the first
    uint32_t ReadMs;   // read this long after the first
    double Rate;
  };
  const TCase cases[] = {
      {"steady 5 lines/s, read mid-second", 1000, 200, 30500, 30500, 5.0},
      {"steady 5 lines/s, read on a second mark", 1000, 200, 30000, 30000, 5.0},
      {"the tick wraps inside the window", 0xFFFFF000u, 200, 30500, 30500, 5.0},
      {"a source that stopped 5 s ago", 1000, 100, 30000, 35000, 5.0},
      {"a source that stopped 11 s ago", 1000, 100, 30000, 41000, 0.0},
      {"the first 2 s", 1000, 100, 1900, 2000, 10.0},
      {"one line, read at once", 1000, 0, 0, 0, 1.0},
  };
  for (const TCase& c : cases) {
    TSentenceStats stats;
    uint32_t at = 0;
    do {
      stats.Count("$GPGGA,1*00", TLineFault::None, c.StartMs + at);
      at += c.EveryMs;
    } while (c.EveryMs != 0 && at <= c.UntilMs);
    const uint32_t now = c.StartMs + c.ReadMs;
    EXPECT_NEAR(stats.LinesPerSecond(stats.Rows()[0], now), c.Rate, 0.15) << c.Legend;
    EXPECT_NEAR(stats.LinesPerSecond(stats.Total(), now), c.Rate, 0.15) << c.Legend;
  }
}

TEST(SentenceStats, SinceLastSeenAcrossTheTickWrap) {
  TSentenceStats stats;
  stats.Count("$GPGGA,1*00", TLineFault::None, 0xFFFFFF00u);
  EXPECT_EQ(TSentenceStats::MsSinceLastSeen(stats.Rows()[0], 0x100u), 0x200u);
  EXPECT_EQ(TSentenceStats::MsSinceLastSeen(stats.Rows()[0], 0xFFFFFE00u), 0u);  // before it
}

TEST(SentenceStats, ResetForgetsEverything) {
  TSentenceStats stats;
  stats.Count("$GPGGA,1*00", TLineFault::BadChecksum, 5);
  stats.AddDropped(4096);
  stats.Reset();
  EXPECT_TRUE(stats.Rows().empty());
  EXPECT_EQ(stats.Total().Count, 0u);
  EXPECT_EQ(stats.DroppedBytes(), 0u);
  stats.Count("$GPGGA,1*00", TLineFault::None, 10);
  ASSERT_EQ(stats.Rows().size(), 1u);
  EXPECT_EQ(stats.Rows()[0].BadChecksum, 0u);
}

// Line noise makes a new address of nearly every line; the table stays usable.
TEST(SentenceStats, NewAddressesPastTheLimitCountAsNotSentences) {
  TSentenceStats stats(3);
  for (const char* line : {"$A,", "$B,", "$C,", "$D,", "$A,"})
    stats.Count(line, TLineFault::Invalid, 0);
  const auto sorted = stats.SortedRows();
  ASSERT_EQ(sorted.size(), 4u);
  EXPECT_EQ(sorted[0]->Address, "");
  EXPECT_EQ(sorted[0]->Count, 1u);
  EXPECT_EQ(sorted[1]->Count, 2u);
  EXPECT_EQ(stats.Total().Count, 5u);
}

TEST(SentenceStats, LastLineIsKeptShort) {
  TSentenceStats stats;
  stats.Count("$GPGGA," + std::string(100000, 'x'), TLineFault::BadChecksum, 0);
  EXPECT_EQ(stats.Rows()[0].LastLine.size(), TSentenceStats::kLastLineLimit);
}

TEST(SentenceStats, CsvHasTheHeaderRowsByAddressAndTheTotal) {
  TSentenceStats stats;
  for (int i = 0; i < 4; ++i)
    stats.Count("$GPGGA,1*00", i == 0 ? TLineFault::BadChecksum : TLineFault::None, i * 500);
  stats.Count("noise, \"quoted\"", TLineFault::BadChecksum, 1500);
  stats.Count("$GP\"X\",1", TLineFault::Invalid, 1500);
  EXPECT_EQ(stats.Csv(2000),
            "Address,Count,Lines/s,Bad checksums,Bad checksum %,Invalid,Last seen s\n"
            "(not a sentence),1,0.5,1,100.0,0,0.5\n"
            "\"GP\"\"X\"\"\",1,0.5,0,0.0,1,0.5\n"
            "GPGGA,4,2.0,1,25.0,0,0.5\n"
            "Total,6,3.0,2,33.3,1,0.5\n");
  EXPECT_EQ(TSentenceStats().Csv(0),
            "Address,Count,Lines/s,Bad checksums,Bad checksum %,Invalid,Last seen s\n"
            "Total,0,0.0,0,0.0,0,\n");
}

}  // namespace
