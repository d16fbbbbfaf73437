#include "app/RawLogAction.h"

#include <QAction>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QTimer>

#include "app/ErrorReport.h"
#include "app/FileDialogs.h"
#include "common/HandlerErrors.h"
#include "monitor/Monitor.h"

TRawLogAction::TRawLogAction(QWidget& owner, QMenu& file, QAction* before, QStatusBar& statusBar,
                             TMonitor& monitor, const TModalRunner& modalRunner)
    : QObject(&owner),
      Owner(owner),
      Monitor(monitor),
      ModalRunner(modalRunner),
      Action(new QAction("Log raw bytes...", &owner)),
      Status(new QLabel(&statusBar)),
      Timer(new QTimer(this)) {
  Action->setObjectName("actionLogRawBytes");
  Action->setShortcut(QKeySequence("Ctrl+Shift+L"));
  Action->setCheckable(true);
  file.insertAction(before, Action);
  // Checking is the log's to decide: a dialog cancelled leaves it unchecked.
  connect(Action, &QAction::triggered, this, Reported([this] { toggle(); }));
  Status->setObjectName("RawLogStatus");
  Status->hide();
  statusBar.addPermanentWidget(Status);
  Timer->setObjectName("RawLogTimer");
  Timer->setInterval(kStatusInterval);
  connect(Timer, &QTimer::timeout, this, &TRawLogAction::follow);
}

void TRawLogAction::toggle() {
  if (Monitor.RawLog().Running()) return Stop();
  Show();
  if (!Monitor.Port() && !Monitor.Replaying()) return ShowWarning("Please open COM port first");
  const std::string fileName = Choose();
  if (!fileName.empty()) Start(fileName);
}

void TRawLogAction::Start(const std::string& fileName) {
  try {
    Monitor.StartRawLog(fileName);
  } catch (...) {
    Show();
    throw;
  }
  Timer->start();
  Show();
}

void TRawLogAction::Stop() {
  Monitor.StopRawLog();
  Timer->stop();
  Show();
}

// The log may have ended without the action: a write that failed, or Stop.
void TRawLogAction::follow() {
  const std::string failure = Monitor.RawLog().TakeFailure();
  if (!Monitor.RawLog().Running()) Timer->stop();
  Show();
  if (!failure.empty()) ReportError(failure);
}

void TRawLogAction::Show() {
  const bool running = Monitor.RawLog().Running();
  Action->setChecked(running);
  Status->setVisible(running);
  if (running) Status->setText(QString::fromStdString(RawLogStatusText(Monitor.RawLog().Size())));
}

QFileDialog& TRawLogAction::Dialog() {
  if (SaveDialog) return *SaveDialog;
  SaveDialog = new QFileDialog(&Owner);
  SaveDialog->setObjectName("RawLogDialog");
  SaveDialog->setAcceptMode(QFileDialog::AcceptSave);
  SaveDialog->setFileMode(QFileDialog::AnyFile);
  SaveDialog->setNameFilters(RawLogFilters());
  return *SaveDialog;
}

std::string TRawLogAction::Choose() {
  QFileDialog& dialog = Dialog();
  RecallFilesPlace(dialog, Settings);
  const QString suffix = Monitor.SentUbx() ? "ubx" : "bin";
  dialog.selectNameFilter(RawLogFilter(suffix));
  dialog.setDefaultSuffix(suffix);
  dialog.selectFile("GPS." + suffix);
  return ChosenFile(dialog, ModalRunner, Settings);
}
