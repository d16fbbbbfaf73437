#pragma once
// The spin field of a decimals count (0..9). Unlike a plain spin box it lets
// the user type a value beyond its bounds and takes it as typed until the focus
// leaves, so the samples show what was typed; only then is it brought to the
// nearest bound. Keys that cannot be part of a number are refused with a beep.

#include <QSpinBox>
#include <string_view>

// A decimals field's text as a whole number; anything else (empty included) is 0.
int DecimalsFromText(std::string_view text);

class TDecimalsSpinBox : public QSpinBox {
  Q_OBJECT

 public:
  explicit TDecimalsSpinBox(QWidget* parent = nullptr);

  // The field's value: its text read as a whole number, bounds or not.
  int Decimals() const;

 signals:
  // Each time the text changes, by typing, stepping or setValue.
  void decimalsChanged(int decimals);

 protected:
  QValidator::State validate(QString& input, int& pos) const override;
  void fixup(QString& input) const override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
};
