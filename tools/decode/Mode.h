#pragma once
// What the tool does with each decoded line. Every mode lives in its own
// source file and registers itself there with a file-scope TModeRegistration,
// naming the command-line flag that selects it; nothing else needs an edit.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "common/Frame.h"
#include "history/Accuracy.h"
#include "nmea/NMEA.h"
#include "tools/decode/Output.h"

namespace decode {

class TDecodeMode {
 public:
  virtual ~TDecodeMode() = default;
  // Every non-empty line, numbered from 1 across all files (empty lines take
  // a number too), after the one decoder of the run has taken it.
  virtual void Line(uint64_t number, std::string_view text, TSentenceResult result,
                    const TNMEA& decoder) = 0;
  // A UBX or RTCM 3 frame taken out of the stream, numbered with the lines.
  // Most modes leave frames alone.
  virtual void Frame(uint64_t /*number*/, const TFrame& /*frame*/) {}
  // Once, after the last line of the last file, with that line's number
  // (empty lines counted, as for Line).
  virtual void Finish(uint64_t /*lastLine*/) {}
  // Under --follow, every 10 s: a mode that prints one object at the end
  // prints it as it stands now.
  virtual void Report(uint64_t /*lastLine*/) {}
  // Members such a mode adds at the top level of its object (the relay's
  // counts under --follow --share), written by `write`.
  using TExtraMembers = std::function<void(TOutputJson& json)>;
  // By value for the modes that keep it; the default keeps nothing.
  // NOLINTNEXTLINE(performance-unnecessary-value-param)
  virtual void SetExtraMembers(TExtraMembers /*write*/) {}
};

using TModeFactory = std::unique_ptr<TDecodeMode> (*)(TOutput& output);

// What a few modes take besides the files.
struct TModeArguments {
  std::optional<TGeodetic> Reference;  // --reference LAT,LON,ALT
};
using TModeFactoryWith = std::unique_ptr<TDecodeMode> (*)(TOutput& output,
                                                          const TModeArguments& arguments);

struct TModeEntry {
  std::string_view Flag;  // "--summary"; empty for the mode used without a flag
  std::string_view Help;  // one line for the usage text
  TModeFactory Create;
  // Instead of Create, for a mode that takes the arguments above.
  TModeFactoryWith CreateWith = nullptr;
};

struct TModeRegistration {
  explicit TModeRegistration(TModeEntry entry);
};

// Every registered mode, in flag order.
const std::vector<TModeEntry>& RegisteredModes();

}  // namespace decode
