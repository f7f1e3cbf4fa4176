#include "os/UdpSocket.h"

#include <QSocketNotifier>
#include <arpa/inet.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace os {

namespace {

sockaddr_in ToSockaddr(const UdpEndpoint& e) {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(e.address);
    sa.sin_port = htons(e.port);
    return sa;
}

UdpEndpoint FromSockaddr(const sockaddr_in& sa) {
    return UdpEndpoint{ntohl(sa.sin_addr.s_addr), ntohs(sa.sin_port)};
}

} // namespace

std::string UdpEndpoint::addressText() const {
    char buf[INET_ADDRSTRLEN] = {};
    in_addr a{};
    a.s_addr = htonl(address);
    inet_ntop(AF_INET, &a, buf, sizeof buf);
    return buf;
}

std::string UdpEndpoint::toString() const {
    return addressText() + ":" + std::to_string(port);
}

bool ParseIPv4(const std::string& text, std::uint32_t* address) {
    in_addr a{};
    if (inet_pton(AF_INET, text.c_str(), &a) != 1) return false;
    *address = ntohl(a.s_addr);
    return true;
}

bool ResolveIPv4(const std::string& host, std::uint32_t* address) {
    if (host.empty()) return false;
    if (ParseIPv4(host, address)) return true;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* res = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &res) != 0 || !res) return false;
    bool ok = false;
    for (addrinfo* p = res; p; p = p->ai_next) {
        if (p->ai_family == AF_INET && p->ai_addrlen >= sizeof(sockaddr_in)) {
            *address = ntohl(reinterpret_cast<const sockaddr_in*>(p->ai_addr)->sin_addr.s_addr);
            ok = true;
            break;
        }
    }
    freeaddrinfo(res);
    return ok;
}

UdpSocket::UdpSocket() : alive_(std::make_shared<bool>(true)) {}

UdpSocket::~UdpSocket() {
    *alive_ = false;
    close();
}

bool UdpSocket::open(std::uint32_t address, std::uint16_t port) {
    close();
    int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        lastError_ = errno;
        return false;
    }
    sockaddr_in sa = ToSockaddr(UdpEndpoint{address, port});
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&sa), sizeof sa) != 0) {
        lastError_ = errno;
        ::close(fd);
        return false;
    }
    fd_ = fd;
    lastError_ = 0;
    if (onReadable_) setOnReadable(onReadable_);
    return true;
}

UdpEndpoint UdpSocket::localEndpoint() const {
    if (fd_ < 0) return {};
    sockaddr_in sa{};
    socklen_t len = sizeof sa;
    if (::getsockname(fd_, reinterpret_cast<sockaddr*>(&sa), &len) != 0) return {};
    return FromSockaddr(sa);
}

void UdpSocket::setOnReadable(std::function<void()> onReadable) {
    onReadable_ = std::move(onReadable);
    dropNotifier();
    if (fd_ < 0 || !onReadable_) return;
    notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read);
    std::weak_ptr<bool> alive = alive_;
    QObject::connect(notifier_, &QSocketNotifier::activated, notifier_, [this, alive] {
        auto guard = alive.lock();
        if (!guard || !*guard || inCallback_ || !onReadable_) return;
        inCallback_ = true;
        // Copy: the callback may replace itself.
        auto cb = onReadable_;
        cb();
        if (!*guard) return;
        inCallback_ = false;
        if (fd_ < 0) dropNotifier();
    });
}

void UdpSocket::dropNotifier() {
    if (!notifier_) return;
    notifier_->setEnabled(false);
    // Never delete the notifier from inside its own signal.
    if (inCallback_)
        notifier_->deleteLater();
    else
        delete notifier_;
    notifier_ = nullptr;
}

bool UdpSocket::receive(void* buffer, std::size_t capacity, Received* out) {
    if (fd_ < 0) {
        lastError_ = EBADF;
        return false;
    }
    sockaddr_in sa{};
    socklen_t len = sizeof sa;
    ssize_t n;
    do {
        // MSG_TRUNC makes the kernel report the datagram's real length.
        n = ::recvfrom(fd_, buffer, capacity, MSG_TRUNC | MSG_DONTWAIT,
                       reinterpret_cast<sockaddr*>(&sa), &len);
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        lastError_ = errno;
        return false;
    }
    lastError_ = 0;
    out->fullLength = static_cast<std::size_t>(n);
    out->truncated = out->fullLength > capacity;
    out->length = out->truncated ? capacity : out->fullLength;
    out->from = FromSockaddr(sa);
    return true;
}

bool UdpSocket::send(const void* data, std::size_t length, const UdpEndpoint& to) {
    if (fd_ < 0) {
        lastError_ = EBADF;
        return false;
    }
    sockaddr_in sa = ToSockaddr(to);
    ssize_t n;
    do {
        n = ::sendto(fd_, data, length, MSG_DONTWAIT, reinterpret_cast<const sockaddr*>(&sa),
                     sizeof sa);
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        lastError_ = errno;
        return false;
    }
    if (static_cast<std::size_t>(n) != length) {
        lastError_ = EMSGSIZE;
        return false;
    }
    lastError_ = 0;
    return true;
}

void UdpSocket::close() {
    dropNotifier();
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

} // namespace os
