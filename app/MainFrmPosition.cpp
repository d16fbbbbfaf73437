// How good the fix is: Tools, "Position..." opens the Position window, which
// follows the monitor's history; File, "Export track..." writes that history
// as GPX, KML or CSV, by the file type chosen in the save dialog.

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QSaveFile>

#include "app/ErrorReport.h"
#include "app/FramePacer.h"
#include "app/MainFrm.h"
#include "app/PositionFrm.h"
#include "common/HandlerErrors.h"
#include "history/TrackWriter.h"
#include "ui_MainFrm.h"

namespace {

struct TExportType {
  const char* Filter;
  const char* Suffix;
  TTrackFormat Format;
};

const TExportType kExportTypes[] = {
    {"GPX 1.1 (*.gpx)", "gpx", TTrackFormat::Gpx},
    {"KML 2.2 (*.kml)", "kml", TTrackFormat::Kml},
    {"CSV (*.csv)", "csv", TTrackFormat::Csv},
};

const TExportType& ExportTypeOf(const QString& filter) {
  for (const TExportType& type : kExportTypes) {
    if (filter == type.Filter) return type;
  }
  return kExportTypes[0];
}

}  // namespace

void TMainForm::SetUpPositionMenus() {
  auto* position = new QAction("Position...", this);
  position->setObjectName("actionPosition");
  position->setShortcut(QKeySequence("Ctrl+P"));
  ui->menuTools->addAction(position);
  connect(position, &QAction::triggered, this, Reported([this] { showPosition(); }));

  auto* exportTrack = new QAction("Export track...", this);
  exportTrack->setObjectName("actionExportTrack");
  // With the other file actions, before the separator above Exit.
  const QList<QAction*> fileActions = ui->menuFile->actions();
  const qsizetype replay = fileActions.indexOf(ui->actionReplayFromDisk);
  ui->menuFile->insertAction(fileActions.value(replay + 1), exportTrack);
  connect(exportTrack, &QAction::triggered, this, Reported([this] { this->exportTrack(); }));
}

QFileDialog& TMainForm::TrackFileDialog() {
  if (ExportDialog) return *ExportDialog;
  ExportDialog = new QFileDialog(this);
  ExportDialog->setObjectName("ExportDialog");
  ExportDialog->setAcceptMode(QFileDialog::AcceptSave);
  ExportDialog->setFileMode(QFileDialog::AnyFile);
  QStringList filters;
  for (const TExportType& type : kExportTypes) filters << type.Filter;
  ExportDialog->setNameFilters(filters);
  ExportDialog->setDefaultSuffix(kExportTypes[0].Suffix);
  ExportDialog->selectFile("Track");
  connect(ExportDialog, &QFileDialog::filterSelected, ExportDialog, [this](const QString& filter) {
    ExportDialog->setDefaultSuffix(ExportTypeOf(filter).Suffix);
  });
  return *ExportDialog;
}

void TMainForm::showPosition() {
  if (!Position) {
    Position = new TPositionForm(Settings, this);
    new TFramePacer(*Position);
  }
  Position->ShowHistory(Loop.History());
  Position->show();
  Position->raise();
  Position->activateWindow();
}

void TMainForm::exportTrack() {
  QFileDialog& dialog = TrackFileDialog();
  if (RunModal(dialog) != QDialog::Accepted) return;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty()) return;
  const TTrackFormat format = ExportTypeOf(dialog.selectedNameFilter()).Format;
  const std::string text = TrackText(Loop.History(), format);
  QSaveFile file(files.first());
  if (!file.open(QIODevice::WriteOnly) ||
      file.write(text.data(), static_cast<qint64>(text.size())) !=
          static_cast<qint64>(text.size()) ||
      !file.commit()) {
    ShowWarning(QString("Could not write the track to %1: %2")
                    .arg(QDir::toNativeSeparators(files.first()), file.errorString())
                    .toStdString());
  }
}
