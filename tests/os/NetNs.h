#pragma once
// Runs a function on a thread of its own in a new, empty network namespace
// (the rest of the test program keeps the host's network). Needs
// CAP_SYS_ADMIN; Run returns false when the namespace cannot be made.
#include <arpa/inet.h>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <net/if.h>
#include <net/route.h>
#include <sched.h>
#include <string>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace ostest {

// Brings the namespace's loopback interface up (it then has 127.0.0.1/8).
inline bool LoopbackUp() {
    int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    ifreq req{};
    std::strncpy(req.ifr_name, "lo", IFNAMSIZ - 1);
    bool ok = ioctl(fd, SIOCGIFFLAGS, &req) == 0;
    req.ifr_flags |= IFF_UP;
    ok = ok && ioctl(fd, SIOCSIFFLAGS, &req) == 0;
    close(fd);
    return ok;
}

// Adds a route through gateway on the loopback (dest "0.0.0.0" with mask
// "0.0.0.0" is a default route).
inline bool AddLoopbackRoute(const char* dest, const char* mask, const char* gateway,
                             short metric = 0) {
    int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    auto set = [](sockaddr& sa, const char* text) {
        sockaddr_in sin{};
        sin.sin_family = AF_INET;
        inet_pton(AF_INET, text, &sin.sin_addr);
        std::memcpy(&sa, &sin, sizeof sin);
    };
    rtentry rt{};
    set(rt.rt_dst, dest);
    set(rt.rt_genmask, mask);
    set(rt.rt_gateway, gateway);
    rt.rt_flags = RTF_UP | RTF_GATEWAY;
    rt.rt_metric = static_cast<short>(metric + 1); // the ioctl stores metric - 1
    char dev[] = "lo";
    rt.rt_dev = dev;
    bool ok = ioctl(fd, SIOCADDRT, &rt) == 0;
    close(fd);
    return ok;
}

// Writes a value to a per-namespace setting under /proc/sys/net.
inline bool SetNetSysctl(const std::string& name, const std::string& value) {
    int fd = open(("/proc/sys/net/" + name).c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = write(fd, value.data(), value.size()) == static_cast<ssize_t>(value.size());
    close(fd);
    return ok;
}

inline bool RunInNewNetNamespace(const std::function<void()>& body, std::string* why = nullptr) {
    bool made = false;
    std::thread t([&] {
        if (unshare(CLONE_NEWNET) != 0) {
            if (why) *why = std::string("unshare(CLONE_NEWNET): ") + std::strerror(errno);
            return;
        }
        made = true;
        body();
    });
    t.join();
    return made;
}

} // namespace ostest
