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
      {"--tcp", Number(options.TcpPort, 0, 65535)},
      {"--udp", Text(options.Udp)},
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
  return CheckLinkChoice(options, error);
}

std::string SimUsage() {
  return "usage: tolvane-sim [options]\n"
         "A simulated GPS receiver: creates a pseudo-terminal (or serves TCP, or sends UDP),\n"
         "prints the path or URL to open on the first line, and sends RMC, GGA, GSA, GSV\n"
         "and PGRME sentences along a moving track.\n"
         "  --rate N           cycles a second (0.01 to 100; default 1)\n"
         "  --cycles N         stop after N cycles (default: run until Ctrl+C)\n"
         "  --talker XX        talker of the standard sentences (default GP)\n"
         "  --bad-checksums P  share of sentences with a wrong checksum (0 to 1)\n"
         "  --garbage N        random bytes between two sentences of every cycle\n"
         "  --burst N          every tenth cycle comes with N more at once\n"
         "  --link PATH        a symbolic link to the pseudo-terminal, removed at exit\n"
         "  --device PATH      send on this serial device instead of a pseudo-terminal\n"
         "  --baud N           the serial device's baud rate (default 4800)\n"
         "  --tcp PORT         serve every TCP client that connects to PORT (0: any free\n"
         "                     port); prints the URL to open\n"
         "  --udp ADDR:PORT    send each cycle as a datagram to ADDR:PORT ([v6]:PORT)\n"
         "  --echo FILE        record every byte sent\n"
         "  --seed N           seed of the sky, the track and the faults (default 1)\n"
         "Commands received from the monitor are printed as they arrive.\n";
}
