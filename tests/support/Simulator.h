#pragma once
// The built tolvane-sim as tests run it (header only: the path is the test
// program's own build folder). The first line it prints names what it serves:
// the pseudo-terminal's path, or the URL of its TCP port or UDP target.

#include <QProcess>
#include <QString>
#include <QStringList>
#include <string>

inline const QString kSimulatorProgram = TOLVANE_BINARY_DIR "/tools/tolvane-sim";

// Starts the simulator and returns that first line, trimmed; empty when it
// does not start or say it within `timeoutMs` a step.
inline std::string StartSimulator(QProcess& sim, const QStringList& arguments,
                                  int timeoutMs = 5000) {
  sim.start(kSimulatorProgram, arguments);
  if (!sim.waitForStarted(timeoutMs)) return {};
  while (!sim.canReadLine())
    if (!sim.waitForReadyRead(timeoutMs)) return {};
  return sim.readLine().trimmed().toStdString();
}
