#pragma once
// One epoch as one JSON object, the same for `tolvane-decode --epochs` and
// for whatever publishes epochs:
// {"n":LINE,"time":"hhmmss.ss","date":"ddmmyy"|null,"quality":Q|null,
//  "mode":M|null,"lat":DEG|null,"lon":DEG|null,"alt":M|null,"used":N|null,
//  "pdop":X|null,"hdop":X|null,"vdop":X|null,"diffAge":S|null,
//  "cn0":{"GPS":MEAN,...},"interference":BOOL[,"jamming":{"L1":"ok",...}]}
// where "jamming" is the receiver's own verdict per RF block (MON-RF), left
// out when the receiver gave none.

#include <string>

#include "history/Epoch.h"

// Without a line end.
std::string EpochJson(const TEpoch& epoch);
