#include "app/MainStatusBar.h"

#include <QLabel>
#include <QTimer>

#include "app/ElidedLabel.h"
#include "app/Sharing.h"
#include "common/Clock.h"
#include "common/Settings.h"
#include "monitor/Monitor.h"
#include "monitor/StatusTexts.h"

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

TMainStatusBar::TMainStatusBar(const TMonitor& monitor, const TSharing& sharing, QWidget* parent)
    : QStatusBar(parent), Monitor(monitor), Sharing(sharing), Timer(new QTimer(this)) {
  const char* const names[] = {"SourceStatus", "RateStatus", "BadChecksumStatus", "AgeStatus"};
  for (std::size_t index = 0; index < Fields.size(); ++index) {
    Fields[index] = new TElidedLabel(this);
    Fields[index]->setObjectName(names[index]);
    addWidget(Fields[index], index == 0 ? 1 : 0);
    if (index == 0) {
      FixStatus = new QLabel(this);
      FixStatus->setObjectName("FixStatus");
      addWidget(FixStatus);
    }
  }
  ShareStatus = new QLabel(this);
  ShareStatus->setObjectName("ShareStatus");
  addPermanentWidget(ShareStatus);
  Timer->setObjectName("StatusTimer");
  Timer->setInterval(kStatusInterval);
  connect(Timer, &QTimer::timeout, this, &TMainStatusBar::Follow);
  Refresh();
  const std::string notice = SettingsNotice();
  if (!notice.empty()) showMessage(QString::fromLocal8Bit(notice), kSettingsNoticeMs);
}

// Without a source the fields stay as they are, unless someone wants them.
void TMainStatusBar::Follow() {
  Refresh();
  const bool running = Monitor.Port() || Monitor.Logging() || Monitor.Replaying() ||
                       Sharing.Running() || (Wanted && Wanted());
  if (!running) return Timer->stop();
  if (!Timer->isActive()) Timer->start();
}

void TMainStatusBar::Refresh() {
  const uint32_t now = Clock::TickCount();
  const TStatusTexts texts = StatusTexts(Monitor.Source(), Monitor.Stats(), now);
  const std::string* values[] = {&texts.Source, &texts.Rate, &texts.BadChecksums, &texts.Age};
  for (std::size_t index = 0; index < Fields.size(); ++index)
    Fields[index]->setText(QString::fromLocal8Bit(*values[index]));
  Fields.back()->SetWarning(texts.AgeIsWarning);
  ShowFixStatus();
  ShareStatus->setText(QString::fromStdString(Sharing.StatusText()));
  ShareStatus->setToolTip(QString::fromStdString(Sharing.ToolTip()));
  emit refreshed(now);
}

void TMainStatusBar::ShowFixStatus() {
  const TFixStatusText fix = FixStatusText(Monitor.History(), Monitor.Recorder());
  FixStatus->setText(QString::fromStdString(fix.Text));
  FixStatus->setVisible(!fix.Text.empty());
  if (FixStatus->property("alarm").toBool() != fix.Alarm) {
    FixStatus->setProperty("alarm", fix.Alarm);
    FixStatus->setStyleSheet(fix.Alarm ? "QLabel { color: #c00000; font-weight: bold; }" : "");
  }
}

void TMainStatusBar::ShowReplayNotice(const std::string& text) {
  showMessage(QString::fromStdString(text), kReplayNoticeTime);
}

void TMainStatusBar::showDroppedLines(qulonglong count) {
  showMessage(QString("Received data: the temporary file could not be written; dropped the oldest "
                      "%L1 lines, and drops more as new ones arrive")
                  .arg(count),
              kDroppedLinesMessageTime);
}
