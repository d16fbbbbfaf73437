#pragma once
// A system's signal strength at an epoch: the mean C/N0 of its signals that
// report one, rounded half away from zero to a tenth of a dB-Hz.

#include <optional>

#include "history/Epoch.h"
#include "nmea/SkySystems.h"

std::optional<double> SystemCn0(const TEpoch& epoch, TSkySystem system);
