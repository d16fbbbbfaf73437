#pragma once
// "General options...": the baud rate, the sentence filters, the timestamps
// and the command sent on each 1 PPS pulse. The dialog lives for the whole
// run and its controls are the live option values: the receive loop reads
// them on every tick, so a change acts before the dialog is closed. Every way
// of closing it saves the values and reopens an open port, so that a new
// baud rate applies at once.

#include <QDialog>
#include <memory>
#include <string>

#include "serial/PortSource.h"

namespace Ui {
class TGeneralOptionsForm;
}

class TGeneralOptionsForm : public QDialog {
  Q_OBJECT

 public:
  explicit TGeneralOptionsForm(TPortSource port, QWidget* parent = nullptr);
  ~TGeneralOptionsForm() override;

  bool IgnoreInvalid() const;
  bool IgnoreGGA() const;
  bool IgnoreRMC() const;
  bool IgnoreGSV() const;
  bool IgnoreGSA() const;
  bool RecordTimestamps() const;
  // The selected item of "Record timestamp as...": 0 relative, 1 local PC
  // time, -1 none.
  int TimestampFormat() const;
  std::string PPSCommand() const;

  // Every close passes here: OK, Enter, Esc and the close box.
  void done(int result) override;
  void setVisible(bool visible) override;

 private:
  void FormCreate();
  void FormClose();
  void SelectTimestampFormat(int index);

  std::unique_ptr<Ui::TGeneralOptionsForm> Form;
  TPortSource Port;
};
