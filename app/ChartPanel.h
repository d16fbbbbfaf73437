#pragma once
// One plot of the Charts window: a Qt Charts view that is handed its lines
// already reduced (TChartData) and its shaded spans, on the shared UTC time
// axis. Each line's segments are separate series in the line's colour, so
// that gaps stay gaps; the series are kept and refilled from one refresh to
// the next rather than made again. The wheel and a drag ask the window to
// zoom or pan every plot together; the plot area starts at the same x in
// every plot, so that one time is one column down the window.

#include <QChartView>
#include <QColor>
#include <QString>
#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "history/ChartData.h"

class QAreaSeries;
class QCategoryAxis;
class QLineSeries;
class QValueAxis;

class TChartPanel : public QChartView {
  Q_OBJECT

 public:
  // The plot's name for its y axis and the unit its tool tips give.
  TChartPanel(const QString& title, const QString& unit, QWidget* parent = nullptr);

  void SetLines(const std::map<uint32_t, TChartLine>& lines, bool dated);
  // A kind of span drawn over the whole height: its value, legend name and
  // colour (with the transparency it is drawn with); in the legend always,
  // or only while there are such spans.
  void AddSpanKind(int value, const QString& name, const QColor& colour, bool alwaysInLegend);
  void SetSpans(const std::vector<TChartSpan>& spans);
  void SetTimeRange(double from, double to, bool dated);
  // Lines' names in the legend; a plot of sixty lines reads better without.
  void SetLegendShown(bool shown);
  // For a plot too low for a legend of its own.
  void HideLegend();
  // The time labels go under the lowest plot only.
  void SetTimeLabelsShown(bool shown);
  // A y range that does not follow the lines (the band's 0 to 1).
  void SetFixedValues(double low, double high);

  double PlotWidth() const;
  // The number of series holding points, for the tests.
  int SegmentCount() const;
  // Where the time x falls in the plot, in view coordinates, and back.
  double ViewX(double x) const;
  double TimeAt(double viewX) const;

 signals:
  // factor < 1 narrows the view around the time at.
  void zoomed(double factor, double at);
  void dragged(double seconds);

 protected:
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  struct TSpanKind {
    int Value;
    QAreaSeries* Area;
    bool AlwaysInLegend;
  };

  QLineSeries* SeriesAt(size_t index);
  void FitValues(double low, double high);
  void PlaceArea();
  void ShowDashes(const std::map<int, std::string>& dashes);
  void ShowPoint(const QLineSeries* series, const QPointF& point, bool state);

  QString Unit;
  QCategoryAxis* Time;
  QValueAxis* Values;
  QValueAxis* SpanValues;  // 0 to 1, hidden
  std::vector<QLineSeries*> Series;
  std::array<QLineSeries*, 3> DashKeys{};  // legend entries only
  std::vector<TSpanKind> SpanKinds;
  std::optional<std::pair<double, double>> Fixed;
  bool LegendShown = true;
  bool LegendHidden = false;
  bool TimeLabels = false;
  bool Dated = false;
  std::optional<int> DragFrom;
};
