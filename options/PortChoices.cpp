#include "options/PortChoices.h"

#include "source/MqttUrl.h"
#include "source/SourceUrl.h"

std::string DeviceTextProblem(std::string_view text) {
  if (!IsSourceUrl(text)) return {};
  std::string reason;
  if (IsMqttUrl(text) ? ParseMqttUrl(text, reason).has_value()
                      : ParseSourceUrl(text, reason).has_value())
    return {};
  return kInvalidUrlText + reason;
}
