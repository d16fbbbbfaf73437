#pragma once
// How the link to the receiver stands, for the status bar and for deciding
// whether a command can go out.

#include <string>

enum class TLinkState {
  Closed,        // no Open yet, or closed by its owner
  Connecting,    // network: a connection (or a bind) is being made
  Connected,     // lines can arrive
  Retrying,      // network: refused, unresolved, dropped or silent; tried again later
  Disconnected,  // serial: the device vanished; reopened once a second while it is gone
};

// A network link's text for the status bar: "Connecting to tcp://...",
// "Connected to ...", "Disconnected from ..., retrying in 3 s"; empty for the
// other states. `target` names the far end, `retryIn` the seconds left.
inline std::string LinkStatusText(TLinkState state, const std::string& target, int retryIn) {
  switch (state) {
    case TLinkState::Connecting:
      return "Connecting to " + target;
    case TLinkState::Connected:
      return "Connected to " + target;
    case TLinkState::Retrying:
      return "Disconnected from " + target + ", retrying in " + std::to_string(retryIn) + " s";
    default:
      return {};
  }
}
