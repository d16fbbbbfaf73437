#include "tools/decode/DecodeOptions.h"

#include <QCommandLineParser>
#include <limits>

#include "format/PositionText.h"
#include "source/HostPort.h"
#include "tools/ToolUsage.h"

namespace decode {

namespace {

QString Description() {
  QString text = "Decodes NMEA 0183 lines (FILE '-' or none: standard input).";
  for (const TModeEntry& entry : RegisteredModes()) {
    if (entry.Flag.empty())
      text += "\nWithout a mode: " + QString::fromUtf8(entry.Help.data(), entry.Help.size()) + ".";
  }
  return text;
}

// The mode options by their long names, without the leading "--".
QString OptionName(const TModeEntry& entry) {
  return QString::fromUtf8(entry.Flag.substr(2).data(), entry.Flag.size() - 2);
}

// "LAT,LON,ALT" in decimal degrees and metres, a dot for the decimal point.
std::optional<TGeodetic> ParseReference(const QString& text) {
  const QStringList parts = text.split(',');
  if (parts.size() != 3) return std::nullopt;
  const std::optional<double> latitude = ParsePosition(parts[0].toStdString(), true);
  const std::optional<double> longitude = ParsePosition(parts[1].toStdString(), false);
  const std::optional<double> altitude = ParseNumber(parts[2].toStdString());
  if (!latitude || !longitude || !altitude) return std::nullopt;
  return TGeodetic{*latitude, *longitude, *altitude};
}

// "PORT", "ADDR:PORT" or "[IPV6]:PORT"; false when it is none of them. The
// option's own message says what it takes, so the reason is not shown.
bool ParseShare(const std::string& text, std::string& address, uint16_t& port) {
  std::string reason;
  std::optional<THostPort> parts = THostPort{"127.0.0.1", text};
  if (text.find(':') != std::string::npos) parts = SplitHostPort(text, reason);
  if (!parts || parts->Host.empty() || !parts->Port) return false;
  const std::optional<uint16_t> number = ParsePort(*parts->Port, reason);
  if (!number) return false;
  address = parts->Host;
  port = *number;
  return true;
}

// What only --follow takes, read and checked; false with options.Error set.
bool ParseFollow(const QCommandLineParser& parser, TDecodeOptions& options) {
  options.Follow = parser.value("follow").toLocal8Bit().toStdString();
  options.Mqtt = parser.value("mqtt").toStdString();
  options.Quiet = parser.isSet("quiet");
  options.Raw = parser.value("raw").toLocal8Bit().toStdString();
  const bool following = parser.isSet("follow");
  for (const char* name : {"share", "mqtt", "quiet", "baud", "raw"}) {
    if (parser.isSet(name) && !following) {
      options.Error = std::string("--") + name + " needs --follow";
      return false;
    }
  }
  if (following && !parser.positionalArguments().isEmpty()) {
    options.Error = "--follow reads its source, not files";
    return false;
  }
  if (parser.isSet("share") &&
      !ParseShare(parser.value("share").toStdString(), options.ShareAddress, options.SharePort)) {
    options.Error = "--share takes [ADDRESS:]PORT, a port from 1 to 65535";
    return false;
  }
  if (parser.isSet("baud")) {
    bool isNumber = false;
    options.Baud = parser.value("baud").toInt(&isNumber);
    if (!isNumber || options.Baud <= 0) {
      options.Error = "--baud takes a whole number above 0";
      return false;
    }
  }
  return true;
}

}  // namespace

TDecodeOptions ParseDecodeOptions(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(Description());
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version = parser.addVersionOption();
  for (const TModeEntry& entry : RegisteredModes()) {
    if (!entry.Flag.empty())
      parser.addOption(
          {OptionName(entry), QString::fromUtf8(entry.Help.data(), entry.Help.size())});
  }
  const QCommandLineOption reference(
      "reference", "The reference of --report instead of the mean position.", "LAT,LON,ALT");
  parser.addOption(reference);
  parser.addOption({"follow",
                    "Read SOURCE (a serial device or a tcp://, udp://, gpsd:// or "
                    "mqtt:// URL) until stopped, printing as lines arrive.",
                    "SOURCE"});
  parser.addOption({"share",
                    "With --follow: relay every line over TCP on [ADDRESS:]PORT "
                    "(127.0.0.1 by default).",
                    "[ADDRESS:]PORT"});
  parser.addOption({"mqtt",
                    "With --follow: publish lines and epochs to the broker "
                    "mqtt[s]://HOST[:PORT]/PREFIX.",
                    "URL"});
  parser.addOption({"quiet", "With --follow: print nothing."});
  parser.addOption({"baud", "With --follow: the serial device's baud rate (4800).", "N"});
  parser.addOption({"raw",
                    "With --follow: write every byte read (frames, sentences, noise) to OUT "
                    "as it came.",
                    "OUT"});
  parser.addPositionalArgument("files", "Logs to decode in turn.", "[FILE ...]");

  TDecodeOptions options;
  const bool parsed = parser.parse(arguments);
  options.Usage = ToolUsage(parser);
  if (!parsed) {
    options.Error = parser.errorText().toStdString();
    return options;
  }
  options.Help = parser.isSet(help) || parser.isSet("help-all");
  options.Version = parser.isSet(version);
  const TModeEntry* fallback = nullptr;
  for (const TModeEntry& entry : RegisteredModes()) {
    if (entry.Flag.empty()) {
      fallback = &entry;
    } else if (parser.isSet(OptionName(entry))) {
      if (options.Mode) {
        options.Error =
            "choose one of " + std::string(options.Mode->Flag) + " and " + std::string(entry.Flag);
        return options;
      }
      options.Mode = &entry;
    }
  }
  if (!options.Mode) options.Mode = fallback;
  if (!options.Mode) options.Error = "no output mode is built in";
  if (parser.isSet(reference)) {
    options.Arguments.Reference = ParseReference(parser.value(reference));
    if (!options.Arguments.Reference)
      options.Error = "--reference takes LAT,LON,ALT in decimal degrees and metres";
    else if (options.Mode && !options.Mode->CreateWith)
      options.Error = "--reference goes with --report";
  }
  if (!ParseFollow(parser, options)) return options;
  for (const QString& file : parser.positionalArguments())
    options.Files.emplace_back(file.toLocal8Bit().toStdString());
  if (options.Files.empty() && !parser.isSet("follow")) options.Files.emplace_back("-");
  return options;
}

}  // namespace decode
