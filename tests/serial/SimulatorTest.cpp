// The simulated receiver, end to end: its stream read through the serial
// port object exactly as the monitor reads it, the commands it is sent, and
// a clean stop.

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <filesystem>
#include <vector>

#include "common/Routines.h"
#include "serial/Serial.h"
#include "tests/support/PseudoTerminal.h"
#include "tests/support/SettingsHome.h"

namespace {

const QString kSimulator = QStringLiteral(TOLVANE_BINARY_DIR "/tools/tolvane-sim");

// Starts the simulator and returns the device path it prints first.
std::string StartSimulator(QProcess& sim, const QStringList& arguments) {
  sim.start(kSimulator, arguments);
  if (!sim.waitForStarted(5000)) return {};
  while (!sim.canReadLine())
    if (!sim.waitForReadyRead(5000)) return {};
  return sim.readLine().trimmed().toStdString();
}

bool ChecksumHolds(const std::string& line) {
  const size_t star = line.rfind('*');
  if (line.size() < 4 || line[0] != '$' || star == std::string::npos || star + 3 != line.size())
    return false;
  return NmeaChecksum(std::string_view(line).substr(1, star - 1)) ==
         std::stoul(line.substr(star + 1), nullptr, 16);
}

std::vector<std::string> SplitLines(const QByteArray& text) {
  std::vector<std::string> lines;
  for (const QByteArray& line : text.split('\n'))
    if (!line.isEmpty()) lines.push_back(line.chopped(line.endsWith('\r') ? 1 : 0).toStdString());
  return lines;
}

// Seconds of the day in an RMC sentence's hhmmss.ss field.
double RMCSeconds(const std::string& line) {
  const std::string time = line.substr(7, 9);
  return std::stod(time.substr(0, 2)) * 3600 + std::stod(time.substr(2, 2)) * 60 +
         std::stod(time.substr(4));
}

// Every line the port yields until the simulator has ended and nothing is left.
std::vector<std::string> ReadUntilEnded(TSerial& port, QProcess& sim) {
  std::vector<std::string> lines;
  int quietReads = 0;
  for (int reads = 0; reads < 100000 && quietReads < 50; ++reads) {
    std::string line = port.ReadLine();
    if (!line.empty()) {
      lines.push_back(std::move(line));
      continue;
    }
    sim.waitForFinished(2);
    if (sim.state() == QProcess::NotRunning) ++quietReads;
  }
  return lines;
}

TEST(Simulator, StreamArrivesThroughTheSerialPort) {
  ASSERT_TRUE(QFile::exists(kSimulator)) << "build tolvane-sim first";
  const struct {
    const char* Legend;
    QStringList Faults;
    bool ChecksumsHold;
  } cases[] = {
      {"clean stream", {}, true},
      {"every checksum wrong", {"--bad-checksums", "1"}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Legend);
    QTemporaryDir dir;
    const QString echoFile = dir.filePath("sent.nmea");
    QProcess sim;
    const std::string path = StartSimulator(
        sim, QStringList{"--rate", "20", "--cycles", "30", "--seed", "7", "--echo", echoFile} +
                 c.Faults);
    ASSERT_FALSE(path.empty()) << sim.readAllStandardError().toStdString();

    TTempSettingsHome home;
    TPortOverride slot(0, path);
    TSerial port([] { return 0; });
    ASSERT_NO_THROW(port.Open());
    port.Send("$PGRMO,,3*74\r\n");
    std::vector<std::string> received = ReadUntilEnded(port, sim);
    port.Close();
    ASSERT_EQ(sim.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(sim.exitCode(), 0);
    EXPECT_TRUE(sim.readAllStandardOutput().contains("Command: $PGRMO,,3*74"));

    // The port was opened while the stream ran: the first line may be a
    // fragment; from then on it is exactly what was sent, to the end.
    ASSERT_GE(received.size(), 20u);
    received.erase(received.begin());
    QFile echo(echoFile);
    ASSERT_TRUE(echo.open(QIODevice::ReadOnly));
    const std::vector<std::string> sent = SplitLines(echo.readAll());
    ASSERT_GE(sent.size(), received.size());
    EXPECT_TRUE(std::equal(received.begin(), received.end(), sent.end() - long(received.size())));

    std::vector<double> times;
    for (const std::string& line : received) {
      EXPECT_EQ(ChecksumHolds(line), c.ChecksumsHold) << line;
      if (line.rfind("$GPRMC,", 0) == 0) times.push_back(RMCSeconds(line));
    }
    for (const char* type : {"$GPRMC,", "$GPGGA,", "$GPGSA,", "$GPGSV,", "$PGRME,"})
      EXPECT_TRUE(std::any_of(received.begin(), received.end(), [type](const std::string& line) {
        return line.rfind(type, 0) == 0;
      })) << type;
    ASSERT_GE(times.size(), 2u);
    for (size_t i = 1; i < times.size(); ++i)
      EXPECT_NEAR(std::fmod(times[i] - times[i - 1] + 86400, 86400), 0.05, 1e-6)
          << "one cycle is a twentieth of a second at 20 cycles a second";
  }
}

TEST(Simulator, StopsCleanlyOnTerminateAndRemovesItsLink) {
  ASSERT_TRUE(QFile::exists(kSimulator)) << "build tolvane-sim first";
  QTemporaryDir dir;
  const std::string link = dir.filePath("gps").toStdString();
  QProcess sim;
  const std::string path = StartSimulator(sim, {"--link", QString::fromStdString(link)});
  ASSERT_FALSE(path.empty());
  ASSERT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(std::filesystem::read_symlink(link).string(), path);
  sim.terminate();
  ASSERT_TRUE(sim.waitForFinished(5000));
  EXPECT_EQ(sim.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(sim.exitCode(), 0);
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
}

}  // namespace
