#include "source/SendCommandFrm.h"

#include "common/HandlerErrors.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdio>

#include "common/Routines.h"
#include "source/Serial.h"
#include "ui_SendCommandFrm.h"

TSendCommandForm::TSendCommandForm(TPortSource port, QWidget* parent)
    : QDialog(parent), Form(std::make_unique<Ui::TSendCommandForm>()), Port(std::move(port)) {
  Form->setupUi(this);
  connect(Form->RawCommand, &QLineEdit::textChanged, this, &TSendCommandForm::onRawCommandChanged);
  connect(Form->SendRawButton, &QPushButton::clicked, this, Reported([this] { sendRawCommand(); }));
  connect(Form->SendNMEAButton, &QPushButton::clicked, this,
          Reported([this] { sendNmeaCommand(); }));
  connect(Form->CloseButton, &QPushButton::clicked, this, &QDialog::accept);
}

TSendCommandForm::~TSendCommandForm() = default;

void TSendCommandForm::onRawCommandChanged() {
  std::string body = Form->RawCommand->text().toLatin1().toStdString();
  Form->NMEACommand->setText(QString::fromLatin1(FrameSentence(body)));
}

void TSendCommandForm::sendRawCommand() {
  SendCommand(Form->RawCommand->text());
}

void TSendCommandForm::sendNmeaCommand() {
  SendCommand(Form->NMEACommand->text());
}

void TSendCommandForm::SendCommand(const QString& text) {
  std::string command = text.toLatin1().toStdString();
  if (Form->SendCR->isChecked()) command += "\r\n";
  // The port may have gone since the dialog opened: a replay that reached
  // its end stops the connection too.
  TSerial* port = Port ? Port() : nullptr;
  if (!port || !port->IsOpen()) {
    QApplication::beep();
    QMessageBox::warning(this, "Tolvane", "Please open COM port first");
    return;
  }
  // A source that cannot take commands, or a receiver that is away, is told
  // as a notice: the user did nothing wrong, and nothing is sent.
  const char* notice = !port->CanSend()                             ? kCannotSendText
                       : port->LinkState() != TLinkState::Connected ? kDisconnectedText
                                                                    : nullptr;
  if (notice) {
    QMessageBox::information(this, "Tolvane", notice);
    return;
  }
  port->Send(command);
}

void TSendCommandForm::setVisible(bool visible) {
  if (visible) setAttribute(Qt::WA_Moved, false);
  QDialog::setVisible(visible);
}
