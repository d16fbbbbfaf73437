// libFuzzer target: any text as a source URL. It is taken apart or refused
// with a reason; what is taken apart names its own scheme, and the URL
// written back from the parts (port spelt out, IPv6 in brackets) gives the
// same parts again.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "source/SourceUrl.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

std::string Written(const TSourceUrl& url) {
  const char* schemes[] = {"tcp://", "udp://", "gpsd://"};
  std::string text = schemes[static_cast<int>(url.Scheme)];
  const bool bracketed = url.Host.find(':') != std::string::npos;
  text += bracketed ? "[" + url.Host + "]" : url.Host;
  return text + ":" + std::to_string(url.Port) + url.Device;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string reason;
  const std::optional<TSourceUrl> url = ParseSourceUrl(text, reason);
  if (!url) {
    Check(!reason.empty());
    return 0;
  }
  Check(IsSourceUrl(text));
  Check(url->Port != 0);
  Check(url->Device.empty() || url->Scheme == TSourceScheme::Gpsd);
  std::string again;
  const std::optional<TSourceUrl> reread = ParseSourceUrl(Written(*url), again);
  Check(reread && *reread == *url);
  return 0;
}
