#pragma once
// The received data's scroll bars, painted flat: the style's own (gradients,
// an antialiased outline) is spread over Qt's painting threads once it is a
// hundred pixels long, and the bar moves with every line that arrives. Where
// its parts lie, and so how it answers the mouse, is still the style's.

#include <QScrollBar>

class TFlatScrollBar : public QScrollBar {
  Q_OBJECT

 public:
  TFlatScrollBar(Qt::Orientation orientation, QWidget* parent);

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
};
