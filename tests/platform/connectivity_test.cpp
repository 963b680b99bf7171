#include <gtest/gtest.h>

#include "platform/posix/connectivity_rules_posix.h"

namespace {

using Platform::InterfaceFacts;

TEST(Connectivity, DefaultRoutesAreReadFromTheRouteTables) {
  const std::string ipv4 =
      "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n"
      "eth0\t00000000\t0102A8C0\t0003\t0\t0\t100\t00000000\t0\t0\t0\n"
      "eth0\t0002A8C0\t00000000\t0001\t0\t0\t100\t00FFFFFF\t0\t0\t0\n"
      "wlan0\t00000000\t0101A8C0\t0002\t0\t0\t600\t00000000\t0\t0\t0\n";  // not up
  EXPECT_EQ(Platform::Ipv4DefaultRouteInterfaces(ipv4), std::vector<std::string>{"eth0"});
  const std::string zeros(32, '0');
  const std::string ipv6 =
      zeros + " 00 " + zeros + " 00 fe800000000000000000000000000001 00000400 00000001 00000000 00000003 eth0\n" +
      zeros + " 00 " + zeros + " 00 " + zeros + " ffffffff 00000001 00000000 00200200 lo\n" +
      "fe800000000000000000000000000000 40 " + zeros + " 00 " + zeros + " 00000100 00000001 00000000 00000001 eth0\n";
  EXPECT_EQ(Platform::Ipv6DefaultRouteInterfaces(ipv6), std::vector<std::string>{"eth0"});
  EXPECT_TRUE(Platform::Ipv4DefaultRouteInterfaces("").empty());
}

TEST(Connectivity, VerdictTable) {
  const InterfaceFacts ethV4{"eth0", true, true, false, false};
  const InterfaceFacts ethDown{"eth0", false, true, true, false};
  const InterfaceFacts ethV6{"eth0", true, false, true, false};
  const InterfaceFacts ethLinkLocal{"eth0", true, false, false, true};
  const struct {
    const char* name;
    std::vector<InterfaceFacts> interfaces;
    std::vector<std::string> v4, v6;
    uint32_t flags;
    bool internet;
  } cases[] = {
      {"nothing", {}, {}, {}, 0, false},
      {"interface down", {ethDown}, {"eth0"}, {"eth0"}, 0, false},
      {"IPv4 without gateway", {ethV4}, {}, {}, 0x20, false},
      {"IPv4 with gateway", {ethV4}, {"eth0"}, {}, 0x40, true},
      {"gateway on another interface", {ethV4}, {"wlan0"}, {}, 0x20, false},
      {"IPv6 with gateway", {ethV6}, {}, {"eth0"}, 0x400, true},
      {"IPv6 link-local only", {ethLinkLocal}, {}, {}, 0x2, false},
  };
  for (const auto& c : cases) {
    const Platform::Connectivity result = Platform::EvaluateConnectivity(c.interfaces, c.v4, c.v6);
    EXPECT_EQ(result.flags, c.flags) << c.name;
    EXPECT_EQ(result.internet, c.internet) << c.name;
    EXPECT_TRUE(result.managerAvailable) << c.name;
  }
}

}  // namespace
