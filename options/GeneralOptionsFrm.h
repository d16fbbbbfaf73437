#pragma once
// "General options...": the baud rate, the sentence filters, the timestamps
// and the command sent on each 1 PPS pulse. The dialog lives for the whole
// run; every change of a control hands the new values to whoever listens (the
// receive loop), so a change acts before the dialog is closed. Every way of
// closing it hands them on once more, saves them and reopens an open port, so
// that a new baud rate applies at once.

#include <QDialog>
#include <memory>
#include <string>

#include "monitor/MonitorOptions.h"
#include "source/PortSource.h"

namespace Ui {
class TGeneralOptionsForm;
}

class TGeneralOptionsForm : public QDialog {
  Q_OBJECT

 public:
  explicit TGeneralOptionsForm(TPortSource port, QWidget* parent = nullptr);
  ~TGeneralOptionsForm() override;

  // The values the controls show now.
  const TMonitorOptions& Options() const { return Values; }

  // Every close passes here: OK, Enter, Esc and the close box.
  void done(int result) override;
  void setVisible(bool visible) override;

 signals:
  void OptionsChanged(const TMonitorOptions& options);

 private:
  void FormCreate();
  void FormClose();
  void SelectTimestampFormat(int index);
  void ConnectControls();
  // Takes the values from the controls and hands them on.
  void ControlChanged();

  std::unique_ptr<Ui::TGeneralOptionsForm> Form;
  TPortSource Port;
  TMonitorOptions Values;
};
