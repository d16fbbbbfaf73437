#pragma once
// The Position window's table: what was measured beside what the receiver
// claims, as texts, so that Copy and the view show the same.

#include <QString>
#include <map>
#include <vector>

#include "history/Accuracy.h"
#include "history/HistoryFigures.h"

struct TPositionRow {
  QString Figure;
  QString Measured;
  QString Claimed;  // empty where the receiver says nothing
  bool operator==(const TPositionRow&) const = default;
};

struct TPositionFigures {
  TAccuracy Accuracy;
  TClaimedErrors Claimed;
  std::map<int, double> Shares;  // of time, by fix quality
};

std::vector<TPositionRow> PositionRows(const TPositionFigures& figures);
// Tab-separated lines under a header line, for the clipboard.
QString PositionRowsText(const std::vector<TPositionRow>& rows);
