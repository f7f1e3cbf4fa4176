#pragma once
// Runs a function on a thread of its own in a new, empty network namespace
// (the rest of the test program keeps the host's network). Needs
// CAP_SYS_ADMIN; Run returns false when the namespace cannot be made.
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <net/if.h>
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
