#pragma once
// The Charts window: the history of the current source or replay as stacked
// plots on one UTC time axis (C/N0, satellites in view and used, dilution,
// altitude) over a band of fix quality, with interference suspected shaded
// and, under the C/N0, a strip of the receiver's own jamming verdicts.
// The wheel zooms and a drag pans all plots together; Follow live (or Home)
// shows every epoch again as they come. Non-modal; its position and size
// are kept in section "Windows". It does nothing while closed: the main
// window refreshes it only while it is visible, and each refresh takes only
// the epochs added since the last one.

#include <QImage>
#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>

#include "history/ChartData.h"
#include "history/EpochHistory.h"

#include "app/ToolWindow.h"

class TAppSettings;
class TChartPanel;

namespace Ui {
class TChartsWindow;
}

class TChartsWindow : public TToolWindow {
  Q_OBJECT

 public:
  // The narrowest span the view zooms to, and the span shown live while the
  // history is shorter.
  static constexpr double kShortestSpan = 10;
  static constexpr double kLiveSpan = 60;

  explicit TChartsWindow(const TAppSettings& settings, QWidget* parent = nullptr);
  ~TChartsWindow() override;

  // The history to follow; it outlives the window.
  void SetHistory(const THistory& history);
  // Catches up with the history; costs nothing when it has not changed.
  void Refresh();

  bool FollowsLive() const { return Live; }
  // The time span shown.
  std::pair<double, double> Shown() const { return {ShownFrom, ShownTo}; }
  // What is written above the plots: the span shown and whether the oldest
  // epochs have gone.
  QString ShownText() const;
  // The whole window, as Copy and Save as PNG take it.
  QImage Image();
  bool SaveImage(const QString& fileName);

  const TChartData& Data() const { return Series; }
  TChartPanel& Panel(TChartPlot plot) const { return *Panels[static_cast<size_t>(plot)]; }
  TChartPanel& QualityBand() const { return *Band; }
  TChartPanel& JammingStrip() const { return *Strip; }

  void followLive();
  void zoom(double factor, double at);
  void pan(double seconds);

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void SetUpPanels();
  void SetUpJammingStrip();
  void SetUpControls();
  TChartRange ViewRange(double plotWidth) const;
  void ShowSeries();
  void ShowViewSoon();
  void FillPickLists();
  template <typename T>
  void pick(std::set<T>& hidden, T value, bool shown);
  void chooseMeans(bool means);
  void copyImage();
  void saveImage();

  std::unique_ptr<Ui::TChartsWindow> Form;
  std::array<TChartPanel*, kChartPlotCount> Panels{};
  TChartPanel* Band = nullptr;
  TChartPanel* Strip = nullptr;  // the receiver's jamming verdicts
  const THistory* History = nullptr;
  TChartData Series;
  TChartChoice Choice;
  bool Live = true;
  bool ViewPending = false;
  uint64_t Generation = 0;  // of the history the view was chosen on
  double ShownFrom = 0;
  double ShownTo = kLiveSpan;
  size_t PickedFrom = 0;  // the seen signals the pick lists hold
};
