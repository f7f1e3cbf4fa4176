#include <gtest/gtest.h>

#include "app/DevicePicture.h"
#include "mib/Enterprise.h"
#include "support/Process.h"
#include "support/SimFixture.h"
#include "support/TempDir.h"

#include <chrono>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// The names in a folder, "." and ".." left out.
std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* d = opendir(folder.c_str())) {
        while (dirent* e = readdir(d)) {
            const std::string name = e->d_name;
            if (name != "." && name != "..") names.push_back(name);
        }
        closedir(d);
    }
    return names;
}

} // namespace

TEST(Smoke, EnterpriseArcIsTheDocumentationNumber) {
    EXPECT_STREQ(mib::qvEnterprise, "1.3.6.1.4.1.32473");
}

TEST(Smoke, DevicePictureDecodes) {
    std::vector<unsigned char> rgb;
    int w = 0, h = 0;
    ASSERT_TRUE(DecodeDevicePicture(rgb, w, h));
    EXPECT_EQ(w, DevicePictureWidth);
    EXPECT_EQ(h, DevicePictureHeight);
    EXPECT_EQ(rgb.size(), static_cast<size_t>(w) * h * 3);
    // A broken image is refused, not fatal.
    const unsigned char junk[] = {0xFF, 0xD8, 0xFF, 0x00, 0x01, 0x02};
    EXPECT_FALSE(DecodeJpeg(junk, sizeof junk, rgb, w, h));
    EXPECT_TRUE(rgb.empty());
}

// The program itself: started against the simulated device it creates its
// window (the boots counter appears in its state folder, not in the current
// one) and keeps running. Ended by a signal, as a platform or a shell does,
// it leaves nothing in the temporary folder.
TEST(Smoke, ProgramStartsAgainstTheDeviceAndLeavesNothingBehind) {
    lmrtest::SimDevice& dev = lmrtest::SimDevice::shared();
    ASSERT_TRUE(dev.running()) << dev.error();
    lmrtest::TempDir dir("smoke");
    ASSERT_TRUE(dir.ok());
    dir.mkdir("conf");
    dir.mkdir("run");
    dir.mkdir("state");
    dir.mkdir("tmp");
    dir.mkdir("cwd");
    dir.write("registry.ini", "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quorvane\\Velkar5.1\\MibFile]\nPath=" +
                                  dir.file("conf") + "/\n");
    dir.write("conf/127.0.0.1.cfg",
              "[Program Information]\nAgentPort=" + std::to_string(dev.port()) + "\n");
    const std::string exe = lmrtest::BinaryDir() + "/app/lmr7300ap";
    const std::string registry = "LMR_REGISTRY_FILE=" + dir.file("registry.ini");
    const std::string runtime = "LMR_RUNTIME_DIR=" + dir.file("run");
    const std::string state = "LMR_STATE_DIR=" + dir.file("state");
    const std::string tmp = "TMPDIR=" + dir.file("tmp");
    const std::string log = dir.file("out.log");
    const std::string cwd = dir.file("cwd");

    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        if (chdir(cwd.c_str()) != 0) _exit(126);
        int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (fd >= 0) {
            dup2(fd, 1);
            dup2(fd, 2);
        }
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        putenv(const_cast<char*>(registry.c_str()));
        putenv(const_cast<char*>(runtime.c_str()));
        putenv(const_cast<char*>(state.c_str()));
        putenv(const_cast<char*>(tmp.c_str()));
        execl(exe.c_str(), exe.c_str(), "/I127.0.0.1", "/Rtarnok", static_cast<char*>(nullptr));
        _exit(127);
    }
    bool created = false;
    for (int k = 0; k < 200 && !created; ++k) {
        created = access(dir.file("state/QvSNMP_PP_BootCounter").c_str(), F_OK) == 0;
        if (!created) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    int status = 0;
    const bool ended = waitpid(pid, &status, WNOHANG) == pid;
    if (!ended) lmrtest::StopProcess(pid, 3000);
    EXPECT_TRUE(created);
    EXPECT_FALSE(ended) << "exit status " << status;
    EXPECT_EQ(Entries(cwd), std::vector<std::string>{}) << "left in the current folder";
    EXPECT_EQ(Entries(dir.file("tmp")), std::vector<std::string>{})
        << "left in the temporary folder";
}
