#pragma once
// Sentences that tests of several layers build their input from (header
// only: the history tests link no test support).

#include <string>

#include "common/Routines.h"

// A GPS fix at `time` (hhmmss[.ss]): 60°10'N 24°56'E, 25 m, 8 satellites.
inline std::string Gga(const std::string& time) {
  return FrameSentence("GPGGA," + time + ",6010.1234,N,02456.7890,E,1,08,0.9,25.0,M,18.3,M,,");
}
