#pragma once
// The main window's status bar: the receiver's own jamming verdict first
// when it warns, then an alarm when there is one, then where
// lines come from, their rate, the bad checksums and the age of the last
// line, then the fix label, and after them the sharing. Short of room, the
// sharing is elided first. Refreshed twice a second while anything runs,
// never from the receive tick itself; notices cover the fields for a while.

#include <QStatusBar>
#include <array>
#include <functional>
#include <string>

class QTimer;
class TElidedLabel;
class TMonitor;
class TSharing;

class TMainStatusBar : public QStatusBar {
  Q_OBJECT

 public:
  TMainStatusBar(const TMonitor& monitor, const TSharing& sharing, QWidget* parent = nullptr);

  // Whether something besides the monitor and the sharing wants the fields
  // kept fresh (the Statistics window's "Last seen").
  void SetWanted(std::function<bool()> wanted) { Wanted = std::move(wanted); }
  // Writes the fields now, and keeps refreshing them while anything runs.
  void Follow();
  // A gap the replay crossed, for a few seconds over the fields.
  void ShowReplayNotice(const std::string& text);
  // The received-data view could not move its oldest lines to disk.
  void showDroppedLines(qulonglong count);

 signals:
  // After each refresh, with the tick it was made at.
  void refreshed(uint32_t nowMs);

 private:
  void Refresh();
  void ShowJammingStatus(uint32_t now);
  void ShowFixStatus();

  const TMonitor& Monitor;
  const TSharing& Sharing;
  std::function<bool()> Wanted;
  QTimer* Timer;
  TElidedLabel* JammingStatus;            // the receiver's MON-RF verdict
  TElidedLabel* AlarmStatus;              // interference
  std::array<TElidedLabel*, 4> Fields{};  // source, rate, bad checksums, age
  TElidedLabel* FixStatus;                // DGPS, RTK
  TElidedLabel* ShareStatus;
};
