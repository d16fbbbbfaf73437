#pragma once
// The windows beside the main one and the Help menu: Tools, "Satellites...",
// "Statistics...", "Charts..." and "Position...", Help, "User guide" and
// "About Tolvane". Each window is made when first opened and fed from the
// monitor only while it is visible, never while it is closed.

#include <QObject>
#include <cstdint>

#include "app/AppSettings.h"
#include "app/ModalRunner.h"

class QMainWindow;
class QMenu;
class QTimer;
class TChartsWindow;
class TMonitor;
class TPositionWindow;
class TSatellitesWindow;
class TSharing;
class TStatisticsWindow;
class TUserGuideWindow;

class TToolWindows : public QObject {
  Q_OBJECT

 public:
  // Adds the windows' actions to `tools` and a Help menu to `owner`.
  TToolWindows(QMainWindow& owner, QMenu& tools, TMonitor& monitor, const TSharing& sharing,
               const TModalRunner& modalRunner);
  ~TToolWindows() override;

  // After a step that may have changed the sky or the history: each open
  // window catches up, at most once a frame (the charts a little less often).
  void Follow();
  // The monitor's sky and epochs were cleared: with the received data, or
  // for a new source.
  void Clear();
  bool StatisticsVisible() const;
  // The Statistics window's counts as they are at `nowMs`, while it shows.
  void showStatistics(uint32_t nowMs);

 signals:
  // The status bar and the Statistics window should show the counts now:
  // the window opened, or its counts were reset.
  void statusNeeded();

 private slots:
  void openStatistics();
  void openSatellites();
  void openCharts();
  void openPosition();
  void openUserGuide();
  void showAbout();

 private:
  // The window, made on first use as a child of the main window.
  template <typename TWindow>
  TWindow& Made(TWindow*& window);
  void AddMenus(QMenu& tools);

  QMainWindow& Owner;
  TAppSettings Settings;
  TMonitor& Monitor;
  const TSharing& Sharing;
  const TModalRunner& ModalRunner;
  TStatisticsWindow* Statistics = nullptr;
  TSatellitesWindow* Satellites = nullptr;
  TChartsWindow* Charts = nullptr;
  TPositionWindow* Position = nullptr;
  TUserGuideWindow* UserGuide = nullptr;
  QTimer* SkyFrame;     // the Satellites window's next catch-up
  QTimer* ChartsFrame;  // the Charts window's next refresh
};
