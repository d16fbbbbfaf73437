#pragma once
// The Field formats dialog: one row per kind of field, with its format, its
// decimals and two live samples. List and decimals changes take effect in
// FieldFormats at once; the date and time patterns only once OK has stored
// them and the main window has loaded them again.

#include <QDialog>
#include <memory>

class QTimer;

namespace Ui {
class TFieldFormatsForm;
}

class TFieldFormatsForm : public QDialog {
  Q_OBJECT

 public:
  explicit TFieldFormatsForm(QWidget* parent = nullptr);
  ~TFieldFormatsForm() override;

  // Refreshes the fourteen samples; ClockTimer calls it every 500 ms.
  void ClockTimerTimer();

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void FormCreate();
  void FillFromStore();
  void ConnectHandlers();
  void CentreOverMainWindow();

  void OKButtonClick();
  void CancelButtonClick();
  void PositionFormatChange();
  void PositionDecimalsChange();
  void AltitudeFormatChange();
  void AltitudeDecimalsChange();
  void ValidFormatChange();
  void SpeedFormatChange();
  void SpeedDecimalsChange();
  void CourseFormatChange();
  void CourseDecimalsChange();

  std::unique_ptr<Ui::TFieldFormatsForm> ui;
  QTimer* ClockTimer;
};
