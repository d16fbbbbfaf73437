#include <cerrno>
#include <cstring>

#include "tools/sim/SimLink.h"

#ifdef _WIN32

std::unique_ptr<ISimLink> OpenPtyLink(std::string& error) {
  error = "pseudo-terminals are not available here; use --device";
  return nullptr;
}

#else

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

class TPtyLink : public ISimLink {
 public:
  TPtyLink(int far, int device, std::string path)
      : Far(far), Device(device), DevicePath(std::move(path)) {}
  ~TPtyLink() override {
    ::close(Far);
    ::close(Device);
  }
  TPtyLink(const TPtyLink&) = delete;
  TPtyLink& operator=(const TPtyLink&) = delete;

  std::string Path() const override { return DevicePath; }

  size_t Send(std::string_view data) override {
    size_t sent = 0;
    while (sent < data.size()) {
      const ssize_t written = ::write(Far, data.data() + sent, data.size() - sent);
      if (written > 0) {
        sent += static_cast<size_t>(written);
      } else if (written < 0 && errno == EINTR) {
        continue;
      } else {
        break;  // full: nobody is reading the device side
      }
    }
    return sent;
  }

  std::string Receive(int timeoutMs) override {
    pollfd waiting{Far, POLLIN, 0};
    if (::poll(&waiting, 1, timeoutMs) <= 0 || (waiting.revents & POLLIN) == 0) return {};
    char chunk[1024];
    const ssize_t got = ::read(Far, chunk, sizeof chunk);
    return got > 0 ? std::string(chunk, static_cast<size_t>(got)) : std::string();
  }

  size_t Unread() const override {
    int count = 0;
    if (::ioctl(Device, FIONREAD, &count) != 0 || count < 0) return 0;
    return static_cast<size_t>(count);
  }

 private:
  int Far;
  int Device;
  std::string DevicePath;
};

}  // namespace

std::unique_ptr<ISimLink> OpenPtyLink(std::string& error) {
  int far = -1;
  int device = -1;
  char name[256] = {};
  if (::openpty(&far, &device, name, nullptr, nullptr) != 0) {
    error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
    return nullptr;
  }
  // Raw, like a serial line: no echo of what we send back to us, no line
  // editing, no CR/LF translation. The device side stays open here, so that
  // the monitor can open and close it freely without the far side failing.
  termios settings{};
  ::tcgetattr(device, &settings);
  ::cfmakeraw(&settings);
  ::tcsetattr(device, TCSANOW, &settings);
  ::fcntl(far, F_SETFL, ::fcntl(far, F_GETFL) | O_NONBLOCK);
  ::fcntl(far, F_SETFD, FD_CLOEXEC);
  ::fcntl(device, F_SETFD, FD_CLOEXEC);
  return std::make_unique<TPtyLink>(far, device, name);
}

#endif
