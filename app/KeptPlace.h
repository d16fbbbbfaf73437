#pragma once
// A window that keeps its place between runs: its position and size are
// restored when it is made and saved when it closes (or when Save is called),
// once it has been shown, as "<Name>Left", "<Name>Top", "<Name>Width" and
// "<Name>Height" of section "Windows". A stored place that no screen shows
// now (a monitor unplugged) is brought onto one, as QWidget::restoreGeometry
// does, so the window never opens out of reach.

#include <QObject>
#include <QRect>
#include <string>

#include "app/AppSettings.h"

class QWidget;

// `frame` moved, and shrunk if it must be, to lie inside `available` with a
// pixel to spare; unchanged when it already does.
QRect OntoScreen(QRect frame, const QRect& available);

// Where a window of `size` first opens beside the frame `owner` on the screen
// area `available`: to its right where there is room, else to its left,
// else against the screen's edge on the roomier side, covering as little of
// the owner as it can; level with the owner's top.
QRect BesideFrame(const QRect& owner, QSize size, const QRect& available);

class TKeptPlace : public QObject {
 public:
  // Restores the place at once; a child of `window`.
  TKeptPlace(QWidget& window, TAppSettings settings, std::string name);

  // A failed write is not reported: the window opens at its default place
  // next time, nothing to tell. Nothing is written for a window never shown.
  void Save();
  // When no place was stored, puts the window beside its parent window
  // rather than over it.
  void BesideParentUnlessKept();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Restore();

  QWidget& Window;
  TAppSettings Settings;
  std::string Name;
  bool WasShown = false;
  bool Kept = false;
};
