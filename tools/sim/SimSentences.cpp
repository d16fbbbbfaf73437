#include "tools/sim/SimSentences.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace {

constexpr double kDegree = std::numbers::pi / 180;
constexpr double kGeoidSeparation = 18.3;  // metres, a typical mid-latitude value
constexpr int kMaxSatellites = 12;         // what one GSA and the display hold
constexpr int kSatellitesPerGSV = 4;

// hhmmss.ss and ddmmyy of a UTC instant.
std::string TimeField(int64_t utcMs) {
  const int64_t msOfDay = ((utcMs % 86400000) + 86400000) % 86400000;
  const int64_t seconds = msOfDay / 1000;
  return SimFormat("%02d%02d%02d.%02d", int(seconds / 3600), int(seconds / 60 % 60),
                   int(seconds % 60), int(msOfDay % 1000 / 10));
}

std::string DateField(int64_t utcMs) {
  using namespace std::chrono;
  const sys_days day = floor<days>(sys_time<milliseconds>(milliseconds(utcMs)));
  const year_month_day date(day);
  return SimFormat("%02u%02u%02d", unsigned(date.day()), unsigned(date.month()),
                   int(date.year()) % 100);
}

// ddmm.mmmm,N (or dddmm.mmmm,E), rounded in ten-thousandths of a minute so
// that a minute never reads 60.
std::string AngleField(double degrees, int degreeDigits, char positive, char negative) {
  const auto units = static_cast<int64_t>(std::llround(std::fabs(degrees) * 60 * 10000));
  const char hemisphere = degrees < 0 ? negative : positive;
  return SimFormat("%0*d%02d.%04d,%c", degreeDigits, int(units / 600000),
                   int(units % 600000 / 10000), int(units % 10000), hemisphere);
}

double Wrap360(double degrees) {
  const double wrapped = std::fmod(degrees, 360.0);
  return wrapped < 0 ? wrapped + 360 : wrapped;
}

double ElevationAt(double phase) {
  return 45 + 37 * std::sin(phase);
}

bool Tracked(const TSimSatellite& satellite) {
  return satellite.SNR > 0;
}

// The satellites a fix is computed from: the strong ones.
std::vector<int> UsedPRNs(const TSimState& state) {
  std::vector<int> used;
  for (const TSimSatellite& satellite : state.Satellites)
    if (satellite.SNR >= 28 && int(used.size()) < kMaxSatellites) used.push_back(satellite.PRN);
  return used;
}

bool HasFix(const TSimState& state) {
  return UsedPRNs(state).size() >= 4;
}

}  // namespace

std::vector<std::string> GSVSeries(std::string_view talker,
                                   const std::vector<TSimSatellite>& satellites,
                                   const std::function<double(const TSimSatellite&)>& snr,
                                   std::string_view suffix) {
  const int count = int(satellites.size());
  const int total = std::max(1, (count + kSatellitesPerGSV - 1) / kSatellitesPerGSV);
  std::vector<std::string> group;
  for (int number = 1; number <= total; ++number) {
    std::string body = std::string(talker) + SimFormat("GSV,%d,%d,%02d", total, number, count);
    const int first = (number - 1) * kSatellitesPerGSV;
    for (int i = first; i < std::min(count, first + kSatellitesPerGSV); ++i) {
      const TSimSatellite& satellite = satellites[size_t(i)];
      body += SimFormat(",%02d,%02d,%03d,", satellite.PRN, int(std::lround(satellite.Elevation)),
                        int(std::lround(satellite.Azimuth)) % 360);
      const double level = snr(satellite);
      if (level > 0) body += SimFormat("%02d", int(std::lround(level)));
    }
    group.push_back(Sentence(body.append(suffix)));
  }
  return group;
}

std::string RMCBody(const TSimState& state, std::string_view talker, bool valid) {
  return std::string(talker) + "RMC," + TimeField(state.UtcMs) + (valid ? ",A," : ",V,") +
         AngleField(state.Latitude, 2, 'N', 'S') + "," + AngleField(state.Longitude, 3, 'E', 'W') +
         SimFormat(",%05.1f,%05.1f,", state.Speed, state.Course) + DateField(state.UtcMs) +
         ",008.6,E";
}

// A differential fix names the age of its corrections and their station.
std::string GGABody(const TSimState& state, std::string_view talker, const TSimFix& fix) {
  std::string body = std::string(talker) + "GGA," + TimeField(state.UtcMs) + "," +
                     AngleField(state.Latitude, 2, 'N', 'S') + "," +
                     AngleField(state.Longitude, 3, 'E', 'W') +
                     SimFormat(",%d,%02d,%.1f,%.1f,M,%.1f,M,", fix.Quality, fix.Used, fix.HDOP,
                               state.Altitude, kGeoidSeparation);
  if (fix.Age) return body + SimFormat("%.1f,%04d", *fix.Age, fix.Station);
  return body + ",";
}

TSimDops SimDops(size_t usedCount) {
  const double hdop = 0.6 + 6.0 / double(std::max<size_t>(usedCount, 1));
  return {hdop * 1.7, hdop, hdop * 1.35};
}

TSimFix ClassicFix(const TSimState& state) {
  const std::vector<int> used = UsedPRNs(state);
  TSimFix fix;
  fix.Quality = HasFix(state) ? 1 : 0;
  fix.Used = int(used.size());
  fix.HDOP = SimDops(used.size()).HDOP;
  return fix;
}

namespace {

std::string RMC(const TSimState& state, std::string_view talker) {
  return RMCBody(state, talker, HasFix(state));
}

std::string GGA(const TSimState& state, std::string_view talker) {
  return GGABody(state, talker, ClassicFix(state));
}

std::string GSA(const TSimState& state, std::string_view talker) {
  const std::vector<int> used = UsedPRNs(state);
  std::string body = std::string(talker) + "GSA,A," + (HasFix(state) ? "3" : "1");
  for (int slot = 0; slot < kMaxSatellites; ++slot)
    body += slot < int(used.size()) ? SimFormat(",%02d", used[size_t(slot)]) : ",";
  const TSimDops dops = SimDops(used.size());
  return body + SimFormat(",%.1f,%.1f,%.1f", dops.PDOP, dops.HDOP, dops.VDOP);
}

std::vector<std::string> GSV(const TSimState& state, std::string_view talker) {
  const std::vector<TSimSatellite> shown(
      state.Satellites.begin(),
      state.Satellites.begin() +
          std::min<ptrdiff_t>(ptrdiff_t(state.Satellites.size()), kMaxSatellites));
  return GSVSeries(talker, shown, [](const TSimSatellite& satellite) {
    return Tracked(satellite) ? satellite.SNR : 0;
  });
}

// Garmin's estimated position errors: horizontal, vertical, spherical.
std::string PGRME(const TSimState& state) {
  const TSimDops dops = SimDops(UsedPRNs(state).size());
  const double hpe = dops.HDOP * 5.1;
  const double vpe = dops.VDOP * 7.4;
  return SimFormat("PGRME,%.1f,M,%.1f,M,%.1f,M", hpe, vpe, std::hypot(hpe, vpe));
}

void UpdateSignal(TSimSatellite& satellite, std::mt19937& rng) {
  // Low satellites are lost in the trees and buildings.
  if (satellite.Elevation < 12) {
    satellite.SNR = 0;
    return;
  }
  std::normal_distribution<double> noise(0, 1.5);
  satellite.SNR = std::clamp(22 + satellite.Elevation * 0.3 + noise(rng), 10.0, 55.0);
}

}  // namespace

// The simulator works out its checksums by itself rather than with the
// program's routine, so that it stays an independent check of the decoder.
std::string Sentence(std::string_view body) {
  uint8_t checksum = 0;
  for (char ch : body) checksum ^= static_cast<uint8_t>(ch);
  // Appended, not "$" + ...: GCC 12 at -O3 warns falsely (-Wrestrict) about a
  // literal added to a temporary string.
  std::string sentence(1, '$');
  sentence += body;
  sentence += SimFormat("*%02X\r\n", checksum);
  return sentence;
}

TSimState InitialState(int64_t utcMs, uint32_t seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> unit(0, 1);
  TSimState state;
  // Receivers report whole seconds at one cycle a second.
  state.UtcMs = utcMs - utcMs % 1000;
  state.Latitude = 60.1699 + unit(rng) * 0.05;
  state.Longitude = 24.9384 + unit(rng) * 0.05;
  state.Altitude = 25;
  state.Speed = 12;
  state.Course = unit(rng) * 360;
  state.Turn = 0.6;
  std::vector<int> prns(32);
  for (int i = 0; i < 32; ++i) prns[size_t(i)] = i + 1;
  std::shuffle(prns.begin(), prns.end(), rng);
  const int count = 8 + int(rng() % 5);
  for (int i = 0; i < count; ++i) state.Satellites.push_back(NewSatellite(prns[size_t(i)], rng));
  return state;
}

void Advance(TSimState& state, double seconds, std::mt19937& rng) {
  state.UtcMs += std::llround(seconds * 1000);
  // One nautical mile is one minute of latitude.
  const double miles = state.Speed * seconds / 3600;
  state.Latitude += miles * std::cos(state.Course * kDegree) / 60;
  state.Longitude += miles * std::sin(state.Course * kDegree) /
                     (60 * std::max(0.01, std::cos(state.Latitude * kDegree)));
  if (state.Longitude > 180) state.Longitude -= 360;
  if (state.Longitude < -180) state.Longitude += 360;
  state.Course = Wrap360(state.Course + state.Turn * seconds);
  std::normal_distribution<double> wander(0, 0.05);
  state.Speed = std::clamp(state.Speed + wander(rng) * seconds, 4.0, 20.0);
  state.Altitude = std::clamp(state.Altitude + wander(rng) * 4 * seconds, 10.0, 40.0);
  for (TSimSatellite& satellite : state.Satellites) MoveSatellite(satellite, seconds, rng);
}

std::vector<std::string> CycleSentences(const TSimState& state, std::string_view talker) {
  std::vector<std::string> sentences = {Sentence(RMC(state, talker)), Sentence(GGA(state, talker)),
                                        Sentence(GSA(state, talker))};
  for (std::string& line : GSV(state, talker)) sentences.push_back(std::move(line));
  sentences.push_back(Sentence(PGRME(state)));
  return sentences;
}

std::string FaultyCycle(const std::vector<std::string>& sentences, const TSimFaults& faults,
                        std::mt19937& rng) {
  std::bernoulli_distribution badChecksum(std::clamp(faults.BadChecksumShare, 0.0, 1.0));
  std::uniform_int_distribution<int> byte(0, 255);
  const size_t garbageBefore = sentences.empty() ? 0 : rng() % sentences.size();
  std::string sent;
  for (size_t i = 0; i < sentences.size(); ++i) {
    if (i == garbageBefore)
      for (int n = 0; n < faults.GarbageBytes; ++n) sent += static_cast<char>(byte(rng));
    std::string sentence = sentences[i];
    const size_t star = sentence.rfind('*');
    if (badChecksum(rng) && star != std::string::npos && star + 3 <= sentence.size()) {
      // Flip the checksum to another value, as a line hit by noise would show.
      const unsigned wrong = (std::stoul(sentence.substr(star + 1, 2), nullptr, 16) ^ 0x5A) & 0xFF;
      sentence.replace(star + 1, 2, SimFormat("%02X", wrong));
    }
    sent += sentence;
  }
  return sent;
}

TSimSatellite NewSatellite(int prn, std::mt19937& rng) {
  std::uniform_real_distribution<double> unit(0, 1);
  TSimSatellite satellite;
  satellite.PRN = prn;
  satellite.Phase = unit(rng) * 2 * std::numbers::pi;
  satellite.Elevation = ElevationAt(satellite.Phase);
  satellite.Azimuth = unit(rng) * 360;
  satellite.Drift = (unit(rng) - 0.5) * 0.2;
  UpdateSignal(satellite, rng);
  return satellite;
}

void MoveSatellite(TSimSatellite& satellite, double seconds, std::mt19937& rng) {
  satellite.Phase += 0.002 * seconds;
  satellite.Elevation = ElevationAt(satellite.Phase);
  satellite.Azimuth = Wrap360(satellite.Azimuth + satellite.Drift * seconds);
  UpdateSignal(satellite, rng);
}
