#include "app/UserGuide.h"

#include <QFile>
#include <QFileInfo>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

// About eighty columns of the guide's text, and a screenful of it.
constexpr QSize kDefaultSize(760, 640);

}  // namespace

TUserGuideWindow::TUserGuideWindow(const TAppSettings& settings, QWidget* parent)
    : TToolWindow(parent), Text(new QTextBrowser(this)) {
  setObjectName("UserGuide");
  setWindowTitle(tr("Tolvane User Guide"));
  Text->setObjectName("UserGuideText");
  Text->setOpenExternalLinks(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Text);
  resize(kDefaultSize);
  KeepPlace(settings, "UserGuide");
}

void TUserGuideWindow::Load(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    Text->setPlainText(tr("The user guide could not be read."));
    return;
  }
  // Links to the files beside it (LICENSE) open in the window too.
  Text->setSearchPaths({QFileInfo(path).absolutePath()});
  Text->setMarkdown(QString::fromUtf8(file.readAll()));
}
