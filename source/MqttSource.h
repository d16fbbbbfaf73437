#pragma once
// mqtt://HOST[:PORT]/PREFIX as a slot's device path: the lines another
// Tolvane (or any publisher) puts on PREFIX/nmea, one message a line. It
// reaches no receiver, so it cannot send commands. Messages the program has
// not taken yet are bounded: past kQueueLimit lines the newest are dropped
// and counted, as a serial buffer drops what it cannot hold.

#include <deque>
#include <memory>
#include <string>

#include "source/LineSource.h"
#include "source/MqttLink.h"

class TMqttSource : public ILineSource {
 public:
  static constexpr size_t kQueueLimit = 4096;

  // `text` is the URL as the user wrote it, for the status bar.
  TMqttSource(TMqttUrl url, std::string text);
  ~TMqttSource() override;

  void Open() override;
  void Close() override;
  void SetArrivalHandler(TArrivalHandler handler) override { OnArrival = std::move(handler); }
  // Each message as it came, with CR LF after it where it has no line end of
  // its own: a raw log of one line a message still reads as lines.
  void SetByteObserver(TByteObserver observer) override { OnBytes = std::move(observer); }
  std::optional<std::string> ReadLine() override;
  bool CanSend() const override { return false; }
  // Raises kCannotSendText.
  void Send(std::string_view text) override;
  TLinkState LinkState() const override;
  // "Connecting to URL", "Connected to URL", "Disconnected from URL,
  // retrying in N s".
  std::string StatusText() const override;
  uint64_t DroppedBytes() const override { return Dropped; }

 private:
  void Take(const std::string& payload);

  const TMqttUrl Url;
  const std::string Text;
  std::unique_ptr<TMqttLink> Link;
  std::deque<std::string> Lines;
  TArrivalHandler OnArrival;
  TByteObserver OnBytes;
  uint64_t Dropped = 0;
};
