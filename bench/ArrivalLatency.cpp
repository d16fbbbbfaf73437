// Arrival to view: a receiver on a pseudo-terminal sends 100 lines a second
// to the real program's main window; each line's latency runs from its write
// to the end of the turn of the event loop that took it into the
// received-data view (and painted). Reported as p50, p99 and the
// largest, in milliseconds, over 500 lines.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "app/MainWindow.h"
#include "app/ReceivedDataView.h"
#include "common/Routines.h"

namespace {

using TClock = std::chrono::steady_clock;

constexpr int kLines = 500;
constexpr auto kPeriod = std::chrono::milliseconds(10);

QApplication& Application() {
  static int argc = 1;
  static char name[] = "bench_ArrivalLatency";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication application(argc, argv);
  return application;
}

// The far side of a new pseudo-terminal (-1 when none can be had), and the
// device path the program opens.
int OpenPseudoTerminal(std::string& path) {
  const int far = ::posix_openpt(O_RDWR | O_NOCTTY);
  if (far < 0 || ::grantpt(far) != 0 || ::unlockpt(far) != 0) return -1;
  path = ::ptsname(far);
  return far;
}

double Percentile(std::vector<double> values, double share) {
  std::sort(values.begin(), values.end());
  const auto index = static_cast<size_t>(std::lround(share * double(values.size() - 1)));
  return values[index];
}

void ArrivalToView(benchmark::State& state) {
  Application();
  QTemporaryDir home;
  qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
  std::string path;
  const int far = OpenPseudoTerminal(path);
  if (far < 0) return state.SkipWithError("no pseudo-terminal");
  qputenv("TOLVANE_COM1", QByteArray::fromStdString(path));
  TMainWindow window;
  window.show();
  window.SetComPortIndex(0);
  window.openSelectedPort();
  const auto* view = window.findChild<TReceivedDataView*>("ReceiveData");
  const size_t shownBefore = view->LineCount();

  std::vector<TClock::time_point> sent(kLines), shown;
  shown.reserve(kLines);
  // After each turn of the event loop: the lines it brought into the view.
  const auto noteShown = [&] {
    const auto now = TClock::now();
    while (shownBefore + shown.size() < view->LineCount()) shown.push_back(now);
  };
  for (auto _ : state) {
    std::thread receiver([&] {
      const auto start = TClock::now();
      for (int line = 0; line < kLines; ++line) {
        std::this_thread::sleep_until(start + line * kPeriod);
        const std::string text =
            FrameSentence("GPGLL,4916.45,N,12311.12,W," + std::to_string(line) + ",A") + "\r\n";
        sent[line] = TClock::now();
        if (::write(far, text.data(), text.size()) != ssize_t(text.size())) break;
      }
    });
    QElapsedTimer running;
    running.start();
    while (shown.size() < size_t(kLines) && running.elapsed() < 20000) {
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
      noteShown();
    }
    receiver.join();
  }
  window.stop();
  ::close(far);
  if (shown.size() < size_t(kLines)) return state.SkipWithError("lines were lost");
  std::vector<double> latencies;
  latencies.reserve(kLines);
  for (int line = 0; line < kLines; ++line)
    latencies.push_back(
        std::chrono::duration<double, std::milli>(shown[line] - sent[line]).count());
  state.counters["p50 ms"] = Percentile(latencies, 0.50);
  state.counters["p99 ms"] = Percentile(latencies, 0.99);
  state.counters["max ms"] = *std::max_element(latencies.begin(), latencies.end());
}
BENCHMARK(ArrivalToView)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
