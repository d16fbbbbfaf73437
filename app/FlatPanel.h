#pragma once
// The fix panel's fields and signal bars, painted flat by the window. The
// style's own line edits (a rounded, antialiased frame) and bars (a gradient
// groove, rotated for an upright bar) cost several times as much to paint,
// and on a raster surface each such outline is spread over Qt's painting
// threads, waking them for a few pixels; some twenty fields and twelve bars
// repaint with every epoch.
//
// A field: a frame, the background in the field's colour, and its text,
// laid out once per text rather than at every paint. A field with a
// selection is left to its own painting, so that what the user marks shows
// as usual. A bar: a frame, the background in the bar's colour (the
// satellite's state) and the level (from the bottom of an upright bar) in
// the highlight colour.

class QWidget;

// Paints every line edit and progress bar inside `panel` flat from now on.
void PaintPanelFlat(QWidget& panel);
