#include "tools/decode/DecodeOptions.h"

#include <QCommandLineParser>

#include "format/PositionText.h"

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
  for (const QString& file : parser.positionalArguments())
    options.Files.push_back(file.toLocal8Bit().toStdString());
  if (options.Files.empty()) options.Files.push_back("-");
  return options;
}

}  // namespace decode
