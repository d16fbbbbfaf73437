#pragma once
// The simulated receiver's sky and track, and the sentences it sends for
// them: pure functions from a state to checksummed NMEA text, apart from any
// input or output.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

struct TSimSatellite {
  int PRN = 0;
  double Elevation = 0;  // degrees above the horizon
  double Azimuth = 0;    // degrees from true north
  double Drift = 0;      // degrees of azimuth a second
  double Phase = 0;      // where in its slow rise and fall the elevation is
  double SNR = 0;        // dB-Hz, 0 when not tracked
};

struct TSimState {
  int64_t UtcMs = 0;     // milliseconds since 1970-01-01 00:00 UTC
  double Latitude = 0;   // signed degrees, north positive
  double Longitude = 0;  // signed degrees, east positive
  double Altitude = 0;   // metres above mean sea level
  double Speed = 0;      // knots
  double Course = 0;     // degrees true
  double Turn = 0;       // degrees of course a second
  std::vector<TSimSatellite> Satellites;
};

// A receiver at a plausible place and time, seeing 8 to 12 satellites.
TSimState InitialState(int64_t utcMs, uint32_t seed);
// The world `seconds` later: the track moves on, the satellites drift across
// the sky and their signals change. `rng` supplies the signal noise.
void Advance(TSimState& state, double seconds, std::mt19937& rng);

// "$" + body + "*" + two hex digits of the checksum + CR LF.
std::string Sentence(std::string_view body);

// printf into a string of at most 127 characters.
template <typename... TValues>
std::string SimFormat(const char* pattern, TValues... values) {
  char text[128];
  const int length = std::snprintf(text, sizeof text, pattern, values...);
  return std::string(text, static_cast<size_t>(std::clamp(length, 0, int(sizeof text) - 1)));
}

// A satellite numbered `prn` somewhere in the sky, and the same satellite
// `seconds` later.
TSimSatellite NewSatellite(int prn, std::mt19937& rng);
void MoveSatellite(TSimSatellite& satellite, double seconds, std::mt19937& rng);

// A GSV series of `satellites` for `talker`, each one's SNR from `snr`
// (0 or less: not tracked, the field left empty), and `suffix` (a signal ID)
// after the last satellite of each sentence.
std::vector<std::string> GSVSeries(std::string_view talker,
                                   const std::vector<TSimSatellite>& satellites,
                                   const std::function<double(const TSimSatellite&)>& snr,
                                   std::string_view suffix = {});

struct TSimDops {
  double PDOP, HDOP, VDOP;
};
// Plausible dilutions for a fix from `usedCount` satellites.
TSimDops SimDops(size_t usedCount);

// What a GGA says of the fix.
struct TSimFix {
  int Quality = 1;
  int Used = 0;
  double HDOP = 0;
  std::optional<double> Age;  // of the differential corrections, seconds
  int Station = 0;
};
// The classic receiver's fix: a plain one from four satellites used.
TSimFix ClassicFix(const TSimState& state);
// RMC and GGA bodies (without "$" and checksum) under `talker`.
std::string RMCBody(const TSimState& state, std::string_view talker, bool valid);
std::string GGABody(const TSimState& state, std::string_view talker, const TSimFix& fix);

// One cycle: RMC, GGA, GSA, the GSV group and PGRME, each a whole sentence
// with checksum and CR LF. `talker` is the two-letter prefix ("GP").
std::vector<std::string> CycleSentences(const TSimState& state, std::string_view talker);

struct TSimFaults {
  double BadChecksumShare = 0;  // 0..1: share of sentences sent with a wrong checksum
  int GarbageBytes = 0;         // random bytes put between two sentences each cycle
};

// The cycle's sentences as sent, with the faults applied.
std::string FaultyCycle(const std::vector<std::string>& sentences, const TSimFaults& faults,
                        std::mt19937& rng);
