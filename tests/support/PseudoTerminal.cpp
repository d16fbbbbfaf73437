#include "tests/support/PseudoTerminal.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>

TPseudoTerminal::TPseudoTerminal() {
  char name[256] = {};
  if (::openpty(&Far, &Device, name, nullptr, nullptr) != 0) {
    ADD_FAILURE() << "openpty failed";
    Far = Device = -1;
    return;
  }
  DevicePath = name;
}

TPseudoTerminal::~TPseudoTerminal() {
  CloseFarSide();
}

bool TPseudoTerminal::Write(std::string_view data) {
  while (!data.empty()) {
    const ssize_t written = ::write(Far, data.data(), data.size());
    if (written <= 0) return false;
    data.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

size_t TPseudoTerminal::Offer(std::string_view data) {
  const int flags = ::fcntl(Far, F_GETFL);
  ::fcntl(Far, F_SETFL, flags | O_NONBLOCK);
  size_t taken = 0;
  while (taken < data.size()) {
    const ssize_t written = ::write(Far, data.data() + taken, data.size() - taken);
    if (written <= 0) break;
    taken += static_cast<size_t>(written);
  }
  ::fcntl(Far, F_SETFL, flags);
  return taken;
}

std::string TPseudoTerminal::Read(size_t count, int timeoutMs) {
  using TClock = std::chrono::steady_clock;
  const auto deadline = TClock::now() + std::chrono::milliseconds(timeoutMs);
  std::string received;
  while (Far >= 0 && received.size() < count) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - TClock::now()).count();
    pollfd waiting{Far, POLLIN, 0};
    if (left <= 0 || ::poll(&waiting, 1, static_cast<int>(left)) <= 0) break;
    char chunk[1024];
    const ssize_t got = ::read(Far, chunk, std::min(sizeof chunk, count - received.size()));
    if (got <= 0) break;
    received.append(chunk, static_cast<size_t>(got));
  }
  return received;
}

void TPseudoTerminal::CloseFarSide() {
  if (Far >= 0) ::close(Far);
  if (Device >= 0) ::close(Device);
  Far = Device = -1;
}

size_t TPseudoTerminal::Waiting() const {
  int count = 0;
  if (Device < 0 || ::ioctl(Device, FIONREAD, &count) != 0 || count < 0) return 0;
  return static_cast<size_t>(count);
}

bool TPseudoTerminal::Deliver(std::string_view data) {
  const size_t expected = Waiting() + data.size();
  if (!Write(data)) return false;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  while (Waiting() < expected) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

TPortOverride::TPortOverride(int index, const std::string& path)
    : Name("TOLVANE_COM" + QByteArray::number(index + 1)),
      SavedValue(qgetenv(Name.constData())),
      HadValue(qEnvironmentVariableIsSet(Name.constData())) {
  qputenv(Name.constData(), QByteArray::fromStdString(path));
}

TPortOverride::~TPortOverride() {
  if (HadValue)
    qputenv(Name.constData(), SavedValue);
  else
    qunsetenv(Name.constData());
}
