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
#include "source/PortSlot.h"
#include "tests/support/PseudoTerminal.h"
#include "tests/support/SettingsHome.h"
#include "tests/support/Simulator.h"

namespace {

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
std::vector<std::string> ReadUntilEnded(TPortSlot& port, QProcess& sim) {
  std::vector<std::string> lines;
  int quietReads = 0;
  for (int reads = 0; reads < 100000 && quietReads < 50; ++reads) {
    std::string line = port.ReadLine().value_or("");
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
  ASSERT_TRUE(QFile::exists(kSimulatorProgram)) << "build tolvane-sim first";
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
    TPortSlot port([] { return 0; });
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

TEST(Simulator, FaultsSpoilLinesButNotTheTrack) {
  // Garbage between sentences and bursts of cycles at once: some lines are
  // spoilt, every whole RMC still follows the last by one cycle.
  ASSERT_TRUE(QFile::exists(kSimulatorProgram)) << "build tolvane-sim first";
  QProcess sim;
  const std::string path = StartSimulator(
      sim, {"--rate", "20", "--cycles", "40", "--seed", "3", "--garbage", "40", "--burst", "5"});
  ASSERT_FALSE(path.empty());
  TTempSettingsHome home;
  TPortOverride slot(0, path);
  TPortSlot port([] { return 0; });
  ASSERT_NO_THROW(port.Open());
  const std::vector<std::string> received = ReadUntilEnded(port, sim);
  port.Close();
  EXPECT_EQ(sim.exitCode(), 0);

  std::vector<double> times;
  for (const std::string& line : received)
    if (ChecksumHolds(line) && line.rfind("$GPRMC,", 0) == 0) times.push_back(RMCSeconds(line));
  EXPECT_LT(std::count_if(received.begin(), received.end(), ChecksumHolds), long(received.size()));
  ASSERT_GE(times.size(), 10u);
  for (size_t i = 1; i < times.size(); ++i) {
    const double step = std::fmod(times[i] - times[i - 1] + 86400, 86400);
    EXPECT_NEAR(step / 0.05, std::round(step / 0.05), 1e-6) << "whole cycles apart";
    EXPECT_GT(step, 0);
  }
}

TEST(Simulator, StopsCleanlyOnTerminateAndRemovesItsLink) {
  ASSERT_TRUE(QFile::exists(kSimulatorProgram)) << "build tolvane-sim first";
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

TEST(Simulator, SendsOnARealSerialDeviceInstead) {
  ASSERT_TRUE(QFile::exists(kSimulatorProgram)) << "build tolvane-sim first";
  TPseudoTerminal receiverEnd;
  QProcess sim;
  const std::string path =
      StartSimulator(sim, {"--device", QString::fromStdString(receiverEnd.Path()), "--baud", "9600",
                           "--cycles", "2", "--rate", "20", "--talker", "GN"});
  EXPECT_EQ(path, receiverEnd.Path());
  ASSERT_TRUE(sim.waitForFinished(5000));
  EXPECT_EQ(sim.exitCode(), 0);
  const std::string sent = receiverEnd.Read(4096, 500);
  EXPECT_EQ(sent.rfind("$GNRMC,", 0), 0u) << sent;
  EXPECT_NE(sent.find("$PGRME,"), std::string::npos) << "proprietary sentences keep their prefix";
}

TEST(Simulator, RefusesABadCommandLine) {
  ASSERT_TRUE(QFile::exists(kSimulatorProgram)) << "build tolvane-sim first";
  const struct {
    const char* Legend;
    QStringList Arguments;
    const char* Complaint;
  } cases[] = {
      {"unknown option", {"--fast"}, "Unknown option 'fast'."},
      {"missing value", {"--cycles"}, "Missing value after '--cycles'."},
      {"an argument that is no option", {"fast"}, "unexpected argument fast"},
      {"rate of zero", {"--rate", "0"}, "bad value for --rate: 0"},
      {"share above one", {"--bad-checksums", "1.5"}, "bad value for --bad-checksums: 1.5"},
      {"talker of three letters", {"--talker", "GPS"}, "bad value for --talker: GPS"},
      {"trailing text in a number", {"--seed", "12x"}, "bad value for --seed: 12x"},
      {"TCP port above 65535", {"--tcp", "65536"}, "bad value for --tcp: 65536"},
      {"two ways of sending",
       {"--tcp", "0", "--udp", "127.0.0.1:1"},
       "choose one of --device, --tcp and --udp"},
      {"a link for a network stream",
       {"--udp", "127.0.0.1:1", "--link", "/tmp/x"},
       "--link is for the pseudo-terminal only"},
      {"a speed of zero", {"--replay", "x", "--speed", "0"}, "bad value for --speed: 0"},
      {"a speed without a replay", {"--speed", "2"}, "--speed and --loop are for --replay"},
      {"a system twice", {"--constellations", "gps,gps"}, "bad value for --constellations"},
      {"an unknown system", {"--constellations", "gps,navstar"}, "bad value for --constellations"},
      {"a jam of two numbers", {"--jam", "10,5"}, "bad value for --jam: 10,5"},
      {"a jam of no time", {"--jam", "10,0,20"}, "bad value for --jam: 10,0,20"},
      {"a simulated sky beside a replay",
       {"--replay", "x", "--rtk"},
       "--replay sends the capture as recorded"},
      {"frames beside a replay",
       {"--replay", "x", "--ubx"},
       "--replay sends the capture as recorded"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Legend);
    QProcess sim;
    sim.start(kSimulatorProgram, c.Arguments);
    ASSERT_TRUE(sim.waitForFinished(5000));
    EXPECT_EQ(sim.exitCode(), 2);
    EXPECT_TRUE(sim.readAllStandardOutput().isEmpty()) << "no device path for a failed start";
    EXPECT_TRUE(sim.readAllStandardError().contains(c.Complaint));
  }
}

TEST(Simulator, RefusesAUdpTargetItCannotSendTo) {
  ASSERT_TRUE(QFile::exists(kSimulatorProgram)) << "build tolvane-sim first";
  const std::pair<const char*, const char*> cases[] = {
      {"127.0.0.1", "bad --udp target 127.0.0.1: the port is missing"},
      {":10110", "bad --udp target :10110: the address is missing"},
      {"nohost:1", "bad --udp target nohost:1: \"nohost\" is not an IP address"},
  };
  for (const auto& [target, complaint] : cases) {
    QProcess sim;
    sim.start(kSimulatorProgram, {"--udp", target});
    ASSERT_TRUE(sim.waitForFinished(5000));
    EXPECT_EQ(sim.exitCode(), 1) << target;
    EXPECT_TRUE(sim.readAllStandardError().contains(complaint)) << target;
  }
}

}  // namespace
