#pragma once
// A serial device whose every answer the test decides: which step of opening
// fails, what DSR reads, which bytes arrive, whether writes fail. It records
// what the program did with it. The script outlives the devices made from it,
// so a test can change DSR or feed bytes while a port is open.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "source/PortSlot.h"
#include "source/SerialDevice.h"

struct TSerialScript {
  // Answers.
  bool OpenFails = false;
  bool QueueSizesFail = false;
  bool ConfigureFails = false;
  bool ImmediateReadsFail = false;
  TSignalResult DTR = TSignalResult::Done;
  TSignalResult RTS = TSignalResult::Done;
  bool WriteFails = false;
  bool ReadFails = false;
  // The open device went away (a receiver pulled out); a device opened
  // afterwards is there again only once the test clears this.
  bool Vanished = false;
  // Nothing: DSR cannot be read.
  std::optional<bool> DSR = false;
  // Bytes waiting to be read; each read takes up to its maximum from the front.
  std::string Incoming;

  // Bytes arrive: the open device says so, as a real one does from the event loop.
  void Feed(const std::string& bytes) {
    Incoming += bytes;
    if (Ready) Ready();
  }
  std::function<void()> Ready;

  // Records.
  std::vector<std::string> Calls;  // "Open /dev/x", "Configure 4800", "Write ...", "Close", ...
  std::string OpenedPath;
  int32_t BaudRate = 0;
  std::string Written;
  int Purges = 0;
  bool DeviceOpen = false;
};

class TScriptedSerialDevice : public ISerialDevice {
 public:
  explicit TScriptedSerialDevice(std::shared_ptr<TSerialScript> script);

  // A device factory for TPortSlot whose devices all follow `script`.
  static TPortSlot::TDeviceFactory Factory(std::shared_ptr<TSerialScript> script);

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
  bool Vanished() const override;
  void SetReadyHandler(std::function<void()> handler) override;

 private:
  std::shared_ptr<TSerialScript> Script;
};
