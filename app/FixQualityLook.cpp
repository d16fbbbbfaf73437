#include "app/FixQualityLook.h"

#include <QStringList>

QColor FixQualityQColor(TFixQuality quality) {
  return QColor(QRgb{FixQualityColour(quality)});
}

QString FixQualityLegendHtml() {
  QStringList entries;
  for (int index = 0; index < kFixQualityCount; ++index) {
    const auto quality = static_cast<TFixQuality>(index);
    entries << QString("<span style=\"color:%1\">&#9632;</span>&nbsp;%2")
                   .arg(FixQualityQColor(quality).name(), FixQualityName(quality));
  }
  return entries.join("&nbsp;&nbsp;&nbsp;");
}
