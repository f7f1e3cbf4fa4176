#include "os/SingleInstance.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "os/Path.h"
#include "support/TempDir.h"

extern char** environ;

using lmrtest::ScopedEnv;
using lmrtest::TempDir;
using os::InstanceLock;

namespace {

// Started as a child of this test program (the variable names the caption):
// takes the lock, reports the outcome as one letter and keeps the lock until
// its standard input closes.
const int kChildHook = [] {
    const char* caption = std::getenv("LMR_OS_LOCK_CHILD");
    if (!caption) return 0;
    InstanceLock lock;
    InstanceLock::Status s = lock.acquire(caption);
    char c = s == InstanceLock::Status::Acquired         ? 'A'
             : s == InstanceLock::Status::AlreadyRunning ? 'R'
                                                         : 'F';
    if (write(1, &c, 1) != 1) _exit(2);
    char buf;
    while (read(0, &buf, 1) > 0) {
    }
    _exit(0);
}();

class LockChild {
public:
    explicit LockChild(const std::string& caption) {
        int in[2], out[2];
        if (pipe2(in, O_CLOEXEC) != 0) return;
        if (pipe2(out, O_CLOEXEC) != 0) {
            close(in[0]);
            close(in[1]);
            return;
        }
        posix_spawn_file_actions_t fa;
        posix_spawn_file_actions_init(&fa);
        posix_spawn_file_actions_adddup2(&fa, in[0], 0);
        posix_spawn_file_actions_adddup2(&fa, out[1], 1);
        ScopedEnv env("LMR_OS_LOCK_CHILD", caption.c_str());
        std::string exe = os::ExePath();
        char* argv[] = {exe.data(), nullptr};
        if (posix_spawn(&pid_, exe.c_str(), &fa, nullptr, argv, environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&fa);
        close(in[0]);
        close(out[1]);
        toChild_ = in[1];
        fromChild_ = out[0];
    }
    ~LockChild() {
        finish();
        if (fromChild_ >= 0) close(fromChild_);
    }

    // The child's one-letter report, or 0 when none came in time.
    char report() {
        if (pid_ < 0) return 0;
        pollfd p{fromChild_, POLLIN, 0};
        if (poll(&p, 1, 20000) != 1) return 0;
        char c = 0;
        return read(fromChild_, &c, 1) == 1 ? c : 0;
    }

    // Lets the child end (or kills it) and waits for it, at most ten seconds.
    void finish(bool kill = false) {
        if (toChild_ >= 0) close(toChild_);
        toChild_ = -1;
        if (pid_ < 0) return;
        if (kill) ::kill(pid_, SIGKILL);
        for (int i = 0; i < 1000; ++i) {
            if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
                pid_ = -1;
                return;
            }
            usleep(10000);
        }
        ::kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
    int toChild_ = -1;
    int fromChild_ = -1;
};

class InstanceLockTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.ok()); }
    TempDir dir;
    ScopedEnv env{"LMR_RUNTIME_DIR", dir.path().c_str()};
};

TEST_F(InstanceLockTest, SecondLockOfTheSameCaptionIsAlreadyRunning) {
    InstanceLock first, second, other;
    ASSERT_EQ(first.acquire("LMR-7300AP : 10.0.0.5"), InstanceLock::Status::Acquired);
    EXPECT_TRUE(first.held());
    EXPECT_EQ(first.path(), dir.path() + "/" + os::LockFileName("LMR-7300AP : 10.0.0.5"));
    EXPECT_EQ(second.acquire("LMR-7300AP : 10.0.0.5"), InstanceLock::Status::AlreadyRunning);
    EXPECT_FALSE(second.held());
    EXPECT_TRUE(second.error().empty());
    EXPECT_EQ(other.acquire("LMR-7300AP : 10.0.0.6"), InstanceLock::Status::Acquired);
    first.release();
    EXPECT_EQ(second.acquire("LMR-7300AP : 10.0.0.5"), InstanceLock::Status::Acquired);
}

TEST_F(InstanceLockTest, DestroyingTheGuardReleasesTheLock) {
    {
        InstanceLock lock;
        ASSERT_EQ(lock.acquire("LMR-7300AP : 1.2.3.4"), InstanceLock::Status::Acquired);
    }
    InstanceLock again;
    EXPECT_EQ(again.acquire("LMR-7300AP : 1.2.3.4"), InstanceLock::Status::Acquired);
}

TEST_F(InstanceLockTest, ChildHoldingTheLockMakesUsTheSecondInstance) {
    LockChild child("LMR-7300AP : 10.0.0.5");
    ASSERT_EQ(child.report(), 'A');
    InstanceLock lock;
    EXPECT_EQ(lock.acquire("LMR-7300AP : 10.0.0.5"), InstanceLock::Status::AlreadyRunning);
    EXPECT_EQ(lock.acquire("LMR-7300AP : 10.0.0.9"), InstanceLock::Status::Acquired);
    child.finish();
    EXPECT_EQ(lock.acquire("LMR-7300AP : 10.0.0.5"), InstanceLock::Status::Acquired);
}

TEST_F(InstanceLockTest, KilledHolderLeavesNoStaleLock) {
    LockChild child("LMR-7300AP : 10.0.0.5");
    ASSERT_EQ(child.report(), 'A');
    child.finish(true);
    InstanceLock lock;
    EXPECT_EQ(lock.acquire("LMR-7300AP : 10.0.0.5"), InstanceLock::Status::Acquired);
}

TEST_F(InstanceLockTest, ChildSeesOurLockAsAnotherInstance) {
    std::string error = "unchanged";
    ASSERT_EQ(os::AcquireProcessLock("LMR-7300AP : 10.0.0.7", &error),
              InstanceLock::Status::Acquired);
    EXPECT_EQ(error, "");
    LockChild child("LMR-7300AP : 10.0.0.7");
    EXPECT_EQ(child.report(), 'R');
    EXPECT_EQ(os::AcquireProcessLock("LMR-7300AP : 10.0.0.7"),
              InstanceLock::Status::AlreadyRunning);
}

TEST(InstanceLockFailureTest, UnusableRuntimeFolderIsAFailureNotAnotherInstance) {
    TempDir dir;
    ASSERT_TRUE(dir.ok());
    dir.write("plainfile", "");
    for (std::string runtime : {dir.file("plainfile"), dir.file("missing/folder")}) {
        ScopedEnv env("LMR_RUNTIME_DIR", runtime.c_str());
        InstanceLock lock;
        EXPECT_EQ(lock.acquire("LMR-7300AP : 10.0.0.5"), InstanceLock::Status::Failed) << runtime;
        EXPECT_NE(lock.error().find(runtime), std::string::npos) << lock.error();
        EXPECT_FALSE(lock.held());
    }
}

TEST(InstanceLockFailureTest, LockFileThatIsASymlinkIsRefused) {
    TempDir dir;
    ASSERT_TRUE(dir.ok());
    dir.write("target", "");
    ScopedEnv env("LMR_RUNTIME_DIR", dir.path().c_str());
    ASSERT_EQ(symlink((dir.file("target")).c_str(), (dir.file(os::LockFileName("cap"))).c_str()),
              0);
    InstanceLock lock;
    EXPECT_EQ(lock.acquire("cap"), InstanceLock::Status::Failed);
    EXPECT_FALSE(lock.error().empty());
}

TEST(LockFileNameTest, OnlySafeCharactersAndDistinctNames) {
    const std::string name = os::LockFileName("LMR-7300AP : 10.0.0.5");
    EXPECT_EQ(name.rfind("LMR-7300AP___10.0.0.5-", 0), 0u) << name;
    EXPECT_EQ(name.substr(name.size() - 5), ".lock");
    for (const char* caption : {"../../etc/x", "a/b\\c", "\xe9t\xe9", ""}) {
        for (char c : os::LockFileName(caption))
            EXPECT_TRUE(isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '_' || c == '-')
                << caption;
    }
    EXPECT_NE(os::LockFileName("a:b"), os::LockFileName("a b"));
    EXPECT_EQ(os::LockFileName("a:b"), os::LockFileName("a:b"));
    EXPECT_LE(os::LockFileName(std::string(1000, 'x')).size(), 200u);
}

TEST(RuntimeDirTest, EnvironmentOrder) {
    {
        ScopedEnv a("LMR_RUNTIME_DIR", "/run/a");
        ScopedEnv b("XDG_RUNTIME_DIR", "/run/b");
        EXPECT_EQ(os::RuntimeDir(), "/run/a");
    }
    {
        ScopedEnv a("LMR_RUNTIME_DIR", nullptr);
        ScopedEnv b("XDG_RUNTIME_DIR", "/run/b");
        EXPECT_EQ(os::RuntimeDir(), "/run/b");
    }
    ScopedEnv a("LMR_RUNTIME_DIR", "");
    ScopedEnv b("XDG_RUNTIME_DIR", nullptr);
    EXPECT_EQ(os::RuntimeDir(), "/tmp");
}

} // namespace
