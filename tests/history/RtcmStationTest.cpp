// RTCM 1005 and 1006: 38-bit signed ECEF fields between flag bits, 1006's
// antenna height, short messages turned away.

#include <gtest/gtest.h>

#include "history/RtcmStation.h"
#include "nmea/FrameNames.h"

namespace {

// Every flag set, so that a field read a bit off shows; the CRC is not read.
std::string Station(int message, int64_t x, int64_t y, int64_t z, int64_t height = 0) {
  std::string data;
  size_t count = 0;
  const auto put = [&](int64_t value, int bits) {
    for (int bit = bits - 1; bit >= 0; --bit, ++count) {
      if (count % 8 == 0) data.push_back('\0');
      if ((static_cast<uint64_t>(value) >> bit & 1) != 0) data.back() |= char(0x80 >> count % 8);
    }
  };
  put(message, 12), put(2047, 12), put(1023, 10), put(x, 38), put(3, 2), put(y, 38), put(3, 2);
  put(z, 38), put(height, message == 1006 ? 16 : 0);
  return std::string{'\xD3', 0, static_cast<char>(data.size())} + data + "crc";
}

TEST(RtcmStation, DecodesAndPlacesTheArp) {
  const struct {
    const char* Legend;
    std::string Frame;
    std::optional<double> Antenna;
    double Latitude, Longitude, Height;
  } rows[] = {
      {"1005 near Munich", Station(1005, 41804833903, 8517979558, 47259997687), std::nullopt,
       48.1173, 11.5167, 545.4},
      {"1006 south and west: Y and Z negative",
       Station(1006, 17643597140, -50269671902, -34960227058, 65535), 65535 * 1e-4, -33.45, -70.66,
       570},
  };
  for (const auto& row : rows) {
    const std::optional<TRtcmStation> station = DecodeRtcmStation(*FrameOf(row.Frame));
    ASSERT_TRUE(station) << row.Legend;
    EXPECT_EQ(station->Station, 2047) << row.Legend;
    EXPECT_EQ(station->AntennaHeight, row.Antenna) << row.Legend;
    const TGeodetic place = StationPlace(*station);
    EXPECT_NEAR(place.Latitude, row.Latitude, 1e-6) << row.Legend;
    EXPECT_NEAR(place.Longitude, row.Longitude, 1e-6) << row.Legend;
    EXPECT_NEAR(place.Altitude, row.Height, 1e-3) << row.Legend;
  }
  // 1006 cut before its antenna height; 1007 is an antenna descriptor.
  const std::string cut = Station(1006, 1, 2, 3, 4).substr(3, 19);
  EXPECT_FALSE(DecodeRtcmStation(*FrameOf(std::string{'\xD3', 0, 19} + cut + "crc")));
  EXPECT_FALSE(DecodeRtcmStation(*FrameOf(Station(1007, 1, 2, 3))));
}

}  // namespace
