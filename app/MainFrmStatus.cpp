// The status bar and the windows beside the main window: where lines come
// from, their rate, checksum failures and the age of the last line, and the
// Statistics window, refreshed twice a second while anything runs or that
// window is open, never from the tick itself; and the Satellites window,
// which catches up with the sky once a frame.

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QTimer>

#include "app/ChartsFrm.h"
#include "app/ElidedLabel.h"
#include "app/FramePacer.h"
#include "app/MainFrm.h"
#include "app/PositionFrm.h"
#include "app/ReceivedDataView.h"
#include "app/SatellitesFrm.h"
#include "app/StatisticsFrm.h"
#include "common/Clock.h"
#include "common/HandlerErrors.h"
#include "common/Settings.h"
#include "monitor/StatusTexts.h"
#include "source/MqttPublisher.h"
#include "source/Relay.h"
#include "ui_MainFrm.h"

namespace {

constexpr int kStatusInterval = 500;
// Long enough to be read when the program starts, short enough to give the
// source and its rate their place back.
constexpr int kSettingsNoticeMs = 30000;
// Long enough to be read on a return to the bench, short enough to give the
// status fields back.
constexpr int kDroppedLinesMessageTime = 60 * 1000;
// Long enough to be read at a glance, short enough not to hide the source.
constexpr int kReplayNoticeTime = 5000;

}  // namespace

void TMainForm::SetUpStatusBar() {
  const char* const names[] = {"SourceStatus", "RateStatus", "BadChecksumStatus", "AgeStatus"};
  for (std::size_t index = 0; index < StatusLabels.size(); ++index) {
    StatusLabels[index] = new TElidedLabel(this);
    StatusLabels[index]->setObjectName(names[index]);
    statusBar()->addWidget(StatusLabels[index], index == 0 ? 1 : 0);
    if (index == 0) {
      FixStatusLabel = new QLabel(this);
      FixStatusLabel->setObjectName("FixStatus");
      statusBar()->addWidget(FixStatusLabel);
    }
  }
  StatusTimer = new QTimer(this);
  StatusTimer->setObjectName("StatusTimer");
  StatusTimer->setInterval(kStatusInterval);
  SkyFrame = new QTimer(this);
  SkyFrame->setSingleShot(true);
  SkyFrame->setInterval(TFramePacer::kFrameMs);
  connect(SkyFrame, &QTimer::timeout, this, [this] {
    if (Satellites && Satellites->isVisible()) Satellites->ShowSky(Loop.Sky());
  });
  connect(StatusTimer, &QTimer::timeout, this, [this] {
    ShowStatus();
    UpdateStatusTimer();
  });

  // The received-data view could not move its oldest lines to disk.
  connect(ReceiveData, &TReceivedDataView::oldestLinesDropped, this, [this](qulonglong count) {
    statusBar()->showMessage(
        QString("Received data: the temporary file could not be written; dropped the oldest "
                "%L1 lines, and drops more as new ones arrive")
            .arg(count),
        kDroppedLinesMessageTime);
  });

  auto* satellites = new QAction("Satellites...", this);
  satellites->setObjectName("actionSatellites");
  satellites->setShortcut(QKeySequence("Ctrl+T"));
  ui->menuTools->addAction(satellites);
  connect(satellites, &QAction::triggered, this, Reported([this] { showSatellites(); }));
  auto* statistics = new QAction("Statistics...", this);
  statistics->setObjectName("actionStatistics");
  ui->menuTools->addAction(statistics);
  connect(statistics, &QAction::triggered, this, Reported([this] { showStatistics(); }));
  ShowStatus();
  const std::string notice = SettingsNotice();
  if (!notice.empty()) statusBar()->showMessage(QString::fromLocal8Bit(notice), kSettingsNoticeMs);
}

void TMainForm::ShowReplayNotice(const std::string& text) {
  statusBar()->showMessage(QString::fromStdString(text), kReplayNoticeTime);
}

void TMainForm::ShowStatus() {
  const uint32_t now = Clock::TickCount();
  const TStatusTexts texts = StatusTexts(Loop.Source(), Loop.Stats(), now);
  const std::string* values[] = {&texts.Source, &texts.Rate, &texts.BadChecksums, &texts.Age};
  for (std::size_t index = 0; index < StatusLabels.size(); ++index)
    StatusLabels[index]->setText(QString::fromLocal8Bit(*values[index]));
  StatusLabels.back()->SetWarning(texts.AgeIsWarning);
  ShowFixStatus();
  if (ShareStatus) {
    ShareStatus->setText(QString::fromStdString(SharingStatusText()));
    ShareStatus->setToolTip(QString::fromStdString(SharingToolTip()));
  }
  if (Statistics && Statistics->isVisible()) {
    Statistics->ShowStats(Loop.Stats(), now);
    Statistics->ShowRelayClients(Relay ? Relay->Clients() : std::vector<TRelayClientCounts>{},
                                 Relay != nullptr);
  }
}

void TMainForm::ShowFixStatus() {
  const TFixStatusText fix = FixStatusText(Loop.History(), Loop.Recorder());
  FixStatusLabel->setText(QString::fromStdString(fix.Text));
  FixStatusLabel->setVisible(!fix.Text.empty());
  if (FixStatusLabel->property("alarm").toBool() != fix.Alarm) {
    FixStatusLabel->setProperty("alarm", fix.Alarm);
    FixStatusLabel->setStyleSheet(fix.Alarm ? "QLabel { color: #c00000; font-weight: bold; }" : "");
  }
}

// Without a source the status bar stays as it is, but the Statistics
// window's "Last seen" counts on while it is open.
void TMainForm::UpdateStatusTimer() {
  const bool running = Loop.Port() || Loop.Logging() || Loop.Replaying() || Relay || Publisher;
  if (!running && !(Statistics && Statistics->isVisible())) return StatusTimer->stop();
  if (!StatusTimer->isActive()) StatusTimer->start();
}

void TMainForm::showStatistics() {
  if (!Statistics) {
    Statistics = new TStatisticsForm(Settings, this);
    new TFramePacer(*Statistics);
    connect(Statistics, &TStatisticsForm::ResetRequested, this, [this] {
      Loop.ResetStats();
      ShowStatus();
    });
  }
  Statistics->show();
  Statistics->raise();
  Statistics->activateWindow();
  ShowStatus();
  UpdateStatusTimer();
}

void TMainForm::showSatellites() {
  if (!Satellites) {
    Satellites = new TSatellitesForm(Settings, this);
    new TFramePacer(*Satellites);
  }
  Satellites->ShowSky(Loop.Sky());
  Satellites->show();
  Satellites->raise();
  Satellites->activateWindow();
}

void TMainForm::SaveWindowGeometry() {
  if (Statistics) Statistics->SaveGeometry();
  if (Satellites) Satellites->SaveGeometry();
  if (Position) Position->SaveGeometry();
  if (Charts) Charts->SaveGeometry();
}
