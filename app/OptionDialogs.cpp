#include "app/OptionDialogs.h"

#include <QAction>
#include <QMenu>

#include "app/ErrorReport.h"
#include "app/Sharing.h"
#include "common/HandlerErrors.h"
#include "format/FieldFormatsDialog.h"
#include "monitor/Monitor.h"
#include "options/GeneralOptionsDialog.h"
#include "options/MqttDialog.h"
#include "options/PortsDialog.h"
#include "options/ReplayRateDialog.h"
#include "options/ShareDialog.h"
#include "source/SendCommandDialog.h"

TOptionDialogs::TOptionDialogs(QObject& owner, QMenu& options, TMonitor& monitor, TSharing& sharing,
                               const TModalRunner& modalRunner)
    : QObject(&owner), Monitor(monitor), Sharing(sharing), ModalRunner(modalRunner) {
  const std::pair<const char*, const char*> actions[] = {{"Share received data...", "actionShare"},
                                                         {"MQTT...", "actionMqtt"}};
  for (const auto& [text, name] : actions) {
    auto* action = new QAction(text, &owner);
    action->setObjectName(name);
    options.addAction(action);
    const bool share = action->objectName() == "actionShare";
    connect(action, &QAction::triggered, this,
            Reported([this, share] { share ? showShare() : showMqtt(); }));
  }
  LoadFieldFormats();
  Sharing.UseShareOptions(Settings.ShareOptions());
  Sharing.UseMqttSettings(Settings.MqttSettings());
}

void TOptionDialogs::SetDialogs(const TMainDialogs& dialogs) {
  Dialogs = dialogs;
  ConnectValueDialogs();
  if (TPortsDialog* ports = Dialogs.Ports)
    connect(ports, &TPortsDialog::portsChanged, this, [this](const TPortChoices& changed) {
      Reported([this, &changed] { storePorts(changed); })();
    });
  if (TFieldFormatsDialog* formats = Dialogs.FieldFormats) {
    connect(formats, &TFieldFormatsDialog::fieldFormatsChanged, this,
            &TOptionDialogs::UseFieldFormats);
    // The dialog has closed before the write: a failing write still leaves
    // it closed with OK, and what the store holds is then taken into use.
    connect(formats, &QDialog::accepted, this,
            Reported([this] { Settings.StoreFieldFormats(FieldFormats); }));
  }
}

void TOptionDialogs::ConnectValueDialogs() {
  if (TGeneralOptionsDialog* options = Dialogs.GeneralOptions) {
    connect(options, &TGeneralOptionsDialog::optionsChanged, this,
            [this](const TGeneralOptions& changed) {
              GeneralOptions = changed;
              Monitor.SetOptions(changed.Monitor);
            });
    connect(options, &QDialog::finished, this, Reported([this] { storeGeneralOptions(); }));
    options->SetOptions(Settings.GeneralOptions());
  }
  if (TReplayRateDialog* replay = Dialogs.ReplayRate) {
    UseReplaySpeed(Settings.ReplaySpeed());
    replay->SetReplaySpeed(ReplaySpeed);
    UseReplayPacing(Settings.ReplayPacing());
    replay->SetReplayPacing(ReplayPacing);
    connect(replay, &TReplayRateDialog::replaySpeedChanged, this, &TOptionDialogs::UseReplaySpeed);
    connect(replay, &TReplayRateDialog::replayPacingChanged, this,
            &TOptionDialogs::UseReplayPacing);
    connect(replay, &QDialog::finished, this, Reported([this] {
              Settings.StoreReplaySpeed(ReplaySpeed);
              Settings.StoreReplayPacing(ReplayPacing);
            }));
  }
}

// Opening reads the baud rate afresh, so the one just saved applies; a
// network source has none and keeps its connection. A failed save leaves the
// port alone.
void TOptionDialogs::storeGeneralOptions() {
  Settings.StoreGeneralOptions(GeneralOptions);
  TPortSlot* port = Monitor.Port();
  if (port && port->Opened()) port->ReopenForBaudRate();
}

void TOptionDialogs::showPorts() {
  if (!Dialogs.Ports) return;
  // Filled at every showing: the store may have been edited by hand.
  Dialogs.Ports->SetPorts(Settings.PortChoices(), GeneralOptions.BaudRate);
  RunModal(ModalRunner, *Dialogs.Ports);
}

// The slot held open follows what was saved: a new device is opened in its
// place, a new rate reopens it. The tool tips follow even a failed save.
void TOptionDialogs::storePorts(const TPortChoices& ports) {
  const int index = HeldSlot ? HeldSlot() : -1;
  const bool held = Monitor.Port() && Monitor.Port()->Opened() && index >= 0;
  const std::string path = Settings.PortDevicePath(index);
  const int32_t rate = Settings.BaudRate(index);
  try {
    Settings.StorePortChoices(ports);
  } catch (...) {
    emit portsStored();
    throw;
  }
  emit portsStored();
  if (!held) return;
  if (Settings.PortDevicePath(index) != path)
    emit heldSlotMoved();
  else if (Settings.BaudRate(index) != rate)
    Monitor.Port()->ReopenForBaudRate();
}

void TOptionDialogs::UseReplaySpeed(int milliseconds) {
  ReplaySpeed = milliseconds;
  Monitor.Replay().SetRate(milliseconds);
}

void TOptionDialogs::UseReplayPacing(const TReplayPacing& pacing) {
  ReplayPacing = pacing;
  Monitor.Replay().SetPacing(pacing);
}

void TOptionDialogs::UseRecordedPace(double speed) {
  UseReplayPacing({TReplayMode::RecordedPace, speed});
  if (Dialogs.ReplayRate) Dialogs.ReplayRate->SetReplayPacing(ReplayPacing);
}

void TOptionDialogs::showReplayRate() {
  if (!Dialogs.ReplayRate) return;
  RunModal(ModalRunner, *Dialogs.ReplayRate);
  emit replayPaceChanged();
}

void TOptionDialogs::showGeneralOptions() {
  if (Dialogs.GeneralOptions) RunModal(ModalRunner, *Dialogs.GeneralOptions);
}

void TOptionDialogs::showFieldFormats() {
  if (Dialogs.FieldFormats) {
    // Filled from the store at every showing, so that the controls never
    // show choices that a Cancel has already taken out of use.
    Dialogs.FieldFormats->SetFieldFormats(Settings.FieldFormats(FieldFormats.Locale));
    RunModal(ModalRunner, *Dialogs.FieldFormats);
  }
  // OK has stored the choice and Cancel drops what was tried: either way
  // the stored formats are the ones in use.
  LoadFieldFormats();
}

void TOptionDialogs::SetLocaleFormats(const TLocaleFormats& locale) {
  FieldFormats.Locale = locale;
  LoadFieldFormats();
}

void TOptionDialogs::LoadFieldFormats() {
  UseFieldFormats(Settings.FieldFormats(FieldFormats.Locale));
}

void TOptionDialogs::UseFieldFormats(const TFieldFormats& formats) {
  FieldFormats = formats;
  Monitor.SetFieldFormats(formats);
}

void TOptionDialogs::showSendCommand() {
  const TPortSlot* port = Monitor.Port();
  if (!port || !port->Opened()) return ShowWarning("Please open COM port first");
  if (Dialogs.SendCommand) RunModal(ModalRunner, *Dialogs.SendCommand);
}

void TOptionDialogs::showShare() {
  if (!Dialogs.Share) return;
  Dialogs.Share->SetOptions(Settings.ShareOptions());
  if (RunModal(ModalRunner, *Dialogs.Share) != QDialog::Accepted) return;
  const TShareOptions options = Dialogs.Share->Options();
  Sharing.UseShareOptions(options);
  Settings.StoreShareOptions(options);
}

void TOptionDialogs::showMqtt() {
  if (!Dialogs.Mqtt) return;
  Dialogs.Mqtt->SetSettings(Sharing.MqttSettings());
  if (RunModal(ModalRunner, *Dialogs.Mqtt) != QDialog::Accepted) return;
  const TMqttSettings settings = Dialogs.Mqtt->Settings();
  Sharing.UseMqttSettings(settings);
  Settings.StoreMqttSettings(settings);
}
