#include "app/UserGuide.h"

#include <QFile>
#include <QFileInfo>
#include <QTextBrowser>
#include <QVBoxLayout>

QStringList UserGuideCandidates(const QString& programFolder) {
  return {QStringLiteral("/usr/share/doc/tolvane/README.md"),
          programFolder + "/../share/doc/tolvane/README.md", programFolder + "/README.md"};
}

QString FindUserGuide(const QStringList& candidates) {
  for (const QString& path : candidates) {
    if (QFileInfo(path).isFile()) return QFileInfo(path).canonicalFilePath();
  }
  return {};
}

TUserGuideWindow::TUserGuideWindow(const TAppSettings& settings, QWidget* parent)
    : TToolWindow(parent), Text(new QTextBrowser(this)) {
  setObjectName("UserGuide");
  setWindowTitle(tr("Tolvane User Guide"));
  Text->setObjectName("UserGuideText");
  Text->setOpenExternalLinks(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Text);
  resize(760, 640);
  KeepPlace(settings, "UserGuide");
}

void TUserGuideWindow::Load(const QString& path) {
  QFile file(path);
  if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
    Text->setPlainText(
        tr("The user guide (README.md) was not found beside the program or in "
           "/usr/share/doc/tolvane."));
    return;
  }
  // Links to the files beside it (LICENSE) open in the window too.
  Text->setSearchPaths({QFileInfo(path).absolutePath()});
  Text->setMarkdown(QString::fromUtf8(file.readAll()));
}
