// The Help menu: About Tolvane and the User guide.

#include <QApplication>
#include <QFile>
#include <QMenuBar>
#include <QMessageBox>

#include "app/AboutBox.h"
#include "app/MainFrm.h"
#include "app/UserGuide.h"
#include "common/HandlerErrors.h"
#include "common/Settings.h"

void TMainForm::SetUpHelpMenu() {
  QMenu* help = menuBar()->addMenu("&Help");
  help->setObjectName("menuHelp");
  auto* guide = help->addAction("User guide");
  guide->setObjectName("actionUserGuide");
  connect(guide, &QAction::triggered, this, Reported([this] { showUserGuide(); }));
  auto* about = help->addAction("About Tolvane");
  about->setObjectName("actionAbout");
  connect(about, &QAction::triggered, this, Reported([this] { showAbout(); }));
}

void TMainForm::showAbout() {
  QMessageBox box(this);
  box.setObjectName("AboutBox");
  box.setWindowTitle("About Tolvane");
  box.setIconPixmap(windowIcon().pixmap(64, 64));
  box.setTextFormat(Qt::RichText);
  box.setText(
      AboutText(TOLVANE_VERSION, qVersion(), QFile::decodeName(SettingsLocation().c_str())));
  RunModal(box);
}

void TMainForm::showUserGuide() {
  if (!UserGuide) UserGuide = new TUserGuideForm(Settings, this);
  UserGuide->Load(FindUserGuide(UserGuideCandidates(QApplication::applicationDirPath())));
  UserGuide->show();
  UserGuide->raise();
  UserGuide->activateWindow();
}
