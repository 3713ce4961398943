// The simulator's stamp clock on the Windows side: milliseconds since 1970
// modulo 2^32, the value the simulator draws into each frame.
#pragma once
#include <windows.h>

#include <cstdint>

inline uint32_t WallClockMs() {
  FILETIME ft;
  GetSystemTimePreciseAsFileTime(&ft);
  ULARGE_INTEGER t;
  t.LowPart = ft.dwLowDateTime;
  t.HighPart = ft.dwHighDateTime;
  return static_cast<uint32_t>((t.QuadPart - 116444736000000000ULL) / 10000ULL);
}
