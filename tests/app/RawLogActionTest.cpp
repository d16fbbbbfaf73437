// File, "Log raw bytes...": its dialog's suffix, its check, its size in the
// status bar, stopping when chosen again or with an error box on a full disk.

#include <gtest/gtest.h>

#include <QAction>
#include <QFileDialog>
#include <QLabel>

#include "source/FrameBuilder.h"
#include "tests/app/MainWindowHarness.h"
#include "tests/support/EventLoop.h"
#include "tests/support/TextFiles.h"

namespace {

TEST(RawLogAction, StartsWithTheReceiversSuffixShowsItsSizeAndStopsWhenChosenAgain) {
  TWindowHarness harness;
  const std::string file = harness.Home.Path() + "/receiver.ubx";
  harness.SelectPort(0);
  harness.Script->Feed(UbxFrame(0x01, 0x07, std::string(92, '\0')));
  harness.Ticks(1);
  harness.AnswerModal = [&](QDialog& dialog) {
    auto& files = dynamic_cast<QFileDialog&>(dialog);
    EXPECT_EQ(files.defaultSuffix(), "ubx");
    files.selectFile(QString::fromStdString(file));
    return int(QDialog::Accepted);
  };
  auto* action = harness.Find<QAction>("actionLogRawBytes");
  EXPECT_EQ(action->shortcut(), QKeySequence("Ctrl+Shift+L"));
  Choose(*harness.Main, "actionLogRawBytes");
  EXPECT_TRUE(action->isChecked());
  const std::string sent = "$GPGGA,1\r\n" + std::string(150'000, '\x7F');
  harness.Script->Feed(sent);
  harness.Ticks(3);
  ProcessEventsFor(2 * 250 + 100);
  auto* status = harness.Find<QLabel>("RawLogStatus");
  EXPECT_EQ(status->text(), "Raw log: 0.2 MB");

  Choose(*harness.Main, "actionLogRawBytes");
  EXPECT_FALSE(action->isChecked());
  EXPECT_FALSE(status->isVisibleTo(harness.Main.get()));
  EXPECT_EQ(ReadAll(file), sent);
}

TEST(RawLogAction, AFullDiskStopsTheLogWithAnErrorBox) {
  TWindowHarness harness;
  const QString full = QString::fromStdString(harness.Home.Path() + "/full.bin");
  ASSERT_TRUE(QFile::link("/dev/full", full));
  harness.SelectPort(0);
  harness.AnswerModal = [&](QDialog& dialog) {
    auto& files = dynamic_cast<QFileDialog&>(dialog);
    EXPECT_EQ(files.defaultSuffix(), "bin") << "no UBX frame yet";
    files.selectFile(full);
    return int(QDialog::Accepted);
  };
  Choose(*harness.Main, "actionLogRawBytes");
  harness.Script->Feed("$GPGGA,1\r\n");
  harness.Ticks(1);
  ProcessEventsFor(2 * 250 + 100);
  EXPECT_FALSE(harness.Find<QAction>("actionLogRawBytes")->isChecked());
  EXPECT_EQ(harness.Messages,
            (std::vector<TShownMessage>{{TMessageKind::Error, "Raw log stopped: Disk full."}}));
}

}  // namespace
