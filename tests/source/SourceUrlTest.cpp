// Network sources named by URL in a slot's device path: what is accepted,
// and the reason given for each malformed URL, which is the only failure of
// opening one.

#include <gtest/gtest.h>

#include "source/Serial.h"
#include "source/SourceUrl.h"
#include "tests/support/PseudoTerminal.h"
#include "tests/support/SettingsHome.h"

namespace {

constexpr auto kTcp = TSourceScheme::Tcp;
constexpr auto kUdp = TSourceScheme::Udp;
constexpr auto kGpsd = TSourceScheme::Gpsd;

TEST(SourceUrl, WellFormed) {
  struct TRow {
    const char* Legend;
    const char* Url;
    TSourceUrl Parts;
  };
  const TRow rows[] = {
      {"multiplexer by name", "tcp://nmea.local:10110", {kTcp, "nmea.local", 10110, ""}},
      {"IPv4 address", "tcp://192.168.1.5:2000", {kTcp, "192.168.1.5", 2000, ""}},
      {"IPv6 address in brackets", "tcp://[::1]:10110", {kTcp, "::1", 10110, ""}},
      {"scheme in capitals", "TCP://host:1", {kTcp, "host", 1, ""}},
      {"highest port", "tcp://host:65535", {kTcp, "host", 65535, ""}},
      {"a lone slash after the port", "tcp://host:10110/", {kTcp, "host", 10110, ""}},
      {"every interface", "udp://:10110", {kUdp, "", 10110, ""}},
      {"one address", "udp://127.0.0.1:10110", {kUdp, "127.0.0.1", 10110, ""}},
      {"multicast group", "udp://239.192.0.1:60001", {kUdp, "239.192.0.1", 60001, ""}},
      {"IPv6 address to bind", "udp://[::1]:10110", {kUdp, "::1", 10110, ""}},
      {"gpsd's own port by default", "gpsd://localhost", {kGpsd, "localhost", 2947, ""}},
      {"gpsd, one device", "gpsd://pi:2948/dev/ttyUSB0", {kGpsd, "pi", 2948, "/dev/ttyUSB0"}},
      {"gpsd over IPv6", "gpsd://[::1]/dev/ttyACM0", {kGpsd, "::1", 2947, "/dev/ttyACM0"}},
  };
  for (const TRow& row : rows) {
    std::string reason;
    const std::optional<TSourceUrl> parts = ParseSourceUrl(row.Url, reason);
    ASSERT_TRUE(parts) << row.Legend << ": " << reason;
    EXPECT_EQ(*parts, row.Parts) << row.Legend;
  }
}

struct TMalformed {
  const char* Legend;
  const char* Url;
  const char* Reason;
};

const TMalformed kMalformed[] = {
    {"no port", "tcp://nohost", "the port is missing"},
    {"port above 65535", "udp://:99999", "the port 99999 is out of range (1 to 65535)"},
    {"port 0", "udp://:0", "the port 0 is out of range (1 to 65535)"},
    {"port beyond any integer", "tcp://h:99999999999999999999",
     "the port 99999999999999999999 is out of range (1 to 65535)"},
    {"empty port", "tcp://host:", "the port \"\" is not a number"},
    {"port with letters", "tcp://host:12ab", "the port \"12ab\" is not a number"},
    {"signed port", "tcp://host:+1", "the port \"+1\" is not a number"},
    {"unknown scheme", "ftp://host:21", "unknown scheme \"ftp\" (tcp, udp or gpsd)"},
    {"no scheme", "://host:1", "unknown scheme \"\" (tcp, udp or gpsd)"},
    {"no host for tcp", "tcp://:10110", "the host is missing"},
    {"no host for gpsd", "gpsd://", "the host is missing"},
    {"IPv6 without brackets", "tcp://::1:10110",
     "an IPv6 address needs brackets, as in [::1]:10110"},
    {"bracket left open", "tcp://[::1:10110", "\"[\" without \"]\" around the IPv6 address"},
    {"brackets around a name", "tcp://[gps]:1", "\"gps\" is not an IPv6 address"},
    {"text after the brackets", "tcp://[::1]x:1", "unexpected \"x:1\" after the address"},
    {"udp binds addresses, not names", "udp://gps.local:10110",
     "\"gps.local\" is not an IP address of this machine or a multicast group"},
    {"user name in front of the host", "tcp://me@host:1",
     "\"me@host\" is not a host name or address"},
    {"a path for tcp", "tcp://host:1/dev/x", "nothing may follow the port"},
    {"control character in gpsd's device", "gpsd://host/dev/tty\x01",
     "the device name holds control characters"},
};

TEST(SourceUrl, Malformed) {
  for (const TMalformed& row : kMalformed) {
    std::string reason;
    EXPECT_FALSE(ParseSourceUrl(row.Url, reason)) << row.Legend;
    EXPECT_EQ(reason, row.Reason) << row.Legend;
  }
}

TEST(SourceUrl, MalformedUrlIsTheOneOpenFailure) {
  TTempSettingsHome home;
  for (const TMalformed& row : kMalformed) {
    if (!IsSourceUrl(row.Url)) continue;
    TPortOverride slot(0, row.Url);
    TSerial port([] { return 0; });
    try {
      port.Open();
      ADD_FAILURE() << row.Legend << ": opened";
    } catch (const EDeviceError& error) {
      EXPECT_EQ(
          std::string(error.what()),
          std::string("Unable to open communications port\nInvalid address URL: ") + row.Reason)
          << row.Legend;
    }
    EXPECT_FALSE(port.IsOpen()) << row.Legend;
  }
}

}  // namespace
