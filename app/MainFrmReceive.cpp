// The receive loop's events: lines that arrived, a DSR change, a timer tick.
// The monitor runs the loop, and the window applies what each step returns:
// the mode indicator, the lamp, the end of a replay, the lines for the view
// and the fix display. A failure is reported after the step has returned, so
// no message box ever holds the loop up.

#include <QApplication>
#include <QPainter>
#include <QTimer>
#include <QWindow>

#include "app/ErrorReport.h"
#include "app/FramePacer.h"
#include "app/MainFrm.h"
#include "app/PositionFrm.h"
#include "app/ReceivedDataView.h"
#include "app/SatellitesFrm.h"
#include "ui_MainFrm.h"

// At the recorded pace each tick is timed for the next line due, and a tick
// with more due than a frame's work comes again at the next turn.
void TMainForm::onReceiveTick() {
  ApplyStep(Loop.Tick());
  UpdateSeekBar();
  if (!Timer->isActive() || !Loop.Replaying()) return;
  const int interval = Loop.TickInterval();
  if (Timer->interval() != interval) Timer->setInterval(interval);
}

void TMainForm::onLinesArrived() {
  const TTickResult result = Loop.TakeArrived();
  ApplyStep(result);
  if (result.MoreWaiting) PostArrival();
  // The port's link changed (a device gone or back, DSR no longer waited
  // for): the receive timer follows.
  if (Timer->isActive() != Loop.NeedsTicks()) UpdateReceiveTimer();
}

void TMainForm::onDSRChanged(const TDSREdge& edge) {
  ApplyStep(Loop.TakeDSREdge(edge));
}

void TMainForm::onBlinkTick() {
  ApplyStep(Loop.Blink());
}

void TMainForm::PostArrival() {
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

void TMainForm::ApplyStep(const TTickResult& result) {
  {
    const TFramePacer::THold oneFrame(*Pacer);
    ApplyTick(result);
  }
  if (!result.Error.empty()) ReportError(result.Error);
}

void TMainForm::ApplyTick(const TTickResult& result) {
  if (result.ModeVisible) ShowModeIndicator(*result.ModeVisible);
  if (result.Lamp) DrawLamp(*result.Lamp);
  if (result.ReplayEnded) {
    ShowStopped();
    UpdateReceiveTimer();
  }
  // After a jump the received data starts over from the new place, and a
  // jump that had to wait is no longer "Seeking".
  if (result.Jumped) {
    ReceiveData->Clear();
    statusBar()->clearMessage();
    EpochsPublished.SkipAll(Loop.History());  // what a jump passed over is not news
  }
  for (const std::string& line : result.Lines) ReceiveData->AppendLine(line);
  // Painted with the fields they changed, not a moment later on their own.
  ReceiveData->SyncView();
  if (!result.Notice.empty()) ShowReplayNotice(result.Notice);
  if (!result.Updates.empty()) ShowFix(result.Updates);
  if (Satellites && Satellites->isVisible() && !SkyFrame->isActive()) SkyFrame->start();
  if (Position && Position->isVisible()) Position->ShowHistory(Loop.History());
  ScheduleCharts();
  PublishEpochs();
}

void TMainForm::ShowModeIndicator(bool visible) {
  ui->ModeCaption->SetLit(visible);
  ShowTaskbarIcon(visible);
}

// The taskbar icon blinks with the mode indicator. It is set on the window
// the platform shows: a widget's icon is passed on to every control it holds,
// and the application's to every window, at every blink.
void TMainForm::ShowTaskbarIcon(bool shown) {
  if (QWindow* window = windowHandle()) window->setIcon(shown ? SavedIcon : QIcon());
}

void TMainForm::DrawLamp(bool lit) {
  QPixmap picture(ui->PPSImage->size());
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.drawPixmap(0, 0, ImageList[lit ? 1 : 0]);
  painter.end();
  ui->PPSImage->setPixmap(picture);
}
