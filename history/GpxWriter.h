#pragma once

#include "history/TrackWriter.h"

class TGpxWriter : public ITrackWriter {
 public:
  void Begin(std::string& text) override;
  void Take(const TEpoch& epoch, std::string& text) override;
  void End(std::string& text) override;
};
