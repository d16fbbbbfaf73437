#pragma once
// File, "Log raw bytes...": a raw log of every byte the source delivers
// (monitor/RawLog.h), beside or instead of the text log. The action is
// checked while the log runs; choosing it again stops it. The save dialog
// suggests .ubx once the source has sent UBX frames (a u-blox receiver,
// whose raw log RTKLIB reads), .bin otherwise. While the log runs a label
// in the status bar gives its size, a few times a second; a write that
// fails stops the log, and the window says why in its error box.

#include <QObject>
#include <string>

#include "app/AppSettings.h"
#include "app/ModalRunner.h"

class QAction;
class QFileDialog;
class QLabel;
class QMenu;
class QStatusBar;
class QTimer;
class QWidget;
class TMonitor;

class TRawLogAction : public QObject {
  Q_OBJECT

 public:
  static constexpr int kStatusInterval = 250;

  // Puts the action into `file` before `before` and the size label at the
  // right of `statusBar`.
  TRawLogAction(QWidget& owner, QMenu& file, QAction* before, QStatusBar& statusBar,
                TMonitor& monitor, const TModalRunner& modalRunner);

  // Starts the log without asking (the tests, a command line).
  void Start(const std::string& fileName);
  void Stop();

 private slots:
  void toggle();
  void follow();

 private:
  QFileDialog& Dialog();
  // The file chosen, in the system's encoding; empty when none was.
  std::string Choose();
  // The action and the label as the log stands.
  void Show();

  QWidget& Owner;
  TAppSettings Settings;
  TMonitor& Monitor;
  const TModalRunner& ModalRunner;
  QAction* Action;
  QLabel* Status;
  QTimer* Timer;
  QFileDialog* SaveDialog = nullptr;
};
