#pragma once
// The main window: port selector, fix display and received-data view. It
// forwards the port's arrivals, its DSR changes, the receive and blink
// timers and the menu actions to the monitor, which runs the receive loop,
// and applies what each step returns. Everything runs on the GUI thread.

#include <QIcon>
#include <QMainWindow>
#include <QPixmap>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/AppSettings.h"
#include "history/EpochFollower.h"
#include "monitor/Monitor.h"
#include "options/MqttOptions.h"
#include "options/ShareOptions.h"
#include "source/PortSource.h"
#include "source/Serial.h"

class QButtonGroup;
class QDialog;
class QFileDialog;
class QLabel;
class QTimer;
class TElidedLabel;
class TFieldFormatsForm;
class TFramePacer;
class TGeneralOptionsForm;
class TPortsForm;
class TPositionForm;
class TReceivedDataView;
class TMqttForm;
class TMqttPublisher;
class TRelay;
class TReplayRateForm;
class TChartsForm;
class TSatellitesForm;
class TSeekBar;
class TSendCommandForm;
class TShareForm;
class TStatisticsForm;
class TUserGuideForm;

namespace Ui {
class TMainForm;
}

// The dialogs the main window opens; they are created after the window and
// handed to it before it is first shown. Each hands back the values it edits;
// the window keeps them, passes them on and stores them.
struct TMainDialogs {
  TReplayRateForm* ReplayRate = nullptr;
  TGeneralOptionsForm* GeneralOptions = nullptr;
  TSendCommandForm* SendCommand = nullptr;
  TFieldFormatsForm* FieldFormats = nullptr;
  TPortsForm* Ports = nullptr;
  TShareForm* Share = nullptr;
  TMqttForm* Mqtt = nullptr;
};

class TMainForm : public QMainWindow {
  Q_OBJECT

 public:
  // Shows a modal dialog and returns its result; tests answer instead.
  using TModalRunner = std::function<int(QDialog& dialog)>;
  using TUrlOpener = std::function<void(const QString& url)>;

  explicit TMainForm(QWidget* parent = nullptr);
  ~TMainForm() override;

  // Fills the dialogs from the store and listens to what they hand back.
  void SetDialogs(const TMainDialogs& dialogs);
  // The user's locale, for the date and time fields; the field formats are
  // read again with it.
  void SetLocaleFormats(const TLocaleFormats& locale);
  // Takes the field formats the store holds now into use.
  void LoadFieldFormats();
  // The arguments after the program name, acted on by runCommandLine.
  void SetCommandLine(std::vector<std::string> arguments);
  // What each port selection opens; empty for real serial devices.
  void SetDeviceFactory(TSerial::TDeviceFactory factory);
  void SetModalRunner(TModalRunner runner);
  void SetUrlOpener(TUrlOpener opener);
  // The current port for the dialogs: nullptr while the window holds none.
  TPortSource PortSource();

  // Port selector: -1 for none, 0..7 for "COM1:".."COM8:". Setting it does
  // not open anything; openSelectedPort does.
  int ComPortIndex() const;
  void SetComPortIndex(int index);

  void runCommandLine();
  void openSelectedPort();
  // The replay's pace, or DSR sampled where it cannot be waited for.
  void onReceiveTick();
  // The port has lines, or its link changed.
  void onLinesArrived();
  void onDSRChanged(const TDSREdge& edge);
  void onBlinkTick();

  void StartLogging(const std::string& fileName);
  void StartReplay(const std::string& fileName);
  void logToDisk();
  void replayFromDisk();
  void togglePause();
  void showReplayRate();
  void stop();

  void quit();
  void clearReceivedData();
  void showGeneralOptions();
  void showFieldFormats();
  void showPorts();
  void showSendCommand();
  // The logo and the link caption both lead to the web address.
  void openWebAddress();
  void showStatistics();
  void showSatellites();
  void showPosition();
  // Writes the history as GPX, KML or CSV, by the type chosen in the dialog.
  void exportTrack();
  void showCharts();
  void showAbout();
  void showUserGuide();
  void showShare();
  void showMqtt();

  // The receive loop and its state; the window only applies what it returns.
  TMonitor& Monitor() { return Loop; }
  // Runs while a replay runs or DSR must be sampled; stopped otherwise, so
  // that the program sleeps until lines arrive.
  QTimer* ReceiveTimer() const { return Timer; }

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void SetUpControls();
  void ConnectHandlers();
  void SetFileMenus(bool logEnabled, bool replayEnabled);
  int RunModal(QDialog& dialog);
  // The Log to disk dialog when saving, else the Replay from disk one.
  QFileDialog& LogFileDialog(bool saving);
  QFileDialog& TrackFileDialog();
  std::string ChooseFile(QFileDialog& dialog);

  void ApplyTick(const TTickResult& result);
  // The seek bar: made once, shown while a replay runs, following it.
  void SetUpSeekBar();
  void UpdateSeekBar();
  void jumpInReplay(qulonglong epoch);
  void ApplyStep(const TTickResult& result);
  // Lines arrived: taken at the next turn of the event loop, once however
  // often the port said so.
  void PostArrival();
  void ShowModeIndicator(bool visible);
  void ShowTaskbarIcon(bool shown);
  void DrawLamp(bool lit);
  void ShowFix(const TFieldUpdates& updates);
  void ShowStopped();
  void UpdateReceiveTimer();
  void SetUpStatusBar();
  void SetUpHelpMenu();
  void SetUpPositionMenus();
  void ShowStatus();
  // A gap the replay crossed, for a few seconds over the status fields.
  void ShowReplayNotice(const std::string& text);
  void ShowFixStatus();
  void UpdateStatusTimer();
  void SaveWindowGeometry();
  void SetUpCharts();
  void ScheduleCharts();
  void ConnectOptionsDialogs();
  void ConnectFieldFormatsDialog();
  void UseFieldFormats(const TFieldFormats& formats);
  void UseReplaySpeed(int milliseconds);
  void UseReplayPacing(const TReplayPacing& pacing);
  void storeGeneralOptions();
  void ConnectPortsDialog();
  void storePorts(const TPortChoices& ports);
  void ShowPortToolTips();
  void SetUpSharing();
  // Starts, restarts or stops the relay as `options` say.
  void UseShareOptions(const TShareOptions& options);
  void onRelayCommand(std::string_view command);
  // Connects to the broker the settings name, or lets go of it.
  void UseMqttSettings(const TMqttSettings& settings);
  // The epochs the history gained since the last call go to the broker.
  void PublishEpochs();
  std::string SharingStatusText() const;
  // What the broker missed, and why the last try failed.
  std::string SharingToolTip() const;

  std::unique_ptr<Ui::TMainForm> ui;
  TAppSettings Settings;
  TMonitor Loop;
  // The values in use, as the dialogs last handed them back.
  TFieldFormats FieldFormats;
  TGeneralOptions GeneralOptions;
  int ReplaySpeed = kDefaultReplaySpeed;
  TReplayPacing ReplayPacing;
  QTimer* Timer = nullptr;
  QTimer* Blinker = nullptr;
  TFramePacer* Pacer = nullptr;
  bool ArrivalPosted = false;
  QIcon SavedIcon;
  std::array<QPixmap, 2> ImageList;  // dark lamp, lit lamp
  QFileDialog* SaveDialog = nullptr;
  QFileDialog* OpenDialog = nullptr;
  // The status bar, refreshed twice a second while anything runs or the
  // Statistics window is open.
  QTimer* StatusTimer = nullptr;
  std::array<TElidedLabel*, 4> StatusLabels{};  // source, rate, bad checksums, age
  QLabel* FixStatusLabel = nullptr;             // beside the source: interference, RTK
  TStatisticsForm* Statistics = nullptr;        // made when first opened
  TSatellitesForm* Satellites = nullptr;        // made when first opened
  // The Satellites window catches up with the sky once a frame.
  QTimer* SkyFrame = nullptr;
  TChartsForm* Charts = nullptr;        // made when first opened
  QTimer* ChartsFrame = nullptr;        // its next refresh
  TUserGuideForm* UserGuide = nullptr;  // made when first opened
  TPositionForm* Position = nullptr;    // made when first opened
  QFileDialog* ExportDialog = nullptr;  // made when first wanted, as the others
  TReceivedDataView* ReceiveData = nullptr;
  TSeekBar* SeekBar = nullptr;
  QButtonGroup* ComPortGroup = nullptr;
  TMainDialogs Dialogs;
  // Sharing the received lines: the relay while it listens, and why it does
  // not when it could not.
  TShareOptions ShareOptions;
  std::unique_ptr<TRelay> Relay;
  std::string ShareError;
  QLabel* ShareStatus = nullptr;
  // Publishing to a broker; the password lives here for the session when
  // it is not remembered.
  TMqttSettings MqttSettings;
  std::unique_ptr<TMqttPublisher> Publisher;
  TEpochFollower EpochsPublished;
  std::vector<std::string> Arguments;
  TModalRunner ModalRunner;
  TUrlOpener UrlOpener;
  bool FirstShow = true;
};
