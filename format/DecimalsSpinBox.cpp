#include "format/DecimalsSpinBox.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>

#include "common/Routines.h"

namespace {

bool IsNumberCharacter(QChar ch) {
  return ch.isDigit() || ch == '+' || ch == '-' || ch == '.';
}

bool IsRefusedKey(const QKeyEvent& event) {
  const QString text = event.text();
  if (text.size() != 1 || event.modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
  const QChar ch = text.front();
  return ch.isPrint() && !IsNumberCharacter(ch);
}

}  // namespace

int DecimalsFromText(std::string_view text) {
  int32_t value = 0;
  return TryStrToInt(text, value) ? value : 0;
}

TDecimalsSpinBox::TDecimalsSpinBox(QWidget* parent) : QSpinBox(parent) {
  // Typing reaches the text directly; steps and setValue rewrite it with the
  // line edit's signals blocked, so both roads are watched.
  connect(lineEdit(), &QLineEdit::textChanged, this,
          [this](const QString&) { emit decimalsChanged(Decimals()); });
  connect(this, &QSpinBox::valueChanged, this, [this](int) { emit decimalsChanged(Decimals()); });
}

int TDecimalsSpinBox::Decimals() const {
  return DecimalsFromText(lineEdit()->text().toStdString());
}

// Every text made of number characters stands while it is being typed; only a
// whole number within the bounds becomes the spin box's own value.
QValidator::State TDecimalsSpinBox::validate(QString& input, int&) const {
  if (!std::all_of(input.cbegin(), input.cend(), IsNumberCharacter)) return QValidator::Invalid;
  int32_t value = 0;
  if (TryStrToInt(input.toStdString(), value) && value >= minimum() && value <= maximum())
    return QValidator::Acceptable;
  return QValidator::Intermediate;
}

void TDecimalsSpinBox::fixup(QString& input) const {
  const int value = std::clamp(DecimalsFromText(input.toStdString()), minimum(), maximum());
  input = QString::number(value);
}

void TDecimalsSpinBox::keyPressEvent(QKeyEvent* event) {
  if (IsRefusedKey(*event)) {
    QApplication::beep();
    event->accept();
    return;
  }
  QSpinBox::keyPressEvent(event);
}

void TDecimalsSpinBox::focusOutEvent(QFocusEvent* event) {
  const int typed = Decimals();
  const int bounded = std::clamp(typed, minimum(), maximum());
  if (lineEdit()->text() != QString::number(bounded)) {
    setValue(bounded);
    lineEdit()->setText(QString::number(bounded));
    emit decimalsChanged(Decimals());
  }
  QSpinBox::focusOutEvent(event);
}
