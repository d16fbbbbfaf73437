#include "tests/source/NetworkTestSupport.h"

#include "tests/support/EventLoop.h"

namespace {

using TLinesDone = std::function<bool(const std::vector<std::string>&)>;

std::vector<std::string> Take(TPortSlot& port, const TLinesDone& done, int timeoutMs) {
  std::vector<std::string> lines;
  ProcessEventsUntil(
      [&] {
        while (std::optional<std::string> line = port.ReadLine())
          if (!line->empty()) lines.push_back(std::move(*line));
        return done(lines);
      },
      timeoutMs);
  return lines;
}

}  // namespace

std::vector<std::string> TakeLines(TPortSlot& port, const std::function<bool()>& done,
                                   int timeoutMs) {
  return Take(
      port, [&](const std::vector<std::string>&) { return done(); }, timeoutMs);
}

std::vector<std::string> TakeLines(TPortSlot& port, size_t count, int timeoutMs) {
  return Take(
      port, [count](const std::vector<std::string>& lines) { return lines.size() >= count; },
      timeoutMs);
}
