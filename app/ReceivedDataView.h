#pragma once
// The scrolling view of every received line. It paints only the rows on
// screen, so it stays quick however many lines it holds; it follows the
// newest line while the user is at the bottom and stays where the user
// scrolled to otherwise. Rows can be selected with the mouse or keys and
// copied with Ctrl+C. Older lines live in a temporary file past a bound
// (see TReceivedLineStore); the view shows them all the same.

#include <QAbstractScrollArea>
#include <QRawFont>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "app/ReceivedLineStore.h"

class TReceivedDataView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit TReceivedDataView(QWidget* parent = nullptr, TLineStoreLimits limits = {});

  // Stores a line; the scroll bars and the screen follow at the next turn of
  // the event loop, or at SyncView, whichever comes first.
  void AppendLine(std::string_view line);
  void SyncView();
  void Clear();
  std::size_t LineCount() const { return Lines.Count(); }
  std::string Line(std::size_t index) const;

  // The selected rows, first and last inclusive; false when none is selected.
  bool Selection(std::size_t& first, std::size_t& last) const;
  void SelectRows(std::size_t anchor, std::size_t current);
  void SelectAllRows();
  // The selected lines, each followed by a line break, onto the clipboard.
  void Copy();
  // The index of the top row on screen.
  std::size_t TopRow() const;
  std::size_t MemoryUsed() const { return Lines.MemoryUsed(); }

 signals:
  // The temporary file could not be written, so the oldest lines were given
  // up; said once until the next Clear, with how many went at that moment.
  void oldestLinesDropped(qulonglong count);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void changeEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void FollowDroppedLines();
  bool AtBottom() const;
  int FullRows() const;
  void UpdateMetrics();
  void UpdateRanges(bool followBottom);
  std::size_t RowAt(int y) const;
  void MoveCurrent(long long row, bool extend);
  void EnsureVisible(std::size_t row);
  void PaintRow(class QPainter& painter, std::size_t row, int y) const;

  TReceivedLineStore Lines;
  // Lines that the scroll bars account for; the rest arrived since the last
  // turn of the event loop.
  std::size_t ShownCount = 0;
  bool SyncPending = false;
  // The store's dropped lines that rows and the selection account for.
  std::size_t DroppedSeen = 0;
  std::size_t LongestLine = 0;
  int RowHeight = 1;
  double CharWidth = 1;
  int Ascent = 0;
  // The font's glyph of each byte (a space for control characters; 0 where
  // the font has none), so that a row of a fixed-pitch font is drawn glyph by
  // glyph without being shaped as text at every paint.
  QRawFont Glyphs;
  std::array<quint32, 256> GlyphOf{};
  // The selection runs from the anchor to the current row; -1: none.
  long long Anchor = -1;
  long long Current = -1;
};
