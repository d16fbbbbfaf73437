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

#include "common/Settings.h"
#include "common/SettingsStore.h"

namespace {

// Far beyond any settings file we write; a bigger one is not ours to read.
constexpr qint64 kMaxFileSize = 4 << 20;
// A writer holds the lock for one read, edit and rename; waiting this long
// means something is stuck, and the write fails.
constexpr int kLockWaitMs = 10000;
constexpr int kLockPollMs = 2;

QString SettingsFolder() {
  const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  return base.isEmpty() ? QString() : base + "/Tolvane";
}

// The file's bytes, empty when there is no file. Nothing when it exists but
// is not a regular file we can read whole: a write must then not replace it,
// and a symbolic link to a device must never be renamed over.
std::optional<std::string> ReadText(const QString& path) {
  const QFileInfo info(path);
  if (!info.exists()) return std::string();
  if (!info.isFile() || info.size() > kMaxFileSize) return std::nullopt;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  const QByteArray bytes = file.read(kMaxFileSize + 1);
  if (file.error() != QFileDevice::NoError || bytes.size() > kMaxFileSize) return std::nullopt;
  return bytes.toStdString();
}

// Polls briefly rather than QLockFile's own waits, which double from 100 ms:
// two instances writing in turn would otherwise spend most of their time
// asleep.
bool Acquire(QLockFile& lock) {
  const QDeadlineTimer deadline(kLockWaitMs);
  while (!lock.tryLock(0)) {
    if (lock.error() != QLockFile::LockFailedError || deadline.hasExpired()) return false;
    QThread::msleep(kLockPollMs);
  }
  return true;
}

bool Replace(const QString& path, const std::string& text) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
  if (file.write(text.data(), static_cast<qint64>(text.size())) !=
      static_cast<qint64>(text.size())) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

}  // namespace

std::string SettingsLocation() {
  const QString folder = SettingsFolder();
  return folder.isEmpty() ? std::string()
                          : QFile::encodeName(folder + "/Tolvane.reg").toStdString();
}

std::optional<TStoredValue> LoadStoredValue(std::string_view section, std::string_view name) {
  const QString folder = SettingsFolder();
  if (folder.isEmpty()) return std::nullopt;
  const std::optional<std::string> text = ReadText(folder + "/Tolvane.reg");
  if (!text) return std::nullopt;
  return FindStoredValue(*text, section, name);
}

bool SaveStoredValue(std::string_view section, std::string_view name, const TStoredValue& value) {
  const QString folder = SettingsFolder();
  if (folder.isEmpty() || !QDir().mkpath(folder)) return false;
  QLockFile lock(folder + "/Tolvane.reg.lock");
  if (!Acquire(lock)) return false;
  const QString path = folder + "/Tolvane.reg";
  const std::optional<std::string> text = ReadText(path);
  if (!text) return false;
  const std::optional<std::string> edited = WithStoredValue(*text, section, name, value);
  if (!edited) return false;
  return *edited == *text || Replace(path, *edited);
}

#endif
