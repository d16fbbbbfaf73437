#include "tools/sim/SimFrames.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <numbers>
#include <vector>

#include "source/FrameBuilder.h"

namespace {

constexpr double kDegree = std::numbers::pi / 180;
constexpr double kGeoidSeparation = 18.3;            // metres, as the GGA sentences say
constexpr double kLightMetresPerMs = 299792.458;     // metres light travels in a millisecond
constexpr int64_t kGpsEpochUnixSeconds = 315964800;  // 1980-01-06
constexpr int64_t kGpsLeapSeconds = 18;
constexpr int64_t kWeekMs = int64_t{7} * 86400 * 1000;
constexpr int kStation = 23;  // the station that the GGA sentences' RTK fix names

// What a system's MSM7 carries: its message number and the RTCM signal IDs
// of its first and second signal, as --signals sends them in GSV.
struct TMsmSystem {
  int MessageNumber;
  int Signals[2];
};

TMsmSystem MsmOf(TSimSystem system) {
  switch (system) {
    case TSimSystem::GPS:
      return {1077, {2, 22}};  // 1C, 5I
    case TSimSystem::GLONASS:
      return {1087, {2, 8}};  // 1C, 2C
    case TSimSystem::Galileo:
      return {1097, {2, 22}};  // 1C, 5I (E5a)
    case TSimSystem::BeiDou:
      return {1127, {2, 22}};  // 2I (B1I), 5D (B2a)
    case TSimSystem::QZSS:
      return {1117, {2, 22}};  // 1C, 5I
  }
  return {1077, {2, 22}};
}

// How far into --jam's window `elapsed` is, from 0 to 1; below 0 outside it.
double JamProgress(const TSimSky& sky, double elapsed) {
  if (sky.JamSeconds <= 0 || elapsed < sky.JamStart || elapsed >= sky.JamStart + sky.JamSeconds)
    return -1;
  return (elapsed - sky.JamStart) / sky.JamSeconds;
}

int64_t GpsTimeOfWeekMs(int64_t utcMs) {
  const int64_t gpsMs = utcMs - kGpsEpochUnixSeconds * 1000 + kGpsLeapSeconds * 1000;
  return ((gpsMs % kWeekMs) + kWeekMs) % kWeekMs;
}

// The MSM epoch time: milliseconds of the week (BeiDou's time is fourteen
// seconds behind GPS's), or for GLONASS the day of the week and Moscow time
// of day.
int64_t MsmEpoch(TSimSystem system, int64_t utcMs) {
  const int64_t tow = GpsTimeOfWeekMs(utcMs);
  if (system == TSimSystem::BeiDou) return (tow - 14000 + kWeekMs) % kWeekMs;
  if (system != TSimSystem::GLONASS) return tow;
  const int64_t moscowMs = utcMs + 3 * 3600 * 1000;
  const int64_t day = (moscowMs / 86400000 + 4) % 7;  // 1970-01-01 was a Thursday; 0 is Sunday
  return day << 27 | (moscowMs % 86400000);
}

// Metres from the receiver to a satellite of the medium orbits at `elevation` degrees.
double RangeMetres(double elevation) {
  constexpr double kEarth = 6371e3;
  constexpr double kOrbit = kEarth + 20200e3;
  const double sine = std::sin(elevation * kDegree);
  return std::sqrt(kOrbit * kOrbit - kEarth * kEarth * (1 - sine * sine)) - kEarth * sine;
}

void Ecef(double latitude, double longitude, double height, double (&out)[3]) {
  constexpr double kA = 6378137.0;
  constexpr double kE2 = 6.69437999014e-3;
  const double sinLat = std::sin(latitude * kDegree);
  const double n = kA / std::sqrt(1 - kE2 * sinLat * sinLat);
  const double cosLat = std::cos(latitude * kDegree);
  out[0] = (n + height) * cosLat * std::cos(longitude * kDegree);
  out[1] = (n + height) * cosLat * std::sin(longitude * kDegree);
  out[2] = (n * (1 - kE2) + height) * sinLat;
}

// UBX-NAV-PVT (92 bytes): time, fix, position, velocity and their accuracy.
std::string NavPvt(const TSimState& track, const TSimFix& fix) {
  using namespace std::chrono;
  const sys_time<milliseconds> utc{milliseconds(track.UtcMs)};
  const sys_days day = floor<days>(utc);
  const year_month_day date(day);
  const hh_mm_ss<milliseconds> time(utc - day);
  const bool valid = fix.Quality > 0;
  // carrSoln: 1 float, 2 fixed; diffSoln with any corrections.
  const int carrier = fix.Quality == 5 ? 1 : fix.Quality == 4 ? 2 : 0;
  const uint8_t flags =
      static_cast<uint8_t>(int(valid) | int(fix.Quality >= 2) << 1 | carrier << 6);
  static constexpr uint32_t kAccuracyMm[] = {0, 2500, 800, 0, 14, 300};
  const uint32_t hAcc = valid ? kAccuracyMm[std::clamp(fix.Quality, 0, 5)] : 50000000;
  const double speed = track.Speed * 1852.0 / 3.6;  // mm/s
  const TSimDops dops = SimDops(size_t(fix.Used));
  return TUbxPayload()
      .U4(uint32_t(GpsTimeOfWeekMs(track.UtcMs)))
      .U2(uint16_t(int(date.year())))
      .U1(uint8_t(unsigned(date.month())))
      .U1(uint8_t(unsigned(date.day())))
      .U1(uint8_t(time.hours().count()))
      .U1(uint8_t(time.minutes().count()))
      .U1(uint8_t(time.seconds().count()))
      .U1(0x07)  // date and time valid, fully resolved
      .U4(valid ? 20 : 1000000)
      .I4(int32_t(time.subseconds().count() * 1000000))  // nano: the sentences' fraction
      .U1(valid ? 3 : 0)
      .U1(flags)
      .U1(0xE0)  // confirmed date and time
      .U1(uint8_t(fix.Used))
      .I4(int32_t(std::lround(track.Longitude * 1e7)))
      .I4(int32_t(std::lround(track.Latitude * 1e7)))
      .I4(int32_t(std::lround((track.Altitude + kGeoidSeparation) * 1000)))
      .I4(int32_t(std::lround(track.Altitude * 1000)))
      .U4(hAcc)
      .U4(hAcc * 3 / 2)
      .I4(int32_t(std::lround(speed * std::cos(track.Course * kDegree))))
      .I4(int32_t(std::lround(speed * std::sin(track.Course * kDegree))))
      .I4(0)
      .I4(int32_t(std::lround(speed)))
      .I4(int32_t(std::lround(track.Course * 1e5)))
      .U4(200)
      .U4(200000)
      .U2(uint16_t(std::lround(dops.PDOP * 100)))
      .U2(0)
      .Zeros(4)
      .I4(0)
      .I2(0)
      .U2(0)
      .Bytes();
}

// UBX-MON-RF: one block per band. Jamming raises jamInd steadily through
// --jam's window, which passes the state from OK (1) to warning (2) and
// critical (3), and the gain control turns down with it.
std::string MonRf(int bands, double jam) {
  const double level = jam < 0 ? 0 : jam;
  const int jamInd = static_cast<int>(std::lround(20 + 235 * level));
  const uint8_t state = jamInd < 80 ? 1 : jamInd < 160 ? 2 : 3;
  TUbxPayload payload;
  payload.U1(0).U1(uint8_t(bands)).Zeros(2);
  for (int band = 0; band < bands; ++band)
    payload.U1(uint8_t(band))
        .U1(state)
        .U1(2)  // antenna OK
        .U1(1)  // antenna powered
        .U4(0)
        .Zeros(4)
        .U2(uint16_t(90 + band * 10))
        .U2(uint16_t(std::lround(5200 - 3000 * level)))
        .U1(uint8_t(jamInd))
        .I1(2)
        .U1(130)
        .I1(-3)
        .U1(128)
        .Zeros(3);
  return payload.Bytes();
}

// RTCM 1005: the reference station's antenna reference point.
std::string StationArp(const double (&ecef)[3], bool glonass) {
  TRtcm3Bits bits;
  bits.Put(1005, 12).Put(kStation, 12).Put(0, 6);
  bits.Put(1, 1)
      .Put(glonass ? 1 : 0, 1)
      .Put(1, 1)
      .Put(0, 1);  // GPS, GLONASS, Galileo, real station
  bits.Put(std::llround(ecef[0] * 1e4), 38).Put(1, 1).Put(0, 1);
  bits.Put(std::llround(ecef[1] * 1e4), 38).Put(0, 2);
  bits.Put(std::llround(ecef[2] * 1e4), 38);
  return bits.Bytes();
}

// One satellite of an MSM7: where in the mask it sits and what it measures.
struct TMsmSatellite {
  int Slot;  // 1..64
  double Elevation;
  double Phase;
  double SNR;
};

// An MSM7 of one system: header, satellite and signal masks, then each field
// for every satellite or cell in turn.
std::string Msm7(TSimSystem system, int64_t utcMs, std::vector<TMsmSatellite> satellites,
                 int signalCount, bool last) {
  const TMsmSystem msm = MsmOf(system);
  std::sort(satellites.begin(), satellites.end(),
            [](const TMsmSatellite& a, const TMsmSatellite& b) { return a.Slot < b.Slot; });
  uint64_t satelliteMask = 0;
  for (const TMsmSatellite& satellite : satellites)
    satelliteMask |= uint64_t{1} << (64 - satellite.Slot);
  uint32_t signalMask = 0;
  for (int i = 0; i < signalCount; ++i) signalMask |= uint32_t{1} << (32 - msm.Signals[i]);
  TRtcm3Bits bits;
  bits.Put(msm.MessageNumber, 12).Put(kStation, 12).Put(MsmEpoch(system, utcMs), 30);
  bits.Put(last ? 0 : 1, 1).Put(0, 3).Put(0, 7).Put(0, 2).Put(0, 2).Put(0, 1).Put(0, 3);
  bits.Put(int64_t(satelliteMask), 64).Put(signalMask, 32);
  for (size_t cell = 0; cell < satellites.size() * size_t(signalCount); ++cell) bits.Put(1, 1);
  std::vector<double> ranges;
  ranges.reserve(satellites.size());
  for (const TMsmSatellite& satellite : satellites)
    ranges.push_back(RangeMetres(satellite.Elevation) / kLightMetresPerMs);
  for (double range : ranges) bits.Put(int64_t(range), 8);
  for (size_t i = 0; i < satellites.size(); ++i) bits.Put(system == TSimSystem::GLONASS ? 7 : 0, 4);
  for (double range : ranges) bits.Put(std::llround((range - std::floor(range)) * 1023), 10);
  for (const TMsmSatellite& satellite : satellites)
    bits.Put(std::lround(700 * std::sin(satellite.Phase)), 14);
  const size_t cells = satellites.size() * size_t(signalCount);
  for (size_t cell = 0; cell < cells; ++cell) bits.Put(int64_t(cell * 977 % 4000) - 2000, 20);
  for (size_t cell = 0; cell < cells; ++cell) bits.Put(int64_t(cell * 7919 % 60000) - 30000, 24);
  for (size_t cell = 0; cell < cells; ++cell) bits.Put(600, 10);
  for (size_t cell = 0; cell < cells; ++cell) bits.Put(0, 1);
  for (size_t cell = 0; cell < cells; ++cell)
    bits.Put(std::lround(satellites[cell / size_t(signalCount)].SNR * 16), 10);
  for (size_t cell = 0; cell < cells; ++cell) bits.Put(int64_t(cell * 31 % 200) - 100, 15);
  return bits.Bytes();
}

// The tracked satellites of one system, with the signal left after jamming.
std::vector<TMsmSatellite> Tracked(TSimSystem system, const std::vector<TSimSatellite>& satellites,
                                   double jamDb) {
  std::vector<TMsmSatellite> tracked;
  for (const TSimSatellite& satellite : satellites) {
    const double snr = satellite.SNR - jamDb;
    const int slot = system == TSimSystem::GLONASS ? satellite.PRN - 64 : satellite.PRN;
    // A cell mask holds 64 cells: at most 32 satellites of two signals.
    if (satellite.SNR > 0 && snr >= 10 && slot >= 1 && slot <= 64 && tracked.size() < 32)
      tracked.push_back({slot, satellite.Elevation, satellite.Phase, snr});
  }
  return tracked;
}

}  // namespace

std::string TSimFrames::Cycle(const TSimState& track, const TSimSkyState& skyState,
                              const TSimSky& sky) {
  const bool modern = sky.Modern();
  const double jam = modern ? JamProgress(sky, skyState.Elapsed) : -1;
  std::string frames;
  if (Ubx) {
    frames +=
        UbxFrame(0x01, 0x07, NavPvt(track, modern ? SkyFix(skyState, sky) : ClassicFix(track)));
    frames += UbxFrame(0x0A, 0x38, MonRf(sky.Signals ? 2 : 1, jam));
  }
  if (Rtcm) {
    if (!HaveBase) {
      Ecef(track.Latitude, track.Longitude, track.Altitude + kGeoidSeparation, Base);
      HaveBase = true;
    }
    const std::vector<TSimSystem> systems =
        modern ? skyState.Systems : std::vector<TSimSystem>{TSimSystem::GPS};
    if (Count % 10 == 0)
      frames += Rtcm3Frame(StationArp(
          Base, std::find(systems.begin(), systems.end(), TSimSystem::GLONASS) != systems.end()));
    const int signalCount = modern && sky.Signals ? 2 : 1;
    for (size_t i = 0; i < systems.size(); ++i) {
      const std::vector<TSimSatellite>& satellites =
          modern ? skyState.Satellites[i] : track.Satellites;
      frames += Rtcm3Frame(Msm7(systems[i], track.UtcMs,
                                Tracked(systems[i], satellites, jam >= 0 ? sky.JamDb : 0),
                                signalCount, i + 1 == systems.size()));
    }
  }
  ++Count;
  return frames;
}
