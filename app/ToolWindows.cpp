#include "app/ToolWindows.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTimer>
#include <initializer_list>

#include "app/AboutBox.h"
#include "app/ChartsWindow.h"
#include "app/FramePacer.h"
#include "app/PositionWindow.h"
#include "app/SatellitesWindow.h"
#include "app/Sharing.h"
#include "app/StatisticsWindow.h"
#include "app/UserGuide.h"
#include "common/HandlerErrors.h"
#include "common/Settings.h"
#include "monitor/Monitor.h"

namespace {

// Epochs come once a second from most receivers; a chart that moves twice
// a second looks live and costs little with a day on it.
constexpr int kChartsRefreshMs = 500;

QTimer* SingleShot(QObject* parent, int interval, const char* name) {
  auto* timer = new QTimer(parent);
  timer->setObjectName(name);
  timer->setSingleShot(true);
  timer->setInterval(interval);
  return timer;
}

template <typename TWindow>
bool Shows(const TWindow* window) {
  return window && window->isVisible();
}

}  // namespace

TToolWindows::TToolWindows(QMainWindow& owner, QMenu& tools, TMonitor& monitor,
                           const TSharing& sharing, const TModalRunner& modalRunner)
    : QObject(&owner),
      Owner(owner),
      Monitor(monitor),
      Sharing(sharing),
      ModalRunner(modalRunner),
      SkyFrame(SingleShot(this, TFramePacer::kFrameMs, "SkyTimer")),
      ChartsFrame(SingleShot(this, kChartsRefreshMs, "ChartsTimer")) {
  connect(SkyFrame, &QTimer::timeout, this, [this] {
    if (Shows(Satellites)) Satellites->ShowSky(Monitor.Sky());
  });
  connect(ChartsFrame, &QTimer::timeout, this, [this] {
    if (Shows(Charts)) Charts->Refresh();
  });
  AddMenus(tools);
}

// The places are kept while the windows still stand.
TToolWindows::~TToolWindows() {
  for (TToolWindow* window :
       std::initializer_list<TToolWindow*>{Statistics, Satellites, Charts, Position, UserGuide})
    if (window) window->SaveGeometry();
}

void TToolWindows::AddMenus(QMenu& tools) {
  const struct {
    const char* Text;
    const char* Name;
    const char* Shortcut;
    void (TToolWindows::*Open)();
  } actions[] = {
      {"Satellites...", "actionSatellites", "Ctrl+T", &TToolWindows::openSatellites},
      {"Statistics...", "actionStatistics", nullptr, &TToolWindows::openStatistics},
      {"Charts...", "actionCharts", "Ctrl+H", &TToolWindows::openCharts},
      {"Position...", "actionPosition", "Ctrl+P", &TToolWindows::openPosition},
  };
  for (const auto& entry : actions) {
    auto* action = new QAction(entry.Text, &Owner);
    action->setObjectName(entry.Name);
    if (entry.Shortcut) action->setShortcut(QKeySequence(entry.Shortcut));
    tools.addAction(action);
    connect(action, &QAction::triggered, this,
            Reported([this, open = entry.Open] { (this->*open)(); }));
  }
  QMenu* help = Owner.menuBar()->addMenu("&Help");
  help->setObjectName("menuHelp");
  auto* guide = help->addAction("User guide");
  guide->setObjectName("actionUserGuide");
  connect(guide, &QAction::triggered, this, Reported([this] { openUserGuide(); }));
  auto* about = help->addAction("About Tolvane");
  about->setObjectName("actionAbout");
  connect(about, &QAction::triggered, this, Reported([this] { showAbout(); }));
}

template <typename TWindow>
TWindow& TToolWindows::Made(TWindow*& window) {
  if (!window) window = new TWindow(Settings, &Owner);
  return *window;
}

void TToolWindows::Follow() {
  if (Shows(Satellites) && !SkyFrame->isActive()) SkyFrame->start();
  if (Shows(Position)) {
    Position->ShowHistory(Monitor.History());
    Position->ShowStation(Monitor.StationLine());
  }
  if (Shows(Charts) && !ChartsFrame->isActive()) ChartsFrame->start();
}

void TToolWindows::Clear() {
  if (Satellites) Satellites->Clear();
  if (Position) {
    Position->ShowHistory(Monitor.History());
    Position->ShowStation(Monitor.StationLine());
  }
  Follow();
}

bool TToolWindows::StatisticsVisible() const {
  return Shows(Statistics);
}

void TToolWindows::showStatistics(uint32_t nowMs) {
  if (!Shows(Statistics)) return;
  Statistics->ShowStats(Monitor.Stats(), nowMs);
  Statistics->ShowRelayClients(Sharing.RelayClients(), Sharing.Relaying());
}

void TToolWindows::openStatistics() {
  if (!Statistics) {
    connect(&Made(Statistics), &TStatisticsWindow::resetRequested, this, [this] {
      Monitor.ResetStats();
      emit statusNeeded();
    });
  }
  Statistics->Open();
  emit statusNeeded();  // the counts are shown, and kept fresh, from now on
}

void TToolWindows::openSatellites() {
  Made(Satellites).ShowSky(Monitor.Sky());
  Satellites->Open();
}

void TToolWindows::openCharts() {
  Made(Charts).show();
  Charts->SetHistory(Monitor.History());
  Charts->Open();
}

void TToolWindows::openPosition() {
  Made(Position).ShowHistory(Monitor.History());
  Position->ShowStation(Monitor.StationLine());
  Position->Open();
}

void TToolWindows::openUserGuide() {
  Made(UserGuide).Load();
  UserGuide->Open();
}

void TToolWindows::showAbout() {
  QMessageBox box(&Owner);
  box.setObjectName("AboutBox");
  box.setWindowTitle("About Tolvane");
  box.setIconPixmap(Owner.windowIcon().pixmap(64, 64));
  box.setTextFormat(Qt::RichText);
  box.setText(
      AboutText(TOLVANE_VERSION, qVersion(), QFile::decodeName(SettingsLocation().c_str())));
  RunModal(ModalRunner, box);
}
