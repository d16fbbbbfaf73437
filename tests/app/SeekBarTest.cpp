// The seek bar in the window: shown while a replay runs, usable once the
// file is indexed; dragging it, its keys and a click jump, and the fix
// fields follow.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <chrono>
#include <thread>

#include "app/SeekBar.h"
#include "tests/app/MainWindowHarness.h"
#include "tests/support/Sentences.h"
#include "tests/support/TextFiles.h"
#include "tests/support/UserInput.h"

namespace {

// The fix of second `second` after 12:00:00.
std::string GgaAfterNoon(int second) {
  char time[48];
  std::snprintf(time, sizeof time, "12%02d%02d", second / 60, second % 60);
  return Gga(time);
}

class SeekBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    File = Harness.Home.Path() + "/seek.TXT";
    std::vector<std::string> lines;
    for (int second = 0; second < 200; ++second) lines.push_back(GgaAfterNoon(second));
    ASSERT_TRUE(WriteAll(File, AsLog(lines)));
  }
  QSlider* Slider() const { return Harness.Find<QSlider>("SeekSlider"); }
  std::string Time() const { return Harness.Find<QLineEdit>("UTCTime")->text().toStdString(); }
  void StartIndexed() {
    Harness.Main->StartReplay(File);
    for (int turn = 0; turn < 250 && !Slider()->isEnabled(); ++turn) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      Harness.Ticks(1);
    }
    ASSERT_TRUE(Slider()->isEnabled());
  }

  TWindowHarness Harness;
  std::string File;
};

struct TMove {
  const char* Legend;
  std::function<void(QSlider&)> Act;
  const char* Time;  // in the fix fields afterwards
};

TEST_F(SeekBarTest, DraggingKeysAndClicksJumpAndTheFixFieldsFollow) {
  StartIndexed();
  const TMove moves[] = {
      {"dragged to epoch 120",
       [](QSlider& slider) {
         slider.setSliderDown(true);
         slider.setSliderPosition(120);
         slider.setSliderDown(false);
       },
       "12:02:00 pm"},
      {"Right: one epoch on", [](QSlider& s) { PressKey(&s, Qt::Key_Right); }, "12:02:01 pm"},
      {"Left: one back", [](QSlider& s) { PressKey(&s, Qt::Key_Left); }, "12:02:00 pm"},
      {"Page Up: a minute back", [](QSlider& s) { PressKey(&s, Qt::Key_PageUp); }, "12:01:00 pm"},
      {"Page Down: a minute on", [](QSlider& s) { PressKey(&s, Qt::Key_PageDown); }, "12:02:00 pm"},
      {"a click near the start of a 400 px bar",
       [](QSlider& s) {
         s.resize(400, s.height());
         ClickAt(&s, QPointF(2, s.height() / 2.0));
       },
       "12:00:00 pm"},
  };
  for (const TMove& move : moves) {
    SCOPED_TRACE(move.Legend);
    move.Act(*Slider());
    Harness.Ticks(1);
    EXPECT_EQ(Time(), move.Time) << "the jump shows the state before the epoch, the tick takes it";
  }
  EXPECT_EQ(Harness.Find<QLabel>("SeekStart")->text(), "12:00:00");
  EXPECT_EQ(Harness.Find<QLabel>("SeekEnd")->text(), "12:03:19");
}

TEST_F(SeekBarTest, SpacePausesAndTheBarGoesWithTheReplay) {
  StartIndexed();
  EXPECT_TRUE(Harness.Find<TSeekBar>("SeekBar")->isVisibleTo(Harness.Main.get()));
  PressKey(Slider(), Qt::Key_Space);
  EXPECT_TRUE(Harness.Main->Receiver().Replay().Paused());
  PressKey(Slider(), Qt::Key_Space);
  EXPECT_FALSE(Harness.Main->Receiver().Replay().Paused());
  Harness.Main->stop();
  EXPECT_FALSE(Harness.Find<TSeekBar>("SeekBar")->isVisibleTo(Harness.Main.get()));
}

}  // namespace
