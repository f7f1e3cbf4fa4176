#include "support/SimFixture.h"

#include "support/Process.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <netinet/in.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace lmrtest {

namespace {

using Clock = std::chrono::steady_clock;

std::string field(const std::string& line, const std::string& name) {
    auto pos = line.find(" " + name + "=");
    if (pos == std::string::npos) return {};
    pos += name.size() + 2;
    return line.substr(pos, line.find(' ', pos) - pos);
}

} // namespace

std::string BinaryDir() {
    if (const char* env = std::getenv("LMR_BINARY_DIR"); env && *env) return env;
#ifdef LMR_BINARY_DIR
    return LMR_BINARY_DIR;
#else
    return ".";
#endif
}

SimDevice::SimDevice(SimOptions options) : options_(std::move(options)) {}

SimDevice::~SimDevice() {
    stop();
}

SimDevice& SimDevice::shared() {
    static SimDevice device;
    if (!device.running() && device.error().empty()) device.start();
    return device;
}

bool SimDevice::start() {
    if (running()) return true;
    // A free port can be taken by someone else before snmpd binds it.
    for (int attempt = 0; attempt < 3; ++attempt) {
        int port = FreeUdpPort();
        if (port > 0 && startOnce(port)) {
            error_.clear();
            return true;
        }
    }
    return false;
}

bool SimDevice::startOnce(int port) {
    std::string exe = BinaryDir() + "/sim/lmr_sim";
    std::vector<std::string> args = {exe,
                                     "--port",
                                     std::to_string(port),
                                     "--profile",
                                     options_.profile,
                                     "--boots",
                                     options_.resetBoots ? "reset" : "persist",
                                     "--silence",
                                     std::to_string(options_.silenceSeconds),
                                     "--timeout-ms",
                                     std::to_string(options_.faultDelayMs)};
    args.insert(args.end(), options_.extraArgs.begin(), options_.extraArgs.end());

    int fds[2];
    if (pipe2(fds, O_CLOEXEC) < 0) {
        error_ = "pipe failed";
        return false;
    }
    // Built before fork: the child of a threaded program must not allocate.
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t parent = getpid();
    pid_t pid = fork();
    if (pid < 0) {
        close(fds[0]);
        close(fds[1]);
        error_ = "fork failed";
        return false;
    }
    if (pid == 0) {
        // The simulator goes when the test program goes, even if it crashes.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) _exit(1);
        dup2(fds[1], STDOUT_FILENO);
        // No socket or file of the test program may live on in the simulator
        // (a port it holds would stay taken).
        close_range(3, ~0U, 0);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(fds[1]);
    pid_ = pid;
    out_ = fds[0];
    fcntl(out_, F_SETFL, fcntl(out_, F_GETFL) | O_NONBLOCK);

    std::string text;
    auto deadline = Clock::now() + std::chrono::seconds(20);
    while (Clock::now() < deadline) {
        pollfd p{out_, POLLIN, 0};
        poll(&p, 1, 100);
        char buf[512];
        ssize_t n = read(out_, buf, sizeof(buf));
        if (n > 0) text.append(buf, static_cast<std::size_t>(n));
        auto end = text.find('\n');
        if (end != std::string::npos && text.rfind("lmr-sim ready", 0) == 0) {
            std::string line = text.substr(0, end);
            stateDir_ = field(line, "state");
            controlPath_ = field(line, "control");
            port_ = port;
            return true;
        }
        if (n == 0) break; // the simulator ended
    }
    error_ = "simulator did not start on port " + std::to_string(port) + " (" + exe + ")";
    stop();
    return false;
}

void SimDevice::stop() {
    if (pid_ > 0) {
        StopProcess(pid_, 10000);
        pid_ = -1;
        // Normally the simulator removes its folder; not when it crashed.
        std::error_code ec;
        if (stateDir_.find("/lmr-sim.") != std::string::npos)
            std::filesystem::remove_all(stateDir_, ec);
    }
    if (out_ >= 0) close(out_);
    out_ = -1;
}

std::string SimDevice::control(const std::string& line) {
    if (!running()) return "err not running";
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (controlPath_.size() >= sizeof(addr.sun_path)) return "err control path too long";
    std::strcpy(addr.sun_path, controlPath_.c_str());
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return "err socket";
    if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) < 0) {
        close(fd);
        return "err connect";
    }
    std::string request = line + "\n";
    if (write(fd, request.data(), request.size()) != static_cast<ssize_t>(request.size())) {
        close(fd);
        return "err write";
    }
    std::string reply;
    auto deadline = Clock::now() + std::chrono::seconds(5);
    while (reply.find('\n') == std::string::npos && Clock::now() < deadline) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 100) <= 0) continue;
        char buf[512];
        ssize_t n = read(fd, buf, sizeof(buf));
        if (n <= 0) break;
        reply.append(buf, static_cast<std::size_t>(n));
    }
    close(fd);
    auto end = reply.find('\n');
    return end == std::string::npos ? "err no reply" : reply.substr(0, end);
}

bool SimDevice::fault(const std::string& oid, const std::string& mode, const std::string& scope,
                      int delayMs) {
    std::string line = "fault " + oid + " " + mode + " " + scope;
    if (delayMs > 0) {
        line += ' ';
        line += std::to_string(delayMs);
    }
    return control(line) == "ok";
}

bool SimDevice::clearFaults() {
    return control("clear") == "ok";
}

int SimDevice::faultHits(const std::string& oid) {
    std::string reply = control("hits " + oid);
    if (reply.rfind("ok ", 0) != 0) return -1;
    return std::atoi(reply.c_str() + 3);
}

bool SimDevice::reset() {
    return control("reset") == "ok";
}

std::optional<std::string> SimDevice::peek(const std::string& oid) {
    std::string reply = control("get " + oid);
    if (reply == "ok") return std::string();
    if (reply.rfind("ok ", 0) != 0) return std::nullopt;
    return reply.substr(3);
}

bool SimDevice::poke(const std::string& oid, const std::string& value) {
    return control("set " + oid + " " + value) == "ok";
}

bool SimDevice::restart() {
    return control("restart") == "ok";
}

std::vector<std::string> SimDevice::takeSetLog() {
    std::string reply = control("setlog");
    std::vector<std::string> oids;
    if (reply.rfind("ok", 0) != 0) return oids;
    std::size_t pos = 2;
    while (pos < reply.size()) {
        auto start = reply.find_first_not_of(' ', pos);
        if (start == std::string::npos) break;
        auto end = reply.find(' ', start);
        oids.push_back(reply.substr(start, end - start));
        pos = end == std::string::npos ? reply.size() : end;
    }
    return oids;
}

bool SimDevice::saveState(const std::string& path) {
    return control("save " + path) == "ok";
}

bool SimDevice::waitUntilAnswering(int timeoutMs) {
    auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (Clock::now() < deadline) {
        if (control("state") == "ok running") return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

} // namespace lmrtest
