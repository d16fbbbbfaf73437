#pragma once
// The Field formats dialog: one row per kind of field, with its format, its
// decimals and two live samples. It edits a copy of the formats it is given
// and hands the copy back through fieldFormatsChanged: at once for every list
// and decimals change, and with the date and time patterns too when OK is
// pressed. Whoever owns the settings stores the choice on OK and decides what
// stays in use once the dialog has closed.

#include <QDialog>
#include <memory>

#include "format/FormatRoutines.h"

class QTimer;
struct TNumberFormatSetting;

namespace Ui {
class TFieldFormatsDialog;
}

class TFieldFormatsDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TFieldFormatsDialog(QWidget* parent = nullptr);
  ~TFieldFormatsDialog() override;

  // Shows `formats` in the controls; hands nothing on.
  void SetFieldFormats(const TFieldFormats& formats);

  // Refreshes the fourteen samples; the clock calls it every 500 ms.
  void onClockTick();

 signals:
  void fieldFormatsChanged(const TFieldFormats& formats);

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void SetUpSamples();
  void FitDropDowns();
  void ConnectControls();
  void CentreOverMainWindow();
  int ControlValue(const TNumberFormatSetting& setting) const;

  void onOkButtonClicked();
  void onFormatChanged(const TNumberFormatSetting& setting);

  std::unique_ptr<Ui::TFieldFormatsDialog> ui;
  QTimer* ClockTimer;
  TFieldFormats Values;
};
