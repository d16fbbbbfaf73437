#pragma once
// The simulator's command line.

#include <cstdint>
#include <string>
#include <vector>

#include "tools/sim/SimSentences.h"

struct TSimOptions {
  double Rate = 1;     // cycles a second
  int64_t Cycles = 0;  // 0: until stopped
  std::string Talker = "GP";
  TSimFaults Faults;
  int Burst = 0;  // every tenth cycle is followed at once by this many more
  std::string Link;
  std::string Device;  // a real serial device instead of a pseudo-terminal
  int32_t Baud = 4800;
  std::string Echo;  // records every byte sent
  uint32_t Seed = 1;
  bool Help = false;
};

// The arguments after the program name. False, with a message in `error`,
// for an unknown option, a missing value or a value out of range.
bool ParseSimOptions(const std::vector<std::string>& args, TSimOptions& options,
                     std::string& error);

std::string SimUsage();
