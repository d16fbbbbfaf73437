#pragma once
// The Position window's scatter: every fix in metres east and north of the
// reference, coloured by fix quality, the latest ringed, with the CEP50,
// CEP95 and 2DRMS circles around the reference. The scale follows the
// spread, from centimetres for RTK to hundreds of metres; the wheel zooms.
// The kinds of fix wear the Charts window's names and colours.

#include <QChartView>
#include <array>
#include <map>
#include <optional>
#include <unordered_map>
#include <vector>

#include "history/Accuracy.h"
#include "history/AccuracyFollower.h"
#include "history/FixQuality.h"

class QGraphicsEllipseItem;
class QLineSeries;
class QScatterSeries;
class QValueAxis;

class TPositionScatter : public QChartView {
  Q_OBJECT

 public:
  enum TCircle { kCep50, kCep95, kDrms2 };

  explicit TPositionScatter(QWidget* parent = nullptr);

  // Catches up with the fixes `fixes` holds (which outlives the view):
  // only the new and the let go are sorted into the dots.
  void Follow(const TAccuracyFollower& fixes);

  // What is drawn, for the tests: the points of a GGA quality's kind of fix
  // (fixes that would share a dot on screen share one), the ringed latest
  // fix (east and north of the reference), a circle's radius, and the half
  // width of the view.
  const QScatterSeries* Quality(int ggaQuality) const;
  const std::optional<QPointF>& Latest() const { return LatestAt; }
  double CircleRadius(TCircle circle) const { return Radii[circle]; }
  double HalfWidth() const;

 protected:
  void wheelEvent(QWheelEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // Fixes of a kind closer than a fraction of a dot share one, drawn where
  // the first of them fell (on the follower's plane).
  struct TCell {
    QPointF At;
    size_t Fixes = 0;
  };
  using TCells = std::unordered_map<uint64_t, TCell>;

  QScatterSeries* SeriesOf(TFixQuality kind);
  void Attach(QAbstractSeries* series);
  void DrawCircles();
  void ApplyRange();
  void Sort(const TAccuracyFollower::TFix& fix, int sign);
  void SortAll();
  void DrawDots();
  QPointF Shifted(const QPointF& onPlane) const;
  void PlaceLatest();

  QValueAxis* EastAxis;
  QValueAxis* NorthAxis;
  std::map<TFixQuality, QScatterSeries*> Kinds;
  // The legend's key to the ring; the ring itself is an item of its own,
  // since a series that changes makes the whole plot paint again.
  QScatterSeries* LatestSeries;
  QGraphicsEllipseItem* LatestRing;
  std::optional<QPointF> LatestAt;
  std::array<QLineSeries*, 3> Circles{};
  std::array<double, 3> Radii{};
  const TAccuracyFollower* Source = nullptr;
  uint64_t Plane = 0;
  uint64_t End = 0;  // one past the last fix sorted
  double Cell = 0;   // metres a side
  std::map<TFixQuality, TCells> Cells;
  bool DotsChanged = true;
  QPointF Offset;       // the reference on the plane
  QPointF DrawnOffset;  // as it was when the dots were drawn
  double Extent = 0;    // metres from the reference to the farthest thing drawn
  double Zoom = 1;
};
