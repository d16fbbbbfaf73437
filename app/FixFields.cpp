#include "app/FixFields.h"

#include <QColor>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProgressBar>
#include <algorithm>
#include <array>
#include <vector>

#include "app/Images.h"
#include "format/FormatRoutines.h"
#include "monitor/FixDisplay.h"

namespace {

QColor ColourOf(TFieldColour colour, const QColor& buttonFace) {
  switch (colour) {
    case TFieldColour::Red:
      return QColor(255, 0, 0);
    case TFieldColour::Yellow:
      return QColor(255, 255, 0);
    case TFieldColour::ButtonFace:
      break;
  }
  return buttonFace;
}

// A new palette sets off a round of change events through the widget, so it
// is given only when the colour really changes; the same colour again shows
// nothing new, so nothing is painted for it.
void PaintField(QLineEdit& field, const QColor& colour) {
  if (field.palette().color(QPalette::Base) == colour) return;
  QPalette palette = field.palette();
  palette.setColor(QPalette::Base, colour);
  field.setPalette(palette);
}

void SetBar(QProgressBar& bar, int position, const QColor& colour) {
  bar.setValue(std::clamp(position, nmea::kSNRMinimum, nmea::kSNRMaximum));
  if (bar.palette().color(QPalette::Window) == colour &&
      bar.palette().color(QPalette::Base) == colour && bar.autoFillBackground())
    return;
  QPalette palette = bar.palette();
  palette.setColor(QPalette::Base, colour);
  palette.setColor(QPalette::Window, colour);
  bar.setPalette(palette);
  bar.setAutoFillBackground(true);
}

// Laying out a line edit's text is the dearest part of a write; the same
// text again changes nothing on screen.
void SetText(QLineEdit& field, const QString& text) {
  if (field.text() != text) field.setText(text);
}

// The fields and bars of the window by the field they show, found in one walk
// over its controls when the window first shows a sentence, and kept as a
// child of the window for its lifetime: a GSA writes some eighty of them, and
// a search of the whole window for each one would cost more than everything
// else together.
class TFieldTable : public QObject {
  Q_OBJECT

 public:
  static const TFieldTable& Of(QWidget& panel) {
    if (auto* table = panel.findChild<TFieldTable*>(kName, Qt::FindDirectChildrenOnly))
      return *table;
    return *new TFieldTable(panel);
  }

  explicit TFieldTable(QWidget& panel) : QObject(&panel) {
    setObjectName(kName);
    QHash<QString, int> indexOf;
    for (int index = 0; index < kFixFields; ++index)
      indexOf.insert(QString::fromStdString(FieldName(FieldAt(index))), index);
    for (auto* field : panel.findChildren<QLineEdit*>()) {
      const auto found = indexOf.constFind(field->objectName());
      if (found != indexOf.cend()) Fields[static_cast<size_t>(*found)] = field;
    }
    for (auto* bar : panel.findChildren<QProgressBar*>()) {
      const auto found = indexOf.constFind(bar->objectName());
      if (found != indexOf.cend()) Bars[static_cast<size_t>(*found)] = bar;
    }
  }

  void Apply(const TFieldUpdate& update, const QColor& buttonFace) const {
    const auto index = static_cast<size_t>(FieldIndex(update.Field));
    QLineEdit* field = Fields[index];
    QProgressBar* bar = Bars[index];
    const QColor colour = ColourOf(update.Colour, buttonFace);
    switch (update.Kind) {
      case TFieldUpdate::TKind::Text:
        if (field) SetText(*field, QString::fromStdString(update.Text));
        break;
      case TFieldUpdate::TKind::Used:
        if (field) SetText(*field, QString::fromLatin1(UsedText(update.Used)));
        break;
      case TFieldUpdate::TKind::Colour:
        if (field) PaintField(*field, colour);
        break;
      case TFieldUpdate::TKind::Bar:
        if (bar) SetBar(*bar, update.Position, colour);
        break;
    }
  }

 private:
  static constexpr const char* kName = "FieldTable";
  // The form names each field once; a field it lacks stays empty and is skipped.
  std::array<QLineEdit*, kFixFields> Fields{};
  std::array<QProgressBar*, kFixFields> Bars{};
};

}  // namespace

void ShowFieldUpdates(QWidget& panel, const TFieldUpdates& updates) {
  const TFieldTable& table = TFieldTable::Of(panel);
  const QColor buttonFace = panel.palette().color(QPalette::Button);
  // A tick that took several lines may write a field several times; only
  // the last write of each kind shows, in the order they came.
  constexpr size_t kKinds = 4;
  std::vector<bool> written(static_cast<size_t>(kFixFields) * kKinds);
  std::vector<const TFieldUpdate*> last;
  last.reserve(updates.size());
  for (size_t index = updates.size(); index-- > 0;) {
    const TFieldUpdate& update = updates[index];
    const size_t key =
        static_cast<size_t>(FieldIndex(update.Field)) * kKinds + static_cast<size_t>(update.Kind);
    if (written[key]) continue;
    written[key] = true;
    last.push_back(&update);
  }
  for (size_t index = last.size(); index-- > 0;) table.Apply(*last[index], buttonFace);
}

void ShowLamp(QLabel& lamp, bool lit) {
  QPixmap picture(lamp.size());
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.drawPixmap(0, 0, LampPixmap(lit));
  painter.end();
  lamp.setPixmap(picture);
}

#include "FixFields.moc"
