#include "tools/sim/SimOptions.h"

#include <charconv>
#include <functional>
#include <map>

namespace {

template <typename T>
bool ParseNumber(const std::string& text, T& value) {
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  return error == std::errc() && stop == end && !text.empty();
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

}  // namespace

bool ParseSimOptions(const std::vector<std::string>& args, TSimOptions& options,
                     std::string& error) {
  const std::map<std::string, std::function<bool(const std::string&)>> valued = {
      {"--rate", Number(options.Rate, 0.01, 100.0)},
      {"--cycles", Number<int64_t>(options.Cycles, 0, INT64_MAX)},
      {"--talker",
       [&](const std::string& text) { return text.size() == 2 && Text(options.Talker)(text); }},
      {"--bad-checksums", Number(options.Faults.BadChecksumShare, 0.0, 1.0)},
      {"--garbage", Number(options.Faults.GarbageBytes, 0, 100000)},
      {"--burst", Number(options.Burst, 0, 1000)},
      {"--link", Text(options.Link)},
      {"--device", Text(options.Device)},
      {"--baud", Number<int32_t>(options.Baud, 1, 100000000)},
      {"--echo", Text(options.Echo)},
      {"--seed", Number<uint32_t>(options.Seed, 0, UINT32_MAX)},
  };
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& name = args[i];
    if (name == "--help" || name == "-h") {
      options.Help = true;
      continue;
    }
    const auto option = valued.find(name);
    if (option == valued.end()) {
      error = "unknown option " + name;
      return false;
    }
    if (i + 1 >= args.size()) {
      error = name + " needs a value";
      return false;
    }
    if (!option->second(args[++i])) {
      error = "bad value for " + name + ": " + args[i];
      return false;
    }
  }
  return true;
}

std::string SimUsage() {
  return "usage: tolvane-sim [options]\n"
         "A simulated GPS receiver: creates a pseudo-terminal, prints its path on the first\n"
         "line, and sends RMC, GGA, GSA, GSV and PGRME sentences along a moving track.\n"
         "  --rate N           cycles a second (0.01 to 100; default 1)\n"
         "  --cycles N         stop after N cycles (default: run until Ctrl+C)\n"
         "  --talker XX        talker of the standard sentences (default GP)\n"
         "  --bad-checksums P  share of sentences with a wrong checksum (0 to 1)\n"
         "  --garbage N        random bytes between two sentences of every cycle\n"
         "  --burst N          every tenth cycle comes with N more at once\n"
         "  --link PATH        a symbolic link to the pseudo-terminal, removed at exit\n"
         "  --device PATH      send on this serial device instead of a pseudo-terminal\n"
         "  --baud N           the serial device's baud rate (default 4800)\n"
         "  --echo FILE        record every byte sent\n"
         "  --seed N           seed of the sky, the track and the faults (default 1)\n"
         "Commands received from the monitor are printed as they arrive.\n";
}
