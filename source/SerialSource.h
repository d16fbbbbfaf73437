#pragma once
// A serial device (or pseudo-terminal) as a line source: opened exclusively
// at the baud rate its provider gives, read when the device says bytes
// arrived, and watched (or sampled) for its DSR line. A device that vanishes
// (a USB receiver pulled out) is reopened at the same path, with the same
// settings, once a second and silently until it is back or Close ends the
// waiting.

#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "source/LineBuffer.h"
#include "source/LineSource.h"
#include "source/SerialDevice.h"

class TSerialSource : public ILineSource, public IModemLines, public IBaudRate {
 public:
  using TDeviceFactory = std::function<std::unique_ptr<ISerialDevice>()>;
  using TBaudRateProvider = std::function<int32_t()>;

  // `portName` ("COM3:") and `path` name the device in the status bar; the
  // baud rate is asked for at every Open and Reapply. A vanished device
  // comes back at the rate it had (or the one Reapply took meanwhile).
  TSerialSource(std::string portName, std::string path, TBaudRateProvider baudRate,
                TDeviceFactory factory);
  ~TSerialSource() override;
  TSerialSource(const TSerialSource&) = delete;
  TSerialSource& operator=(const TSerialSource&) = delete;

  void Open() override;
  void Close() override;
  void SetArrivalHandler(TArrivalHandler handler) override;
  std::optional<std::string> ReadLine() override;
  bool CanSend() const override { return true; }
  void Send(std::string_view text) override;
  TLinkState LinkState() const override;
  // "COM3: /dev/ttyACM0 at 9600 baud" ("... (reopened)" once it came back by
  // itself), "Receiver disconnected".
  std::string StatusText() const override;
  uint64_t DroppedBytes() const override { return RxBuffer.DroppedBytes(); }
  IModemLines* ModemLines() override { return this; }
  IBaudRate* BaudRate() override { return this; }

  std::optional<bool> ReadDSR() override;
  bool WatchDSR(TEdgeHandler handler, std::function<void()> onFailed) override;
  bool NeedsSampling() const override;

  void Reapply() override;

 private:
  // A device made and set up at Path at CurrentRate, or nothing (with the failure's
  // message) when a step fails.
  std::unique_ptr<ISerialDevice> MakeDevice(std::string& failure);
  void Attach(std::unique_ptr<ISerialDevice> device);
  void CloseDevice();
  // Lets go of a device that vanished and starts reopening it.
  void NoticeVanished();
  void TryReopen();
  void StartWatching();
  void Arrived() const;

  const std::string PortName;
  const std::string Path;
  TBaudRateProvider BaudRateProvider;
  TDeviceFactory DeviceFactory;
  int32_t CurrentRate = 0;
  // From Open to Close, also while a vanished device is away.
  bool IsOpen = false;
  // The open device; nothing while closed or while a vanished one is away.
  std::unique_ptr<ISerialDevice> Device;
  TLineBuffer RxBuffer;
  QTimer ReopenTimer;
  int Reopens = 0;
  TArrivalHandler OnArrival;
  TEdgeHandler OnEdge;
  std::function<void()> OnWatchFailed;
  // The device answered for DSR when it was opened (a pseudo-terminal has
  // no modem lines: it is not asked again).
  bool HasModemLines = false;
  // A thread waits for DSR changes: no sampling is needed.
  bool Watching = false;
};
