#pragma once
// UBX MON-RF (class 0x0A, id 0x38): the receiver's own account of each RF
// block, its jamming verdict first among them. The program keeps the verdict
// per block (TRfJamming); the rest of the record is there for whoever reads
// the frame whole.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/Frame.h"

// flags bits 0-1, as the receiver names them.
enum class TJammingState : uint8_t { Unknown, Ok, Warning, Critical };

// "unknown", "ok", "warning", "critical".
const char* JammingStateName(TJammingState state);
// "L1" for block 0, "L2" for block 1 (L2 or L5, as the receiver is set up),
// "RF2" and so on for any other.
std::string RfBlockName(uint8_t blockId);

struct TMonRfBlock {
  uint8_t BlockId = 0;
  TJammingState Jamming = TJammingState::Unknown;
  uint8_t AntStatus = 0;  // 0 init, 1 don't know, 2 ok, 3 short, 4 open
  uint8_t AntPower = 0;   // 0 off, 1 on, 2 don't know
  uint32_t PostStatus = 0;
  uint16_t NoisePerMs = 0;
  uint16_t AgcCount = 0;     // 0 to 8191
  uint8_t JamIndicator = 0;  // 0 none to 255 strong continuous-wave jamming
  int8_t OfsI = 0;
  uint8_t MagI = 0;
  int8_t OfsQ = 0;
  uint8_t MagQ = 0;
  bool operator==(const TMonRfBlock&) const = default;
};

struct TMonRf {
  uint8_t Version = 0;
  std::vector<TMonRfBlock> Blocks;
  bool operator==(const TMonRf&) const = default;
};

// None when the length is not 4 + 24 * nBlocks.
std::optional<TMonRf> DecodeMonRf(std::string_view payload);
// The same for a frame; none for any frame but a UBX MON-RF.
std::optional<TMonRf> MonRfOf(const TFrame& frame);

// One block's verdict, as the history keeps it with each epoch.
struct TRfJamming {
  uint8_t BlockId = 0;
  TJammingState State = TJammingState::Unknown;
  bool operator==(const TRfJamming&) const = default;
};

std::vector<TRfJamming> JammingOf(const TMonRf& rf);

// The worst verdict of the blocks and the blocks that gave it, in their
// order: "L1", "L1, L2". Unknown with no blocks named when there are none.
struct TJammingVerdict {
  TJammingState State = TJammingState::Unknown;
  std::string Blocks;
  bool operator==(const TJammingVerdict&) const = default;
};

TJammingVerdict WorstJamming(const std::vector<TRfJamming>& blocks);
