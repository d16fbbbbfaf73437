#include "tests/support/ScriptedSerialDevice.h"

#include <algorithm>
#include <cstring>

TScriptedSerialDevice::TScriptedSerialDevice(std::shared_ptr<TSerialScript> script)
    : Script(std::move(script)) {}

TPortSlot::TDeviceFactory TScriptedSerialDevice::Factory(std::shared_ptr<TSerialScript> script) {
  return [script]() -> std::unique_ptr<ISerialDevice> {
    return std::make_unique<TScriptedSerialDevice>(script);
  };
}

bool TScriptedSerialDevice::Open(const std::string& path) {
  Script->Calls.emplace_back("Open " + path);
  Script->OpenedPath = path;
  if (Script->OpenFails) return false;
  Script->DeviceOpen = true;
  return true;
}

bool TScriptedSerialDevice::SetQueueSizes(int inputSize, int outputSize) {
  Script->Calls.emplace_back("SetQueueSizes " + std::to_string(inputSize) + " " +
                             std::to_string(outputSize));
  return !Script->QueueSizesFail;
}

bool TScriptedSerialDevice::Configure(int32_t baudRate) {
  Script->Calls.emplace_back("Configure " + std::to_string(baudRate));
  Script->BaudRate = baudRate;
  return !Script->ConfigureFails;
}

bool TScriptedSerialDevice::SetImmediateReads() {
  Script->Calls.emplace_back("SetImmediateReads");
  return !Script->ImmediateReadsFail;
}

TSignalResult TScriptedSerialDevice::RaiseDTR() {
  Script->Calls.emplace_back("RaiseDTR");
  return Script->DTR;
}

TSignalResult TScriptedSerialDevice::RaiseRTS() {
  Script->Calls.emplace_back("RaiseRTS");
  return Script->RTS;
}

void TScriptedSerialDevice::Purge() {
  Script->Calls.emplace_back("Purge");
  ++Script->Purges;
  Script->Incoming.clear();
}

int64_t TScriptedSerialDevice::Read(char* buffer, int64_t maxSize) {
  if (Script->ReadFails) return -1;
  const auto count = std::min<size_t>(Script->Incoming.size(), static_cast<size_t>(maxSize));
  std::memcpy(buffer, Script->Incoming.data(), count);
  Script->Incoming.erase(0, count);
  return static_cast<int64_t>(count);
}

bool TScriptedSerialDevice::Write(std::string_view data) {
  Script->Calls.emplace_back("Write " + std::string(data));
  if (Script->WriteFails) return false;
  Script->Written += data;
  return true;
}

std::optional<bool> TScriptedSerialDevice::ReadDSR() {
  return Script->DSR;
}

void TScriptedSerialDevice::SetReadyHandler(std::function<void()> handler) {
  Script->Ready = std::move(handler);
}

void TScriptedSerialDevice::Close() {
  Script->Calls.emplace_back("Close");
  Script->Ready = nullptr;
  Script->DeviceOpen = false;
}

bool TScriptedSerialDevice::Vanished() const {
  return Script->Vanished;
}
