// NAV-PVT as u-blox receivers send it: carrSoln in the flags' top bits,
// signed positions, unsigned accuracies, the time only when valid.

#include <gtest/gtest.h>

#include "nmea/FrameNames.h"
#include "nmea/UbxNavPvt.h"

namespace {

// At 12:34:56, a 3D fix 12.345 m below the ellipsoid; the checksum is not read.
std::string NavPvt(uint8_t valid, uint8_t flags, int32_t lon, int32_t lat, uint32_t hAcc,
                   size_t length = kNavPvtLength, char id = 0x07) {
  std::string p(length, '\0');
  const auto put = [&p](size_t at, auto value) {
    for (size_t i = 0; i < 4; ++i) p[at + i] = static_cast<char>(uint32_t(value) >> 8 * i);
  };
  p.replace(8, 4, {12, 34, 56, static_cast<char>(valid)});
  p[20] = 3, p[21] = static_cast<char>(flags);
  put(24, lon), put(28, lat), put(32, -12'345), put(40, hAcc), put(44, hAcc / 2);
  return std::string{'\xB5', 0x62, 1, id, static_cast<char>(length), 0} + p + "ck";
}

TEST(UbxNavPvt, DecodesTheWholeRecord) {
  using enum TCarrierSolution;
  const struct {
    const char* Legend;
    uint8_t Valid, Flags;
    int32_t Lon, Lat;
    uint32_t HAcc;
    TCarrierSolution Carrier;
  } rows[] = {
      {"RTK fixed", 7, 0x81, 115'167'000, 481'173'000, 14, Fixed},
      {"RTK float, diffSoln too", 7, 0x43, 115'167'000, 481'173'000, 14, Float},
      {"carrSoln 3 is reserved: none", 7, 0xC1, 115'167'000, 481'173'000, 14, None},
      {"south and west, no valid time, no gnssFixOK, hAcc past 2^31 mm", 1, 0x00, -706'600'000,
       -334'500'000, 0xFFFFFFFF, None},
  };
  for (const auto& r : rows) {
    TNavPvt want;
    const uint32_t vAccMm = r.HAcc / 2;  // as the builder sends it
    if ((r.Valid & 2) != 0) want.Time = 45296;
    want.FixType = 3, want.FixOk = (r.Flags & 1) != 0, want.Carrier = r.Carrier;
    want.Longitude = r.Lon * 1e-7, want.Latitude = r.Lat * 1e-7, want.Height = -12'345 * 1e-3;
    want.HorizontalAccuracy = r.HAcc * 1e-3, want.VerticalAccuracy = vAccMm * 1e-3;
    EXPECT_EQ(DecodeNavPvt(*FrameOf(NavPvt(r.Valid, r.Flags, r.Lon, r.Lat, r.HAcc))), want)
        << r.Legend;
  }
  // Older firmware's 84 bytes, and NAV-POSLLH, are no NAV-PVT.
  EXPECT_FALSE(DecodeNavPvt(*FrameOf(NavPvt(7, 0x81, 1, 1, 1, 84))));
  EXPECT_FALSE(DecodeNavPvt(*FrameOf(NavPvt(7, 0x81, 1, 1, 1, kNavPvtLength, 0x02))));
}

}  // namespace
