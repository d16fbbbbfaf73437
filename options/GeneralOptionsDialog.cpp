#include "options/GeneralOptionsDialog.h"

#include <QButtonGroup>
#include <QCheckBox>

#include "ui_GeneralOptionsDialog.h"

namespace {

std::string Latin1(const QString& text) {
  return text.toLatin1().toStdString();
}

}  // namespace

TGeneralOptionsDialog::TGeneralOptionsDialog(QWidget* parent)
    : QDialog(parent), Form(std::make_unique<Ui::TGeneralOptionsDialog>()) {
  Form->setupUi(this);
  Form->TimestampFormatGroup->setId(Form->RelativeTimestamp, kRelativeTimestamp);
  Form->TimestampFormatGroup->setId(Form->LocalPCTime, kLocalPCTime);
  connect(Form->OKButton, &QPushButton::clicked, this, &QDialog::accept);
  SetOptions(Values);
  ConnectControls();
}

TGeneralOptionsDialog::~TGeneralOptionsDialog() = default;

void TGeneralOptionsDialog::SelectTimestampFormat(int index) {
  // An exclusive group cannot show "nothing selected"; lift it for a moment.
  Form->TimestampFormatGroup->setExclusive(false);
  Form->RelativeTimestamp->setChecked(index == kRelativeTimestamp);
  Form->LocalPCTime->setChecked(index == kLocalPCTime);
  Form->TimestampFormatGroup->setExclusive(true);
}

void TGeneralOptionsDialog::SetOptions(const TGeneralOptions& options) {
  {
    // One hand-over for the whole set, not one per control.
    const QSignalBlocker blocker(this);
    Form->BaudRate->setCurrentIndex(Form->BaudRate->findText(
        QString::fromLatin1(options.BaudRate), Qt::MatchFixedString | Qt::MatchCaseSensitive));
    for (const TBoolOption& option : kBoolOptions)
      findChild<QCheckBox*>(option.Name)->setChecked(options.Monitor.*option.Member);
    SelectTimestampFormat(options.Monitor.TimestampFormat);
    Form->PPSCommand->setText(QString::fromLatin1(options.Monitor.PPSCommand));
  }
  onControlChanged();
}

void TGeneralOptionsDialog::ConnectControls() {
  for (const TBoolOption& option : kBoolOptions)
    connect(findChild<QCheckBox*>(option.Name), &QCheckBox::toggled, this,
            &TGeneralOptionsDialog::onControlChanged);
  connect(Form->TimestampFormatGroup, &QButtonGroup::idToggled, this,
          &TGeneralOptionsDialog::onControlChanged);
  connect(Form->PPSCommand, &QLineEdit::textChanged, this,
          &TGeneralOptionsDialog::onControlChanged);
  connect(Form->BaudRate, &QComboBox::currentIndexChanged, this,
          &TGeneralOptionsDialog::onControlChanged);
}

void TGeneralOptionsDialog::onControlChanged() {
  TMonitorOptions& monitor = Values.Monitor;
  for (const TBoolOption& option : kBoolOptions)
    monitor.*option.Member = findChild<QCheckBox*>(option.Name)->isChecked();
  monitor.TimestampFormat = Form->TimestampFormatGroup->checkedId();
  monitor.PPSCommand = Latin1(Form->PPSCommand->text());
  const int baudIndex = Form->BaudRate->currentIndex();
  Values.BaudRate = baudIndex < 0 ? "" : Latin1(Form->BaudRate->currentText());
  emit optionsChanged(Values);
}

void TGeneralOptionsDialog::done(int result) {
  onControlChanged();
  QDialog::done(result);
}

void TGeneralOptionsDialog::setVisible(bool visible) {
  // Centred on the main window at every showing, not only the first.
  if (visible) setAttribute(Qt::WA_Moved, false);
  QDialog::setVisible(visible);
}
