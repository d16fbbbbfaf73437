#include "app/FixQualityStyle.h"

#include <array>

namespace {

struct TQualityStyle {
  const char* Name;
  const char* Colour;
};

// RTK fixed green and float orange, as receiver testers know them from
// their own tools; autonomous red, differential blue.
constexpr std::array<TQualityStyle, 9> kStyles = {{
    {"No fix", "#7f7f7f"},
    {"GPS", "#d62728"},
    {"DGPS", "#1f77b4"},
    {"PPS", "#9467bd"},
    {"RTK fixed", "#2ca02c"},
    {"RTK float", "#ff7f0e"},
    {"Estimated", "#8c564b"},
    {"Manual", "#e377c2"},
    {"Simulation", "#17becf"},
}};

}  // namespace

QString FixQualityName(int quality) {
  if (quality < 0 || quality >= static_cast<int>(kStyles.size()))
    return QString("Quality %1").arg(quality);
  return kStyles[static_cast<size_t>(quality)].Name;
}

QColor FixQualityColour(int quality) {
  if (quality < 0 || quality >= static_cast<int>(kStyles.size())) return QColor("#bcbd22");
  return QColor(kStyles[static_cast<size_t>(quality)].Colour);
}
