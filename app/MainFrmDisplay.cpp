// The fix display: the fields and the satellite table of the top panel.

#include <QColor>
#include <QLineEdit>
#include <QProgressBar>
#include <algorithm>

#include "app/MainFrm.h"
#include "ui_MainFrm.h"

namespace {

constexpr int kSNRMinimum = 0;
constexpr int kSNRMaximum = 60;

}  // namespace

void TMainForm::ShowGGA() {}

void TMainForm::ShowRMC() {}

void TMainForm::ShowSatellites() {}

void TMainForm::ShowGSA() {}

void TMainForm::ShowRME() {}

// Fields are looked for among the window's own controls only: the dialogs
// are children of the window too, and a name there must never match.
std::string TMainForm::GetFieldText(const std::string& name) const {
  const auto* field = centralWidget()->findChild<QLineEdit*>(QString::fromStdString(name));
  return field ? field->text().toStdString() : std::string();
}

void TMainForm::SetFieldText(const std::string& name, const std::string& text) {
  const QString value = QString::fromStdString(text);
  for (auto* field : centralWidget()->findChildren<QLineEdit*>(QString::fromStdString(name)))
    field->setText(value);
}

void TMainForm::SetSNRBar(const std::string& name, int position, const QColor& colour) {
  for (auto* bar : centralWidget()->findChildren<QProgressBar*>(QString::fromStdString(name))) {
    bar->setValue(std::clamp(position, kSNRMinimum, kSNRMaximum));
    QPalette palette = bar->palette();
    palette.setColor(QPalette::Base, colour);
    palette.setColor(QPalette::Window, colour);
    bar->setPalette(palette);
    bar->setAutoFillBackground(true);
    bar->repaint();
  }
}
