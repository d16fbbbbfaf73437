#pragma once
// TSerial's state, shared by the files that implement it. Not for use
// outside source/.

#include <QTimer>
#include <memory>
#include <string>

#include "source/LineBuffer.h"
#include "source/NetworkDevice.h"
#include "source/Serial.h"
#include "source/SerialDevice.h"

// The stored "BaudRate" as a decimal integer; anything else gives 4800.
int32_t StoredBaudRate();

// The message of a device open that failed, and why when that is known.
std::string OpenFailureText(const std::string& path);

struct TSerial::TImpl {
  TImpl();

  TPortIndexSource PortIndex;
  TDeviceFactory DeviceFactory;
  std::string PortName;
  std::string DevicePath;
  int32_t BaudRate = 0;
  // From Open to Close, also while a vanished device is away.
  bool PortOpen = false;
  // The open device; nothing while closed or while a vanished one is away.
  std::unique_ptr<ISerialDevice> Device;
  // Device, when it is a network source.
  TNetworkDevice* Network = nullptr;
  TLineBuffer RxBuffer;
  QTimer ReopenTimer;
  int Reopens = 0;
  // Dropped by network devices already closed.
  uint64_t DroppedBefore = 0;

  void OpenSerial();
  void OpenNetwork();
  void CloseDevice();
  // Lets go of a serial device that vanished and starts reopening it.
  void NoticeVanished();
  void TryReopen();
  // A serial device made and set up at DevicePath, or nothing (with the
  // failure's message) when a step fails.
  std::unique_ptr<ISerialDevice> MakeSerialDevice(std::string& failure);
  int64_t ReadChunk(char* chunk);
  void FillUntilLine();
};
