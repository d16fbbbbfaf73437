#include "options/SerialPortList.h"

#include <QSerialPortInfo>
#include <cstdio>
#include <filesystem>

// Errors end the search quietly: a folder that cannot be read has no link.
std::string StablePathOf(const std::string& path, const std::string& folder) {
  namespace fs = std::filesystem;
  std::error_code error;
  for (fs::directory_iterator link(folder, error), end; !error && link != end;
       link.increment(error)) {
    std::error_code broken;  // a dangling link leads nowhere
    if (fs::equivalent(link->path(), path, broken)) return link->path().string();
  }
  return {};
}

std::vector<TPortInfo> SystemSerialPorts() {
  std::vector<TPortInfo> ports;
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
    TPortInfo port;
    port.Path = info.systemLocation().toStdString();
    port.StablePath = StablePathOf(port.Path);
    port.Description = info.description().toStdString();
    port.Manufacturer = info.manufacturer().toStdString();
    port.SerialNumber = info.serialNumber().toStdString();
    if (info.hasVendorIdentifier()) port.VendorId = info.vendorIdentifier();
    if (info.hasProductIdentifier()) port.ProductId = info.productIdentifier();
    ports.push_back(std::move(port));
  }
  return ports;
}

std::string PortLabel(const TPortInfo& port) {
  std::string details;
  const auto add = [&details](const std::string& part, const char* separator) {
    if (part.empty() || details.find(part) != std::string::npos) return;
    if (!details.empty()) details.append(separator);
    details.append(part);
  };
  add(port.Description, ", ");
  add(port.Manufacturer, ", ");
  add(port.SerialNumber, ", ");
  if (port.VendorId && port.ProductId) {
    char ids[16];
    std::snprintf(ids, sizeof ids, "(%04x:%04x)", *port.VendorId, *port.ProductId);
    add(ids, " ");
  }
  return details.empty() ? port.Path : port.Path + " - " + details;
}

std::string PortChoicePath(const TPortInfo& port) {
  return port.StablePath.empty() ? port.Path : port.StablePath;
}
