#include "options/ShareDialog.h"

#include "ui_ShareDialog.h"

TShareDialog::TShareDialog(QWidget* parent)
    : QDialog(parent), Form(std::make_unique<Ui::TShareDialog>()) {
  Form->setupUi(this);
  Form->SharePort->setRange(1, 65535);
  connect(Form->ShareEnabled, &QCheckBox::toggled, this, &TShareDialog::ShowEnabled);
  connect(Form->Buttons, &QDialogButtonBox::accepted, this, [this] {
    emit optionsChanged(Options());
    accept();
  });
  connect(Form->Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  SetOptions(TShareOptions());
}

TShareDialog::~TShareDialog() = default;

void TShareDialog::SetOptions(const TShareOptions& options) {
  Form->ShareEnabled->setChecked(options.Enabled);
  Form->SharePort->setValue(options.Port);
  Form->AllowOthers->setChecked(options.AllowOthers);
  Form->AcceptCommands->setChecked(options.AcceptCommands);
  ShowEnabled();
}

TShareOptions TShareDialog::Options() const {
  TShareOptions options;
  options.Enabled = Form->ShareEnabled->isChecked();
  options.Port = Form->SharePort->value();
  options.AllowOthers = Form->AllowOthers->isChecked();
  options.AcceptCommands = Form->AcceptCommands->isChecked();
  return options;
}

void TShareDialog::ShowEnabled() {
  const bool on = Form->ShareEnabled->isChecked();
  Form->SharePort->setEnabled(on);
  Form->AllowOthers->setEnabled(on);
  Form->AcceptCommands->setEnabled(on);
}
