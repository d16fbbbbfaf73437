// The serial port object on a scripted device: each failing step of opening
// with its message, the slot's device path, the stored baud rate, DSR, and
// failing writes.

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "source/PortSlot.h"
#include "tests/support/PseudoTerminal.h"
#include "tests/support/ScriptedSerialDevice.h"
#include "tests/support/SettingsHome.h"

namespace {

struct TScripted {
  TTempSettingsHome Home;
  TPortOverride Slot{0, "/dev/scripted"};
  std::shared_ptr<TSerialScript> Script = std::make_shared<TSerialScript>();
  int Index = 0;
  int32_t Rate = 4800;  // what the settings say at the moment the port asks
  TPortSlot Port{[this] { return Index; }, TScriptedSerialDevice::Factory(Script),
                 TPortProviders{.BaudRate = [this](int) { return Rate; }}};
};

std::string OpenError(TPortSlot& port) {
  try {
    port.Open();
  } catch (const EDeviceError& error) {
    return error.what();
  }
  return {};
}

TEST(SerialScripted, OpensInOrderAndEndsWithAPurge) {
  TScripted s;
  ASSERT_EQ(OpenError(s.Port), "");
  EXPECT_TRUE(s.Port.Opened());
  EXPECT_EQ(s.Port.SourceText(), "COM1: /dev/scripted at 4800 baud");
  const std::vector<std::string> expected = {"Open /dev/scripted",
                                             "SetQueueSizes 1024 1024",
                                             "Configure 4800",
                                             "SetImmediateReads",
                                             "RaiseDTR",
                                             "RaiseRTS",
                                             "Purge"};
  EXPECT_EQ(s.Script->Calls, expected);
}

TEST(SerialScripted, EachFailingStepOfOpenClosesWithItsMessage) {
  const struct {
    const char* Legend;
    std::function<void(TSerialScript&)> Break;
    const char* Message;
  } cases[] = {
      {"device cannot be opened", [](TSerialScript& t) { t.OpenFails = true; },
       "Unable to open communications port"},
      {"queues refused", [](TSerialScript& t) { t.QueueSizesFail = true; },
       "Unable to create comms buffer"},
      {"line settings refused", [](TSerialScript& t) { t.ConfigureFails = true; },
       "Unable to set comms DCB"},
      {"immediate reads refused", [](TSerialScript& t) { t.ImmediateReadsFail = true; },
       "Unable to set comms timeouts"},
      {"DTR cannot be raised", [](TSerialScript& t) { t.DTR = TSignalResult::Failed; },
       "Error raising DTR signal"},
      {"RTS cannot be raised", [](TSerialScript& t) { t.RTS = TSignalResult::Failed; },
       "Error raising RTS signal"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Legend);
    TScripted s;
    c.Break(*s.Script);
    EXPECT_EQ(OpenError(s.Port), c.Message);
    EXPECT_FALSE(s.Port.Opened());
    EXPECT_FALSE(s.Script->DeviceOpen) << "the device is released again";
    EXPECT_EQ(s.Script->Purges, 0);
    // The next attempt starts afresh and succeeds once the fault is gone.
    *s.Script = TSerialScript();
    EXPECT_EQ(OpenError(s.Port), "");
    EXPECT_TRUE(s.Port.Opened());
  }
}

TEST(SerialScripted, ModemLinesNotSupportedIsNoFailure) {
  TScripted s;
  s.Script->DTR = TSignalResult::NotSupported;
  s.Script->RTS = TSignalResult::NotSupported;
  EXPECT_EQ(OpenError(s.Port), "");
  EXPECT_TRUE(s.Port.Opened());
}

TEST(SerialScripted, SlotIndexOutsideTheSelectorOpensNothing) {
  for (int index : {-1, 8}) {
    SCOPED_TRACE(index);
    TScripted s;
    s.Index = index;
    EXPECT_EQ(OpenError(s.Port), "Unable to open communications port");
    EXPECT_FALSE(s.Port.Opened());
    EXPECT_TRUE(s.Script->Calls.empty());
  }
}

TEST(SerialScripted, OpenOnAnOpenPortChangesNothing) {
  TScripted s;
  ASSERT_EQ(OpenError(s.Port), "");
  const auto callsBefore = s.Script->Calls;
  s.Rate = 9600;
  s.Index = 3;
  EXPECT_EQ(OpenError(s.Port), "");
  EXPECT_EQ(s.Script->Calls, callsBefore);
  EXPECT_EQ(s.Port.SourceText(), "COM1: /dev/scripted at 4800 baud");
  // The new rate applies only through Close and Open.
  s.Port.Close();
  EXPECT_EQ(OpenError(s.Port), "");
  EXPECT_EQ(s.Script->BaudRate, 9600);
  EXPECT_EQ(s.Port.SourceText().substr(0, 6), "COM4: ");
}

TEST(SerialScripted, ReopeningForgetsAPartLineFromBefore) {
  TScripted s;
  ASSERT_EQ(OpenError(s.Port), "");
  s.Script->Incoming = "$GPGGA,half";
  EXPECT_EQ(s.Port.ReadLine(), std::nullopt);
  s.Port.Close();
  ASSERT_EQ(OpenError(s.Port), "");
  s.Script->Incoming = "$GPRMC*00\r\n";
  EXPECT_EQ(s.Port.ReadLine(), "$GPRMC*00");
}

TEST(SerialScripted, AFloodWithoutALineIsReadInBoundedSteps) {
  TScripted s;
  ASSERT_EQ(OpenError(s.Port), "");
  s.Script->Incoming = std::string(200 * 1024, 'x');
  EXPECT_EQ(s.Port.ReadLine(), std::nullopt);
  EXPECT_EQ(s.Script->Incoming.size(), 135u * 1024) << "1 KiB, then 64 KiB more until a line";
  EXPECT_EQ(s.Port.ReadLine(), std::nullopt);
  EXPECT_EQ(s.Port.DroppedBytes(), (130u - 64) * 1024) << "of 130 KiB the newest 64 are kept";
  s.Script->ReadFails = true;
  EXPECT_EQ(s.Port.ReadLine(), std::nullopt) << "a failing read is an empty read";
}

TEST(SerialScripted, BaudRateComesFromTheCallersProviderAtEveryOpen) {
  TTempSettingsHome home;
  auto script = std::make_shared<TSerialScript>();
  int32_t rate = 19200;
  int asked = 0;
  TPortProviders providers;
  providers.Path = [](int index) { return "/dev/slot" + std::to_string(index); };
  providers.BaudRate = [&](int index) {
    EXPECT_EQ(index, 2) << "the slot's own rate is asked for";
    ++asked;
    return rate;
  };
  TPortSlot port([] { return 2; }, TScriptedSerialDevice::Factory(script), providers);
  ASSERT_EQ(OpenError(port), "");
  EXPECT_EQ(script->OpenedPath, "/dev/slot2");
  EXPECT_EQ(port.SourceText(), "COM3: /dev/slot2 at 19200 baud");
  rate = 57600;
  port.ReopenForBaudRate();
  EXPECT_EQ(script->BaudRate, 57600);
  EXPECT_EQ(asked, 2);
}

TEST(SerialScripted, DSRFollowsTheLine) {
  const struct {
    const char* Legend;
    std::optional<bool> Line;
    std::optional<bool> Reported;
  } cases[] = {
      {"DSR on", true, true},
      {"DSR off", false, false},
      {"DSR cannot be read", std::nullopt, std::nullopt},
  };
  TScripted s;
  ASSERT_EQ(OpenError(s.Port), "");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Legend);
    s.Script->DSR = c.Line;
    EXPECT_EQ(s.Port.ModemLines()->ReadDSR(), c.Reported);
  }
  s.Port.Close();
  EXPECT_EQ(s.Port.ModemLines(), nullptr) << "a closed port has no DSR";
}

TEST(SerialScripted, SendWritesTheWholeTextOrRaises) {
  TScripted s;
  ASSERT_EQ(OpenError(s.Port), "");
  s.Port.Send("$PGRMO,,3*74\r\n");
  EXPECT_EQ(s.Script->Written, "$PGRMO,,3*74\r\n");

  const size_t callsBefore = s.Script->Calls.size();
  s.Port.Send("");
  EXPECT_EQ(s.Script->Calls.size(), callsBefore) << "an empty text writes nothing";

  s.Script->WriteFails = true;
  try {
    s.Port.Send("$PGRMO,,4*73\r\n");
    ADD_FAILURE() << "a failed write went unreported";
  } catch (const EDeviceError& error) {
    EXPECT_STREQ(error.what(), "Error sending data");
  }
  EXPECT_TRUE(s.Port.Opened()) << "a failed write leaves the port open";
}

}  // namespace
