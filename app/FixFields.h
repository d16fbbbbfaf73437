#pragma once
// The fix display: the fields and the satellite table of the top panel, and
// the 1 PPS lamp. What each field shows is decided by the functions of
// FixDisplay; the window only applies their writes, in order.

#include "monitor/FixDisplay.h"

class QLabel;
class QWidget;

// Applies `updates` to the fields and bars of `panel`, in order.
void ShowFieldUpdates(QWidget& panel, const TFieldUpdates& updates);
// Lit (DSR on) or dark.
void ShowLamp(QLabel& lamp, bool lit);
