// Millisecond tick counts of a monotonic clock (like the Windows tick count).
#pragma once
#include <cstdint>

namespace Platform {

uint32_t TickCount32();  // wraps after about 49.7 days
uint64_t TickCount64();

}  // namespace Platform
