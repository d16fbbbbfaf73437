#pragma once
// A serial device (or pseudo-terminal) as a line source: opened exclusively
// at the baud rate its provider gives, read when the device says bytes
// arrived, and watched (or sampled) for its DSR line. A device that vanishes
// (a USB receiver pulled out) is reopened at the same path, with the same
// settings, once a second and silently until it is back or Close ends the
// waiting.

#include <QTimer>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "source/BaudSearch.h"
#include "source/LineBuffer.h"
#include "source/LineSource.h"
#include "source/SerialDevice.h"

class TSerialSource : public ILineSource, public IModemLines, public IBaudRate {
 public:
  using TDeviceFactory = std::function<std::unique_ptr<ISerialDevice>()>;
  // kAutoRate: find the rate by listening.
  using TBaudRateProvider = std::function<int32_t()>;
  // The rate a search found last time (0 for none), and where a find goes.
  struct TRateMemory {
    std::function<int32_t()> Recall;
    std::function<void(int32_t)> Keep;
  };
  // Bytes but no line with a valid checksum for this long at a fixed rate:
  // the status bar asks whether the rate is wrong.
  static constexpr uint32_t kNoValidLineMs = 5000;

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
  void SetByteObserver(TByteObserver observer) override {
    RxBuffer.SetObserver(std::move(observer));
  }
  std::optional<std::string> ReadLine() override;
  bool CanSend() const override { return true; }
  void Send(std::string_view text) override;
  TLinkState LinkState() const override;
  // "COM3: /dev/ttyACM0 at 9600 baud" ("... (reopened)" once it came back by
  // itself), "Receiver disconnected"; with "Auto", "COM3: /dev/ttyUSB0,
  // looking for the baud rate (9600)", then "COM3: /dev/ttyUSB0: Receiver
  // found at 9600 baud"; "Bytes but no valid sentences at 4800 baud: wrong
  // baud rate?" after kNoValidLineMs of bytes without a valid line.
  std::string StatusText() const override;
  uint64_t DroppedBytes() const override { return RxBuffer.DroppedBytes(); }
  int Reopenings() const override { return Reopens; }
  IModemLines* ModemLines() override { return this; }
  IBaudRate* BaudRate() override { return this; }

  std::optional<bool> ReadDSR() override;
  bool WatchDSR(TEdgeHandler handler, std::function<void()> onFailed) override;
  bool NeedsSampling() const override;

  void Reapply() override;

  void SetRateMemory(TRateMemory memory) { FoundRate = std::move(memory); }
  // How long each rate is listened to (tests shorten it).
  void SetListenInterval(int milliseconds) { SearchTimer.setInterval(milliseconds); }

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
  // The rate to open at: the provider's, or where a search starts.
  void ChooseRate();
  void TryNextRate();
  // Whether `line` may go on: during a search, lines wait until the rate is
  // found, and those of a wrong rate go.
  bool Listen(std::string& line);

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
  TRateMemory FoundRate;
  // While the rate is "Auto" and not found yet.
  std::optional<TBaudSearch> Search;
  bool SearchedRate = false;  // CurrentRate was found by listening
  QTimer SearchTimer;
  // Valid lines of the rate being listened to, given out once it is found.
  std::deque<std::string> Held;
  // Since the open, or the last valid line: when, and whether bytes came.
  uint32_t QuietSince = 0;
  bool BytesSinceValid = false;
};
