// The window paints at most once a frame, and nothing that changed within a
// frame is left unpainted. The flat signal bars show their level from the
// bottom in the bar's colours, and the flat fields their text where their
// alignment puts it.

#include "app/FramePacer.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QPaintEvent>
#include <QProgressBar>
#include <QWidget>

#include "app/FlatPanel.h"
#include "app/FlatScrollBar.h"

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

TEST(FramePacer, WhatChangesDuringAHoldIsPaintedOnceAfterIt) {
  TCountingWindow window;
  window.resize(100, 100);
  TFramePacer pacer(window);
  window.show();
  RunEventsFor(3 * TFramePacer::kFrameMs);  // the first frame is done
  const int before = window.Paints;
  {
    TFramePacer::THold hold(pacer);
    {
      TFramePacer::THold nested(pacer);
      window.repaint();
    }
    window.repaint();
    window.update();
    QCoreApplication::processEvents();
    EXPECT_EQ(window.Paints, before) << "nothing while held";
  }
  RunEventsFor(3 * TFramePacer::kFrameMs);
  EXPECT_EQ(window.Paints - before, 1);
}

TEST(FlatPanel, BarLevelRisesFromTheBottomInTheBarsColours) {
  QWidget panel;
  auto* bar = new QProgressBar(&panel);
  bar->setOrientation(Qt::Vertical);
  bar->setRange(0, 60);
  bar->setGeometry(0, 0, 16, 42);
  QPalette palette = bar->palette();
  palette.setColor(QPalette::Base, Qt::yellow);
  palette.setColor(QPalette::Highlight, Qt::blue);
  bar->setPalette(palette);
  PaintPanelFlat(panel);
  const struct {
    const char* Legend;
    int Value;
    QColor Top, Bottom;
  } cases[] = {
      {"empty", 0, Qt::yellow, Qt::yellow},
      {"half", 30, Qt::yellow, Qt::blue},
      {"full", 60, Qt::blue, Qt::blue},
  };
  for (const auto& c : cases) {
    bar->setValue(c.Value);
    const QImage image = bar->grab().toImage();
    EXPECT_EQ(image.pixelColor(8, 3), c.Top) << c.Legend;
    EXPECT_EQ(image.pixelColor(8, 38), c.Bottom) << c.Legend;
  }
}

TEST(FlatScrollBar, HandleFollowsTheValue) {
  TFlatScrollBar bar(Qt::Vertical, nullptr);
  bar.setRange(0, 100);
  bar.setPageStep(100);  // a handle of half the groove
  bar.resize(16, 200);
  bar.setValue(0);
  const QImage top = bar.grab().toImage();
  bar.setValue(100);
  const QImage bottom = bar.grab().toImage();
  // Rows 40 and 160 swap between the handle and the bare groove.
  EXPECT_NE(top.pixelColor(8, 40), top.pixelColor(8, 160));
  EXPECT_EQ(top.pixelColor(8, 40), bottom.pixelColor(8, 160));
  EXPECT_EQ(top.pixelColor(8, 160), bottom.pixelColor(8, 40));
}

// The columns of a field's image that hold ink of its text colour.
std::pair<int, int> InkColumns(const QImage& image, const QColor& background) {
  int first = image.width(), last = -1;
  for (int x = 2; x < image.width() - 2; ++x)
    for (int y = 2; y < image.height() - 2; ++y)
      if (image.pixelColor(x, y) != background) {
        first = std::min(first, x);
        last = std::max(last, x);
      }
  return {first, last};
}

TEST(FlatPanel, FieldShowsItsTextWhereItsAlignmentSaysOnItsColour) {
  QWidget panel;
  auto* field = new QLineEdit(&panel);
  field->setGeometry(0, 0, 120, 21);
  field->setReadOnly(true);
  QPalette palette = field->palette();
  palette.setColor(QPalette::Base, Qt::yellow);
  field->setPalette(palette);
  PaintPanelFlat(panel);
  const struct {
    const char* Legend;
    QString Text;
    Qt::Alignment Alignment;
    int InkFrom, InkTo;  // where the ink must lie
  } cases[] = {
      {"empty: the colour alone", "", Qt::AlignLeft, 120, -1},
      {"left", "12:34:56", Qt::AlignLeft, 2, 60},
      {"right", "12:34:56", Qt::AlignRight, 60, 118},
      {"a new text of the same field", "8", Qt::AlignRight, 100, 118},
  };
  for (const auto& c : cases) {
    field->setAlignment(c.Alignment | Qt::AlignVCenter);
    field->setText(c.Text);
    const QImage image = field->grab().toImage();
    EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::yellow)) << c.Legend;
    const auto [first, last] = InkColumns(image, Qt::yellow);
    if (c.Text.isEmpty()) {
      EXPECT_GT(first, last) << c.Legend;
      continue;
    }
    EXPECT_GE(first, c.InkFrom) << c.Legend;
    EXPECT_LE(last, c.InkTo) << c.Legend;
    EXPECT_LT(first, last) << c.Legend;
  }
}

}  // namespace
