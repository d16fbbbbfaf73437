#pragma once
// The main window: port selector, fix display, received-data view, and the
// receive loop that ties the serial port, the decoder, the log file and the
// display together. Everything runs on the GUI thread, one timer tick at a
// time.

#include <QIcon>
#include <QMainWindow>
#include <QPixmap>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "monitor/DataFile.h"
#include "nmea/NMEA.h"
#include "serial/PortSource.h"
#include "serial/Serial.h"

class QButtonGroup;
class QColor;
class QDialog;
class QFileDialog;
class QTimer;
class TFieldFormatsForm;
class TGeneralOptionsForm;
class TReceivedDataView;
class TReplayRateForm;
class TSendCommandForm;

namespace Ui {
class TMainForm;
}

// The dialogs the main window opens and reads; they are created after the
// window and handed to it before it is first shown.
struct TMainDialogs {
  TReplayRateForm* ReplayRate = nullptr;
  TGeneralOptionsForm* GeneralOptions = nullptr;
  TSendCommandForm* SendCommand = nullptr;
  TFieldFormatsForm* FieldFormats = nullptr;
};

class TMainForm : public QMainWindow {
  Q_OBJECT

 public:
  // Shows a modal dialog and returns its result; tests answer instead.
  using TModalRunner = std::function<int(QDialog& dialog)>;
  using TUrlOpener = std::function<void(const QString& url)>;
  // The receive timer's interval whenever no replay sets the pace.
  static constexpr int kIdleInterval = 10;

  explicit TMainForm(QWidget* parent = nullptr);  // FormCreate
  ~TMainForm() override;                          // FormDestroy

  void SetDialogs(const TMainDialogs& dialogs);
  // The arguments after the program name, acted on by FormShow.
  void SetCommandLine(std::vector<std::string> arguments);
  // What each port selection opens; empty for real serial devices.
  void SetDeviceFactory(TSerial::TDeviceFactory factory);
  void SetModalRunner(TModalRunner runner);
  void SetUrlOpener(TUrlOpener opener);
  // The current port for the dialogs: nullptr while the window holds none.
  TPortSource PortSource();

  // Port selector: -1 for none, 0..7 for "COM1:".."COM8:". Setting it does
  // not open anything; ComPortClick does.
  int ComPortIndex() const;
  void SetComPortIndex(int index);

  void FormShow();
  void ComPortClick();
  void ReceiveTimerTimer();

  void StartLogging(const std::string& fileName);
  void StartReplay(const std::string& fileName);
  void Logtodisk1Click();
  void Replayfromdisk1Click();
  void PauseButtonClick();
  void Setreplayrate1Click();
  void StopButtonClick();

  void Exit1Click();
  void Clearreceiveddata1Click();
  void Generaloptions1Click();
  void Fieldformats1Click();
  void Sendcommand1Click();
  void LogoClick();
  void LinkCaptionClick();

  // The fix display, refreshed after each decoded sentence of its type.
  void ShowGGA();
  void ShowRMC();
  void ShowSatellites();
  void ShowGSA();
  void ShowRME();
  // Field access by component name, over every control of that name in the
  // window; a missing field reads as empty text.
  std::string GetFieldText(const std::string& name) const;
  void SetFieldText(const std::string& name, const std::string& text = {});
  // Position is brought into the bar's 0..60; the colour is its background.
  void SetSNRBar(const std::string& name, int position, const QColor& colour);

  // The monitoring state.
  TNMEA Decoder;
  std::unique_ptr<TSerial> Port;
  bool Logging = false;
  bool Replaying = false;
  TDataFile DataFile;
  uint32_t StartTick = 0;
  int32_t LastDSR = -1;  // -1 nothing drawn yet, 0 off, 1 on
  int32_t BlinkCount = 0;
  QIcon SavedIcon;
  QTimer* ReceiveTimer = nullptr;
  std::array<QPixmap, 2> ImageList;  // dark lamp, lit lamp
  QFileDialog* SaveDialog = nullptr;
  QFileDialog* OpenDialog = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void SetUpControls();
  void SetUpFileDialogs();
  void ConnectHandlers();
  void ClosePort();
  void SetFileMenus(bool logEnabled, bool replayEnabled);
  int RunModal(QDialog& dialog);
  std::string ChooseFile(QFileDialog& dialog);
  void OpenWebAddress();

  void Blink();
  std::string NextLine();
  void SampleDSR();
  bool Filtered(TSentenceResult result) const;
  std::string Stamp(const TGeneralOptionsForm& options) const;
  void ShowSentence(TSentenceResult result);

  std::unique_ptr<Ui::TMainForm> ui;
  TReceivedDataView* ReceiveData = nullptr;
  QButtonGroup* ComPortGroup = nullptr;
  TMainDialogs Dialogs;
  std::vector<std::string> Arguments;
  TSerial::TDeviceFactory DeviceFactory;
  TModalRunner ModalRunner;
  TUrlOpener UrlOpener;
  bool FirstShow = true;
};
