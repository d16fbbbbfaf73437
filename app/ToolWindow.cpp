#include "app/ToolWindow.h"

#include "app/FramePacer.h"
#include "app/KeptPlace.h"

TToolWindow::TToolWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  new TFramePacer(*this);
}

void TToolWindow::KeepPlace(const TAppSettings& settings, std::string name) {
  Place = new TKeptPlace(*this, settings, std::move(name));
  Place->BesideParentUnlessKept();
}

void TToolWindow::Open() {
  show();
  raise();
  activateWindow();
}

void TToolWindow::SaveGeometry() {
  if (Place) Place->Save();
}
