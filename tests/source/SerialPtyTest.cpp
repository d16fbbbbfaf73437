// The serial port object on a real pseudo-terminal: line assembly from the
// pieces a receiver's bytes arrive in, exclusive opening, the line speed, and
// a receiver that goes away.

#include <gtest/gtest.h>

#include <unistd.h>
#include <QCoreApplication>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

#include "source/PortSlot.h"
#include "tests/source/LineSpeed.h"
#include "tests/support/EventLoop.h"
#include "tests/support/PseudoTerminal.h"
#include "tests/support/SettingsHome.h"

using namespace std::string_literals;

namespace {

// A port on COM1 that is the pseudo-terminal.
struct TPtyPort {
  TTempSettingsHome Home;
  TPseudoTerminal Pty;
  TPortOverride Slot{0, Pty.Path()};
  int32_t Rate = 4800;  // what the settings say at the moment the port asks
  TPortSlot Port{[] { return 0; }, {}, TPortProviders{.BaudRate = [this](int) { return Rate; }}};
};

// Sends `data` from a second thread while the port is read, for amounts the
// pseudo-terminal cannot hold at once. Until all is sent, each read waits for
// a full read's worth, so that the receiver stays ahead of the reader as a
// fast receiver stays ahead of the receive tick. Returns every non-empty
// line, in order.
std::vector<std::string> StreamAndRead(TPtyPort& p, const std::string& data) {
  std::atomic<bool> written = false;
  std::thread writer([&] {
    p.Pty.Write(data);
    written = true;
  });
  std::vector<std::string> lines;
  int quietReads = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while ((!written || quietReads < 200) && std::chrono::steady_clock::now() < deadline) {
    while (!written && p.Pty.Waiting() < 1024 && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::microseconds(100));
    const std::string line = p.Port.ReadLine().value_or("");
    if (!line.empty()) {
      lines.push_back(std::move(line));
      quietReads = 0;
    } else {
      ++quietReads;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
  writer.join();
  return lines;
}

struct TStep {
  std::string Arrives;  // bytes the receiver sends before this read
  std::string Line;     // what ReadLine then returns
};

struct TLineCase {
  const char* Legend;
  std::vector<TStep> Steps;
};

class LineAssemblyTest : public ::testing::TestWithParam<TLineCase> {};

TEST_P(LineAssemblyTest, ReturnsOneCleanLinePerRead) {
  TPtyPort p;
  ASSERT_NO_THROW(p.Port.Open());
  int stepNumber = 0;
  for (const TStep& step : GetParam().Steps) {
    SCOPED_TRACE("step " + std::to_string(++stepNumber));
    if (!step.Arrives.empty()) {
      ASSERT_TRUE(p.Pty.Deliver(step.Arrives));
    }
    EXPECT_EQ(p.Port.ReadLine().value_or(""), step.Line);
  }
  p.Port.Close();
}

const TLineCase kLineCases[] = {
    {"whole sentence with CR LF in one read", {{"$GPGGA,1*00\r\n", "$GPGGA,1*00"}, {"", ""}}},
    {"sentence split across reads",
     {{"$GPRMC,12", ""}, {"3519,A*", ""}, {"6A\r\n", "$GPRMC,123519,A*6A"}}},
    {"two sentences in one read: the second comes out without new bytes",
     {{"$A*41\r\n$B*42\r\n", "$A*41"}, {"", "$B*42"}, {"", ""}}},
    {"CR at the end of a read, its LF later: the stray LF is filtered",
     {{"$A\r", "$A"}, {"\n$B\r\n", "$B"}}},
    {"LF-only line ends make no line until a CR comes",
     {{"$A\n$B\n", ""}, {"", ""}, {"\r", "$A$B"}}},
    {"two CRs in a row give an empty line", {{"$A\r\r$B\r", "$A"}, {"", ""}, {"", "$B"}}},
    {"control, high and NUL bytes dropped, DEL kept",
     {{"\x01$A\tB\x7f\x80\xff\0C\x1b\r\n"s,
       "$AB\x7f"
       "C"}}},
};

INSTANTIATE_TEST_SUITE_P(Pty, LineAssemblyTest, ::testing::ValuesIn(kLineCases),
                         [](const auto& param) { return "Case" + std::to_string(param.index); });

TEST(SerialPty, KeepsAtMost32767CharactersAfterALine) {
  // 20,000 one-character lines arrive far faster than one line per read is
  // taken: everything beyond 32,767 characters after a taken line is dropped,
  // the newest first, so the closing marker never comes out.
  TPtyPort p;
  ASSERT_NO_THROW(p.Port.Open());
  std::string data;
  for (int i = 0; i < 20000; ++i) data += "z\r";
  data += "END\r";
  const std::vector<std::string> lines = StreamAndRead(p, data);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "END"), 0);
  EXPECT_GE(lines.size(), 32767u / 2);
  EXPECT_LT(lines.size(), 20000u);
  p.Port.Close();
}

TEST(SerialPty, BoundsTheBufferWhileNoCRArrives) {
  // Noise without a single CR: the buffer stays bounded, and the line the
  // CR ends keeps its first 32,767 characters.
  TPtyPort p;
  ASSERT_NO_THROW(p.Port.Open());
  StreamAndRead(p, "OLDEST" + std::string(100000, 'x'));
  ASSERT_TRUE(p.Pty.Deliver("\r"));
  EXPECT_EQ(p.Port.ReadLine(), "OLDEST" + std::string(32767 - 6, 'x'));
  p.Port.Close();
}

// A pseudo-terminal has no modem lines: no thread waits on it and nothing
// samples it, so the program sleeps until bytes arrive, and they say so.
TEST(SerialPty, NoModemLinesToWaitForAndArrivalsAnnounced) {
  TPtyPort p;
  int arrivals = 0;
  p.Port.SetArrivalHandler([&] { ++arrivals; });
  ASSERT_NO_THROW(p.Port.Open());
  IModemLines* lines = p.Port.ModemLines();
  ASSERT_NE(lines, nullptr);
  EXPECT_EQ(lines->ReadDSR(), std::nullopt);
  EXPECT_FALSE(lines->WatchDSR([](const TDSREdge&) {}, [] {}));
  EXPECT_FALSE(lines->NeedsSampling());
  ASSERT_TRUE(p.Pty.Write("$GPGLL,1*00\r\n"));
  EXPECT_TRUE(ProcessEventsUntil([&] { return arrivals > 0; }, 2000));
  EXPECT_EQ(p.Port.ReadLine(), "$GPGLL,1*00");
  p.Port.Close();
}

TEST(SerialPty, SecondOpenOfTheSameDeviceFails) {
  const struct {
    const char* Legend;
    bool ThroughLink;
  } cases[] = {
      {"the same path", false},
      {"a symbolic link to the same device", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Legend);
    TPtyPort p;
    const std::filesystem::path link = p.Home.Path() + "/gps";
    std::filesystem::create_symlink(p.Pty.Path(), link);
    TPortOverride second(1, c.ThroughLink ? link.string() : p.Pty.Path());
    TPortSlot other([] { return 1; });
    ASSERT_NO_THROW(p.Port.Open());
    try {
      other.Open();
      ADD_FAILURE() << "second open succeeded";
    } catch (const EDeviceError& error) {
      EXPECT_STREQ(error.what(), "Unable to open communications port");
    }
    EXPECT_FALSE(other.Opened());
    ASSERT_TRUE(p.Pty.Deliver("$STILL*00\r\n"));
    EXPECT_EQ(p.Port.ReadLine(), "$STILL*00") << "the first holder is undisturbed";
    p.Port.Close();
    EXPECT_NO_THROW(other.Open()) << "free again once closed";
    other.Close();
  }
}

TEST(SerialPty, OpensAtTheLineSpeedItIsGiven) {
  const struct {
    const char* Legend;
    int32_t Rate;
    uint32_t Speed;
  } cases[] = {
      {"the default", 4800, 4800},
      {"a rate the options offer", 38400, 38400},
      {"a rate no dialog offers, passed on as it is", 14400, 14400},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Legend);
    TPtyPort p;
    p.Rate = c.Rate;
    ASSERT_NO_THROW(p.Port.Open());
    EXPECT_EQ(ReadLineSpeed(p.Pty.DeviceFd()), c.Speed);
    p.Port.Close();
  }
}

TEST(SerialPty, SendReachesTheReceiver) {
  TPtyPort p;
  ASSERT_NO_THROW(p.Port.Open());
  const std::string command = "$PGRMO,,3*74\r\n";
  p.Port.Send(command);
  EXPECT_EQ(p.Pty.Read(command.size(), 2000), command);
  p.Port.Close();
}

TEST(SerialPty, SendGivesUpOnAReceiverThatTakesNothing) {
  // Nobody reads the far side: once the line's buffers are full the write
  // cannot finish. It fails with its message instead of holding the program.
  TPtyPort p;
  p.Rate = 4000000;
  ASSERT_NO_THROW(p.Port.Open());
  try {
    p.Port.Send(std::string(256 * 1024, 'x'));
    ADD_FAILURE() << "a write nobody took was reported as sent";
  } catch (const EDeviceError& error) {
    EXPECT_STREQ(error.what(), "Error sending data");
  }
  ASSERT_TRUE(p.Pty.Deliver("$GPGGA,1*00\r\n"));
  EXPECT_EQ(p.Port.ReadLine(), "$GPGGA,1*00") << "reading goes on";
  p.Port.Close();
}

TEST(SerialPty, UnreadInputWaitsInTheDriverNotInMemory) {
  // With the port open but not read (a replay runs) and the event loop
  // running, the receiver's bytes pile up only to a bound; past it they wait
  // in the driver, which stops taking more. Reading then goes on.
  TPtyPort p;
  ASSERT_NO_THROW(p.Port.Open());
  const std::string chunk = std::string(8191, 'x') + "\r";
  size_t taken = 0;
  for (int i = 0; i < 400; ++i) {
    taken += p.Pty.Offer(chunk);
    QCoreApplication::processEvents();
  }
  EXPECT_LT(taken, 512u * 1024) << "of " << 400 * chunk.size() << " bytes sent";
  std::string line;
  for (int i = 0; i < 20 && line.empty(); ++i) line = p.Port.ReadLine().value_or("");
  EXPECT_EQ(line, std::string(8191, 'x'));
  p.Port.Close();
}

// Whether this process still has the device open (once the far side is
// gone, the kernel names it "/dev/pts/N (deleted)").
bool HoldsDevice(const std::string& path) {
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    std::error_code error;
    const std::string target = std::filesystem::read_symlink(entry.path(), error).string();
    if (target == path || target == path + " (deleted)") return true;
  }
  return false;
}

TEST(SerialPty, ReceiverGoneAway) {
  // The far side closes mid-sentence: the device is let go (a device left
  // open would keep a running event loop busy reporting it), nothing hangs or
  // throws on reading, DSR reads off, the link reads disconnected, and
  // sending says so.
  const struct {
    const char* Legend;
    bool EventLoopRuns;
  } cases[] = {
      {"noticed by the receive tick's read", false},
      {"noticed first by the running event loop", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Legend);
    TPtyPort p;
    ASSERT_NO_THROW(p.Port.Open());
    ASSERT_TRUE(p.Pty.Deliver("$GPGGA,1*00\r\n$GPRMC,"));
    EXPECT_EQ(p.Port.ReadLine(), "$GPGGA,1*00");
    p.Pty.CloseFarSide();
    if (c.EventLoopRuns) {
      for (int i = 0; i < 200 && HoldsDevice(p.Pty.Path()); ++i) {
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
      }
      EXPECT_FALSE(HoldsDevice(p.Pty.Path())) << "let go before the next tick";
    }
    for (int i = 0; i < 100; ++i) ASSERT_EQ(p.Port.ReadLine(), std::nullopt);
    EXPECT_FALSE(HoldsDevice(p.Pty.Path()));
    EXPECT_EQ(p.Port.ModemLines()->ReadDSR(), std::nullopt);
    try {
      p.Port.Send("$PGRMO,,3*74\r\n");
      ADD_FAILURE() << "sending to a vanished device succeeded";
    } catch (const EDeviceError& error) {
      EXPECT_STREQ(error.what(), "Receiver disconnected");
    }
    EXPECT_EQ(p.Port.LinkState(), TLinkState::Disconnected);
    EXPECT_TRUE(p.Port.Opened()) << "stays open until its owner closes it";
    p.Port.Close();
  }
}

}  // namespace
