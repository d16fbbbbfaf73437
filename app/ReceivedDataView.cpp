#include "app/ReceivedDataView.h"

#include <QAction>
#include <QFontDatabase>
#include <QGlyphRun>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <climits>
#include <cmath>

#include "app/FlatScrollBar.h"
#include "nmea/FrameNames.h"

namespace {

constexpr int kMargin = 3;

// A scroll bar counts in int; a view holding more rows than that stops
// scrolling further down rather than wrapping.
int ClampToInt(std::size_t value) {
  return static_cast<int>(std::min<std::size_t>(value, INT_MAX / 2));
}

// Latin-1 text of one screen's worth of a line, starting at `first`. Control
// characters (a lone LF from a replayed file, say) show as spaces.
QString VisibleText(std::string_view line, std::size_t first, std::size_t count) {
  if (first >= line.size()) return {};
  std::string_view part = line.substr(first, count);
  QString text(static_cast<qsizetype>(part.size()), Qt::Uninitialized);
  for (std::size_t i = 0; i < part.size(); ++i) {
    auto code = static_cast<unsigned char>(part[i]);
    text[static_cast<qsizetype>(i)] = QChar(code < 32 ? ' ' : code);
  }
  return text;
}

}  // namespace

TReceivedDataView::TReceivedDataView(QWidget* parent, TLineStoreLimits limits)
    : QAbstractScrollArea(parent), Lines(std::move(limits)) {
  setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  setVerticalScrollBar(new TFlatScrollBar(Qt::Vertical, this));
  setHorizontalScrollBar(new TFlatScrollBar(Qt::Horizontal, this));
  setFocusPolicy(Qt::StrongFocus);
  auto* copy = new QAction(tr("&Copy"), this);
  connect(copy, &QAction::triggered, this, &TReceivedDataView::Copy);
  auto* selectAll = new QAction(tr("Select &All"), this);
  connect(selectAll, &QAction::triggered, this, &TReceivedDataView::SelectAllRows);
  addAction(copy);
  addAction(selectAll);
  setContextMenuPolicy(Qt::ActionsContextMenu);
  UpdateMetrics();
  UpdateRanges(true);
}

void TReceivedDataView::AppendLine(std::string_view line) {
  Lines.Append(line);
  LongestLine = std::max(LongestLine, line.size());
  if (Lines.DroppedLines() != DroppedSeen) FollowDroppedLines();
  // The scroll bars and the screen catch up once per turn of the event loop,
  // however many lines arrived in it: an append itself only stores the line.
  if (!SyncPending) {
    SyncPending = true;
    QMetaObject::invokeMethod(this, &TReceivedDataView::SyncView, Qt::QueuedConnection);
  }
}

void TReceivedDataView::SyncView() {
  if (!SyncPending) return;
  SyncPending = false;
  std::size_t firstNew = ShownCount;
  ShownCount = Lines.Count();
  // Whoever was at the bottom of what was on screen follows the new lines.
  UpdateRanges(AtBottom());
  std::size_t top = TopRow();
  std::size_t rows = static_cast<std::size_t>(FullRows()) + 1;
  if (firstNew < top + rows && ShownCount > top) {
    int y = static_cast<int>(std::max(firstNew, top) - top) * RowHeight;
    viewport()->update(0, y, viewport()->width(), viewport()->height() - y);
  }
}

// Rows number the kept lines from 0, so when the oldest go, every row the
// view remembers moves up by as many; a selection that went with them ends.
void TReceivedDataView::FollowDroppedLines() {
  const std::size_t gone = Lines.DroppedLines() - DroppedSeen;
  if (DroppedSeen == 0) emit oldestLinesDropped(gone);
  DroppedSeen = Lines.DroppedLines();
  ShownCount -= std::min(ShownCount, gone);
  const auto shift = static_cast<long long>(gone);
  if (std::max(Anchor, Current) < shift) {
    Anchor = Current = -1;
  } else if (Anchor >= 0) {
    Anchor = std::max(0LL, Anchor - shift);
    Current = std::max(0LL, Current - shift);
  }
  QScrollBar* vertical = verticalScrollBar();
  const bool follow = AtBottom();
  vertical->setValue(std::max(0, vertical->value() - ClampToInt(gone)));
  UpdateRanges(follow);
  viewport()->update();
}

void TReceivedDataView::Clear() {
  Lines.Clear();
  ShownCount = 0;
  DroppedSeen = 0;
  LongestLine = 0;
  Anchor = Current = -1;
  UpdateRanges(true);
  viewport()->update();
}

std::string TReceivedDataView::Line(std::size_t index) const {
  return std::string(Lines.Line(index));
}

std::size_t TReceivedDataView::TopRow() const {
  return static_cast<std::size_t>(verticalScrollBar()->value());
}

bool TReceivedDataView::AtBottom() const {
  return verticalScrollBar()->value() >= verticalScrollBar()->maximum();
}

int TReceivedDataView::FullRows() const {
  return std::max(1, viewport()->height() / RowHeight);
}

void TReceivedDataView::UpdateMetrics() {
  QFontMetrics metrics(font());
  RowHeight = std::max(1, metrics.height());
  // Glyphs sit at fractional advances; whole pixels would drift over a line.
  CharWidth = std::max(1.0, QFontMetricsF(font()).horizontalAdvance(QLatin1Char('M')));
  Ascent = metrics.ascent();
  Glyphs = QRawFont::fromFont(font());
  QString bytes(static_cast<qsizetype>(GlyphOf.size()), Qt::Uninitialized);
  for (std::size_t code = 0; code < GlyphOf.size(); ++code)
    bytes[static_cast<qsizetype>(code)] = QChar(code < 32 ? ' ' : static_cast<char16_t>(code));
  const QList<quint32> indexes = Glyphs.glyphIndexesForString(bytes);
  GlyphOf.fill(0);
  if (Glyphs.isValid() && indexes.size() == bytes.size())
    std::copy(indexes.begin(), indexes.end(), GlyphOf.begin());
}

void TReceivedDataView::UpdateRanges(bool followBottom) {
  auto rows = static_cast<std::size_t>(FullRows());
  QScrollBar* vertical = verticalScrollBar();
  int bottom = ClampToInt(ShownCount > rows ? ShownCount - rows : 0);
  if (vertical->maximum() != bottom) vertical->setRange(0, bottom);
  vertical->setPageStep(static_cast<int>(rows));
  if (followBottom) vertical->setValue(bottom);

  double textWidth = std::min(static_cast<double>(LongestLine) * CharWidth, INT_MAX / 4.0);
  int width = static_cast<int>(std::ceil(textWidth)) + 2 * kMargin;
  QScrollBar* horizontal = horizontalScrollBar();
  int right = std::max(0, width - viewport()->width());
  if (horizontal->maximum() != right) horizontal->setRange(0, right);
  horizontal->setPageStep(viewport()->width());
  horizontal->setSingleStep(static_cast<int>(std::ceil(CharWidth)));
}

void TReceivedDataView::scrollContentsBy(int dx, int dy) {
  // Vertical steps are rows and horizontal ones pixels. Small moves shift the
  // pixels already painted, so following the newest line repaints one row.
  if (dx == 0 && dy != 0 && std::abs(dy) < FullRows()) {
    viewport()->scroll(0, dy * RowHeight);
  } else if (dy == 0 && dx != 0) {
    viewport()->scroll(dx, 0);
  } else {
    viewport()->update();
  }
}

void TReceivedDataView::resizeEvent(QResizeEvent* event) {
  bool follow = AtBottom();
  QAbstractScrollArea::resizeEvent(event);
  UpdateRanges(follow);
}

void TReceivedDataView::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) {
    UpdateMetrics();
    UpdateRanges(AtBottom());
    viewport()->update();
  }
  QAbstractScrollArea::changeEvent(event);
}

void TReceivedDataView::PaintRow(QPainter& painter, std::size_t row, int y) const {
  std::size_t first, last;
  bool selected = Selection(first, last) && row >= first && row <= last;
  const QPalette& colours = palette();
  if (selected) painter.fillRect(0, y, viewport()->width(), RowHeight, colours.highlight());
  const std::string_view line = Lines.Line(row);
  if (selected) {
    painter.setPen(colours.highlightedText().color());
  } else {
    // A binary frame's summary stands back from the sentences around it.
    painter.setPen(IsFrameSummary(line) ? colours.placeholderText().color()
                                        : colours.text().color());
  }
  int offset = horizontalScrollBar()->value();
  auto firstChar = static_cast<std::size_t>(std::max(0, offset - kMargin) / CharWidth);
  auto chars = static_cast<std::size_t>(viewport()->width() / CharWidth + 2);
  const QPointF origin(kMargin - offset + static_cast<double>(firstChar) * CharWidth, y + Ascent);
  if (firstChar >= line.size()) return;
  const std::string_view part = line.substr(firstChar, chars);
  QList<quint32> glyphs(static_cast<qsizetype>(part.size()));
  QList<QPointF> positions(static_cast<qsizetype>(part.size()));
  for (std::size_t i = 0; i < part.size(); ++i) {
    const quint32 glyph = GlyphOf[static_cast<unsigned char>(part[i])];
    // A character the font lacks is left to the text engine, which finds it
    // in another font.
    if (glyph == 0) return painter.drawText(origin, VisibleText(line, firstChar, chars));
    glyphs[static_cast<qsizetype>(i)] = glyph;
    positions[static_cast<qsizetype>(i)] = QPointF(static_cast<double>(i) * CharWidth, 0);
  }
  QGlyphRun run;
  run.setRawFont(Glyphs);
  run.setGlyphIndexes(glyphs);
  run.setPositions(positions);
  painter.drawGlyphRun(origin, run);
}

void TReceivedDataView::paintEvent(QPaintEvent* event) {
  if (Lines.Count() == 0) return;
  QPainter painter(viewport());
  const QRect area = event->rect();
  std::size_t top = TopRow();
  std::size_t first = top + static_cast<std::size_t>(std::max(0, area.top()) / RowHeight);
  std::size_t last = top + static_cast<std::size_t>(std::max(0, area.bottom()) / RowHeight);
  last = std::min(last, Lines.Count() - 1);
  for (std::size_t row = first; row <= last; ++row) {
    PaintRow(painter, row, static_cast<int>(row - top) * RowHeight);
  }
}
