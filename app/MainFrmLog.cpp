// Logging and replay: starting either, pausing a replay, its pace, and Stop,
// which ends both and also lets go of the serial port.

#include <QApplication>
#include <QFileDialog>
#include <QTimer>

#include "app/ErrorReport.h"
#include "monitor/LogFileName.h"
#include "app/MainFrm.h"
#include "common/Clock.h"
#include "options/ReplayRateFrm.h"
#include "ui_MainFrm.h"

namespace {

constexpr int kDefaultReplaySpeed = 500;

}  // namespace

void TMainForm::StartLogging(const std::string& fileName) {
  const std::string expanded = ExpandLogFileName(fileName, Clock::Now(), Clock::Now());
  ui->ModeCaption->setText("LOGGING");
  DataFile.Rewrite(expanded);
  SetFileMenus(false, false);
  StartTick = Clock::TickCount();
  Logging = true;
}

void TMainForm::StartReplay(const std::string& fileName) {
  ui->ModeCaption->setText("REPLAY");
  const int speed = Dialogs.ReplayRate ? Dialogs.ReplayRate->ReplaySpeed() : kDefaultReplaySpeed;
  ReceiveTimer->setInterval(speed);
  try {
    DataFile.Reset(fileName);
  } catch (...) {
    // Nothing replays, so live reading keeps its own pace.
    ReceiveTimer->setInterval(kIdleInterval);
    throw;
  }
  SetFileMenus(false, false);
  StartTick = Clock::TickCount();
  Replaying = true;
  ui->PauseButton->setText("Pause");
  ui->PauseButton->show();
}

void TMainForm::Logtodisk1Click() {
  if (ComPortIndex() < 0) return ShowWarning("Please open COM port first");
  const std::string fileName = ChooseFile(*SaveDialog);
  if (!fileName.empty()) StartLogging(fileName);
}

void TMainForm::Replayfromdisk1Click() {
  const std::string fileName = ChooseFile(*OpenDialog);
  if (!fileName.empty()) StartReplay(fileName);
}

// The caption is the pause state: "Resume" means paused.
void TMainForm::PauseButtonClick() {
  const bool pausing = ui->PauseButton->text() == "Pause";
  ui->PauseButton->setText(pausing ? "Resume" : "Pause");
  ui->ModeCaption->setText(pausing ? "PAUSED" : "REPLAY");
}

void TMainForm::Setreplayrate1Click() {
  if (!Dialogs.ReplayRate) return;
  RunModal(*Dialogs.ReplayRate);
  if (Replaying) ReceiveTimer->setInterval(Dialogs.ReplayRate->ReplaySpeed());
}

void TMainForm::StopButtonClick() {
  ui->PauseButton->hide();
  ui->ModeCaption->hide();
  QApplication::setWindowIcon(SavedIcon);
  ReceiveTimer->setInterval(kIdleInterval);
  SetFileMenus(true, true);
  if (Logging || Replaying) {
    Logging = false;
    Replaying = false;
    try {
      DataFile.Close();
    } catch (...) {
      // The receiver is let go of even when the file could not be written
      // out; the failure is still reported.
      SetComPortIndex(-1);
      ClosePort();
      throw;
    }
  }
  SetComPortIndex(-1);
  ClosePort();
}
