#pragma once
// The simulator's command line.

#include <QStringList>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/sim/SimSentences.h"
#include "tools/sim/SimSky.h"

struct TSimOptions {
  double Rate = 1;     // cycles a second
  int64_t Cycles = 0;  // 0: until stopped
  std::string Talker = "GP";
  TSimFaults Faults;
  int Burst = 0;  // every tenth cycle is followed at once by this many more
  std::string Link;
  std::string Device;  // a real serial device instead of a pseudo-terminal
  int TcpPort = -1;    // serve TCP clients on this port instead (0: any free port)
  std::string Udp;     // send datagrams to this ADDRESS:PORT instead
  int32_t Baud = 4800;
  std::string Echo;  // records every byte sent
  uint32_t Seed = 1;
  std::string Replay;  // a capture to send at its recorded pace instead
  double Speed = 1;    // of the replay; TReplayPace::kFastest: as fast as possible
  bool Loop = false;   // the replay starts again from the top at its end
  TSimSky Sky;         // the systems, signals, jamming and RTK of the simulated sky
  bool Ubx = false;    // NAV-PVT and MON-RF frames after each cycle
  bool Rtcm = false;   // a 1005 every ten cycles and an MSM7 per system after each
  bool Help = false;
  bool Version = false;
  std::string Usage;  // the parser's help text
};

// The arguments, read by Qt's command-line parser; they start with the
// program's name, as QCoreApplication::arguments. False, with a message in
// `error`, for an unknown option, a missing value, a value out of range, an
// argument that is no option, two ways of sending at once, or options of the
// simulated sky with --replay.
bool ParseSimOptions(const QStringList& arguments, TSimOptions& options, std::string& error);
