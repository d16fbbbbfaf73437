#pragma once
// How the windows tell fix qualities apart: a name and a colour per GGA
// quality, the same in every chart.

#include <QColor>
#include <QString>

// "No fix", "GPS", "DGPS", "PPS", "RTK fixed", "RTK float", "Estimated",
// "Manual", "Simulation"; "Quality 9" past the table.
QString FixQualityName(int quality);
QColor FixQualityColour(int quality);
