#pragma once
// The program's pictures, drawn rather than shipped: the 1 PPS lamps, the
// logo and the application icon.

#include <QIcon>
#include <QPixmap>

// 16 by 16: a dark red lamp (DSR off) or a lit red one (DSR on).
QPixmap LampPixmap(bool lit);
// 44 by 40: a satellite dish under a signal arc.
QPixmap LogoPixmap();
QIcon ApplicationIcon();
