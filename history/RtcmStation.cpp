#include "history/RtcmStation.h"

#include <GeographicLib/Geocentric.hpp>
#include <cmath>
#include <cstdio>
#include <string_view>

namespace {

// Fields of an RTCM 3 payload, most significant bit first. Reading past the
// end gives zeros; the caller checks the length first.
class TBitReader {
 public:
  explicit TBitReader(std::string_view data) : Data(data) {}

  uint64_t Unsigned(int bits) {
    uint64_t value = 0;
    for (int i = 0; i < bits; ++i, ++Position) {
      const size_t byte = Position / 8;
      const bool set =
          byte < Data.size() && (static_cast<uint8_t>(Data[byte]) >> (7 - Position % 8) & 1) != 0;
      value = value << 1 | (set ? 1 : 0);
    }
    return value;
  }

  // Two's complement.
  int64_t Signed(int bits) {
    const uint64_t raw = Unsigned(bits);
    const uint64_t sign = uint64_t{1} << (bits - 1);
    return static_cast<int64_t>(raw ^ sign) - static_cast<int64_t>(sign);
  }

  void Skip(int bits) { Position += static_cast<size_t>(bits); }

 private:
  std::string_view Data;
  size_t Position = 0;
};

constexpr size_t kBits1005 = 152;
constexpr size_t kBits1006 = 168;
constexpr double kArpUnit = 1e-4;  // metres

}  // namespace

// DF002 message number 12, DF003 station ID 12, DF021 ITRF year 6,
// DF022-DF024 GPS, GLONASS, Galileo 1 each, DF141 reference station 1,
// DF025 ECEF X 38 (signed, 0.1 mm), DF142 single oscillator 1, reserved 1,
// DF026 ECEF Y 38, DF364 quarter cycle 2, DF027 ECEF Z 38;
// 1006 goes on with DF028 antenna height 16 (unsigned, 0.1 mm).
std::optional<TRtcmStation> DecodeRtcmStation(const TFrame& frame) {
  if (frame.Kind != TFrameKind::Rtcm3 || (frame.Type != 1005 && frame.Type != 1006))
    return std::nullopt;
  const std::string_view payload = frame.Payload();
  const bool withHeight = frame.Type == 1006;
  if (payload.size() * 8 < (withHeight ? kBits1006 : kBits1005)) return std::nullopt;
  TBitReader bits(payload);
  TRtcmStation station;
  station.Message = static_cast<uint16_t>(bits.Unsigned(12));
  station.Station = static_cast<uint16_t>(bits.Unsigned(12));
  bits.Skip(6 + 4);
  station.X = static_cast<double>(bits.Signed(38)) * kArpUnit;
  bits.Skip(2);
  station.Y = static_cast<double>(bits.Signed(38)) * kArpUnit;
  bits.Skip(2);
  station.Z = static_cast<double>(bits.Signed(38)) * kArpUnit;
  if (withHeight) station.AntennaHeight = static_cast<double>(bits.Unsigned(16)) * kArpUnit;
  return station;
}

TGeodetic StationPlace(const TRtcmStation& station) {
  TGeodetic place;
  GeographicLib::Geocentric::WGS84().Reverse(station.X, station.Y, station.Z, place.Latitude,
                                             place.Longitude, place.Altitude);
  return place;
}

double Baseline(const TRtcmStation& station, const TGeodetic& fix) {
  double x = 0, y = 0, z = 0;
  GeographicLib::Geocentric::WGS84().Forward(fix.Latitude, fix.Longitude, fix.Altitude, x, y, z);
  return std::sqrt((x - station.X) * (x - station.X) + (y - station.Y) * (y - station.Y) +
                   (z - station.Z) * (z - station.Z));
}

std::string StationText(const TRtcmStation& station, const std::optional<TGeodetic>& fix) {
  const TGeodetic place = StationPlace(station);
  char text[128];
  std::snprintf(text, sizeof text, "Base %u: %.6f, %.6f, %.1f m", unsigned{station.Message},
                place.Latitude, place.Longitude, place.Altitude);
  std::string line = text;
  if (!fix) return line;
  const double metres = Baseline(station, *fix);
  // A rover beside its base is usual: metres say more there than "0.002 km".
  if (metres < 999.95)
    std::snprintf(text, sizeof text, "; baseline %.1f m", metres);
  else
    std::snprintf(text, sizeof text, "; baseline %.3f km", metres / 1000);
  line += text;
  return line;
}
