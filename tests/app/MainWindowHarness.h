#pragma once
// The main window as the program builds it (window first, then its
// dialogs), with everything a test needs in its hands: injected clocks, a
// scripted serial device behind every COM slot, message boxes recorded
// instead of shown, and modal dialogs answered by the test. Tests run the
// loop's steps themselves (Ticks); the timers fire and the port's arrivals
// are taken only where a test runs the event loop.

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/ErrorReport.h"
#include "app/MainWindow.h"
#include "app/ReceivedDataView.h"
#include "common/Clock.h"
#include "common/Routines.h"
#include "format/FieldFormatsDialog.h"
#include "options/GeneralOptionsDialog.h"
#include "options/MqttDialog.h"
#include "options/PortsDialog.h"
#include "options/ReplayRateDialog.h"
#include "options/ShareDialog.h"
#include "source/SendCommandDialog.h"
#include "tests/support/ScriptedSerialDevice.h"
#include "tests/support/SettingsHome.h"

// What the user gets by choosing the menu item `action` of `main`.
inline void Choose(QWidget& main, const char* action) {
  main.findChild<QAction*>(action)->trigger();
}

struct TShownMessage {
  TMessageKind Kind;
  std::string Text;
  bool operator==(const TShownMessage&) const = default;
  friend void PrintTo(const TShownMessage& message, std::ostream* out) {
    *out << static_cast<int>(message.Kind) << " \"" << message.Text << "\"";
  }
};

class TWindowHarness {
 public:
  explicit TWindowHarness(std::vector<std::string> arguments = {}) {
    Clock::SetTickSource([this] { return Tick; });
    Clock::SetNowSource([this] { return Now; });
    SetMessageSink([this](TMessageKind kind, const std::string& text) {
      Messages.push_back({kind, text});
      if (WhileMessageOpen) WhileMessageOpen();
    });
    Main = std::make_unique<TMainWindow>();
    Dialogs.ReplayRate = new TReplayRateDialog(Main.get());
    Dialogs.GeneralOptions = new TGeneralOptionsDialog(Main.get());
    Dialogs.SendCommand = new TSendCommandDialog(Main->PortSource(), Main.get());
    Dialogs.FieldFormats = new TFieldFormatsDialog(Main.get());
    Dialogs.Ports = new TPortsDialog(Main.get(), [this] { return FoundPorts; });
    Dialogs.Share = new TShareDialog(Main.get());
    Dialogs.Mqtt = new TMqttDialog(Main.get());
    Main->SetDialogs(Dialogs);
    Main->SetDeviceFactory(TScriptedSerialDevice::Factory(Script));
    Main->SetModalRunner([this](QDialog& dialog) {
      Modals.push_back(&dialog);
      return AnswerModal ? AnswerModal(dialog) : int(QDialog::Rejected);
    });
    Main->SetCommandLine(std::move(arguments));
  }

  ~TWindowHarness() {
    Main.reset();
    ShowWaitingErrors();
    SetMessageSink({});
    Clock::SetTickSource({});
    Clock::SetNowSource({});
  }

  // Runs a handler as the event dispatch would: what it throws is reported,
  // and the error boxes open once it has returned.
  void Dispatch(const std::function<void()>& handler) {
    try {
      handler();
    } catch (const std::exception& error) {
      ReportError(error.what());
    }
    ShowWaitingErrors();
  }

  // One receive timer period each (10 ms when the timer rests): its tick (a
  // replay line, a DSR sample), whatever arrived, and the blink when its own
  // period is up.
  void Ticks(int count) {
    for (int tick = 0; tick < count; ++tick) {
      const QTimer* receive = Main->ReceiveTimer();
      const int period = receive->isActive() ? receive->interval() : TMonitor::kIdleInterval;
      Dispatch([this] { Main->onReceiveTick(); });
      Dispatch([this] { Main->onLinesArrived(); });
      const auto* blink = Find<QTimer>("BlinkTimer");
      BlinkDueMs = blink->isActive() ? BlinkDueMs + period : 0;
      if (blink->isActive() && BlinkDueMs >= blink->interval()) {
        BlinkDueMs = 0;
        Dispatch([this] { Main->onBlinkTick(); });
      }
    }
  }

  void SelectPort(int index) {
    Main->SetComPortIndex(index);
    Dispatch([this] { Main->openSelectedPort(); });
  }

  template <typename T>
  T* Find(const char* name) const {
    return Main->findChild<T*>(name);
  }

  void Check(const char* option, bool on = true) { Find<QCheckBox>(option)->setChecked(on); }

  std::vector<std::string> Shown() const {
    const auto* view = Find<TReceivedDataView>("ReceiveData");
    std::vector<std::string> lines;
    for (std::size_t index = 0; index < view->LineCount(); ++index)
      lines.push_back(view->Line(index));
    return lines;
  }

  std::vector<std::string> ErrorsShown() const {
    std::vector<std::string> errors;
    for (const auto& message : Messages)
      if (message.Kind == TMessageKind::Error) errors.push_back(message.Text);
    return errors;
  }

  TTempSettingsHome Home;
  std::shared_ptr<TSerialScript> Script = std::make_shared<TSerialScript>();
  uint32_t Tick = 1000;
  TDateTime Now = 45356.5;  // 5 March 2024, noon
  std::unique_ptr<TMainWindow> Main;
  TMainDialogs Dialogs;
  std::vector<TShownMessage> Messages;
  // What the Ports dialog finds, in place of the machine's serial ports.
  std::vector<TPortInfo> FoundPorts;
  std::function<void()> WhileMessageOpen;
  std::vector<QDialog*> Modals;
  std::function<int(QDialog&)> AnswerModal;
  int BlinkDueMs = 0;  // of the blink timer's period, as Ticks count time
};
