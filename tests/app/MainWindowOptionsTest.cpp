// What the main window does with the values the General options and Set
// replay rate dialogs hand back: it reads them from the store at start-up,
// passes them to the loop, and saves them when the dialog closes; a new baud
// rate reopens the port at once.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QSpinBox>
#include <algorithm>

#include "common/HandlerErrors.h"
#include "common/Settings.h"
#include "tests/app/MainWindowHarness.h"
#include "tests/support/TextFiles.h"

namespace {

int CallCount(const TWindowHarness& harness, const std::string& call) {
  const std::vector<std::string>& calls = harness.Script->Calls;
  return static_cast<int>(std::count(calls.begin(), calls.end(), call));
}

TEST(OptionsDialogs, ClosingSavesTheOptionsAndReopensAnOpenPortAtTheSavedRate) {
  const struct {
    const char* Legend;
    bool PortOpen;
    int BaudIndex;
    int ExpectedCloses;
    int32_t ExpectedRate;  // 0: not reopened
  } cases[] = {
      {"open port, new rate", true, 4, 1, 38400},
      {"open port, no rate selected", true, -1, 1, 4800},
      {"no port held: nothing opened", false, 4, 0, 0},
  };
  for (const auto& c : cases) {
    TWindowHarness harness;
    if (c.PortOpen) harness.SelectPort(0);
    harness.Script->Calls.clear();
    harness.Script->BaudRate = 0;
    TGeneralOptionsDialog& dialog = *harness.Dialogs.GeneralOptions;
    dialog.findChild<QComboBox*>("BaudRate")->setCurrentIndex(c.BaudIndex);
    dialog.findChild<QLineEdit*>("PPSCommand")->setText("$PGRMO,,3");
    dialog.accept();
    EXPECT_EQ(ReadSettingStr("Options", "PPSCommand", ""), "$PGRMO,,3") << c.Legend;
    EXPECT_EQ(CallCount(harness, "Close"), c.ExpectedCloses) << c.Legend;
    EXPECT_EQ(harness.Script->BaudRate, c.ExpectedRate) << c.Legend;
    EXPECT_EQ(harness.Main->Receiver().Port() != nullptr, c.PortOpen) << c.Legend;
  }
}

// The store's failures are shown once the dialog has closed; a save that
// fails leaves the port alone, a reopen that fails comes after the save.
TEST(OptionsDialogs, FailuresOnClosingAreShownAfterTheDialogHasClosed) {
  const struct {
    const char* Legend;
    bool StoreFails;
    bool OpenFails;
    const char* Error;
    bool PortOpenAfter;
    const char* StoredPPS;
  } cases[] = {
      {"failed save", true, false, "Failed to set data for 'BaudRate'", true, "<none>"},
      {"failed reopen", false, true, "Unable to open communications port", false, "saved anyway"},
  };
  for (const auto& c : cases) {
    TWindowHarness harness;
    harness.SelectPort(0);
    harness.Script->Calls.clear();
    SetErrorHook(ReportError);
    TGeneralOptionsDialog& dialog = *harness.Dialogs.GeneralOptions;
    dialog.findChild<QLineEdit*>("PPSCommand")->setText("saved anyway");
    const QByteArray home = qgetenv("XDG_CONFIG_HOME");
    if (c.StoreFails) qputenv("XDG_CONFIG_HOME", QByteArray("/dev/null/config"));
    harness.Script->OpenFails = c.OpenFails;
    dialog.accept();
    qputenv("XDG_CONFIG_HOME", home);
    ShowWaitingErrors();
    SetErrorHook({});
    EXPECT_FALSE(dialog.isVisible()) << c.Legend;
    ASSERT_EQ(harness.ErrorsShown().size(), 1U) << c.Legend;
    EXPECT_EQ(harness.ErrorsShown()[0].rfind(c.Error, 0), 0U) << c.Legend;
    EXPECT_EQ(CallCount(harness, "Close"), c.StoreFails ? 0 : 1) << c.Legend;
    TPortSlot* port = harness.Main->Receiver().Port();
    EXPECT_EQ(port != nullptr && port->Opened(), c.PortOpenAfter) << c.Legend;
    EXPECT_EQ(ReadSettingStr("Options", "PPSCommand", "<none>"), c.StoredPPS) << c.Legend;
  }
}

// As the program starts: the window, then its dialogs, over a stored file.
TEST(OptionsDialogs, StoredValuesAreInUseFromTheStart) {
  TTempSettingsHome home;
  WriteSettingInt("Options", "ReplaySpeed", 9000);
  WriteSettingStr("Options", "PPSCommand", "$PGRMO,,3");
  WriteSettingBool("Options", "IgnoreGSV", true);
  TMainWindow main;
  TMainDialogs dialogs;
  dialogs.ReplayRate = new TReplayRateDialog(&main);
  dialogs.GeneralOptions = new TGeneralOptionsDialog(&main);
  main.SetDialogs(dialogs);
  EXPECT_EQ(main.Receiver().CurrentOptions().PPSCommand, "$PGRMO,,3");
  EXPECT_TRUE(main.Receiver().CurrentOptions().IgnoreGSV);
  EXPECT_EQ(dialogs.ReplayRate->findChild<QSpinBox*>("ReplaySpeed")->value(), 5000);
  const std::string replay = home.Path() + "/replay.TXT";
  ASSERT_TRUE(WriteAll(replay, FrameSentence("GPGLL,1") + "\r\n"));
  main.StartReplay(replay);
  EXPECT_EQ(main.ReceiveTimer()->interval(), 5000) << "brought into range";
  main.stop();
}

TEST(OptionsDialogs, ClosingTheReplayRateDialogSavesTheRate) {
  TWindowHarness harness;
  TReplayRateDialog& dialog = *harness.Dialogs.ReplayRate;
  dialog.findChild<QSpinBox*>("ReplaySpeed")->setValue(300);
  EXPECT_EQ(ReadSettingInt("Options", "ReplaySpeed", -1), -1) << "not before it closes";
  dialog.show();
  dialog.close();
  EXPECT_EQ(ReadSettingInt("Options", "ReplaySpeed", -1), 300);
}

}  // namespace
