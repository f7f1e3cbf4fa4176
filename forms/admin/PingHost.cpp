#include "forms/admin/PingHost.h"

#include "base/DottedAddress.h"
#include "base/Events.h"
#include "ui/Dialogs.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

IcmpChannelFactory& Factory() {
    static IcmpChannelFactory factory;
    return factory;
}

// Module-wide, so a late reply to an earlier request never counts.
std::uint16_t g_sequence = 0;

class SocketChannel : public IcmpChannel {
public:
    SocketChannel(int fd, bool raw) : fd_(fd), raw_(raw) {
        if (!raw_) {
            sockaddr_in local{};
            socklen_t len = sizeof local;
            if (getsockname(fd_, reinterpret_cast<sockaddr*>(&local), &len) == 0)
                port_ = ntohs(local.sin_port);
        }
    }
    ~SocketChannel() override { close(fd_); }

    bool Send(const std::uint8_t* data, std::size_t length, std::uint32_t address) override {
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_addr.s_addr = address;
        return sendto(fd_, data, length, 0, reinterpret_cast<sockaddr*>(&to), sizeof to) ==
               static_cast<ssize_t>(length);
    }

    int Receive(std::uint8_t* buffer, std::size_t capacity, int waitMs,
                std::uint32_t* from) override {
        pollfd p{fd_, POLLIN, 0};
        if (poll(&p, 1, waitMs < 0 ? 0 : waitMs) <= 0) return 0;
        sockaddr_in peer{};
        socklen_t len = sizeof peer;
        ssize_t n = recvfrom(fd_, buffer, capacity, 0, reinterpret_cast<sockaddr*>(&peer), &len);
        if (n <= 0) return 0;
        *from = peer.sin_addr.s_addr;
        return static_cast<int>(n);
    }

    bool WithIpHeader() const override { return raw_; }
    std::uint16_t ReplyIdentifier(std::uint16_t sent) const override {
        return raw_ ? sent : port_;
    }

private:
    int fd_;
    bool raw_;
    std::uint16_t port_ = 0;
};

void Put16(std::uint8_t* p, std::uint16_t v) { std::memcpy(p, &v, 2); } // host order
std::uint16_t Get16(const std::uint8_t* p) {
    std::uint16_t v;
    std::memcpy(&v, p, 2);
    return v;
}

bool Resolve(const std::string& host, std::uint32_t* address) {
    // A dotted address is read as the checks and the write read it; the
    // resolver would take "010" as octal and ping another host.
    if (const auto a = DottedAddress::Parse(host)) {
        *address = htonl(a->Number());
        return true;
    }
    // Numbers and dots that are no such address ("10.1", "1.2.3.0377") are
    // no host name either: the resolver's shorthand and octal readings would
    // give an address nobody typed.
    if (host.find_first_not_of("0123456789. \t") == std::string::npos) return false;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* list = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &list) != 0 || !list) return false;
    *address = reinterpret_cast<sockaddr_in*>(list->ai_addr)->sin_addr.s_addr;
    freeaddrinfo(list);
    return true;
}

// The reply to our request: an echo reply from the address we asked, with
// our identifier and sequence.
bool IsOurReply(const IcmpChannel& channel, const std::uint8_t* data, int length,
                std::uint32_t from, std::uint32_t address, std::uint16_t id,
                std::uint16_t sequence) {
    int header = 0;
    if (channel.WithIpHeader()) {
        if (length < 1) return false;
        header = (data[0] & 15) * 4;
    }
    if (length < header + 8) return false;
    const std::uint8_t* icmp = data + header;
    return from == address && icmp[0] == 0 && icmp[1] == 0 &&
           Get16(icmp + 4) == channel.ReplyIdentifier(id) && Get16(icmp + 6) == sequence;
}

} // namespace

IcmpChannelFactory SetIcmpChannelFactory(IcmpChannelFactory factory) {
    IcmpChannelFactory old = std::move(Factory());
    Factory() = std::move(factory);
    return old;
}

std::unique_ptr<IcmpChannel> OpenSystemIcmpChannel() {
    int fd = socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (fd >= 0) return std::make_unique<SocketChannel>(fd, true);
    fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (fd >= 0) return std::make_unique<SocketChannel>(fd, false);
    return nullptr;
}

std::uint16_t IcmpChecksum(const std::uint8_t* bytes, std::size_t length) {
    std::uint32_t sum = 0;
    std::size_t i = 0;
    for (; i + 1 < length; i += 2)
        sum += Get16(bytes + i);
    if (i < length) {
        std::uint16_t last = 0;
        std::memcpy(&last, bytes + i, 1);
        sum += last;
    }
    sum = (sum >> 16) + (sum & 0xFFFF);
    sum += sum >> 16;
    return static_cast<std::uint16_t>(~sum);
}

PingResult PingAddress(const std::string& host) {
    std::uint32_t address = 0;
    if (!Resolve(host, &address)) return PingResult::Unresolved;
    std::unique_ptr<IcmpChannel> channel =
        Factory() ? Factory()() : OpenSystemIcmpChannel();
    if (!channel) return PingResult::Unchecked;

    const std::uint16_t id = static_cast<std::uint16_t>(getpid() & 0xFFFF);
    bool sentAny = false;
    for (int attempt = 0; attempt < kPingAttempts; ++attempt) {
        std::uint8_t request[12] = {8, 0};
        const std::uint16_t sequence = ++g_sequence;
        Put16(request + 4, id);
        Put16(request + 6, sequence);
        const std::uint32_t stamp = GetTickCount();
        std::memcpy(request + 8, &stamp, 4);
        Put16(request + 2, IcmpChecksum(request, sizeof request));
        if (!channel->Send(request, sizeof request, address)) continue;
        sentAny = true;
        // Other datagrams (other pings, other hosts) do not end the wait;
        // the read count bounds it should the clock stand still.
        const std::uint32_t start = GetTickCount();
        for (int reads = 0; reads < 64; ++reads) {
            const std::uint32_t spent = GetTickCount() - start;
            if (spent >= static_cast<std::uint32_t>(kPingWaitMs)) break;
            std::uint8_t reply[1024];
            std::uint32_t from = 0;
            const int n = channel->Receive(reply, sizeof reply,
                                           kPingWaitMs - static_cast<int>(spent), &from);
            if (n <= 0) break;
            if (IsOurReply(*channel, reply, n, from, address, id, sequence))
                return PingResult::Answered;
        }
    }
    // Nothing went out at all: the address was never tested.
    return sentAny ? PingResult::Silent : PingResult::Unchecked;
}

bool PingHost(const char* host) {
    const std::string text = host ? host : "";
    const PingResult r = PingAddress(text);
    if (r == PingResult::Unresolved) ShowMessage("Unable to resolve " + text);
    return r == PingResult::Answered;
}
