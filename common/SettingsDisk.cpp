// The settings store outside Windows: one text file in registry-export form,
// $XDG_CONFIG_HOME/Tolvane/Tolvane.reg. Reads take the file as it is now;
// writes edit it under a lock file and replace it in one rename, so that two
// running instances lose nothing and a crash never leaves half a file.

#include <QtGlobal>

#ifndef Q_OS_WIN

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QThread>
#include <string>

#include "common/Settings.h"
#include "common/SettingsStore.h"

namespace {

// Far beyond any settings file we write; a bigger one is not ours to read.
constexpr qint64 kMaxFileSize = 4 << 20;
constexpr qint64 kMegabyte = 1 << 20;
// A writer holds the lock for one read, edit and rename; waiting this long
// means something is stuck, and the write fails.
constexpr int kLockWaitMs = 10000;
constexpr int kLockPollMs = 2;

QString SettingsFolder() {
  const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  return base.isEmpty() ? QString() : base + "/Tolvane";
}

QString SettingsFile(const QString& folder) {
  return folder + "/Tolvane.reg";
}

std::string Local(const QString& text) {
  return text.toLocal8Bit().toStdString();
}

// Rounded up, so that a file just over the limit never reads as the limit.
std::string TooLarge(qint64 size) {
  return "Settings file too large (" + std::to_string((size + kMegabyte - 1) / kMegabyte) +
         " MB, limit " + std::to_string(kMaxFileSize / kMegabyte) + " MB)";
}

// The file's bytes, empty when there is no file. Nothing when it exists but
// is not a regular file we can read whole: a write must then not replace it,
// and a symbolic link to a device must never be renamed over.
std::optional<std::string> ReadText(const QString& path, std::string& whyNot) {
  const QFileInfo info(path);
  if (!info.exists()) return std::string();
  if (!info.isFile()) {
    whyNot = Local(path) + " is not a regular file";
    return std::nullopt;
  }
  if (info.size() > kMaxFileSize) {
    whyNot = TooLarge(info.size());
    return std::nullopt;
  }
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    whyNot = Local(path) + ": " + Local(file.errorString());
    return std::nullopt;
  }
  const QByteArray bytes = file.read(kMaxFileSize + 1);
  if (file.error() != QFileDevice::NoError) {
    whyNot = Local(path) + ": " + Local(file.errorString());
    return std::nullopt;
  }
  if (bytes.size() > kMaxFileSize) {
    whyNot = TooLarge(bytes.size());
    return std::nullopt;
  }
  return bytes.toStdString();
}

// Polls briefly rather than QLockFile's own waits, which double from 100 ms:
// two instances writing in turn would otherwise spend most of their time
// asleep.
bool Acquire(QLockFile& lock, const QString& path, std::string& whyNot) {
  const QDeadlineTimer deadline(kLockWaitMs);
  while (!lock.tryLock(0)) {
    if (lock.error() == QLockFile::LockFailedError && !deadline.hasExpired()) {
      QThread::msleep(kLockPollMs);
      continue;
    }
    if (lock.error() == QLockFile::LockFailedError)
      whyNot = Local(path) + " has been held by another program for 10 s";
    else if (lock.error() == QLockFile::PermissionError)
      whyNot = Local(path) + " cannot be created: permission denied";
    else
      whyNot = Local(path) + " cannot be created";
    return false;
  }
  return true;
}

// A short write is tried again for the rest: the system names the reason
// (a full disk, the file size limit) only on the write that fails outright.
bool WriteWhole(QSaveFile& file, const std::string& text) {
  qint64 done = 0;
  const auto size = static_cast<qint64>(text.size());
  while (done < size) {
    const qint64 count = file.write(text.data() + done, size - done);
    if (count <= 0) return false;
    done += count;
  }
  return true;
}

bool Replace(const QString& path, const std::string& text, std::string& whyNot) {
  QSaveFile file(path);
  const bool written =
      file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && WriteWhole(file, text);
  if (written && file.commit()) return true;
  whyNot = Local(path) + ": " + Local(file.errorString());
  file.cancelWriting();
  return false;
}

}  // namespace

std::string SettingsLocation() {
  const QString folder = SettingsFolder();
  return folder.isEmpty() ? std::string() : QFile::encodeName(SettingsFile(folder)).toStdString();
}

std::optional<TStoredValue> LoadStoredValue(std::string_view section, std::string_view name) {
  const QString folder = SettingsFolder();
  if (folder.isEmpty()) return std::nullopt;
  std::string whyNot;
  const std::optional<std::string> text = ReadText(SettingsFile(folder), whyNot);
  if (!text) return std::nullopt;
  return FindStoredValue(*text, section, name);
}

bool SaveStoredValue(std::string_view section, std::string_view name, const TStoredValue& value,
                     std::string& whyNot) {
  const QString folder = SettingsFolder();
  if (folder.isEmpty()) {
    whyNot = "No folder for the settings file is known";
    return false;
  }
  if (!QDir().mkpath(folder)) {
    whyNot = "The folder " + Local(folder) + " cannot be created";
    return false;
  }
  const QString path = SettingsFile(folder);
  const QString lockPath = path + ".lock";
  QLockFile lock(lockPath);
  if (!Acquire(lock, lockPath, whyNot)) return false;
  const std::optional<std::string> text = ReadText(path, whyNot);
  if (!text) return false;
  const std::optional<std::string> edited = WithStoredValue(*text, section, name, value);
  if (!edited) {
    whyNot = "A name with a line break or a zero byte cannot be stored";
    return false;
  }
  return *edited == *text || Replace(path, *edited, whyNot);
}

std::string StoreNotice() {
  const QString folder = SettingsFolder();
  if (folder.isEmpty()) return {};
  const QFileInfo info(SettingsFile(folder));
  if (!info.isFile() || info.size() <= kMaxFileSize) return {};
  return TooLarge(info.size()) + ": using defaults, not writing it";
}

#endif
