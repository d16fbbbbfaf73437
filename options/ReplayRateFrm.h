#pragma once
// "Replay rate...": the time between two replayed lines, in milliseconds.
// Its field is the live value that a replay start reads; every close saves
// it, and Enter in the field closes the dialog.

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

  // The field's text as a whole number within 10 to 5000; text that is not a
  // whole number reads as 10.
  int ReplaySpeed() const;

  // Every close passes here: OK, Enter, Esc and the close box.
  void done(int result) override;
  void setVisible(bool visible) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormCreate();
  void FormClose();
  // True when the key was taken.
  bool ReplaySpeedKeyDown(int key);

  std::unique_ptr<Ui::TReplayRateForm> Form;
};
