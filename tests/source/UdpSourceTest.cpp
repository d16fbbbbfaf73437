// A UDP source bound on 127.0.0.1, fed by datagrams from the test and from
// the simulator: lines cut anywhere by the datagrams, a flood the program
// does not read, a shared port, and no sending.

#include <gtest/gtest.h>

#include <QFile>
#include <QHostAddress>
#include <QProcess>
#include <QUdpSocket>
#include <vector>

#include "source/PortSlot.h"
#include "tests/source/NetworkTestSupport.h"
#include "tests/support/EventLoop.h"
#include "tests/support/PseudoTerminal.h"
#include "tests/support/SettingsHome.h"
#include "tests/support/Simulator.h"

namespace {

struct TUdpSource {
  TTempSettingsHome Home;
  uint16_t Port = FreeUdpPort();
  std::string Url = "udp://127.0.0.1:" + std::to_string(Port);
  TPortOverride Slot{0, Url};
  TPortSlot Source{[] { return 0; }};
  QUdpSocket Sender;

  void Send(const std::string& datagram) {
    Sender.writeDatagram(datagram.data(), static_cast<qint64>(datagram.size()),
                         QHostAddress::LocalHost, Port);
  }
};

TEST(UdpSource, LinesCutAnywhereByTheDatagrams) {
  struct TRow {
    const char* Legend;
    std::vector<std::string> Datagrams;
    std::vector<std::string> Lines;
  };
  const TRow rows[] = {
      {"several lines in one datagram",
       {"$GPGGA,1*00\r\n$GPRMC,2*00\r\n!AIVDM,3*00\r\n"},
       {"$GPGGA,1*00", "$GPRMC,2*00", "!AIVDM,3*00"}},
      {"a line split across two", {"$GPGGA,12", "34*00\r\n"}, {"$GPGGA,1234*00"}},
      {"CR and LF in different datagrams", {"$A*00\r", "\n$B*00\r\n"}, {"$A*00", "$B*00"}},
      {"one line per datagram, no LF", {"$A*00\r", "$B*00\r"}, {"$A*00", "$B*00"}},
      {"a TAG block stays on the line", {"\\c:1*00\\$A*00\r\n"}, {"\\c:1*00\\$A*00"}},
  };
  for (const TRow& row : rows) {
    TUdpSource u;
    ASSERT_NO_THROW(u.Source.Open());
    ASSERT_EQ(u.Source.LinkState(), TLinkState::Connected) << "bound at once";
    EXPECT_EQ(u.Source.SourceText(), "Connected to " + u.Url);
    for (const std::string& datagram : row.Datagrams) u.Send(datagram);
    const std::vector<std::string> lines = TakeLines(u.Source, row.Lines.size(), 5000);
    EXPECT_EQ(lines, row.Lines) << row.Legend;
    u.Source.Close();
  }
}

TEST(UdpSource, DatagramsNobodyReadsAreCountedNotKept) {
  // The program takes no lines (a replay runs), the event loop does: the
  // datagrams fill the bounded buffer and the rest is counted as dropped.
  TUdpSource u;
  ASSERT_NO_THROW(u.Source.Open());
  const std::string datagram(1000, 'x');
  for (int batch = 0; batch < 10; ++batch) {
    for (int i = 0; i < 10; ++i) u.Send(datagram);
    ProcessEventsFor(20);
  }
  EXPECT_EQ(u.Source.DroppedBytes(), 100 * 1000 - 64 * 1024);
  // Reading resumes: the buffer empties, and the line end finds room; the
  // line keeps its first 32,767 characters, and the rest counts as dropped.
  EXPECT_EQ(u.Source.ReadLine(), std::nullopt);
  u.Send("\r\n");
  const std::vector<std::string> lines = TakeLines(u.Source, 1, 5000);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], std::string(32767, 'x'));
  EXPECT_EQ(u.Source.DroppedBytes(), 100 * 1000 - 32767);
  u.Source.Close();
}

TEST(UdpSource, TheSimulatorsDatagramsArrive) {
  ASSERT_TRUE(QFile::exists(kSimulatorProgram));
  TUdpSource u;
  ASSERT_NO_THROW(u.Source.Open());
  QProcess sim;
  EXPECT_EQ(StartSimulator(sim, {"--udp", QString("127.0.0.1:%1").arg(u.Port), "--rate", "20",
                                 "--cycles", "10"}),
            "udp://:" + std::to_string(u.Port));
  const std::vector<std::string> lines = TakeLines(
      u.Source, [&] { return sim.state() == QProcess::NotRunning; }, 10000);
  EXPECT_EQ(sim.exitCode(), 0);
  // Ten cycles of RMC, GGA, GSA, 2 or 3 GSV and PGRME.
  EXPECT_GE(lines.size(), 60u);
  EXPECT_EQ(lines.front().rfind("$GPRMC,", 0), 0u);
  u.Source.Close();
}

TEST(UdpSource, SharesItsPortAndCannotSend) {
  TUdpSource u;
  TPortOverride second(1, u.Url);
  TPortSlot other([] { return 1; });
  ASSERT_NO_THROW(u.Source.Open());
  ASSERT_NO_THROW(other.Open());
  EXPECT_EQ(u.Source.LinkState(), TLinkState::Connected);
  EXPECT_EQ(other.LinkState(), TLinkState::Connected) << "another listener on the same port";
  EXPECT_FALSE(u.Source.CanSend());
  EXPECT_EQ(u.Source.ModemLines(), nullptr);
  try {
    u.Source.Send("$PGRMO,,3*74\r\n");
    ADD_FAILURE() << "sent on a UDP source";
  } catch (const EDeviceError& error) {
    EXPECT_STREQ(error.what(), "This source cannot send commands");
  }
  other.Close();
  u.Source.Close();
}

}  // namespace
