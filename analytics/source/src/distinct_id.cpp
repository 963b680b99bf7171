#include "analytics/source/src/distinct_id.h"

#include <cstdio>
#include <mutex>
#include <random>

namespace pelko {
namespace analytics {
namespace {

bool IsNil(const Platform::Guid& g) {
  if (g.data1 || g.data2 || g.data3) return false;
  for (uint8_t b : g.data4)
    if (b) return false;
  return true;
}

}  // namespace

std::string FormatDistinctId(const Platform::Guid& g) {
  char text[40];
  std::snprintf(text, sizeof(text), "%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X", g.data1, g.data2, g.data3,
                g.data4[0], g.data4[1], g.data4[2], g.data4[3], g.data4[4], g.data4[5], g.data4[6], g.data4[7]);
  return text;
}

std::string FallbackDistinctId() {
  static std::mutex mutex;
  static std::mt19937 engine;  // default seed 5489, created on first use
  unsigned v[8];
  {
    std::lock_guard<std::mutex> lock(mutex);
    std::uniform_int_distribution<unsigned> draw(0, 2147483646u);
    for (unsigned& value : v) value = draw(engine);
  }
  v[3] = (v[3] & 0xFFF) | 0x4000;
  v[4] = (v[4] % 0x3FFF) + 0x8000;
  char text[96];
  std::snprintf(text, sizeof(text), "%x%x-%x-%x-%x-%x%x%x", v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]);
  return text;
}

std::string GenerateDistinctId() {
  for (int attempt = 0; attempt < 10; ++attempt) {
    const Platform::Guid guid = Platform::NewGuid();
    if (!IsNil(guid)) return FormatDistinctId(guid);  // a nil GUID is a failed one
  }
  return FallbackDistinctId();
}

}  // namespace analytics
}  // namespace pelko
