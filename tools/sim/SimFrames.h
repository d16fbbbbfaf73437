#pragma once
// The simulated receiver's binary frames, sent after each cycle's sentences:
// with --ubx a u-blox receiver's NAV-PVT and MON-RF, with --rtcm a base
// station's 1005 every tenth cycle and one MSM7 per simulated system.

#include <cstdint>
#include <string>

#include "tools/sim/SimSentences.h"
#include "tools/sim/SimSky.h"

class TSimFrames {
 public:
  TSimFrames(bool ubx, bool rtcm) : Ubx(ubx), Rtcm(rtcm) {}

  // The frames of the next cycle; the classic receiver's GPS sky when `sky`
  // names no modern receiver.
  std::string Cycle(const TSimState& track, const TSimSkyState& skyState, const TSimSky& sky);

 private:
  bool Ubx;
  bool Rtcm;
  int64_t Count = 0;
  bool HaveBase = false;
  double Base[3] = {};  // the reference station, ECEF metres: where the track began
};
