// The Charts window's pick lists (the systems and signals whose C/N0 is
// drawn, and whether as means per band) and its pictures (Copy, Save as
// PNG).

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMenu>
#include <QToolButton>

#include "app/ChartsWindow.h"
#include "app/ErrorReport.h"
#include "ui_ChartsWindow.h"

namespace {

// A menu of check boxes that stays open while the user ticks several.
QMenu* PickMenu(QToolButton& button) {
  QMenu* menu = button.menu();
  if (menu == nullptr) {
    menu = new QMenu(&button);
    button.setMenu(menu);
  }
  menu->clear();
  return menu;
}

QAction* PickAction(QMenu& menu, const QString& text, bool checked) {
  QAction* action = menu.addAction(text);
  action->setCheckable(true);
  action->setChecked(checked);
  return action;
}

}  // namespace

// The systems and signals seen so far; a new one comes ticked.
void TChartsWindow::FillPickLists() {
  const std::set<uint16_t>& seen = Series.SeenSignals();
  PickedFrom = seen.size();
  QMenu* systems = PickMenu(*Form->SystemsButton);
  QMenu* signalMenu = PickMenu(*Form->SignalsButton);
  std::set<TSkySystem> listed;
  for (uint16_t key : seen) {
    const TSkySystem system = ChartSignalSystem(key);
    if (listed.insert(system).second) {
      QAction* action =
          PickAction(*systems, SkySystemName(system), !Choice.HiddenSystems.contains(system));
      connect(action, &QAction::toggled, this,
              [this, system](bool shown) { pick(Choice.HiddenSystems, system, shown); });
    }
    const QString name = QString("%1 %2").arg(
        SkySystemName(system), QString::fromStdString(SkySignalName(system, ChartSignalId(key))));
    QAction* action = PickAction(*signalMenu, name, !Choice.HiddenSignals.contains(key));
    connect(action, &QAction::toggled, this,
            [this, key](bool shown) { pick(Choice.HiddenSignals, key, shown); });
  }
  Form->SystemsButton->setEnabled(!seen.empty());
  Form->SignalsButton->setEnabled(!seen.empty());
}

template <typename T>
void TChartsWindow::pick(std::set<T>& hidden, T value, bool shown) {
  if (shown)
    hidden.erase(value);
  else
    hidden.insert(value);
  Refresh();
}

void TChartsWindow::chooseMeans(bool means) {
  Choice.MeanPerBand = means;
  Refresh();
}

QImage TChartsWindow::Image() {
  return grab().toImage();
}

bool TChartsWindow::SaveImage(const QString& fileName) {
  return Image().save(fileName, "PNG");
}

void TChartsWindow::copyImage() {
  QGuiApplication::clipboard()->setImage(Image());
}

void TChartsWindow::saveImage() {
  QString fileName =
      QFileDialog::getSaveFileName(this, "Save as PNG", QString(), "PNG images (*.png)");
  if (fileName.isEmpty()) return;
  if (!fileName.endsWith(".png", Qt::CaseInsensitive)) fileName += ".png";
  if (!SaveImage(fileName))
    ShowWarning(QString("Could not write %1").arg(fileName).toLocal8Bit().toStdString());
}
