#pragma once
// "Send command...": sends a line to the receiver, either exactly as typed or
// framed as an NMEA sentence with its checksum, composed while the user types.
// The dialog keeps its texts between showings and stores nothing. It asks for
// the main window's port at the moment of sending, because a replay that ends
// while the dialog is open discards the port.

#include <QDialog>
#include <memory>
#include <string>
#include <string_view>

#include "source/PortSource.h"

namespace Ui {
class TSendCommandDialog;
}

class TSendCommandDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TSendCommandDialog(TPortSource port, QWidget* parent = nullptr);
  ~TSendCommandDialog() override;

  void setVisible(bool visible) override;

 private:
  void onRawCommandChanged();
  void sendRawCommand();
  void sendNmeaCommand();
  void SendCommand(const QString& text);

  std::unique_ptr<Ui::TSendCommandDialog> Form;
  TPortSource Port;
};
