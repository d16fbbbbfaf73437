#pragma once
// SIGTERM (a shutdown, `kill`), SIGINT (Ctrl+C in the terminal that started
// the program) and SIGHUP (that terminal closed) end the program the way
// closing its window does (the log is written out and closed and the settings
// are stored), and end tolvane-decode --follow with its output written out. The signal handler only
// writes the signal's number into a pipe; the event loop reads it and calls the handler, where Qt
// may be used. A signal that was ignored when the program started stays ignored.

#include <QObject>
#include <functional>
#include <vector>

class QSocketNotifier;

class TStopSignals : public QObject {
 public:
  // Called once, from the event loop, for the first of the signals.
  using TStopHandler = std::function<void(int signalNumber)>;

  explicit TStopSignals(TStopHandler onStop, QObject* parent = nullptr);
  // The signals get their default actions back.
  ~TStopSignals() override;
  TStopSignals(const TStopSignals&) = delete;
  TStopSignals& operator=(const TStopSignals&) = delete;

  // The first signal taken, 0 while there was none.
  int Received() const { return Signal; }

 private:
  void onSignalPipe();

  TStopHandler OnStop;
  QSocketNotifier* Notifier = nullptr;
  std::vector<int> Handled;  // the signals given to the handler
  int Signal = 0;
};

// Ends the process by `signalNumber` with its default action, so that a shell
// or a service manager sees the program ended as it was told; returns at once
// for 0.
void EndBySignal(int signalNumber);
