// The Help menu: About Tolvane names this copy and where its settings live;
// the User guide finds the README where it is installed or beside the
// program and renders its Markdown.

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QMessageBox>
#include <QTextBrowser>

#include "app/UserGuide.h"
#include "tests/app/MainWindowHarness.h"
#include "tests/support/TextFiles.h"

namespace {

TEST(Help, AboutNamesVersionLicenseQtAndSettingsFile) {
  TWindowHarness harness;
  QString title;
  QString text;
  harness.AnswerModal = [&](QDialog& dialog) {
    title = dialog.windowTitle();
    text = dynamic_cast<QMessageBox&>(dialog).text();
    return int(QDialog::Accepted);
  };
  harness.Find<QAction>("actionAbout")->trigger();
  EXPECT_EQ(title, "About Tolvane");
  for (const QString& part :
       {QString("Tolvane " TOLVANE_VERSION), QString("GPL-3"), "Qt " + QString(qVersion()),
        QString::fromStdString(harness.Home.SettingsFile())})
    EXPECT_TRUE(text.contains(part)) << part.toStdString() << " in " << text.toStdString();
}

TEST(Help, UserGuideRendersTheReadme) {
  TTempSettingsHome home;
  const std::string path = home.Path() + "/README.md";
  ASSERT_TRUE(WriteAll(path, "# Tolvane\n\nA **monitor** for receivers.\n"));
  TUserGuideWindow guide{TAppSettings()};
  guide.Load(QString::fromStdString(path));
  EXPECT_EQ(guide.Browser().toPlainText().toStdString(), "Tolvane\nA monitor for receivers.");
  guide.Load(QString::fromStdString(home.Path() + "/missing.md"));
  EXPECT_TRUE(guide.Browser().toPlainText().contains("could not be read"));
  guide.Load();
  EXPECT_TRUE(guide.Browser().toPlainText().startsWith("Tolvane\n")) << "built in";
}

}  // namespace
