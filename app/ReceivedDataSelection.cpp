// Selecting rows of the received-data view and copying them.

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>

#include "app/ReceivedDataView.h"

bool TReceivedDataView::Selection(std::size_t& first, std::size_t& last) const {
  if (Anchor < 0) return false;
  first = static_cast<std::size_t>(std::min(Anchor, Current));
  last = static_cast<std::size_t>(std::max(Anchor, Current));
  return true;
}

void TReceivedDataView::SelectRows(std::size_t anchor, std::size_t current) {
  if (Lines.Count() == 0) return;
  auto lastRow = static_cast<long long>(Lines.Count() - 1);
  Anchor = std::min(static_cast<long long>(anchor), lastRow);
  Current = std::min(static_cast<long long>(current), lastRow);
  viewport()->update();
}

void TReceivedDataView::SelectAllRows() {
  SelectRows(0, Lines.Count() - 1);
}

void TReceivedDataView::Copy() {
  std::size_t first, last;
  if (!Selection(first, last)) return;
  QString text;
  for (std::size_t row = first; row <= last; ++row) {
    std::string_view line = Lines.Line(row);
    text += QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size()));
    text += QLatin1Char('\n');
  }
  QGuiApplication::clipboard()->setText(text);
}

std::size_t TReceivedDataView::RowAt(int y) const {
  std::size_t row = TopRow() + static_cast<std::size_t>(std::max(0, y) / RowHeight);
  return std::min(row, Lines.Count() - 1);
}

void TReceivedDataView::EnsureVisible(std::size_t row) {
  std::size_t top = TopRow();
  auto rows = static_cast<std::size_t>(FullRows());
  if (row < top)
    verticalScrollBar()->setValue(static_cast<int>(row));
  else if (row >= top + rows)
    verticalScrollBar()->setValue(static_cast<int>(row - rows + 1));
}

void TReceivedDataView::MoveCurrent(long long row, bool extend) {
  if (Lines.Count() == 0) return;
  auto lastRow = static_cast<long long>(Lines.Count() - 1);
  Current = std::clamp(row, 0LL, lastRow);
  if (!extend || Anchor < 0) Anchor = Current;
  EnsureVisible(static_cast<std::size_t>(Current));
  viewport()->update();
}

void TReceivedDataView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || Lines.Count() == 0) {
    QAbstractScrollArea::mousePressEvent(event);
    return;
  }
  bool extend = event->modifiers() & Qt::ShiftModifier;
  MoveCurrent(static_cast<long long>(RowAt(event->position().toPoint().y())), extend);
}

void TReceivedDataView::mouseMoveEvent(QMouseEvent* event) {
  if (!(event->buttons() & Qt::LeftButton) || Lines.Count() == 0) return;
  int y = event->position().toPoint().y();
  // Dragging past an edge keeps selecting beyond it.
  long long row = static_cast<long long>(RowAt(y));
  if (y < 0) row = static_cast<long long>(TopRow()) - 1;
  if (y >= viewport()->height()) row = static_cast<long long>(TopRow()) + FullRows();
  MoveCurrent(row, true);
}

void TReceivedDataView::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Copy)) return Copy();
  if (event->matches(QKeySequence::SelectAll)) return SelectAllRows();
  if (Lines.Count() == 0) return QAbstractScrollArea::keyPressEvent(event);
  long long current = Current >= 0 ? Current : static_cast<long long>(TopRow());
  long long page = FullRows();
  bool extend = event->modifiers() & Qt::ShiftModifier;
  switch (event->key()) {
    case Qt::Key_Up:
      return MoveCurrent(current - 1, extend);
    case Qt::Key_Down:
      return MoveCurrent(current + 1, extend);
    case Qt::Key_PageUp:
      return MoveCurrent(current - page, extend);
    case Qt::Key_PageDown:
      return MoveCurrent(current + page, extend);
    case Qt::Key_Home:
      return MoveCurrent(0, extend);
    case Qt::Key_End:
      return MoveCurrent(static_cast<long long>(Lines.Count()) - 1, extend);
    default:
      QAbstractScrollArea::keyPressEvent(event);
  }
}
