#include "app/AboutBox.h"

QString AboutText(const QString& version, const QString& qtVersion, const QString& settingsPath) {
  return QStringLiteral(
             "<h3>Tolvane %1</h3>"
             "<p>A monitor for NMEA 0183 GPS receivers.</p>"
             "<p>GNU General Public License version 3 (GPL-3), as it links Qt Charts; "
             "its source is MIT-licensed</p>"
             "<p>Qt %2</p>"
             "<p>Configuration file:<br>%3</p>")
      .arg(version.toHtmlEscaped(), qtVersion.toHtmlEscaped(), settingsPath.toHtmlEscaped());
}
