#include "options/SerialPortList.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>
#include <cstdio>

namespace {

constexpr const char* kStableFolder = "/dev/serial/by-id";

// The by-id links that lead to `path`; udev makes one per USB serial device.
std::string StablePathOf(const QString& path) {
  const QDir folder(kStableFolder);
  const QString target = QFileInfo(path).canonicalFilePath();
  if (target.isEmpty()) return {};
  for (const QFileInfo& link : folder.entryInfoList(QDir::System | QDir::Files, QDir::Name))
    if (link.canonicalFilePath() == target) return link.absoluteFilePath().toStdString();
  return {};
}

}  // namespace

std::vector<TPortInfo> SystemSerialPorts() {
  std::vector<TPortInfo> ports;
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
    TPortInfo port;
    port.Path = info.systemLocation().toStdString();
    port.StablePath = StablePathOf(info.systemLocation());
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
