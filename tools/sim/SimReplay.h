#pragma once
// --replay: a capture sent epoch by epoch at its recorded pace, through any
// of the simulator's links, so that a real receiver's log can be fed to the
// monitor or to any other program as it came.

#include <chrono>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>

#include "tools/sim/SimLink.h"

struct TSimOptions;

// Lines of a capture, ended by LF, CR LF or CR, without their ends; empty
// lines and comments ("#" first) are left out.
class TCaptureLines {
 public:
  explicit TCaptureLines(std::istream& input) : Input(input) {}
  std::optional<std::string> Next();

 private:
  std::istream& Input;
};

struct TReplayHooks {
  // Waits until the moment given, taking what the far side sends meanwhile.
  std::function<void(std::chrono::steady_clock::time_point)> WaitUntil;
  std::function<bool()> Stopped;
  std::ostream* Echo = nullptr;     // records every byte sent
  std::ostream* Notices = nullptr;  // the gaps crossed at once
};

// Sends the capture options.Replay until its end (again and again with
// options.Loop) or until stopped. False, with `error` set, when it cannot be
// read.
bool ReplayCapture(const TSimOptions& options, ISimLink& link, const TReplayHooks& hooks,
                   std::string& error);
