#include "tools/decode/Mode.h"

#include <algorithm>

namespace decode {

namespace {

std::vector<TModeEntry>& Registry() {
  static std::vector<TModeEntry> modes;
  return modes;
}

}  // namespace

TModeRegistration::TModeRegistration(TModeEntry entry) {
  auto& modes = Registry();
  modes.insert(
      std::upper_bound(modes.begin(), modes.end(), entry,
                       [](const TModeEntry& a, const TModeEntry& b) { return a.Flag < b.Flag; }),
      entry);
}

const std::vector<TModeEntry>& RegisteredModes() {
  return Registry();
}

}  // namespace decode
