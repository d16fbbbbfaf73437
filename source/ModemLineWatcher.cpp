#include "source/ModemLineWatcher.h"

#include <QMetaObject>
#include <QObject>
#include <cerrno>
#include <chrono>

#ifdef __linux__
#include <pthread.h>
#include <sys/ioctl.h>
#include <termios.h>

#include <csignal>
#endif

namespace {

#ifdef __linux__
// The signal that ends a wait in the driver: its handler does nothing, and
// it is installed without SA_RESTART, so the ioctl returns with EINTR.
int WakeSignal() {
  return SIGRTMIN + 2;
}

void InstallWakeHandler() {
  static const bool installed = [] {
    struct sigaction action {};
    action.sa_handler = [](int) {};
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;
    return sigaction(WakeSignal(), &action, nullptr) == 0;
  }();
  (void)installed;
}

std::optional<bool> DSRLevel(int fd) {
  int lines = 0;
  if (::ioctl(fd, TIOCMGET, &lines) != 0) return std::nullopt;
  return (lines & TIOCM_DSR) != 0;
}
#endif

}  // namespace

bool TModemLineWatcher::Start(int fd, QObject* context, IModemLines::TEdgeHandler onEdge,
                              std::function<void()> onFailed) {
  Stop();
#ifdef __linux__
  if (fd < 0 || !DSRLevel(fd)) return false;
  InstallWakeHandler();
  Stopping = false;
  Ended = false;
  Thread = std::thread(&TModemLineWatcher::Run, this, fd, context, std::move(onEdge),
                       std::move(onFailed));
  return true;
#else
  (void)fd;
  (void)context;
  (void)onEdge;
  (void)onFailed;
  return false;
#endif
}

void TModemLineWatcher::Stop() {
  if (!Thread.joinable()) return;
  Stopping = true;
#ifdef __linux__
  // The signal may come just before the thread enters the wait: it is sent
  // again until the thread has ended.
  while (!Ended) {
    pthread_kill(Thread.native_handle(), WakeSignal());
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
#endif
  Thread.join();
}

void TModemLineWatcher::Run(int fd, QObject* context, const IModemLines::TEdgeHandler& onEdge,
                            const std::function<void()>& onFailed) {
#ifdef __linux__
  std::optional<bool> last = DSRLevel(fd);
  while (!Stopping) {
    if (::ioctl(fd, TIOCMIWAIT, TIOCM_DSR) != 0) {
      if (errno == EINTR) continue;
      // EIO: the device went away, which its reading notices by itself.
      if (errno != EIO && context)
        QMetaObject::invokeMethod(context, onFailed, Qt::QueuedConnection);
      break;
    }
    const auto at = std::chrono::steady_clock::now();
    const std::optional<bool> level = DSRLevel(fd);
    if (!level || level == last) continue;
    last = level;
    const TDSREdge edge{*level, at};
    if (context)
      QMetaObject::invokeMethod(
          context, [onEdge, edge] { onEdge(edge); }, Qt::QueuedConnection);
  }
#else
  (void)fd;
  (void)context;
  (void)onEdge;
  (void)onFailed;
#endif
  Ended = true;
}
