// The broker as a source and its address: a slot on mqtt:// shows what
// another publisher puts on PREFIX/nmea, a line a message, says so in the
// status bar and refuses commands; a broker that is not there is retried;
// and the addresses users type, right and wrong.

#include <gtest/gtest.h>

#include <vector>

#include "source/MqttDirectory.h"
#include "source/MqttUrl.h"
#include "source/PortSlot.h"
#include "tests/source/NetworkTestSupport.h"
#include "tests/support/MqttBroker.h"
#include "tests/support/PseudoTerminal.h"
#include "tests/support/SettingsHome.h"

namespace {

TEST(MqttSource, ASlotShowsWhatAnotherPublisherSends) {
  TMqttBroker broker;
  ASSERT_TRUE(broker.Start());
  const std::string url = broker.Url("fleet/roof");
  TTempSettingsHome home;
  TPortOverride slot(0, url);
  TPortSlot source([] { return 0; });
  ASSERT_NO_THROW(source.Open());
  TMqttTestClient publisher(broker.Port(), "");
  ASSERT_TRUE(
      publisher.RunUntil([&] { return source.LinkState() == TLinkState::Connected; }, 5000));
  EXPECT_EQ(source.SourceText(), "Connected to " + url);
  EXPECT_FALSE(source.CanSend());

  const std::vector<std::string> sent = {
      "$GPGGA,120000.00,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*67",
      "$GPRMC,120000.00,A,4807.038,N,01131.000,E,0.0,0.0,071226,,,A*6E",
  };
  for (const std::string& line : sent) publisher.Publish("fleet/roof/nmea", line);
  // A publisher that ends its message with CR LF, and one on another receiver's topic.
  publisher.Publish("fleet/roof/nmea", "$GPGSA,A,3,,,,,,,,,,,,,1.0,1.0,1.0*30\r\n");
  publisher.Publish("fleet/mast/nmea", "$GPGGA,not ours");
  std::vector<std::string> expected = sent;
  expected.emplace_back("$GPGSA,A,3,,,,,,,,,,,,,1.0,1.0,1.0*30");
  EXPECT_EQ(TakeLines(source, expected.size(), 5000), expected);
  try {
    source.Send("$PGRMO,,3*74\r\n");
    ADD_FAILURE() << "a broker reaches no receiver";
  } catch (const EDeviceError& error) {
    EXPECT_STREQ(error.what(), kCannotSendText);
  }
  source.Close();
}

TEST(MqttSource, ABrokerThatIsNotThereIsRetried) {
  TMqttBroker absent;  // never started: its port is free
  const std::string url = absent.Url("fleet/roof");
  TTempSettingsHome home;
  TPortOverride slot(0, url);
  TPortSlot source([] { return 0; });
  ASSERT_NO_THROW(source.Open());
  TakeLines(
      source, [&] { return source.LinkState() == TLinkState::Retrying; }, 5000);
  EXPECT_EQ(source.SourceText(), "Disconnected from " + url + ", retrying in 1 s");
}

TEST(MqttDirectory, ListsTheReceiversUnderAPrefixWithTheirState) {
  TMqttBroker broker;
  ASSERT_TRUE(broker.Start());
  TMqttTestClient fleet(broker.Port(), "");
  fleet.Publish("fleet/roof/status", "online", true);
  fleet.Publish("fleet/mast/status", "offline", true);
  fleet.Publish("fleet/bow/deep/status", "online", true);  // not a receiver of this prefix
  fleet.Publish("other/keel/status", "online", true);      // nor this
  std::string reason;
  TMqttDirectory directory(*ParseMqttUrl(broker.Url("fleet"), reason));
  const std::vector<TMqttReceiver> expected = {{"mast", false}, {"roof", true}};
  EXPECT_TRUE(fleet.RunUntil([&] { return directory.Receivers() == expected; }, 5000));
  EXPECT_EQ(MqttReceiversText(directory.Receivers()), "mast offline, roof online");

  // A receiver that ends says so; one whose status is cleared is gone.
  fleet.Publish("fleet/roof/status", "offline", true);
  fleet.Publish("fleet/mast/status", "", true);
  const std::vector<TMqttReceiver> after = {{"roof", false}};
  EXPECT_TRUE(fleet.RunUntil([&] { return directory.Receivers() == after; }, 5000));
}

struct TUrlCase {
  const char* Legend;
  const char* Text;
  std::optional<TMqttUrl> Url;
};

const TUrlCase kUrlCases[] = {
    {"the plain port by default", "mqtt://broker.lan/fleet/roof",
     TMqttUrl{false, "broker.lan", 1883, "fleet/roof"}},
    {"TLS on its own port", "mqtts://broker.lan/a", TMqttUrl{true, "broker.lan", 8883, "a"}},
    {"a port given", "mqtt://10.0.0.2:1884/a/", TMqttUrl{false, "10.0.0.2", 1884, "a"}},
    {"a bare IPv6 address, on the plain port", "mqtt://fe80::1:1884/a",
     TMqttUrl{false, "fe80::1:1884", 1883, "a"}},
    {"no prefix", "mqtt://broker.lan", std::nullopt},
    {"only a slash for a prefix", "mqtt://broker.lan/", std::nullopt},
    {"a wildcard in the prefix", "mqtt://broker.lan/fleet/+", std::nullopt},
    {"no host", "mqtt:///a", std::nullopt},
    {"another scheme", "http://broker.lan/a", std::nullopt},
};

TEST(MqttUrl, AddressesAsUsersTypeThem) {
  for (const TUrlCase& test : kUrlCases) {
    SCOPED_TRACE(test.Legend);
    std::string reason;
    EXPECT_EQ(ParseMqttUrl(test.Text, reason), test.Url);
    EXPECT_EQ(reason.empty(), test.Url.has_value()) << reason;
  }
}

}  // namespace
