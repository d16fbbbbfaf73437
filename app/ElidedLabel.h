#pragma once
// A status bar field that never widens its window: a text longer than the
// room it has ends in "…", and its tool tip shows the whole of it. Its text
// changes twice a second while anything runs; a QLabel would have the whole
// status bar laid out and painted again at each change, this one paints only
// itself, and asks for a new layout only when its text needs another width.

#include <QStaticText>
#include <QWidget>

class TElidedLabel : public QWidget {
  Q_OBJECT

 public:
  explicit TElidedLabel(QWidget* parent = nullptr);

  QString text() const { return Text; }
  void setText(const QString& text);
  // Bold and red, for a state the user should notice.
  void SetWarning(bool warning);

  // What is painted: text() as far as it fits.
  QString ShownText() const;
  // The tool tip: the whole text when it does not fit, else nothing.
  QString FullTextTip() const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool event(QEvent* event) override;

 private:
  int LayOut();

  QString Text;
  int TextWidth = 0;
  bool Warning = false;
  QStaticText Whole;
  // The elided text as last laid out, and the width it was elided to.
  QStaticText Shown;
  int ShownWidth = -1;
};
