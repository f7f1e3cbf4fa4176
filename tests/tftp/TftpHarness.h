#pragma once
// Shared pieces of the TFTP server tests: a scripted raw
// client on 127.0.0.1, packet builders, an event-loop wait and a server
// fixture with a test-driven clock.
#include "support/TempDir.h"
#include "tftp/TFTPServer.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <poll.h>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tftptest {

using Bytes = std::string;

using lmrtest::TempDir;

inline void WriteFile(const std::string& path, const Bytes& data) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(data.data(), static_cast<std::streamsize>(data.size()));
}

inline std::optional<Bytes> ReadFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    if (!f) return std::nullopt;
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

inline Bytes RandomBytes(std::size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    Bytes b(n, '\0');
    for (auto& c : b)
        c = static_cast<char>(rng() & 0xFF);
    return b;
}

// Names in a folder (without "." and "..").
inline std::set<std::string> ListDir(const std::string& path) {
    std::set<std::string> names;
    if (DIR* d = opendir(path.c_str())) {
        while (dirent* e = readdir(d)) {
            std::string n = e->d_name;
            if (n != "." && n != "..") names.insert(n);
        }
        closedir(d);
    }
    return names;
}

// --- packets ---------------------------------------------------------------

inline Bytes U16(unsigned v) {
    return Bytes{static_cast<char>((v >> 8) & 0xFF), static_cast<char>(v & 0xFF)};
}
inline Bytes Nul() {
    return Bytes(1, '\0');
}
inline Bytes Request(int op, const Bytes& name, const Bytes& mode = "octet",
                     const Bytes& tail = "") {
    return U16(static_cast<unsigned>(op)) + name + Nul() + mode + Nul() + tail;
}
inline Bytes Rrq(const Bytes& name, const Bytes& mode = "octet") {
    return Request(TFTP_OP_RRQ, name, mode);
}
inline Bytes Wrq(const Bytes& name, const Bytes& mode = "octet") {
    return Request(TFTP_OP_WRQ, name, mode);
}
inline Bytes Data(unsigned block, const Bytes& payload) {
    return U16(TFTP_OP_DATA) + U16(block) + payload;
}
inline Bytes Ack(unsigned block) {
    return U16(TFTP_OP_ACK) + U16(block);
}
inline Bytes Error(unsigned code, const Bytes& msg = "") {
    return U16(TFTP_OP_ERROR) + U16(code) + msg + Nul();
}

struct Packet {
    Bytes bytes;
    os::UdpEndpoint from;
    int opcode() const {
        return bytes.size() >= 2 ? (static_cast<unsigned char>(bytes[0]) << 8) |
                                       static_cast<unsigned char>(bytes[1])
                                 : -1;
    }
    int number() const { // block number or error code
        return bytes.size() >= 4 ? (static_cast<unsigned char>(bytes[2]) << 8) |
                                       static_cast<unsigned char>(bytes[3])
                                 : -1;
    }
    Bytes payload() const { return bytes.size() > 4 ? bytes.substr(4) : Bytes(); }
    bool isData(int block) const { return opcode() == TFTP_OP_DATA && number() == block; }
    bool isAck(int block) const { return opcode() == TFTP_OP_ACK && number() == block; }
    bool isError(int code) const { return opcode() == TFTP_OP_ERROR && number() == code; }
};

inline std::ostream& operator<<(std::ostream& os, const Packet& p) {
    return os << "packet(op " << p.opcode() << ", n " << p.number() << ", " << p.bytes.size()
              << " bytes)";
}

// Runs pending events once and waits up to 1 ms for the fd to become readable.
inline bool PumpAndPoll(int fd) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, 1) > 0;
}

inline void Pump(int ms) {
    const std::int64_t end = TFTPSteadyClockMs() + ms;
    while (TFTPSteadyClockMs() < end) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        ::usleep(1000);
    }
}

template <class Pred> bool WaitUntil(Pred pred, int timeoutMs = 5000) {
    const std::int64_t end = TFTPSteadyClockMs() + timeoutMs;
    while (!pred()) {
        if (TFTPSteadyClockMs() >= end) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        ::usleep(500);
    }
    return true;
}

// A UDP client on 127.0.0.1 that the test scripts packet by packet.
class RawClient {
public:
    RawClient() { sock_.open(os::kLoopbackAddress, 0); }
    std::uint16_t port() const { return sock_.localEndpoint().port; }
    void send(const Bytes& b, std::uint16_t toPort) {
        ASSERT_TRUE(sock_.send(b.data(), b.size(), {os::kLoopbackAddress, toPort}));
    }
    // The next datagram, pumping the server's events meanwhile.
    std::optional<Packet> recv(int timeoutMs = 2000) {
        const std::int64_t end = TFTPSteadyClockMs() + timeoutMs;
        do {
            if (PumpAndPoll(sock_.fd())) {
                char buf[70000];
                os::UdpSocket::Received r;
                if (sock_.receive(buf, sizeof buf, &r)) return Packet{Bytes(buf, r.length), r.from};
            }
        } while (TFTPSteadyClockMs() < end);
        return std::nullopt;
    }
    // True when nothing arrives within ms.
    bool silent(int ms = 150) { return !recv(ms).has_value(); }

private:
    os::UdpSocket sock_;
};

// --- fixture ---------------------------------------------------------------

class ServerTest : public ::testing::Test {
public:
    void SetUp() override {
        ASSERT_FALSE(dir.path().empty());
        server.SetListenAddress("127.0.0.1");
        server.SetTimeout(100, 3); // 1 s per reply on the test clock
        server.SetClock([this] { return now; });
        server.SetOnStatus([this](TFTPStatus* s, bool* cancel) {
            codes.push_back(s->code);
            texts.push_back(s->text);
            if (cancelAt && s->code == *cancelAt && --cancelAfter <= 0) *cancel = true;
        });
        server.Start(dir.path(), 0, "127.0.0.1");
        port = static_cast<std::uint16_t>(server.LocalPort());
        ASSERT_NE(port, 0);
    }
    void TearDown() override {
        // Left-over sessions end by time-out on a fast clock, not after 10 s.
        server.SetClock([this] { return now += 1000; });
        server.Stop();
    }

    // Moves the test clock and lets the 20 ms timer see it.
    void Advance(std::int64_t ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        now += ms;
        server.OnTimer();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    // Lets every session end and be removed.
    void Settle() {
        for (int i = 0; i < 100 && server.SessionCount() > 0; ++i)
            Advance(1000);
    }
    TempDir dir;
    QvTFTPServer server;
    std::int64_t now = 1'000'000;
    std::vector<int> codes;
    std::vector<std::string> texts;
    std::optional<int> cancelAt;
    int cancelAfter = 1;
    std::uint16_t port = 0;
};

// Runs an external client with a time limit, keeping the server's events
// flowing; kills it by its own pid when it overruns.
struct ProcessResult {
    bool started = false;
    bool finished = false;
    int exitCode = -1;
    std::string output;
};

inline ProcessResult RunClient(const QString& program, const QStringList& args,
                               int timeoutMs = 60000) {
    ProcessResult res;
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForStarted(5000)) return res;
    res.started = true;
    const std::int64_t end = TFTPSteadyClockMs() + timeoutMs;
    // The server's 20 ms timer and the process's own notifiers wake the loop.
    while (p.state() != QProcess::NotRunning && TFTPSteadyClockMs() < end)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    if (p.state() != QProcess::NotRunning) {
        p.kill();
        p.waitForFinished(5000);
    } else {
        res.finished = p.exitStatus() == QProcess::NormalExit;
        res.exitCode = p.exitCode();
    }
    res.output = p.readAll().toStdString();
    return res;
}

} // namespace tftptest
