#include "nmea/SkySystems.h"

#include <iterator>

namespace {

struct TTalker {
  std::string_view Name;
  TSkySystem System;
};

constexpr TTalker kTalkers[] = {
    {"GL", TSkySystem::GLONASS}, {"GA", TSkySystem::Galileo}, {"GB", TSkySystem::BeiDou},
    {"BD", TSkySystem::BeiDou},  {"GQ", TSkySystem::QZSS},    {"QZ", TSkySystem::QZSS},
    {"GI", TSkySystem::NavIC},
};

// A block of numbers that stands for satellites `Offset` lower in `System`.
struct TRange {
  int32_t First;
  int32_t Last;
  TSkySystem System;
  int32_t Offset;
};

// Under a talker that names no system: the NMEA numbering of every system.
// SBAS 33-64 are the PRNs 120-151 that users know, so they go up by 87.
constexpr TRange kNumberRanges[] = {
    {1, 32, TSkySystem::GPS, 0},         {33, 64, TSkySystem::SBAS, -87},
    {65, 96, TSkySystem::GLONASS, 64},   {193, 200, TSkySystem::QZSS, 192},
    {201, 263, TSkySystem::BeiDou, 200}, {301, 336, TSkySystem::Galileo, 300},
    {401, 463, TSkySystem::BeiDou, 400},
};

// Under a system's own talker, some receivers still send the extended numbers
// above; those come back to the system's own, any other number is kept.
constexpr TRange kExtendedRanges[] = {
    {65, 96, TSkySystem::GLONASS, 64},    {101, 136, TSkySystem::Galileo, 100},
    {301, 336, TSkySystem::Galileo, 300}, {201, 263, TSkySystem::BeiDou, 200},
    {401, 463, TSkySystem::BeiDou, 400},  {193, 200, TSkySystem::QZSS, 192},
};

struct TSignal {
  TSkySystem System;
  int Id;
  const char* Name;
};

constexpr TSignal kSignals[] = {
    {TSkySystem::GPS, 1, "L1 C/A"},     {TSkySystem::GPS, 5, "L2C-M"},
    {TSkySystem::GPS, 6, "L2C-L"},      {TSkySystem::GPS, 7, "L5-I"},
    {TSkySystem::GPS, 8, "L5-Q"},       {TSkySystem::GLONASS, 1, "L1 C/A"},
    {TSkySystem::GLONASS, 3, "L2 C/A"}, {TSkySystem::Galileo, 1, "E5a"},
    {TSkySystem::Galileo, 2, "E5b"},    {TSkySystem::Galileo, 7, "E1-B/C"},
    {TSkySystem::BeiDou, 1, "B1I"},     {TSkySystem::BeiDou, 3, "B1C"},
    {TSkySystem::BeiDou, 5, "B2a"},     {TSkySystem::BeiDou, 11, "B2I"},
    {TSkySystem::QZSS, 1, "L1 C/A"},    {TSkySystem::QZSS, 2, "L1C (D)"},
    {TSkySystem::QZSS, 3, "L1C (P)"},   {TSkySystem::QZSS, 4, "LIS"},
    {TSkySystem::QZSS, 5, "L2C-M"},     {TSkySystem::QZSS, 6, "L2C-L"},
    {TSkySystem::QZSS, 7, "L5-I"},      {TSkySystem::QZSS, 8, "L5-Q"},
    {TSkySystem::QZSS, 9, "L6D"},       {TSkySystem::QZSS, 10, "L6E"},
    {TSkySystem::NavIC, 1, "L5-SPS"},   {TSkySystem::NavIC, 2, "S-SPS"},
    {TSkySystem::NavIC, 3, "L5-RS"},    {TSkySystem::NavIC, 4, "S-RS"},
    {TSkySystem::NavIC, 5, "L1-SPS"},
};

}  // namespace

const char* SkySystemName(TSkySystem system) {
  static constexpr const char* kNames[] = {"GPS",    "SBAS", "GLONASS", "Galileo",
                                           "BeiDou", "QZSS", "NavIC",   "Other"};
  const auto index = static_cast<size_t>(system);
  return index < std::size(kNames) ? kNames[index] : "Other";
}

std::optional<TSkySystem> TalkerSystem(std::string_view talker) {
  for (const TTalker& entry : kTalkers) {
    if (entry.Name == talker) return entry.System;
  }
  return std::nullopt;
}

bool GsaSystem(int32_t systemId, std::optional<TSkySystem>& system) {
  static constexpr TSkySystem kById[] = {TSkySystem::GPS,     TSkySystem::GLONASS,
                                         TSkySystem::Galileo, TSkySystem::BeiDou,
                                         TSkySystem::QZSS,    TSkySystem::NavIC};
  if (systemId < 1 || systemId > static_cast<int32_t>(std::size(kById))) return false;
  const TSkySystem named = kById[systemId - 1];
  system = named == TSkySystem::GPS ? std::nullopt : std::optional(named);
  return true;
}

TSkyId SkyIdentify(std::optional<TSkySystem> system, int32_t number) {
  if (system) {
    for (const TRange& range : kExtendedRanges) {
      if (range.System == *system && number >= range.First && number <= range.Last)
        return {*system, number - range.Offset};
    }
    return {*system, number};
  }
  for (const TRange& range : kNumberRanges) {
    if (number >= range.First && number <= range.Last) return {range.System, number - range.Offset};
  }
  return {TSkySystem::Other, number};
}

std::string SkySignalName(TSkySystem system, int signal) {
  if (signal == 0) return "Signal not given";
  // SBAS satellites come in GPS sentences and use GPS's signal IDs.
  if (system == TSkySystem::SBAS) system = TSkySystem::GPS;
  for (const TSignal& entry : kSignals) {
    if (entry.System == system && entry.Id == signal) return entry.Name;
  }
  return "Signal " + std::to_string(signal);
}

TSkyBand SkySignalBand(TSkySystem system, int signal) {
  using enum TSkyBand;
  switch (system) {
    case TSkySystem::GPS:
    case TSkySystem::SBAS:
    case TSkySystem::QZSS:
      // L1 C/A, L1 P(Y), L1 M (QZSS: L1C, LIS); L2 P(Y), L2C; L5; QZSS's L6.
      if (signal >= 4 && signal <= 6) return L2;
      if (signal == 7 || signal == 8) return L5;
      if (system == TSkySystem::QZSS && (signal == 9 || signal == 10)) return L2;
      return L1;
    case TSkySystem::GLONASS:
      return signal == 3 || signal == 4 ? L2 : L1;
    case TSkySystem::Galileo:
      // E5a, E5b, E5a+b; E6-A, E6-BC; E1-A, E1-B/C.
      if (signal >= 1 && signal <= 3) return L5;
      return signal == 4 || signal == 5 ? L2 : L1;
    case TSkySystem::BeiDou:
      // B1I, B1Q, B1C, B1A; B2a, B2b, B2a+b; B3I, B3Q, B3A; B2I, B2Q.
      if ((signal >= 5 && signal <= 7) || signal == 11 || signal == 12) return L5;
      return signal >= 8 && signal <= 10 ? L2 : L1;
    case TSkySystem::NavIC:
      return signal >= 1 && signal <= 4 ? L5 : L1;  // L5 and S band, then L1-SPS
    default:
      return L1;
  }
}
