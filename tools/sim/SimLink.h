#pragma once
// Where the simulated receiver's bytes go and the monitor's commands come
// from: a pseudo-terminal of its own, a real serial device, TCP clients or a
// UDP address.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class ISimLink {
 public:
  virtual ~ISimLink() = default;
  // The device path the monitor opens.
  virtual std::string Path() const = 0;
  // Sends what can be sent without waiting long; the count actually sent.
  // Bytes nobody takes are dropped, as on a serial line with no one listening.
  virtual size_t Send(std::string_view data) = 0;
  // Whatever the monitor sent, waiting up to `timeoutMs` for it.
  virtual std::string Receive(int timeoutMs) = 0;
  // Bytes sent but not yet taken by the monitor (0 when unknown).
  virtual size_t Unread() const = 0;
  // Whether anyone takes what is sent: false for a TCP server that no client
  // has connected to.
  virtual bool HasReceiver() const { return true; }
};

// A fresh pseudo-terminal, or nothing (with `error` set) when none can be had.
std::unique_ptr<ISimLink> OpenPtyLink(std::string& error);
// The serial device at `path`, or nothing (with `error` set).
std::unique_ptr<ISimLink> OpenSerialLink(const std::string& path, int32_t baud, std::string& error);
// A TCP server on `port` (0: any free one) of every interface, sending to
// every client that connects, or nothing (with `error` set).
std::unique_ptr<ISimLink> OpenTcpLink(uint16_t port, std::string& error);
// Datagrams to `target`, "ADDRESS:PORT" (an IPv6 address in brackets), or
// nothing (with `error` set).
std::unique_ptr<ISimLink> OpenUdpLink(const std::string& target, std::string& error);
