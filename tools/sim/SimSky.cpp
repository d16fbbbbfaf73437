#include "tools/sim/SimSky.h"

#include <charconv>
#include <cmath>
#include <sstream>

#include "nmea/NMEA.h"

namespace {

// What each system sends under: its talker, its GSA system ID, its satellite
// numbers, and its signals (the first is the one sent without --signals)
// with their strength against the first.
struct TSystemInfo {
  TSimSystem System;
  const char* Name;
  const char* Talker;
  int SystemId;
  int FirstNumber;
  int Count;  // satellites in the constellation
  int Signals[2];
  double SignalOffset[2];
};

// GLONASS slots are sent as 65-96; the other systems number their own.
constexpr TSystemInfo kSystems[] = {
    {TSimSystem::GPS, "gps", "GP", 1, 1, 32, {1, 7}, {0, 3}},            // L1 C/A, L5-I
    {TSimSystem::GLONASS, "glonass", "GL", 2, 65, 24, {1, 3}, {0, -4}},  // L1 C/A, L2 C/A
    {TSimSystem::Galileo, "galileo", "GA", 3, 1, 36, {7, 1}, {0, 2}},    // E1-B/C, E5a
    {TSimSystem::BeiDou, "beidou", "GB", 4, 1, 63, {1, 5}, {0, 2}},      // B1I, B2a
    {TSimSystem::QZSS, "qzss", "GQ", 5, 1, 7, {1, 7}, {0, 3}},           // L1 C/A, L5-I
};

constexpr int kGSASlots = 12;
// Below this a jammed signal is lost.
constexpr double kWeakestSNR = 10;
constexpr double kUsedSNR = 28;

const TSystemInfo& InfoOf(TSimSystem system) {
  return kSystems[static_cast<int>(system)];
}

bool Jammed(const TSimSky& sky, double elapsed) {
  return sky.JamSeconds > 0 && elapsed >= sky.JamStart && elapsed < sky.JamStart + sky.JamSeconds;
}

// The satellite's SNR on signal `index`, 0 when it is not tracked.
double SignalSNR(const TSimSatellite& satellite, const TSystemInfo& info, int index,
                 const TSimSky& sky, double elapsed) {
  if (satellite.SNR <= 0) return 0;
  double snr = satellite.SNR + info.SignalOffset[index];
  if (Jammed(sky, elapsed)) snr -= sky.JamDb;
  return snr < kWeakestSNR ? 0 : std::min<double>(snr, nmea::kSNRMaximum);
}

std::vector<int> UsedNumbers(const std::vector<TSimSatellite>& satellites, const TSystemInfo& info,
                             const TSimSky& sky, double elapsed) {
  std::vector<int> used;
  for (const TSimSatellite& satellite : satellites)
    if (SignalSNR(satellite, info, 0, sky, elapsed) >= kUsedSNR && int(used.size()) < kGSASlots)
      used.push_back(satellite.PRN);
  return used;
}

// $GNGSA,A,3,sv,...(12 slots),PDOP,HDOP,VDOP,systemID
std::string GSA(const std::vector<int>& used, size_t allUsed, const TSystemInfo& info) {
  std::string body = std::string("GNGSA,A,") + (allUsed >= 4 ? "3" : "1");
  for (int slot = 0; slot < kGSASlots; ++slot)
    body += slot < int(used.size()) ? SimFormat(",%02d", used[size_t(slot)]) : ",";
  const TSimDops dops = SimDops(allUsed);
  return Sentence(body +
                  SimFormat(",%.1f,%.1f,%.1f,%d", dops.PDOP, dops.HDOP, dops.VDOP, info.SystemId));
}

// One series of a talker on one signal, the signal ID last in each sentence.
void GSV(const std::vector<TSimSatellite>& satellites, const TSystemInfo& info, int index,
         const TSimSky& sky, double elapsed, std::vector<std::string>& out) {
  std::vector<std::string> series = GSVSeries(
      info.Talker, satellites,
      [&](const TSimSatellite& satellite) {
        return SignalSNR(satellite, info, index, sky, elapsed);
      },
      SimFormat(",%X", info.Signals[index]));
  out.insert(out.end(), std::make_move_iterator(series.begin()),
             std::make_move_iterator(series.end()));
}

// RTK walks from a plain fix through DGPS and float to fixed, ten seconds each.
TSimFix Fix(size_t used, const TSimSky& sky, double elapsed) {
  TSimFix fix;
  fix.Used = int(used);
  fix.HDOP = SimDops(used).HDOP;
  fix.Quality = used >= 4 ? 1 : 0;
  if (!sky.Rtk || fix.Quality == 0) return fix;
  static constexpr int kQualities[] = {1, 2, 5, 4};
  fix.Quality = kQualities[static_cast<int64_t>(elapsed / 10) % 4];
  if (fix.Quality != 1) {
    fix.Age = 0.4 + std::fmod(elapsed, 1.0);
    fix.Station = 23;
  }
  return fix;
}

}  // namespace

bool ParseSystems(const std::string& text, TSimSky& sky) {
  std::vector<TSimSystem> systems;
  std::stringstream items(text);
  std::string item;
  while (std::getline(items, item, ',')) {
    const TSystemInfo* found = nullptr;
    for (const TSystemInfo& info : kSystems)
      if (item == info.Name) found = &info;
    if (found == nullptr ||
        std::find(systems.begin(), systems.end(), found->System) != systems.end())
      return false;
    systems.push_back(found->System);
  }
  if (systems.empty() || text.back() == ',') return false;
  sky.Systems = systems;
  return true;
}

bool ParseJam(const std::string& text, TSimSky& sky) {
  double values[3] = {};
  const char* at = text.data();
  const char* end = text.data() + text.size();
  for (int i = 0; i < 3; ++i) {
    const auto [stop, error] = std::from_chars(at, end, values[i]);
    if (error != std::errc() || !(values[i] >= 0) || !std::isfinite(values[i])) return false;
    at = stop;
    if (i < 2 && (at == end || *at++ != ',')) return false;
  }
  if (at != end || values[1] <= 0) return false;
  sky.JamStart = values[0];
  sky.JamSeconds = values[1];
  sky.JamDb = values[2];
  return true;
}

TSimSkyState InitialSky(const TSimSky& sky, uint32_t seed) {
  std::mt19937 rng(seed);
  TSimSkyState state;
  state.Systems = sky.Systems.empty() ? std::vector{TSimSystem::GPS} : sky.Systems;
  for (TSimSystem system : state.Systems) {
    const TSystemInfo& info = InfoOf(system);
    std::vector<int> numbers(size_t(info.Count));
    for (int i = 0; i < info.Count; ++i) numbers[size_t(i)] = info.FirstNumber + i;
    std::shuffle(numbers.begin(), numbers.end(), rng);
    const int count = std::min(info.Count, 4 + int(rng() % 5));
    std::vector<TSimSatellite>& satellites = state.Satellites.emplace_back();
    for (int i = 0; i < count; ++i) satellites.push_back(NewSatellite(numbers[size_t(i)], rng));
  }
  return state;
}

void AdvanceSky(TSimSkyState& state, double seconds, std::mt19937& rng) {
  state.Elapsed += seconds;
  for (std::vector<TSimSatellite>& satellites : state.Satellites)
    for (TSimSatellite& satellite : satellites) MoveSatellite(satellite, seconds, rng);
}

namespace {

std::vector<std::vector<int>> UsedPerSystem(const TSimSkyState& state, const TSimSky& sky,
                                            size_t& allUsed) {
  std::vector<std::vector<int>> used;
  allUsed = 0;
  for (size_t i = 0; i < state.Systems.size(); ++i) {
    used.push_back(UsedNumbers(state.Satellites[i], InfoOf(state.Systems[i]), sky, state.Elapsed));
    allUsed += used.back().size();
  }
  return used;
}

}  // namespace

TSimFix SkyFix(const TSimSkyState& state, const TSimSky& sky) {
  size_t allUsed = 0;
  UsedPerSystem(state, sky, allUsed);
  return Fix(allUsed, sky, state.Elapsed);
}

std::vector<std::string> SkyCycle(const TSimState& track, const TSimSkyState& state,
                                  const TSimSky& sky) {
  size_t allUsed = 0;
  const std::vector<std::vector<int>> used = UsedPerSystem(state, sky, allUsed);
  const TSimFix fix = Fix(allUsed, sky, state.Elapsed);
  std::vector<std::string> out = {Sentence(RMCBody(track, "GN", fix.Quality > 0)),
                                  Sentence(GGABody(track, "GN", fix))};
  for (size_t i = 0; i < state.Systems.size(); ++i)
    out.push_back(GSA(used[i], allUsed, InfoOf(state.Systems[i])));
  for (size_t i = 0; i < state.Systems.size(); ++i)
    for (int signal = 0; signal < (sky.Signals ? 2 : 1); ++signal)
      GSV(state.Satellites[i], InfoOf(state.Systems[i]), signal, sky, state.Elapsed, out);
  return out;
}
