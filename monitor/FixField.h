#pragma once
// The fields of the fix display, named by what they show: a write reaches its
// field through an index, and only the window (to find its widgets once) and
// tolvane-decode --display (to print) need the widgets' object names.

#include <array>
#include <string>

#include "nmea/NMEA.h"

enum class TFixFieldKind {
  UTCTime,
  UTCDate,
  Latitude,
  Longitude,
  Quality,
  SatsUsed,
  HDOP,
  Altitude,
  Speed,
  Course,
  MagneticVariation,
  Mode,
  PDOP,
  VDOP,
  HPE,
  VPE,
  EPE,
  // The satellite table's columns, one field per slot from here on.
  PRN,
  Elev,
  Az,
  S,
  Used,
  SNR,
};

struct TFixField {
  TFixFieldKind Kind = TFixFieldKind::UTCTime;
  int Slot = 0;  // 1..kSatelliteSlots for the table's columns, 0 for the others

  bool operator==(const TFixField&) const = default;
};

constexpr int kSingleFixFields = static_cast<int>(TFixFieldKind::PRN);
constexpr int kSlotColumns = static_cast<int>(TFixFieldKind::SNR) - kSingleFixFields + 1;
constexpr int kFixFields = kSingleFixFields + kSlotColumns * kSatelliteSlots;

// 0..kFixFields - 1: the single fields, then each column's twelve slots.
constexpr int FieldIndex(TFixField field) {
  const int kind = static_cast<int>(field.Kind);
  if (kind < kSingleFixFields) return kind;
  return kSingleFixFields + (kind - kSingleFixFields) * kSatelliteSlots + field.Slot - 1;
}

constexpr TFixField FieldAt(int index) {
  if (index < kSingleFixFields) return {static_cast<TFixFieldKind>(index), 0};
  const int column = (index - kSingleFixFields) / kSatelliteSlots;
  const int slot = (index - kSingleFixFields) % kSatelliteSlots + 1;
  return {static_cast<TFixFieldKind>(kSingleFixFields + column), slot};
}

// The field's object name in the main window's form: "Latitude", "PRN1" ...
inline std::string FieldName(TFixField field) {
  static constexpr std::array<const char*, kSingleFixFields + kSlotColumns> kNames = {
      "UTCTime",
      "UTCDate",
      "Latitude",
      "Longitude",
      "Quality",
      "SatsUsed",
      "HDOP",
      "Altitude",
      "Speed",
      "Course",
      "MagneticVariation",
      "Mode",
      "PDOP",
      "VDOP",
      "HPE",
      "VPE",
      "EPE",
      "PRN",
      "Elev",
      "Az",
      "S",
      "Used",
      "SNR"};
  std::string name = kNames[static_cast<size_t>(field.Kind)];
  if (field.Slot > 0) name += std::to_string(field.Slot);
  return name;
}
