#pragma once
// The simulated receiver's sky and track, and the sentences it sends for
// them: pure functions from a state to checksummed NMEA text, apart from any
// input or output.

#include <cstdint>
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
