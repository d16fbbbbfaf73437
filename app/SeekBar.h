#pragma once
// The seek bar under the received data while a replay runs: the position in
// the log as the UTC time of day of its epoch, the log's first and last
// times either side, dates too where the log spans days. Positions are
// epochs in file order, so a log across midnight or of several sessions
// keeps its order. Clicking or dragging jumps; while the bar has focus,
// Space pauses and resumes, Left and Right step one epoch, Page Up and Page
// Down one minute. Until the index is ready the bar shows the indexing's
// progress and cannot be moved.

#include <QWidget>

class QLabel;
class QSlider;
class TReplayIndex;

class TSeekBar : public QWidget {
  Q_OBJECT
 public:
  explicit TSeekBar(QWidget* parent = nullptr);

  // Indexing under way: its progress, the bar disabled.
  void ShowIndexing(int percent);
  // The index is ready (it outlives its use here until the next call).
  void SetIndex(const TReplayIndex* index);
  const TReplayIndex* Index() const { return Positions; }
  // Where the replay stands; ignored while the user drags.
  void ShowEpoch(size_t epoch);
  size_t Epoch() const;

 signals:
  void jumpRequested(qulonglong epoch);
  void pauseRequested();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The epoch a minute on from `epoch` (back for a negative `seconds`).
  size_t EpochAfter(size_t epoch, double seconds) const;
  void RequestJump(size_t epoch);
  void ShowPositionText(size_t epoch);

  QSlider* Slider;
  QLabel* Start;
  QLabel* Position;
  QLabel* End;
  const TReplayIndex* Positions = nullptr;
  bool WithDates = false;
};
