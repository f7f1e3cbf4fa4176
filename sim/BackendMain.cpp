// The program snmpd runs for a pass_persist registration: it hands snmpd's
// lines to the simulator's device model over a local socket and the answers
// back, so both registrations share one model that outlives snmpd restarts.
//   lmr_sim_backend <model socket> <subtree>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <signal.h>
#include <string>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        ssize_t n = write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

int connectModel(const char* path) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (std::strlen(path) >= sizeof(addr.sun_path)) return -1;
    std::strcpy(addr.sun_path, path);
    // The model may be busy starting; try for about two seconds.
    for (int attempt = 0; attempt < 40; ++attempt) {
        int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return -1;
        if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0) return fd;
        int error = errno;
        close(fd);
        if (error == ENOENT) return -1; // the simulator is shutting down
        usleep(50000);
    }
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <model socket> <subtree>\n", argv[0]);
        return 2;
    }
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    signal(SIGPIPE, SIG_IGN);
    int sock = connectModel(argv[1]);
    if (sock < 0) return 1;
    std::string hello = std::string("SUBTREE ") + argv[2] + "\n";
    if (!writeAll(sock, hello.data(), hello.size())) return 1;

    char buffer[4096];
    pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {sock, POLLIN, 0}};
    while (true) {
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return 1;
        }
        for (int i = 0; i < 2; ++i) {
            if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            ssize_t n = read(fds[i].fd, buffer, sizeof(buffer));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return 0;
            int to = i == 0 ? sock : STDOUT_FILENO;
            if (!writeAll(to, buffer, static_cast<std::size_t>(n))) return 0;
        }
    }
}
