#pragma once
// Paints a window at most once a frame. A receiver at 100 lines a second
// changes some field, the received data or a table at every line; painting
// each change as it comes would cost more than everything else together and
// show nothing a screen can. Every change still reaches the widgets at once
// (the data is never held back); only the painting of what they marked
// dirty waits for the next frame, all of it together.

#include <QElapsedTimer>
#include <QObject>

class QTimer;
class QWidget;

class TFramePacer : public QObject {
  Q_OBJECT

 public:
  // 20 frames a second: every epoch of a 10 Hz receiver is seen, and a
  // window that takes 100 lines a second paints a fifth as often as it takes
  // one.
  static constexpr int kFrameMs = 50;

  // Paces `window` (a top-level widget) for as long as both live.
  explicit TFramePacer(QWidget& window);

  // Nothing is painted while a hold lasts, not even what a control repaints
  // at once (a progress bar does, at every new value): a step that changes
  // many controls is painted once, with all of them, after it. Holds nest.
  class THold {
   public:
    explicit THold(TFramePacer& pacer) : Pacer(pacer) { ++Pacer.Holds; }
    ~THold();
    THold(const THold&) = delete;
    THold& operator=(const THold&) = delete;

   private:
    TFramePacer& Pacer;
  };

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void paintFrame();

  QWidget& Window;
  QTimer* NextFrame;
  QElapsedTimer SinceFrame;
  int Holds = 0;
  bool HeldBack = false;  // a request came during a hold
};
