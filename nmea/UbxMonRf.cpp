#include "nmea/UbxMonRf.h"

#include "nmea/UbxFields.h"

namespace {

constexpr uint8_t kMonClass = 0x0A;
constexpr uint8_t kMonRfId = 0x38;
constexpr size_t kHeaderSize = 4;
constexpr size_t kBlockSize = 24;

// blockId U1, flags X1, antStatus U1, antPower U1, postStatus X4,
// reserved 4, noisePerMS U2, agcCnt U2, jamInd U1, ofsI I1, magI U1,
// ofsQ I1, magQ U1, reserved 3.
TMonRfBlock Block(TUbxFieldReader& field) {
  TMonRfBlock block;
  block.BlockId = field.U1();
  block.Jamming = static_cast<TJammingState>(field.U1() & 0x03);
  block.AntStatus = field.U1();
  block.AntPower = field.U1();
  block.PostStatus = field.U4();
  field.Skip(4);
  block.NoisePerMs = field.U2();
  block.AgcCount = field.U2();
  block.JamIndicator = field.U1();
  block.OfsI = field.I1();
  block.MagI = field.U1();
  block.OfsQ = field.I1();
  block.MagQ = field.U1();
  field.Skip(3);
  return block;
}

}  // namespace

const char* JammingStateName(TJammingState state) {
  switch (state) {
    case TJammingState::Ok:
      return "ok";
    case TJammingState::Warning:
      return "warning";
    case TJammingState::Critical:
      return "critical";
    case TJammingState::Unknown:
      break;
  }
  return "unknown";
}

std::string RfBlockName(uint8_t blockId) {
  if (blockId == 0) return "L1";
  if (blockId == 1) return "L2";
  std::string name = "RF";
  name += std::to_string(blockId);
  return name;
}

// version U1, nBlocks U1, reserved 2, then nBlocks blocks of 24 bytes.
std::optional<TMonRf> DecodeMonRf(std::string_view payload) {
  if (payload.size() < kHeaderSize) return std::nullopt;
  TUbxFieldReader field(payload);
  TMonRf rf;
  rf.Version = field.U1();
  const uint8_t count = field.U1();
  if (payload.size() != kHeaderSize + kBlockSize * count) return std::nullopt;
  field.Skip(2);
  rf.Blocks.reserve(count);
  for (uint8_t index = 0; index < count; ++index) rf.Blocks.push_back(Block(field));
  return rf;
}

std::optional<TMonRf> MonRfOf(const TFrame& frame) {
  if (frame.Kind != TFrameKind::Ubx || frame.Class != kMonClass || frame.Id != kMonRfId)
    return std::nullopt;
  return DecodeMonRf(frame.Payload());
}

std::vector<TRfJamming> JammingOf(const TMonRf& rf) {
  std::vector<TRfJamming> blocks;
  blocks.reserve(rf.Blocks.size());
  for (const TMonRfBlock& block : rf.Blocks) blocks.push_back({block.BlockId, block.Jamming});
  return blocks;
}

TJammingVerdict WorstJamming(const std::vector<TRfJamming>& blocks) {
  TJammingVerdict verdict;
  for (const TRfJamming& block : blocks) {
    if (!verdict.Blocks.empty() && block.State < verdict.State) continue;
    if (verdict.Blocks.empty() || block.State > verdict.State) {
      verdict.State = block.State;
      verdict.Blocks.clear();
    } else {
      verdict.Blocks += ", ";
    }
    verdict.Blocks += RfBlockName(block.BlockId);
  }
  return verdict;
}
