#pragma once
// A UDP port on 127.0.0.1 that is held for the test and never answers: a
// socket stays bound to it, reads nothing and replies to nothing. Unlike a
// port freed a moment earlier, no agent started by a parallel test can take
// it meanwhile, so a request to it always times out.
#include <arpa/inet.h>
#include <cstdint>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace lmrtest {

class SilentPort {
public:
    SilentPort() {
        fd_ = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        if (fd_ < 0) return;
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof(addr);
        if (bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0 &&
            getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &len) == 0) {
            port_ = ntohs(addr.sin_port);
        } else {
            close(fd_);
            fd_ = -1;
        }
    }
    ~SilentPort() {
        if (fd_ >= 0) close(fd_);
    }
    SilentPort(const SilentPort&) = delete;
    SilentPort& operator=(const SilentPort&) = delete;

    bool ok() const { return port_ != 0; }
    // The held port; 0 when no socket could be bound.
    uint16_t port() const { return port_; }

private:
    int fd_ = -1;
    uint16_t port_ = 0;
};

} // namespace lmrtest
