// Which satellite a number under a talker stands for, at the edges of every
// range, and the names of signals.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "nmea/SkySystems.h"

namespace {

std::string Describe(TSkyId id) {
  return std::string(SkySystemName(id.System)) + " " + std::to_string(id.Satellite);
}

TEST(SkySystems, NumbersUnderTalkers) {
  struct TRow {
    const char* Talker;
    int32_t Number;
    const char* Expected;
  };
  const TRow rows[] = {
      // The number decides under GP, GN and unknown talkers.
      {"GN", 0, "Other 0"},
      {"GN", 1, "GPS 1"},
      {"GP", 32, "GPS 32"},
      {"GP", 33, "SBAS 120"},
      {"GN", 64, "SBAS 151"},
      {"GN", 65, "GLONASS 1"},
      {"GN", 96, "GLONASS 32"},
      {"GN", 97, "Other 97"},
      {"GN", 192, "Other 192"},
      {"GN", 193, "QZSS 1"},
      {"GN", 200, "QZSS 8"},
      {"GN", 201, "BeiDou 1"},
      {"GN", 263, "BeiDou 63"},
      {"GN", 264, "Other 264"},
      {"GN", 301, "Galileo 1"},
      {"GN", 336, "Galileo 36"},
      {"GN", 337, "Other 337"},
      {"GN", 401, "BeiDou 1"},
      {"GN", 463, "BeiDou 63"},
      {"GN", 464, "Other 464"},
      {"GN", -5, "Other -5"},
      {"gl", 65, "GLONASS 1"},
      {"XX", 120, "Other 120"},
      // A system's talker: its extended numbers come back, any other is kept.
      {"GL", 64, "GLONASS 64"},
      {"GL", 65, "GLONASS 1"},
      {"GL", 96, "GLONASS 32"},
      {"GL", 97, "GLONASS 97"},
      {"GA", 100, "Galileo 100"},
      {"GA", 101, "Galileo 1"},
      {"GA", 136, "Galileo 36"},
      {"GA", 137, "Galileo 137"},
      {"GA", 301, "Galileo 1"},
      {"GA", 5, "Galileo 5"},
      {"GB", 200, "BeiDou 200"},
      {"GB", 201, "BeiDou 1"},
      {"BD", 463, "BeiDou 63"},
      {"BD", 401, "BeiDou 1"},
      {"GQ", 192, "QZSS 192"},
      {"QZ", 193, "QZSS 1"},
      {"GQ", 200, "QZSS 8"},
      {"GI", 201, "NavIC 201"},
      {"GI", 7, "NavIC 7"},
  };
  for (const TRow& row : rows)
    EXPECT_EQ(Describe(SkyIdentify(TalkerSystem(row.Talker), row.Number)), row.Expected)
        << row.Talker << " " << row.Number;
}

TEST(SkySystems, GsaSystemIds) {
  struct TRow {
    int32_t Id;
    bool Known;
    std::optional<TSkySystem> System;
  };
  const TRow rows[] = {
      {0, false, std::nullopt},       {1, true, std::nullopt},  // GPS: the number decides
      {2, true, TSkySystem::GLONASS}, {3, true, TSkySystem::Galileo}, {4, true, TSkySystem::BeiDou},
      {5, true, TSkySystem::QZSS},    {6, true, TSkySystem::NavIC},   {7, false, std::nullopt},
  };
  for (const TRow& row : rows) {
    std::optional<TSkySystem> system = TSkySystem::Other;  // left alone when not known
    EXPECT_EQ(GsaSystem(row.Id, system), row.Known) << row.Id;
    EXPECT_EQ(system, row.Known ? row.System : TSkySystem::Other) << row.Id;
  }
}

TEST(SkySystems, SignalNames) {
  struct TRow {
    TSkySystem System;
    int Signal;
    const char* Expected;
  };
  const TRow rows[] = {
      {TSkySystem::GPS, 1, "L1 C/A"},     {TSkySystem::GPS, 8, "L5-Q"},
      {TSkySystem::SBAS, 1, "L1 C/A"},    {TSkySystem::GLONASS, 3, "L2 C/A"},
      {TSkySystem::Galileo, 1, "E5a"},    {TSkySystem::Galileo, 7, "E1-B/C"},
      {TSkySystem::BeiDou, 11, "B2I"},    {TSkySystem::QZSS, 5, "L2C-M"},
      {TSkySystem::NavIC, 1, "L5-SPS"},   {TSkySystem::GPS, 2, "Signal 2"},
      {TSkySystem::Other, 1, "Signal 1"}, {TSkySystem::GPS, 0, "Signal not given"},
  };
  for (const TRow& row : rows)
    EXPECT_EQ(SkySignalName(row.System, row.Signal), row.Expected)
        << SkySystemName(row.System) << " " << row.Signal;
}

}  // namespace
