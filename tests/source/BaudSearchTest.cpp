// Finding the baud rate: the order rates are tried in, what settles one, and
// a scripted device that speaks sense only at 38400 baud.

#include <gtest/gtest.h>

#include <QTimer>
#include <memory>
#include <vector>

#include "common/Clock.h"
#include "common/Routines.h"
#include "source/BaudSearch.h"
#include "source/SerialSource.h"
#include "tests/support/EventLoop.h"
#include "tests/support/ScriptedSerialDevice.h"

namespace {

std::vector<int32_t> RatesTried(int32_t remembered, int count) {
  TBaudSearch search(remembered);
  std::vector<int32_t> rates;
  for (int i = 0; i < count; ++i, search.Next()) rates.push_back(search.Rate());
  return rates;
}

TEST(BaudSearch, Order) {
  struct TRow {
    const char* Legend;
    int32_t Remembered;
    std::vector<int32_t> Rates;
  };
  const TRow rows[] = {
      {"nothing remembered, then round again",
       0,
       {4800, 9600, 38400, 115200, 19200, 57600, 230400, 460800, 921600, 4800}},
      {"the rate found last time first, not tried twice",
       115200,
       {115200, 4800, 9600, 38400, 19200, 57600, 230400, 460800, 921600, 115200}},
      {"a remembered rate outside the list is not tried", 2400, {4800, 9600}},
  };
  for (const TRow& row : rows)
    EXPECT_EQ(RatesTried(row.Remembered, static_cast<int>(row.Rates.size())), row.Rates)
        << row.Legend;
}

TEST(BaudSearch, TwoValidLinesSettleARate) {
  const std::string valid = FrameSentence("GPGGA,120000,,,,,0,,,,,,,,");
  struct TRow {
    const char* Legend;
    std::vector<std::string> Lines;
    bool Found;
  };
  const TRow rows[] = {
      {"two valid lines", {valid, valid}, true},
      {"one valid line", {valid}, false},
      {"garbage between two valid lines", {valid, "\x12\x7f$G*", valid}, true},
      {"a wrong checksum", {valid, valid.substr(0, valid.size() - 1) + "0"}, false},
      {"no checksum", {"$GPGGA,120000", valid}, false},
      {"an AIS line counts", {"!AIVDM,1,1,,A,13aEOK?P00PD2wVMdLDRhgvL289?,0*26", valid}, true},
  };
  for (const TRow& row : rows) {
    TBaudSearch search;
    bool found = false;
    for (const std::string& line : row.Lines) found = search.TakeLine(line);
    EXPECT_EQ(found, row.Found) << row.Legend;
  }
}

struct TAutoPort {
  std::shared_ptr<TSerialScript> Script = std::make_shared<TSerialScript>();
  int32_t Rate = kAutoRate;
  std::vector<int32_t> Kept;
  TSerialSource Source{"COM1:", "/dev/scripted", [this] { return Rate; },
                       TScriptedSerialDevice::Factory(Script)};
  // Speaks sense at 38400 baud only, as a receiver heard at the wrong rate.
  QTimer Receiver;

  explicit TAutoPort(int32_t remembered) {
    Source.SetRateMemory(
        {[remembered] { return remembered; }, [this](int32_t rate) { Kept.push_back(rate); }});
    Source.SetListenInterval(60);
    QObject::connect(&Receiver, &QTimer::timeout, [this] {
      Script->Feed(Script->BaudRate == 38400 ? FrameSentence("GPGSA,A,1,,,,,,,,,,,,,,,") + "\r\n"
                                             : std::string("\x13\xe7\x81\r\n"));
    });
    Receiver.start(10);
  }
  std::vector<int32_t> Configured() const {
    std::vector<int32_t> rates;
    for (const std::string& call : Script->Calls)
      if (call.rfind("Configure ", 0) == 0) rates.push_back(std::stoi(call.substr(10)));
    return rates;
  }
};

TEST(BaudSearch, FindsTheRateOfAScriptedReceiver) {
  struct TRow {
    const char* Legend;
    int32_t Remembered;
    std::vector<int32_t> Configured;
  };
  const TRow rows[] = {
      {"from the top of the list", 0, {4800, 9600, 38400}},
      {"the remembered rate at once", 38400, {38400}},
  };
  for (const TRow& row : rows) {
    TAutoPort port(row.Remembered);
    port.Source.Open();
    std::vector<std::string> lines;
    ASSERT_TRUE(ProcessEventsUntil(
        [&] {
          while (auto line = port.Source.ReadLine()) lines.push_back(*line);
          return !port.Kept.empty() && lines.size() >= 2;
        },
        5000))
        << row.Legend;
    EXPECT_EQ(port.Configured(), row.Configured) << row.Legend;
    EXPECT_EQ(port.Kept, std::vector<int32_t>{38400}) << row.Legend;
    EXPECT_EQ(port.Source.StatusText(), "COM1: /dev/scripted: Receiver found at 38400 baud")
        << row.Legend;
    EXPECT_EQ(lines[0], FrameSentence("GPGSA,A,1,,,,,,,,,,,,,,,"))
        << row.Legend << ": the lines that settled the rate are kept, garbage is not";
  }
}

TEST(BaudSearch, FixedRateWithBytesButNoValidLineAsksAboutTheRate) {
  uint32_t tick = 1000;
  Clock::SetTickSource([&tick] { return tick; });
  TAutoPort port(0);
  port.Receiver.stop();
  port.Rate = 4800;
  port.Source.Open();
  port.Script->Feed("\x13\xe7\x81\r\n");
  while (port.Source.ReadLine()) {
  }
  tick += TSerialSource::kNoValidLineMs - 1;
  EXPECT_EQ(port.Source.StatusText(), "COM1: /dev/scripted at 4800 baud");
  tick += 1;
  EXPECT_EQ(port.Source.StatusText(),
            "Bytes but no valid sentences at 4800 baud: wrong baud rate?");
  port.Script->Feed(FrameSentence("GPGSA,A,1,,,,,,,,,,,,,,,") + "\r\n");
  while (port.Source.ReadLine()) {
  }
  EXPECT_EQ(port.Source.StatusText(), "COM1: /dev/scripted at 4800 baud");
  Clock::SetTickSource({});
}

}  // namespace
