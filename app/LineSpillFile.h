#pragma once
// The temporary file that takes the received lines the view no longer keeps
// in memory. It is removed from its folder as soon as it is made, so that
// nothing is left behind however the program ends; closing it gives the
// space back.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// $XDG_RUNTIME_DIR when it is set, else the temporary folder.
std::string DefaultSpillFolder();

class TLineSpillFile {
 public:
  explicit TLineSpillFile(std::string folder) : Folder(std::move(folder)) {}
  TLineSpillFile(const TLineSpillFile&) = delete;
  TLineSpillFile& operator=(const TLineSpillFile&) = delete;
  ~TLineSpillFile() { Close(); }

  // Adds both parts at the end of the file, made on the first call, and
  // gives where they start; false when it could not be made or written.
  bool Write(std::string_view first, std::string_view second, uint64_t& offset);
  bool Read(uint64_t offset, char* into, std::size_t size) const;
  // Closes and so deletes the file; the next Write makes a new one.
  void Close();

 private:
  bool Open();

  std::string Folder;
  int Descriptor = -1;
  uint64_t End = 0;
};
