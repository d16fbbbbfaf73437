#include "common/Clock.h"

#include <QDateTime>
#include <QElapsedTimer>

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

}  // namespace

uint32_t TickCount() {
  if (TickSource()) return TickSource()();
  static QElapsedTimer started = [] {
    QElapsedTimer timer;
    timer.start();
    return timer;
  }();
  return static_cast<uint32_t>(started.elapsed());
}

TDateTime Now() {
  if (NowSource()) return NowSource()();
  const QDateTime now = QDateTime::currentDateTime();
  const QDate date = now.date();
  const QTime time = now.time();
  TDateTime day = 0;
  TDateTime fraction = 0;
  TryEncodeDate(date.year(), date.month(), date.day(), day);
  TryEncodeTime(time.hour(), time.minute(), time.second(), time.msec(), fraction);
  return day + fraction;
}

void SetTickSource(TTickSource source) {
  TickSource() = std::move(source);
}
void SetNowSource(TNowSource source) {
  NowSource() = std::move(source);
}

}  // namespace Clock
