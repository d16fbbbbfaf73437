#pragma once
// The tool's arguments, read by Qt's command-line parser: one mode option at
// most, then files ("-" or none: standard input). "--" ends the options, so a
// file may start with "-".

#include <QStringList>
#include <string>
#include <vector>

#include "tools/decode/Mode.h"

namespace decode {

struct TDecodeOptions {
  const TModeEntry* Mode = nullptr;
  TModeArguments Arguments;
  std::vector<std::string> Files;
  bool Help = false;
  bool Version = false;
  std::string Error;  // why the arguments were refused
  std::string Usage;  // the parser's help text
};

// `arguments` start with the program's name, as QCoreApplication::arguments.
TDecodeOptions ParseDecodeOptions(const QStringList& arguments);

}  // namespace decode
