#include "tools/sim/SimReplay.h"

#include <fstream>
#include <istream>
#include <ostream>

#include "history/ReplayPace.h"
#include "tools/sim/SimOptions.h"

namespace {

using TClock = std::chrono::steady_clock;

// Bytes a TCP client may have waiting before the replay waits for it: as
// fast as possible must not outrun the reader and lose lines.
constexpr size_t kReplayBacklog = 256 * 1024;
// An epoch's lines go out together (one datagram with --udp); as fast as
// possible, in pieces this big, well within a datagram.
constexpr size_t kLargestBatch = 8 * 1024;

class TReplaySender {
 public:
  TReplaySender(ISimLink& link, const TReplayHooks& hooks) : Link(link), Hooks(hooks) {}

  void Add(const std::string& line) {
    Batch.append(line).append("\r\n");
    if (Batch.size() >= kLargestBatch) Flush();
  }

  // Nobody listening takes nothing, and the lines are gone, as on a serial
  // line; a device that takes only part (a full pseudo-terminal buffer) is
  // given the rest after a moment.
  void Flush() {
    std::string_view left = Batch;
    while (!left.empty() && !Hooks.Stopped()) {
      while (Link.Unread() > kReplayBacklog && !Hooks.Stopped())
        Hooks.WaitUntil(TClock::now() + std::chrono::milliseconds(5));
      const size_t taken = Link.Send(left);
      if (Hooks.Echo != nullptr) Hooks.Echo->write(left.data(), std::streamsize(taken)).flush();
      if (taken == 0) break;
      left.remove_prefix(taken);
      if (!left.empty()) Hooks.WaitUntil(TClock::now() + std::chrono::milliseconds(5));
    }
    Batch.clear();
  }

 private:
  ISimLink& Link;
  const TReplayHooks& Hooks;
  std::string Batch;
};

}  // namespace

std::optional<std::string> TCaptureLines::Next() {
  std::string line;
  for (;;) {
    const int ch = Input.get();
    if (ch == std::char_traits<char>::eof()) {
      if (line.empty() || line[0] == '#') return std::nullopt;
      return line;
    }
    if (ch == '\r' || ch == '\n') {
      if (ch == '\r' && Input.peek() == '\n') Input.get();
      if (line.empty() || line[0] == '#') {
        line.clear();
        continue;
      }
      return line;
    }
    line += static_cast<char>(ch);
  }
}

bool ReplayCapture(const TSimOptions& options, ISimLink& link, const TReplayHooks& hooks,
                   std::string& error) {
  TReplaySender sender(link, hooks);
  do {
    std::ifstream file(options.Replay, std::ios::binary);
    if (!file) {
      error = "cannot read " + options.Replay;
      return false;
    }
    TReplayPace pace(options.Speed);
    TCaptureLines lines(file);
    while (std::optional<std::string> line = lines.Next()) {
      if (hooks.Stopped()) return true;
      const TReplayPace::TPlace place = pace.Place(*line, TClock::now());
      if (place.Crossed && hooks.Notices != nullptr)
        *hooks.Notices << CrossedText(*place.Crossed) << std::endl;
      if (place.Due > TClock::now()) {
        sender.Flush();
        hooks.WaitUntil(place.Due);
      }
      sender.Add(*line);
    }
    sender.Flush();
  } while (options.Loop && !hooks.Stopped());
  return true;
}
