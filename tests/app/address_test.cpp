// Address and netmask checks, network addresses, the ipconfig parse and the
// gateway discovery on a made-up listing and on this machine.
#include "app/AddressChecks.h"

#include "os/Network.h"
#include "snmp/QvOctets.h"
#include "snmp/QvSNMPVar.h"
#include "ui/Strings.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

namespace {

using namespace AddressChecks;
using Texts = std::vector<std::string>;

struct CheckCase {
    const char* text;
    bool valid;
};

void PrintTo(const CheckCase& c, std::ostream* os) {
    *os << '"' << c.text << "\" " << (c.valid ? "valid" : "refused");
}

class ValidIP : public ::testing::TestWithParam<CheckCase> {};

TEST_P(ValidIP, Decides) {
    const CheckCase& c = GetParam();
    EXPECT_EQ(IsValidIP(c.text), c.valid) << '"' << c.text << '"';
    // Whatever passes, the address conversion reads as four bytes, never
    // as a fallback.
    if (c.valid) {
        EXPECT_EQ(QvTextToOctets(c.text, QvSyntax::IpAddress).size(), 4u) << c.text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ValidIP,
    ::testing::Values(CheckCase{"192.168.0.1", true}, CheckCase{"1.0.0.1", true},
                      CheckCase{"223.255.255.254", true}, CheckCase{"10.0.0.0", false},
                      CheckCase{"10.0.0.255", false}, CheckCase{"224.0.0.1", false},
                      CheckCase{"0.1.2.3", false}, CheckCase{".1.2.3", false},
                      CheckCase{"1.2.3", false}, CheckCase{"1.2.3.4.5", false},
                      CheckCase{"1.2.3.", false}, CheckCase{"1.2.x.4", false}, CheckCase{"", false},
                      CheckCase{"1..2.3", false}, CheckCase{"1.256.0.1", false},
                      CheckCase{"1.2.3.-4", false},
                      // Leading zeros and blanks read as the conversion reads
                      // them; signs and hex prefixes are no numbers.
                      CheckCase{"192.168.001.010", true}, CheckCase{" 192.168.0.1", true},
                      CheckCase{"192.168.0.1 ", true}, CheckCase{"192.168.0.0001", true},
                      CheckCase{"192.168.0.000", false}, CheckCase{"192. .0.1", false},
                      CheckCase{"+192.168.0.1", false},
                      CheckCase{"$C0.168.0.1", false}, CheckCase{"0x10.1.1.1", false},
                      CheckCase{"99999999999.1.1.1", false}));

class ValidMask : public ::testing::TestWithParam<CheckCase> {};

TEST_P(ValidMask, Decides) {
    const CheckCase& c = GetParam();
    EXPECT_EQ(IsValidMask(c.text), c.valid) << '"' << c.text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Table, ValidMask,
    ::testing::Values(CheckCase{"255.255.255.0", true}, CheckCase{"255.255.255.252", true},
                      CheckCase{"255.255.255.254", true}, CheckCase{"192.0.0.0", true},
                      CheckCase{"255.255.0.0", true}, CheckCase{"255.255.255.255", false},
                      CheckCase{"128.0.0.0", false}, CheckCase{"255.0.255.0", false},
                      CheckCase{"3.0.0.0", false}, CheckCase{"0.0.0.0", false},
                      CheckCase{"255.255.255.1", false}, CheckCase{"255.255.254.1", false},
                      CheckCase{"255.255.255", false}, CheckCase{"255.255.255.00", true},
                      CheckCase{"255.255.256.0", false}, CheckCase{".255.255.0", false}));

// Every prefix length: exactly 2 to 31 pass.
TEST(ValidMaskPrefixes, ExactlyTwoToThirtyOne) {
    for (int len = 0; len <= 32; ++len) {
        const unsigned bits = len == 0 ? 0u : ~0u << (32 - len);
        const std::string text =
            std::to_string(bits >> 24) + "." + std::to_string((bits >> 16) & 255) + "." +
            std::to_string((bits >> 8) & 255) + "." + std::to_string(bits & 255);
        EXPECT_EQ(IsValidMask(text), len >= 2 && len <= 31) << text;
    }
}

struct NetCase {
    const char* address;
    const char* mask;
    const char* network;
};

void PrintTo(const NetCase& c, std::ostream* os) {
    *os << '"' << c.address << "\" & \"" << c.mask << '"';
}

class NetworkAddress : public ::testing::TestWithParam<NetCase> {};

TEST_P(NetworkAddress, Computes) {
    const NetCase& c = GetParam();
    EXPECT_EQ(NetworkAddressOf(c.address, c.mask), c.network);
}

INSTANTIATE_TEST_SUITE_P(Table, NetworkAddress,
                         ::testing::Values(NetCase{"192.168.1.77", "255.255.255.0", "192.168.1.0"},
                                           NetCase{" 192.168.1.77", "255.255.255.0", "192.168.1.0"},
                                           NetCase{"10.1.2.3", "255.0.0.0", "10.0.0.0"},
                                           NetCase{"10.1.2.x", "255.255.255.255", "10.1.2.0"},
                                           NetCase{"300.1.2.3", "255.255.255.0", "44.1.2.0"},
                                           NetCase{"1.2", "255.255.255.255", "1.2.0.0"},
                                           NetCase{"", "255.255.255.0", "0.0.0.0"}));

TEST(ContainsAddress, ExactMatchOnly) {
    TStringList list{"192.168.1.1", " 10.0.0.1"};
    EXPECT_TRUE(ContainsAddress(list, "192.168.1.1"));
    EXPECT_TRUE(ContainsAddress(list, " 10.0.0.1"));
    EXPECT_FALSE(ContainsAddress(list, "10.0.0.1"));
    EXPECT_FALSE(ContainsAddress(list, "192.168.1.10"));
}

const Texts kTwoAdapters = {
    "Windows IP Configuration",
    "Ethernet adapter LAN:",
    "        IP Address. . . . . . . . . . . . : 192.168.1.5",
    "        Subnet Mask . . . . . . . . . . . : 255.255.255.0",
    "        Default Gateway . . . . . . . . . : 172.16.0.1",
    "Ethernet adapter Lab:",
    "        IP Address. . . . . . . . . . . . : 10.8.4.20",
    "        Default Gateway . . . . . . . . . : 10.8.4.1",
    "        Default Gateway . . . . . . . . . : 192.168.1.254",
    "        Default Gateway . . . . . . . . . : 10.8.4.1",
    "        IP Address without a colon",
    "Ethernet adapter Other:",
    "        IP Address. . . . . . . . . . . . : 192.168.1.5",
};

TEST(ParseIpconfig, KeepsValuesUntrimmedOnceAndAccumulates) {
    TStringList lines;
    for (const std::string& l : kTwoAdapters)
        lines.Add(l);
    TStringList addresses{" 10.0.0.9"}, gateways;
    ParseIpconfigFile(lines, addresses, gateways);
    EXPECT_EQ(addresses.ToVector(), (Texts{" 10.0.0.9", " 192.168.1.5", " 10.8.4.20"}));
    EXPECT_EQ(gateways.ToVector(), (Texts{" 172.16.0.1", " 10.8.4.1", " 192.168.1.254"}));
    ParseIpconfigFile(lines, addresses, gateways);
    EXPECT_EQ(addresses.Count(), 3);
    EXPECT_EQ(gateways.Count(), 3);
}

TEST(LocalGateways, TwoAdaptersGiveBothGatewaysInListingOrderOnce) {
    TStringList buffer{"left over"}, addresses, gateways, output;
    GetLocalGateways(kTwoAdapters, buffer, addresses, gateways, output);
    EXPECT_EQ(buffer.ToVector(), kTwoAdapters);
    // 172.16.0.1 shares no /24 with a local address.
    EXPECT_EQ(output.ToVector(), (Texts{" 10.8.4.1", " 192.168.1.254"}));
    // A second call adds nothing already there.
    GetLocalGateways(kTwoAdapters, buffer, addresses, gateways, output);
    EXPECT_EQ(output.Count(), 2);
}

TEST(LocalGateways, ListsAccumulateOverCalls) {
    TStringList buffer, addresses, gateways, output;
    GetLocalGateways({"IP Address: 192.168.7.3"}, buffer, addresses, gateways, output);
    EXPECT_EQ(output.Count(), 0);
    // The address of the first call still counts for the gateway of the second.
    GetLocalGateways({"Default Gateway: 192.168.7.1"}, buffer, addresses, gateways, output);
    EXPECT_EQ(output.ToVector(), (Texts{" 192.168.7.1"}));
}

TEST(LocalGateways, NothingWithoutListing) {
    TStringList buffer{"old"}, addresses, gateways, output{"kept"};
    GetLocalGateways(Texts{}, buffer, addresses, gateways, output);
    EXPECT_EQ(buffer.Count(), 0);
    EXPECT_EQ(output.ToVector(), (Texts{"kept"}));
}

// On this machine: every gateway found lies in a /24 of a local interface
// and is a default gateway of the routing table, and every such default
// gateway is found. A machine without one has nothing to check.
TEST(LocalGateways, ThisMachineFollowsTheRule) {
    TStringList buffer, addresses, gateways, output;
    GetLocalGateways(buffer, addresses, gateways, output);
    const Texts routes = os::DefaultGateways();
    int expected = 0;
    for (const std::string& r : routes) {
        bool near = false;
        for (const os::NetInterface& n : os::LocalInterfaces())
            near = near || NetworkAddressOf(n.Address, "255.255.255.0") ==
                               NetworkAddressOf(r, "255.255.255.0");
        if (!near) continue;
        ++expected;
        const Texts found = output.ToVector();
        EXPECT_NE(std::find(found.begin(), found.end(), " " + r), found.end())
            << r << " was not found";
    }
    if (expected == 0 && output.Count() == 0)
        GTEST_SKIP() << "no default gateway on a /24 network of this machine";
    for (const std::string& g : output.ToVector()) {
        bool inRoutes = false;
        for (const std::string& r : routes)
            inRoutes = inRoutes || " " + r == g;
        EXPECT_TRUE(inRoutes) << g;
        bool near = false;
        for (const os::NetInterface& n : os::LocalInterfaces())
            near = near || NetworkAddressOf(n.Address, "255.255.255.0") ==
                               NetworkAddressOf(g, "255.255.255.0");
        EXPECT_TRUE(near) << g;
    }
}

} // namespace
