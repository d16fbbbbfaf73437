#pragma once
// "General options...": the baud rate, the sentence filters, the timestamps
// and the command sent on each 1 PPS pulse. The dialog lives for the whole
// run and edits a copy of the values it is given; every change of a control
// hands the copy on through optionsChanged, so a change acts before the dialog
// is closed. Every way of closing it hands them on once more before it
// finishes; whoever owns the settings saves them then.

#include <QDialog>
#include <memory>

#include "options/GeneralOptions.h"

namespace Ui {
class TGeneralOptionsDialog;
}

class TGeneralOptionsDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TGeneralOptionsDialog(QWidget* parent = nullptr);
  ~TGeneralOptionsDialog() override;

  // Shows `options` in the controls and hands on what they show: a baud rate
  // the list does not hold shows, and is handed on, as none.
  void SetOptions(const TGeneralOptions& options);

  // Every close passes here: OK, Enter, Esc and the close box.
  void done(int result) override;
  void setVisible(bool visible) override;

 signals:
  void optionsChanged(const TGeneralOptions& options);

 private:
  void SelectTimestampFormat(int index);
  void ConnectControls();
  // Takes the values from the controls and hands them on.
  void onControlChanged();

  std::unique_ptr<Ui::TGeneralOptionsDialog> Form;
  TGeneralOptions Values;
};
