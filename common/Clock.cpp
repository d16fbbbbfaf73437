#include "common/Clock.h"

#include <algorithm>
#include <chrono>
#include <ctime>

namespace Clock {
namespace {

TTickSource& TickSource() {
  static TTickSource source;
  return source;
}

TNowSource& NowSource() {
  static TNowSource source;
  return source;
}

// The C library's local time, which follows TZ as the rest of the system does.
bool LocalTime(std::time_t seconds, std::tm& parts) {
#ifdef _WIN32
  return localtime_s(&parts, &seconds) == 0;
#else
  return localtime_r(&seconds, &parts) != nullptr;
#endif
}

}  // namespace

uint32_t TickCount() {
  if (TickSource()) return TickSource()();
  using namespace std::chrono;
  static const steady_clock::time_point started = steady_clock::now();
  const auto elapsed = duration_cast<milliseconds>(steady_clock::now() - started);
  return static_cast<uint32_t>(elapsed.count());
}

TDateTime Now() {
  if (NowSource()) return NowSource()();
  using namespace std::chrono;
  const auto now = time_point_cast<milliseconds>(system_clock::now());
  const auto sinceEpoch = now.time_since_epoch();
  const std::time_t seconds = duration_cast<std::chrono::seconds>(sinceEpoch).count();
  const int millisecond = static_cast<int>((sinceEpoch % std::chrono::seconds(1)).count());
  std::tm parts{};
  if (!LocalTime(seconds, parts)) return 0;
  TDateTime day = 0;
  TDateTime fraction = 0;
  TryEncodeDate(parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, day);
  // A leap second (tm_sec 60) is shown as the last second of its minute.
  TryEncodeTime(parts.tm_hour, parts.tm_min, std::min(parts.tm_sec, 59), millisecond, fraction);
  return day + fraction;
}

void SetTickSource(TTickSource source) {
  TickSource() = std::move(source);
}
void SetNowSource(TNowSource source) {
  NowSource() = std::move(source);
}

}  // namespace Clock
