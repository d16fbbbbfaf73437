#pragma once
// A real serial device (or pseudo-terminal) through QSerialPort: the event
// loop's notifier takes in what arrives and says so, reads take what has
// arrived and never wait, writes wait for the device to take the data but
// give up on one that stopped taking it.

#include <QSerialPort>

#include "source/ModemLineWatcher.h"
#include "source/SerialDevice.h"

class TQtSerialDevice : public ISerialDevice {
 public:
  TQtSerialDevice();
  ~TQtSerialDevice() override;

  bool Open(const std::string& path) override;
  bool SetQueueSizes(int inputSize, int outputSize) override;
  bool Configure(int32_t baudRate) override;
  bool SetImmediateReads() override;
  TSignalResult RaiseDTR() override;
  TSignalResult RaiseRTS() override;
  void Purge() override;
  int64_t Read(char* buffer, int64_t maxSize) override;
  bool Write(std::string_view data) override;
  std::optional<bool> ReadDSR() override;
  void Close() override;
  // Once released, and what came before has been read.
  bool Vanished() const override { return Gone && !Port.isOpen() && Leftover.isEmpty(); }
  void SetReadyHandler(std::function<void()> handler) override;
  bool WatchDSR(IModemLines::TEdgeHandler handler, std::function<void()> onFailed) override;

 private:
  void NoteError(QSerialPort::SerialPortError error);
  void ReleaseIfVanished();
  int WriteTimeoutMs(size_t size) const;

  QSerialPort Port;
  int32_t BaudRate = 0;
  // The device went away (a receiver pulled out, the far side of a
  // pseudo-terminal closed): it is released, and writes and DSR fail from
  // then on. What it received before is kept in Leftover and still read.
  bool Gone = false;
  QByteArray Leftover;
  // A device with no modem lines (a pseudo-terminal) says so on every ask;
  // after the first answer it is not asked again.
  bool NoModemLines = false;
  std::function<void()> OnReady;
  bool Reading = false;
  TModemLineWatcher Watcher;
};
