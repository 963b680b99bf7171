// Network connectivity verdict in the network-list-manager's terms.
// POSIX heuristic: a non-loopback interface that is up gives "connected";
// a default route through it gives "Internet" (details and limits in
// posix/connectivity_rules_posix.h). `managerAvailable` is false when the
// system cannot be asked at all.
#pragma once
#include <cstdint>

namespace Platform {

struct Connectivity {
  bool managerAvailable = true;
  uint32_t flags = 0;          // 0 = disconnected
  bool internet = false;
};

Connectivity QueryConnectivity();

}  // namespace Platform
