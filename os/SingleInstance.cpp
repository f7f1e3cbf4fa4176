#include "os/SingleInstance.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <sys/file.h>
#include <unistd.h>
#include <vector>

namespace os {

namespace {

bool Allowed(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '_' || c == '-';
}

uint32_t Fnv1a(const std::string& text) {
    uint32_t h = 2166136261u;
    for (unsigned char c : text) {
        h ^= c;
        h *= 16777619u;
    }
    return h;
}

} // namespace

std::string RuntimeDir() {
    for (const char* name : {"LMR_RUNTIME_DIR", "XDG_RUNTIME_DIR"}) {
        const char* v = std::getenv(name);
        if (v && *v) return v;
    }
    return "/tmp";
}

std::string LockFileName(const std::string& caption) {
    std::string name;
    for (char c : caption)
        name += Allowed(c) ? c : '_';
    if (name.size() > 180) name.resize(180); // stay well inside NAME_MAX
    char hash[16];
    std::snprintf(hash, sizeof hash, "-%08x", static_cast<unsigned>(Fnv1a(caption)));
    return name + hash + ".lock";
}

InstanceLock::~InstanceLock() {
    release();
}

void InstanceLock::release() {
    if (fd_ >= 0) close(fd_); // closing the only descriptor drops the lock
    fd_ = -1;
    path_.clear();
}

InstanceLock::Status InstanceLock::acquire(const std::string& caption) {
    release();
    error_.clear();
    std::string dir = RuntimeDir();
    while (dir.size() > 1 && dir.back() == '/')
        dir.pop_back();
    const std::string path = dir + "/" + LockFileName(caption);

    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        error_ = "cannot open lock file " + path + ": " + std::strerror(errno);
        return Status::Failed;
    }
    int rc;
    do {
        rc = flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const int err = errno;
        close(fd);
        if (err == EWOULDBLOCK) return Status::AlreadyRunning;
        error_ = "cannot lock " + path + ": " + std::strerror(err);
        return Status::Failed;
    }
    fd_ = fd;
    path_ = path;
    return Status::Acquired;
}

InstanceLock::Status AcquireProcessLock(const std::string& caption, std::string* error) {
    static std::mutex lock;
    static std::vector<std::unique_ptr<InstanceLock>> held; // released when the process ends
    std::lock_guard<std::mutex> g(lock);
    auto guard = std::make_unique<InstanceLock>();
    InstanceLock::Status s = guard->acquire(caption);
    if (error) *error = guard->error();
    if (s == InstanceLock::Status::Acquired) held.push_back(std::move(guard));
    return s;
}

} // namespace os
