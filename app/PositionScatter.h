#pragma once
// The Position window's scatter: every fix in metres east and north of the
// reference, coloured by fix quality, the latest ringed, with the CEP50,
// CEP95 and 2DRMS circles around the reference. The scale follows the
// spread, from centimetres for RTK to hundreds of metres; the wheel zooms.
// The kinds of fix wear the Charts window's names and colours.

#include <QChartView>
#include <array>
#include <map>
#include <vector>

#include "history/Accuracy.h"
#include "history/FixQuality.h"

class QLineSeries;
class QScatterSeries;
class QValueAxis;

class TPositionScatter : public QChartView {
  Q_OBJECT

 public:
  enum TCircle { kCep50, kCep95, kDrms2 };

  explicit TPositionScatter(QWidget* parent = nullptr);

  // `points` are `fixes` around the reference, one for one.
  void Show(const std::vector<TEpochFix>& fixes, const std::vector<TLocalPoint>& points,
            const TAccuracy& accuracy);

  // What is drawn, for the tests: the points of a GGA quality's kind of fix
  // (fixes that would share a dot on screen share one), the latest fix, a
  // circle's radius, and the half width of the view.
  const QScatterSeries* Quality(int ggaQuality) const;
  const QScatterSeries* Latest() const { return LatestSeries; }
  double CircleRadius(TCircle circle) const { return Radii[circle]; }
  double HalfWidth() const;

 protected:
  void wheelEvent(QWheelEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  struct TDot {
    QPointF At;
    TFixQuality Kind;
  };

  QScatterSeries* SeriesOf(TFixQuality kind);
  void Attach(QAbstractSeries* series);
  void DrawCircles();
  void ApplyRange();
  void DrawDots();

  QValueAxis* EastAxis;
  QValueAxis* NorthAxis;
  std::map<TFixQuality, QScatterSeries*> Kinds;
  QScatterSeries* LatestSeries;
  std::array<QLineSeries*, 3> Circles{};
  std::array<double, 3> Radii{};
  std::vector<TDot> Dots;  // every fix, drawn thinned to what the screen shows
  double Extent = 0;       // metres from the reference to the farthest thing drawn
  double Zoom = 1;
};
