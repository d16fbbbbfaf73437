#include "options/ReplayRateFrm.h"

#include <QKeyEvent>
#include <algorithm>

#include "history/ReplayPace.h"
#include "ui_ReplayRateFrm.h"

namespace {

// The speeds offered at the recorded pace, in the order shown.
constexpr double kSpeeds[] = {0.25, 0.5, 1, 2, 5, 10, 60};

QString SpeedName(double speed) {
  if (speed == TReplayPace::kFastest) return "as fast as possible";
  return QString::fromStdString(SpeedText(speed)) + "x";
}

}  // namespace

TReplayRateForm::TReplayRateForm(QWidget* parent)
    : QDialog(parent), Form(std::make_unique<Ui::TReplayRateForm>()) {
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
  connect(Form->ReplaySpeed, &QSpinBox::valueChanged, this, &TReplayRateForm::ReplaySpeedChanged);
  connect(Form->RecordedPaceChoice, &QRadioButton::toggled, this, [this] {
    EnableChoice();
    emit ReplayPacingChanged(ShownPacing());
  });
  connect(Form->ReplayFactor, &QComboBox::currentIndexChanged, this,
          [this] { emit ReplayPacingChanged(ShownPacing()); });
  Form->ReplaySpeed->installEventFilter(this);
}

TReplayRateForm::~TReplayRateForm() = default;

void TReplayRateForm::SetReplaySpeed(int milliseconds) {
  const QSignalBlocker blocker(Form->ReplaySpeed);
  Form->ReplaySpeed->setValue(milliseconds);
}

void TReplayRateForm::SetReplayPacing(const TReplayPacing& pacing) {
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

TReplayPacing TReplayRateForm::ShownPacing() const {
  TReplayPacing pacing;
  if (Form->RecordedPaceChoice->isChecked()) pacing.Mode = TReplayMode::RecordedPace;
  pacing.Speed = Form->ReplayFactor->currentData().toDouble();
  return pacing;
}

void TReplayRateForm::EnableChoice() {
  const bool paced = Form->RecordedPaceChoice->isChecked();
  Form->ReplaySpeed->setEnabled(!paced);
  Form->ReplayFactor->setEnabled(paced);
}

int TReplayRateForm::FieldSpeed() const {
  const QSpinBox* field = Form->ReplaySpeed;
  bool isNumber = false;
  int value = field->cleanText().toInt(&isNumber);
  if (!isNumber) return field->minimum();
  return std::clamp(value, field->minimum(), field->maximum());
}

bool TReplayRateForm::onReplaySpeedKey(int key) {
  if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
  done(QDialog::Accepted);
  return true;
}

bool TReplayRateForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Form->ReplaySpeed && event->type() == QEvent::KeyPress &&
      onReplaySpeedKey(static_cast<QKeyEvent*>(event)->key())) {
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

// The field shows what is handed on, also when it was closed with a
// half-typed number in it.
void TReplayRateForm::done(int result) {
  const int speed = FieldSpeed();
  SetReplaySpeed(speed);
  emit ReplaySpeedChanged(speed);
  emit ReplayPacingChanged(ShownPacing());
  QDialog::done(result);
}

void TReplayRateForm::setVisible(bool visible) {
  if (visible) setAttribute(Qt::WA_Moved, false);
  QDialog::setVisible(visible);
}
