#pragma once
// Running the built tolvane-decode as a script would: arguments, standard
// input, and what comes back; and the simulator serving lines for --follow.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/Simulator.h"

struct TRunResult {
  QByteArray Out;
  QByteArray Err;
  int ExitCode = -1;
};

TRunResult RunDecode(const QStringList& args, const QByteArray& input = {});

inline const QString kDecodeProgram = TOLVANE_BINARY_DIR "/tools/tolvane-decode";

// Waits until a condition holds, at most a time, turning whatever loops the
// test runs; whether it held.
using TWait = std::function<bool(const std::function<bool()>& done, int timeoutMs)>;
// The simulator serves `cycles` cycles (40 a second) on 127.0.0.1:`port`,
// recording every byte a client took in `echo`, and ends; false when it did
// not run to its end. 120 cycles or more last long enough for --follow,
// refused before, to find it at its next try.
bool Serve(uint16_t port, const QString& echo, const char* cycles, const TWait& wait);
// The non-empty lines of a program's output.
std::vector<std::string> OutputLines(const QByteArray& out);
