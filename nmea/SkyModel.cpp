// The sky model's reading of lines: GSV series, GSA sets and the epochs that
// the time sentences mark. What the model then shows is built in SkyMerge.cpp.

#include "nmea/SkyModel.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "common/Routines.h"
#include "nmea/EpochMark.h"
#include "nmea/SkyLine.h"
#include "nmea/TimeText.h"

namespace {

uint16_t TalkerKey(std::string_view talker) {
  return static_cast<uint16_t>(static_cast<unsigned char>(talker[0]) << 8 |
                               static_cast<unsigned char>(talker[1]));
}

// An empty or unreadable field is absent, never zero.
std::optional<int32_t> ReadInt(std::string_view text) {
  int32_t value = 0;
  if (text.empty() || !TryStrToInt(text, value)) return std::nullopt;
  return value;
}

// One hex digit, "0" to "F" in either case.
bool ReadSignalId(std::string_view text, uint8_t& signal) {
  if (text.size() != 1) return false;
  const char ch = text[0];
  if (ch != '0' && HexDigitValue(ch) == 0) return false;
  signal = static_cast<uint8_t>(HexDigitValue(ch));
  return true;
}

// GSA system ID fields: absent and unreadable are told apart from every number.
constexpr int64_t kNoSystemId = std::numeric_limits<int64_t>::min();
constexpr int64_t kUnreadableSystemId = kNoSystemId + 1;
// Sets without an ID, by the system of their first satellite: kFirstSystemKey
// plus the system's place in TSkySystem.
constexpr int64_t kFirstSystemKey = kNoSystemId + 2;

constexpr int64_t kDayMs = 24 * 60 * 60 * 1000;

uint32_t SystemBit(TSkySystem system) {
  return 1U << static_cast<unsigned>(system);
}

}  // namespace

TSkyModel::TSkyModel() {
  LastTime.reserve(16);
}

bool TSkyModel::Take(std::string_view line) {
  if (line.empty() || line[0] != '$') return false;
  nmea::TSkyLine fields(line);
  if (!nmea::SkyReadable(line, fields)) return false;
  const std::string_view talker = fields.Address.substr(0, 2);
  const std::string_view type = fields.Address.substr(2);
  if (type == "GSV") return TakeGSV(talker, fields);
  if (type == "GSA") return TakeGSA(talker, fields);
  // ZDA marks no epoch (it may come once a second within a faster fix), but
  // its time is the receiver's.
  if (type == "ZDA") {
    TakeClock(fields.Take());
    ForgetUnheard();
    return true;
  }
  const std::optional<std::string_view> time = nmea::TakeTimeField(type, fields);
  if (time) TakeTime(*time);
  return time.has_value();
}

void TSkyModel::Clear() {
  Series.clear();
  Kept.clear();
  UsedSets.clear();
  UsedKeys.clear();
  Merged.clear();
  Sats.clear();
  ShownMerged.clear();
  ShownSats.clear();
  HaveShown = false;
  LastTime.clear();
  HaveTime = false;
  EpochSky = false;
  Epochs = 0;
  ClockMs.reset();
  LastTimeOfDayMs = 0;
  Changed(true);
}

void TSkyModel::EndEpoch() {
  if (EpochSky) KeepShown();
}

std::optional<std::string_view> TSkyModel::EpochTime() const {
  if (!HaveTime) return std::nullopt;
  return std::string_view(LastTime);
}

// $--GSV,x,x,xx,xx,xx,xxx,xx, ... ,xx,xx,xxx,xx[,h]*hh
//        1 2 3  4  5  6   7         4k 4k+1 ... [4k+4]
// count of sentences, this sentence's number, satellites in view, then k
// groups of number, elevation, azimuth and SNR; with NMEA 4.10 a last field,
// the signal ID of every satellite in the sentence.
bool TSkyModel::TakeGSV(std::string_view talker, nmea::TSkyLine& fields) {
  const size_t count = fields.FieldCount();
  if (count < 3) return false;
  uint8_t signal = 0;
  if ((count - 3) % 4 == 1) {
    if (!ReadSignalId(fields.LastField(), signal)) return false;
  } else if ((count - 3) % 4 != 0) {
    return false;
  }
  const bool signalIds = (count - 3) % 4 == 1;
  // Plain decimal digits only, as the count and number of a GSV must be.
  const std::optional<int32_t> totalField = ParseDigits(fields.Take());
  const std::optional<int32_t> numberField = ParseDigits(fields.Take());
  if (!totalField || !numberField) return false;
  const int32_t total = *totalField;
  const int32_t number = *numberField;
  if (number < 1 || number > total || total > 9) return false;
  fields.Take();  // satellites in view: the groups tell more
  EpochSky = true;

  TSeries& series = SeriesOf(TalkerKey(talker));
  if (number == 1) {
    series.InProgress = true;
    series.Count = total;
    series.Signals = 0;
    series.SignalIds = false;
    const std::optional<TSkySystem> named = TalkerSystem(talker);
    series.Systems = named ? SystemBit(*named) : 0;
    series.Entries.clear();
  } else if (!series.InProgress || total != series.Count || number != series.Next) {
    series.InProgress = false;
    series.Entries.clear();
    return true;
  }
  series.Next = number + 1;
  series.Signals |= static_cast<uint16_t>(1U << signal);
  series.SignalIds = series.SignalIds || signalIds;
  const std::optional<TSkySystem> system = TalkerSystem(talker);
  for (size_t group = 0; group < (count - 3) / 4; ++group) {
    const std::optional<int32_t> satellite = ReadInt(fields.Take());
    const std::optional<int32_t> elevation = ReadInt(fields.Take());
    const std::optional<int32_t> azimuth = ReadInt(fields.Take());
    const std::optional<int32_t> snr = ReadInt(fields.Take());
    if (!satellite) continue;
    const TSkyId id = SkyIdentify(system, *satellite);
    series.Entries.push_back({id.System, id.Satellite, signal, elevation, azimuth, snr});
    series.Systems |= SystemBit(id.System);
  }
  if (number == total) {
    series.InProgress = false;
    Complete(series);
  }
  return true;
}

// $--GSA,a,x,xx,xx,xx,xx,xx,xx,xx,xx,xx,xx,xx,xx,x.x,x.x,x.x[,h]*hh
//        1 2 3                                14 15  16  17   18
// mode, fix type, up to twelve satellites used, PDOP, HDOP, VDOP, and with
// NMEA 4.10 the system ID that says how to read the numbers.
bool TSkyModel::TakeGSA(std::string_view talker, nmea::TSkyLine& fields) {
  if (fields.FieldCount() < 17) return false;
  fields.Skip(2);
  std::array<int32_t, kGsaSlots> numbers{};
  int found = 0;
  for (int i = 0; i < kGsaSlots; ++i) {
    const std::optional<int32_t> number = ReadInt(fields.Take());
    if (number && *number != 0) numbers[found++] = *number;
  }
  fields.Skip(3);
  int64_t systemId = kNoSystemId;
  std::optional<TSkySystem> system = TalkerSystem(talker);
  if (fields.FieldCount() >= 18) {
    const std::string_view text = fields.Take();
    if (const std::optional<int32_t> id = ReadInt(text)) {
      systemId = *id;
      GsaSystem(*id, system);
    } else if (!text.empty()) {
      systemId = kUnreadableSystemId;
    }
  }

  std::array<TSkyId, kGsaSlots> ids{};
  for (int i = 0; i < found; ++i) ids[i] = SkyIdentify(system, numbers[i]);
  // Receivers from before NMEA 4.10 send one GN GSA per system without an ID
  // (GPS, then GLONASS): were they one set, the last would unmark the GPS
  // satellites. Without an ID, the system of the first satellite named (SBAS
  // within GPS, as a GPS GSA lists both) tells the sets apart.
  if (systemId == kNoSystemId && found > 0) {
    const TSkySystem first = ids[0].System == TSkySystem::SBAS ? TSkySystem::GPS : ids[0].System;
    systemId = kFirstSystemKey + static_cast<int64_t>(first);
  }
  UseSet(TalkerKey(talker), systemId, ids, found);

  EpochSky = true;
  CollectUsed();
  Changed(false);
  return true;
}

void TSkyModel::UseSet(uint16_t talker, int64_t systemId, const std::array<TSkyId, kGsaSlots>& ids,
                       int count) {
  TUsedSet* set = nullptr;
  for (TUsedSet& candidate : UsedSets) {
    if (candidate.Talker == talker && candidate.SystemId == systemId) set = &candidate;
  }
  if (!set) set = &UsedSets.emplace_back(TUsedSet{talker, systemId, 0, {}});
  set->Count = count;
  set->Ids = ids;
}

// A new epoch: the GSA sets are of the one that ended. The satellites stay,
// since many receivers send GSV less often than once per epoch.
void TSkyModel::TakeTime(std::string_view time) {
  if (time.empty() || (HaveTime && time == LastTime)) return;
  if (EpochHandler) EpochHandler();
  if (EpochSky) KeepShown();
  LastTime.assign(time);
  HaveTime = true;
  EpochSky = false;
  UsedSets.clear();
  UsedKeys.clear();
  ++Epochs;
  TakeClock(time);
  ForgetUnheard();
  Changed(false);
}

// A time that goes back (a receiver that restarts its clock) stops the clock
// rather than running it on by most of a day.
void TSkyModel::TakeClock(std::string_view time) {
  const std::optional<double> seconds = TimeOfDaySeconds(time);
  if (!seconds) return;
  const int64_t timeOfDay = std::llround(*seconds * 1000);
  if (!ClockMs) {
    ClockMs = 0;
  } else {
    int64_t step = timeOfDay - LastTimeOfDayMs;
    if (step < 0) step += kDayMs;
    if (step < kDayMs / 2) *ClockMs += step;
  }
  LastTimeOfDayMs = timeOfDay;
}

void TSkyModel::ForgetUnheard() {
  const auto unheard = [this](const TKept& kept) {
    if (Epochs - kept.Epoch < kForgetEpochs) return false;
    return !ClockMs || !kept.ClockMs || *ClockMs - *kept.ClockMs >= kForgetMs;
  };
  if (std::erase_if(Kept, unheard) > 0) Changed(true);
}

TSkyModel::TSeries& TSkyModel::SeriesOf(uint16_t talker) {
  for (TSeries& series : Series) {
    if (series.Talker == talker) return series;
  }
  TSeries& series = Series.emplace_back();
  series.Talker = talker;
  return series;
}

// Every signal the series carried replaces what that talker last said on it,
// also a signal whose sentences listed no satellite.
void TSkyModel::Complete(TSeries& series) {
  const uint64_t stamp = ++Completions;
  for (uint8_t signal = 0; signal < kSignalIds; ++signal) {
    if ((series.Signals & (1U << signal)) == 0) continue;
    TKept& kept = KeptOf(series.Talker, signal);
    kept.Stamp = stamp;
    kept.SignalIds = series.SignalIds;
    kept.Epoch = Epochs;
    kept.ClockMs = ClockMs;
    kept.Entries.clear();
    for (const TSkyEntry& entry : series.Entries) {
      if (entry.Signal == signal) kept.Entries.push_back(entry);
    }
  }
  DropOtherForm(series);
  series.Entries.clear();
  Changed(true);
}

TSkyModel::TKept& TSkyModel::KeptOf(uint16_t talker, uint8_t signal) {
  for (TKept& kept : Kept) {
    if (kept.Talker == talker && kept.Signal == signal) return kept;
  }
  TKept& kept = Kept.emplace_back();
  kept.Talker = talker;
  kept.Signal = signal;
  return kept;
}

// A receiver that changes to (or from) signal IDs lists its satellites anew:
// what the other form said of them is not heard again.
void TSkyModel::DropOtherForm(const TSeries& series) {
  for (TKept& kept : Kept) {
    if (kept.SignalIds == series.SignalIds) continue;
    std::erase_if(kept.Entries, [&series](const TSkyEntry& entry) {
      return (series.Systems & SystemBit(entry.System)) != 0;
    });
  }
}
