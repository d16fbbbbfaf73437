#pragma once
// The main window's file dialogs: Log to disk, Replay from disk and File,
// "Export track...", which writes the monitor's history as GPX, KML or CSV
// by the file type chosen. Each dialog is made when first wanted: a file
// dialog watches its folder from the moment it is made, and wakes the
// program for it. Kept from then on, so that it comes back where the user
// left it.

#include <QObject>
#include <string>

#include "app/AppSettings.h"
#include "app/ModalRunner.h"

class QAction;
class QFileDialog;
class QMenu;
class QWidget;
class TMonitor;

class TFileChoices : public QObject {
  Q_OBJECT

 public:
  // Puts "Export track..." into `file` before `before`.
  TFileChoices(QWidget& owner, QMenu& file, QAction* before, const TMonitor& monitor,
               const TModalRunner& modalRunner);

  // The file chosen in the Log to disk dialog (saving) or the Replay from
  // disk one, in the system's encoding; empty when none was.
  std::string ChooseLog(bool saving);

 private slots:
  void exportTrack();

 private:
  QFileDialog& LogDialog(bool saving);
  QFileDialog& TrackDialog();

  QWidget& Owner;
  TAppSettings Settings;
  const TMonitor& Monitor;
  const TModalRunner& ModalRunner;
  QFileDialog* SaveDialog = nullptr;
  QFileDialog* OpenDialog = nullptr;
  QFileDialog* ExportDialog = nullptr;
};
