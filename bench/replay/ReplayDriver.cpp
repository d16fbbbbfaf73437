// The program as bench/replay-cost runs it: the main window replaying a file
// at a chosen pace, optionally with the Satellites and Statistics windows
// open. Nothing here measures; the script reads the process from outside
// while this runs.
//
//     bench_replay_driver FILE MILLISECONDS [--windows]

#include <QAction>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/AppSettings.h"
#include "app/ErrorReport.h"
#include "app/MainWindow.h"
#include "format/LocaleFormats.h"
#include "options/ReplayRateDialog.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s FILE MILLISECONDS [--windows]\n", argv[0]);
    return 2;
  }
  const std::string file = argv[1];
  const bool windows = argc > 3 && std::string(argv[3]) == "--windows";
  TApplication application(argc, argv);
  TAppSettings().StoreReplaySpeed(std::atoi(argv[2]));

  TMainWindow mainForm;
  mainForm.SetLocaleFormats(SystemLocaleFormats());
  // The pace comes from the replay rate dialog's value; the other dialogs
  // play no part in a replay.
  TMainDialogs dialogs;
  dialogs.ReplayRate = new TReplayRateDialog(&mainForm);
  mainForm.SetDialogs(dialogs);
  mainForm.show();
  if (windows) {
    for (const char* action : {"actionSatellites", "actionStatistics"})
      mainForm.findChild<QAction*>(action)->trigger();
  }
  mainForm.StartReplay(file);
  TApplication::exec();
  return 0;
}
