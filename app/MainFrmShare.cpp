// Sharing the received data: the relay hands every line, as it came from the
// port or the replay, to the clients connected to it; its label sits at the
// right of the status bar, and lines that clients send reach the receiver
// when the user allowed it.

#include <QAction>
#include <QLabel>
#include <QStatusBar>

#include "app/MainFrm.h"
#include "common/HandlerErrors.h"
#include "options/ShareFrm.h"
#include "source/Relay.h"
#include "ui_MainFrm.h"

void TMainForm::SetUpSharing() {
  auto* share = new QAction("Share received data...", this);
  share->setObjectName("actionShare");
  ui->menuOptions->addAction(share);
  connect(share, &QAction::triggered, this, Reported([this] { showShare(); }));
  ShareStatus = new QLabel(this);
  ShareStatus->setObjectName("ShareStatus");
  statusBar()->addPermanentWidget(ShareStatus);
  Loop.SetLineObserver([this](std::string_view line) {
    if (Relay) Relay->Send(line);
  });
  UseShareOptions(Settings.ShareOptions());
}

void TMainForm::showShare() {
  if (!Dialogs.Share) return;
  Dialogs.Share->SetOptions(Settings.ShareOptions());
  if (RunModal(*Dialogs.Share) != QDialog::Accepted) return;
  const TShareOptions options = Dialogs.Share->Options();
  UseShareOptions(options);
  Settings.StoreShareOptions(options);
}

// A port that cannot be had (another program holds it) is said in the
// status bar, where the sharing is shown; the rest of the program runs on.
void TMainForm::UseShareOptions(const TShareOptions& options) {
  const bool same = options == ShareOptions && (Relay != nullptr) == options.Enabled;
  ShareOptions = options;
  if (!same) {
    Relay.reset();
    ShareError.clear();
    if (options.Enabled) {
      auto relay = std::make_unique<TRelay>();
      if (relay->Listen(ShareAddress(options), static_cast<uint16_t>(options.Port), ShareError))
        Relay = std::move(relay);
    }
  }
  if (Relay && options.AcceptCommands)
    Relay->SetCommandHandler([this](std::string_view command) { onRelayCommand(command); });
  else if (Relay)
    Relay->SetCommandHandler({});
  ShowStatus();
  UpdateStatusTimer();
}

// A client's command goes out as the Send command dialog sends one; where
// nothing can be sent (no port, a udp source) it is let go: the client is
// not the user, and no message box should answer it.
void TMainForm::onRelayCommand(std::string_view command) {
  TSerial* port = Loop.Port();
  if (!port || !port->IsOpen() || !port->CanSend()) return;
  try {
    port->Send(std::string(command) + "\r\n");
  } catch (const EDeviceError&) {
  }
}

std::string TMainForm::SharingStatusText() const {
  if (!ShareOptions.Enabled) return {};
  if (!Relay)
    return "Cannot share on port " + std::to_string(ShareOptions.Port) + ": " + ShareError;
  return RelayStatusText(Relay->Port(), ShareOptions.AllowOthers, Relay->Totals().Clients);
}
