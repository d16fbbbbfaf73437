#include "app/ChartTicks.h"

#include <QDateTime>
#include <QTimeZone>
#include <cmath>

namespace {

constexpr double kSteps[] = {1,   2,   5,    10,   15,   30,     60,     120,    300,
                             600, 900, 1800, 3600, 7200, 10'800, 21'600, 43'200, 86'400};

QDateTime Utc(double x) {
  return QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(std::llround(x * 1000)),
                                        QTimeZone::utc());
}

}  // namespace

std::vector<TChartTick> ChartTicks(double from, double to, int wanted, bool dated) {
  std::vector<TChartTick> ticks;
  if (!(to > from) || wanted < 1 || !std::isfinite(from) || !std::isfinite(to)) return ticks;
  double step = kSteps[std::size(kSteps) - 1];
  for (double candidate : kSteps) {
    if ((to - from) / candidate <= wanted) {
      step = candidate;
      break;
    }
  }
  while ((to - from) / step > wanted) step *= 2;  // beyond a day: whole days
  const QString format = step < 60 ? "HH:mm:ss" : "HH:mm";
  for (double x = std::ceil(from / step) * step; x <= to; x += step) {
    const QDateTime at = Utc(x);
    // Midnight gives its place to the date, or without one to the days
    // counted, so that no two ticks read alike.
    QString label = at.toString(format);
    if (at.time() == QTime(0, 0))
      label = dated ? at.toString("yyyy-MM-dd")
                    : QString("+%1d").arg(static_cast<long>(std::floor(x / 86'400)));
    ticks.push_back({x, label});
  }
  return ticks;
}

QString ChartTimeText(double x, bool dated) {
  const QDateTime at = Utc(x);
  const bool whole = std::fmod(x, 1) == 0;
  const QString time = at.toString(whole ? "HH:mm:ss" : "HH:mm:ss.zzz");
  return dated ? at.toString("yyyy-MM-dd ") + time : time;
}
