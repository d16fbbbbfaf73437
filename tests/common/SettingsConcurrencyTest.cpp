#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <cstdlib>
#include <memory>

#include "common/Settings.h"
#include "tests/support/SettingsHome.h"

namespace {

constexpr char kWriterVariable[] = "TOLVANE_SETTINGS_WRITER";
constexpr char kCrashVariable[] = "TOLVANE_SETTINGS_CRASH_IN_LOCK";
constexpr int kValuesPerWriter = 500;

std::string ValueName(const std::string& writer, int i) {
  return writer + "Value" + std::to_string(i);
}

// The child's half of the test below; on its own it does nothing.
TEST(SettingsWriter, WritesItsShare) {
  const std::string writer = qEnvironmentVariable(kWriterVariable).toStdString();
  if (writer.empty()) GTEST_SKIP() << "acts only as a writer started by TwoInstancesLoseNothing";
  for (int i = 0; i < kValuesPerWriter; ++i) WriteSettingInt("Options", ValueName(writer, i), i);
}

// The child's half of CrashInsideTheLockBlocksNoOne: takes the writers' lock
// and dies holding it, as a crash in the middle of a write would.
TEST(SettingsWriter, DiesHoldingTheLock) {
  const QString lockPath = qEnvironmentVariable(kCrashVariable);
  if (lockPath.isEmpty()) GTEST_SKIP() << "acts only as a child of CrashInsideTheLockBlocksNoOne";
  QLockFile lock(lockPath);
  ASSERT_TRUE(lock.tryLock(0));
  std::_Exit(0);
}

std::unique_ptr<QProcess> StartChild(const char* variable, const QString& value,
                                     const QString& test) {
  auto process = std::make_unique<QProcess>();
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(variable, value);
  process->setProcessEnvironment(environment);
  process->setProcessChannelMode(QProcess::MergedChannels);
  process->start(QCoreApplication::applicationFilePath(), {"--gtest_filter=" + test});
  return process;
}

std::unique_ptr<QProcess> StartWriter(const QString& writer) {
  return StartChild(kWriterVariable, writer, "SettingsWriter.WritesItsShare");
}

// Two running instances writing at the same moment: every value of both
// must be in the file afterwards.
TEST(SettingsConcurrency, TwoInstancesLoseNothing) {
  TTempSettingsHome home;
  const std::string writers[] = {"A", "B"};
  std::vector<std::unique_ptr<QProcess>> processes;
  for (const std::string& writer : writers)
    processes.push_back(StartWriter(QString::fromStdString(writer)));
  for (const auto& process : processes) {
    ASSERT_TRUE(process->waitForFinished(100000));
    EXPECT_EQ(process->exitCode(), 0) << process->readAll().toStdString();
  }
  std::vector<std::string> missing;
  for (const std::string& writer : writers)
    for (int i = 0; i < kValuesPerWriter; ++i)
      if (ReadSettingInt("Options", ValueName(writer, i), -1) != i)
        missing.push_back(ValueName(writer, i));
  EXPECT_TRUE(missing.empty()) << missing.size() << " lost, the first " << missing.front();
}

// A lock left behind by a dead instance is taken over; a write that had to
// wait it out would give up and fail.
TEST(SettingsConcurrency, CrashInsideTheLockBlocksNoOne) {
  TTempSettingsHome home;
  WriteSettingInt("Options", "ReplaySpeed", 500);
  const QString lockPath = QString::fromStdString(home.SettingsFile() + ".lock");
  const auto process = StartChild(kCrashVariable, lockPath, "SettingsWriter.DiesHoldingTheLock");
  ASSERT_TRUE(process->waitForFinished(60000));
  ASSERT_TRUE(QFile::exists(lockPath)) << process->readAll().toStdString();
  WriteSettingInt("Options", "ReplaySpeed", 250);
  EXPECT_EQ(ReadSettingInt("Options", "ReplaySpeed", 0), 250);
  EXPECT_FALSE(QFile::exists(lockPath));
}

}  // namespace
