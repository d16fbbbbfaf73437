#include "app/KeptPlace.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

#include "common/Settings.h"

QRect OntoScreen(QRect frame, const QRect& available) {
  if (available.contains(frame)) return frame;
  // A little smaller than the screen, so as not to read as full screen.
  frame.setWidth(std::min(frame.width(), available.width() - 2));
  frame.setHeight(std::min(frame.height(), available.height() - 2));
  if (frame.left() <= available.left())
    frame.moveLeft(available.left() + 1);
  else if (frame.right() >= available.right())
    frame.moveRight(available.right() - 1);
  if (frame.top() <= available.top())
    frame.moveTop(available.top() + 1);
  else if (frame.bottom() >= available.bottom())
    frame.moveBottom(available.bottom() - 1);
  return frame;
}

QRect BesideFrame(const QRect& owner, QSize size, const QRect& available) {
  constexpr int kGap = 8;
  QRect frame(QPoint(owner.right() + 1 + kGap, owner.top()), size);
  if (frame.right() >= available.right()) {
    frame.moveRight(owner.left() - 1 - kGap);
    if (frame.left() <= available.left()) {
      const bool roomierRight = available.right() - owner.right() > owner.left() - available.left();
      if (roomierRight)
        frame.moveRight(available.right() - 1);
      else
        frame.moveLeft(available.left() + 1);
    }
  }
  return OntoScreen(frame, available);
}

TKeptPlace::TKeptPlace(QWidget& window, TAppSettings settings, std::string name)
    : QObject(&window), Window(window), Settings(settings), Name(std::move(name)) {
  Restore();
  Window.installEventFilter(this);
}

// A stored size too small to use still leaves half the window's natural size.
void TKeptPlace::Restore() {
  const TWindowPlace place = Settings.WindowPlace(Name);
  if (place.Size) Window.resize(place.Size->expandedTo(Window.minimumSizeHint() / 2));
  if (!place.Position) return;
  Kept = true;
  QRect frame(*place.Position, Window.size());
  const QScreen* screen = QGuiApplication::screenAt(frame.center());
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  if (screen != nullptr) frame = OntoScreen(frame, screen->availableGeometry());
  Window.resize(frame.size());
  Window.move(frame.topLeft());
}

// The window's own frame is not known before it is shown: the parent's
// decoration stands in for it.
void TKeptPlace::BesideParentUnlessKept() {
  const QWidget* parent = Window.parentWidget();
  if (Kept || parent == nullptr || !parent->isVisible()) return;
  const QRect owner = parent->frameGeometry();
  const QSize decoration = owner.size() - parent->size();
  const QScreen* screen = parent->screen();
  if (screen == nullptr) return;
  const QRect frame = BesideFrame(owner, Window.size() + decoration, screen->availableGeometry());
  Window.resize(frame.size() - decoration);
  Window.move(frame.topLeft());
}

void TKeptPlace::Save() {
  if (!WasShown) return;
  try {
    Settings.StoreWindowPlace(Name, Window.pos(), Window.size());
  } catch (const ESettingsError&) {
  }
}

bool TKeptPlace::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &Window && event->type() == QEvent::Show) WasShown = true;
  if (watched == &Window && event->type() == QEvent::Close) Save();
  return QObject::eventFilter(watched, event);
}
