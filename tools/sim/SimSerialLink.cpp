#include <QSerialPort>
#include <algorithm>

#include "tools/sim/SimLink.h"

namespace {

constexpr int kWriteWaitMs = 2000;

class TSerialLink : public ISimLink {
 public:
  explicit TSerialLink(const std::string& path)
      : DevicePath(path), Port(QString::fromStdString(path)) {}

  bool Open(int32_t baud, std::string& error) {
    if (Port.open(QIODevice::ReadWrite) && Port.setBaudRate(baud) &&
        Port.setDataBits(QSerialPort::Data8) && Port.setParity(QSerialPort::NoParity) &&
        Port.setStopBits(QSerialPort::OneStop) && Port.setFlowControl(QSerialPort::NoFlowControl))
      return true;
    error = "cannot open " + DevicePath + ": " + Port.errorString().toStdString();
    return false;
  }

  std::string Path() const override { return DevicePath; }

  size_t Send(std::string_view data) override {
    Port.write(data.data(), static_cast<qint64>(data.size()));
    while (Port.bytesToWrite() > 0)
      if (!Port.waitForBytesWritten(kWriteWaitMs)) {
        const auto unsent = static_cast<size_t>(Port.bytesToWrite());
        Port.clear(QSerialPort::Output);
        return data.size() - std::min(unsent, data.size());
      }
    return data.size();
  }

  std::string Receive(int timeoutMs) override {
    if (Port.bytesAvailable() == 0) Port.waitForReadyRead(timeoutMs);
    return Port.readAll().toStdString();
  }

  size_t Unread() const override { return 0; }

 private:
  std::string DevicePath;
  QSerialPort Port;
};

}  // namespace

std::unique_ptr<ISimLink> OpenSerialLink(const std::string& path, int32_t baud,
                                         std::string& error) {
  auto link = std::make_unique<TSerialLink>(path);
  if (!link->Open(baud, error)) return nullptr;
  return link;
}
