#pragma once
// The fix qualities as the windows draw them: history/FixQuality.h holds
// their names and colours; these are the Qt forms of them.

#include <QColor>
#include <QString>

#include "history/FixQuality.h"

QColor FixQualityQColor(TFixQuality quality);
// A one-line legend, a coloured square before each name, as rich text.
QString FixQualityLegendHtml();
