#include "options/PortChoices.h"

#include "source/SourceUrl.h"

std::string DeviceTextProblem(std::string_view text) {
  if (!IsSourceUrl(text)) return {};
  std::string reason;
  if (ParseSourceUrl(text, reason)) return {};
  return kInvalidUrlText + reason;
}
