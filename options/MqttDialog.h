#pragma once
// "MQTT...": the broker the received data is published to. OK checks the
// address first; a wrong one is said in the dialog, which stays open.

#include <QDialog>
#include <memory>

#include "options/MqttOptions.h"

namespace Ui {
class TMqttDialog;
}

class TMqttDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TMqttDialog(QWidget* parent = nullptr);
  ~TMqttDialog() override;

  void SetSettings(const TMqttSettings& settings);
  TMqttSettings Settings() const;

 private:
  void onOK();
  void ShowEnabled();

  std::unique_ptr<Ui::TMqttDialog> Form;
};
