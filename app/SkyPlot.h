#pragma once
// The sky plot of the Satellites window: a polar view with north up and
// azimuth clockwise, elevation 90 at the centre and rings at 0, 30 and 60
// degrees; one marker per satellite with a position, coloured by system,
// filled when used in the fix, labelled with its number, and a legend of the
// systems in view. One widget paints it all.

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QStaticText>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <vector>

#include "nmea/SkyModel.h"

// The colour that stands for a system in the plot, its legend and the table.
QColor SkySystemColour(TSkySystem system);

struct TSkyPlotPoint {
  TSkySystem System = TSkySystem::Other;
  int32_t Satellite = 0;
  int Elevation = 0;
  int Azimuth = 0;
  bool Used = false;
  QString Label;
  QStaticText LabelText;  // laid out once, drawn on every repaint
};

class TSkyPlot : public QWidget {
  Q_OBJECT

 public:
  explicit TSkyPlot(QWidget* parent = nullptr);

  // Satellites without elevation or azimuth are left out.
  void SetSatellites(const std::vector<TSkySatellite>& satellites);
  void Clear();

  // Where a position falls in a plot circle of the given centre and radius:
  // elevations beyond 0 to 90 are drawn on the nearest of those.
  static QPointF Position(int elevation, int azimuth, QPointF centre, double radius);
  // The plot circle within the widget.
  QRectF PlotArea() const;

  QSize sizeHint() const override { return {360, 360}; }
  QSize minimumSizeHint() const override { return {200, 200}; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void UpdateMetrics();
  void PaintGrid(class QPainter& painter, QPointF centre, double radius) const;
  void PaintMarkers(QPainter& painter, QPointF centre, double radius) const;
  void PaintLegend(QPainter& painter) const;
  // The marker of a system, used or not, drawn once into an image at the
  // screen's pixel ratio: a hundred images are much quicker to draw than a
  // hundred antialiased rings.
  const QImage& Marker(TSkySystem system, bool used, qreal pixelRatio) const;

  std::vector<TSkyPlotPoint> Plotted;
  // The systems of every satellite given, plotted or not, for the legend.
  std::vector<TSkySystem> Systems;
  double MarkerRadius = 10;
  mutable std::array<QImage, 2 * kSkySystemCount> Markers;
  mutable qreal MarkersRatio = 0;
  mutable QColor MarkersBackground;
  int LegendWidth = 0;
};
