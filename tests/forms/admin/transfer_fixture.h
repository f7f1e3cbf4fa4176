// Set-up of the transfer form tests: the administration fixture, the
// module's TFTP server on a free port that the simulated device is told,
// the device in the loopback network, and a folder for the files.
#pragma once

#include "binding/QvWaitIdle.h"
#include "forms/admin/TransferServer.h"
#include "support/Process.h"
#include "support/TempDir.h"
#include "tests/forms/admin/admin_fixture.h"

#include <QProcess>
#include <QStringList>
#include <arpa/inet.h>
#include <fstream>
#include <memory>
#include <ostream>
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

// What a waiting dialog showed (its caption and both text lines) and how
// it was set to restart the device.
struct WaitText {
    std::string caption, label2, label3;
    int rebootFlag = -1;
    int rebootDelayTicks = 2;
    bool operator==(const WaitText& o) const {
        return caption == o.caption && label2 == o.label2 && label3 == o.label3 &&
               rebootFlag == o.rebootFlag && rebootDelayTicks == o.rebootDelayTicks;
    }
};

inline std::ostream& operator<<(std::ostream& os, const WaitText& w) {
    return os << "{" << w.caption << " | " << w.label2 << " | " << w.label3 << " | reboot "
              << w.rebootFlag << " after " << w.rebootDelayTicks << "}";
}

inline WaitText TextOf(const TFM_Waiting& w) {
    return {w.Caption(), w.Label2->Caption(), w.Label3->Caption(), w.RebootFlag,
            w.RebootDelayTicks};
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
        // The base hook, and what each dialog said.
        ui.OnModal([this](TForm* form) {
            auto* wait = dynamic_cast<TFM_Waiting*>(form);
            if (!wait) {
                form->SetModalResult(mrCancel);
                return;
            }
            waits.push_back({wait->Caption(), wait->Label3->Caption(), wait->RebootFlag});
            texts.push_back(TextOf(*wait));
            wait->PendingReboot = 0;
            wait->Countdown = 0;
            wait->Close();
        });
    }

    // The device answers its transfer command first and transfers a moment
    // later; port: where it sends them (the module's server unless given).
    void DeviceTransfersLate(int port = 0) {
        ASSERT_EQ(dev->control("tftp " + std::to_string(port ? port : TFTPServicePort()) +
                               " late"),
                  "ok");
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

    // curl from 127.0.0.1 acting as the device against the form's server,
    // with the events running meanwhile; its exit code (-1: did not end).
    int DeviceCurl(bool get, const std::string& remote, const std::string& local) {
        QProcess curl;
        const QString url = QString("tftp://127.0.0.1:%1/%2")
                                .arg(TFTPServicePort())
                                .arg(QString::fromStdString(remote));
        QStringList args{"-sS", "--tftp-no-options", "--max-time", "20"};
        if (get)
            args << url << "-o" << QString::fromStdString(local);
        else
            args << "-T" << QString::fromStdString(local) << url;
        curl.start("curl", args);
        if (!curl.waitForStarted(5000)) return -1;
        if (!WaitFor([&curl] { return curl.state() != QProcess::NotRunning; }, 25000)) {
            curl.kill();
            curl.waitForFinished(2000);
            return -1;
        }
        return curl.exitStatus() == QProcess::NormalExit ? curl.exitCode() : -1;
    }

    lmrtest::TempDir files{"transfer"};
    std::vector<WaitText> texts;
};

// A transfer form under test: made anew by Open, and gone before the
// fixture's own tear-down.
template <class FormT>
class TransferFormOf : public TransferFormTest {
protected:
    FormT* Open() {
        form.reset(NewForm<FormT>(Application));
        return form.get();
    }
    void TearDown() override {
        form.reset();
        TransferFormTest::TearDown();
    }
    std::unique_ptr<FormT> form;
};

} // namespace transfertest
