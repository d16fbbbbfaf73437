#include "tools/decode/CommandLine.h"

namespace decode {

namespace {

const TModeEntry* FindMode(std::string_view flag) {
  for (const TModeEntry& entry : RegisteredModes()) {
    if (entry.Flag == flag) return &entry;
  }
  return nullptr;
}

}  // namespace

bool ParseCommandLine(const std::vector<std::string>& args, TCommandLine& commandLine) {
  bool flagsEnded = false;
  const TModeEntry* chosen = nullptr;
  for (const std::string& arg : args) {
    if (flagsEnded || arg == "-" || !arg.starts_with('-')) {
      commandLine.Files.push_back(arg);
    } else if (arg == "--") {
      flagsEnded = true;
    } else if (arg == "--help" || arg == "-h") {
      commandLine.Help = true;
    } else if (const TModeEntry* mode = arg.size() > 2 ? FindMode(arg) : nullptr) {
      if (chosen && chosen != mode) {
        commandLine.Error =
            "tolvane-decode: choose one of " + std::string(chosen->Flag) + " and " + arg + "\n";
        return false;
      }
      chosen = mode;
    } else {
      commandLine.Error = "tolvane-decode: unknown option " + arg + "\n";
      return false;
    }
  }
  commandLine.Mode = chosen ? chosen : FindMode("");
  if (!commandLine.Mode) {
    commandLine.Error = "tolvane-decode: no output mode is built in\n";
    return false;
  }
  if (commandLine.Files.empty()) commandLine.Files.push_back("-");
  return true;
}

std::string UsageText() {
  std::string text = "usage: tolvane-decode [MODE] [FILE ...]\n";
  text += "Decodes NMEA 0183 lines (FILE '-' or none: standard input) and prints\n";
  text += "{\"n\":LINE,\"code\":N,\"result\":\"srNAME\",\"REC\":{...}} per non-empty line.\n";
  text += "Modes:\n";
  for (const TModeEntry& entry : RegisteredModes()) {
    const std::string flag = entry.Flag.empty() ? "(none)" : std::string(entry.Flag);
    text += "  " + flag + std::string(flag.size() < 12 ? 12 - flag.size() : 1, ' ') +
            std::string(entry.Help) + "\n";
  }
  return text;
}

}  // namespace decode
