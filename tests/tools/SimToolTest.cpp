// tolvane-sim as a tester runs it: a capture replayed over TCP to a client on
// 127.0.0.1, the modern receiver's sky read back by tolvane-decode --sky, and
// its binary frames read back by the frame splitter.

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QNetworkDatagram>
#include <QProcess>
#include <QTemporaryDir>
#include <QUdpSocket>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "common/Routines.h"
#include "source/FrameSplitter.h"
#include "tests/support/Sentences.h"
#include "tests/tools/DecodeRun.h"

namespace {

using TClock = std::chrono::steady_clock;

// Starts the simulator serving TCP and returns the port of the URL it prints.
int ServeTcp(QProcess& sim, const QStringList& arguments) {
  const std::string url = StartSimulator(sim, arguments);
  if (url.empty()) return -1;
  return ParseWhole<int>(std::string_view(url).substr(url.rfind(':') + 1)).value_or(0);
}

// Bytes as they arrive, each with the moment it did.
struct TArrival {
  std::string Bytes;
  std::vector<TClock::time_point> At;  // per byte
};

// Reads from 127.0.0.1:`port` until the far side closes or `enough` bytes
// have come, within 15 s.
TArrival ReadAll(int port, size_t enough = std::string::npos) {
  TArrival arrival;
  const int sock = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(port));
  if (sock < 0 || ::connect(sock, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    if (sock >= 0) ::close(sock);
    return arrival;
  }
  const auto deadline = TClock::now() + std::chrono::seconds(15);
  while (TClock::now() < deadline && arrival.Bytes.size() < enough) {
    pollfd waiting{sock, POLLIN, 0};
    if (::poll(&waiting, 1, 100) <= 0) continue;
    char chunk[4096];
    const ssize_t got = ::read(sock, chunk, sizeof chunk);
    if (got <= 0) break;
    const auto now = TClock::now();
    arrival.Bytes.append(chunk, size_t(got));
    arrival.At.insert(arrival.At.end(), size_t(got), now);
  }
  ::close(sock);
  return arrival;
}

struct TReplayedLine {
  std::string Text;
  const char* Ending;  // as written in the capture
  int64_t DueMs;       // after the first epoch, at 5x; -1 for a line left out
};

// A 1 Hz capture with every line ending a file may have, a comment, an empty
// line, and a gap of ten minutes.
const std::vector<TReplayedLine> kCapture = {
    {"# a receiver on the roof", "\n", -1},
    {Gga("120000"), "\r\n", 0},
    {FrameSentence("GPGSV,1,1,01,07,45,120,40"), "\n", 0},
    {"", "\r\n", -1},
    {Gga("120001"), "\r", 200},
    {FrameSentence("GPRMC,120001,A,6010.1234,N,02456.7890,E,012.0,045.0,071226,,"), "\r\n", 200},
    {Gga("120002"), "\n", 400},
    {Gga("121002"), "\r\n", 400},
    {Gga("121003"), "", 600},
};

TEST(SimTool, ReplaysACaptureAtItsPaceOverTcp) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("capture.nmea").toStdString();
  std::string expected;
  {
    std::ofstream file(path, std::ios::binary);
    for (const TReplayedLine& line : kCapture) {
      file << line.Text << line.Ending;
      if (line.DueMs >= 0) expected += line.Text + "\r\n";
    }
  }
  QProcess sim;
  const int port =
      ServeTcp(sim, {"--replay", QString::fromStdString(path), "--speed", "5", "--tcp", "0"});
  ASSERT_GT(port, 0) << sim.readAllStandardError().toStdString();
  const TArrival arrival = ReadAll(port);
  EXPECT_TRUE(sim.waitForFinished(5000));
  EXPECT_EQ(sim.exitCode(), 0);
  EXPECT_TRUE(sim.readAllStandardOutput().contains("Gap of 10 min 0 s skipped"));
  ASSERT_EQ(arrival.Bytes, expected) << "every line byte for byte, ended by CR LF";

  size_t offset = 0;
  TClock::time_point first{};
  for (const TReplayedLine& line : kCapture) {
    if (line.DueMs < 0) continue;
    SCOPED_TRACE(line.Text);
    const TClock::time_point at = arrival.At[offset];
    if (offset == 0) first = at;
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(at - first).count();
    EXPECT_NEAR(double(ms), double(line.DueMs), 20);
    offset += line.Text.size() + 2;
  }
}

TEST(SimTool, LoopStartsTheCaptureAgainFromTheTop) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("short.nmea").toStdString();
  const std::string capture = Gga("235959") + "\r\n" + Gga("000000") + "\r\n";
  {
    std::ofstream file(path, std::ios::binary);
    file << capture;
  }
  QProcess sim;
  const int port = ServeTcp(
      sim, {"--replay", QString::fromStdString(path), "--speed", "max", "--loop", "--tcp", "0"});
  ASSERT_GT(port, 0) << sim.readAllStandardError().toStdString();
  const TArrival arrival = ReadAll(port, 3 * capture.size());
  sim.terminate();
  EXPECT_TRUE(sim.waitForFinished(5000));
  ASSERT_GE(arrival.Bytes.size(), 3 * capture.size());
  EXPECT_EQ(arrival.Bytes.substr(0, 3 * capture.size()), capture + capture + capture);
  EXPECT_TRUE(sim.readAllStandardOutput().contains("Time went back 23 h 59 min 59 s"))
      << "midnight is a step back, crossed at once";
}

struct TSkyCase {
  const char* Legend;
  QStringList Arguments;
  std::vector<std::pair<const char*, int>> Present;  // system and signal ID
  std::vector<std::pair<const char*, int>> Absent;
  bool Used = true;  // whether the present ones are used in the fix
};

const TSkyCase kSkyCases[] = {
    {"every system, its first signal alone",
     {"--constellations", "gps,glonass,galileo,beidou,qzss"},
     {{"GPS", 1}, {"GLONASS", 1}, {"Galileo", 7}, {"BeiDou", 1}, {"QZSS", 1}},
     {{"GPS", 7}, {"Galileo", 1}, {"BeiDou", 5}}},
    {"every system on two signals",
     {"--constellations", "gps,glonass,galileo,beidou,qzss", "--signals"},
     {{"GPS", 1},
      {"GPS", 7},
      {"GLONASS", 1},
      {"GLONASS", 3},
      {"Galileo", 7},
      {"Galileo", 1},
      {"BeiDou", 1},
      {"BeiDou", 5},
      {"QZSS", 1},
      {"QZSS", 7}},
     {}},
    {"two systems only",
     {"--constellations", "galileo,beidou", "--signals"},
     {{"Galileo", 7}, {"BeiDou", 5}},
     {{"GPS", 1}, {"GLONASS", 1}, {"QZSS", 1}}},
    {"jammed by 40 dB throughout: in view, none used",
     {"--constellations", "gps", "--jam", "0,100,40"},
     {{"GPS", 1}},
     {},
     false},
};

TEST(SimTool, ModernReceiverSpeaksEverySystemAndSignal) {
  for (const TSkyCase& test : kSkyCases) {
    SCOPED_TRACE(test.Legend);
    QProcess sim;
    const int port =
        ServeTcp(sim, test.Arguments + QStringList{"--rate", "5", "--cycles", "10", "--tcp", "0"});
    ASSERT_GT(port, 0) << sim.readAllStandardError().toStdString();
    const TArrival arrival = ReadAll(port);
    EXPECT_TRUE(sim.waitForFinished(5000));
    const TRunResult sky = RunDecode({"--sky"}, QByteArray::fromStdString(arrival.Bytes));
    ASSERT_EQ(sky.ExitCode, 0);
    const std::string json = sky.Out.toStdString();
    auto has = [&json](const std::pair<const char*, int>& signal, const char* used) {
      const std::regex pattern(std::string("\"system\":\"") + signal.first +
                               "\",\"sv\":[0-9]+,\"signal\":" + std::to_string(signal.second) +
                               ",\"el\":[0-9]+,\"az\":[0-9]+,\"snr\":[0-9a-z]+,\"used\":" + used);
      return std::regex_search(json, pattern);
    };
    for (const auto& signal : test.Present)
      EXPECT_TRUE(has(signal, test.Used ? "true" : "false"))
          << signal.first << " " << signal.second;
    for (const auto& signal : test.Absent)
      EXPECT_FALSE(has(signal, "[a-z]+")) << signal.first << " " << signal.second;
    if (!test.Used) {
      EXPECT_EQ(json.find("\"used\":true"), std::string::npos);
    }
  }
}

}  // namespace

namespace {

struct TFrameCase {
  const char* Legend;
  QStringList Arguments;
  std::map<std::string, int> Frames;  // in 12 cycles, by "UBX class id" or "RTCM3 type"
  std::set<int> JammingStates;        // MON-RF's, as the cycles go
};

const TFrameCase kFrameCases[] = {
    {"classic receiver",
     {"--ubx", "--rtcm"},
     {{"UBX 1 7", 12}, {"UBX 10 56", 12}, {"RTCM3 1005", 2}, {"RTCM3 1077", 12}},
     {1}},
    {"every system on two signals, jammed from 0.1 s for 0.5 s",
     {"--ubx", "--rtcm", "--constellations", "gps,glonass,galileo,beidou,qzss", "--signals",
      "--jam", "0.1,0.5,20"},
     {{"UBX 1 7", 12},
      {"UBX 10 56", 12},
      {"RTCM3 1005", 2},
      {"RTCM3 1077", 12},
      {"RTCM3 1087", 12},
      {"RTCM3 1097", 12},
      {"RTCM3 1117", 12},
      {"RTCM3 1127", 12}},
     {1, 2, 3}},
};

TEST(SimTool, FramesPassTheSplitterAndLeaveTheSentencesWhole) {
  for (const TFrameCase& test : kFrameCases) {
    SCOPED_TRACE(test.Legend);
    // Over UDP, bound before the simulator starts, so that no cycle is missed.
    QUdpSocket receiver;
    ASSERT_TRUE(receiver.bind(QHostAddress::LocalHost, 0));
    QProcess sim;
    const QString target = "127.0.0.1:" + QString::number(receiver.localPort());
    ASSERT_FALSE(StartSimulator(sim, test.Arguments + QStringList{"--rate", "20", "--cycles", "12",
                                                                  "--udp", target})
                     .empty());
    EXPECT_TRUE(sim.waitForFinished(5000));
    std::string bytes;
    while (receiver.hasPendingDatagrams() || receiver.waitForReadyRead(200)) {
      const QNetworkDatagram datagram = receiver.receiveDatagram();
      bytes += datagram.data().toStdString();
    }

    std::string text;
    std::map<std::string, int> frames;
    std::set<int> jamming;
    TFrameSplitter splitter;
    const TFrameSplitter::TTextSink onText = [&text](std::string_view piece) { text += piece; };
    const TFrameSplitter::TFrameSink onFrame = [&](const TFrame& frame) {
      ++frames[frame.Kind == TFrameKind::Ubx
                   ? "UBX " + std::to_string(frame.Class) + " " + std::to_string(frame.Id)
                   : "RTCM3 " + std::to_string(frame.Type)];
      if (frame.Kind == TFrameKind::Ubx && frame.Id == 0x38) jamming.insert(frame.Payload()[5] & 3);
    };
    // In reads of a serial port's size, so that frames span them.
    for (size_t at = 0; at < bytes.size(); at += 100)
      splitter.Feed(std::string_view(bytes).substr(at, 100), onText, onFrame);
    splitter.Finish(onText, onFrame);
    EXPECT_EQ(frames, test.Frames);
    EXPECT_EQ(jamming, test.JammingStates);
    size_t lines = 0;
    for (size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2) {
      const std::string line = text.substr(at, end - at);
      const size_t star = line.rfind('*');
      ASSERT_TRUE(line[0] == '$' && star + 3 == line.size()) << line;
      EXPECT_EQ(NmeaChecksum(line.substr(1, star - 1)),
                std::stoul(line.substr(star + 1), nullptr, 16));
      ++lines;
    }
    EXPECT_GE(lines, 12u * 5) << "every cycle's sentences";
  }
}

}  // namespace
