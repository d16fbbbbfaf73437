#pragma once
// The epochs as track files: GPX 1.1, KML 2.2 or CSV. A writer takes the
// epochs one by one, so that a day's capture streams through the command
// line, and appends its text to a string its caller empties as it likes.

#include <memory>
#include <string>

#include "history/Epoch.h"
#include "history/EpochHistory.h"

enum class TTrackFormat { Gpx, Kml, Csv };

class ITrackWriter {
 public:
  virtual ~ITrackWriter() = default;
  virtual void Begin(std::string& text) = 0;
  virtual void Take(const TEpoch& epoch, std::string& text) = 0;
  virtual void End(std::string& text) = 0;
};

std::unique_ptr<ITrackWriter> MakeTrackWriter(TTrackFormat format);

// The whole history as one file's text.
std::string TrackText(const THistory& history, TTrackFormat format);
