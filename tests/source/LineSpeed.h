#pragma once
// The line speed a terminal device is set to, read back exactly, also when it
// is none of the standard rates. 0 when it cannot be read.

#include <cstdint>

uint32_t ReadLineSpeed(int fd);
