#include "options/ReplayRateDialog.h"

#include <QKeyEvent>
#include <algorithm>

#include "history/ReplayPace.h"
#include "ui_ReplayRateDialog.h"

namespace {

// The speeds offered at the recorded pace, in the order shown.
constexpr double kSpeeds[] = {0.25, 0.5, 1, 2, 5, 10, 60};

QString SpeedName(double speed) {
  if (speed == TReplayPace::kFastest) return "as fast as possible";
  return QString::fromStdString(SpeedText(speed)) + "x";
}

}  // namespace

TReplayRateDialog::TReplayRateDialog(QWidget* parent)
    : QDialog(parent), Form(std::make_unique<Ui::TReplayRateDialog>()) {
  Form->setupUi(this);
  Form->ReplaySpeed->setRange(kMinimumReplaySpeed, kMaximumReplaySpeed);
  // A number being typed is not a rate yet: it is handed on once it is
  // confirmed, stepped, or the dialog closes.
  Form->ReplaySpeed->setKeyboardTracking(false);
  SetReplaySpeed(kDefaultReplaySpeed);
  for (double speed : kSpeeds) Form->ReplayFactor->addItem(SpeedName(speed), speed);
  Form->ReplayFactor->addItem(SpeedName(TReplayPace::kFastest), TReplayPace::kFastest);
  SetReplayPacing({});
  connect(Form->OKButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(Form->ReplaySpeed, &QSpinBox::valueChanged, this, &TReplayRateDialog::replaySpeedChanged);
  connect(Form->RecordedPaceChoice, &QRadioButton::toggled, this, [this] {
    EnableChoice();
    emit replayPacingChanged(ShownPacing());
  });
  connect(Form->ReplayFactor, &QComboBox::currentIndexChanged, this,
          [this] { emit replayPacingChanged(ShownPacing()); });
  Form->ReplaySpeed->installEventFilter(this);
}

TReplayRateDialog::~TReplayRateDialog() = default;

void TReplayRateDialog::SetReplaySpeed(int milliseconds) {
  const QSignalBlocker blocker(Form->ReplaySpeed);
  Form->ReplaySpeed->setValue(milliseconds);
}

void TReplayRateDialog::SetReplayPacing(const TReplayPacing& pacing) {
  const QSignalBlocker choiceBlocker(Form->RecordedPaceChoice);
  const QSignalBlocker speedBlocker(Form->ReplayFactor);
  const bool paced = pacing.Mode == TReplayMode::RecordedPace;
  (paced ? Form->RecordedPaceChoice : Form->FixedIntervalChoice)->setChecked(true);
  QComboBox* speeds = Form->ReplayFactor;
  int index = speeds->findData(pacing.Speed);
  if (index < 0) {
    // Before the first quicker speed; "as fast as possible" stays last.
    index = 0;
    while (index < speeds->count() - 1 && speeds->itemData(index).toDouble() < pacing.Speed)
      ++index;
    speeds->insertItem(index, SpeedName(pacing.Speed), pacing.Speed);
  }
  speeds->setCurrentIndex(index);
  EnableChoice();
}

TReplayPacing TReplayRateDialog::ShownPacing() const {
  TReplayPacing pacing;
  if (Form->RecordedPaceChoice->isChecked()) pacing.Mode = TReplayMode::RecordedPace;
  pacing.Speed = Form->ReplayFactor->currentData().toDouble();
  return pacing;
}

void TReplayRateDialog::EnableChoice() {
  const bool paced = Form->RecordedPaceChoice->isChecked();
  Form->ReplaySpeed->setEnabled(!paced);
  Form->ReplayFactor->setEnabled(paced);
}

int TReplayRateDialog::FieldSpeed() const {
  const QSpinBox* field = Form->ReplaySpeed;
  bool isNumber = false;
  int value = field->cleanText().toInt(&isNumber);
  if (!isNumber) return field->minimum();
  return std::clamp(value, field->minimum(), field->maximum());
}

bool TReplayRateDialog::onReplaySpeedKey(int key) {
  if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
  done(QDialog::Accepted);
  return true;
}

bool TReplayRateDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Form->ReplaySpeed && event->type() == QEvent::KeyPress &&
      onReplaySpeedKey(static_cast<QKeyEvent*>(event)->key())) {
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

// The field shows what is handed on, also when it was closed with a
// half-typed number in it.
void TReplayRateDialog::done(int result) {
  const int speed = FieldSpeed();
  SetReplaySpeed(speed);
  emit replaySpeedChanged(speed);
  emit replayPacingChanged(ShownPacing());
  QDialog::done(result);
}

void TReplayRateDialog::setVisible(bool visible) {
  if (visible) setAttribute(Qt::WA_Moved, false);
  QDialog::setVisible(visible);
}
