#pragma once
// "Replay rate...": the time between two replayed lines, in milliseconds.
// Every change of its field hands the rate on through ReplaySpeedChanged, and
// every close hands it on once more, brought into range, before the dialog
// finishes; whoever owns the settings saves it then. Enter in the field closes
// the dialog.

#include <QDialog>
#include <memory>

namespace Ui {
class TReplayRateForm;
}

class TReplayRateForm : public QDialog {
  Q_OBJECT

 public:
  explicit TReplayRateForm(QWidget* parent = nullptr);
  ~TReplayRateForm() override;

  // Shows the rate, brought to the nearest bound of 10 to 5000; hands nothing on.
  void SetReplaySpeed(int milliseconds);

  // Every close passes here: OK, Enter, Esc and the close box.
  void done(int result) override;
  void setVisible(bool visible) override;

 signals:
  void ReplaySpeedChanged(int milliseconds);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The field's text as a whole number within 10 to 5000; text that is not a
  // whole number reads as 10.
  int FieldSpeed() const;
  // True when the key was taken.
  bool onReplaySpeedKey(int key);

  std::unique_ptr<Ui::TReplayRateForm> Form;
};
