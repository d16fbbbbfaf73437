// The raw log through a scripted source keeps every byte as delivered; convbin makes
// a RINEX epoch of each RXM-RAWX frame in it; a raw file replays as it was received.

#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>

#include "monitor/DataFile.h"
#include "source/FrameBuilder.h"
#include "tests/monitor/MonitorHarness.h"
#include "tests/support/Sentences.h"
#include "tests/support/TextFiles.h"

namespace {

// Reads: frames between and inside lines, noise, a line and a frame cut in two.
std::vector<std::string> Pieces() {
  const std::string nav = UbxFrame(0x01, 0x07, std::string(92, '\x11'));
  const std::string rtcm = Rtcm3Frame(std::string("\x43\x50\x00\x01", 4));
  return {Gga("120000") + "\r\n" + nav, std::string("\xB5\x62 noise \xD3\x00\r\n$GPGGA,12", 22),
          "0001" + rtcm + ",6010.1234,N\r\n" + nav.substr(0, 10),
          nav.substr(10) + "\r\n" + Gga("120002").substr(0, 20)};
}

TEST(RawLog, KeepsEveryByteAsDelivered) {
  TMonitorHarness harness;
  const std::string file = harness.Home.Path() + "/raw.bin";
  harness.Monitor.OpenPort(0);
  harness.Monitor.StartRawLog(file);
  std::string sent;
  for (const std::string& piece : Pieces()) {
    harness.Script->Feed(piece);
    harness.Arrived();
    sent += piece;
  }
  EXPECT_EQ(harness.Monitor.RawLog().Size(), sent.size());
  harness.Monitor.Stop();
  EXPECT_EQ(ReadAll(file), sent);
}

// Four GPS satellites, ranges moving as their Dopplers say, lock growing 1 s an epoch.
std::string Rawx(int epoch) {
  constexpr double kL1Wavelength = 0.19029367;
  TRawxEpoch rawx{302400.0 + epoch, 2300, 18, 0x01, {}};
  for (const uint8_t sv : {3, 8, 14, 22}) {
    const float doppler = static_cast<float>(sv * 100 - 1200);
    const double range = 2.0e7 + sv * 1.8e5 - epoch * doppler * kL1Wavelength;
    rawx.Measurements.push_back({range, range / kL1Wavelength, doppler, 0, sv, 0,
                                 static_cast<uint16_t>(10000 + epoch * 1000),
                                 static_cast<uint8_t>(38 + sv % 7), 0x07});
  }
  return UbxRawxFrame(rawx);
}

TEST(RawLog, ConvbinMakesOneRinexEpochOfEachRawxFrame) {
  const QString convbin = QStandardPaths::findExecutable("convbin");
  if (convbin.isEmpty()) GTEST_SKIP() << "RTKLIB's convbin is not installed";
  constexpr int kEpochs = 6;
  TMonitorHarness harness;
  const std::string ubx = harness.Home.Path() + "/receiver.ubx", obs = ubx + ".obs";
  harness.Monitor.OpenPort(0);
  harness.Monitor.StartRawLog(ubx);
  for (int epoch = 0; epoch < kEpochs; ++epoch) {
    harness.Script->Feed(Gga("0800" + std::to_string(10 + epoch)) + "\r\n" + Rawx(epoch) +
                         FrameSentence("GPGSA,A,3,03,08,14,22,,,,,,,,,1.8,0.9,1.5") + "\r\n");
    harness.Arrived();
  }
  harness.Monitor.Stop();
  QProcess run;
  run.start(convbin, {"-r", "ubx", "-v", "3.04", "-o", QString::fromStdString(obs),
                      QString::fromStdString(ubx)});
  ASSERT_TRUE(run.waitForFinished(30000));
  int epochs = 0;
  for (const std::string& line : NonEmptyLines(obs)) epochs += line.rfind("> ", 0) == 0;
  EXPECT_EQ(epochs, kEpochs) << run.readAllStandardError().toStdString();
}

TEST(RawLog, ARawFileReplaysAsItsTextWithTheFramesSummed) {
  TMonitorHarness harness;
  const std::string file = harness.Home.Path() + "/raw.ubx";
  const std::vector<std::string> pieces = Pieces();
  const std::string raw = pieces[0] + pieces[1] + pieces[2] + pieces[3];
  ASSERT_TRUE(WriteAll(file, raw));

  // What the same bytes give when received, line for line.
  harness.Monitor.OpenPort(0);
  harness.Script->Feed(raw + "\r\n");
  harness.Arrived();
  const std::vector<std::string> received = harness.Shown;
  ASSERT_EQ(received.size(), 7u);
  EXPECT_EQ(received[1], "[UBX NAV-PVT 92 bytes]");
  harness.Monitor.Stop();

  harness.Shown.clear();
  harness.Monitor.StartReplay(file);
  for (int tick = 0; tick < 50 && harness.Monitor.Replaying(); ++tick) harness.Ticks(1);
  EXPECT_EQ(harness.Shown, received);

  // Each line's offset brings a jump back to that line; a line that a frame
  // cut comes right after that frame, as it came first.
  TDataFile data;
  data.openForReading(file);
  std::vector<std::pair<uint64_t, std::string>> lines;
  while (!data.atEnd()) {
    const uint64_t offset = data.readOffset();
    lines.emplace_back(offset, data.readLine());
  }
  for (size_t back = lines.size(); back-- > 0;) {
    data.seekTo(lines[back].first);
    const std::string& line = lines[back].second;
    EXPECT_TRUE(data.readLine() == line || data.readLine() == line) << back;
  }
}

}  // namespace
