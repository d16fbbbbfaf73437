#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <memory>

#include "common/Settings.h"
#include "tests/support/SettingsHome.h"

namespace {

constexpr char kWriterVariable[] = "TOLVANE_SETTINGS_WRITER";
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

std::unique_ptr<QProcess> StartWriter(const QString& writer) {
  auto process = std::make_unique<QProcess>();
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(kWriterVariable, writer);
  process->setProcessEnvironment(environment);
  process->setProcessChannelMode(QProcess::MergedChannels);
  process->start(QCoreApplication::applicationFilePath(),
                 {"--gtest_filter=SettingsWriter.WritesItsShare"});
  return process;
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

}  // namespace
