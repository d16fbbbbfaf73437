#include "tests/tools/DecodeRun.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>

TRunResult RunDecode(const QStringList& args, const QByteArray& input) {
  const QString program = TOLVANE_BINARY_DIR "/tools/tolvane-decode";
  QProcess process;
  process.start(program, args);
  EXPECT_TRUE(process.waitForStarted()) << program.toStdString();
  process.write(input);
  process.closeWriteChannel();
  EXPECT_TRUE(process.waitForFinished(60000));
  return {process.readAllStandardOutput(), process.readAllStandardError(), process.exitCode()};
}

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
  return file.readAll();
}
