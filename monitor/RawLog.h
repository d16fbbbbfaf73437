#pragma once
// A raw log: every byte a source delivered, in order and unchanged (frames,
// sentences, noise), beside or instead of the text log, for the tools that
// read a receiver's own binary messages (RTKLIB's convbin reads a u-blox
// receiver's .ubx). The bytes go to the operating system as they come: a
// source delivers them a read at a time, a few KiB at most, and a crash
// loses none. A write that fails (a full disk) ends the log, keeping what
// was written, and keeps the reason for whoever shows it.

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

class TRawLog {
 public:
  TRawLog() = default;
  ~TRawLog() { Stop(); }
  TRawLog(const TRawLog&) = delete;
  TRawLog& operator=(const TRawLog&) = delete;

  // Creates the file, replacing one of that name; raises EInOutError
  // (monitor/DataFile.h) and then leaves any log running as it was.
  void Start(const std::string& fileName);
  void Stop();
  bool Running() const { return File != nullptr; }
  // Nothing while no log runs.
  void Write(std::string_view bytes);
  // The bytes written since the start.
  uint64_t Size() const { return Written; }
  // Why the log ended by itself ("Raw log stopped: Disk full"), once; empty
  // when it did not.
  std::string TakeFailure();

 private:
  std::FILE* File = nullptr;
  uint64_t Written = 0;
  std::string Failure;
};

// "Raw log: 12.3 MB": megabytes of 1,000,000 bytes, one decimal.
std::string RawLogStatusText(uint64_t bytes);
