#pragma once
// One epoch of a 1 Hz receiver for the replay benchmarks: RMC, GGA, four GSA
// and twenty GSV lines, framed, at second `second` of a log that starts at
// `firstHour` UTC (the time of day wraps at midnight).

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "common/Routines.h"

inline std::vector<std::string> ReceiverEpoch(uint64_t second, int firstHour = 0) {
  char time[48];
  std::snprintf(time, sizeof time, "%02d%02d%02d.00",
                static_cast<int>((firstHour + second / 3600) % 24),
                static_cast<int>(second / 60 % 60), static_cast<int>(second % 60));
  std::vector<std::string> lines = {
      FrameSentence(std::string("GNRMC,") + time +
                    ",A,6010.1234,N,02456.7890,E,012.0,045.0,071226,,"),
      FrameSentence(std::string("GNGGA,") + time +
                    ",6010.1234,N,02456.7890,E,1,20,0.7,25.0,M,18.3,M,,")};
  for (int system = 1; system <= 4; ++system)
    lines.push_back(
        FrameSentence("GNGSA,A,3,01,02,03,04,05,06,,,,,,,1.2,0.7,1.0," + std::to_string(system)));
  for (int gsv = 1; gsv <= 20; ++gsv)
    lines.push_back(
        FrameSentence("GPGSV,5,1,20,01,45,120,40,02,30,200,35,03,60,045,44,04,15,300,28,1"));
  return lines;
}
