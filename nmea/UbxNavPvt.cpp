#include "nmea/UbxNavPvt.h"

#include <string_view>

#include "nmea/UbxFields.h"

// offset  type  field
//  0      U4    iTOW (ms)
//  4      U2    year, then U1 month, day, hour, min, sec; X1 valid
// 12      U4    tAcc (ns); 16 I4 nano (ns)
// 20      U1    fixType
// 21      X1    flags: bit 0 gnssFixOK, 1 diffSoln, 6-7 carrSoln
// 22      X1    flags2
// 23      U1    numSV
// 24      I4    lon (1e-7 deg); 28 I4 lat (1e-7 deg)
// 32      I4    height (mm, ellipsoid); 36 I4 hMSL (mm)
// 40      U4    hAcc (mm); 44 U4 vAcc (mm)
// 48..91        velocities, heading, pDOP, magnetic declination
std::optional<TNavPvt> DecodeNavPvt(const TFrame& frame) {
  if (frame.Kind != TFrameKind::Ubx || frame.Class != kUbxNavClass || frame.Id != kUbxNavPvtId)
    return std::nullopt;
  const std::string_view payload = frame.Payload();
  if (payload.size() < kNavPvtLength) return std::nullopt;
  TNavPvt pvt;
  if ((UbxU1(payload, 11) & 0x02) != 0)  // validTime
    pvt.Time = UbxU1(payload, 8) * 3600.0 + UbxU1(payload, 9) * 60.0 + UbxU1(payload, 10) +
               UbxI4(payload, 16) * 1e-9;
  pvt.FixType = UbxU1(payload, 20);
  const uint8_t flags = UbxU1(payload, 21);
  pvt.FixOk = (flags & 0x01) != 0;
  const int carrier = flags >> 6;
  pvt.Carrier = carrier == 1   ? TCarrierSolution::Float
                : carrier == 2 ? TCarrierSolution::Fixed
                               : TCarrierSolution::None;
  pvt.Satellites = UbxU1(payload, 23);
  pvt.Longitude = UbxI4(payload, 24) * 1e-7;
  pvt.Latitude = UbxI4(payload, 28) * 1e-7;
  pvt.Height = UbxI4(payload, 32) * 1e-3;
  pvt.HeightMsl = UbxI4(payload, 36) * 1e-3;
  pvt.HorizontalAccuracy = UbxU4(payload, 40) * 1e-3;
  pvt.VerticalAccuracy = UbxU4(payload, 44) * 1e-3;
  return pvt;
}
