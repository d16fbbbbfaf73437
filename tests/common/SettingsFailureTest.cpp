// These scenes are built from POSIX files, devices and limits; on Windows the
// store is the registry and fails in other ways.
#ifndef _WIN32

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <functional>

#include "common/Settings.h"
#include "tests/support/SettingsHome.h"

namespace {

void WriteFile(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).path());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

// What a path is now, in enough detail to see any change a write could make.
std::string Snapshot(const QString& path) {
  const QFileInfo info(path);
  std::string state =
      info.isSymLink() ? "link to " + info.symLinkTarget().toStdString() + ", " : "";
  if (info.isDir()) return state + "folder";
  if (!info.exists()) return state + "nothing";
  if (!info.isFile()) return state + "special file";
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return state + "unreadable file";
  return state + "file: " + file.readAll().toStdString();
}

// Every writer must raise the fixed text with the value's name.
void ExpectEveryWriteFails(const std::string& name, const char* legend) {
  const std::string expected = "Failed to set data for '" + name + "'";
  const std::function<void()> writes[] = {
      [&] { WriteSettingInt("Options", name, 1); },
      [&] { WriteSettingBool("Options", name, true); },
      [&] { WriteSettingStr("Options", name, "x"); },
  };
  for (const auto& write : writes) {
    try {
      write();
      ADD_FAILURE() << legend << ": the write did not fail";
    } catch (const ESettingsError& error) {
      EXPECT_EQ(error.what(), expected) << legend;
    }
  }
}

const QByteArray kSettings = "[HKEY_CURRENT_USER\\SOFTWARE\\Tolvane\\Options]\n\"A\"=dword:1\n";

TEST(SettingsFailure, FailedWriteRaisesAndChangesNothing) {
  struct {
    const char* Legend;
    std::string Name;
    // Sets the scene inside the home and says which path must stay as it is.
    std::function<QString(const QString& home)> Arrange;
  } cases[] = {
      {"config home is a regular file", "BaudRate",
       [](const QString& home) {
         WriteFile(home + "/plain", "keep");
         qputenv("XDG_CONFIG_HOME", QFile::encodeName(home + "/plain"));
         return home + "/plain";
       }},
      {"settings folder is a regular file", "BaudRate",
       [](const QString& home) {
         WriteFile(home + "/Tolvane", "keep");
         return home + "/Tolvane";
       }},
      {"settings file is a folder", "BaudRate",
       [](const QString& home) {
         QDir().mkpath(home + "/Tolvane/Tolvane.reg");
         return home + "/Tolvane/Tolvane.reg";
       }},
      {"settings file links to a full device", "BaudRate",
       [](const QString& home) {
         QDir().mkpath(home + "/Tolvane");
         QFile::link("/dev/full", home + "/Tolvane/Tolvane.reg");
         return home + "/Tolvane/Tolvane.reg";
       }},
      {"name with a line break", "Baud\nRate",
       [](const QString& home) {
         WriteFile(home + "/Tolvane/Tolvane.reg", kSettings);
         return home + "/Tolvane/Tolvane.reg";
       }},
  };
  for (const auto& c : cases) {
    TTempSettingsHome home;
    const QString watched = c.Arrange(QString::fromStdString(home.Path()));
    const std::string before = Snapshot(watched);
    const std::string device = Snapshot("/dev/full");
    ExpectEveryWriteFails(c.Name, c.Legend);
    EXPECT_EQ(Snapshot(watched), before) << c.Legend;
    EXPECT_EQ(Snapshot("/dev/full"), device) << c.Legend;
  }
}

// Lowers the largest file this process may write, so that writing the new
// settings really fails the way a full disk makes it fail.
class TFileSizeLimit {
 public:
  explicit TFileSizeLimit(rlim_t bytes) : OldHandler(signal(SIGXFSZ, SIG_IGN)) {
    getrlimit(RLIMIT_FSIZE, &Saved);
    rlimit limit = Saved;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~TFileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &Saved);
    signal(SIGXFSZ, OldHandler);
  }
  TFileSizeLimit(const TFileSizeLimit&) = delete;
  TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;

 private:
  rlimit Saved{};
  sighandler_t OldHandler;
};

TEST(SettingsFailure, WriteThatRunsOutOfSpaceKeepsTheOldFile) {
  TTempSettingsHome home;
  const QString path = QString::fromStdString(home.SettingsFile());
  const QByteArray before = kSettings + QByteArray(2000, ';') + "\n";
  WriteFile(path, before);
  {
    TFileSizeLimit limit(1024);
    ExpectEveryWriteFails("PPSCommand", "file size limit");
  }
  EXPECT_EQ(Snapshot(path), "file: " + before.toStdString());
  QDir folder(QFileInfo(path).path());
  EXPECT_EQ(folder.entryList(QDir::Files | QDir::Hidden).join(",").toStdString(), "Tolvane.reg");
}

}  // namespace

#endif
