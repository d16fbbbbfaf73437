#include "options/ReplayRateFrm.h"

#include "common/HandlerErrors.h"

#include <QKeyEvent>
#include <algorithm>

#include "common/Settings.h"
#include "monitor/MonitorOptions.h"
#include "ui_ReplayRateFrm.h"

TReplayRateForm::TReplayRateForm(QWidget* parent)
    : QDialog(parent), Form(std::make_unique<Ui::TReplayRateForm>()) {
  Form->setupUi(this);
  Form->ReplaySpeed->setRange(kMinimumReplaySpeed, kMaximumReplaySpeed);
  connect(Form->OKButton, &QPushButton::clicked, this, &QDialog::accept);
  Form->ReplaySpeed->installEventFilter(this);
  FormCreate();
}

TReplayRateForm::~TReplayRateForm() = default;

int TReplayRateForm::ReplaySpeed() const {
  const QSpinBox* field = Form->ReplaySpeed;
  bool isNumber = false;
  int value = field->cleanText().toInt(&isNumber);
  if (!isNumber) return field->minimum();
  return std::clamp(value, field->minimum(), field->maximum());
}

void TReplayRateForm::FormCreate() {
  // The spin box brings a stored value outside its range to the nearest bound.
  Form->ReplaySpeed->setValue(
      ReadSettingInt(kOptionsSection, kReplaySpeedName, kDefaultReplaySpeed));
}

void TReplayRateForm::FormClose() {
  // The field shows what is saved and handed to the replay timer, also when
  // it was closed with a half-typed number in it.
  int speed = ReplaySpeed();
  Form->ReplaySpeed->setValue(speed);
  WriteSettingInt(kOptionsSection, kReplaySpeedName, speed);
}

bool TReplayRateForm::ReplaySpeedKeyDown(int key) {
  if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
  done(QDialog::Accepted);
  return true;
}

bool TReplayRateForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Form->ReplaySpeed && event->type() == QEvent::KeyPress &&
      ReplaySpeedKeyDown(static_cast<QKeyEvent*>(event)->key())) {
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void TReplayRateForm::done(int result) {
  // Closed first: a failing save is reported, and the dialog must not stay
  // open behind the error box.
  QDialog::done(result);
  Reported([this] { FormClose(); })();
}

void TReplayRateForm::setVisible(bool visible) {
  if (visible) setAttribute(Qt::WA_Moved, false);
  QDialog::setVisible(visible);
}
