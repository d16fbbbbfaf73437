// tolvane-decode --report, --gpx, --kml and --csv on a short capture: the
// fixes they share, the figures, and the GPX as another program reads it.

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "tests/tools/DecodeRun.h"

namespace {

const QString kTrackLog = TOLVANE_SOURCE_DIR "/tests/tools/data/track.log";

// A member's number by its path, "sd/up"; NaN when absent.
double Member(const QJsonObject& report, const QString& path) {
  const QStringList names = path.split('/');
  QJsonValue value = report;
  for (const QString& name : names) value = value.toObject().value(name);
  return value.isDouble() ? value.toDouble() : std::nan("");
}

struct TReportCase {
  const char* Legend;
  QStringList Arguments;
  std::vector<std::pair<QString, double>> Members;
};

// The walk's four fixes stand on one spot at 28.3, 28.5, 28.7 and 28.9 m.
const TReportCase kReportCases[] = {
    {"around the mean: only the altitudes spread",
     {"--report", kTrackLog},
     {{"fixes", 4},
      {"byQuality/1", 2},
      {"byQuality/3", 1},
      {"byQuality/4", 1},
      {"mean/alt", 28.6},
      {"reference/alt", 28.6},
      {"sd/up", std::sqrt(0.05)},
      {"sd/east", 0},
      {"horizontal/max", 0},
      {"vertical/p50", 0.1},
      {"vertical/p95", 0.3},
      {"vertical/max", 0.3}}},
    {"a reference a metre below the mean: the errors are the heights above it",
     {"--report", "--reference", "59.329333333333345,18.06866666666667,27.6", kTrackLog},
     {{"fixes", 4},
      {"reference/lat", 59.329333333333345},
      {"reference/alt", 27.6},
      {"mean/alt", 28.6},
      {"sd/up", std::sqrt(0.05)},
      {"vertical/p50", 0.9},
      {"vertical/p95", 1.3}}},
};

TEST(PositionModes, Report) {
  for (const TReportCase& test : kReportCases) {
    SCOPED_TRACE(test.Legend);
    const TRunResult result = RunDecode(test.Arguments);
    EXPECT_EQ(result.ExitCode, 0);
    const QJsonObject report = QJsonDocument::fromJson(result.Out).object();
    for (const auto& [path, expected] : test.Members)
      EXPECT_NEAR(Member(report, path), expected, 1e-6) << path.toStdString();
  }
}

struct TRunCase {
  const char* Legend;
  QStringList Arguments;
  QByteArray Input;
  int ExitCode;
  std::string Out;
  std::string Err;  // a part of standard error
};

const QByteArray kNoFix = "$GPGGA,100003.00,,,,,0,00,99.9,,,,,,*5D\r\n";

const TRunCase kRunCases[] = {
    {"no fix: the count alone", {"--report"}, kNoFix, 0, "{\"fixes\":0}\n", ""},
    {"no fix with a reference",
     {"--report", "--reference", "1,2,3"},
     kNoFix,
     0,
     "{\"fixes\":0}\n",
     ""},
    {"no input at all", {"--report"}, "", 0, "{\"fixes\":0}\n", ""},
    {"a reference of two numbers",
     {"--report", "--reference", "1,2"},
     "",
     2,
     "",
     "--reference takes LAT,LON,ALT"},
    {"a latitude past the pole",
     {"--report", "--reference", "90.5,2,3"},
     "",
     2,
     "",
     "--reference takes LAT,LON,ALT"},
    {"a comma for the decimal point",
     {"--report", "--reference", "1,5,2,3"},
     "",
     2,
     "",
     "--reference takes LAT,LON,ALT"},
    {"a reference without --report",
     {"--gpx", "--reference", "1,2,3"},
     "",
     2,
     "",
     "--reference goes with --report"},
    {"KML without fixes: no line, no mean",
     {"--kml"},
     kNoFix,
     0,
     "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n"
     "<Document>\n<name>Tolvane track</name>\n</Document>\n</kml>\n",
     ""},
};

TEST(PositionModes, Runs) {
  for (const TRunCase& test : kRunCases) {
    SCOPED_TRACE(test.Legend);
    const TRunResult result = RunDecode(test.Arguments, test.Input);
    EXPECT_EQ(result.ExitCode, test.ExitCode);
    EXPECT_EQ(result.Out.toStdString(), test.Out);
    EXPECT_NE(result.Err.toStdString().find(test.Err), std::string::npos) << result.Err.data();
  }
}

// gpsbabel's universal CSV of a GPX file's track points: a row of cells per
// point under its header row (empty cells at a row's end are left off).
std::vector<std::vector<std::string>> ReadBack(const QByteArray& gpx) {
  QTemporaryDir folder;
  QFile file(folder.filePath("track.gpx"));
  if (!file.open(QIODevice::WriteOnly) || file.write(gpx) != gpx.size()) return {};
  file.close();
  QProcess babel;
  babel.start("gpsbabel",
              {"-t", "-i", "gpx", "-f", file.fileName(), "-o", "unicsv,utc=0", "-F", "-"});
  if (!babel.waitForFinished(30'000) || babel.exitCode() != 0) return {};
  std::vector<std::vector<std::string>> rows;
  for (const QByteArray& line : babel.readAllStandardOutput().split('\n')) {
    if (line.trimmed().isEmpty()) continue;
    std::vector<std::string> cells;
    for (const QByteArray& cell : line.trimmed().split(',')) cells.push_back(cell.toStdString());
    while (!cells.empty() && cells.back().empty()) cells.pop_back();
    rows.push_back(cells);
  }
  return rows;
}

TEST(PositionModes, GpsbabelReadsTheGpx) {
  if (QStandardPaths::findExecutable("gpsbabel").isEmpty())
    GTEST_SKIP() << "gpsbabel is missing: apt-get install gpsbabel";
  const TRunResult result = RunDecode({"--gpx", kTrackLog});
  ASSERT_EQ(result.ExitCode, 0);
  const std::vector<std::vector<std::string>> expected = {
      {"No", "Latitude", "Longitude", "Altitude", "FIX", "HDOP", "VDOP", "PDOP", "Satellites",
       "Date", "Time"},
      // Before any date and any GSA: neither time nor fix kind.
      {"1", "59.329333", "18.068667", "28.3", "", "0.80", "", "", "9"},
      // RTK fixed, at the half second, on the same epoch's date.
      {"2", "59.329333", "18.068667", "28.5", "\"dgps\"", "0.60", "1.40", "1.60", "12",
       "2026/12/07", "10:00:00.500"},
      // Autonomous 3D by the GSA, dated by the RMC of an earlier epoch.
      {"3", "59.329333", "18.068667", "28.7", "\"3d\"", "0.60", "1.40", "1.60", "12", "2026/12/07",
       "10:00:02"},
      {"4", "59.329333", "18.068667", "28.9", "\"pps\"", "0.70", "1.40", "1.60", "10", "2026/12/07",
       "10:00:04"},
  };
  EXPECT_EQ(ReadBack(result.Out), expected);
}

}  // namespace
