#pragma once
// Ports on 127.0.0.1 that nobody holds at the moment of asking, for the
// servers and brokers the tests start there.

#include <cstdint>

uint16_t FreeTcpPort();
uint16_t FreeUdpPort();
