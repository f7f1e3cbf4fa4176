#pragma once
// Shared by the LAN, DHCP and static pool form tests: a main window that is
// made but not started (its LAN indicator and target address only), the
// simulated device as the default agent, a fake ICMP channel whose answers a
// test chooses, modal forms recorded and closed, and a bounded pump.
#include "app/TFM_Waiting.h"
#include "app/TMainForm.h"
#include "forms/admin/PingHost.h"
#include "snmp/QvSession.h"
#include "support/SimFixture.h"
#include "tests/binding/group_fixture.h"
#include "ui/Application.h"
#include "ui/Testing.h"
#include "ui/Widgets.h"

#include <QElapsedTimer>
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <cstring>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace dhcptest {

#define AP_OID ".1.3.6.1.4.1.32473.11.37.4"

// How the fake network answers an echo request.
enum class Echo {
    Silent,      // nothing
    Always,      // every request answered
    FirstOnly,   // only the first request of a ping
    LastOnly,    // only the third
    WrongId,     // a reply with another identifier
    WrongSeq,    // a reply to another sequence
    OtherHost,   // a reply from another address
    RequestOnly, // our own request seen again (type 8), as raw sockets do
};

class FakeChannel : public IcmpChannel {
public:
    FakeChannel(Echo mode, bool raw, int* sends, bool* closed,
                std::vector<std::string>* targets = nullptr)
        : mode_(mode), raw_(raw), sends_(sends), closed_(closed), targets_(targets) {}
    ~FakeChannel() override {
        if (closed_) *closed_ = true;
    }
    bool Send(const std::uint8_t* data, std::size_t length, std::uint32_t address) override {
        const int n = ++*sends_;
        if (targets_) {
            const std::uint8_t* b = reinterpret_cast<const std::uint8_t*>(&address);
            targets_->push_back(std::to_string(b[0]) + "." + std::to_string(b[1]) + "." +
                                std::to_string(b[2]) + "." + std::to_string(b[3]));
        }
        std::vector<std::uint8_t> msg(data, data + length);
        std::uint32_t from = address;
        bool answer = true;
        switch (mode_) {
        case Echo::Silent: answer = false; break;
        case Echo::Always: break;
        case Echo::FirstOnly: answer = n == 1; break;
        case Echo::LastOnly: answer = n == 3; break;
        case Echo::WrongId: msg[4] ^= 0x5A; break;
        case Echo::WrongSeq: msg[6] ^= 0x01; break;
        case Echo::OtherHost: from ^= 0x01000000u; break;
        case Echo::RequestOnly: break;
        }
        if (!answer) return true;
        if (mode_ != Echo::RequestOnly) msg[0] = 0;
        if (raw_) {
            std::vector<std::uint8_t> ip(20, 0);
            ip[0] = 0x45;
            msg.insert(msg.begin(), ip.begin(), ip.end());
        }
        queue_.push_back({msg, from});
        return true;
    }
    int Receive(std::uint8_t* buffer, std::size_t capacity, int, std::uint32_t* from) override {
        if (queue_.empty()) return 0; // the wait ran out
        auto d = queue_.front();
        queue_.pop_front();
        const std::size_t n = std::min(capacity, d.first.size());
        std::memcpy(buffer, d.first.data(), n);
        *from = d.second;
        return static_cast<int>(n);
    }
    bool WithIpHeader() const override { return raw_; }

private:
    Echo mode_;
    bool raw_;
    int* sends_;
    bool* closed_;
    std::vector<std::string>* targets_;
    std::deque<std::pair<std::vector<std::uint8_t>, std::uint32_t>> queue_;
};

class FormTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { snmptest::CreateGlobalSessionInTempFolder(); }

    void SetUp() override {
        ui.FreezeTimers();
        dev = &lmrtest::SimDevice::shared();
        ASSERT_TRUE(dev->running()) << dev->error();
        ASSERT_TRUE(dev->reset());
        main = new TMainForm(nullptr); // made, not started: no poll runs
        main->TargetIP = "192.0.2.1";
        main->LED_Lan->Brush().SetColor(clLime);
        g_DefaultDevice.Address = dev->host();
        g_DefaultDevice.Port = static_cast<uint16_t>(dev->port());
        g_DefaultSecurity = QvSNMPSecurity{};
        g_DefaultSecurity.Version = 1;
        g_DefaultTimeout = 100;
        UseEcho(Echo::Silent);
        // Every modal form is recorded and closed, unless a test acts first.
        ui.OnModal([this](TForm* f) {
            modals.push_back(f->Caption());
            if (auto* w = dynamic_cast<TFM_Waiting*>(f)) {
                waitTexts.push_back(w->Label2->Caption() + "|" + w->Label3->Caption());
                waitReboot.push_back(w->RebootFlag);
                w->Countdown = 0; // it refuses to close while counting
            }
            f->SetModalResult(mrOk);
        });
        ui.OnTimeout = [](const std::string& caption) {
            ADD_FAILURE() << "modal form left open: " << caption;
        };
        dev->takeSetLog();
    }

    void TearDown() override {
        SetIcmpChannelFactory(nullptr);
        delete main;
        if (dev && dev->control("state") != "ok running") dev->waitUntilAnswering();
        g_DefaultDevice = QvSNMPDevice{};
        g_DefaultSecurity = QvSNMPSecurity{};
    }

    void UseEcho(Echo mode, bool raw = true) {
        SetIcmpChannelFactory([this, mode, raw] {
            return std::make_unique<FakeChannel>(mode, raw, &pingSends, &channelClosed,
                                                 &pingTargets);
        });
    }

    // Runs the loop until done() holds, at most ms of real time.
    static bool Pump(const std::function<bool()>& done, int ms = 8000) {
        QElapsedTimer t;
        t.start();
        while (!done()) {
            if (t.elapsed() > ms) return false;
            Application->ProcessMessages();
        }
        return true;
    }

    std::string Peek(const std::string& oid) { return dev->peek(oid).value_or("(none)"); }

    // The texts and captions of the boxes shown.
    std::vector<std::string> Boxes() {
        std::vector<std::string> out;
        for (const auto& b : ui.Boxes().Boxes())
            out.push_back(b.caption + ": " + b.text);
        return out;
    }

    static void Screenshot(TForm* form, const std::string& name) {
        if (const char* dir = std::getenv("LMR_SCREENSHOT_DIR"))
            form->Widget()->grab().save(QString::fromStdString(std::string(dir) + "/" + name));
    }

    UiTestSession ui;
    lmrtest::SimDevice* dev = nullptr;
    TMainForm* main = nullptr;
    std::vector<std::string> modals;
    std::vector<std::string> waitTexts;
    std::vector<int> waitReboot; // the restart flag of each waiting dialog
    int pingSends = 0;
    std::vector<std::string> pingTargets; // where each echo request went
    bool channelClosed = false;
};

} // namespace dhcptest
