#pragma once
// Every message box of the program goes through here: the plain notices
// ("Please open COM port first", the command-line messages) and the error box
// of the top-level report, which catches whatever a handler throws at the
// event dispatch and lets the program carry on. Tests install a sink to see
// what would be shown without any box blocking them.

#include <QApplication>
#include <functional>
#include <string>

#include "common/HandlerErrors.h"

enum class TMessageKind {
  Notice,   // plain box with OK
  Warning,  // the exclamation beep, then a plain box with OK
  Error,    // error box of the top-level report
};

// Shows one message and returns when the user has dismissed it; a sink that
// stands for a modal box may run the event loop meanwhile, as a box does.
using TMessageSink = std::function<void(TMessageKind kind, const std::string& text)>;

// An empty sink restores the real message boxes.
void SetMessageSink(TMessageSink sink);

void ShowNotice(const std::string& text);
void ShowWarning(const std::string& text);

// The message as the error box shows it: a full stop is added when the last
// character sorts after ".".
std::string ErrorBoxText(const std::string& message);

// Shows an error box for `message` once the event loop is back, never inside
// the handler that failed: a box runs its own loop, and a timer whose handler
// has not returned would not fire again until the box closed. One box at a
// time: while a box is open or waiting the same text is not queued again (an
// error that repeats on every tick would otherwise pile up boxes), and other
// texts wait until it is closed.
void ReportError(const std::string& message);
// Shows at once whatever waits: for when no event loop will run again (at
// exit), and for tests that stand in for the event loop.
void ShowWaitingErrors();

// The application object of the program. It points the handlers' error hook
// (common/HandlerErrors.h) at ReportError, and its event dispatch catches
// whatever a handler connected without Reported still throws.
class TApplication : public QApplication {
 public:
  TApplication(int& argc, char** argv);
  ~TApplication() override;
  bool notify(QObject* receiver, QEvent* event) override;
};
