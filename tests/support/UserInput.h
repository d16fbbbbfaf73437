#pragma once
// Key strokes and clicks sent straight to a widget as a user's arrive: the
// press, then the release.

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointF>
#include <QString>
#include <QWidget>

// With the modifiers held and the text the key types.
inline void PressKey(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                     const QString& text = {}) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
  QCoreApplication::sendEvent(widget, &press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
  QCoreApplication::sendEvent(widget, &release);
}

// The left button at `at`, in the widget's coordinates.
inline void ClickAt(QWidget* widget, QPointF at, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QMouseEvent click(type, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, modifiers);
    QCoreApplication::sendEvent(widget, &click);
  }
}
