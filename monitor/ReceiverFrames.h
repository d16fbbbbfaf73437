#pragma once
// What the receiver says in binary frames beside its sentences: its last
// NAV-PVT, whose carrier solution and claimed accuracies also go to the
// epoch under way, its jamming verdicts (MON-RF, which the recorder keeps
// with the epochs), and the reference station its RTCM corrections name.

#include <cstdint>
#include <optional>
#include <string>

#include "common/Frame.h"
#include "history/Accuracy.h"
#include "history/EpochRecorder.h"
#include "history/RtcmStation.h"
#include "nmea/NMEA.h"
#include "nmea/UbxMonRf.h"
#include "nmea/UbxNavPvt.h"

struct TReceiverFrames {
  // Takes what the frame says, when it is one of those above; `tick` is
  // now.
  void Take(const TFrame& frame, TEpochRecorder& recorder, uint32_t tick);

  // Where the receiver is now, its height above the ellipsoid: from NAV-PVT
  // once one came (none while it has no fix), else from the decoder's last
  // GGA.
  std::optional<TGeodetic> CurrentFix(const TNMEA& decoder) const;
  // The Position window's station line; empty before 1005 or 1006 came.
  std::string StationLine(const TNMEA& decoder) const;

  std::optional<TNavPvt> NavPvt;
  std::optional<TRtcmStation> Station;
  // When the last MON-RF came.
  uint32_t RfTick = 0;
};
