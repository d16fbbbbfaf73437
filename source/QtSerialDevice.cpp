#include "source/QtSerialDevice.h"

#include <QDeadlineTimer>
#include <QMetaObject>
#include <QThread>
#include <algorithm>
#include <cstring>

#ifndef _WIN32
#include <sys/file.h>
#endif

namespace {

// Time allowed for a write beyond the line's own transmission time, so that
// a receiver that stopped taking data cannot hold the program for ever.
constexpr int kWriteSlackMs = 2000;
// A character on an 8N1 line: start bit, eight data bits, stop bit.
constexpr int64_t kBitsPerCharacter = 10;
// However long the text and slow the line, a write gives up after ten minutes.
constexpr int64_t kLongestWriteMs = 10 * 60 * 1000;
constexpr qint64 kMaxBuffered = 64 * 1024;

}  // namespace

TQtSerialDevice::TQtSerialDevice() {
  QObject::connect(&Port, &QSerialPort::errorOccurred, &Port,
                   [this](QSerialPort::SerialPortError error) { NoteError(error); });
  QObject::connect(&Port, &QSerialPort::readyRead, &Port, [this] {
    // A read outside the event loop asks the device itself, which says so
    // again: the reader is already at it.
    if (OnReady && !Reading) OnReady();
  });
}

void TQtSerialDevice::SetReadyHandler(std::function<void()> handler) {
  OnReady = std::move(handler);
}

bool TQtSerialDevice::WatchDSR(IModemLines::TEdgeHandler handler, std::function<void()> onFailed) {
  if (!Port.isOpen() || NoModemLines) return false;
  return Watcher.Start(static_cast<int>(Port.handle()), &Port, std::move(handler),
                       std::move(onFailed));
}

TQtSerialDevice::~TQtSerialDevice() {
  Close();
}

bool TQtSerialDevice::Open(const std::string& path) {
  if (path.empty()) return false;
  Gone = false;
  Leftover.clear();
  NoModemLines = false;
  Port.setPortName(QString::fromLocal8Bit(path.data(), static_cast<qsizetype>(path.size())));
  if (!Port.open(QIODevice::ReadWrite)) return false;
#ifndef _WIN32
  // QSerialPort's lock file is named after the path and its exclusive mode
  // does not bind root, so a second path to the same device (a symbolic
  // link) would get in; a lock on the device itself keeps it out.
  if (::flock(static_cast<int>(Port.handle()), LOCK_EX | LOCK_NB) != 0) {
    Port.close();
    return false;
  }
#endif
  return true;
}

bool TQtSerialDevice::SetQueueSizes(int inputSize, int /*outputSize*/) {
  // The operating system sizes its own queues. QSerialPort's buffer is ours
  // to bound: while a running event loop fills it and nobody takes lines out
  // (a replay runs with the port open), it must not grow without end. Once it
  // is full the receiver's bytes wait in the driver, which drops them when
  // it is full too, as a serial line does.
  Port.setReadBufferSize(std::max<qint64>(inputSize, kMaxBuffered));
  return Port.isOpen();
}

bool TQtSerialDevice::Configure(int32_t baudRate) {
  BaudRate = baudRate;
  // QSerialPort opens the device in raw mode: every byte, NUL included,
  // passes through untouched.
  return Port.setBaudRate(baudRate) && Port.setDataBits(QSerialPort::Data8) &&
         Port.setParity(QSerialPort::NoParity) && Port.setStopBits(QSerialPort::OneStop) &&
         Port.setFlowControl(QSerialPort::NoFlowControl);
}

bool TQtSerialDevice::SetImmediateReads() {
  // QSerialPort already reads without blocking; Read never waits.
  return Port.isOpen();
}

namespace {

TSignalResult SignalResult(QSerialPort& port, bool done) {
  if (done) return TSignalResult::Done;
  // A pseudo-terminal has no modem lines to raise.
  if (port.error() == QSerialPort::UnsupportedOperationError) return TSignalResult::NotSupported;
  return TSignalResult::Failed;
}

}  // namespace

TSignalResult TQtSerialDevice::RaiseDTR() {
  Port.clearError();
  return SignalResult(Port, Port.setDataTerminalReady(true));
}

TSignalResult TQtSerialDevice::RaiseRTS() {
  Port.clearError();
  return SignalResult(Port, Port.setRequestToSend(true));
}

void TQtSerialDevice::Purge() {
  if (Port.isOpen()) Port.clear(QSerialPort::AllDirections);
}

int64_t TQtSerialDevice::Read(char* buffer, int64_t maxSize) {
  if (!Leftover.isEmpty()) {
    const qint64 count = std::min<qint64>(maxSize, Leftover.size());
    std::memcpy(buffer, Leftover.constData(), static_cast<size_t>(count));
    Leftover.remove(0, count);
    return count;
  }
  if (!Port.isOpen()) return -1;
  // Within a running event loop the port's own notifier has already taken in
  // whatever arrived; asking the device again would cost a poll and a timeout
  // error (with its message) on every tick. Without one (a test, a benchmark
  // driving the port directly) the device is asked.
  if (Port.bytesAvailable() < maxSize && QThread::currentThread()->loopLevel() == 0) {
    Reading = true;
    Port.waitForReadyRead(0);
    Reading = false;
  }
  // Bytes that arrived before the device vanished are still handed out.
  const qint64 count = Port.read(buffer, maxSize);
  ReleaseIfVanished();
  return count;
}

bool TQtSerialDevice::Write(std::string_view data) {
  if (!Port.isOpen()) return false;
  const auto size = static_cast<qint64>(data.size());
  if (Port.write(data.data(), size) != size) return false;
  QDeadlineTimer deadline(WriteTimeoutMs(data.size()));
  while (Port.bytesToWrite() > 0) {
    const auto remaining = static_cast<int>(deadline.remainingTime());
    if (remaining <= 0 || !Port.waitForBytesWritten(remaining)) {
      // Whatever the device did not take is dropped, not sent later.
      Port.clear(QSerialPort::Output);
      return false;
    }
  }
  return true;
}

std::optional<bool> TQtSerialDevice::ReadDSR() {
  if (!Port.isOpen() || NoModemLines) return std::nullopt;
  Port.clearError();
  const QSerialPort::PinoutSignals pins = Port.pinoutSignals();
  if (Port.error() != QSerialPort::NoError) {
    NoModemLines = Port.error() == QSerialPort::UnsupportedOperationError;
    return std::nullopt;
  }
  return pins.testFlag(QSerialPort::DataSetReadySignal);
}

void TQtSerialDevice::Close() {
  // The thread waits on the device: it ends before the device is let go of.
  Watcher.Stop();
  if (Port.isOpen()) Port.close();
}

void TQtSerialDevice::NoteError(QSerialPort::SerialPortError error) {
  if (error != QSerialPort::ReadError && error != QSerialPort::ResourceError) return;
  Gone = true;
  // A vanished device keeps reporting itself readable; releasing it stops a
  // running event loop from spinning on it. Not from inside QSerialPort's own
  // notification, though: later, when control is back in the event loop.
  QMetaObject::invokeMethod(
      &Port,
      [this] {
        ReleaseIfVanished();
        if (OnReady) OnReady();
      },
      Qt::QueuedConnection);
}

void TQtSerialDevice::ReleaseIfVanished() {
  if (!Gone || !Port.isOpen()) return;
  Leftover += Port.readAll();
  Close();
}

int TQtSerialDevice::WriteTimeoutMs(size_t size) const {
  // The line's own transmission time, allowed twice over.
  const int64_t lineMs =
      BaudRate > 0 ? static_cast<int64_t>(size) * kBitsPerCharacter * 1000 * 2 / BaudRate : 0;
  return static_cast<int>(std::min<int64_t>(lineMs + kWriteSlackMs, kLongestWriteMs));
}
