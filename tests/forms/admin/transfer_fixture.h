// Set-up of the transfer form tests: the administration fixture, the
// module's TFTP server on a free port that the simulated device is told,
// the device in the loopback network, and a folder for the files.
#pragma once

#include "binding/QvWaitIdle.h"
#include "forms/admin/TransferServer.h"
#include "support/Process.h"
#include "support/TempDir.h"
#include "tests/forms/admin/admin_fixture.h"

#include <arpa/inet.h>
#include <fstream>
#include <netinet/in.h>
#include <sstream>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

namespace transfertest {

using lmrtest::FreeUdpPort;

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

class TransferFormTest : public admintest::AdminFormTest {
protected:
    // The device's curl sends the option extension unless told otherwise.
    virtual bool NoOptions() const { return false; }

    void SetUp() override {
        AdminFormTest::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(files.ok());
        TFTPServicePort() = FreeUdpPort();
        ASSERT_EQ(dev->control("tftp " + std::to_string(TFTPServicePort()) +
                               (NoOptions() ? " nooptions" : "")),
                  "ok");
        main->IPAddressEdit->SetText("127.0.0.1");
        main->SubMaskEdit->SetText("255.0.0.0");
        LoopbackAddress();
        LocalGatewaySource() = [](TStrings&) {};
        LogFolderOverride() = files.path() + "/";
    }

    void TearDown() override {
        LocalInterfaceSource() = nullptr;
        LocalGatewaySource() = nullptr;
        LogFolderOverride().clear();
        TFTPServicePort() = 69;
        AdminFormTest::TearDown();
    }

    // Runs events until busy() turns false (bounded).
    static bool WaitFor(const std::function<bool()>& busy, std::uint32_t ms = 30000) {
        return QvWaitWhile(busy, ms);
    }

    // The PC has an address in the device's loopback network.
    static void LoopbackAddress() {
            LocalInterfaceSource() = [] {
                return std::vector<os::NetInterface>{
                    {"eth0", "192.168.1.5", "255.255.255.0", "192.168.1.255"},
                    {"lo", "127.0.0.1", "255.0.0.0", "127.255.255.255"}};
            };
    }

    // The device's subnet holds no PC address.
    static void NoLocalAddress() {
        LocalInterfaceSource() = [] {
            return std::vector<os::NetInterface>{
                {"eth0", "192.168.1.5", "255.255.255.0", "192.168.1.255"}};
        };
    }

    lmrtest::TempDir files{"transfer"};
};

} // namespace transfertest
