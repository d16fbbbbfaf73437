// Logging and replay: starting either, pausing a replay, its pace, and Stop,
// which ends both and also lets go of the serial port.

#include <QApplication>
#include <QFileDialog>
#include <QTimer>

#include "app/ErrorReport.h"
#include "app/MainFrm.h"
#include "app/SeekBar.h"
#include "options/ReplayRateFrm.h"
#include "ui_MainFrm.h"

void TMainForm::StartLogging(const std::string& fileName) {
  ui->ModeCaption->setText("LOGGING");
  Loop.StartLogging(fileName);
  SetFileMenus(false, false);
  UpdateReceiveTimer();
}

void TMainForm::StartReplay(const std::string& fileName) {
  ui->ModeCaption->setText("REPLAY");
  Loop.StartReplay(fileName);
  SetFileMenus(false, false);
  ui->PauseButton->setText("Pause");
  ui->PauseButton->show();
  SeekBar->ShowIndexing(0);
  UpdateSeekBar();
  UpdateReceiveTimer();
}

void TMainForm::logToDisk() {
  if (ComPortIndex() < 0) return ShowWarning("Please open COM port first");
  const std::string fileName = ChooseFile(LogFileDialog(true));
  if (!fileName.empty()) StartLogging(fileName);
}

void TMainForm::replayFromDisk() {
  const std::string fileName = ChooseFile(LogFileDialog(false));
  if (!fileName.empty()) StartReplay(fileName);
}

void TMainForm::togglePause() {
  const bool pausing = !Loop.Replay().Paused();
  Loop.Replay().SetPaused(pausing);
  ui->PauseButton->setText(pausing ? "Resume" : "Pause");
  ui->ModeCaption->setText(pausing ? "PAUSED" : "REPLAY");
  // At the recorded pace the next tick is timed anew from the resume.
  UpdateReceiveTimer();
}

void TMainForm::showReplayRate() {
  if (!Dialogs.ReplayRate) return;
  RunModal(*Dialogs.ReplayRate);
  UpdateReceiveTimer();
}

void TMainForm::stop() {
  ShowStopped();
  // The receiver is let go of even when the file could not be written out;
  // the failure is still reported.
  try {
    Loop.Stop();
  } catch (...) {
    UpdateReceiveTimer();
    throw;
  }
  UpdateReceiveTimer();
}

void TMainForm::ShowStopped() {
  ui->PauseButton->hide();
  // The index goes with the replay.
  SeekBar->hide();
  SeekBar->ShowIndexing(0);
  ui->ModeCaption->SetLit(false);
  ShowTaskbarIcon(true);
  SetFileMenus(true, true);
  SetComPortIndex(-1);
}
