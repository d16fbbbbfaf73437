// Network sources named by URL in a slot's device path: the host and port
// that every kind of address reads alike, what each scheme accepts, and the
// reason given for each malformed URL, which is the only failure of opening
// one.

#include <gtest/gtest.h>

#include "source/HostPort.h"
#include "source/PortSlot.h"
#include "source/SourceUrl.h"
#include "tests/support/PseudoTerminal.h"
#include "tests/support/SettingsHome.h"

namespace {

constexpr auto kTcp = TSourceScheme::Tcp;
constexpr auto kUdp = TSourceScheme::Udp;
constexpr auto kGpsd = TSourceScheme::Gpsd;

// HOST[:PORT] as every URL kind (and --share) reads it: "host port" as read,
// the port "-" when none is given, or the reason it is refused.
std::string HostAndPort(std::string_view authority) {
  std::string reason;
  const std::optional<THostPort> parts = SplitHostPort(authority, reason);
  if (!parts) return reason;
  if (!parts->Port) return std::string(parts->Host) + " -";
  const std::optional<uint16_t> port = ParsePort(*parts->Port, reason);
  return port ? std::string(parts->Host) + " " + std::to_string(*port) : reason;
}

TEST(HostPort, OneRuleForEveryKindOfAddress) {
  struct TRow {
    const char* Legend;
    const char* Authority;
    const char* Read;
  };
  const TRow table[] = {
      {"name and port", "nmea.local:10110", "nmea.local 10110"},
      {"IPv4 address", "192.168.1.5:2000", "192.168.1.5 2000"},
      {"name alone", "pi", "pi -"},
      {"port alone", ":10110", " 10110"},
      {"highest port", "host:65535", "host 65535"},
      {"IPv6 address in brackets", "[::1]:10110", "::1 10110"},
      {"IPv6 address in brackets, no port", "[::1]", "::1 -"},
      {"bare IPv6 address: never a port", "::1", "::1 -"},
      {"bare IPv6 address that ends like a port", "fe80::1:2947", "fe80::1:2947 -"},
      {"bare IPv6 address with a port it cannot hold", "::1:10110",
       "an IPv6 address needs brackets, as in [::1]:10110"},
      {"a scope with a bracket in it: it could not be written back", "0::1%5::]",
       "an IPv6 address needs brackets, as in [::1]:10110"},
      {"bracket left open", "[::1:10110", "\"[\" without \"]\" around the IPv6 address"},
      {"brackets around a name", "[gps]:1", "\"gps\" is not an IPv6 address"},
      {"text after the brackets", "[::1]x:1", "unexpected \"x:1\" after the address"},
      {"empty port", "host:", "the port \"\" is not a number"},
      {"empty port after brackets", "[::1]:", "the port \"\" is not a number"},
      {"port with letters", "host:12ab", "the port \"12ab\" is not a number"},
      {"signed port", "host:+1", "the port \"+1\" is not a number"},
      {"port 0", ":0", "the port 0 is out of range (1 to 65535)"},
      {"port above 65535", ":99999", "the port 99999 is out of range (1 to 65535)"},
      {"port beyond any integer", "h:99999999999999999999",
       "the port 99999999999999999999 is out of range (1 to 65535)"},
  };
  for (const TRow& row : table) EXPECT_EQ(HostAndPort(row.Authority), row.Read) << row.Legend;
}

TEST(SourceUrl, WellFormed) {
  struct TRow {
    const char* Legend;
    const char* Url;
    TSourceUrl Parts;
  };
  const TRow rows[] = {
      {"multiplexer by name", "tcp://nmea.local:10110", {kTcp, "nmea.local", 10110, ""}},
      {"IPv4 address", "tcp://192.168.1.5:2000", {kTcp, "192.168.1.5", 2000, ""}},
      {"scheme in capitals", "TCP://host:1", {kTcp, "host", 1, ""}},
      {"a lone slash after the port", "tcp://host:10110/", {kTcp, "host", 10110, ""}},
      {"every interface", "udp://:10110", {kUdp, "", 10110, ""}},
      {"one address", "udp://127.0.0.1:10110", {kUdp, "127.0.0.1", 10110, ""}},
      {"multicast group", "udp://239.192.0.1:60001", {kUdp, "239.192.0.1", 60001, ""}},
      {"IPv6 address to bind", "udp://[::1]:10110", {kUdp, "::1", 10110, ""}},
      {"gpsd's own port by default", "gpsd://localhost", {kGpsd, "localhost", 2947, ""}},
      {"gpsd, one device", "gpsd://pi:2948/dev/ttyUSB0", {kGpsd, "pi", 2948, "/dev/ttyUSB0"}},
      {"gpsd over IPv6", "gpsd://[::1]/dev/ttyACM0", {kGpsd, "::1", 2947, "/dev/ttyACM0"}},
      {"gpsd at a bare IPv6 address, on its own port",
       "gpsd://fe80::1:2948",
       {kGpsd, "fe80::1:2948", 2947, ""}},
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
    {"a bare IPv6 address holds no port", "tcp://::1", "the port is missing"},
    {"unknown scheme", "ftp://host:21", "unknown scheme \"ftp\" (tcp, udp or gpsd)"},
    {"no scheme", "://host:1", "unknown scheme \"\" (tcp, udp or gpsd)"},
    {"no host for tcp", "tcp://:10110", "the host is missing"},
    {"no host for gpsd", "gpsd://", "the host is missing"},
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
    TPortSlot port([] { return 0; });
    try {
      port.Open();
      ADD_FAILURE() << row.Legend << ": opened";
    } catch (const EDeviceError& error) {
      EXPECT_EQ(
          std::string(error.what()),
          std::string("Unable to open communications port\nInvalid address URL: ") + row.Reason)
          << row.Legend;
    }
    EXPECT_FALSE(port.Opened()) << row.Legend;
  }
}

}  // namespace
