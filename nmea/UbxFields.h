#pragma once
// UBX payload fields: little-endian, read at the offsets the message tables
// give, or one after another. The caller has checked the payload's length.

#include <cstddef>
#include <cstdint>
#include <string_view>

inline uint8_t UbxU1(std::string_view payload, size_t at) {
  return static_cast<uint8_t>(payload[at]);
}

inline uint16_t UbxU2(std::string_view payload, size_t at) {
  return static_cast<uint16_t>(UbxU1(payload, at) | UbxU1(payload, at + 1) << 8);
}

inline uint32_t UbxU4(std::string_view payload, size_t at) {
  return UbxU2(payload, at) | static_cast<uint32_t>(UbxU2(payload, at + 2)) << 16;
}

inline int32_t UbxI4(std::string_view payload, size_t at) {
  return static_cast<int32_t>(UbxU4(payload, at));
}

// Fields in the order the message lists them.
class TUbxFieldReader {
 public:
  explicit TUbxFieldReader(std::string_view payload) : Payload(payload) {}
  uint8_t U1() { return Next(UbxU1(Payload, At), 1); }
  int8_t I1() { return static_cast<int8_t>(U1()); }
  uint16_t U2() { return Next(UbxU2(Payload, At), 2); }
  uint32_t U4() { return Next(UbxU4(Payload, At), 4); }
  void Skip(size_t count) { At += count; }

 private:
  template <typename T>
  T Next(T value, size_t size) {
    At += size;
    return value;
  }

  std::string_view Payload;
  size_t At = 0;
};
