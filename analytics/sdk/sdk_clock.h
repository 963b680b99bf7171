// Wall-clock time for record times and profile dates, in milliseconds since
// 1970-01-01 UTC. Tests may replace the source to pin record times.
#pragma once
#include <cstdint>
#include <functional>

namespace analytics_sdk {

int64_t NowMilliseconds();
// An empty function restores the system clock.
void SetClockForTesting(std::function<int64_t()> nowMilliseconds);

}  // namespace analytics_sdk
