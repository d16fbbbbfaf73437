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

// A program in <prefix>/bin: the package's README, then its prefix's, then
// the one beside it; the first that exists is shown.
TEST(Help, UserGuideFoundWhereInstalledOrBesideTheProgram) {
  TTempSettingsHome home;
  const QString prefix = QString::fromStdString(home.Path()) + "/prefix";
  const QString bin = prefix + "/bin";
  const QStringList candidates = UserGuideCandidates(bin);
  EXPECT_EQ(candidates.first(), "/usr/share/doc/tolvane/README.md");
  const QStringList ours = candidates.mid(1);
  ASSERT_TRUE(QDir().mkpath(bin));
  ASSERT_TRUE(QDir().mkpath(prefix + "/share/doc/tolvane"));
  const struct {
    const char* Legend;
    const char* Write;
    const char* Found;
  } rows[] = {
      {"none there", nullptr, ""},
      {"beside the program", "/bin/README.md", "/bin/README.md"},
      {"under the prefix: before the one beside", "/share/doc/tolvane/README.md",
       "/share/doc/tolvane/README.md"},
  };
  for (const auto& row : rows) {
    if (row.Write) {
      ASSERT_TRUE(WriteAll((prefix + row.Write).toStdString(), "# Guide\n"));
    }
    const QString found = FindUserGuide(ours);
    EXPECT_EQ(found, *row.Found ? QDir(prefix + row.Found).canonicalPath() : QString())
        << row.Legend;
  }
}

TEST(Help, UserGuideRendersTheReadme) {
  TTempSettingsHome home;
  const std::string path = home.Path() + "/README.md";
  ASSERT_TRUE(WriteAll(path, "# Tolvane\n\nA **monitor** for receivers.\n"));
  TUserGuideWindow guide{TAppSettings()};
  guide.Load(QString::fromStdString(path));
  EXPECT_EQ(guide.Browser().toPlainText().toStdString(), "Tolvane\nA monitor for receivers.");
  guide.Load(QString::fromStdString(home.Path() + "/missing.md"));
  EXPECT_TRUE(guide.Browser().toPlainText().contains("was not found"));
}

}  // namespace
