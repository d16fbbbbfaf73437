#pragma once
// Who a satellite is: its system and its number within that system, read
// from a talker and a satellite number as multi-constellation receivers send
// them, and the names of systems and signals for people.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// In the order satellites are listed.
enum class TSkySystem : uint8_t { GPS, SBAS, GLONASS, Galileo, BeiDou, QZSS, NavIC, Other };

constexpr int kSkySystemCount = 8;

// "GPS", "SBAS", "GLONASS", "Galileo", "BeiDou", "QZSS", "NavIC", "Other".
const char* SkySystemName(TSkySystem system);

struct TSkyId {
  TSkySystem System = TSkySystem::Other;
  int32_t Satellite = 0;

  bool operator==(const TSkyId&) const = default;
};

// The system a two-letter talker names (GL, GA, GB, BD, GQ, QZ, GI), or none
// when the satellite number has to decide (GP, GN and every other talker).
std::optional<TSkySystem> TalkerSystem(std::string_view talker);

// The system a GSA's system ID field names: none when the numbers decide
// (1, GPS, whose GSA also lists SBAS satellites), false when the field names
// no system this program knows, so that the talker decides.
bool GsaSystem(int32_t systemId, std::optional<TSkySystem>& system);

// The satellite behind a number as sent under a talker naming `system`, or
// under one that names none, where the number's range decides.
TSkyId SkyIdentify(std::optional<TSkySystem> system, int32_t number);

// The signal's name from the NMEA 4.11 signal ID table ("L1 C/A", "E5a"),
// "Signal 9" for an ID the table does not name, and "Signal not given" for 0.
std::string SkySignalName(TSkySystem system, int signal);

// The frequency bands a table lines signals up by, the same for every system:
// around 1575 MHz (L1, E1, B1, G1), around 1250 MHz (L2, G2, B3, E6, L6) and
// around 1190 MHz (L5, E5, B2; NavIC's S band goes with its L5).
enum class TSkyBand : uint8_t { L1, L2, L5 };

constexpr int kSkyBandCount = 3;

// The band of a signal ID of the NMEA 4.11 table; L1 for 0 (not given, as
// receivers before NMEA 4.10 track L1 only) and for IDs the table does not
// name.
TSkyBand SkySignalBand(TSkySystem system, int signal);
