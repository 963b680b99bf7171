// Random version-4 GUIDs in the Windows GUID layout.
#pragma once
#include <cstdint>

namespace Platform {

struct Guid {
  uint32_t data1 = 0;
  uint16_t data2 = 0;
  uint16_t data3 = 0;
  uint8_t data4[8] = {};
};

Guid NewGuid();

}  // namespace Platform
