#include "tools/decode/RecordJson.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace decode {

void WriteGGA(TOutputJson& json, const TGGA& record) {
  json.BeginObject();
  json.Key("Time");
  json.Double(record.Time);
  json.Key("Latitude");
  json.Double(record.Latitude);
  json.Key("Longitude");
  json.Double(record.Longitude);
  json.Key("Quality");
  json.Integer(record.Quality);
  json.Key("SatsUsed");
  json.Integer(record.SatsUsed);
  json.Key("HDOP");
  json.Single(record.HDOP);
  json.Key("Altitude");
  json.Single(record.Altitude);
  json.Key("GeoidSeparation");
  json.Single(record.GeoidSeparation);
  json.Key("DiffAge");
  json.Single(record.DiffAge);
  json.Key("DiffStation");
  json.Integer(record.DiffStation);
  json.EndObject();
}

void WriteLineHead(TOutputJson& json, uint64_t number, TSentenceResult result) {
  json.Key("n");
  json.Integer(static_cast<int64_t>(number));
  json.Key("code");
  json.Integer(static_cast<int64_t>(result));
  json.Key("result");
  json.String(SentenceResultName(result));
}

void WriteRMC(TOutputJson& json, const TRMC& record) {
  json.BeginObject();
  json.Key("DateTime");
  json.Double(record.DateTime);
  json.Key("Valid");
  json.Boolean(record.Valid);
  json.Key("Latitude");
  json.Double(record.Latitude);
  json.Key("Longitude");
  json.Double(record.Longitude);
  json.Key("Speed");
  json.Single(record.Speed);
  json.Key("Course");
  json.Single(record.Course);
  json.Key("Variation");
  json.Single(record.Variation);
  json.EndObject();
}

namespace {

template <size_t N>
char* Append(char* out, const char (&text)[N]) {
  std::memcpy(out, text, N - 1);
  return out + N - 1;
}

// Twelve of these on every GSV line: written in one piece, the member
// names as constants.
void WriteSatellite(TOutputJson& json, const TSatellite& sat) {
  constexpr size_t kMaxSize = 64 + 4 * 11;
  char* const start = json.RawBegin(kMaxSize);
  char* out = Append(start, "{\"PRN\":");
  out = std::to_chars(out, start + kMaxSize, sat.PRN).ptr;
  out = Append(out, ",\"Elevation\":");
  out = std::to_chars(out, start + kMaxSize, sat.Elevation).ptr;
  out = Append(out, ",\"Azimuth\":");
  out = std::to_chars(out, start + kMaxSize, sat.Azimuth).ptr;
  out = Append(out, ",\"SNR\":");
  out = std::to_chars(out, start + kMaxSize, sat.SNR).ptr;
  *out++ = '}';
  json.RawEnd(out);
}

}  // namespace

void WriteGSV(TOutputJson& json, const TGSV& record) {
  json.BeginObject();
  json.Key("MessageCount");
  json.Integer(record.MessageCount);
  json.Key("MessageNumber");
  json.Integer(record.MessageNumber);
  json.Key("SatsInView");
  json.Integer(record.SatsInView);
  json.Key("Sats");
  json.BeginArray();
  for (const TSatellite& sat : record.Sats) WriteSatellite(json, sat);
  json.EndArray();
  json.EndObject();
}

void WriteGSA(TOutputJson& json, const TGSA& record) {
  json.BeginObject();
  json.Key("Mode");
  json.String(record.Mode);
  json.Key("FixType");
  json.Integer(record.FixType);
  json.Key("UsedPRN");
  json.BeginArray();
  for (uint8_t prn : record.UsedPRN) json.Integer(prn);
  json.EndArray();
  json.Key("PDOP");
  json.Single(record.PDOP);
  json.Key("HDOP");
  json.Single(record.HDOP);
  json.Key("VDOP");
  json.Single(record.VDOP);
  json.EndObject();
}

void WriteRME(TOutputJson& json, const TRME& record) {
  json.BeginObject();
  json.Key("HPE");
  json.Single(record.HPE);
  json.Key("VPE");
  json.Single(record.VPE);
  json.Key("EPE");
  json.Single(record.EPE);
  json.EndObject();
}

void WriteResultRecord(TOutputJson& json, TSentenceResult result, std::string_view line,
                       const TNMEA& decoder) {
  if (result == TSentenceResult::Invalid) {
    // Only GGA and GSV fail; the type sits where the decoder read it.
    const std::string_view type = line.substr(std::min<size_t>(3, line.size()), 3);
    result = type == "GGA"   ? TSentenceResult::GGA
             : type == "GSV" ? TSentenceResult::GSV
                             : TSentenceResult::Invalid;
  }
  switch (result) {
    case TSentenceResult::GGA:
      json.Key("GGA");
      WriteGGA(json, decoder.GGA);
      break;
    case TSentenceResult::RMC:
      json.Key("RMC");
      WriteRMC(json, decoder.RMC);
      break;
    case TSentenceResult::GSV:
      json.Key("GSV");
      WriteGSV(json, decoder.GSV);
      break;
    case TSentenceResult::GSA:
      json.Key("GSA");
      WriteGSA(json, decoder.GSA);
      break;
    case TSentenceResult::RME:
      json.Key("RME");
      WriteRME(json, decoder.RME);
      break;
    default:
      break;
  }
}

}  // namespace decode
