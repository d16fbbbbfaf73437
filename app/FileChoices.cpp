#include "app/FileChoices.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QSaveFile>

#include "app/ErrorReport.h"
#include "app/FileDialogs.h"
#include "common/HandlerErrors.h"
#include "history/TrackWriter.h"
#include "monitor/Monitor.h"

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

// The typed name's extension wins over the filter shown: "x.kml" is KML
// whichever type the list had selected.
const TExportType& ExportType(const QString& fileName, const QString& filter) {
  const QString suffix = QFileInfo(fileName).suffix();
  for (const TExportType& type : kExportTypes) {
    if (suffix.compare(type.Suffix, Qt::CaseInsensitive) == 0) return type;
  }
  return ExportTypeOf(filter);
}

}  // namespace

TFileChoices::TFileChoices(QWidget& owner, QMenu& file, QAction* before, const TMonitor& monitor,
                           const TModalRunner& modalRunner)
    : QObject(&owner), Owner(owner), Monitor(monitor), ModalRunner(modalRunner) {
  auto* exportTrack = new QAction("Export track...", &owner);
  exportTrack->setObjectName("actionExportTrack");
  file.insertAction(before, exportTrack);
  connect(exportTrack, &QAction::triggered, this, Reported([this] { this->exportTrack(); }));
}

QFileDialog& TFileChoices::LogDialog(bool saving) {
  QFileDialog*& dialog = saving ? SaveDialog : OpenDialog;
  if (dialog) return *dialog;
  dialog = new QFileDialog(&Owner);
  dialog->setObjectName(saving ? "SaveDialog" : "OpenDialog");
  dialog->setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog->setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog->setNameFilters(LogFileFilters());
  dialog->setDefaultSuffix("TXT");
  dialog->selectFile("GPS");
  return *dialog;
}

std::string TFileChoices::ChooseLog(bool saving) {
  QFileDialog& dialog = LogDialog(saving);
  RecallFilesPlace(dialog, Settings);
  return ChosenFile(dialog, ModalRunner, Settings);
}

QFileDialog& TFileChoices::TrackDialog() {
  if (ExportDialog) return *ExportDialog;
  ExportDialog = new QFileDialog(&Owner);
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

void TFileChoices::exportTrack() {
  QFileDialog& dialog = TrackDialog();
  if (RunModal(ModalRunner, dialog) != QDialog::Accepted) return;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty()) return;
  const TExportType& type = ExportType(files.first(), dialog.selectedNameFilter());
  // The dialog comes back with the type last used.
  dialog.selectNameFilter(type.Filter);
  dialog.setDefaultSuffix(type.Suffix);
  const std::string text = TrackText(Monitor.History(), type.Format);
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
