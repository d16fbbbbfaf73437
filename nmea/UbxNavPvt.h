#pragma once
// UBX NAV-PVT, the navigation solution a u-blox receiver sends once per
// epoch: what kind of fix it has, where, and how good it thinks it is.

#include <cstddef>
#include <cstdint>
#include <optional>

#include "common/Frame.h"

// flags bits 6-7 (carrSoln): whether carrier phase ranges are used, with the
// ambiguities floating or fixed (RTK float and fixed). 3 is reserved.
enum class TCarrierSolution : uint8_t { None, Float, Fixed };

struct TNavPvt {
  // UTC time of day in seconds with its fraction (hour, min, sec and nano);
  // none while the receiver says it is not valid.
  std::optional<double> Time;
  // 0 no fix, 1 dead reckoning only, 2 2D, 3 3D, 4 GNSS with dead reckoning,
  // 5 time only.
  uint8_t FixType = 0;
  bool FixOk = false;  // gnssFixOK: the fix is within the limits set (DOP, accuracy)
  TCarrierSolution Carrier = TCarrierSolution::None;
  uint8_t Satellites = 0;  // numSV, used in the solution
  double Longitude = 0;    // signed decimal degrees
  double Latitude = 0;     // signed decimal degrees
  double Height = 0;       // metres above the ellipsoid
  double HeightMsl = 0;    // metres above mean sea level
  // The receiver's own estimates of its accuracy in metres (hAcc, vAcc).
  double HorizontalAccuracy = 0;
  double VerticalAccuracy = 0;

  // A position worth showing: gnssFixOK with a 2D, 3D or combined fix.
  bool Located() const { return FixOk && FixType >= 2 && FixType <= 4; }
  bool operator==(const TNavPvt&) const = default;
};

constexpr uint8_t kUbxNavClass = 0x01;
constexpr uint8_t kUbxNavPvtId = 0x07;
constexpr size_t kNavPvtLength = 92;

// None for another message or a payload shorter than 92 bytes (older
// firmware's 84-byte NAV-PVT among them); a longer one is read as far as it
// goes.
std::optional<TNavPvt> DecodeNavPvt(const TFrame& frame);
