#include "source/StopSignals.h"

#include <QSocketNotifier>

#ifdef Q_OS_UNIX

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace {

constexpr int kStopSignals[] = {SIGTERM, SIGINT, SIGHUP};

// Both ends of the self-pipe, kept for the whole run: a signal may come while
// the handler object is being destroyed, and the pipe must still be there.
int PipeEnds[2] = {-1, -1};

// Only async-signal-safe calls here. A full pipe already holds a signal.
void OnSignal(int signalNumber) {
  const int savedErrno = errno;
  const unsigned char byte = static_cast<unsigned char>(signalNumber);
  [[maybe_unused]] const ssize_t written = write(PipeEnds[1], &byte, 1);
  errno = savedErrno;
}

bool OpenPipe() {
  if (PipeEnds[0] >= 0) return true;
  return pipe2(PipeEnds, O_CLOEXEC | O_NONBLOCK) == 0;
}

void SetAction(int signalNumber, void (*handler)(int)) {
  struct sigaction action = {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(signalNumber, &action, nullptr);
}

// A signal ignored by whoever started the program (`nohup` ignores SIGHUP, a
// shell's background job SIGINT) stays ignored.
bool Ignored(int signalNumber) {
  struct sigaction current = {};
  return sigaction(signalNumber, nullptr, &current) == 0 && current.sa_handler == SIG_IGN;
}

}  // namespace

TStopSignals::TStopSignals(TStopHandler onStop, QObject* parent)
    : QObject(parent), OnStop(std::move(onStop)) {
  // Without the pipe the signals keep their default actions: the program
  // still ends, only without writing out.
  if (!OpenPipe()) return;
  Notifier = new QSocketNotifier(PipeEnds[0], QSocketNotifier::Read, this);
  connect(Notifier, &QSocketNotifier::activated, this, [this] { onSignalPipe(); });
  for (const int signalNumber : kStopSignals) {
    if (Ignored(signalNumber)) continue;
    SetAction(signalNumber, OnSignal);
    Handled.push_back(signalNumber);
  }
}

TStopSignals::~TStopSignals() {
  for (const int signalNumber : Handled) SetAction(signalNumber, SIG_DFL);
}

void TStopSignals::onSignalPipe() {
  unsigned char byte = 0;
  bool taken = false;
  while (read(PipeEnds[0], &byte, 1) == 1) {
    // The first signal counts; one that follows while the program is ending
    // asks for nothing more.
    if (Signal != 0) continue;
    Signal = byte;
    taken = true;
  }
  if (taken && OnStop) OnStop(Signal);
}

void EndBySignal(int signalNumber) {
  if (signalNumber == 0) return;
  SetAction(signalNumber, SIG_DFL);
  raise(signalNumber);
}

#else

TStopSignals::TStopSignals(TStopHandler onStop, QObject* parent)
    : QObject(parent), OnStop(std::move(onStop)) {}

TStopSignals::~TStopSignals() = default;

void TStopSignals::onSignalPipe() {}

void EndBySignal(int) {}

#endif
