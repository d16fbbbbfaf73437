// The receive loop over a network source on 127.0.0.1: many lines an arrival,
// TAG blocks kept on screen but not in the decoder's way, no lamp and no PPS
// command.

#include <gtest/gtest.h>

#include <QtGlobal>

#include "tests/monitor/MonitorHarness.h"
#include "tests/support/EventLoop.h"
#include "tests/support/LoopbackPeer.h"
#include "tests/support/TextFiles.h"

namespace {

const std::string kGGA =
    FrameSentence("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,");

class TSlotUrl {
 public:
  explicit TSlotUrl(const std::string& url) { qputenv("TOLVANE_COM1", url.c_str()); }
  ~TSlotUrl() { qunsetenv("TOLVANE_COM1"); }
};

TEST(MonitorNetwork, TakesEveryLineWaitingUpToAHundredAnArrival) {
  const std::string tagged = "\\s:mux1,c:1700000000*6B\\" + kGGA;
  std::string served;
  for (int line = 0; line < 149; ++line)
    served += FrameSentence("GPGLL," + std::to_string(line)) + "\r\n";
  served += tagged + "\r\n";
  TLoopbackPeer peer(served, served.size());
  ASSERT_NE(peer.Port, 0);
  const TSlotUrl slot("tcp://127.0.0.1:" + std::to_string(peer.Port));

  TMonitorHarness harness;
  harness.Monitor.SetDeviceFactory({});
  harness.SetPPSCommand("$PGRMO,,3");
  harness.Monitor.OpenPort(0);
  ASSERT_TRUE(ProcessEventsUntil([&] { return peer.Finished.load(); }, 10000));
  ProcessEventsFor(100);  // what the peer sent, into the socket's buffer

  harness.Arrived();
  EXPECT_EQ(harness.Shown.size(), 100u) << "a hundred lines an arrival";
  EXPECT_TRUE(harness.Results.back().MoreWaiting) << "the rest at the next turn";
  harness.Arrived();
  ASSERT_EQ(harness.Shown.size(), 150u);
  EXPECT_FALSE(harness.Results.back().MoreWaiting);
  EXPECT_EQ(harness.Shown.back(), tagged) << "shown as received";
  EXPECT_FALSE(harness.Results.back().Updates.empty()) << "decoded without its TAG block";
  EXPECT_EQ(harness.Monitor.Stats().Rows().back().Address, "GPGGA");
  for (const TTickResult& result : harness.Results) EXPECT_FALSE(result.Lamp) << "no modem lines";
  EXPECT_TRUE(harness.Errors.empty()) << "no PPS command is tried";
}

TEST(MonitorNetwork, TagBlocksAreStrippedOnReplayToo) {
  TMonitorHarness harness;
  const std::string file = harness.Home.Path() + "/tagged.TXT";
  ASSERT_TRUE(WriteAll(file, "\\c:1700000000*5F\\" + kGGA + "\r\n"));
  harness.Monitor.StartReplay(file);
  harness.Ticks(1);
  EXPECT_EQ(harness.Monitor.Decoder().GGA.Altitude, 545.4f);
}

}  // namespace
