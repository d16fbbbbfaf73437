// The receive loop's events (lines that arrived, a DSR change, a timer tick)
// and the commands that start and stop it: logging, replay, pause, Stop. The
// monitor runs the loop, and the window applies what each step returns: the
// mode indicator, the lamp, the end of a replay, the lines for the view and
// the fix display.

#include <QApplication>
#include <QTimer>
#include <QWindow>

#include "app/ErrorReport.h"
#include "app/FileChoices.h"
#include "app/FixFields.h"
#include "app/FramePacer.h"
#include "app/MainStatusBar.h"
#include "app/MainWindow.h"
#include "app/ReceivedDataView.h"
#include "app/SeekBar.h"
#include "app/Sharing.h"
#include "app/ToolWindows.h"
#include "ui_MainWindow.h"

namespace {

// Runs `timer` at `interval` ms, touching it only where that changes it, and
// stops it when the interval is 0.
void RunAt(QTimer& timer, int interval) {
  if (interval <= 0) return timer.stop();
  if (timer.interval() != interval) timer.setInterval(interval);
  if (!timer.isActive()) timer.start();
}

}  // namespace

// At the recorded pace each tick is timed for the next line due, and a tick
// with more due than a frame's work comes again at the next turn.
void TMainWindow::onReceiveTick() {
  ApplyStep(Monitor.Tick());
  UpdateSeekBar();
  if (!Timer->isActive() || !Monitor.Replaying()) return;
  const int interval = Monitor.TickInterval();
  if (Timer->interval() != interval) Timer->setInterval(interval);
}

void TMainWindow::onLinesArrived() {
  const TTickResult result = Monitor.TakeArrived();
  ApplyStep(result);
  if (result.MoreWaiting) PostArrival();
  // The port's link changed (a device gone or back, DSR no longer waited
  // for): the receive timer follows.
  if (Timer->isActive() != Monitor.NeedsTicks()) UpdateTimers();
}

void TMainWindow::onDSRChanged(const TDSREdge& edge) {
  ApplyStep(Monitor.TakeDSREdge(edge));
}

void TMainWindow::onBlinkTick() {
  ApplyStep(Monitor.Blink());
}

void TMainWindow::PostArrival() {
  if (ArrivalPosted) return;
  ArrivalPosted = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        ArrivalPosted = false;
        onLinesArrived();
      },
      Qt::QueuedConnection);
}

void TMainWindow::ApplyStep(const TTickResult& result) {
  {
    const TFramePacer::THold oneFrame(*Pacer);
    if (result.ModeVisible) ShowModeIndicator(*result.ModeVisible);
    if (result.Lamp) ShowLamp(*ui->PPSImage, *result.Lamp);
    if (result.ReplayEnded) {
      ShowStopped();
      UpdateTimers();
    }
    // After a jump the received data starts over from the new place, and a
    // jump that had to wait is no longer "Seeking".
    if (result.Jumped) {
      ReceiveData->Clear();
      StatusBar->clearMessage();
      Sharing->SkipEpochs();  // what a jump passed over is not news
    }
    for (const std::string& line : result.Lines) ReceiveData->AppendLine(line);
    // Painted with the fields they changed, not a moment later on their own.
    ReceiveData->SyncView();
    if (!result.Notice.empty()) StatusBar->ShowReplayNotice(result.Notice);
    if (!result.Updates.empty()) ShowFieldUpdates(*centralWidget(), result.Updates);
    ToolWindows->Follow();
    Sharing->PublishEpochs();
  }
  if (!result.Error.empty()) ReportError(result.Error);
}

// The taskbar icon blinks with the mode indicator. It is set on the window
// the platform shows: a widget's icon is passed on to every control it holds,
// and the application's to every window, at every blink.
void TMainWindow::ShowModeIndicator(bool visible) {
  ui->ModeCaption->SetLit(visible);
  if (QWindow* window = windowHandle()) window->setIcon(visible ? SavedIcon : QIcon());
}

// Each timer runs only while it has work: lines come by themselves, so a
// program with a port open sleeps until they do.
void TMainWindow::UpdateTimers() {
  // At the recorded pace an interval of 0 is the next turn of the event loop.
  if (Monitor.NeedsTicks()) {
    if (Timer->interval() != Monitor.TickInterval()) Timer->setInterval(Monitor.TickInterval());
    if (!Timer->isActive()) Timer->start();
  } else {
    Timer->stop();
  }
  RunAt(*Blinker, Monitor.BlinkInterval());
  StatusBar->Follow();
}

void TMainWindow::StartLogging(const std::string& fileName) {
  ui->ModeCaption->setText("LOGGING");
  Monitor.StartLogging(fileName);
  SetFileMenus(false, false);
  UpdateTimers();
}

void TMainWindow::StartReplay(const std::string& fileName) {
  ui->ModeCaption->setText("REPLAY");
  Monitor.StartReplay(fileName);
  SetFileMenus(false, false);
  ui->PauseButton->setText("Pause");
  ui->PauseButton->show();
  SeekBar->ShowIndexing(0);
  UpdateSeekBar();
  UpdateTimers();
}

void TMainWindow::logToDisk() {
  if (ComPortIndex() < 0) return ShowWarning("Please open COM port first");
  const std::string fileName = Files->ChooseLog(true);
  if (!fileName.empty()) StartLogging(fileName);
}

void TMainWindow::replayFromDisk() {
  const std::string fileName = Files->ChooseLog(false);
  if (!fileName.empty()) StartReplay(fileName);
}

void TMainWindow::togglePause() {
  const bool pausing = !Monitor.Replay().Paused();
  Monitor.Replay().SetPaused(pausing);
  ui->PauseButton->setText(pausing ? "Resume" : "Pause");
  ui->ModeCaption->setText(pausing ? "PAUSED" : "REPLAY");
  // At the recorded pace the next tick is timed anew from the resume.
  UpdateTimers();
}

void TMainWindow::stop() {
  ShowStopped();
  // The receiver is let go of even when the file could not be written out;
  // the failure is still reported.
  try {
    Monitor.Stop();
  } catch (...) {
    UpdateTimers();
    throw;
  }
  UpdateTimers();
}

void TMainWindow::ShowStopped() {
  ui->PauseButton->hide();
  // The index goes with the replay.
  SeekBar->hide();
  SeekBar->ShowIndexing(0);
  ui->ModeCaption->SetLit(false);
  if (QWindow* window = windowHandle()) window->setIcon(SavedIcon);
  SetFileMenus(true, true);
  SetComPortIndex(-1);
}

void TMainWindow::ShowFreshStart() {
  ShowFieldUpdates(*centralWidget(), DisplayNothing());
  ToolWindows->Clear();
}

// Shown while a replay runs, usable once the monitor has indexed the file.
void TMainWindow::UpdateSeekBar() {
  if (!Monitor.Replaying()) return;
  SeekBar->show();
  const TReplayIndex* index = Monitor.Replay().Index();
  if (!index) return SeekBar->ShowIndexing(Monitor.Replay().IndexPercent());
  if (SeekBar->Index() != index) SeekBar->SetIndex(index);
  SeekBar->ShowEpoch(Monitor.Replay().Epoch());
}

void TMainWindow::jumpInReplay(qulonglong epoch) {
  ApplyStep(Monitor.JumpTo(static_cast<size_t>(epoch)));
  UpdateTimers();
}
