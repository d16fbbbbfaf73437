#include "app/PositionTable.h"

#include <QStringList>
#include <cmath>

#include "history/FixQuality.h"

namespace {

QString Metres(double value) {
  return QString::number(value, 'f', 3) + " m";
}

QString Metres(const std::optional<double>& value) {
  return value ? Metres(*value) : QString();
}

QString Degrees(double value) {
  return QString::number(value, 'f', 9);
}

// A claim, and the receiver's name for it where that is not the row's.
struct TClaim {
  std::optional<double> Value;
  const char* Name = nullptr;
};

// "0.014 m (hAcc)"
QString Metres(const TClaim& claim) {
  if (!claim.Value || !claim.Name) return Metres(claim.Value);
  return Metres(*claim.Value) + " (" + claim.Name + ')';
}

// GST's errors by axis; RME's vertical where GST gives none. Where the
// receiver sends neither, a u-blox one's NAV-PVT still claims vAcc (and
// hAcc below): named, as they are estimates of their own kind.
TClaim ClaimedUp(const TClaimedErrors& claimed) {
  if (!claimed.FromSentences()) return {claimed.VAcc, "vAcc"};
  return {claimed.Altitude ? claimed.Altitude : claimed.Vertical};
}

// The horizontal RMS the receiver claims: GST's two axes together, else
// RME's horizontal estimate, else NAV-PVT's hAcc.
TClaim ClaimedHorizontal(const TClaimedErrors& claimed) {
  if (!claimed.FromSentences()) return {claimed.HAcc, "hAcc"};
  if (claimed.Latitude && claimed.Longitude)
    return {std::hypot(*claimed.Latitude, *claimed.Longitude)};
  return {claimed.Horizontal};
}

// The shares of GGA qualities under the Charts window's names of their kinds
// (a PPS fix is a GPS fix there), worst first; "quality 7" for those that
// name no kind.
std::vector<std::pair<QString, double>> SharesByKind(const std::map<int, double>& shares) {
  std::map<TFixQuality, double> kinds;
  std::vector<std::pair<QString, double>> named;
  for (const auto& [quality, share] : shares) {
    if (const std::optional<TFixQuality> kind = FixQualityOf(quality))
      kinds[*kind] += share;
    else
      named.emplace_back(QString("quality %1").arg(quality), share);
  }
  std::vector<std::pair<QString, double>> rows;
  rows.reserve(kinds.size() + named.size());
  for (const auto& [kind, share] : kinds) rows.emplace_back(FixQualityName(kind), share);
  rows.insert(rows.end(), named.begin(), named.end());
  return rows;
}

}  // namespace

std::vector<TPositionRow> PositionRows(const TPositionFigures& figures) {
  const TAccuracy& accuracy = figures.Accuracy;
  const TClaimedErrors& claimed = figures.Claimed;
  std::vector<TPositionRow> rows = {{"Fixes", QString::number(accuracy.Fixes), {}}};
  if (accuracy.Fixes > 0) {
    const TLocalPoint& deviation = accuracy.Deviation;
    rows.insert(
        rows.end(),
        {
            {"Mean latitude", Degrees(accuracy.Mean.Latitude), {}},
            {"Mean longitude", Degrees(accuracy.Mean.Longitude), {}},
            {"Mean altitude", Metres(accuracy.Mean.Altitude), {}},
            {"Standard deviation east", Metres(deviation.East), Metres(claimed.Longitude)},
            {"Standard deviation north", Metres(deviation.North), Metres(claimed.Latitude)},
            {"Standard deviation up", Metres(deviation.Up), Metres(ClaimedUp(claimed))},
            {"Horizontal RMS", Metres(accuracy.Drms2 / 2), Metres(ClaimedHorizontal(claimed))},
            {"CEP50", Metres(accuracy.Cep50), {}},
            {"CEP95", Metres(accuracy.Cep95), {}},
            {"2DRMS", Metres(accuracy.Drms2), {}},
            {"Vertical error 50th percentile", Metres(accuracy.VerticalP50), {}},
            {"Vertical error 95th percentile", Metres(accuracy.VerticalP95), {}},
            {"Largest horizontal error", Metres(accuracy.HorizontalMax), {}},
        });
  }
  for (const auto& [name, share] : SharesByKind(figures.Shares))
    rows.push_back({"Time in " + name, QString::number(share * 100, 'f', 1) + " %", {}});
  return rows;
}

QString PositionRowsText(const std::vector<TPositionRow>& rows) {
  QStringList lines = {"Figure\tMeasured\tClaimed"};
  for (const TPositionRow& row : rows)
    lines << row.Figure + '\t' + row.Measured + '\t' + row.Claimed;
  return lines.join('\n') + '\n';
}
