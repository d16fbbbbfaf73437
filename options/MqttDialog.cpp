#include "options/MqttDialog.h"

#include "source/MqttUrl.h"
#include "ui_MqttDialog.h"

TMqttDialog::TMqttDialog(QWidget* parent)
    : QDialog(parent), Form(std::make_unique<Ui::TMqttDialog>()) {
  Form->setupUi(this);
  Form->MqttClientId->setPlaceholderText(QString::fromStdString(DefaultMqttClientId()));
  connect(Form->MqttEnabled, &QCheckBox::toggled, this, &TMqttDialog::ShowEnabled);
  connect(Form->Buttons, &QDialogButtonBox::accepted, this, &TMqttDialog::onOK);
  connect(Form->Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  SetSettings(TMqttSettings());
}

TMqttDialog::~TMqttDialog() = default;

void TMqttDialog::SetSettings(const TMqttSettings& settings) {
  Form->MqttEnabled->setChecked(settings.Enabled);
  Form->MqttUrl->setText(QString::fromStdString(settings.Url));
  Form->MqttUser->setText(QString::fromStdString(settings.User));
  Form->MqttPassword->setText(QString::fromStdString(settings.Password));
  Form->RememberPassword->setChecked(settings.RememberPassword);
  Form->MqttClientId->setText(QString::fromStdString(settings.ClientId));
  Form->MqttProblem->clear();
  ShowEnabled();
}

TMqttSettings TMqttDialog::Settings() const {
  TMqttSettings settings;
  settings.Enabled = Form->MqttEnabled->isChecked();
  settings.Url = Form->MqttUrl->text().trimmed().toStdString();
  settings.User = Form->MqttUser->text().toStdString();
  settings.Password = Form->MqttPassword->text().toStdString();
  settings.RememberPassword = Form->RememberPassword->isChecked();
  settings.ClientId = Form->MqttClientId->text().trimmed().toStdString();
  return settings;
}

void TMqttDialog::onOK() {
  const TMqttSettings settings = Settings();
  std::string reason;
  if (settings.Enabled && !ParseMqttUrl(settings.Url, reason)) {
    Form->MqttProblem->setText(QString::fromStdString("Invalid broker URL: " + reason));
    return;
  }
  accept();
}

void TMqttDialog::ShowEnabled() {
  const bool on = Form->MqttEnabled->isChecked();
  for (QWidget* field :
       {static_cast<QWidget*>(Form->MqttUrl), static_cast<QWidget*>(Form->MqttUser),
        static_cast<QWidget*>(Form->MqttPassword), static_cast<QWidget*>(Form->RememberPassword),
        static_cast<QWidget*>(Form->MqttClientId)})
    field->setEnabled(on);
}
