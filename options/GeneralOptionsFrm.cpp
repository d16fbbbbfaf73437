#include "options/GeneralOptionsFrm.h"

#include "common/HandlerErrors.h"

#include <QButtonGroup>

#include "common/Settings.h"
#include "serial/Serial.h"
#include "ui_GeneralOptionsFrm.h"

namespace {

constexpr const char* kSection = "Options";

std::string Latin1(const QString& text) {
  return text.toLatin1().toStdString();
}

}  // namespace

TGeneralOptionsForm::TGeneralOptionsForm(TPortSource port, QWidget* parent)
    : QDialog(parent), Form(std::make_unique<Ui::TGeneralOptionsForm>()), Port(std::move(port)) {
  Form->setupUi(this);
  Form->TimestampFormatGroup->setId(Form->RelativeTimestamp, 0);
  Form->TimestampFormatGroup->setId(Form->LocalPCTime, 1);
  connect(Form->OKButton, &QPushButton::clicked, this, &QDialog::accept);
  FormCreate();
}

TGeneralOptionsForm::~TGeneralOptionsForm() = default;

bool TGeneralOptionsForm::IgnoreInvalid() const {
  return Form->IgnoreInvalid->isChecked();
}
bool TGeneralOptionsForm::IgnoreGGA() const {
  return Form->IgnoreGGA->isChecked();
}
bool TGeneralOptionsForm::IgnoreRMC() const {
  return Form->IgnoreRMC->isChecked();
}
bool TGeneralOptionsForm::IgnoreGSV() const {
  return Form->IgnoreGSV->isChecked();
}
bool TGeneralOptionsForm::IgnoreGSA() const {
  return Form->IgnoreGSA->isChecked();
}
bool TGeneralOptionsForm::RecordTimestamps() const {
  return Form->RecordTimestamps->isChecked();
}
int TGeneralOptionsForm::TimestampFormat() const {
  return Form->TimestampFormatGroup->checkedId();
}
std::string TGeneralOptionsForm::PPSCommand() const {
  return Latin1(Form->PPSCommand->text());
}

void TGeneralOptionsForm::SelectTimestampFormat(int index) {
  // An exclusive group cannot show "nothing selected"; lift it for a moment.
  Form->TimestampFormatGroup->setExclusive(false);
  Form->RelativeTimestamp->setChecked(index == 0);
  Form->LocalPCTime->setChecked(index == 1);
  Form->TimestampFormatGroup->setExclusive(true);
}

void TGeneralOptionsForm::FormCreate() {
  std::string baudRate = ReadSettingStr(kSection, "BaudRate", "4800");
  Form->BaudRate->setCurrentIndex(Form->BaudRate->findText(
      QString::fromLatin1(baudRate), Qt::MatchFixedString | Qt::MatchCaseSensitive));
  Form->IgnoreInvalid->setChecked(ReadSettingBool(kSection, "IgnoreInvalid", false));
  Form->IgnoreGGA->setChecked(ReadSettingBool(kSection, "IgnoreGGA", false));
  Form->IgnoreRMC->setChecked(ReadSettingBool(kSection, "IgnoreRMC", false));
  Form->IgnoreGSV->setChecked(ReadSettingBool(kSection, "IgnoreGSV", false));
  Form->IgnoreGSA->setChecked(ReadSettingBool(kSection, "IgnoreGSA", false));
  Form->RecordTimestamps->setChecked(ReadSettingBool(kSection, "RecordTimestamps", false));
  // Above the last item selects the last; below -1 selects nothing.
  int timestampFormat = ReadSettingInt(kSection, "TimestampFormat", 0);
  SelectTimestampFormat(timestampFormat > 1 ? 1 : timestampFormat);
  Form->PPSCommand->setText(QString::fromLatin1(ReadSettingStr(kSection, "PPSCommand", "")));
}

void TGeneralOptionsForm::FormClose() {
  int baudIndex = Form->BaudRate->currentIndex();
  WriteSettingStr(kSection, "BaudRate", baudIndex < 0 ? "" : Latin1(Form->BaudRate->currentText()));
  WriteSettingBool(kSection, "IgnoreInvalid", IgnoreInvalid());
  WriteSettingBool(kSection, "IgnoreGGA", IgnoreGGA());
  WriteSettingBool(kSection, "IgnoreRMC", IgnoreRMC());
  WriteSettingBool(kSection, "IgnoreGSV", IgnoreGSV());
  WriteSettingBool(kSection, "IgnoreGSA", IgnoreGSA());
  WriteSettingBool(kSection, "RecordTimestamps", RecordTimestamps());
  WriteSettingInt(kSection, "TimestampFormat", TimestampFormat());
  WriteSettingStr(kSection, "PPSCommand", PPSCommand());
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
