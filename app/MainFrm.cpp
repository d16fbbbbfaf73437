#include "app/MainFrm.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QMouseEvent>
#include <QRadioButton>
#include <QTimer>
#include <QUrl>
#include <clocale>

#include "app/ErrorReport.h"
#include "app/FileDialogs.h"
#include "app/FlatPanel.h"
#include "app/FramePacer.h"
#include "app/Images.h"
#include "app/PositionFrm.h"
#include "app/ReceivedDataView.h"
#include "app/SatellitesFrm.h"
#include "app/StartCommand.h"
#include "options/ReplayRateFrm.h"
#include "source/MqttPublisher.h"
#include "source/Relay.h"
#include "source/SendCommandFrm.h"
#include "ui_MainFrm.h"

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent), ui(std::make_unique<Ui::TMainForm>()) {
  ui->setupUi(this);
  ReceiveData = ui->ReceiveData;
  LoadFieldFormats();
  // Numbers are written with "." whatever the user's regional settings, for
  // the whole run; the locale still names days and months.
  std::setlocale(LC_NUMERIC, "C");
  SavedIcon = QApplication::windowIcon();
  ImageList = {LampPixmap(false), LampPixmap(true)};
  SetUpControls();
  SetUpSeekBar();
  ConnectHandlers();
  Timer = new QTimer(this);
  Timer->setObjectName("ReceiveTimer");
  Timer->setInterval(TMonitor::kIdleInterval);
  connect(Timer, &QTimer::timeout, this, [this] { onReceiveTick(); });
  Blinker = new QTimer(this);
  Blinker->setObjectName("BlinkTimer");
  connect(Blinker, &QTimer::timeout, this, [this] { onBlinkTick(); });
  Loop.SetArrivalHandler([this] { PostArrival(); });
  Loop.SetDSRHandler([this](const TDSREdge& edge) { onDSRChanged(edge); });
  // The slot's path and the baud rate are read from the store at every open,
  // so that a hand edit between two opens is seen.
  TPortProviders providers;
  providers.Path = [this](int index) { return Settings.PortDevicePath(index); };
  providers.BaudRate = [this](int index) { return Settings.BaudRate(index); };
  providers.FoundRate = [this](int index) { return Settings.FoundBaudRate(index); };
  // A rate that cannot be remembered is only searched for again next time.
  providers.KeepFoundRate = [this](int index, int32_t rate) {
    try {
      Settings.StoreFoundBaudRate(index, rate);
    } catch (const std::exception&) {
    }
  };
  Loop.SetPortProviders(std::move(providers));
  SetUpStatusBar();
  SetUpSharing();
  SetUpCharts();
  PaintPanelFlat(*centralWidget());
  Pacer = new TFramePacer(*this);
  SetUpHelpMenu();
  SetUpPositionMenus();
}

TMainForm::~TMainForm() {
  Timer->stop();
  Blinker->stop();
  SaveWindowGeometry();
  // A destructor must not throw; a log that cannot be written out at exit
  // is still reported before the program ends.
  try {
    Loop.Stop();
  } catch (const std::exception& error) {
    ReportError(error.what());
    ShowWaitingErrors();
  }
}

void TMainForm::SetUpControls() {
  // The top panel's controls sit at fixed places: the window is never made
  // narrower than they reach, so none is cut off.
  ui->TopPanel->setMinimumWidth(ui->TopPanel->childrenRect().right() + 1 + 8);
  ComPortGroup = new QButtonGroup(this);
  for (int index = 0; index < kPortCount; ++index) {
    auto* button = findChild<QRadioButton*>(QString("ComPort%1").arg(index + 1));
    button->installEventFilter(this);
    ComPortGroup->addButton(button, index);
  }
  ShowPortToolTips();
  // The fix fields and the satellite table wear the button face, so they read
  // as display rather than as something to type into.
  for (auto* field : ui->TopPanel->findChildren<QLineEdit*>()) {
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    field->setPalette(palette);
  }
  ui->PauseButton->hide();
  ui->Logo->setPixmap(LogoPixmap());
  QFont link("Arial");
  link.setPixelSize(12);
  link.setUnderline(true);
  ui->LinkCaption->setFont(link);
  ui->Logo->installEventFilter(this);
  ui->LinkCaption->installEventFilter(this);
}

// Made when first wanted: a file dialog watches its folder from the moment it
// is made, and wakes the program for it. Kept from then on, so that it comes
// back where the user left it.
QFileDialog& TMainForm::LogFileDialog(bool saving) {
  QFileDialog*& dialog = saving ? SaveDialog : OpenDialog;
  if (dialog) return *dialog;
  dialog = new QFileDialog(this);
  dialog->setObjectName(saving ? "SaveDialog" : "OpenDialog");
  dialog->setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog->setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog->setNameFilters(LogFileFilters());
  dialog->setDefaultSuffix("TXT");
  dialog->selectFile("GPS");
  return *dialog;
}

void TMainForm::ConnectHandlers() {
  connect(ComPortGroup, &QButtonGroup::idToggled, this, [this](int, bool checked) {
    if (checked) Reported([this] { openSelectedPort(); })();
  });
  connect(ui->StopButton, &QPushButton::clicked, this, Reported([this] { stop(); }));
  connect(ui->PauseButton, &QPushButton::clicked, this, Reported([this] { togglePause(); }));
  const std::pair<QAction*, void (TMainForm::*)()> actions[] = {
      {ui->actionClearReceivedData, &TMainForm::clearReceivedData},
      {ui->actionLogToDisk, &TMainForm::logToDisk},
      {ui->actionReplayFromDisk, &TMainForm::replayFromDisk},
      {ui->actionExit, &TMainForm::quit},
      {ui->actionSendCommand, &TMainForm::showSendCommand},
      {ui->actionGeneralOptions, &TMainForm::showGeneralOptions},
      {ui->actionFieldFormats, &TMainForm::showFieldFormats},
      {ui->actionPorts, &TMainForm::showPorts},
      {ui->actionSetReplayRate, &TMainForm::showReplayRate},
  };
  // Copied by an init-capture: clang 14 cannot capture a structured binding.
  for (const auto& [action, handler] : actions)
    connect(action, &QAction::triggered, this,
            Reported([this, handler = handler] { (this->*handler)(); }));
}

void TMainForm::SetCommandLine(std::vector<std::string> arguments) {
  Arguments = std::move(arguments);
}

void TMainForm::SetDeviceFactory(TSerial::TDeviceFactory factory) {
  Loop.SetDeviceFactory(std::move(factory));
}

void TMainForm::SetModalRunner(TModalRunner runner) {
  ModalRunner = std::move(runner);
}

void TMainForm::SetUrlOpener(TUrlOpener opener) {
  UrlOpener = std::move(opener);
}

TPortSource TMainForm::PortSource() {
  return [this] { return Loop.Port(); };
}

int TMainForm::ComPortIndex() const {
  return ComPortGroup->checkedId();
}

void TMainForm::SetComPortIndex(int index) {
  // Setting the selection from code never counts as the user's choice.
  const QSignalBlocker blocker(ComPortGroup);
  if (QAbstractButton* button = ComPortGroup->button(index)) {
    button->setChecked(true);
    return;
  }
  // An exclusive group keeps one button checked; let go of it to show none.
  ComPortGroup->setExclusive(false);
  if (QAbstractButton* checked = ComPortGroup->checkedButton()) checked->setChecked(false);
  ComPortGroup->setExclusive(true);
}

void TMainForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!FirstShow) return;
  FirstShow = false;
  // After the window is on screen, so that a message about the command line
  // appears over it.
  QTimer::singleShot(0, this, Reported([this] { runCommandLine(); }));
}

void TMainForm::runCommandLine() {
  const TStartCommand command = ParseStartCommand(Arguments);
  switch (command.Action) {
    case TStartAction::None:
      return;
    case TStartAction::BadCount:
      return ShowNotice(kBadCountMessage);
    case TStartAction::BadCommand:
      return ShowNotice(kBadCommandMessage);
    case TStartAction::BadSpeed:
      return ShowNotice(kBadSpeedMessage);
    case TStartAction::Replay:
      if (command.Speed) {
        UseReplayPacing({TReplayMode::RecordedPace, *command.Speed});
        if (Dialogs.ReplayRate) Dialogs.ReplayRate->SetReplayPacing(ReplayPacing);
      }
      return StartReplay(command.FileName);
    case TStartAction::Log:
      if (command.PortIndex && *command.PortIndex != ComPortIndex()) {
        SetComPortIndex(*command.PortIndex);
        openSelectedPort();
      }
      return StartLogging(command.FileName);
  }
}

void TMainForm::openSelectedPort() {
  if (ComPortIndex() < 0) return;
  try {
    Loop.OpenPort(ComPortIndex());
  } catch (...) {
    SetComPortIndex(-1);
    UpdateReceiveTimer();
    throw;
  }
  ui->actionReplayFromDisk->setEnabled(false);
  UpdateReceiveTimer();
  // The lamp's first state, and whatever came with the opening.
  onLinesArrived();
}

namespace {

// Runs `timer` at `interval` ms, touching it only where that changes it.
void RunEvery(QTimer& timer, int interval) {
  if (timer.interval() != interval) timer.setInterval(interval);
  if (!timer.isActive()) timer.start();
}

// The same, but stops it when the interval is 0.
void RunAt(QTimer& timer, int interval) {
  if (interval <= 0) return timer.stop();
  RunEvery(timer, interval);
}

}  // namespace

// Each timer runs only while it has work: lines come by themselves, so a
// program with a port open sleeps until they do.
void TMainForm::UpdateReceiveTimer() {
  ShowStatus();
  // At the recorded pace an interval of 0 is the next turn of the event loop.
  if (Loop.NeedsTicks())
    RunEvery(*Timer, Loop.TickInterval());
  else
    Timer->stop();
  RunAt(*Blinker, Loop.BlinkInterval());
  UpdateStatusTimer();
}

void TMainForm::SetFileMenus(bool logEnabled, bool replayEnabled) {
  ui->actionLogToDisk->setEnabled(logEnabled);
  ui->actionReplayFromDisk->setEnabled(replayEnabled);
}

int TMainForm::RunModal(QDialog& dialog) {
  if (ModalRunner) return ModalRunner(dialog);
  return dialog.exec();
}

std::string TMainForm::ChooseFile(QFileDialog& dialog) {
  RecallFilesPlace(dialog, Settings);
  if (RunModal(dialog) != QDialog::Accepted) return {};
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty()) return {};
  KeepFilesPlace(dialog, Settings);
  return QFile::encodeName(files.first()).toStdString();
}

void TMainForm::quit() {
  close();
}

void TMainForm::clearReceivedData() {
  ReceiveData->Clear();
  Loop.ClearEpochs();
  if (Satellites) Satellites->Clear();
  if (Position) Position->ShowHistory(Loop.History());
  ScheduleCharts();
}

void TMainForm::showSendCommand() {
  if (Loop.Port() && Loop.Port()->IsOpen()) {
    if (Dialogs.SendCommand) RunModal(*Dialogs.SendCommand);
    return;
  }
  ShowWarning("Please open COM port first");
}

void TMainForm::openWebAddress() {
  const QString url = "http://" + ui->LinkCaption->text();
  if (UrlOpener) return UrlOpener(url);
  QDesktopServices::openUrl(QUrl(url));
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  // Read when about to show, so that a hand edit of the store is seen.
  if (event->type() == QEvent::ToolTip) {
    auto* button = qobject_cast<QAbstractButton*>(watched);
    if (const int index = ComPortGroup->id(button); index >= 0)
      button->setToolTip(QString::fromStdString(Settings.PortToolTip(index)));
  }
  if (event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    if (watched == ui->Logo || watched == ui->LinkCaption) openWebAddress();
  }
  return QMainWindow::eventFilter(watched, event);
}
