#include "monitor/ReceiverFrames.h"

void TReceiverFrames::Take(const TFrame& frame, TEpochRecorder& recorder, uint32_t tick) {
  if (std::optional<TNavPvt> pvt = DecodeNavPvt(frame)) {
    recorder.TakeNavPvt(*pvt);
    NavPvt = pvt;
  } else if (const std::optional<TMonRf> rf = MonRfOf(frame)) {
    recorder.TakeJamming(*rf);
    RfTick = tick;
  } else if (std::optional<TRtcmStation> station = DecodeRtcmStation(frame)) {
    Station = station;
  }
}

std::optional<TGeodetic> TReceiverFrames::CurrentFix(const TNMEA& decoder) const {
  if (NavPvt) {
    if (!NavPvt->Located()) return std::nullopt;
    return TGeodetic{NavPvt->Latitude, NavPvt->Longitude, NavPvt->Height};
  }
  const TGGA& gga = decoder.GGA;
  if (gga.Quality == 0) return std::nullopt;
  return TGeodetic{gga.Latitude, gga.Longitude,
                   static_cast<double>(gga.Altitude) + static_cast<double>(gga.GeoidSeparation)};
}

std::string TReceiverFrames::StationLine(const TNMEA& decoder) const {
  return Station ? StationText(*Station, CurrentFix(decoder)) : std::string();
}
