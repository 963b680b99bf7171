// The connectivity heuristic of the POSIX build, kept apart from the system
// queries so that it can be checked with made-up interfaces and route tables.
//
// Flags use the network list manager's values. An interface counts when it
// is up and running and not the loopback. IPv4: an address on such an
// interface gives "local network" (0x20); a default route through such an
// interface gives "Internet" (0x40) instead. IPv6 likewise (0x200 / 0x400),
// where an interface with link-local addresses only gives "no traffic" (0x2).
// `internet` is true when either family has the Internet flag. The limit: a
// default route proves a gateway, not that the Internet answers behind it.
#pragma once
#include <string>
#include <vector>

#include "platform/connectivity.h"

namespace Platform {

struct InterfaceFacts {
  std::string name;
  bool usable = false;  // up, running, not loopback
  bool ipv4 = false;
  bool ipv6Global = false;
  bool ipv6LinkLocalOnly = false;
};

// Interfaces that carry an active default route, from /proc/net/route and
// /proc/net/ipv6_route.
std::vector<std::string> Ipv4DefaultRouteInterfaces(const std::string& procNetRoute);
std::vector<std::string> Ipv6DefaultRouteInterfaces(const std::string& procNetIpv6Route);

Connectivity EvaluateConnectivity(const std::vector<InterfaceFacts>& interfaces,
                                  const std::vector<std::string>& ipv4Defaults,
                                  const std::vector<std::string>& ipv6Defaults);

}  // namespace Platform
