#pragma once
// Running the built tolvane-decode as a script would: arguments, standard
// input, and what comes back.

#include <QByteArray>
#include <QString>
#include <QStringList>

struct TRunResult {
  QByteArray Out;
  QByteArray Err;
  int ExitCode = -1;
};

TRunResult RunDecode(const QStringList& args, const QByteArray& input = {});
// A file of the test data, whole.
QByteArray ReadFile(const QString& path);
