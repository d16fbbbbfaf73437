// Used marks: GSA sets by talker and system ID, epochs that clear them, and
// what a display shows: the last completed epoch. Entries are written as in
// SkyModelTest.cpp.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "nmea/SkyModel.h"
#include "tests/nmea/Sentences.h"

namespace {

using testing_nmea::Sentence;

// Only the satellites and their used marks: "GPS 1:0 U".
std::string Marks(const std::vector<TSkyEntry>& entries) {
  std::string text;
  for (const TSkyEntry& entry : entries) {
    if (!text.empty()) text += "; ";
    text += std::string(SkySystemName(entry.System)) + " " + std::to_string(entry.Satellite) + ":" +
            std::to_string(entry.Signal);
    if (entry.Used) text += " U";
  }
  return text;
}

std::string Marks(const TSkyModel& sky) {
  return Marks(sky.Entries());
}

void TakeAll(TSkyModel& sky, const std::vector<std::string>& bodies) {
  for (const std::string& body : bodies) sky.Take(Sentence(body));
}

// Satellites of four systems in view, some on two signals.
const std::vector<std::string> kInView = {
    "GPGSV,1,1,04,05,40,083,46,13,22,062,23,44,45,171,45,70,10,100,20,1",
    "GPGSV,1,1,01,05,40,083,41,7",
    "GLGSV,1,1,02,66,09,027,,82,51,077,39,1",
    "GAGSV,1,1,01,03,44,149,40,7",
    "GBGSV,1,1,01,03,78,059,44,1",
};

TEST(SkyUsed, GsaSets) {
  struct TRow {
    const char* Legend;
    std::vector<std::string> Gsa;
    const char* Expected;
  };
  const TRow rows[] = {
      {"system IDs (NMEA 4.10): GPS lists SBAS too; each system's numbers its own",
       {"GNGSA,A,3,05,44,,,,,,,,,,,1.0,0.5,0.8,1", "GNGSA,A,3,82,,,,,,,,,,,,1.0,0.5,0.8,2",
        "GNGSA,A,3,03,,,,,,,,,,,,1.0,0.5,0.8,3"},
       "GPS 5:1 U; GPS 5:7 U; GPS 13:1; SBAS 131:1 U; GLONASS 2:1; GLONASS 6:1; "
       "GLONASS 18:1 U; Galileo 3:7 U; BeiDou 3:1"},
      {"BeiDou's system ID: 3 is BeiDou's own 3, not Galileo's",
       {"GNGSA,A,3,03,,,,,,,,,,,,1.0,0.5,0.8,4"},
       "GPS 5:1; GPS 5:7; GPS 13:1; SBAS 131:1; GLONASS 2:1; GLONASS 6:1; GLONASS 18:1; "
       "Galileo 3:7; BeiDou 3:1 U"},
      {"without system IDs the numbers decide, as in a GN stream before NMEA 4.10",
       {"GNGSA,A,3,05,13,,,,,,,,,,,1.0,0.5,0.8", "GNGSA,A,3,70,82,,,,,,,,,,,1.0,0.5,0.8"},
       "GPS 5:1 U; GPS 5:7 U; GPS 13:1 U; SBAS 131:1; GLONASS 2:1; GLONASS 6:1 U; "
       "GLONASS 18:1 U; Galileo 3:7; BeiDou 3:1"},
      {"without system IDs, one GSA per system: each replaces its own system's only",
       {"GNGSA,A,3,05,,,,,,,,,,,,1.0,0.5,0.8", "GNGSA,A,3,13,44,,,,,,,,,,,1.0,0.5,0.8",
        "GNGSA,A,3,70,,,,,,,,,,,,1.0,0.5,0.8"},
       "GPS 5:1; GPS 5:7; GPS 13:1 U; SBAS 131:1 U; GLONASS 2:1; GLONASS 6:1 U; "
       "GLONASS 18:1; Galileo 3:7; BeiDou 3:1"},
      {"a GSA replaces the one before of its talker and system ID only",
       {"GNGSA,A,3,05,,,,,,,,,,,,1.0,0.5,0.8,1", "GNGSA,A,3,13,,,,,,,,,,,,1.0,0.5,0.8,1",
        "GNGSA,A,3,82,,,,,,,,,,,,1.0,0.5,0.8,2", "GPGSA,A,3,44,,,,,,,,,,,,1.0,0.5,0.8"},
       "GPS 5:1; GPS 5:7; GPS 13:1 U; SBAS 131:1 U; GLONASS 2:1; GLONASS 6:1; "
       "GLONASS 18:1 U; Galileo 3:7; BeiDou 3:1"},
      {"a system talker decides without an ID; empty, zero and unreadable numbers name none",
       {"GLGSA,A,3,82,0,,x,,,,,,,,,1.0,0.5,0.8"},
       "GPS 5:1; GPS 5:7; GPS 13:1; SBAS 131:1; GLONASS 2:1; GLONASS 6:1; GLONASS 18:1 U; "
       "Galileo 3:7; BeiDou 3:1"},
      {"an unknown system ID leaves the talker to decide",
       {"GNGSA,A,3,05,,,,,,,,,,,,1.0,0.5,0.8,9"},
       "GPS 5:1 U; GPS 5:7 U; GPS 13:1; SBAS 131:1; GLONASS 2:1; GLONASS 6:1; GLONASS 18:1; "
       "Galileo 3:7; BeiDou 3:1"},
      {"fewer than 17 fields: skipped",
       {"GNGSA,A,3,05,,,,,,,,,,,,1.0,0.5"},
       "GPS 5:1; GPS 5:7; GPS 13:1; SBAS 131:1; GLONASS 2:1; GLONASS 6:1; GLONASS 18:1; "
       "Galileo 3:7; BeiDou 3:1"},
  };
  for (const TRow& row : rows) {
    TSkyModel sky;
    TakeAll(sky, kInView);
    TakeAll(sky, row.Gsa);
    EXPECT_EQ(Marks(sky), row.Expected) << row.Legend;
  }
}

// The model's marks go with the epoch; a display shows the last completed
// epoch that had a GSV or GSA, never one being assembled.
TEST(SkyUsed, EpochsClearMarksAndDisplaysShowTheLastComplete) {
  TSkyModel sky;
  TakeAll(sky, {"GPGSV,1,1,02,01,10,100,30,02,20,200,30", "GPRMC,120000.00,A",
                "GPGSA,A,3,01,02,,,,,,,,,,,1.0,0.5,0.8"});
  EXPECT_EQ(Marks(sky), "GPS 1:0 U; GPS 2:0 U");
  EXPECT_EQ(Marks(sky.ShownEntries()), "GPS 1:0; GPS 2:0") << "the GSV before the first time";
  struct TStep {
    const char* Legend;
    std::string Body;
    const char* Model;
    const char* Shown;
    bool ShownChanges;
  };
  const TStep steps[] = {
      {"the same time again is the same epoch", "GPGGA,120000.00,,", "GPS 1:0 U; GPS 2:0 U",
       "GPS 1:0; GPS 2:0", false},
      {"an empty time field begins nothing", "GPGGA,,,", "GPS 1:0 U; GPS 2:0 U", "GPS 1:0; GPS 2:0",
       false},
      {"a new time: the model clears, the display shows the epoch that ended", "GPGGA,120001.00,,",
       "GPS 1:0; GPS 2:0", "GPS 1:0 U; GPS 2:0 U", true},
      {"a GSV series of the new epoch is not shown yet",
       "GPGSV,1,1,03,01,11,101,31,02,21,201,31,03,,,", "GPS 1:0; GPS 2:0; GPS 3:0",
       "GPS 1:0 U; GPS 2:0 U", false},
      {"nor is its first GSA", "GPGSA,A,3,02,03,,,,,,,,,,,1.0,0.5,0.8",
       "GPS 1:0; GPS 2:0 U; GPS 3:0 U", "GPS 1:0 U; GPS 2:0 U", false},
      {"GLL's time (its fifth field) completes the epoch",
       "GPGLL,4807.038,N,01131.000,E,120002.00,A", "GPS 1:0; GPS 2:0; GPS 3:0",
       "GPS 1:0; GPS 2:0 U; GPS 3:0 U", true},
      {"an epoch without GSV or GSA is not shown", "GNGNS,120003.00,4807.038,N",
       "GPS 1:0; GPS 2:0; GPS 3:0", "GPS 1:0; GPS 2:0 U; GPS 3:0 U", false},
      {"a GSA being assembled", "GPGSA,A,3,01,,,,,,,,,,,,1,1,1", "GPS 1:0 U; GPS 2:0; GPS 3:0",
       "GPS 1:0; GPS 2:0 U; GPS 3:0 U", false},
      {"shown once its epoch ends", "GPRMC,120004.00,A", "GPS 1:0; GPS 2:0; GPS 3:0",
       "GPS 1:0 U; GPS 2:0; GPS 3:0", true},
  };
  for (const TStep& step : steps) {
    const uint64_t revision = sky.ShownRevision();
    sky.Take(Sentence(step.Body));
    EXPECT_EQ(Marks(sky), step.Model) << step.Legend;
    EXPECT_EQ(Marks(sky.ShownEntries()), step.Shown) << step.Legend;
    EXPECT_EQ(sky.ShownRevision() != revision, step.ShownChanges) << step.Legend;
  }
  const auto counts = sky.ShownCounts();
  EXPECT_EQ(counts[0].InView, 3);
  EXPECT_EQ(counts[0].Used, 1);

  // The end of the input completes the epoch in progress, one with a GSA.
  sky.Take(Sentence("GPGSA,A,3,03,,,,,,,,,,,,1,1,1"));
  sky.EndEpoch();
  EXPECT_EQ(Marks(sky.ShownEntries()), "GPS 1:0; GPS 2:0; GPS 3:0 U") << "the end of the input";
}

// --sky prints each epoch from this hook: it must see the ending epoch whole.
TEST(SkyUsed, EpochHandlerSeesTheEpochThatEnds) {
  TSkyModel sky;
  std::vector<std::string> seen;
  sky.SetEpochHandler([&] {
    seen.push_back(std::string(sky.EpochTime().value_or("null")) + " " + Marks(sky) +
                   (sky.EpochHasSky() ? " sky" : ""));
  });
  TakeAll(sky, {"GPGSV,1,1,01,01,10,100,30", "GPGGA,000001,,", "GPGGA,000002,,",
                "GPGSA,A,3,01,,,,,,,,,,,,1,1,1", "GPRMC,000003,A"});
  const std::vector<std::string> expected = {"null GPS 1:0 sky", "000001 GPS 1:0",
                                             "000002 GPS 1:0 U sky"};
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(Marks(sky), "GPS 1:0");
  EXPECT_EQ(Marks(sky.ShownEntries()), "GPS 1:0 U");
  EXPECT_FALSE(sky.EpochHasSky());
}

TEST(SkyUsed, ClearForgetsEverything) {
  TSkyModel sky;
  TakeAll(sky, kInView);
  TakeAll(sky, {"GPGGA,000001,,", "GNGSA,A,3,05,,,,,,,,,,,,1.0,0.5,0.8,1"});
  const uint64_t revision = sky.Revision();
  sky.Clear();
  EXPECT_TRUE(sky.Entries().empty());
  EXPECT_TRUE(sky.Satellites().empty());
  EXPECT_TRUE(sky.ShownSatellites().empty());
  EXPECT_FALSE(sky.EpochTime());
  EXPECT_NE(sky.Revision(), revision);
  // The same time again is a new epoch after a clear.
  int epochs = 0;
  sky.SetEpochHandler([&] { ++epochs; });
  sky.Take(Sentence("GPGGA,000001,,"));
  EXPECT_EQ(epochs, 1);
}

// The per-satellite view a display lists: signals grouped, the first
// position given, and the counts per system.
TEST(SkyUsed, SatellitesAndCounts) {
  TSkyModel sky;
  TakeAll(sky, {"GPGSV,1,1,02,05,,,40,07,10,100,30,1", "GPGSV,1,1,01,05,40,083,41,7",
                "GLGSV,1,1,01,66,09,027,", "GNGSA,A,3,05,,,,,,,,,,,,1.0,0.5,0.8,1"});
  const std::vector<TSkySatellite>& sats = sky.Satellites();
  ASSERT_EQ(sats.size(), 3U);
  EXPECT_EQ(sats[0].Satellite, 5);
  EXPECT_EQ(sats[0].Elevation, 40);
  EXPECT_EQ(sats[0].Azimuth, 83);
  EXPECT_TRUE(sats[0].Used);
  EXPECT_EQ(sats[0].FirstEntry, 0U);
  EXPECT_EQ(sats[0].EntryCount, 2U);
  EXPECT_EQ(sats[2].System, TSkySystem::GLONASS);
  EXPECT_EQ(sats[2].FirstEntry, 3U);
  const auto counts = sky.ShownCounts();
  EXPECT_EQ(counts[0].InView, 2);
  EXPECT_EQ(counts[0].Used, 1);
  EXPECT_EQ(counts[2].InView, 1);
  EXPECT_EQ(counts[2].Used, 0);
}

}  // namespace
