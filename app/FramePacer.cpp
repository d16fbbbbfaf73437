#include "app/FramePacer.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

// Qt paints a window when it receives an update request, which every
// update() posts and every repaint() sends at once. A request within a
// frame of the last painting is held back, and the window stays marked for
// painting with everything that changed meanwhile, until the next frame.
TFramePacer::TFramePacer(QWidget& window)
    : QObject(&window), Window(window), NextFrame(new QTimer(this)) {
  NextFrame->setSingleShot(true);
  NextFrame->setTimerType(Qt::PreciseTimer);
  connect(NextFrame, &QTimer::timeout, this, &TFramePacer::paintFrame);
  window.installEventFilter(this);
}

TFramePacer::THold::~THold() {
  if (--Pacer.Holds > 0 || !Pacer.HeldBack) return;
  Pacer.HeldBack = false;
  // Qt takes the event; an allocation failure there ends the program anyway.
  // NOLINTNEXTLINE(bugprone-unhandled-exception-at-new)
  QCoreApplication::postEvent(&Pacer.Window, new QEvent(QEvent::UpdateRequest));
}

bool TFramePacer::eventFilter(QObject* watched, QEvent* event) {
  if (watched != &Window || event->type() != QEvent::UpdateRequest) return false;
  if (Holds > 0) {
    HeldBack = true;
    return true;
  }
  if (!SinceFrame.isValid() || SinceFrame.elapsed() >= kFrameMs) {
    SinceFrame.start();
    return false;
  }
  if (!NextFrame->isActive()) NextFrame->start(static_cast<int>(kFrameMs - SinceFrame.elapsed()));
  return true;
}

void TFramePacer::paintFrame() {
  SinceFrame.invalidate();  // the frame is due, however the timer rounded
  QEvent request(QEvent::UpdateRequest);
  QCoreApplication::sendEvent(&Window, &request);
}
