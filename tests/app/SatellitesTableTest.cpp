// The satellites table's SNR bars, lined up by band the same for every
// system: L1/E1/B1/G1, then L2/G2/B3, then L5/E5/B2, each in its own place of
// the cell whether or not the satellite has a signal there.

#include <gtest/gtest.h>

#include <QRect>
#include <string>
#include <vector>

#include "app/SatellitesTable.h"
#include "app/SatellitesTableBars.h"

namespace {

struct TSignalSnr {
  uint8_t Signal;
  int32_t SNR;
};

// One satellite's given, given in the order the sky model sorts them (by
// signal ID); returns its bars as "signal@place" in the order painted, the
// place being the band's third of a 150-pixel cell.
std::string BarsOf(TSkySystem system, const std::vector<TSignalSnr>& given) {
  std::vector<TSkyEntry> entries;
  for (const TSignalSnr& signal : given)
    entries.push_back({system, 7, signal.Signal, 40, 100, signal.SNR});
  const std::vector<TSkySatellite> satellites = {
      {system, 7, 40, 100, false, 0, static_cast<uint32_t>(entries.size())}};
  TSatellitesTableModel model;
  model.SetSky(satellites, entries);
  const QRect cell(0, 0, 150, 20);
  const std::span<const TSignalBar> bars = model.Bars(0);
  std::string text;
  for (size_t bar = 0; bar < bars.size(); ++bar) {
    const int place = TSatellitesTableBars::BarRect(cell, bars, bar).center().x() / 50;
    if (!text.empty()) text += " ";
    text += std::to_string(bars[bar].Signal) + "@" + std::to_string(place);
  }
  return text;
}

TEST(SatellitesTable, SignalBarsOrderedByBand) {
  struct TRow {
    const char* Legend;
    TSkySystem System;
    std::vector<TSignalSnr> Given;
    const char* Expected;
  };
  const TRow rows[] = {
      {"GPS L1 C/A, L2C-L, L5-Q", TSkySystem::GPS, {{1, 40}, {6, 30}, {8, 35}}, "1@0 6@1 8@2"},
      {"GPS L1 C/A and L5-Q: L5 keeps its place after an empty L2",
       TSkySystem::GPS,
       {{1, 40}, {8, 35}},
       "1@0 8@2"},
      {"Galileo E5a (ID 1) and E1 (ID 7): E1 first although its ID is higher",
       TSkySystem::Galileo,
       {{1, 38}, {7, 41}},
       "7@0 1@2"},
      {"BeiDou B1I, B2a, B3I, B2I: B3 in the middle, B2 last",
       TSkySystem::BeiDou,
       {{1, 40}, {5, 33}, {8, 36}, {11, 30}},
       "1@0 8@1 5@2 11@2"},
      {"GLONASS G1 and G2", TSkySystem::GLONASS, {{1, 40}, {3, 30}}, "1@0 3@1"},
      {"a Galileo satellite with E5b only shows it in the L5 place",
       TSkySystem::Galileo,
       {{2, 30}},
       "2@2"},
      {"a GPS satellite with L2C-M only shows it in the L2 place",
       TSkySystem::GPS,
       {{5, 30}},
       "5@1"},
      {"signal not given (before NMEA 4.10): the L1 place", TSkySystem::GPS, {{0, 30}}, "0@0"},
      {"SBAS on L1 and L5, with GPS's IDs", TSkySystem::SBAS, {{1, 40}, {7, 35}}, "1@0 7@2"},
      {"QZSS L1 C/A, L6D, L5-I", TSkySystem::QZSS, {{1, 40}, {7, 35}, {9, 33}}, "1@0 9@1 7@2"},
  };
  for (const TRow& row : rows) EXPECT_EQ(BarsOf(row.System, row.Given), row.Expected) << row.Legend;
}

}  // namespace
