#pragma once
// A status bar label that never widens its window: a text longer than the
// room it has ends in "…", and its tool tip shows the whole of it. The text
// is set as on any QLabel.

#include <QLabel>

class TElidedLabel : public QLabel {
  Q_OBJECT

 public:
  explicit TElidedLabel(QWidget* parent = nullptr);

  // What is painted: text() as far as it fits.
  QString ShownText() const;
  // The tool tip: the whole text when it does not fit, else nothing.
  QString FullTextTip() const;

  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool event(QEvent* event) override;
};
