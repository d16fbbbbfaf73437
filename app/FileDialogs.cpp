#include "app/FileDialogs.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>

#include "common/Settings.h"

QStringList LogFileFilters() {
  return {"Text files (*.TXT)", "NMEA logs (*.log *.nmea *.txt *.TXT)", "All files (*.*)"};
}

QStringList RawLogFilters() {
  return {"u-blox logs (*.ubx)", "Binary files (*.bin)", "All files (*.*)"};
}

QString RawLogFilter(const QString& suffix) {
  for (const QString& filter : RawLogFilters())
    if (filter.contains("*." + suffix + ")")) return filter;
  return RawLogFilters().back();
}

void RecallFilesPlace(QFileDialog& dialog, const TAppSettings& settings) {
  const TFilesPlace place = settings.FilesPlace();
  const QString folder = QFile::decodeName(place.Folder.c_str());
  if (!folder.isEmpty() && QDir(folder).exists()) dialog.setDirectory(folder);
  const QString filter = QString::fromStdString(place.Filter);
  if (dialog.nameFilters().contains(filter)) dialog.selectNameFilter(filter);
}

void KeepFilesPlace(const QFileDialog& dialog, TAppSettings& settings) {
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty()) return;
  // The chosen file's folder: a path typed in may lead away from the one shown.
  const QString folder = QFileInfo(files.first()).absolutePath();
  try {
    settings.StoreFilesPlace(
        {QFile::encodeName(folder).toStdString(), dialog.selectedNameFilter().toStdString()});
  } catch (const ESettingsError&) {
  }
}

std::string ChosenFile(QFileDialog& dialog, const TModalRunner& runner, TAppSettings& settings) {
  if (RunModal(runner, dialog) != QDialog::Accepted) return {};
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty()) return {};
  KeepFilesPlace(dialog, settings);
  return QFile::encodeName(files.first()).toStdString();
}
