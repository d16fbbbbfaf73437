#pragma once
// The reference station an RTK rover takes its corrections from, as RTCM 3
// messages 1005 and 1006 place it: its antenna reference point (ARP) in
// Earth-centred, Earth-fixed coordinates. The Position window names it with
// the baseline from the current fix.

#include <cstdint>
#include <optional>
#include <string>

#include "common/Frame.h"
#include "history/Accuracy.h"

struct TRtcmStation {
  uint16_t Message = 0;  // 1005 or 1006
  uint16_t Station = 0;  // the reference station ID
  // The ARP in metres, WGS84 ECEF (strictly the ITRF realisation the
  // station names: the difference is centimetres).
  double X = 0;
  double Y = 0;
  double Z = 0;
  // 1006 only: the ARP above the marker, metres.
  std::optional<double> AntennaHeight;

  bool operator==(const TRtcmStation&) const = default;
};

// None for another message or one too short for its fields.
std::optional<TRtcmStation> DecodeRtcmStation(const TFrame& frame);

// The ARP's latitude, longitude and height above the WGS84 ellipsoid.
TGeodetic StationPlace(const TRtcmStation& station);

// The straight line (through the Earth, not along it) from `fix` (its
// Altitude the ellipsoidal height) to the ARP, metres.
double Baseline(const TRtcmStation& station, const TGeodetic& fix);

// "Base 1005: 48.117300, 11.516700, 545.4 m; baseline 1.234 km", the
// baseline part only with a fix, in metres below a kilometre ("baseline
// 850.2 m").
std::string StationText(const TRtcmStation& station, const std::optional<TGeodetic>& fix);
