#include "tools/sim/SimOptions.h"

#include <QCommandLineParser>
#include <charconv>
#include <functional>
#include <limits>
#include <type_traits>

#include "common/Routines.h"
#include "history/ReplayPace.h"
#include "tools/ToolUsage.h"

namespace {

template <typename T>
bool ParseNumber(const std::string& text, T& value) {
  if constexpr (std::is_integral_v<T>) {
    const std::optional<T> whole = ParseWhole<T>(text);
    if (whole) value = *whole;
    return whole.has_value();
  } else {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && stop == end && !text.empty();
  }
}

template <typename T>
std::function<bool(const std::string&)> Number(T& target, T low, T high) {
  return [&target, low, high](const std::string& text) {
    T value{};
    if (!ParseNumber(text, value) || value < low || value > high) return false;
    target = value;
    return true;
  };
}

std::function<bool(const std::string&)> Text(std::string& target) {
  return [&target](const std::string& text) {
    target = text;
    return !text.empty();
  };
}

// One way of sending at a time; a link to the device only for a
// pseudo-terminal, which has a path that changes from run to run.
bool CheckLinkChoice(const TSimOptions& options, std::string& error) {
  const int ways =
      int(!options.Device.empty()) + int(options.TcpPort >= 0) + int(!options.Udp.empty());
  if (ways > 1) {
    error = "choose one of --device, --tcp and --udp";
    return false;
  }
  if (ways == 1 && !options.Link.empty()) {
    error = "--link is for the pseudo-terminal only";
    return false;
  }
  return true;
}

}  // namespace

namespace {

struct TValuedOption {
  const char* Name;
  const char* ValueName;
  const char* Description;
  std::function<bool(const std::string&)> Take;
};

std::vector<TValuedOption> ValuedOptions(TSimOptions& options) {
  auto talker = [&options](const std::string& text) {
    return text.size() == 2 && Text(options.Talker)(text);
  };
  return {
      {"rate", "N", "cycles a second (0.01 to 100; default 1)", Number(options.Rate, 0.01, 100.0)},
      {"cycles", "N", "stop after N cycles (default: run until Ctrl+C)",
       Number<int64_t>(options.Cycles, 0, INT64_MAX)},
      {"talker", "XX", "talker of the standard sentences (default GP)", talker},
      {"bad-checksums", "P", "share of sentences with a wrong checksum (0 to 1)",
       Number(options.Faults.BadChecksumShare, 0.0, 1.0)},
      {"garbage", "N", "random bytes between two sentences of every cycle",
       Number(options.Faults.GarbageBytes, 0, 100000)},
      {"burst", "N", "every tenth cycle comes with N more at once", Number(options.Burst, 0, 1000)},
      {"link", "PATH", "a symbolic link to the pseudo-terminal, removed at exit",
       Text(options.Link)},
      {"device", "PATH", "send on this serial device instead of a pseudo-terminal",
       Text(options.Device)},
      {"baud", "N", "the serial device's baud rate (default 4800)",
       Number<int32_t>(options.Baud, 1, 100000000)},
      {"tcp", "PORT",
       "serve every TCP client that connects to PORT (0: any free port); prints the URL to open",
       Number(options.TcpPort, 0, int{std::numeric_limits<uint16_t>::max()})},
      {"udp", "ADDR:PORT", "send each cycle as a datagram to ADDR:PORT ([v6]:PORT)",
       Text(options.Udp)},
      {"echo", "FILE", "record every byte sent", Text(options.Echo)},
      {"seed", "N", "seed of the sky, the track and the faults (default 1)",
       Number<uint32_t>(options.Seed, 0, UINT32_MAX)},
      {"replay", "FILE",
       "send the lines of a capture epoch by epoch at its recorded pace instead; "
       "gaps over 10 s and steps back are crossed at once",
       Text(options.Replay)},
      {"speed", "X", "the replay's speed: recorded time divided by X (a number, or max)",
       [&options](const std::string& text) {
         const std::optional<double> speed = ParseSpeed(text);
         if (speed) options.Speed = *speed;
         return speed.has_value();
       }},
      {"constellations", "LIST",
       "simulate a modern receiver of these systems: gps,glonass,galileo,beidou,qzss",
       [&options](const std::string& text) { return ParseSystems(text, options.Sky); }},
      {"jam", "START,SECONDS,DB",
       "lower every SNR by DB dB for SECONDS seconds from START seconds after the beginning",
       [&options](const std::string& text) { return ParseJam(text, options.Sky); }},
  };
}

struct TFlag {
  const char* Name;
  const char* Description;
  bool* Target;
};

std::vector<TFlag> Flags(TSimOptions& options) {
  return {
      {"loop", "start the replay again from the top at its end", &options.Loop},
      {"signals",
       "with --constellations: one GSV series per signal (L1 C/A and L5, E1 and "
       "E5a, B1I and B2a ...)",
       &options.Sky.Signals},
      {"rtk", "walk the fix quality through 1, 2, 5 and 4 with a differential age",
       &options.Sky.Rtk},
      {"ubx", "send UBX NAV-PVT and MON-RF frames after each cycle's sentences", &options.Ubx},
      {"rtcm",
       "send an RTCM 3 MSM7 frame per system after each cycle's sentences, and a 1005 every "
       "tenth cycle",
       &options.Rtcm},
  };
}

// The simulated sky's options belong to the simulation; a replay sends
// what was recorded.
bool CheckReplayChoice(const TSimOptions& options, std::string& error) {
  if (options.Replay.empty()) {
    if (options.Speed != 1 || options.Loop) error = "--speed and --loop are for --replay";
    return error.empty();
  }
  if (!options.Sky.Systems.empty() || options.Sky.Signals || options.Sky.Rtk ||
      options.Sky.JamSeconds > 0 || options.Ubx || options.Rtcm) {
    error = "--replay sends the capture as recorded: no simulated sky options beside it";
    return false;
  }
  return true;
}

constexpr const char* kDescription =
    "A simulated GPS receiver: creates a pseudo-terminal (or serves TCP, or sends UDP),\n"
    "prints the path or URL to open on the first line, and sends RMC, GGA, GSA, GSV\n"
    "and PGRME sentences along a moving track; or replays a capture at its pace.\n"
    "Commands received from the monitor are printed as they arrive.";

}  // namespace

bool ParseSimOptions(const QStringList& arguments, TSimOptions& options, std::string& error) {
  QCommandLineParser parser;
  parser.setApplicationDescription(kDescription);
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version = parser.addVersionOption();
  const std::vector<TValuedOption> valued = ValuedOptions(options);
  for (const TValuedOption& option : valued)
    parser.addOption({option.Name, option.Description, option.ValueName});
  const std::vector<TFlag> flags = Flags(options);
  for (const TFlag& flag : flags) parser.addOption({flag.Name, flag.Description});
  const bool parsed = parser.parse(arguments);
  options.Usage = ToolUsage(parser);
  if (!parsed) {
    error = parser.errorText().toStdString();
    return false;
  }
  if (!parser.positionalArguments().isEmpty()) {
    error = "unexpected argument " + parser.positionalArguments().constFirst().toStdString();
    return false;
  }
  options.Help = parser.isSet(help) || parser.isSet("help-all");
  options.Version = parser.isSet(version);
  for (const TValuedOption& option : valued) {
    if (!parser.isSet(option.Name)) continue;
    const std::string value = parser.value(option.Name).toStdString();
    if (!option.Take(value)) {
      error = std::string("bad value for --") + option.Name + ": " + value;
      return false;
    }
  }
  for (const TFlag& flag : flags) *flag.Target = parser.isSet(flag.Name);
  return CheckLinkChoice(options, error) && CheckReplayChoice(options, error);
}
