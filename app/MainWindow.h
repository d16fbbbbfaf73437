#pragma once
// The main window: port selector, fix display and received-data view. It
// wires the parts together: the monitor runs the receive loop, and the
// window forwards the port's arrivals, its DSR changes, the receive and blink
// timers and the menu actions to it, then applies what each step returns;
// the sharing, the tool windows, the status bar, the dialogs and the file
// choices are parts of their own. Everything runs on the GUI thread.

#include <QIcon>
#include <QMainWindow>
#include <memory>
#include <string>
#include <vector>

#include "app/AppSettings.h"
#include "app/ModalRunner.h"
#include "app/OptionDialogs.h"
#include "monitor/Monitor.h"
#include "source/PortSource.h"

class QButtonGroup;
class QTimer;
class TFileChoices;
class TFramePacer;
class TMainStatusBar;
class TReceivedDataView;
class TSeekBar;
class TSharing;
class TToolWindows;

namespace Ui {
class TMainWindow;
}

class TMainWindow : public QMainWindow {
  Q_OBJECT

 public:
  using TUrlOpener = std::function<void(const QString& url)>;

  explicit TMainWindow(QWidget* parent = nullptr);
  ~TMainWindow() override;

  // Fills the dialogs from the store and listens to what they hand back.
  void SetDialogs(const TMainDialogs& dialogs);
  // The user's locale, for the date and time fields.
  void SetLocaleFormats(const TLocaleFormats& locale);
  // The arguments after the program name, acted on by runCommandLine.
  void SetCommandLine(std::vector<std::string> arguments) { Arguments = std::move(arguments); }
  // What each port selection opens; empty for real serial devices.
  void SetDeviceFactory(TPortSlot::TDeviceFactory factory);
  // Shows a modal dialog and returns its result; tests answer instead.
  void SetModalRunner(TModalRunner runner) { ModalRunner = std::move(runner); }
  void SetUrlOpener(TUrlOpener opener) { UrlOpener = std::move(opener); }
  // The current port for the dialogs: nullptr while the window holds none.
  TPortSource PortSource();

  // Port selector: -1 for none, 0..7 for "COM1:".."COM8:". Setting it does
  // not open anything; openSelectedPort does.
  int ComPortIndex() const;
  void SetComPortIndex(int index);

  // Both throw the data file's error and then leave things as they were.
  void StartLogging(const std::string& fileName);
  void StartReplay(const std::string& fileName);

  // The receive loop and its state; the window only applies what it returns.
  TMonitor& Receiver() { return Monitor; }
  // Runs while a replay runs or DSR must be sampled; stopped otherwise, so
  // that the program sleeps until lines arrive.
  QTimer* ReceiveTimer() const { return Timer; }

 public slots:
  void runCommandLine();
  void openSelectedPort();
  // The replay's pace, or DSR sampled where it cannot be waited for.
  void onReceiveTick();
  // The port has lines, or its link changed.
  void onLinesArrived();
  void onDSRChanged(const TDSREdge& edge);
  void onBlinkTick();
  void togglePause();
  void stop();

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private slots:
  void logToDisk();
  void replayFromDisk();
  void clearReceivedData();
  // The logo and the link caption both lead to the web address.
  void openWebAddress();
  void jumpInReplay(qulonglong epoch);
  void showPortToolTips();

 private:
  void SetUpControls();
  void ConnectHandlers();
  void SetFileMenus(bool logEnabled, bool replayEnabled);
  // Applies a step's results, painted once after it; a failure is reported
  // after the step has returned, so no message box holds the loop up.
  void ApplyStep(const TTickResult& result);
  // Lines arrived: taken at the next turn of the event loop, once however
  // often the port said so.
  void PostArrival();
  void ShowModeIndicator(bool visible);
  void ShowStopped();
  // The monitor started from empty: so do the fix display and the windows.
  void ShowFreshStart();
  // Each timer runs only while it has work, and the status bar follows.
  void UpdateTimers();
  // The seek bar follows the replay while one runs.
  void UpdateSeekBar();

  std::unique_ptr<Ui::TMainWindow> ui;
  TAppSettings Settings;
  TMonitor Monitor;
  TModalRunner ModalRunner;
  TUrlOpener UrlOpener;
  TSharing* Sharing;
  TMainStatusBar* StatusBar;
  TToolWindows* ToolWindows;
  TOptionDialogs* Dialogs;
  TFileChoices* Files;
  TReceivedDataView* ReceiveData;
  TSeekBar* SeekBar;
  TFramePacer* Pacer = nullptr;
  QButtonGroup* ComPortGroup = nullptr;
  QTimer* Timer = nullptr;
  QTimer* Blinker = nullptr;
  QIcon SavedIcon;
  std::vector<std::string> Arguments;
  bool ArrivalPosted = false;
  bool FirstShow = true;
};
