// The receive loop: one tick of the receive timer takes at most one line,
// from the replay file or the serial port, and carries it through the
// decoder, the filters, the timestamp, the view, the log and the display.

#include <QApplication>
#include <QPainter>

#include "app/MainFrm.h"
#include "app/ReceivedDataView.h"
#include "monitor/Timestamp.h"
#include "common/Clock.h"
#include "options/GeneralOptionsFrm.h"
#include "ui_MainFrm.h"

namespace {

constexpr int32_t kBlinkTicksWhileLogging = 10;
constexpr int kLocalTimeFormat = 1;

}  // namespace

void TMainForm::ReceiveTimerTimer() {
  Blink();
  std::string line = NextLine();
  if (line.empty()) return;
  const TSentenceResult result = Decoder.Decode(line);
  if (Filtered(result)) return;
  const TGeneralOptionsForm* options = Dialogs.GeneralOptions;
  if (options && options->RecordTimestamps()) line = StampedLine(Stamp(*options), line);
  ReceiveData->AppendLine(line);
  if (Logging) DataFile.WriteLine(line);
  ShowSentence(result);
}

// The mode caption blinks every 11th tick while logging and on every tick
// (one replay period) while replaying; the taskbar icon blinks with it.
void TMainForm::Blink() {
  ++BlinkCount;
  if (!((Logging && BlinkCount > kBlinkTicksWhileLogging) || Replaying)) return;
  const bool nowVisible = ui->ModeCaption->isHidden();
  ui->ModeCaption->setVisible(nowVisible);
  QApplication::setWindowIcon(nowVisible ? SavedIcon : QIcon());
  BlinkCount = 0;
}

std::string TMainForm::NextLine() {
  if (Replaying) {
    if (ui->PauseButton->text() == "Resume") return {};
    if (DataFile.Eof()) {
      StopButtonClick();
      return {};
    }
    return DataFile.ReadLine();
  }
  if (Port && Port->IsOpen()) {
    SampleDSR();
    return Port->ReadLine();
  }
  return {};
}

// DSR is the receiver's 1 PPS output: the lamp follows it, and each rising
// edge seen at a tick sends the PPS command once.
void TMainForm::SampleDSR() {
  const int32_t dsr = Port->GetDSR() ? 1 : 0;
  if (dsr == LastDSR) return;
  QPixmap picture(ui->PPSImage->size());
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.drawPixmap(0, 0, ImageList[static_cast<std::size_t>(dsr)]);
  painter.end();
  ui->PPSImage->setPixmap(picture);
  ui->PPSImage->repaint();
  LastDSR = dsr;
  if (dsr != 1 || !Dialogs.GeneralOptions) return;
  const std::string command = Dialogs.GeneralOptions->PPSCommand();
  if (!command.empty()) Port->Send(command + "\r\n");
}

bool TMainForm::Filtered(TSentenceResult result) const {
  const TGeneralOptionsForm* options = Dialogs.GeneralOptions;
  if (!options) return false;
  switch (result) {
    case srBadChecksum:
    case srInvalid:
      return options->IgnoreInvalid();
    case srGGA:
      return options->IgnoreGGA();
    case srRMC:
      return options->IgnoreRMC();
    case srGSV:
      return options->IgnoreGSV();
    case srGSA:
      return options->IgnoreGSA();
    case srUnrecognised:
    case srRME:
      return false;
  }
  return false;
}

std::string TMainForm::Stamp(const TGeneralOptionsForm& options) const {
  if (options.TimestampFormat() == kLocalTimeFormat) return ClockStamp(Clock::Now());
  return RelativeStamp(Clock::TickCount(), StartTick);
}

void TMainForm::ShowSentence(TSentenceResult result) {
  switch (result) {
    case srGGA:
      return ShowGGA();
    case srRMC:
      return ShowRMC();
    case srGSV:
      return ShowSatellites();
    case srGSA:
      return ShowGSA();
    case srRME:
      return ShowRME();
    case srBadChecksum:
    case srUnrecognised:
    case srInvalid:
      return;
  }
}
