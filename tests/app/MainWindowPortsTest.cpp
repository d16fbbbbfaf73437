// Options, Ports...: what the main window does with the slots the dialog
// hands back. It writes section "Ports", the slots' tool tips follow, and the
// slot held open follows a new device or rate at once.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QHelpEvent>
#include <algorithm>

#include "common/Settings.h"
#include "tests/app/MainWindowHarness.h"
#include "tests/support/TextFiles.h"

namespace {

QString ToolTip(const TWindowHarness& harness, int slot) {
  return harness.Find<QRadioButton>(QString("ComPort%1").arg(slot).toLatin1())->toolTip();
}

// Answers the Ports dialog: `edit` sets its controls, then OK.
void EditPorts(TWindowHarness& harness, const std::function<void(QDialog&)>& edit) {
  harness.AnswerModal = [&edit](QDialog& dialog) {
    edit(dialog);
    dialog.accept();
    return int(QDialog::Accepted);
  };
  harness.Find<QAction>("actionPorts")->trigger();
  harness.AnswerModal = {};
}

void Type(QDialog& dialog, int slot, const char* device) {
  dialog.findChild<QComboBox*>(QString("Device%1").arg(slot))->setEditText(device);
}

void ChooseRate(QDialog& dialog, int slot, const char* rate) {
  auto* rates = dialog.findChild<QComboBox*>(QString("BaudRate%1").arg(slot));
  rates->setCurrentIndex(rates->findText(rate));
}

TEST(PortsDialog, OKWritesSectionPortsAndTheToolTipsFollow) {
  TWindowHarness harness;
  harness.FoundPorts = {
      {"/dev/ttyACM0", "/dev/serial/by-id/usb-GNSS-if00", "GNSS", "", "", {}, {}}};
  EXPECT_EQ(ToolTip(harness, 1), "/dev/ttyUSB0") << "the built-in path before";
  EditPorts(harness, [](QDialog& dialog) {
    auto* first = dialog.findChild<QComboBox*>("Device1");
    ASSERT_EQ(first->count(), 1) << "the scripted port is offered";
    emit first->activated(0);
    ChooseRate(dialog, 2, "9600");
    Type(dialog, 3, "tcp://127.0.0.1:10110");
  });
  EXPECT_EQ(ReadSettingStr("Ports", "COM1", "?"), "/dev/serial/by-id/usb-GNSS-if00");
  EXPECT_EQ(ReadSettingStr("Ports", "COM2BaudRate", "?"), "9600");
  EXPECT_EQ(ReadSettingStr("Ports", "COM3", "?"), "tcp://127.0.0.1:10110");
  const std::string file = ReadAll(harness.Home.Path() + "/Tolvane/Tolvane.reg");
  EXPECT_EQ(file.find("\"COM4"), std::string::npos) << "a slot left alone adds nothing";
  EXPECT_EQ(ToolTip(harness, 1), "/dev/serial/by-id/usb-GNSS-if00");
  EXPECT_EQ(ToolTip(harness, 2), "/dev/ttyUSB1 at 9600 baud");
  EXPECT_EQ(ToolTip(harness, 3), "tcp://127.0.0.1:10110");
  EXPECT_EQ(ToolTip(harness, 4), "/dev/ttyACM1");
}

TEST(PortsDialog, AToolTipAboutToShowReadsAHandEdit) {
  TWindowHarness harness;
  WriteSettingStr("Ports", "COM5", "/dev/ttyAMA0");
  auto* button = harness.Find<QRadioButton>("ComPort5");
  QHelpEvent event(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
  QApplication::sendEvent(button, &event);
  EXPECT_EQ(button->toolTip(), "/dev/ttyAMA0");
}

TEST(PortsDialog, TheSlotHeldOpenFollowsWhatWasSaved) {
  const struct {
    const char* Legend;
    const char* Device;  // typed into COM1's field
    const char* Rate;    // chosen for COM1
    int ExpectedCloses;
    const char* ExpectedPath;
    int32_t ExpectedRate;
  } cases[] = {
      {"nothing changed: left alone", "", "Default (4800)", 0, "/dev/ttyUSB0", 4800},
      {"its own rate: reopened at it", "", "115200", 1, "/dev/ttyUSB0", 115200},
      {"a new device: opened instead", "/dev/ttyUSB5", "921600", 1, "/dev/ttyUSB5", 921600},
  };
  for (const auto& c : cases) {
    TWindowHarness harness;
    harness.SelectPort(0);
    harness.Script->Calls.clear();
    EditPorts(harness, [&c](QDialog& dialog) {
      Type(dialog, 1, c.Device);
      ChooseRate(dialog, 1, c.Rate);
    });
    const auto& calls = harness.Script->Calls;
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "Close"), c.ExpectedCloses) << c.Legend;
    EXPECT_EQ(harness.Script->OpenedPath, c.ExpectedPath) << c.Legend;
    EXPECT_EQ(harness.Script->BaudRate, c.ExpectedRate) << c.Legend;
    EXPECT_EQ(harness.ErrorsShown(), std::vector<std::string>()) << c.Legend;
  }
}

TEST(PortsDialog, ASlotOpensAtItsOwnRateElseTheGeneralOne) {
  TWindowHarness harness;
  WriteSettingStr("Options", "BaudRate", "38400");
  WriteSettingStr("Ports", "COM2BaudRate", "9600");
  WriteSettingStr("Ports", "COM3BaudRate", "fast");
  const struct {
    const char* Legend;
    int Slot;
    int32_t Rate;
  } cases[] = {
      {"no rate of its own", 0, 38400},
      {"its own rate", 1, 9600},
      {"an unreadable rate of its own", 2, 38400},
  };
  for (const auto& c : cases) {
    harness.SelectPort(c.Slot);
    EXPECT_EQ(harness.Script->BaudRate, c.Rate) << c.Legend;
  }
}

}  // namespace
