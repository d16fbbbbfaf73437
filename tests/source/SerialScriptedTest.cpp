// The serial port object on a scripted device: each failing step of opening
// with its message, the slot's device path, the stored baud rate, DSR, and
// failing writes.

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "common/Settings.h"
#include "source/Serial.h"
#include "tests/support/PseudoTerminal.h"
#include "tests/support/ScriptedSerialDevice.h"
#include "tests/support/SettingsHome.h"

namespace {

struct TScripted {
  TTempSettingsHome Home;
  TPortOverride Slot{0, "/dev/scripted"};
  std::shared_ptr<TSerialScript> Script = std::make_shared<TSerialScript>();
  int Index = 0;
  TSerial Port{[this] { return Index; }, TScriptedSerialDevice::Factory(Script)};
};

std::string OpenError(TSerial& port) {
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
  EXPECT_TRUE(s.Port.IsOpen());
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
    EXPECT_FALSE(s.Port.IsOpen());
    EXPECT_FALSE(s.Script->DeviceOpen) << "the device is released again";
    EXPECT_EQ(s.Script->Purges, 0);
    // The next attempt starts afresh and succeeds once the fault is gone.
    *s.Script = TSerialScript();
    EXPECT_EQ(OpenError(s.Port), "");
    EXPECT_TRUE(s.Port.IsOpen());
  }
}

TEST(SerialScripted, ModemLinesNotSupportedIsNoFailure) {
  TScripted s;
  s.Script->DTR = TSignalResult::NotSupported;
  s.Script->RTS = TSignalResult::NotSupported;
  EXPECT_EQ(OpenError(s.Port), "");
  EXPECT_TRUE(s.Port.IsOpen());
}

TEST(SerialScripted, SlotIndexOutsideTheSelectorOpensNothing) {
  for (int index : {-1, 8}) {
    SCOPED_TRACE(index);
    TScripted s;
    s.Index = index;
    EXPECT_EQ(OpenError(s.Port), "Unable to open communications port");
    EXPECT_FALSE(s.Port.IsOpen());
    EXPECT_TRUE(s.Script->Calls.empty());
  }
}

TEST(SerialScripted, OpensAtTheStoredBaudRate) {
  const struct {
    const char* Legend;
    std::function<void()> Store;
    int32_t Rate;
  } cases[] = {
      {"nothing stored", [] {}, 4800},
      {"empty, as the dialog stores for no selection",
       [] { WriteSettingStr("Options", "BaudRate", ""); }, 4800},
      {"not a number", [] { WriteSettingStr("Options", "BaudRate", "fast"); }, 4800},
      {"a number with trailing text", [] { WriteSettingStr("Options", "BaudRate", "9600 baud"); },
       4800},
      {"a number too large for 32 bits",
       [] { WriteSettingStr("Options", "BaudRate", "99999999999"); }, 4800},
      {"stored as an integer, not text", [] { WriteSettingInt("Options", "BaudRate", 9600); },
       4800},
      {"a listed rate", [] { WriteSettingStr("Options", "BaudRate", "115200"); }, 115200},
      {"an unlisted rate, passed on", [] { WriteSettingStr("Options", "BaudRate", "14400"); },
       14400},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Legend);
    TScripted s;
    c.Store();
    ASSERT_EQ(OpenError(s.Port), "");
    EXPECT_EQ(s.Script->BaudRate, c.Rate);
  }
}

TEST(SerialScripted, OpenOnAnOpenPortChangesNothing) {
  TScripted s;
  ASSERT_EQ(OpenError(s.Port), "");
  const auto callsBefore = s.Script->Calls;
  WriteSettingStr("Options", "BaudRate", "9600");
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
  providers.BaudRate = [&] {
    ++asked;
    return rate;
  };
  TSerial port([] { return 2; }, TScriptedSerialDevice::Factory(script), providers);
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
  EXPECT_TRUE(s.Port.IsOpen()) << "a failed write leaves the port open";
}

TEST(PortDevicePath, EnvironmentThenSettingsThenTable) {
  const struct {
    const char* Legend;
    int Index;
    const char* Environment;  // nullptr: not set
    const char* Stored;       // nullptr: nothing stored
    std::string Path;
  } cases[] = {
      {"COM1 from the table", 0, nullptr, nullptr, "/dev/ttyUSB0"},
      {"COM3 from the table", 2, nullptr, nullptr, "/dev/ttyACM0"},
      {"COM5 from the table", 4, nullptr, nullptr, "/dev/ttyS0"},
      {"COM8 from the table", 7, nullptr, nullptr, "/dev/ttyS3"},
      {"stored path beats the table", 1, nullptr, "/dev/gps", "/dev/gps"},
      {"environment beats the stored path", 1, "/tmp/sim", "/dev/gps", "/tmp/sim"},
      {"an empty environment value counts as unset", 1, "", "/dev/gps", "/dev/gps"},
      {"outside the slots: no path", 8, nullptr, nullptr, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Legend);
    TTempSettingsHome home;
    const std::string slot = "COM" + std::to_string(c.Index + 1);
    if (c.Stored != nullptr) WriteSettingStr("Ports", slot, c.Stored);
    std::optional<TPortOverride> environment;
    if (c.Environment != nullptr) environment.emplace(c.Index, c.Environment);
    EXPECT_EQ(PortDevicePath(c.Index), c.Path);
  }
}

}  // namespace
