#include "tests/tools/DecodeRun.h"

#include <gtest/gtest.h>

#include <QProcess>

TRunResult RunDecode(const QStringList& args, const QByteArray& input) {
  QProcess process;
  process.start(kDecodeProgram, args);
  EXPECT_TRUE(process.waitForStarted()) << kDecodeProgram.toStdString();
  process.write(input);
  process.closeWriteChannel();
  EXPECT_TRUE(process.waitForFinished(60000));
  return {process.readAllStandardOutput(), process.readAllStandardError(), process.exitCode()};
}

bool Serve(uint16_t port, const QString& echo, const char* cycles, const TWait& wait) {
  QProcess sim;
  sim.start(kSimulatorProgram,
            {"--tcp", QString::number(port), "--rate", "40", "--cycles", cycles, "--echo", echo});
  return sim.waitForStarted(5000) &&
         wait([&] { return sim.state() == QProcess::NotRunning; }, 30000) && sim.exitCode() == 0;
}

std::vector<std::string> OutputLines(const QByteArray& out) {
  std::vector<std::string> lines;
  for (const QByteArray& line : out.split('\n'))
    if (!line.isEmpty()) lines.push_back(line.toStdString());
  return lines;
}
