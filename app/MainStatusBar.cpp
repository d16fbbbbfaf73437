#include "app/MainStatusBar.h"

#include <QTimer>

#include "app/ElidedLabel.h"
#include "app/Sharing.h"
#include "common/Clock.h"
#include "common/Settings.h"
#include "monitor/Monitor.h"
#include "monitor/StatusTexts.h"

namespace {

constexpr int kStatusInterval = 500;
// The fix label takes nearly all of the room left until its text fits.
constexpr int kFixStretch = 100;
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
  const auto field = [this](const char* name, int stretch = 0) {
    auto* label = new TElidedLabel(this);
    label->setObjectName(name);
    // Those with a stretch get only the room the fields before leave.
    if (stretch > 0) label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    addWidget(label, stretch);
    return label;
  };
  JammingStatus = field("JammingStatus");
  JammingStatus->SetWarning(true);
  JammingStatus->hide();
  AlarmStatus = field("AlarmStatus");
  AlarmStatus->SetWarning(true);
  AlarmStatus->hide();
  const char* const names[] = {"SourceStatus", "RateStatus", "BadChecksumStatus", "AgeStatus"};
  for (std::size_t index = 0; index < Fields.size(); ++index) Fields[index] = field(names[index]);
  // The fix label, then what follows it, are elided before the fields.
  FixStatus = field("FixStatus", kFixStretch);
  ShareStatus = field("ShareStatus", 1);
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
  ShowJammingStatus(now);
  ShowFixStatus();
  ShareStatus->setText(QString::fromStdString(Sharing.StatusText()));
  ShareStatus->setToolTip(QString::fromStdString(Sharing.ToolTip()));
  emit refreshed(now);
}

void TMainStatusBar::ShowFixStatus() {
  const TFixStatusText fix = FixStatusText(Monitor.History(), Monitor.Recorder());
  TElidedLabel* const shown = fix.Alarm ? AlarmStatus : FixStatus;
  TElidedLabel* const other = fix.Alarm ? FixStatus : AlarmStatus;
  shown->setText(QString::fromStdString(fix.Text));
  shown->setVisible(!fix.Text.empty());
  // No wider than its text, so that the sharing gets the rest.
  FixStatus->setMaximumWidth(FixStatus->sizeHint().width());
  other->setText({});
  other->hide();
}

void TMainStatusBar::ShowJammingStatus(uint32_t now) {
  const std::string text =
      ReceiverJammingText(Monitor.Recorder().Jamming(), now - Monitor.RfReportTick());
  JammingStatus->setText(QString::fromStdString(text));
  JammingStatus->setVisible(!text.empty());
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
