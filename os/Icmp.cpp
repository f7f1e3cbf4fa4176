#include "os/Icmp.h"

#include "os/UdpSocket.h"

#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace os {

namespace {

std::atomic<uint16_t> g_sequence{0};

uint32_t TickCount() {
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

uint16_t Native16(const uint8_t* p) {
    uint16_t v;
    std::memcpy(&v, p, 2);
    return v;
}

} // namespace

uint16_t IcmpChecksum(const uint8_t* data, size_t length) {
    uint32_t sum = 0;
    size_t i = 0;
    for (; i + 1 < length; i += 2)
        sum += Native16(data + i);
    if (i < length) sum += data[i];
    sum = (sum >> 16) + (sum & 0xFFFF);
    sum += sum >> 16;
    return static_cast<uint16_t>(~sum);
}

std::vector<uint8_t> BuildEchoRequest(uint16_t identifier, uint16_t sequence, uint32_t timestamp) {
    std::vector<uint8_t> p(12, 0);
    p[0] = 8;
    std::memcpy(&p[4], &identifier, 2);
    std::memcpy(&p[6], &sequence, 2);
    std::memcpy(&p[8], &timestamp, 4);
    uint16_t sum = IcmpChecksum(p.data(), p.size());
    std::memcpy(&p[2], &sum, 2);
    return p;
}

bool IsEchoReply(const uint8_t* data, size_t length, bool withIpHeader, uint16_t identifier,
                 uint16_t sequence, bool checkIdentifier) {
    size_t offset = 0;
    if (withIpHeader) {
        if (length < 1) return false;
        offset = static_cast<size_t>(data[0] & 15) * 4;
    }
    if (length < offset + 12) return false;
    const uint8_t* icmp = data + offset;
    if (icmp[0] != 0 || icmp[1] != 0) return false;
    if (checkIdentifier && Native16(icmp + 4) != identifier) return false;
    return Native16(icmp + 6) == sequence;
}

bool ResolveIPv4(const std::string& host, std::string& dotted) {
    std::uint32_t address = 0;
    if (!ResolveIPv4(host, &address)) return false;
    dotted = UdpEndpoint{address, 0}.addressText();
    return true;
}

uint16_t NextEchoSequence() {
    return static_cast<uint16_t>(g_sequence.load() + 1);
}

bool EchoSocket::open(IcmpMode mode) {
    close();
    error_.clear();
    if (mode != IcmpMode::RawOnly) {
        fd_ = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
        if (fd_ >= 0) {
            kind_ = IcmpSocketKind::Ping;
            return true;
        }
        error_ = std::string("ping socket: ") + std::strerror(errno);
    }
    if (mode != IcmpMode::PingOnly) {
        fd_ = socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
        if (fd_ >= 0) {
            kind_ = IcmpSocketKind::Raw;
            error_.clear();
            return true;
        }
        if (!error_.empty()) error_ += "; ";
        error_ += std::string("raw socket: ") + std::strerror(errno);
    }
    kind_ = IcmpSocketKind::None;
    return false;
}

void EchoSocket::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    kind_ = IcmpSocketKind::None;
}

bool EchoSocket::echo(const std::string& address, int timeoutMs) {
    if (fd_ < 0) return false;
    sockaddr_in to{};
    to.sin_family = AF_INET;
    if (inet_pton(AF_INET, address.c_str(), &to.sin_addr) != 1) return false;

    const uint16_t identifier = static_cast<uint16_t>(getpid() & 0xFFFF);
    const uint16_t sequence = ++g_sequence;
    std::vector<uint8_t> request = BuildEchoRequest(identifier, sequence, TickCount());
    ssize_t sent;
    do {
        sent = sendto(fd_, request.data(), request.size(), 0, reinterpret_cast<sockaddr*>(&to),
                      sizeof to);
    } while (sent < 0 && errno == EINTR);
    if (sent != static_cast<ssize_t>(request.size())) return false;

    // A ping socket gets only replies to itself, with the identifier the
    // kernel chose; a raw one sees every ICMP datagram of the host.
    const bool raw = kind_ == IcmpSocketKind::Raw;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                        deadline - std::chrono::steady_clock::now())
                        .count();
        if (left < 0) return false;
        pollfd p{fd_, POLLIN, 0};
        int r = poll(&p, 1, static_cast<int>(left));
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) return false;
        uint8_t buf[1024];
        sockaddr_in from{};
        socklen_t fromLen = sizeof from;
        ssize_t n = recvfrom(fd_, buf, sizeof buf, MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&from),
                             &fromLen);
        if (n < 0) {
            if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) continue;
            return false;
        }
        if (from.sin_addr.s_addr != to.sin_addr.s_addr) continue;
        if (IsEchoReply(buf, static_cast<size_t>(n), raw, identifier, sequence, raw)) return true;
    }
}

EchoResult IcmpEcho(const std::string& host, int timeoutMs, IcmpMode mode) {
    EchoResult result;
    std::string address;
    if (!ResolveIPv4(host, address)) {
        result.error = "cannot resolve " + host;
        return result;
    }
    EchoSocket s;
    if (!s.open(mode)) {
        result.error = s.error();
        return result;
    }
    result.socket = s.kind();
    result.answered = s.echo(address, timeoutMs);
    return result;
}

} // namespace os
