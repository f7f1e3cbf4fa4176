#include "os/UdpSocket.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <cerrno>
#include <chrono>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

#include "support/HostNames.h"

namespace {

// Runs the event loop until pred holds or about two seconds have passed.
template <class Pred> bool PumpUntil(Pred pred) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!pred()) {
        if (std::chrono::steady_clock::now() >= end) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        ::usleep(500);
    }
    return true;
}

os::UdpEndpoint To(const os::UdpSocket& s) {
    return {os::kLoopbackAddress, s.localEndpoint().port};
}

} // namespace

TEST(UdpSocketTest, SendsAndReceivesWithTheSender) {
    os::UdpSocket a, b;
    ASSERT_TRUE(a.open(os::kLoopbackAddress, 0));
    ASSERT_TRUE(b.open(os::kLoopbackAddress, 0));
    EXPECT_NE(a.localEndpoint().port, 0);
    EXPECT_EQ(a.localEndpoint().address, os::kLoopbackAddress);
    const std::string msg = "hello";
    ASSERT_TRUE(a.send(msg.data(), msg.size(), To(b)));
    char buf[64];
    os::UdpSocket::Received r;
    ASSERT_TRUE(PumpUntil([&] { return b.receive(buf, sizeof buf, &r); }));
    EXPECT_EQ(std::string(buf, r.length), msg);
    EXPECT_FALSE(r.truncated);
    EXPECT_EQ(r.from, a.localEndpoint());
}

TEST(UdpSocketTest, ReportsTruncationAndTheRealLength) {
    os::UdpSocket a, b;
    ASSERT_TRUE(a.open(os::kLoopbackAddress, 0));
    ASSERT_TRUE(b.open(os::kLoopbackAddress, 0));
    const std::string big(600, 'x');
    for (std::size_t cap : {100u, 599u, 600u, 601u}) {
        ASSERT_TRUE(a.send(big.data(), big.size(), To(b)));
        std::string buf(cap, '\0');
        os::UdpSocket::Received r;
        ASSERT_TRUE(PumpUntil([&] { return b.receive(buf.data(), cap, &r); }));
        EXPECT_EQ(r.fullLength, 600u) << cap;
        EXPECT_EQ(r.truncated, cap < 600) << cap;
        EXPECT_EQ(r.length, std::min<std::size_t>(cap, 600)) << cap;
    }
    // An empty datagram is a datagram too.
    ASSERT_TRUE(a.send("", 0, To(b)));
    char c;
    os::UdpSocket::Received r;
    ASSERT_TRUE(PumpUntil([&] { return b.receive(&c, 1, &r); }));
    EXPECT_EQ(r.fullLength, 0u);
}

TEST(UdpSocketTest, ReceiveWithoutDataDoesNotBlock) {
    os::UdpSocket a;
    ASSERT_TRUE(a.open(os::kLoopbackAddress, 0));
    char buf[8];
    os::UdpSocket::Received r;
    EXPECT_FALSE(a.receive(buf, sizeof buf, &r));
    EXPECT_TRUE(a.lastError() == EAGAIN || a.lastError() == EWOULDBLOCK);
}

TEST(UdpSocketTest, PortInUseIsReportedNotShared) {
    os::UdpSocket a, b;
    ASSERT_TRUE(a.open(os::kLoopbackAddress, 0));
    EXPECT_FALSE(b.open(os::kLoopbackAddress, a.localEndpoint().port));
    EXPECT_EQ(b.lastError(), EADDRINUSE);
    EXPECT_FALSE(b.isOpen());
    // The wildcard address overlaps the bound one as well.
    EXPECT_FALSE(b.open(0, a.localEndpoint().port));
}

TEST(UdpSocketTest, ClosedSocketRefusesWork) {
    os::UdpSocket a;
    char buf[4];
    os::UdpSocket::Received r;
    EXPECT_FALSE(a.send("x", 1, {os::kLoopbackAddress, 9}));
    EXPECT_EQ(a.lastError(), EBADF);
    EXPECT_FALSE(a.receive(buf, sizeof buf, &r));
    EXPECT_EQ(a.localEndpoint(), os::UdpEndpoint{});
    a.close(); // twice is harmless
}

TEST(UdpSocketTest, ReadinessArrivesThroughTheEventLoop) {
    os::UdpSocket a, b;
    ASSERT_TRUE(a.open(os::kLoopbackAddress, 0));
    int calls = 0;
    std::string got;
    b.setOnReadable([&] {
        ++calls;
        char buf[32];
        os::UdpSocket::Received r;
        while (b.receive(buf, sizeof buf, &r))
            got.append(buf, r.length);
    });
    ASSERT_TRUE(b.open(os::kLoopbackAddress, 0)); // the callback survives open
    EXPECT_EQ(calls, 0);
    ASSERT_TRUE(a.send("one", 3, To(b)));
    ASSERT_TRUE(a.send("two", 3, To(b)));
    ASSERT_TRUE(PumpUntil([&] { return got == "onetwo"; }));
    EXPECT_GE(calls, 1);
}

TEST(UdpSocketTest, CloseInsideTheCallbackStopsFurtherCalls) {
    os::UdpSocket a, b;
    ASSERT_TRUE(a.open(os::kLoopbackAddress, 0));
    ASSERT_TRUE(b.open(os::kLoopbackAddress, 0));
    const os::UdpEndpoint bEnd = To(b);
    int calls = 0;
    b.setOnReadable([&] {
        ++calls;
        b.close(); // without reading: a level-triggered notifier would fire forever
    });
    ASSERT_TRUE(a.send("x", 1, bEnd));
    ASSERT_TRUE(PumpUntil([&] { return calls > 0; }));
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(b.isOpen());
}

TEST(UdpSocketTest, ResolvesTheLocalName) {
    if (!lmrtest::ResolvesIPv4("localhost")) GTEST_SKIP() << lmrtest::NoNameReason("localhost");
    std::uint32_t v = 0;
    EXPECT_TRUE(os::ResolveIPv4("localhost", &v));
    EXPECT_EQ(v >> 24, 127u);
}

TEST(UdpSocketTest, AddressParsing) {
    const struct {
        const char* text;
        bool ok;
        std::uint32_t value;
    } rows[] = {
        {"127.0.0.1", true, 0x7F000001u},
        {"0.0.0.0", true, 0},
        {"255.255.255.255", true, 0xFFFFFFFFu},
        {"192.168.1.20", true, 0xC0A80114u},
        {"256.1.1.1", false, 0},
        {"1.2.3", false, 0},
        {"", false, 0},
        {"1.2.3.4 ", false, 0},
        {"::1", false, 0},
        {"a.b.c.d", false, 0},
    };
    for (const auto& row : rows) {
        std::uint32_t v = 12345;
        EXPECT_EQ(os::ParseIPv4(row.text, &v), row.ok) << row.text;
        if (row.ok) {
            EXPECT_EQ(v, row.value) << row.text;
        }
    }
    std::uint32_t v = 0;
    EXPECT_TRUE(os::ResolveIPv4("127.0.0.1", &v));
    EXPECT_EQ(v, 0x7F000001u);
    EXPECT_FALSE(os::ResolveIPv4("", &v));
    EXPECT_EQ((os::UdpEndpoint{0x7F000001u, 69}).toString(), "127.0.0.1:69");
    EXPECT_EQ((os::UdpEndpoint{0xC0A80114u, 0}).addressText(), "192.168.1.20");
}
