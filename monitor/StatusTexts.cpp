#include "monitor/StatusTexts.h"

#include <cstdio>

#include "history/FixQuality.h"

namespace {

std::string Printed(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string SourceText(const TMonitor::TSource& source) {
  switch (source.Kind) {
    case TMonitor::TSource::TKind::Port:
      return source.Text;
    case TMonitor::TSource::TKind::Replay:
      return "Replay: " + source.Name + ", " + std::to_string(source.PercentRead) + " %";
    case TMonitor::TSource::TKind::None:
      break;
  }
  return "No source";
}

}  // namespace

TStatusTexts StatusTexts(const TMonitor::TSource& source, const TSentenceStats& stats,
                         uint32_t nowMs) {
  TStatusTexts texts;
  texts.Source = SourceText(source);
  const TSentenceStatsRow& total = stats.Total();
  texts.BadChecksums = std::to_string(total.BadChecksum) +
                       (total.BadChecksum == 1 ? " bad checksum" : " bad checksums");
  if (source.Kind == TMonitor::TSource::TKind::None) return texts;
  texts.Rate = Printed("%.1f lines/s", stats.LinesPerSecond(total, nowMs));
  // Silence counts from the last line, or from the moment the source was
  // chosen when none has come since.
  const bool anyLine = total.Count > 0;
  const uint32_t since =
      anyLine ? TSentenceStats::MsSinceLastSeen(total, nowMs) : nowMs - source.StartTick;
  if (source.Kind == TMonitor::TSource::TKind::Port && since >= kNoDataWarningMs) {
    texts.Age = "No data for " + std::to_string(since / 1000) + " s";
    texts.AgeIsWarning = true;
  } else if (anyLine) {
    texts.Age = Printed("Last line %.1f s ago", since / 1000.0);
  }
  return texts;
}

namespace {

// DGPS and RTK, named as the charts name them; nothing for plain GPS and
// worse.
const char* BetterFixName(int quality) {
  const std::optional<TFixQuality> kind = FixQualityOf(quality);
  if (!kind || *kind < TFixQuality::DGPS) return nullptr;
  return FixQualityName(*kind);
}

// The GGA quality the label names, but where NAV-PVT came its carrier
// solution decides between RTK fixed, RTK float and no RTK at all.
int LabelQuality(const TEpoch& epoch) {
  const int quality = epoch.Quality.value_or(0);
  if (!epoch.Carrier) return quality;
  switch (*epoch.Carrier) {
    case TCarrierSolution::Fixed:
      return 4;
    case TCarrierSolution::Float:
      return 5;
    case TCarrierSolution::None:
      break;
  }
  return quality == 4 || quality == 5 ? 0 : quality;
}

// "14:02:11" of "140211.00"; the field as sent when it is not a time.
std::string ClockText(const std::string& field) {
  if (!TimeOfDaySeconds(field)) return field;
  return field.substr(0, 2) + ":" + field.substr(2, 2) + ":" + field.substr(4, 2);
}

}  // namespace

TFixStatusText FixStatusText(const THistory& history, const TEpochRecorder& recorder) {
  if (recorder.InterferenceSuspected()) {
    const std::optional<std::string>& since = recorder.InterferenceSince();
    return {since ? "Interference suspected since " + ClockText(*since) : "Interference suspected",
            true};
  }
  if (history.Empty()) return {};
  const TEpoch& last = history.At(history.End() - 1);
  const char* name = BetterFixName(LabelQuality(last));
  if (!name) return {};
  if (!last.DiffAge) return {name};
  return {std::string(name) + Printed(", corrections %.1f s old", *last.DiffAge)};
}

std::string ReceiverJammingText(const std::vector<TRfJamming>& jamming, uint32_t msSince) {
  if (msSince >= kRfReportAgeMs) return {};
  const TJammingVerdict worst = WorstJamming(jamming);
  if (worst.State < TJammingState::Warning) return {};
  std::string text = "Receiver reports jamming (";
  text += worst.Blocks;
  text += "): ";
  text += JammingStateName(worst.State);
  return text;
}
