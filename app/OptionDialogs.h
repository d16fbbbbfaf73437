#pragma once
// The dialogs that edit values: General options, Ports, Set replay rate,
// Field formats, Share received data and MQTT, and Send command. Each edits
// a copy and hands it back; this takes it into use (the monitor, the
// sharing) and reads and writes the store at the moments the user expects:
// the options and the replay rate when their dialog closes, the ports, the
// sharing and the broker on OK, the field formats on OK and again after
// their dialog has closed.

#include <QObject>
#include <functional>

#include "app/AppSettings.h"
#include "app/ModalRunner.h"
#include "format/FormatRoutines.h"
#include "monitor/MonitorOptions.h"
#include "options/GeneralOptions.h"
#include "options/PortChoices.h"

class QMenu;
class TFieldFormatsDialog;
class TGeneralOptionsDialog;
class TMonitor;
class TMqttDialog;
class TPortsDialog;
class TReplayRateDialog;
class TSendCommandDialog;
class TShareDialog;
class TSharing;

// The dialogs the main window opens; they are created after the window and
// handed to it before it is first shown.
struct TMainDialogs {
  TReplayRateDialog* ReplayRate = nullptr;
  TGeneralOptionsDialog* GeneralOptions = nullptr;
  TSendCommandDialog* SendCommand = nullptr;
  TFieldFormatsDialog* FieldFormats = nullptr;
  TPortsDialog* Ports = nullptr;
  TShareDialog* Share = nullptr;
  TMqttDialog* Mqtt = nullptr;
};

class TOptionDialogs : public QObject {
  Q_OBJECT

 public:
  // Adds "Share received data..." and "MQTT..." to `options`, and takes the
  // stored sharing into use.
  TOptionDialogs(QObject& owner, QMenu& options, TMonitor& monitor, TSharing& sharing,
                 const TModalRunner& modalRunner);

  // Fills the dialogs from the store and listens to what they hand back.
  void SetDialogs(const TMainDialogs& dialogs);
  // The port slot held open now (-1 for none), whose port follows a save.
  void SetHeldSlot(std::function<int()> heldSlot) { HeldSlot = std::move(heldSlot); }
  // The user's locale, for the date and time fields; the field formats are
  // read again with it.
  void SetLocaleFormats(const TLocaleFormats& locale);
  // Replays at the recorded pace at `speed`, as the command line asks.
  void UseRecordedPace(double speed);

 public slots:
  void showGeneralOptions();
  void showFieldFormats();
  void showPorts();
  void showReplayRate();
  void showSendCommand();
  void showShare();
  void showMqtt();

 signals:
  // The store's port choices were written, or tried: the tool tips follow.
  void portsStored();
  // The held slot now leads to another device: it is opened anew.
  void heldSlotMoved();
  // The replay's pace may have changed: its timer follows.
  void replayPaceChanged();

 private:
  void LoadFieldFormats();
  void UseFieldFormats(const TFieldFormats& formats);
  void UseReplaySpeed(int milliseconds);
  void UseReplayPacing(const TReplayPacing& pacing);
  void storeGeneralOptions();
  void storePorts(const TPortChoices& ports);
  void ConnectValueDialogs();

  TAppSettings Settings;
  TMonitor& Monitor;
  TSharing& Sharing;
  const TModalRunner& ModalRunner;
  std::function<int()> HeldSlot;
  TMainDialogs Dialogs;
  // The values in use, as the dialogs last handed them back.
  TFieldFormats FieldFormats;
  TGeneralOptions GeneralOptions;
  int ReplaySpeed = kDefaultReplaySpeed;
  TReplayPacing ReplayPacing;
};
