// The window paints at most once a frame, and nothing that changed within a
// frame is left unpainted. The flat signal bars show their level from the
// bottom in the bar's colours.

#include "app/FramePacer.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPaintEvent>
#include <QProgressBar>
#include <QWidget>

#include "app/SignalBars.h"

namespace {

class TCountingWindow : public QWidget {
 public:
  int Paints = 0;

 protected:
  void paintEvent(QPaintEvent*) override { ++Paints; }
};

void RunEventsFor(int milliseconds) {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < milliseconds) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

TEST(FramePacer, ChangesWithinAFramePaintOnceAndNoneIsLost) {
  TCountingWindow window;
  window.resize(100, 100);
  new TFramePacer(window);
  window.show();
  RunEventsFor(2 * TFramePacer::kFrameMs);
  const int before = window.Paints;
  // Well within one frame: the first may paint at once, the rest wait
  // (unpaced, each repaint would paint; a busy machine may see a frame pass).
  for (int change = 0; change < 5; ++change) {
    window.update();
    QCoreApplication::processEvents();
    window.repaint();
  }
  EXPECT_LE(window.Paints - before, 2);
  RunEventsFor(3 * TFramePacer::kFrameMs);
  EXPECT_GE(window.Paints - before, 1) << "what changed is painted at the next frame";
  EXPECT_LE(window.Paints - before, 3);
}

TEST(SignalBars, LevelRisesFromTheBottomInTheBarsColours) {
  QWidget panel;
  auto* bar = new QProgressBar(&panel);
  bar->setOrientation(Qt::Vertical);
  bar->setRange(0, 60);
  bar->setGeometry(0, 0, 16, 42);
  QPalette palette = bar->palette();
  palette.setColor(QPalette::Base, Qt::yellow);
  palette.setColor(QPalette::Highlight, Qt::blue);
  bar->setPalette(palette);
  PaintSignalBarsFlat(panel);
  const struct {
    const char* legend;
    int value;
    QColor top, bottom;
  } cases[] = {
      {"empty", 0, Qt::yellow, Qt::yellow},
      {"half", 30, Qt::yellow, Qt::blue},
      {"full", 60, Qt::blue, Qt::blue},
  };
  for (const auto& c : cases) {
    bar->setValue(c.value);
    const QImage image = bar->grab().toImage();
    EXPECT_EQ(image.pixelColor(8, 3), c.top) << c.legend;
    EXPECT_EQ(image.pixelColor(8, 38), c.bottom) << c.legend;
  }
}

}  // namespace
