// Version-4 GUIDs from the kernel's random source.
#include "platform/guid.h"

#include <sys/random.h>

#include <cerrno>
#include <cstring>
#include <fstream>

namespace Platform {
namespace {

bool FillRandom(unsigned char* bytes, size_t size) {
  size_t done = 0;
  while (done < size) {
    const ssize_t n = ::getrandom(bytes + done, size - done, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  if (done == size) return true;
  std::ifstream urandom("/dev/urandom", std::ios::binary);
  return static_cast<bool>(urandom.read(reinterpret_cast<char*>(bytes), static_cast<std::streamsize>(size)));
}

}  // namespace

Guid NewGuid() {
  unsigned char bytes[16] = {};
  FillRandom(bytes, sizeof(bytes));
  Guid guid;
  guid.data1 = (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) | (uint32_t{bytes[2]} << 8) | bytes[3];
  guid.data2 = static_cast<uint16_t>((bytes[4] << 8) | bytes[5]);
  guid.data3 = static_cast<uint16_t>((bytes[6] << 8) | bytes[7]);
  std::memcpy(guid.data4, bytes + 8, 8);
  guid.data3 = static_cast<uint16_t>((guid.data3 & 0x0FFF) | 0x4000);      // version 4
  guid.data4[0] = static_cast<uint8_t>((guid.data4[0] & 0x3F) | 0x80);    // RFC 4122 variant
  return guid;
}

}  // namespace Platform
