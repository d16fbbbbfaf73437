#include "options/ShareFrm.h"

#include "ui_ShareFrm.h"

TShareForm::TShareForm(QWidget* parent)
    : QDialog(parent), Form(std::make_unique<Ui::TShareForm>()) {
  Form->setupUi(this);
  Form->SharePort->setRange(1, 65535);
  connect(Form->ShareEnabled, &QCheckBox::toggled, this, &TShareForm::ShowEnabled);
  connect(Form->Buttons, &QDialogButtonBox::accepted, this, [this] {
    emit OptionsChanged(Options());
    accept();
  });
  connect(Form->Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  SetOptions(TShareOptions());
}

TShareForm::~TShareForm() = default;

void TShareForm::SetOptions(const TShareOptions& options) {
  Form->ShareEnabled->setChecked(options.Enabled);
  Form->SharePort->setValue(options.Port);
  Form->AllowOthers->setChecked(options.AllowOthers);
  Form->AcceptCommands->setChecked(options.AcceptCommands);
  ShowEnabled();
}

TShareOptions TShareForm::Options() const {
  TShareOptions options;
  options.Enabled = Form->ShareEnabled->isChecked();
  options.Port = Form->SharePort->value();
  options.AllowOthers = Form->AllowOthers->isChecked();
  options.AcceptCommands = Form->AcceptCommands->isChecked();
  return options;
}

void TShareForm::ShowEnabled() {
  const bool on = Form->ShareEnabled->isChecked();
  Form->SharePort->setEnabled(on);
  Form->AllowOthers->setEnabled(on);
  Form->AcceptCommands->setEnabled(on);
}
