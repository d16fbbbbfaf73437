#include "source/SendCommandDialog.h"

#include "common/HandlerErrors.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdio>

#include "common/Routines.h"
#include "source/PortSlot.h"
#include "ui_SendCommandDialog.h"

TSendCommandDialog::TSendCommandDialog(TPortSource port, QWidget* parent)
    : QDialog(parent), Form(std::make_unique<Ui::TSendCommandDialog>()), Port(std::move(port)) {
  Form->setupUi(this);
  connect(Form->RawCommand, &QLineEdit::textChanged, this,
          &TSendCommandDialog::onRawCommandChanged);
  connect(Form->SendRawButton, &QPushButton::clicked, this, Reported([this] { sendRawCommand(); }));
  connect(Form->SendNMEAButton, &QPushButton::clicked, this,
          Reported([this] { sendNmeaCommand(); }));
  connect(Form->CloseButton, &QPushButton::clicked, this, &QDialog::accept);
}

TSendCommandDialog::~TSendCommandDialog() = default;

void TSendCommandDialog::onRawCommandChanged() {
  std::string body = Form->RawCommand->text().toLatin1().toStdString();
  Form->NMEACommand->setText(QString::fromLatin1(FrameSentence(body)));
}

void TSendCommandDialog::sendRawCommand() {
  SendCommand(Form->RawCommand->text());
}

void TSendCommandDialog::sendNmeaCommand() {
  SendCommand(Form->NMEACommand->text());
}

void TSendCommandDialog::SendCommand(const QString& text) {
  std::string command = text.toLatin1().toStdString();
  if (Form->SendCR->isChecked()) command += "\r\n";
  // The port may have gone since the dialog opened: a replay that reached
  // its end stops the connection too.
  TPortSlot* port = Port ? Port() : nullptr;
  if (!port || !port->Opened()) {
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

void TSendCommandDialog::setVisible(bool visible) {
  if (visible) setAttribute(Qt::WA_Moved, false);
  QDialog::setVisible(visible);
}
