// libFuzzer target: any bytes as one received line. Decode must return a
// known code and leave every record finite, a TAG block must come off only
// from the front, the decoders' one-pass field split must agree with a plain
// field-by-field reading, and the shared routines must hold their contracts
// on the same bytes.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/Routines.h"
#include "nmea/Fields.h"
#include "nmea/NMEA.h"
#include "nmea/TagBlock.h"

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

void CheckFinite(const TNMEA& d) {
  const double values[] = {d.GGA.Time,
                           d.GGA.Latitude,
                           d.GGA.Longitude,
                           d.GGA.HDOP,
                           d.GGA.Altitude,
                           d.GGA.DiffAge,
                           d.GGA.GeoidSeparation,
                           d.RMC.DateTime,
                           d.RMC.Latitude,
                           d.RMC.Longitude,
                           d.RMC.Speed,
                           d.RMC.Course,
                           d.RMC.Variation,
                           d.GSA.PDOP,
                           d.GSA.HDOP,
                           d.GSA.VDOP,
                           d.RME.HPE,
                           d.RME.VPE,
                           d.RME.EPE};
  for (double value : values) Check(std::isfinite(value));
}

// Field n the slow way: past n commas, up to the next comma or "*".
std::string_view PlainField(std::string_view line, size_t n) {
  size_t start = 0;
  for (size_t commas = 0; commas < n; ++commas) {
    const size_t comma = line.find(',', start);
    if (comma == std::string_view::npos) return {};
    start = comma + 1;
  }
  return line.substr(start, nmea::FieldEnd(line, start) - start);
}

void CheckFields(std::string_view line) {
  const nmea::TFields<24> fields(line);
  for (size_t n = 0; n < 24; ++n) Check(fields[n] == PlainField(line, n));
}

void CheckRoutines(std::string_view text) {
  const std::string printable = KeepPrintable(text);
  Check(printable.size() <= text.size());
  for (char ch : printable) {
    const auto code = static_cast<unsigned char>(ch);
    Check(code >= 32 && code <= 127);
  }
  int32_t integer = 0;
  TryStrToInt(text, integer);
  long double real = 0;
  if (TryStrToFloat(text, real)) Check(std::isfinite(real));
  double narrow = 0;
  if (TryStrToDouble(text, narrow)) Check(std::isfinite(narrow));
  Check(std::isfinite(StrToFloatDefault(text, 0)));
  HexStrToInt(text);
  NmeaChecksum(text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  // One decoder for the whole run, as in the program: records carry over.
  static TNMEA decoder;
  const TSentenceResult result = decoder.Decode(line);
  Check(result <= TSentenceResult::RME);
  CheckFinite(decoder);
  decoder.ChecksumValid(line);
  CheckFields(line);
  // A TAG block stripped leaves the end of the line, never other bytes.
  const std::string_view sentence = StripTagBlock(line);
  Check(sentence.size() <= line.size() &&
        sentence.data() + sentence.size() == line.data() + line.size());
  CheckRoutines(line);
  return 0;
}
