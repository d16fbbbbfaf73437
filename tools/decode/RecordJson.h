#pragma once
// The decoder's records as JSON objects, every field under its own name.

#include <cstdint>
#include <string_view>

#include "nmea/NMEA.h"
#include "tools/decode/Output.h"

namespace decode {

// The members every output line starts with: "n", "code" and "result".
void WriteLineHead(TOutputJson& json, uint64_t number, TSentenceResult result);

void WriteGGA(TOutputJson& json, const TGGA& record);
void WriteRMC(TOutputJson& json, const TRMC& record);
void WriteGSV(TOutputJson& json, const TGSV& record);
void WriteGSA(TOutputJson& json, const TGSA& record);
void WriteRME(TOutputJson& json, const TRME& record);

// The record a result refers to, as a member named after its type ("GGA":
// {...}): the decoded record for codes 3 to 7, and for Invalid (2) the
// record of the line's own type as the failure left it. Nothing for codes 0
// and 1.
void WriteResultRecord(TOutputJson& json, TSentenceResult result, std::string_view line,
                       const TNMEA& decoder);

}  // namespace decode
