#pragma once
// tolvane-decode --follow SOURCE: reads a serial device or a source URL
// until SIGINT or SIGTERM, reconnecting as the program's window does, and
// hands on each line as it arrives: to the relay (--share), to the broker
// (--mqtt), then to the chosen mode, whose output is written out after each
// batch of lines.

#include <functional>
#include <string_view>

#include "nmea/NMEA.h"
#include "tools/decode/DecodeOptions.h"
#include "tools/decode/Mode.h"
#include "tools/decode/Output.h"

namespace decode {

// Every line as read (never empty), in order; what the run's decoder made
// of it, which the broker's epochs are recorded from.
using TFollowLine = std::function<TSentenceResult(std::string_view line)>;
// Every frame, in order among the lines.
using TFollowFrame = std::function<void(const TFrame& frame)>;

// Runs the event loop until stopped; the exit status: 0 after a stop, 1 when
// the source, the relay or the broker could not be set up (said on stderr).
// `mode` is null under --quiet.
int Follow(const TDecodeOptions& options, const TFollowLine& onLine, const TFollowFrame& onFrame,
           TDecodeMode* mode, TOutput& output);

}  // namespace decode
