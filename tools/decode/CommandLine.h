#pragma once
// The tool's arguments: one mode flag at most, then files ("-" or none:
// standard input). "--" ends the flags, so a file may start with "-".

#include <string>
#include <vector>

#include "tools/decode/Mode.h"

namespace decode {

struct TCommandLine {
  const TModeEntry* Mode = nullptr;
  std::vector<std::string> Files;
  bool Help = false;
  std::string Error;  // why the arguments were refused, with a line end
};

bool ParseCommandLine(const std::vector<std::string>& args, TCommandLine& commandLine);
std::string UsageText();

}  // namespace decode
