// The program entry: the application, the main window and its seven dialogs,
// created in that order and living for the whole run. Told to stop by a
// signal, the program closes its window and ends as closing it does, then
// ends by that signal.

#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

#include "app/ErrorReport.h"
#include "app/Images.h"
#include "app/MainWindow.h"
#include "app/StartCommand.h"
#include "format/FieldFormatsDialog.h"
#include "format/LocaleFormats.h"
#include "options/GeneralOptionsDialog.h"
#include "options/MqttDialog.h"
#include "options/PortsDialog.h"
#include "options/ReplayRateDialog.h"
#include "options/ShareDialog.h"
#include "source/SendCommandDialog.h"
#include "source/StopSignals.h"

namespace {

// Runs the program; the signal that told it to stop, or 0.
int Run(int argc, char** argv) {
  TApplication application(argc, argv);
  // Numbers are written with "." whatever the user's regional settings, for
  // the whole run (QApplication takes the user's locale above); the locale
  // still names days and months.
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName("Tolvane");
  QApplication::setWindowIcon(ApplicationIcon());

  // Made before the window, so that a signal that comes while the window
  // writes out at its end still finds its handler. Closing the windows is the
  // one way out; quitting also ends the loop of a dialog or message box that
  // is open meanwhile.
  const TStopSignals stopSignals([](int) {
    QApplication::closeAllWindows();
    QCoreApplication::quit();
  });
  TMainWindow mainForm;
  mainForm.SetLocaleFormats(SystemLocaleFormats());
  // Parented to the main window: centred on it, and destroyed after it.
  TMainDialogs dialogs;
  dialogs.ReplayRate = new TReplayRateDialog(&mainForm);
  dialogs.GeneralOptions = new TGeneralOptionsDialog(&mainForm);
  dialogs.SendCommand = new TSendCommandDialog(mainForm.PortSource(), &mainForm);
  dialogs.FieldFormats = new TFieldFormatsDialog(&mainForm);
  dialogs.Ports = new TPortsDialog(&mainForm);
  dialogs.Share = new TShareDialog(&mainForm);
  dialogs.Mqtt = new TMqttDialog(&mainForm);
  mainForm.SetDialogs(dialogs);
  // Arguments as the system gave them: file names stay in its own encoding.
  mainForm.SetCommandLine(std::vector<std::string>(argv + 1, argv + argc));

  mainForm.show();
  TApplication::exec();
  return stopSignals.Received();
}

}  // namespace

int main(int argc, char** argv) {
  // Answered before any window system is asked for, so that it works without
  // a display.
  if (const auto info = CommandLineInfo(std::vector<std::string>(argv + 1, argv + argc))) {
    std::fputs(info->c_str(), stdout);
    return 0;
  }
  // Everything is written out and closed before the signal ends the process.
  EndBySignal(Run(argc, argv));
  return 0;
}
