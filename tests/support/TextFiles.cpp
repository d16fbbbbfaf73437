#include "tests/support/TextFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

std::string ReadAll(const std::string& path) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) return "<missing>";
  return file.readAll().toStdString();
}

QByteArray ReadBytes(const QString& path) {
  return QByteArray::fromStdString(ReadAll(path.toStdString()));
}

bool WriteAll(const std::string& path, const std::string& bytes) {
  QFile file(QString::fromStdString(path));
  QDir().mkpath(QFileInfo(file).path());
  return file.open(QIODevice::WriteOnly) &&
         file.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
             static_cast<qint64>(bytes.size());
}

std::vector<std::string> NonEmptyLines(const std::string& path) {
  QFile file(QString::fromStdString(path));
  std::vector<std::string> lines;
  if (!file.open(QIODevice::ReadOnly)) return lines;
  for (const QByteArray& line : file.readAll().split('\n'))
    if (!line.isEmpty()) lines.push_back(line.chopped(line.endsWith('\r') ? 1 : 0).toStdString());
  return lines;
}

std::vector<std::string> LogLines(const std::string& path) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) return {};
  const std::string text = file.readAll().toStdString();
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end = text.find("\r\n"); end != std::string::npos;
       end = text.find("\r\n", start)) {
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  if (start < text.size()) lines.push_back(text.substr(start) + "<unterminated>");
  return lines;
}

std::string AsLog(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  return text;
}
