// The dialogs that edit values: General options, Ports, Set replay rate and
// Field formats. Each edits a copy and hands it back; the window keeps what is in
// use, passes it to the receive loop, and reads and writes the store at the
// moments the user expects: the options and the replay rate when their dialog
// closes, the ports on OK, the field formats on OK and again after their
// dialog has closed.

#include <QAbstractButton>
#include <QButtonGroup>

#include "app/MainFrm.h"
#include "common/HandlerErrors.h"
#include "format/FieldFormatsFrm.h"
#include "options/GeneralOptionsFrm.h"
#include "options/PortsFrm.h"
#include "options/ReplayRateFrm.h"

void TMainForm::SetDialogs(const TMainDialogs& dialogs) {
  Dialogs = dialogs;
  ConnectOptionsDialogs();
  ConnectPortsDialog();
  ConnectFieldFormatsDialog();
}

void TMainForm::ConnectOptionsDialogs() {
  if (TGeneralOptionsForm* options = Dialogs.GeneralOptions) {
    connect(options, &TGeneralOptionsForm::OptionsChanged, this,
            [this](const TGeneralOptions& changed) {
              GeneralOptions = changed;
              Loop.SetOptions(changed.Monitor);
            });
    connect(options, &QDialog::finished, this, Reported([this] { storeGeneralOptions(); }));
    options->SetOptions(Settings.GeneralOptions());
  }
  if (TReplayRateForm* replay = Dialogs.ReplayRate) {
    UseReplaySpeed(Settings.ReplaySpeed());
    replay->SetReplaySpeed(ReplaySpeed);
    UseReplayPacing(Settings.ReplayPacing());
    replay->SetReplayPacing(ReplayPacing);
    connect(replay, &TReplayRateForm::ReplaySpeedChanged, this, &TMainForm::UseReplaySpeed);
    connect(replay, &TReplayRateForm::ReplayPacingChanged, this, &TMainForm::UseReplayPacing);
    connect(replay, &QDialog::finished, this, Reported([this] {
              Settings.StoreReplaySpeed(ReplaySpeed);
              Settings.StoreReplayPacing(ReplayPacing);
            }));
  }
}

// Opening reads the baud rate afresh, so the one just saved applies; a
// network source has none and keeps its connection. A failed save leaves the
// port alone.
void TMainForm::storeGeneralOptions() {
  Settings.StoreGeneralOptions(GeneralOptions);
  TSerial* port = Loop.Port();
  if (port && port->IsOpen()) port->ReopenForBaudRate();
}

void TMainForm::ConnectPortsDialog() {
  if (TPortsForm* ports = Dialogs.Ports)
    connect(ports, &TPortsForm::PortsChanged, this, [this](const TPortChoices& changed) {
      Reported([this, &changed] { storePorts(changed); })();
    });
}

void TMainForm::showPorts() {
  if (!Dialogs.Ports) return;
  // Filled at every showing: the store may have been edited by hand.
  Dialogs.Ports->SetPorts(Settings.PortChoices(), GeneralOptions.BaudRate);
  RunModal(*Dialogs.Ports);
}

// The slot held open follows what was saved: a new device is opened in its
// place, a new rate reopens it. The tool tips follow even a failed save.
void TMainForm::storePorts(const TPortChoices& ports) {
  const int index = ComPortIndex();
  const bool held = Loop.Port() && Loop.Port()->IsOpen() && index >= 0;
  const std::string path = Settings.PortDevicePath(index);
  const int32_t rate = Settings.BaudRate(index);
  try {
    Settings.StorePortChoices(ports);
  } catch (...) {
    ShowPortToolTips();
    throw;
  }
  ShowPortToolTips();
  if (!held) return;
  if (Settings.PortDevicePath(index) != path)
    openSelectedPort();
  else if (Settings.BaudRate(index) != rate)
    Loop.Port()->ReopenForBaudRate();
}

void TMainForm::ShowPortToolTips() {
  for (int index = 0; index < kPortCount; ++index)
    if (QAbstractButton* button = ComPortGroup->button(index))
      button->setToolTip(QString::fromStdString(Settings.PortToolTip(index)));
}

void TMainForm::UseReplaySpeed(int milliseconds) {
  ReplaySpeed = milliseconds;
  Loop.Replay().SetRate(milliseconds);
}

void TMainForm::UseReplayPacing(const TReplayPacing& pacing) {
  ReplayPacing = pacing;
  Loop.Replay().SetPacing(pacing);
}

void TMainForm::ConnectFieldFormatsDialog() {
  TFieldFormatsForm* formats = Dialogs.FieldFormats;
  if (!formats) return;
  connect(formats, &TFieldFormatsForm::FieldFormatsChanged, this, &TMainForm::UseFieldFormats);
  // The dialog has closed before the write: a failing write still leaves it
  // closed with OK, and what the store holds is then taken into use.
  connect(formats, &QDialog::accepted, this,
          Reported([this] { Settings.StoreFieldFormats(FieldFormats); }));
}

void TMainForm::showGeneralOptions() {
  if (Dialogs.GeneralOptions) RunModal(*Dialogs.GeneralOptions);
}

void TMainForm::showFieldFormats() {
  if (Dialogs.FieldFormats) {
    // Filled from the store at every showing, so that the controls never
    // show choices that a Cancel has already taken out of use.
    Dialogs.FieldFormats->SetFieldFormats(Settings.FieldFormats(FieldFormats.Locale));
    RunModal(*Dialogs.FieldFormats);
  }
  // OK has stored the choice and Cancel drops what was tried: either way
  // the stored formats are the ones in use.
  LoadFieldFormats();
}

void TMainForm::SetLocaleFormats(const TLocaleFormats& locale) {
  FieldFormats.Locale = locale;
  LoadFieldFormats();
}

void TMainForm::LoadFieldFormats() {
  UseFieldFormats(Settings.FieldFormats(FieldFormats.Locale));
}

void TMainForm::UseFieldFormats(const TFieldFormats& formats) {
  FieldFormats = formats;
  Loop.SetFieldFormats(formats);
}
