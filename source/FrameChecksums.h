#pragma once
// The checksums of the binary frames, the one copy that both the splitter
// and the frames' builder use.

#include <cstdint>
#include <string_view>

// UBX's 8-bit Fletcher sum over class, id, length and payload: CK_A in the
// low byte, CK_B in the high byte, so that the frame ends with the result in
// little-endian order.
uint16_t UbxChecksum(std::string_view bytes);

// RTCM 3's CRC-24Q (polynomial 0x1864CFB, starting from 0) over header and
// payload; the frame ends with its three bytes, most significant first.
uint32_t Crc24q(std::string_view bytes);
