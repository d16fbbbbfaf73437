#pragma once
// Whole files in and out, for tests of logging and replay.

#include <QByteArray>
#include <QString>
#include <string>
#include <vector>

// The file's bytes, or "<missing>" when it cannot be read.
std::string ReadAll(const std::string& path);
// The same in Qt's type, for bytes handed to a process or compared with its output.
QByteArray ReadBytes(const QString& path);
// Replaces the file with `bytes`, making its folder first where there is
// none; false when it cannot be written.
bool WriteAll(const std::string& path, const std::string& bytes);
// The file's lines, each without its LF or CR LF; empty lines left out.
std::vector<std::string> NonEmptyLines(const std::string& path);
// The file's lines as a log holds them, each ended with CR LF; a last line
// without that ending is marked "<unterminated>".
std::vector<std::string> LogLines(const std::string& path);
// The lines as a log holds them, each ended with CR LF.
std::string AsLog(const std::vector<std::string>& lines);
