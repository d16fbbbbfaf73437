#pragma once
// "Replay rate...": a fixed time between two replayed lines, in
// milliseconds, or the recorded pace at a chosen speed. Every change of the
// rate field hands the rate on through replaySpeedChanged, every change of
// the choice or the speed hands the pacing on through replayPacingChanged,
// and every close hands both on once more, the rate brought into range,
// before the dialog finishes; whoever owns the settings saves them then.
// Enter in the rate field closes the dialog.

#include <QDialog>
#include <memory>

#include "monitor/MonitorOptions.h"

namespace Ui {
class TReplayRateDialog;
}

class TReplayRateDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TReplayRateDialog(QWidget* parent = nullptr);
  ~TReplayRateDialog() override;

  // Shows the rate, brought to the nearest bound of 10 to 5000; hands nothing on.
  void SetReplaySpeed(int milliseconds);
  // Shows the choice and the speed; a speed the list lacks is added to it.
  // Hands nothing on.
  void SetReplayPacing(const TReplayPacing& pacing);

  // Every close passes here: OK, Enter, Esc and the close box.
  void done(int result) override;
  void setVisible(bool visible) override;

 signals:
  void replaySpeedChanged(int milliseconds);
  void replayPacingChanged(const TReplayPacing& pacing);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The field's text as a whole number within 10 to 5000; text that is not a
  // whole number reads as 10.
  int FieldSpeed() const;
  // True when the key was taken.
  bool onReplaySpeedKey(int key);
  TReplayPacing ShownPacing() const;
  // Only the chosen way's control can be edited.
  void EnableChoice();

  std::unique_ptr<Ui::TReplayRateDialog> Form;
};
