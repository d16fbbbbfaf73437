#pragma once
// The usage text of a command-line companion, from Qt's parser, naming the
// tool as its users type it rather than by the path it was run from.

#include <QCommandLineParser>
#include <QCoreApplication>
#include <string>

inline std::string ToolUsage(const QCommandLineParser& parser) {
  QString usage = parser.helpText();
  const QString program = QCoreApplication::arguments().value(0);
  const QString start = QStringLiteral("Usage: ");
  if (!program.isEmpty() && usage.startsWith(start + program))
    usage.replace(start.size(), program.size(), QCoreApplication::applicationName());
  return usage.toStdString();
}
