#include "os/Network.h"

#include <arpa/inet.h>
#include <cstdio>
#include <gtest/gtest.h>

#include "NetNs.h"

namespace {

// A route table line as the kernel prints it: addresses as the 32-bit word in
// memory, in hexadecimal.
std::string Route(const char* iface, const char* dest, const char* gw, unsigned flags,
                  const char* mask) {
    char line[256];
    std::snprintf(line, sizeof line, "%s\t%08X\t%08X\t%04X\t0\t0\t0\t%08X\t0\t0\t0", iface,
                  inet_addr(dest), inet_addr(gw), flags, inet_addr(mask));
    return line;
}

const char* const kHeader =
    "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT";

TEST(RouteTableTest, DefaultGatewaysInTableOrderEachOnce) {
    std::vector<std::string> lines = {
        kHeader,
        Route("eth0", "192.168.1.0", "0.0.0.0", 0x1, "255.255.255.0"),
        Route("eth1", "0.0.0.0", "10.0.0.1", 0x3, "0.0.0.0"),
        Route("eth0", "0.0.0.0", "192.168.1.254", 0x3, "0.0.0.0"),
        Route("eth2", "0.0.0.0", "10.0.0.1", 0x3, "0.0.0.0"),
        Route("eth0", "10.1.0.0", "192.168.1.9", 0x3, "255.255.0.0"), // not a default route
        Route("eth3", "0.0.0.0", "172.16.0.1", 0x2, "0.0.0.0"),       // down
        Route("wg0", "0.0.0.0", "0.0.0.0", 0x1, "0.0.0.0"),           // no gateway
        "garbage line",
        "eth0\tzz\t01010101\t0003\t0\t0\t0\t00000000\t0\t0\t0",
    };
    EXPECT_EQ(os::ParseRouteTable(lines), (std::vector<std::string>{"10.0.0.1", "192.168.1.254"}));
}

TEST(RouteTableTest, ColumnsAreFoundByTheirHeaderNames) {
    char line[128];
    std::snprintf(line, sizeof line, "%08X %08X %08X 0003 eth0", inet_addr("0.0.0.0"),
                  inet_addr("0.0.0.0"), inet_addr("192.0.2.1"));
    EXPECT_EQ(os::ParseRouteTable({"Mask Destination Gateway Flags Iface", line}),
              (std::vector<std::string>{"192.0.2.1"}));
}

TEST(RouteTableTest, EmptyOrHeaderOnly) {
    EXPECT_TRUE(os::ParseRouteTable({}).empty());
    EXPECT_TRUE(os::ParseRouteTable({kHeader}).empty());
}

TEST(RouteTableTest, DefaultRoutesOfThisNetworkInTableOrder) {
    std::vector<std::string> before, after;
    bool routed = false;
    std::string why;
    bool ran = ostest::RunInNewNetNamespace(
        [&] {
            if (!ostest::LoopbackUp()) return;
            before = os::DefaultGateways();
            routed = ostest::AddLoopbackRoute("0.0.0.0", "0.0.0.0", "127.0.0.2") &&
                     ostest::AddLoopbackRoute("10.9.0.0", "255.255.0.0", "127.0.0.3") &&
                     ostest::AddLoopbackRoute("0.0.0.0", "0.0.0.0", "127.0.0.4", 5);
            after = os::DefaultGateways();
        },
        &why);
    if (!ran) GTEST_SKIP() << "no network namespace here: " << why;
    ASSERT_TRUE(routed);
    EXPECT_TRUE(before.empty());
    EXPECT_EQ(after, (std::vector<std::string>{"127.0.0.2", "127.0.0.4"}));
}

TEST(RouteTableTest, ThisMachinesTableReads) {
    for (const std::string& g : os::DefaultGateways()) {
        in_addr a;
        EXPECT_EQ(inet_pton(AF_INET, g.c_str(), &a), 1) << g;
    }
}

TEST(IpconfigTest, AddressAndGatewayLinesAreCollectedOnce) {
    std::vector<std::string> lines = {
        "Windows 98 IP Configuration",
        "        Host Name . . . . . . . . . : PC",
        "0 Ethernet adapter :",
        "        IP Address. . . . . . . . . : 192.168.1.5",
        "        Subnet Mask . . . . . . . . : 255.255.255.0",
        "        Default Gateway . . . . . . : 192.168.1.1",
        "1 Ethernet adapter :",
        "        IP Address. . . . . . . . . : 10.0.0.7",
        "        Default Gateway . . . . . . : 10.0.0.1",
        "        IP Address. . . . . . . . . : 192.168.1.5",
        "        Default Gateway . . . . . . : 192.168.1.1",
        "        Default Gateway . . . . . . :",
        "        IP Address without colon",
        "Default Gateway and IP Address: both",
        "        Default Gateway . . . . . . : 10.0.0.1 : x",
    };
    std::vector<std::string> addresses{" 10.0.0.7"}, gateways;
    os::ParseIpconfigLines(lines, addresses, gateways);
    EXPECT_EQ(addresses, (std::vector<std::string>{" 10.0.0.7", " 192.168.1.5"}));
    EXPECT_EQ(gateways, (std::vector<std::string>{" 192.168.1.1", " 10.0.0.1", "", " both",
                                                  " 10.0.0.1 : x"}));
}

TEST(IpconfigTest, ListingReadsBackThroughTheParser) {
    std::vector<os::NetInterface> ifs = {
        {"lo", "127.0.0.1", "255.0.0.0", "127.255.255.255"},
        {"eth0", "192.168.1.5", "255.255.255.0", "192.168.1.255"},
        {"eth1", "10.0.0.7", "255.0.0.0", "10.255.255.255"},
    };
    std::vector<std::string> addresses, gateways;
    os::ParseIpconfigLines(os::IpconfigListing(ifs, {"192.168.1.1", "10.0.0.1"}), addresses,
                           gateways);
    EXPECT_EQ(addresses, (std::vector<std::string>{" 192.168.1.5", " 10.0.0.7"}));
    EXPECT_EQ(gateways, (std::vector<std::string>{" 192.168.1.1", " 10.0.0.1"}));
}

TEST(InterfacesTest, LoopbackIsListedWithMaskAndBroadcast) {
    std::vector<os::NetInterface> ifs = os::LocalInterfaces();
    ASSERT_LE(ifs.size(), os::kMaxInterfaces);
    bool loopback = false;
    for (const os::NetInterface& n : ifs) {
        in_addr a;
        EXPECT_EQ(inet_pton(AF_INET, n.Address.c_str(), &a), 1) << n.Address;
        EXPECT_EQ(inet_pton(AF_INET, n.Netmask.c_str(), &a), 1) << n.Netmask;
        EXPECT_EQ(inet_pton(AF_INET, n.Broadcast.c_str(), &a), 1) << n.Broadcast;
        if (n.Address == "127.0.0.1") {
            loopback = true;
            EXPECT_EQ(n.Netmask, "255.0.0.0");
            EXPECT_EQ(n.Broadcast, "127.255.255.255");
        }
    }
    EXPECT_TRUE(loopback);
    EXPECT_EQ(os::LocalInterfaces(1).size(), 1u);
    EXPECT_TRUE(os::LocalInterfaces(0).empty());
}

TEST(InterfacesTest, DownInterfacesAreLeftOut) {
    size_t whileDown = 99, whileUp = 0;
    std::string address;
    std::string why;
    bool ran = ostest::RunInNewNetNamespace(
        [&] {
            whileDown = os::LocalInterfaces().size();
            if (!ostest::LoopbackUp()) return;
            std::vector<os::NetInterface> ifs = os::LocalInterfaces();
            whileUp = ifs.size();
            if (!ifs.empty()) address = ifs[0].Address;
        },
        &why);
    if (!ran) GTEST_SKIP() << "no network namespace here: " << why;
    EXPECT_EQ(whileDown, 0u);
    ASSERT_EQ(whileUp, 1u);
    EXPECT_EQ(address, "127.0.0.1");
}

} // namespace
