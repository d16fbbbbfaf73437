// tolvane-decode --display: what the main window would show after each line,
// {"n":7,"code":6,"result":"srGSA","fields":{"Mode":"Auto 3D",...},
//  "colours":{"Latitude":"buttonface",...}}.
// It runs the window's own display decisions with the field formats stored
// for the user, so its texts are the window's texts.

#include "format/FieldFormatSettings.h"
#include "format/LocaleFormats.h"
#include "monitor/FixDisplay.h"
#include "tools/decode/Mode.h"
#include "tools/decode/RecordJson.h"

namespace decode {

namespace {

class TDisplayMode : public TDecodeMode {
 public:
  explicit TDisplayMode(TOutput& output)
      : Formats(StoredFieldFormats(SystemLocaleFormats())), Json(output) {}

  void Line(uint64_t number, std::string_view, TSentenceResult result,
            const TNMEA& decoder) override {
    const TFieldUpdates updates = DisplayFor(result, decoder, Formats, Used);
    // The satellite table reads the "Used?" marks the last GSA left in the slots.
    NoteUsedSlots(updates, Used);
    Json.BeginObject();
    WriteLineHead(Json, number, result);
    WriteFields(updates);
    WriteColours(updates);
    Json.EndObject();
    Json.EndLine();
  }

 private:
  void WriteFields(const TFieldUpdates& updates) {
    Json.Key("fields");
    Json.BeginObject();
    for (const TFieldUpdate& update : updates) {
      if (update.Kind == TFieldUpdate::TKind::Colour) continue;
      Json.Key(FieldName(update.Field));
      if (update.Kind == TFieldUpdate::TKind::Bar)
        Json.Integer(update.Position);
      else if (update.Kind == TFieldUpdate::TKind::Used)
        Json.String(UsedText(update.Used));
      else
        Json.String(update.Text);
    }
    Json.EndObject();
  }

  void WriteColours(const TFieldUpdates& updates) {
    Json.Key("colours");
    Json.BeginObject();
    for (const TFieldUpdate& update : updates) {
      if (update.Kind != TFieldUpdate::TKind::Colour && update.Kind != TFieldUpdate::TKind::Bar)
        continue;
      Json.Key(FieldName(update.Field));
      Json.String(ColourName(update.Colour));
    }
    Json.EndObject();
  }

  TFieldFormats Formats;
  TOutputJson Json;
  TUsedSlots Used;
};

const TModeRegistration kDisplay{{"--display",
                                  "the main window's field texts, bar positions and colours",
                                  [](TOutput& output) -> std::unique_ptr<TDecodeMode> {
                                    return std::make_unique<TDisplayMode>(output);
                                  }}};

}  // namespace

}  // namespace decode
