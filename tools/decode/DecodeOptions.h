#pragma once
// The tool's arguments, read by Qt's command-line parser: one mode option at
// most, then files ("-" or none: standard input), or --follow SOURCE with
// what it alone takes (--share, --mqtt, --quiet, --baud, --raw). "--" ends the
// options, so a file may start with "-".

#include <QStringList>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/decode/Mode.h"

namespace decode {

struct TDecodeOptions {
  const TModeEntry* Mode = nullptr;
  TModeArguments Arguments;
  std::vector<std::string> Files;
  // --follow: a serial device path or a source URL, read until stopped.
  std::string Follow;
  // --share [ADDR:]PORT: relay the lines on ADDR (127.0.0.1 when not given).
  std::string ShareAddress;
  uint16_t SharePort = 0;  // 0: no relay
  std::string Mqtt;        // --mqtt URL: publish to that broker
  bool Quiet = false;      // print nothing
  int32_t Baud = 0;        // --baud N for a serial device; 0: 4800
  std::string Raw;         // --raw OUT: every byte read, written to OUT
  bool Help = false;
  bool Version = false;
  std::string Error;  // why the arguments were refused
  std::string Usage;  // the parser's help text
};

// `arguments` start with the program's name, as QCoreApplication::arguments.
TDecodeOptions ParseDecodeOptions(const QStringList& arguments);

}  // namespace decode
