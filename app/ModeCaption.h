#pragma once
// The mode indicator ("LOGGING", "REPLAY", "PAUSED"), red and bold. It blinks
// as often as every replayed line, so it blinks by painting its text or
// nothing: hiding and showing a widget would have its parent paint beneath it
// and lay itself out at every blink. It paints its whole rectangle either way,
// and so nothing behind it is ever painted again for it.

#include <QLabel>
#include <QStaticText>

class TModeCaption : public QLabel {
  Q_OBJECT

 public:
  explicit TModeCaption(QWidget* parent = nullptr);

  // Whether the text shows now; the caption starts dark.
  bool Lit() const { return LitNow; }
  void SetLit(bool lit);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  bool LitNow = false;
  // The text laid out once, not at every blink.
  QStaticText Shown;
};
