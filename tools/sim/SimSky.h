#pragma once
// A modern multi-constellation receiver: GN RMC and GGA, one GSA per system
// with its NMEA 4.11 system ID, and GSV series under each system's talker,
// one per signal with --signals. Its satellites move like the classic
// receiver's; jamming lowers every SNR for a while, and RTK walks the fix
// through its qualities.

#include <random>
#include <string>
#include <vector>

#include "tools/sim/SimSentences.h"

enum class TSimSystem { GPS, GLONASS, Galileo, BeiDou, QZSS };

struct TSimSky {
  std::vector<TSimSystem> Systems;  // empty: the classic receiver, unless below
  bool Signals = false;             // a GSV series per signal
  bool Rtk = false;                 // quality 1, 2, 5, 4 in turn, with a differential age
  double JamStart = 0;              // seconds after the beginning
  double JamSeconds = 0;
  double JamDb = 0;

  // Whether the modern receiver speaks (GPS alone when no systems are named).
  bool Modern() const { return !Systems.empty() || Signals || Rtk || JamSeconds > 0; }
};

// "gps,glonass,galileo,beidou,qzss", any of them in any order, each once.
bool ParseSystems(const std::string& text, TSimSky& sky);
// "START,SECONDS,DB", three numbers not below 0.
bool ParseJam(const std::string& text, TSimSky& sky);

struct TSimSkyState {
  double Elapsed = 0;  // seconds since the beginning
  std::vector<TSimSystem> Systems;
  std::vector<std::vector<TSimSatellite>> Satellites;  // per system, in that order
};

TSimSkyState InitialSky(const TSimSky& sky, uint32_t seed);
void AdvanceSky(TSimSkyState& state, double seconds, std::mt19937& rng);
// The modern receiver's fix: quality, satellites used, dilution, corrections.
TSimFix SkyFix(const TSimSkyState& state, const TSimSky& sky);
// One cycle of the modern receiver at the track's place and time.
std::vector<std::string> SkyCycle(const TSimState& track, const TSimSkyState& state,
                                  const TSimSky& sky);
