// Network connectivity on POSIX (the heuristic is described in
// connectivity_rules_posix.h).
#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>

#include "platform/connectivity.h"
#include "platform/posix/connectivity_rules_posix.h"

namespace Platform {
namespace {

constexpr uint32_t kIpv6NoTraffic = 0x2;
constexpr uint32_t kIpv4LocalNetwork = 0x20;
constexpr uint32_t kIpv4Internet = 0x40;
constexpr uint32_t kIpv6LocalNetwork = 0x200;
constexpr uint32_t kIpv6Internet = 0x400;

constexpr unsigned long kRouteUp = 0x0001;
constexpr unsigned long kRouteReject = 0x0200;

std::string ReadWholeFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool Contains(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

InterfaceFacts& FactsFor(std::vector<InterfaceFacts>& all, const std::string& name) {
  for (InterfaceFacts& facts : all)
    if (facts.name == name) return facts;
  all.push_back(InterfaceFacts{name});
  return all.back();
}

}  // namespace

std::vector<std::string> Ipv4DefaultRouteInterfaces(const std::string& procNetRoute) {
  // Iface Destination Gateway Flags RefCnt Use Metric Mask ... (hex fields)
  std::vector<std::string> names;
  std::istringstream lines(procNetRoute);
  std::string line;
  std::getline(lines, line);  // header
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string iface, destination, gateway, flags, refCnt, use, metric, mask;
    if (!(fields >> iface >> destination >> gateway >> flags >> refCnt >> use >> metric >> mask)) continue;
    const unsigned long flagBits = std::strtoul(flags.c_str(), nullptr, 16);
    if (destination == "00000000" && mask == "00000000" && (flagBits & kRouteUp) != 0 &&
        (flagBits & kRouteReject) == 0 && !Contains(names, iface))
      names.push_back(iface);
  }
  return names;
}

std::vector<std::string> Ipv6DefaultRouteInterfaces(const std::string& procNetIpv6Route) {
  // dest prefix src srcprefix nexthop metric refcnt use flags iface (hex fields)
  std::vector<std::string> names;
  std::istringstream lines(procNetIpv6Route);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string destination, prefix, source, sourcePrefix, nextHop, metric, refCnt, use, flags, iface;
    if (!(fields >> destination >> prefix >> source >> sourcePrefix >> nextHop >> metric >> refCnt >> use >> flags >>
          iface))
      continue;
    const unsigned long flagBits = std::strtoul(flags.c_str(), nullptr, 16);
    if (destination == std::string(32, '0') && prefix == "00" && (flagBits & kRouteUp) != 0 &&
        (flagBits & kRouteReject) == 0 && iface != "lo" && !Contains(names, iface))
      names.push_back(iface);
  }
  return names;
}

Connectivity EvaluateConnectivity(const std::vector<InterfaceFacts>& interfaces,
                                  const std::vector<std::string>& ipv4Defaults,
                                  const std::vector<std::string>& ipv6Defaults) {
  Connectivity result;
  for (const InterfaceFacts& facts : interfaces) {
    if (!facts.usable) continue;
    if (facts.ipv4) result.flags |= Contains(ipv4Defaults, facts.name) ? kIpv4Internet : kIpv4LocalNetwork;
    if (facts.ipv6Global) result.flags |= Contains(ipv6Defaults, facts.name) ? kIpv6Internet : kIpv6LocalNetwork;
    else if (facts.ipv6LinkLocalOnly) result.flags |= kIpv6NoTraffic;
  }
  // A family that reaches the Internet is not also reported as local only.
  if (result.flags & kIpv4Internet) result.flags &= ~kIpv4LocalNetwork;
  if (result.flags & kIpv6Internet) result.flags &= ~(kIpv6LocalNetwork | kIpv6NoTraffic);
  if (result.flags & kIpv6LocalNetwork) result.flags &= ~kIpv6NoTraffic;
  result.internet = (result.flags & (kIpv4Internet | kIpv6Internet)) != 0;
  return result;
}

Connectivity QueryConnectivity() {
  ifaddrs* list = nullptr;
  if (::getifaddrs(&list) != 0) {
    Connectivity unavailable;
    unavailable.managerAvailable = false;
    return unavailable;
  }
  std::unique_ptr<ifaddrs, void (*)(ifaddrs*)> owner(list, &::freeifaddrs);
  std::vector<InterfaceFacts> interfaces;
  std::vector<std::string> withLinkLocal;
  for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
    if (entry->ifa_name == nullptr || entry->ifa_addr == nullptr) continue;
    InterfaceFacts& facts = FactsFor(interfaces, entry->ifa_name);
    const unsigned flags = entry->ifa_flags;
    facts.usable = (flags & IFF_UP) != 0 && (flags & IFF_RUNNING) != 0 && (flags & IFF_LOOPBACK) == 0;
    if (entry->ifa_addr->sa_family == AF_INET) {
      facts.ipv4 = true;
    } else if (entry->ifa_addr->sa_family == AF_INET6) {
      const auto* address = reinterpret_cast<const sockaddr_in6*>(entry->ifa_addr);
      if (IN6_IS_ADDR_LINKLOCAL(&address->sin6_addr)) withLinkLocal.push_back(facts.name);
      else facts.ipv6Global = true;
    }
  }
  for (InterfaceFacts& facts : interfaces)
    facts.ipv6LinkLocalOnly = !facts.ipv6Global && Contains(withLinkLocal, facts.name);
  return EvaluateConnectivity(interfaces, Ipv4DefaultRouteInterfaces(ReadWholeFile("/proc/net/route")),
                              Ipv6DefaultRouteInterfaces(ReadWholeFile("/proc/net/ipv6_route")));
}

}  // namespace Platform
