// The program entry: the application, the main window and its five dialogs,
// created in that order and living for the whole run.

#include <string>
#include <vector>

#include "app/ErrorReport.h"
#include "app/Images.h"
#include "app/MainFrm.h"
#include "format/FieldFormatsFrm.h"
#include "format/LocaleFormats.h"
#include "options/GeneralOptionsFrm.h"
#include "options/PortsFrm.h"
#include "options/ReplayRateFrm.h"
#include "source/SendCommandFrm.h"

int main(int argc, char** argv) {
  TApplication application(argc, argv);
  QApplication::setApplicationName("Tolvane");
  QApplication::setWindowIcon(ApplicationIcon());

  TMainForm mainForm;
  mainForm.SetLocaleFormats(SystemLocaleFormats());
  // Parented to the main window: centred on it, and destroyed after it.
  TMainDialogs dialogs;
  dialogs.ReplayRate = new TReplayRateForm(&mainForm);
  dialogs.GeneralOptions = new TGeneralOptionsForm(&mainForm);
  dialogs.SendCommand = new TSendCommandForm(mainForm.PortSource(), &mainForm);
  dialogs.FieldFormats = new TFieldFormatsForm(&mainForm);
  dialogs.Ports = new TPortsForm(&mainForm);
  mainForm.SetDialogs(dialogs);
  // Arguments as the system gave them: file names stay in its own encoding.
  mainForm.SetCommandLine(std::vector<std::string>(argv + 1, argv + argc));

  mainForm.show();
  TApplication::exec();
  return 0;
}
