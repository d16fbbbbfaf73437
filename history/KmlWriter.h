#pragma once

#include <vector>

#include "history/TrackWriter.h"

class TKmlWriter : public ITrackWriter {
 public:
  void Begin(std::string& text) override;
  void Take(const TEpoch& epoch, std::string& text) override;
  void End(std::string& text) override;

 private:
  // Kept for the mean position the last placemark marks.
  std::vector<TEpochFix> Fixes;
};
