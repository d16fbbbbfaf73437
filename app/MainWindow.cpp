#include "app/MainWindow.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDesktopServices>
#include <QMouseEvent>
#include <QRadioButton>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include "app/ErrorReport.h"
#include "app/FileChoices.h"
#include "app/FlatPanel.h"
#include "app/FramePacer.h"
#include "app/Images.h"
#include "app/MainStatusBar.h"
#include "app/RawLogAction.h"
#include "app/ReceivedDataView.h"
#include "app/SeekBar.h"
#include "app/Sharing.h"
#include "app/StartCommand.h"
#include "app/ToolWindows.h"
#include "common/HandlerErrors.h"
#include "ui_MainWindow.h"

namespace {

// The web address link's font, as the original window drew it.
constexpr const char* kLinkFont = "Arial";
constexpr int kLinkFontPixels = 12;
// The top panel's margin right of its rightmost control.
constexpr int kTopPanelMargin = 8;

}  // namespace

TMainWindow::TMainWindow(QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::TMainWindow>()) {
  ui->setupUi(this);
  ReceiveData = ui->ReceiveData;
  SavedIcon = QApplication::windowIcon();
  Sharing = new TSharing(Monitor, this);
  StatusBar = new TMainStatusBar(Monitor, *Sharing, this);
  setStatusBar(StatusBar);
  ToolWindows = new TToolWindows(*this, *ui->menuTools, Monitor, *Sharing, ModalRunner);
  StatusBar->SetWanted([this] { return ToolWindows->StatisticsVisible(); });
  Dialogs = new TOptionDialogs(*this, *ui->menuOptions, Monitor, *Sharing, ModalRunner);
  Dialogs->SetHeldSlot([this] { return ComPortIndex(); });
  // With the other file actions, before the separator above Exit.
  const QList<QAction*> fileActions = ui->menuFile->actions();
  Files = new TFileChoices(*this, *ui->menuFile,
                           fileActions.value(fileActions.indexOf(ui->actionReplayFromDisk) + 1),
                           Monitor, ModalRunner);
  // Owned by the window, as Qt's children are.
  new TRawLogAction(*this, *ui->menuFile, ui->actionReplayFromDisk, *StatusBar, Monitor,
                    ModalRunner);
  SeekBar = new TSeekBar(ui->BottomPanel);
  ui->BottomLayout->addWidget(SeekBar);
  SeekBar->hide();
  SetUpControls();
  ConnectHandlers();
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
  Monitor.SetPortProviders(std::move(providers));
  PaintPanelFlat(*centralWidget());
  Pacer = new TFramePacer(*this);
  StatusBar->Follow();
}

TMainWindow::~TMainWindow() {
  Timer->stop();
  Blinker->stop();
  delete ToolWindows;                     // keeps the windows' places while they stand
  Monitor.SetFreshStartHandler(nullptr);  // nothing is left to show it
  // A destructor must not throw; a log that cannot be written out at exit
  // is still reported before the program ends.
  try {
    Monitor.Stop();
  } catch (const std::exception& error) {
    ReportError(error.what());
    ShowWaitingErrors();
  }
  delete Sharing;  // lets go of the monitor's lines while the monitor stands
}

void TMainWindow::SetUpControls() {
  // The top panel's controls sit at fixed places: the window is never made
  // narrower than they reach, so none is cut off.
  ui->TopPanel->setMinimumWidth(ui->TopPanel->childrenRect().right() + 1 + kTopPanelMargin);
  ComPortGroup = new QButtonGroup(this);
  for (int index = 0; index < kPortCount; ++index) {
    auto* button = findChild<QRadioButton*>(QString("ComPort%1").arg(index + 1));
    button->installEventFilter(this);
    ComPortGroup->addButton(button, index);
  }
  showPortToolTips();
  // The fix fields and the satellite table wear the button face, so they read
  // as display rather than as something to type into.
  for (auto* field : ui->TopPanel->findChildren<QLineEdit*>()) {
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    field->setPalette(palette);
  }
  ui->PauseButton->hide();
  ui->Logo->setPixmap(LogoPixmap());
  QFont link(kLinkFont);
  link.setPixelSize(kLinkFontPixels);
  link.setUnderline(true);
  ui->LinkCaption->setFont(link);
  ui->Logo->installEventFilter(this);
  ui->LinkCaption->installEventFilter(this);
}

void TMainWindow::ConnectHandlers() {
  Timer = new QTimer(this);
  Timer->setObjectName("ReceiveTimer");
  Timer->setInterval(TMonitor::kIdleInterval);
  connect(Timer, &QTimer::timeout, this, &TMainWindow::onReceiveTick);
  Blinker = new QTimer(this);
  Blinker->setObjectName("BlinkTimer");
  connect(Blinker, &QTimer::timeout, this, &TMainWindow::onBlinkTick);
  Monitor.SetArrivalHandler([this] { PostArrival(); });
  Monitor.SetDSRHandler([this](const TDSREdge& edge) { onDSRChanged(edge); });
  Monitor.SetFreshStartHandler([this] { ShowFreshStart(); });
  connect(ComPortGroup, &QButtonGroup::idToggled, this, [this](int, bool checked) {
    if (checked) Reported([this] { openSelectedPort(); })();
  });
  connect(ui->StopButton, &QPushButton::clicked, this, Reported([this] { stop(); }));
  connect(ui->PauseButton, &QPushButton::clicked, this, Reported([this] { togglePause(); }));
  connect(ui->actionExit, &QAction::triggered, this, &QWidget::close);
  const std::pair<QAction*, std::function<void()>> actions[] = {
      {ui->actionClearReceivedData, [this] { clearReceivedData(); }},
      {ui->actionLogToDisk, [this] { logToDisk(); }},
      {ui->actionReplayFromDisk, [this] { replayFromDisk(); }},
      {ui->actionSendCommand, [this] { Dialogs->showSendCommand(); }},
      {ui->actionGeneralOptions, [this] { Dialogs->showGeneralOptions(); }},
      {ui->actionFieldFormats, [this] { Dialogs->showFieldFormats(); }},
      {ui->actionPorts, [this] { Dialogs->showPorts(); }},
      {ui->actionSetReplayRate, [this] { Dialogs->showReplayRate(); }},
  };
  for (const auto& [action, handler] : actions)
    connect(action, &QAction::triggered, this, Reported(handler));
  connect(Dialogs, &TOptionDialogs::portsStored, this, &TMainWindow::showPortToolTips);
  connect(Dialogs, &TOptionDialogs::heldSlotMoved, this, &TMainWindow::openSelectedPort);
  connect(Dialogs, &TOptionDialogs::replayPaceChanged, this, &TMainWindow::UpdateTimers);
  connect(Sharing, &TSharing::changed, StatusBar, &TMainStatusBar::Follow);
  connect(ToolWindows, &TToolWindows::statusNeeded, StatusBar, &TMainStatusBar::Follow);
  connect(StatusBar, &TMainStatusBar::refreshed, ToolWindows, &TToolWindows::showStatistics);
  connect(ReceiveData, &TReceivedDataView::oldestLinesDropped, StatusBar,
          &TMainStatusBar::showDroppedLines);
  connect(SeekBar, &TSeekBar::jumpRequested, this, &TMainWindow::jumpInReplay);
  connect(SeekBar, &TSeekBar::pauseRequested, this, [this] {
    if (Monitor.Replaying()) togglePause();
  });
}

void TMainWindow::SetDialogs(const TMainDialogs& dialogs) {
  Dialogs->SetDialogs(dialogs);
}

void TMainWindow::SetLocaleFormats(const TLocaleFormats& locale) {
  Dialogs->SetLocaleFormats(locale);
}

void TMainWindow::SetDeviceFactory(TPortSlot::TDeviceFactory factory) {
  Monitor.SetDeviceFactory(std::move(factory));
}

TPortSource TMainWindow::PortSource() {
  return [this] { return Monitor.Port(); };
}

int TMainWindow::ComPortIndex() const {
  return ComPortGroup->checkedId();
}

void TMainWindow::SetComPortIndex(int index) {
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

void TMainWindow::showPortToolTips() {
  for (int index = 0; index < kPortCount; ++index)
    if (QAbstractButton* button = ComPortGroup->button(index))
      button->setToolTip(QString::fromStdString(Settings.PortToolTip(index)));
}

void TMainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!FirstShow) return;
  FirstShow = false;
  // After the window is on screen, so that a message about the command line
  // appears over it.
  QTimer::singleShot(0, this, Reported([this] { runCommandLine(); }));
}

void TMainWindow::runCommandLine() {
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
      if (command.Speed) Dialogs->UseRecordedPace(*command.Speed);
      return StartReplay(command.FileName);
    case TStartAction::Log:
      if (command.PortIndex && *command.PortIndex != ComPortIndex()) {
        SetComPortIndex(*command.PortIndex);
        openSelectedPort();
      }
      return StartLogging(command.FileName);
  }
}

void TMainWindow::openSelectedPort() {
  if (ComPortIndex() < 0) return;
  try {
    Monitor.OpenPort(ComPortIndex());
  } catch (...) {
    SetComPortIndex(-1);
    UpdateTimers();
    throw;
  }
  ui->actionReplayFromDisk->setEnabled(false);
  UpdateTimers();
  // The lamp's first state, and whatever came with the opening.
  onLinesArrived();
}

void TMainWindow::SetFileMenus(bool logEnabled, bool replayEnabled) {
  ui->actionLogToDisk->setEnabled(logEnabled);
  ui->actionReplayFromDisk->setEnabled(replayEnabled);
}

void TMainWindow::clearReceivedData() {
  ReceiveData->Clear();
  Monitor.ClearEpochs();
  ToolWindows->Clear();
}

void TMainWindow::openWebAddress() {
  const QString url = "http://" + ui->LinkCaption->text();
  if (UrlOpener) return UrlOpener(url);
  QDesktopServices::openUrl(QUrl(url));
}

bool TMainWindow::eventFilter(QObject* watched, QEvent* event) {
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
