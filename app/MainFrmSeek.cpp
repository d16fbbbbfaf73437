// The seek bar under the received data: shown while a replay runs, usable
// once the monitor has indexed the file, and a jump applied as any step is.

#include <QVBoxLayout>

#include "app/MainFrm.h"
#include "app/ReceivedDataView.h"
#include "app/SeekBar.h"
#include "ui_MainFrm.h"

void TMainForm::SetUpSeekBar() {
  SeekBar = new TSeekBar(ui->BottomPanel);
  ui->BottomLayout->addWidget(SeekBar);
  SeekBar->hide();
  connect(SeekBar, &TSeekBar::jumpRequested, this, &TMainForm::jumpInReplay);
  connect(SeekBar, &TSeekBar::pauseRequested, this, [this] {
    if (Loop.Replaying()) togglePause();
  });
}

void TMainForm::UpdateSeekBar() {
  if (!Loop.Replaying()) return;
  SeekBar->show();
  const TReplayIndex* index = Loop.Replay().Index();
  if (!index) return SeekBar->ShowIndexing(Loop.Replay().IndexPercent());
  if (SeekBar->Index() != index) SeekBar->SetIndex(index);
  SeekBar->ShowEpoch(Loop.Replay().Epoch());
}

void TMainForm::jumpInReplay(qulonglong epoch) {
  ApplyStep(Loop.JumpTo(static_cast<size_t>(epoch)));
  UpdateReceiveTimer();
}
