#pragma once
// A TCP peer on 127.0.0.1 in a thread of its own, writing with plain blocking
// sockets, so that it costs no memory of its own however much it sends and
// keeps going while the program under test runs its event loop: it accepts
// one connection, sends `total` bytes made of `chunk` repeated, then `tail`,
// and closes. Every wait is bounded, so the thread ends by itself. Header
// only, for the tests and the benchmarks alike.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <fstream>
#include <string>
#include <thread>

class TLoopbackPeer {
 public:
  static constexpr int kWaitMs = 10000;

  TLoopbackPeer(std::string chunk, uint64_t total, std::string tail = {})
      : Chunk(std::move(chunk)), Total(total), Tail(std::move(tail)) {
    Listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (Listener < 0 || ::bind(Listener, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(Listener, 1) != 0 ||
        ::getsockname(Listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
      return;
    Port = ntohs(address.sin_port);
    Thread = std::thread([this] { Serve(); });
  }
  ~TLoopbackPeer() {
    Stop = true;
    if (Thread.joinable()) Thread.join();
    if (Listener >= 0) ::close(Listener);
  }
  TLoopbackPeer(const TLoopbackPeer&) = delete;
  TLoopbackPeer& operator=(const TLoopbackPeer&) = delete;

  // 0 when no socket could be had.
  uint16_t Port = 0;
  std::atomic<uint64_t> Sent = 0;
  std::atomic<bool> Finished = false;

 private:
  bool WaitFor(int fd, short events) {
    for (int waited = 0; waited < kWaitMs && !Stop; waited += 100) {
      pollfd ready{fd, events, 0};
      if (::poll(&ready, 1, 100) > 0) return true;
    }
    return false;
  }

  bool SendAll(int fd, const char* data, size_t size) {
    while (size > 0) {
      if (!WaitFor(fd, POLLOUT)) return false;
      const ssize_t written = ::send(fd, data, size, MSG_NOSIGNAL | MSG_DONTWAIT);
      if (written < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return false;
      if (written <= 0) continue;
      data += written;
      size -= static_cast<size_t>(written);
      Sent += static_cast<uint64_t>(written);
    }
    return true;
  }

  void Serve() {
    if (WaitFor(Listener, POLLIN)) {
      const int connection = ::accept(Listener, nullptr, nullptr);
      if (connection >= 0) {
        bool going = true;
        for (uint64_t left = Total; going && left > 0;) {
          const size_t size = static_cast<size_t>(std::min<uint64_t>(left, Chunk.size()));
          going = SendAll(connection, Chunk.data(), size);
          left -= size;
        }
        if (going) SendAll(connection, Tail.data(), Tail.size());
        ::close(connection);
      }
    }
    Finished = true;
  }

  std::string Chunk;
  uint64_t Total;
  std::string Tail;
  int Listener = -1;
  std::atomic<bool> Stop = false;
  std::thread Thread;
};

// Resident memory of this process in KiB, to see that a flood stays bounded.
inline long ResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string key;
  long value = 0;
  while (status >> key) {
    if (key == "VmRSS:") return status >> value ? value : 0;
    status.ignore(1 << 10, '\n');
  }
  return 0;
}
