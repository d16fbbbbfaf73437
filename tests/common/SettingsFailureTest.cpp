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
#include "tests/support/TextFiles.h"

namespace {

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

// Every writer must raise the fixed text with the value's name, and the
// reason on a second line.
void ExpectEveryWriteFails(const std::string& name, const std::string& reason, const char* legend) {
  const std::string expected = "Failed to set data for '" + name + "'\n";
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
      const std::string text = error.what();
      EXPECT_EQ(text.substr(0, expected.size()), expected) << legend;
      EXPECT_NE(text.find(reason, expected.size()), std::string::npos) << legend << ": " << text;
    }
  }
}

const QByteArray kSettings = "[HKEY_CURRENT_USER\\SOFTWARE\\Tolvane\\Options]\n\"A\"=dword:1\n";

TEST(SettingsFailure, FailedWriteRaisesAndChangesNothing) {
  struct {
    const char* Legend;
    std::string Name;
    std::string Reason;  // part of the second line
    // Sets the scene inside the home and says which path must stay as it is.
    std::function<QString(const QString& home)> Arrange;
  } cases[] = {
      {"config home is a regular file", "BaudRate", "/plain/Tolvane cannot be created",
       [](const QString& home) {
         EXPECT_TRUE(WriteAll((home + "/plain").toStdString(), "keep"));
         qputenv("XDG_CONFIG_HOME", QFile::encodeName(home + "/plain"));
         return home + "/plain";
       }},
      {"settings folder is a regular file", "BaudRate", "/Tolvane cannot be created",
       [](const QString& home) {
         EXPECT_TRUE(WriteAll((home + "/Tolvane").toStdString(), "keep"));
         return home + "/Tolvane";
       }},
      {"settings file is a folder", "BaudRate", "/Tolvane.reg is not a regular file",
       [](const QString& home) {
         QDir().mkpath(home + "/Tolvane/Tolvane.reg");
         return home + "/Tolvane/Tolvane.reg";
       }},
      {"settings file links to a full device", "BaudRate", "/Tolvane.reg is not a regular file",
       [](const QString& home) {
         QDir().mkpath(home + "/Tolvane");
         QFile::link("/dev/full", home + "/Tolvane/Tolvane.reg");
         return home + "/Tolvane/Tolvane.reg";
       }},
      {"settings file beyond the size limit", "BaudRate",
       "Settings file too large (5 MB, limit 4 MB)",
       [](const QString& home) {
         EXPECT_TRUE(WriteAll((home + "/Tolvane/Tolvane.reg").toStdString(),
                              (kSettings + QByteArray(4 << 20, ';')).toStdString()));
         return home + "/Tolvane/Tolvane.reg";
       }},
      {"name with a line break", "Baud\nRate",
       "A name with a line break or a zero byte cannot be stored",
       [](const QString& home) {
         EXPECT_TRUE(
             WriteAll((home + "/Tolvane/Tolvane.reg").toStdString(), kSettings.toStdString()));
         return home + "/Tolvane/Tolvane.reg";
       }},
  };
  for (const auto& c : cases) {
    TTempSettingsHome home;
    const QString watched = c.Arrange(QString::fromStdString(home.Path()));
    const std::string before = Snapshot(watched);
    const std::string device = Snapshot("/dev/full");
    ExpectEveryWriteFails(c.Name, c.Reason, c.Legend);
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
  ASSERT_TRUE(WriteAll(path.toStdString(), before.toStdString()));
  {
    TFileSizeLimit limit(1024);
    ExpectEveryWriteFails("PPSCommand", "/Tolvane.reg: File too large", "file size limit");
  }
  EXPECT_EQ(Snapshot(path), "file: " + before.toStdString());
  QDir folder(QFileInfo(path).path());
  EXPECT_EQ(folder.entryList(QDir::Files | QDir::Hidden).join(",").toStdString(), "Tolvane.reg");
}

// A file beyond the limit is neither read nor written, and the user is told
// so once at start; sizes are whole megabytes, rounded up.
TEST(SettingsFailure, OversizedFileIsNamedAtStart) {
  const struct {
    const char* Legend;
    qint64 Size;  // -1: no file
    std::string Notice;
  } cases[] = {
      {"no file", -1, ""},
      {"exactly the limit", 4 << 20, ""},
      {"one byte over", (4 << 20) + 1,
       "Settings file too large (5 MB, limit 4 MB): using defaults, not writing it"},
      {"52 MB", qint64{52} << 20,
       "Settings file too large (52 MB, limit 4 MB): using defaults, not writing it"},
  };
  for (const auto& c : cases) {
    TTempSettingsHome home;
    const QString path = QString::fromStdString(home.SettingsFile());
    if (c.Size >= 0) {
      ASSERT_TRUE(WriteAll(path.toStdString(), kSettings.toStdString()));
      QFile(path).resize(c.Size);  // sparse: no disk space taken
    }
    EXPECT_EQ(SettingsNotice(), c.Notice) << c.Legend;
    EXPECT_EQ(ReadSettingInt("Options", "A", -1), c.Notice.empty() && c.Size >= 0 ? 1 : -1)
        << c.Legend;
  }
}

}  // namespace

#endif
