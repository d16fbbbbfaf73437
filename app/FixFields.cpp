
#include <QColor>
#include <QLineEdit>
#include <QProgressBar>
#include <algorithm>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/FixFields.h"

#include <QLabel>
#include <QPainter>
#include "app/Images.h"
#include "format/FormatRoutines.h"
#include "monitor/FixDisplay.h"

namespace {

constexpr int kSNRMinimum = 0;
constexpr int kSNRMaximum = 60;

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
  bar.setValue(std::clamp(position, kSNRMinimum, kSNRMaximum));
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

// The fields and bars of the window by name, found in one walk over its
// controls when the window first shows a sentence, and kept as a child of the
// window for its lifetime: a GSA writes some eighty of them, and a search of
// the whole window for each one would cost more than everything else together.
class TFieldMap : public QObject {
  Q_OBJECT

 public:
  static const TFieldMap& Of(QWidget& panel) {
    if (auto* map = panel.findChild<TFieldMap*>(kName, Qt::FindDirectChildrenOnly)) return *map;
    return *new TFieldMap(panel);
  }

  explicit TFieldMap(QWidget& panel) : QObject(&panel) {
    setObjectName(kName);
    for (auto* field : panel.findChildren<QLineEdit*>())
      Fields[field->objectName().toStdString()].push_back(field);
    for (auto* bar : panel.findChildren<QProgressBar*>())
      Bars[bar->objectName().toStdString()].push_back(bar);
  }

  void Apply(const TFieldUpdate& update, const QColor& buttonFace) const {
    const QColor colour = ColourOf(update.Colour, buttonFace);
    switch (update.Kind) {
      case TFieldUpdate::TKind::Text:
        for (QLineEdit* field : Named(Fields, update.Name))
          SetText(*field, QString::fromStdString(update.Text));
        break;
      case TFieldUpdate::TKind::Colour:
        for (QLineEdit* field : Named(Fields, update.Name)) PaintField(*field, colour);
        break;
      case TFieldUpdate::TKind::Bar:
        for (QProgressBar* bar : Named(Bars, update.Name)) SetBar(*bar, update.Position, colour);
        break;
    }
  }

 private:
  template <typename TControl>
  using TByName = std::unordered_map<std::string, std::vector<TControl*>>;

  template <typename TControl>
  static const std::vector<TControl*>& Named(const TByName<TControl>& map,
                                             const std::string& name) {
    static const std::vector<TControl*> kNone;
    const auto found = map.find(name);
    return found == map.end() ? kNone : found->second;
  }

  static constexpr const char* kName = "FieldMap";
  TByName<QLineEdit> Fields;
  TByName<QProgressBar> Bars;
};

}  // namespace

void ShowFieldUpdates(QWidget& panel, const TFieldUpdates& updates) {
  const TFieldMap& map = TFieldMap::Of(panel);
  const QColor buttonFace = panel.palette().color(QPalette::Button);
  for (const TFieldUpdate& update : updates) map.Apply(update, buttonFace);
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
