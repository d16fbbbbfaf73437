#include "options/ReplayRateFrm.h"

#include <QKeyEvent>
#include <algorithm>

#include "monitor/MonitorOptions.h"
#include "ui_ReplayRateFrm.h"

TReplayRateForm::TReplayRateForm(QWidget* parent)
    : QDialog(parent), Form(std::make_unique<Ui::TReplayRateForm>()) {
  Form->setupUi(this);
  Form->ReplaySpeed->setRange(kMinimumReplaySpeed, kMaximumReplaySpeed);
  // A number being typed is not a rate yet: it is handed on once it is
  // confirmed, stepped, or the dialog closes.
  Form->ReplaySpeed->setKeyboardTracking(false);
  SetReplaySpeed(kDefaultReplaySpeed);
  connect(Form->OKButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(Form->ReplaySpeed, &QSpinBox::valueChanged, this, &TReplayRateForm::ReplaySpeedChanged);
  Form->ReplaySpeed->installEventFilter(this);
}

TReplayRateForm::~TReplayRateForm() = default;

void TReplayRateForm::SetReplaySpeed(int milliseconds) {
  const QSignalBlocker blocker(Form->ReplaySpeed);
  Form->ReplaySpeed->setValue(milliseconds);
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
  QDialog::done(result);
}

void TReplayRateForm::setVisible(bool visible) {
  if (visible) setAttribute(Qt::WA_Moved, false);
  QDialog::setVisible(visible);
}
