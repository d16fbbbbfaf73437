#pragma once
// The fix panel's signal bars, painted flat by the window: a frame, the
// background in the bar's colour (the satellite's state) and the level (from
// the bottom of an upright bar) in the highlight colour. The style's own bar (a gradient groove,
// rotated for an upright bar) costs several times as much to paint, and the
// twelve of them repaint with every GSV.

class QWidget;

// Paints every progress bar inside `panel` flat from now on.
void PaintSignalBarsFlat(QWidget& panel);
