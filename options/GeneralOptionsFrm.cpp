#include "options/GeneralOptionsFrm.h"

#include <QButtonGroup>
#include <QCheckBox>

#include "common/HandlerErrors.h"
#include "source/Serial.h"
#include "ui_GeneralOptionsFrm.h"

namespace {

std::string Latin1(const QString& text) {
  return text.toLatin1().toStdString();
}

}  // namespace

TGeneralOptionsForm::TGeneralOptionsForm(TPortSource port, QWidget* parent)
    : QDialog(parent), Form(std::make_unique<Ui::TGeneralOptionsForm>()), Port(std::move(port)) {
  Form->setupUi(this);
  Form->TimestampFormatGroup->setId(Form->RelativeTimestamp, kRelativeTimestamp);
  Form->TimestampFormatGroup->setId(Form->LocalPCTime, kLocalPCTime);
  connect(Form->OKButton, &QPushButton::clicked, this, &QDialog::accept);
  FormCreate();
  ConnectControls();
}

TGeneralOptionsForm::~TGeneralOptionsForm() = default;

void TGeneralOptionsForm::SelectTimestampFormat(int index) {
  // An exclusive group cannot show "nothing selected"; lift it for a moment.
  Form->TimestampFormatGroup->setExclusive(false);
  Form->RelativeTimestamp->setChecked(index == kRelativeTimestamp);
  Form->LocalPCTime->setChecked(index == kLocalPCTime);
  Form->TimestampFormatGroup->setExclusive(true);
}

void TGeneralOptionsForm::FormCreate() {
  Values = LoadMonitorOptions();
  Form->BaudRate->setCurrentIndex(Form->BaudRate->findText(
      QString::fromLatin1(Values.BaudRate), Qt::MatchFixedString | Qt::MatchCaseSensitive));
  for (const TBoolOption& option : kBoolOptions)
    findChild<QCheckBox*>(option.Name)->setChecked(Values.*option.Member);
  SelectTimestampFormat(Values.TimestampFormat);
  Form->PPSCommand->setText(QString::fromLatin1(Values.PPSCommand));
  // What the controls show is what the loop is told: a stored baud rate the
  // list does not hold shows as none.
  ControlChanged();
}

void TGeneralOptionsForm::ConnectControls() {
  for (const TBoolOption& option : kBoolOptions)
    connect(findChild<QCheckBox*>(option.Name), &QCheckBox::toggled, this,
            &TGeneralOptionsForm::ControlChanged);
  connect(Form->TimestampFormatGroup, &QButtonGroup::idToggled, this,
          &TGeneralOptionsForm::ControlChanged);
  connect(Form->PPSCommand, &QLineEdit::textChanged, this, &TGeneralOptionsForm::ControlChanged);
  connect(Form->BaudRate, &QComboBox::currentIndexChanged, this,
          &TGeneralOptionsForm::ControlChanged);
}

void TGeneralOptionsForm::ControlChanged() {
  for (const TBoolOption& option : kBoolOptions)
    Values.*option.Member = findChild<QCheckBox*>(option.Name)->isChecked();
  Values.TimestampFormat = Form->TimestampFormatGroup->checkedId();
  Values.PPSCommand = Latin1(Form->PPSCommand->text());
  const int baudIndex = Form->BaudRate->currentIndex();
  Values.BaudRate = baudIndex < 0 ? "" : Latin1(Form->BaudRate->currentText());
  emit OptionsChanged(Values);
}

void TGeneralOptionsForm::FormClose() {
  ControlChanged();
  SaveMonitorOptions(Values);
  // Opening reads the baud rate afresh, so the one just saved applies; a
  // network source has none and keeps its connection.
  TSerial* port = Port ? Port() : nullptr;
  if (port && port->IsOpen()) port->ReopenForBaudRate();
}

void TGeneralOptionsForm::done(int result) {
  // Closed first: a failing save or reopen is reported, and the dialog must
  // not stay open behind the error box.
  QDialog::done(result);
  Reported([this] { FormClose(); })();
}

void TGeneralOptionsForm::setVisible(bool visible) {
  // Centred on the main window at every showing, not only the first.
  if (visible) setAttribute(Qt::WA_Moved, false);
  QDialog::setVisible(visible);
}
