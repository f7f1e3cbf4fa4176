#pragma once
// Helpers for tests and benchmarks that start programs of their own: a free
// UDP port on 127.0.0.1, and stopping a started process by its pid.
#include <arpa/inet.h>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <csignal>
#include <netinet/in.h>
#include <random>
#include <sys/socket.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace lmrtest {

// The kernel's range for ephemeral ports, from which every unbound client
// socket of every parallel test takes its port.
inline void EphemeralPortRange(int* low, int* high) {
    *low = 32768;
    *high = 60999;
    if (FILE* f = std::fopen("/proc/sys/net/ipv4/ip_local_port_range", "r")) {
        int l = 0, h = 0;
        if (std::fscanf(f, "%d %d", &l, &h) == 2 && l > 0 && h >= l) {
            *low = l;
            *high = h;
        }
        std::fclose(f);
    }
}

inline bool UdpPortIsFree(int port) {
    int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(static_cast<uint16_t>(port));
    bool ok = bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0;
    close(fd);
    return ok;
}

// A UDP port on 127.0.0.1 that was free a moment ago; 0 when none could be
// had. It lies outside the ephemeral range: an agent that restarts must be
// able to bind its port again, and while it is down a client socket of some
// other test would otherwise be handed that very port.
inline int FreeUdpPort() {
    int low = 0, high = 0;
    EphemeralPortRange(&low, &high);
    int first = 10000, last = low - 1;
    if (last - first < 1000) {
        first = high + 1;
        last = 65535;
    }
    if (last - first >= 1000) {
        static std::minstd_rand pick(static_cast<unsigned>(getpid()) * 2654435761u ^
                                     static_cast<unsigned>(std::chrono::steady_clock::now()
                                                               .time_since_epoch()
                                                               .count()));
        std::uniform_int_distribution<int> in(first, last);
        for (int attempt = 0; attempt < 64; ++attempt) {
            int port = in(pick);
            if (UdpPortIsFree(port)) return port;
        }
    }
    // No room outside the range: any free port.
    int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return 0;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof(addr);
    int port = 0;
    if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) == 0)
        port = ntohs(addr.sin_port);
    close(fd);
    return port;
}

// Asks the process to end, gives it graceMs to do so, then kills it; reaps
// it either way.
inline void StopProcess(pid_t pid, int graceMs) {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    for (int waited = 0; waited < graceMs; waited += 10) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

} // namespace lmrtest
