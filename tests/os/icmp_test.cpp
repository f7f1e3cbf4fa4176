#include "os/Icmp.h"

#include <cstring>
#include <gtest/gtest.h>

#include "NetNs.h"
#include "support/HostNames.h"
#include "support/CaseName.h"

namespace {

TEST(IcmpChecksumTest, RequestSumsToZero) {
    for (uint16_t id : {0, 1, 0x1234, 0xFFFF}) {
        for (uint16_t seq : {0, 7, 0x8000, 0xFFFF}) {
            std::vector<uint8_t> p = os::BuildEchoRequest(id, seq, 0xDEADBEEF);
            ASSERT_EQ(p.size(), 12u);
            EXPECT_EQ(p[0], 8);
            EXPECT_EQ(p[1], 0);
            EXPECT_EQ(os::IcmpChecksum(p.data(), p.size()), 0) << id << " " << seq;
        }
    }
}

TEST(IcmpChecksumTest, KnownValuesAndOddLength) {
    // Words 0x0001 and 0xF203 in memory order: sum 0xF204, complement 0x0DFB.
    const uint8_t even[] = {0x00, 0x01, 0xF2, 0x03};
    uint16_t expected;
    uint16_t w1, w2;
    std::memcpy(&w1, even, 2);
    std::memcpy(&w2, even + 2, 2);
    expected = static_cast<uint16_t>(~(w1 + w2));
    EXPECT_EQ(os::IcmpChecksum(even, 4), expected);
    // A last odd byte counts alone; carries wrap around.
    const uint8_t odd[] = {0xFF, 0xFF, 0xFF, 0xFF, 0x02};
    EXPECT_EQ(os::IcmpChecksum(odd, 5), static_cast<uint16_t>(~0x0002));
    EXPECT_EQ(os::IcmpChecksum(nullptr, 0), 0xFFFF);
}

std::vector<uint8_t> Reply(uint8_t type, uint16_t id, uint16_t seq, size_t ipHeaderWords) {
    std::vector<uint8_t> p(ipHeaderWords * 4, 0);
    if (!p.empty()) p[0] = static_cast<uint8_t>(0x40 | ipHeaderWords);
    std::vector<uint8_t> icmp = os::BuildEchoRequest(id, seq, 0);
    icmp[0] = type;
    p.insert(p.end(), icmp.begin(), icmp.end());
    return p;
}

std::vector<uint8_t> Cut(std::vector<uint8_t> p, size_t n) {
    p.resize(n);
    return p;
}

struct ReplyCase {
    std::vector<uint8_t> data;
    bool withIp;
    bool checkId;
    bool matches;
};

std::string LabelOf(const ReplyCase& c) {
    return std::string(c.withIp ? "WithIp" : "Bare") + (c.checkId ? "OurId" : "AnyId") + (c.matches ? "Taken" : "Ignored") + std::to_string(c.data.size());
}

void PrintTo(const ReplyCase& c, std::ostream* os) {
    *os << LabelOf(c);
}

class EchoReplyTest : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(EchoReplyTest, OnlyOurReplyCounts) {
    const ReplyCase& c = GetParam();
    EXPECT_EQ(os::IsEchoReply(c.data.data(), c.data.size(), c.withIp, 0x1234, 9, c.checkId),
              c.matches);
}

INSTANTIATE_TEST_SUITE_P(
    Packets, EchoReplyTest,
    ::testing::Values(ReplyCase{Reply(0, 0x1234, 9, 5), true, true, true},
                      ReplyCase{Reply(0, 0x1234, 9, 6), true, true, true}, // IP options
                      ReplyCase{Reply(0, 0x1234, 9, 0), false, true, true},
                      ReplyCase{Reply(8, 0x1234, 9, 5), true, true, false}, // our own request
                      ReplyCase{Reply(3, 0x1234, 9, 5), true, true, false},
                      ReplyCase{Reply(0, 0x4321, 9, 5), true, true, false}, // someone else's
                      ReplyCase{Reply(0, 0x4321, 9, 0), false, false, true},
                      ReplyCase{Reply(0, 0x1234, 10, 5), true, true, false},
                      ReplyCase{Cut(Reply(0, 0x1234, 9, 5), 30), true, true, false},
                      ReplyCase{{}, true, true, false}, ReplyCase{{}, false, true, false}),
    [](const ::testing::TestParamInfo<ReplyCase>& info) {
        return lmrtest::CaseName(info.index, LabelOf(info.param));
    });

TEST(ResolveTest, DottedAddresses) {
    std::string a;
    ASSERT_TRUE(os::ResolveIPv4("127.0.0.1", a));
    EXPECT_EQ(a, "127.0.0.1");
    EXPECT_FALSE(os::ResolveIPv4("", a));
    EXPECT_FALSE(os::ResolveIPv4("999.1.1.1.invalid", a));
}

TEST(ResolveTest, LocalName) {
    if (!lmrtest::ResolvesIPv4("localhost")) GTEST_SKIP() << lmrtest::NoNameReason("localhost");
    std::string a;
    ASSERT_TRUE(os::ResolveIPv4("localhost", a));
    EXPECT_EQ(a.rfind("127.", 0), 0u) << a;
}

TEST(IcmpEchoTest, LoopbackAnswers) {
    for (const char* host : {"127.0.0.1", "127.0.0.2"}) {
        os::EchoResult r = os::IcmpEcho(host, 2000);
        if (r.socket == os::IcmpSocketKind::None)
            GTEST_SKIP() << "no ICMP socket may be opened here: " << r.error;
        EXPECT_TRUE(r.answered) << host;
    }
}

TEST(IcmpEchoTest, EachRequestTakesTheNextSequence) {
    os::EchoSocket s;
    if (!s.open()) GTEST_SKIP() << "no ICMP socket may be opened here: " << s.error();
    uint16_t before = os::NextEchoSequence();
    EXPECT_TRUE(s.echo("127.0.0.1", 2000));
    EXPECT_TRUE(s.echo("127.0.0.1", 2000));
    EXPECT_EQ(os::NextEchoSequence(), static_cast<uint16_t>(before + 2));
    EXPECT_FALSE(s.echo("not an address", 100));
    s.close();
    EXPECT_EQ(s.kind(), os::IcmpSocketKind::None);
    EXPECT_FALSE(s.echo("127.0.0.1", 100));
}

TEST(IcmpEchoTest, RawSocketAnswers) {
    os::EchoResult r = os::IcmpEcho("127.0.0.1", 2000, os::IcmpMode::RawOnly);
    if (r.socket == os::IcmpSocketKind::None) GTEST_SKIP() << "no raw socket: " << r.error;
    EXPECT_EQ(r.socket, os::IcmpSocketKind::Raw);
    EXPECT_TRUE(r.answered);
}

TEST(IcmpEchoTest, UnresolvableHostDoesNotAnswer) {
    os::EchoResult r = os::IcmpEcho("no-such-host.invalid", 100);
    EXPECT_FALSE(r.answered);
    EXPECT_EQ(r.socket, os::IcmpSocketKind::None);
    EXPECT_NE(r.error.find("no-such-host.invalid"), std::string::npos);
}

// In a namespace of our own the loopback can be told to ignore echo requests,
// and unprivileged ping sockets can be allowed without touching the host.
struct NsOutcome {
    bool ready = false;
    os::EchoResult pingSocket, raw, ignored, down;
};

TEST(IcmpEchoNamespaceTest, PingSocketAnswersAndSilentHostTimesOut) {
    NsOutcome o;
    std::string why;
    bool ran = ostest::RunInNewNetNamespace(
        [&] {
            o.down = os::IcmpEcho("127.0.0.1", 300); // loopback still down: cannot send
            if (!ostest::LoopbackUp() ||
                !ostest::SetNetSysctl("ipv4/ping_group_range", "0 2147483647"))
                return;
            o.pingSocket = os::IcmpEcho("127.0.0.1", 2000, os::IcmpMode::PingOnly);
            o.raw = os::IcmpEcho("127.0.0.1", 2000, os::IcmpMode::RawOnly);
            if (!ostest::SetNetSysctl("ipv4/icmp_echo_ignore_all", "1")) return;
            o.ignored = os::IcmpEcho("127.0.0.1", 300);
            o.ready = true;
        },
        &why);
    if (!ran) GTEST_SKIP() << "no network namespace here: " << why;
    ASSERT_TRUE(o.ready) << "could not set up the namespace's loopback";
    EXPECT_FALSE(o.down.answered);
    EXPECT_EQ(o.pingSocket.socket, os::IcmpSocketKind::Ping) << o.pingSocket.error;
    EXPECT_TRUE(o.pingSocket.answered);
    EXPECT_EQ(o.raw.socket, os::IcmpSocketKind::Raw) << o.raw.error;
    EXPECT_TRUE(o.raw.answered);
    EXPECT_NE(o.ignored.socket, os::IcmpSocketKind::None);
    EXPECT_FALSE(o.ignored.answered);
}

} // namespace
