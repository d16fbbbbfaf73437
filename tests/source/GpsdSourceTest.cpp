// A gpsd source against a small gpsd written here: the watch request it
// receives, and the NMEA it relays among its own JSON reports.

#include <gtest/gtest.h>

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <vector>

#include "source/PortSlot.h"
#include "tests/source/NetworkTestSupport.h"
#include "tests/support/EventLoop.h"
#include "tests/support/PseudoTerminal.h"
#include "tests/support/SettingsHome.h"

namespace {

// Answers a client as gpsd does: a version banner at once, then, once the
// watch request has come, its device list and watch state, and NMEA with
// position reports in between, in pieces that cut lines anywhere.
class TFakeGpsd {
 public:
  TFakeGpsd() {
    Server.listen(QHostAddress::LocalHost, 0);
    QObject::connect(&Server, &QTcpServer::newConnection, [this] {
      Client = Server.nextPendingConnection();
      Client->write("{\"class\":\"VERSION\",\"release\":\"3.22\",\"proto_major\":3}\r\n");
      QObject::connect(Client, &QTcpSocket::readyRead, [this] { Answer(); });
    });
  }

  uint16_t Port() const { return Server.serverPort(); }
  std::string Request;

 private:
  void Answer() {
    Request += Client->readAll().toStdString();
    if (Request.find('\n') == std::string::npos) return;
    for (const char* piece : {
             "{\"class\":\"DEVICES\",\"devices\":[{\"path\":\"/dev/ttyUSB0\"}]}\r\n{\"cla",
             "ss\":\"WATCH\",\"enable\":true,\"nmea\":true}\r\n$GPGGA,1*00\r",
             "\n{\"class\":\"TPV\",\"mode\":3}\r\n$GPRMC,2",
             "*00\r\n{\"class\":\"SKY\"}\r\n$GPGSV,3*00\r\n",
         })
      Client->write(piece);
  }

  QTcpServer Server;
  QTcpSocket* Client = nullptr;
};

TEST(GpsdSource, WatchesAndRelaysOnlyTheSentences) {
  struct TRow {
    const char* Legend;
    std::string Path;  // after the port
    const char* Request;
  };
  const TRow rows[] = {
      {"every device", "", "?WATCH={\"enable\":true,\"nmea\":true}\n"},
      {"one device", "/dev/ttyUSB0",
       "?WATCH={\"enable\":true,\"nmea\":true,\"device\":\"/dev/ttyUSB0\"}\n"},
  };
  for (const TRow& row : rows) {
    TFakeGpsd gpsd;
    TTempSettingsHome home;
    const std::string url = "gpsd://127.0.0.1:" + std::to_string(gpsd.Port()) + row.Path;
    TPortOverride slot(0, url);
    TPortSlot source([] { return 0; });
    ASSERT_NO_THROW(source.Open());
    const std::vector<std::string> lines = TakeLines(source, 3, 5000);
    EXPECT_EQ(gpsd.Request, row.Request) << row.Legend;
    EXPECT_EQ(lines, (std::vector<std::string>{"$GPGGA,1*00", "$GPRMC,2*00", "$GPGSV,3*00"}))
        << row.Legend;
    EXPECT_EQ(source.SourceText(), "Connected to " + url);
    EXPECT_FALSE(source.CanSend()) << row.Legend;
    EXPECT_EQ(source.ModemLines(), nullptr) << row.Legend;
    source.Close();
  }
}

}  // namespace
