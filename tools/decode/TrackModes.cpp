// --gpx, --kml, --csv: the epochs as the window's File, "Export track..."
// writes them, to standard output as they complete.

#include "history/TrackWriter.h"
#include "tools/decode/EpochFeed.h"

namespace decode {

namespace {

class TTrackMode : public TEpochFeed {
 public:
  TTrackMode(TOutput& output, TTrackFormat format) : Out(output), Writer(MakeTrackWriter(format)) {
    Writer->Begin(Text);
  }

 private:
  void Epoch(TEpoch& epoch) override {
    Writer->Take(epoch, Text);
    Out.Write(Text);
    Text.clear();
  }

  void End() override {
    Writer->End(Text);
    Out.Write(Text);
  }

  TOutput& Out;
  std::unique_ptr<ITrackWriter> Writer;
  std::string Text;
};

template <TTrackFormat Format>
std::unique_ptr<TDecodeMode> Create(TOutput& output) {
  return std::make_unique<TTrackMode>(output, Format);
}

const TModeRegistration kGpx{{"--gpx", "the fixes as a GPX 1.1 track", Create<TTrackFormat::Gpx>}};
const TModeRegistration kKml{
    {"--kml", "the fixes as a KML 2.2 line and their mean position", Create<TTrackFormat::Kml>}};
const TModeRegistration kCsv{
    {"--csv", "a CSV row per fix epoch, with C/N0 by system", Create<TTrackFormat::Csv>}};

}  // namespace

}  // namespace decode
