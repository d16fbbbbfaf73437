// The Charts window beside the main window: made when first opened, and
// refreshed from the monitor's history a few times a second while it is
// visible, never while it is closed.

#include <QAction>
#include <QMenu>
#include <QTimer>

#include "app/ChartsFrm.h"
#include "app/FramePacer.h"
#include "app/MainFrm.h"
#include "common/HandlerErrors.h"
#include "ui_MainFrm.h"

namespace {

// Epochs come once a second from most receivers; a chart that moves twice
// a second looks live and costs little with a day on it.
constexpr int kChartsRefreshMs = 500;

}  // namespace

void TMainForm::SetUpCharts() {
  ChartsFrame = new QTimer(this);
  ChartsFrame->setObjectName("ChartsTimer");
  ChartsFrame->setSingleShot(true);
  ChartsFrame->setInterval(kChartsRefreshMs);
  connect(ChartsFrame, &QTimer::timeout, this, [this] {
    if (Charts && Charts->isVisible()) Charts->Refresh();
  });
  auto* charts = new QAction("Charts...", this);
  charts->setObjectName("actionCharts");
  charts->setShortcut(QKeySequence("Ctrl+H"));
  ui->menuTools->addAction(charts);
  connect(charts, &QAction::triggered, this, Reported([this] { showCharts(); }));
}

void TMainForm::showCharts() {
  if (!Charts) {
    Charts = new TChartsForm(Settings, this);
    new TFramePacer(*Charts);
  }
  Charts->show();
  Charts->SetHistory(Loop.History());
  Charts->raise();
  Charts->activateWindow();
}

// After a step that may have added epochs: the window catches up at the
// next refresh, however many steps come before it.
void TMainForm::ScheduleCharts() {
  if (Charts && Charts->isVisible() && !ChartsFrame->isActive()) ChartsFrame->start();
}
