#pragma once
// How the link to the receiver stands, for the status bar and for deciding
// whether a command can go out.

enum class TLinkState {
  Closed,        // no Open yet, or closed by its owner
  Connecting,    // network: a connection (or a bind) is being made
  Connected,     // lines can arrive
  Retrying,      // network: refused, unresolved, dropped or silent; tried again later
  Disconnected,  // serial: the device vanished; reopened once a second while it is gone
};
