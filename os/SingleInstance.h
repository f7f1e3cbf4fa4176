#pragma once
// One running instance per name: an exclusive, non-blocking lock on a file in
// the runtime folder. The kernel drops the lock when the process ends, so a
// crashed instance never blocks the next start.
#include <string>

namespace os {

// LMR_RUNTIME_DIR, else XDG_RUNTIME_DIR, else /tmp.
std::string RuntimeDir();
// The lock file's name for a caption: characters outside [A-Za-z0-9._-]
// become "_", and a hash of the exact caption keeps captions that differ
// only in such characters apart.
std::string LockFileName(const std::string& caption);

class InstanceLock {
public:
    enum class Status { Acquired, AlreadyRunning, Failed };

    InstanceLock() = default;
    ~InstanceLock(); // releases the lock
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Takes the lock for caption. AlreadyRunning when another process (or
    // another lock object) holds it; Failed for anything else, with the reason
    // in error(). Taking it again while held releases the old one first.
    Status acquire(const std::string& caption);
    void release();
    bool held() const { return fd_ >= 0; }
    const std::string& error() const { return error_; }
    const std::string& path() const { return path_; }

private:
    int fd_ = -1;
    std::string path_;
    std::string error_;
};

// acquire() on a lock that lives until the process ends.
InstanceLock::Status AcquireProcessLock(const std::string& caption, std::string* error = nullptr);

} // namespace os
