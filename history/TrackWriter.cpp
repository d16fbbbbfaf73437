#include "history/TrackWriter.h"

#include "history/CsvWriter.h"
#include "history/GpxWriter.h"
#include "history/KmlWriter.h"

std::unique_ptr<ITrackWriter> MakeTrackWriter(TTrackFormat format) {
  switch (format) {
    case TTrackFormat::Gpx:
      return std::make_unique<TGpxWriter>();
    case TTrackFormat::Kml:
      return std::make_unique<TKmlWriter>();
    case TTrackFormat::Csv:
      break;
  }
  return std::make_unique<TCsvWriter>();
}

std::string TrackText(const THistory& history, TTrackFormat format) {
  const std::unique_ptr<ITrackWriter> writer = MakeTrackWriter(format);
  std::string text;
  writer->Begin(text);
  for (uint64_t i = history.First(); i < history.End(); ++i) writer->Take(history.At(i), text);
  writer->End(text);
  return text;
}
