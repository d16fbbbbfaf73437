// tolvane-sim: a simulated GPS receiver for demonstrations without hardware
// and for end-to-end tests of the monitor.

#include <QCoreApplication>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <thread>

#include "tools/sim/SimFrames.h"
#include "tools/sim/SimLink.h"
#include "tools/sim/SimOptions.h"
#include "tools/sim/SimReplay.h"
#include "tools/sim/SimSentences.h"
#include "tools/sim/SimSky.h"

namespace {

using TClock = std::chrono::steady_clock;

// The longest a wait goes without looking for Ctrl+C.
constexpr int64_t kListenStepMs = 100;
// How often the simulator looks again while the last lines drain and while
// it waits for a first client: soon enough to notice either at once.
constexpr auto kDrainStep = std::chrono::milliseconds(20);
constexpr auto kClientPoll = std::chrono::milliseconds(50);
// The most the last lines are given to be taken before the far side closes.
constexpr auto kDrainLimit = std::chrono::seconds(2);

volatile std::sig_atomic_t StopRequested = 0;

void RequestStop(int) {
  StopRequested = 1;
}

void InstallStopHandlers() {
#ifdef _WIN32
  std::signal(SIGINT, RequestStop);
  std::signal(SIGTERM, RequestStop);
#else
  // No SA_RESTART: a signal cuts the wait for commands short.
  struct sigaction action {};
  action.sa_handler = RequestStop;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
#endif
}

// Prints each command line the monitor sends as it completes.
class TCommandPrinter {
 public:
  void Take(const std::string& bytes) {
    for (char ch : bytes) {
      if (ch == '\r' || ch == '\n') {
        if (!Pending.empty()) std::cout << "Command: " << Pending << std::endl;
        Pending.clear();
      } else {
        const auto code = static_cast<unsigned char>(ch);
        Pending += code >= 32 && code < 127 ? ch : '.';
      }
    }
  }

 private:
  std::string Pending;
};

// Waits as the simulator waits: printing the commands that come meanwhile,
// and cut short by Ctrl+C.
class TListener {
 public:
  explicit TListener(ISimLink& link) : Link(link) {}

  void ListenUntil(TClock::time_point until) {
    while (!StopRequested) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(until - TClock::now()).count();
      if (left <= 0) return;
      Commands.Take(Link.Receive(static_cast<int>(std::min<int64_t>(left, kListenStepMs))));
    }
  }

  // Gives the monitor a moment to take the last lines before the far side
  // closes under it.
  void Drain() {
    const auto deadline = TClock::now() + kDrainLimit;
    while (!StopRequested && Link.Unread() > 0 && TClock::now() < deadline)
      ListenUntil(TClock::now() + kDrainStep);
  }

 private:
  ISimLink& Link;
  TCommandPrinter Commands;
};

class TSimulator {
 public:
  TSimulator(const TSimOptions& options, ISimLink& link, std::ofstream* echo)
      : Options(options),
        Link(link),
        Listener(link),
        Echo(echo),
        Rng(options.Seed),
        State(InitialState(std::chrono::duration_cast<std::chrono::milliseconds>(
                               std::chrono::system_clock::now().time_since_epoch())
                               .count(),
                           options.Seed)),
        Sky(InitialSky(options.Sky, options.Seed)),
        Frames(options.Ubx, options.Rtcm) {}

  void Run() {
    const auto period = std::chrono::duration<double>(1.0 / Options.Rate);
    auto next = TClock::now();
    while (!StopRequested && !Finished()) {
      SendCycle();
      if (Options.Burst > 0 && Sent % 10 == 0)
        for (int i = 0; i < Options.Burst && !Finished(); ++i) SendCycle();
      next += std::chrono::duration_cast<TClock::duration>(period);
      Listener.ListenUntil(next);
    }
    Listener.Drain();
  }

 private:
  bool Finished() const { return Options.Cycles > 0 && Sent >= Options.Cycles; }

  void SendCycle() {
    const std::vector<std::string> sentences = Options.Sky.Modern()
                                                   ? SkyCycle(State, Sky, Options.Sky)
                                                   : CycleSentences(State, Options.Talker);
    // The frames come whole after the sentences: the faults are the text's.
    const std::string text =
        FaultyCycle(sentences, Options.Faults, Rng) + Frames.Cycle(State, Sky, Options.Sky);
    const size_t taken = Link.Send(text);
    if (Echo != nullptr) Echo->write(text.data(), static_cast<std::streamsize>(taken)).flush();
    Advance(State, 1.0 / Options.Rate, Rng);
    if (Options.Sky.Modern()) AdvanceSky(Sky, 1.0 / Options.Rate, Rng);
    ++Sent;
  }

  const TSimOptions& Options;
  ISimLink& Link;
  TListener Listener;
  std::ofstream* Echo;
  std::mt19937 Rng;
  TSimState State;
  TSimSkyState Sky;
  TSimFrames Frames;
  int64_t Sent = 0;
};

// With TCP the replay waits for its first client, so that nothing of the
// capture goes to nobody.
bool RunReplay(const TSimOptions& options, ISimLink& link, std::ofstream* echo,
               std::string& error) {
  TListener listener(link);
  while (!StopRequested && !link.HasReceiver()) listener.ListenUntil(TClock::now() + kClientPoll);
  TReplayHooks hooks;
  hooks.WaitUntil = [&listener](TClock::time_point until) { listener.ListenUntil(until); };
  hooks.Stopped = [] { return StopRequested != 0; };
  hooks.Echo = echo;
  hooks.Notices = &std::cout;
  if (!ReplayCapture(options, link, hooks, error)) return false;
  listener.Drain();
  return true;
}

// A link left by an earlier run is replaced; anything else at that path is
// left alone.
bool MakeLink(const std::string& link, const std::string& target, std::string& error) {
  namespace fs = std::filesystem;
  std::error_code failure;
  if (fs::is_symlink(fs::symlink_status(link, failure))) fs::remove(link, failure);
  fs::create_symlink(target, link, failure);
  if (failure) error = "cannot link " + link + ": " + failure.message();
  return !failure;
}

void RemoveLink(const std::string& link, const std::string& target) {
  namespace fs = std::filesystem;
  std::error_code failure;
  if (fs::is_symlink(fs::symlink_status(link, failure)) &&
      fs::read_symlink(link, failure) == target)
    fs::remove(link, failure);
}

std::unique_ptr<ISimLink> OpenLink(const TSimOptions& options, std::string& error) {
  if (options.TcpPort >= 0) return OpenTcpLink(static_cast<uint16_t>(options.TcpPort), error);
  if (!options.Udp.empty()) return OpenUdpLink(options.Udp, error);
  if (!options.Device.empty()) return OpenSerialLink(options.Device, options.Baud, error);
  return OpenPtyLink(error);
}

int Fail(const std::string& message) {
  std::cerr << "tolvane-sim: " << message << "\n";
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName("tolvane-sim");
  QCoreApplication::setApplicationVersion(TOLVANE_VERSION);
  TSimOptions options;
  std::string error;
  if (!ParseSimOptions(QCoreApplication::arguments(), options, error)) {
    std::cerr << "tolvane-sim: " << error << "\n" << options.Usage;
    return 2;
  }
  if (options.Help || options.Version) {
    std::cout << (options.Help ? options.Usage : "tolvane-sim " TOLVANE_VERSION "\n");
    return 0;
  }
  if (!options.Replay.empty() && !std::ifstream(options.Replay, std::ios::binary))
    return Fail("cannot read " + options.Replay);
  InstallStopHandlers();
  std::unique_ptr<ISimLink> link = OpenLink(options, error);
  if (!link) return Fail(error);

  std::ofstream echo;
  if (!options.Echo.empty()) {
    echo.open(options.Echo, std::ios::binary | std::ios::trunc);
    if (!echo) return Fail("cannot write " + options.Echo);
  }
  if (!options.Link.empty() && !MakeLink(options.Link, link->Path(), error)) return Fail(error);
  // First line of output: the path to open, once the link stands too.
  std::cout << link->Path() << std::endl;

  std::ofstream* echoing = echo.is_open() ? &echo : nullptr;
  bool sent = true;
  if (options.Replay.empty())
    TSimulator(options, *link, echoing).Run();
  else
    sent = RunReplay(options, *link, echoing, error);

  if (!options.Link.empty()) RemoveLink(options.Link, link->Path());
  return sent ? 0 : Fail(error);
}
