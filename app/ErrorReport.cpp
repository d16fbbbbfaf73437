#include "app/ErrorReport.h"

#include <QMessageBox>
#include <QTimer>
#include <algorithm>
#include <deque>
#include <exception>

namespace {

TMessageSink& Sink() {
  static TMessageSink sink;
  return sink;
}

void ShowBox(QMessageBox::Icon icon, const std::string& text) {
  QMessageBox box(icon, QStringLiteral("Tolvane"), QString::fromLocal8Bit(text), QMessageBox::Ok,
                  QApplication::activeWindow());
  box.exec();
}

void Show(TMessageKind kind, const std::string& text) {
  if (Sink()) return Sink()(kind, text);
  if (kind == TMessageKind::Warning) QApplication::beep();
  ShowBox(kind == TMessageKind::Error ? QMessageBox::Critical : QMessageBox::NoIcon, text);
}

// The error box on screen, if any, and the other texts waiting for it.
struct TErrorBoxes {
  bool Open = false;
  bool Scheduled = false;
  std::string OpenText;
  std::deque<std::string> Waiting;
};

TErrorBoxes& Boxes() {
  static TErrorBoxes boxes;
  return boxes;
}

bool IsQueued(const TErrorBoxes& boxes, const std::string& text) {
  return text == boxes.OpenText ||
         std::find(boxes.Waiting.begin(), boxes.Waiting.end(), text) != boxes.Waiting.end();
}

}  // namespace

void SetMessageSink(TMessageSink sink) {
  Sink() = std::move(sink);
}

void ShowNotice(const std::string& text) {
  Show(TMessageKind::Notice, text);
}

void ShowWarning(const std::string& text) {
  Show(TMessageKind::Warning, text);
}

std::string ErrorBoxText(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + '.';
  return message;
}

// Shows every waiting text, one box after the other. Called from the event
// loop, never from inside the handler that raised the error.
void ShowWaitingErrors() {
  TErrorBoxes& boxes = Boxes();
  boxes.Scheduled = false;
  // Called while a box is open: its own loop below shows the rest.
  if (boxes.Open) return;
  while (!boxes.Waiting.empty()) {
    boxes.OpenText = boxes.Waiting.front();
    boxes.Waiting.pop_front();
    boxes.Open = true;
    try {
      Show(TMessageKind::Error, boxes.OpenText);
    } catch (...) {
      boxes = {};
      throw;
    }
    boxes.Open = false;
    boxes.OpenText.clear();
  }
}

void ReportError(const std::string& message) {
  TErrorBoxes& boxes = Boxes();
  const std::string text = ErrorBoxText(message);
  if (!IsQueued(boxes, text)) boxes.Waiting.push_back(text);
  if (boxes.Open || boxes.Scheduled) return;
  if (!QCoreApplication::instance()) return ShowWaitingErrors();
  boxes.Scheduled = true;
  QTimer::singleShot(0, QCoreApplication::instance(), [] {
    // Nothing is left to tell of a box that could not be shown.
    try {
      ShowWaitingErrors();
    } catch (...) {
    }
  });
}

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
  SetErrorHook(ReportError);
}

TApplication::~TApplication() {
  SetErrorHook({});
}

// The last resort for a handler that was connected without Reported.
bool TApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    HandleCurrentException();
  }
  return false;
}
