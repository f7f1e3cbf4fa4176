// Set-up shared by the administration form tests: the simulated device, a
// main window that is made but not started (the forms read its capability
// fields and the waiting dialog its LAN indicator), requests aimed at the
// device, recorded boxes, frozen timers, and the waiting dialog caught as
// it opens.
#pragma once

#include "app/TFM_Waiting.h"
#include "app/TMainForm.h"
#include "binding/QvSNMPRequest2Controls.h"
#include "snmp/QvSession.h"
#include "support/SimFixture.h"
#include "tests/binding/group_fixture.h"
#include "ui/Application.h"
#include "ui/Form.h"
#include "ui/StatusBar.h"
#include "ui/Testing.h"
#include "ui/Widgets.h"

#include <QImage>
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <cstdlib>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace admintest {

// What the waiting dialog showed while it was up.
struct WaitSeen {
    std::string caption;
    std::string label3;
    int rebootFlag = -1;
};

class AdminFormTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { snmptest::CreateGlobalSessionInTempFolder(); }

    // The device of the test: the shared one, or one of another profile.
    virtual lmrtest::SimDevice* Device() { return &lmrtest::SimDevice::shared(); }

    void SetUp() override {
        ui.FreezeTimers();
        ui.SetModalTimeoutMs(20000);
        dev = Device();
        ASSERT_TRUE(dev && dev->running()) << (dev ? dev->error() : "no device");
        main = new TMainForm(nullptr);
        g_DefaultDevice.Address = dev->host();
        g_DefaultDevice.Port = static_cast<uint16_t>(dev->port());
        g_DefaultSecurity = QvSNMPSecurity{};
        g_DefaultSecurity.Version = 1;
        g_DefaultSecurity.ReadCommunity = lmrtest::SimDevice::readCommunity();
        g_DefaultSecurity.WriteCommunity = lmrtest::SimDevice::writeCommunity();
        g_DefaultTimeout = 100;
        // A dialog that opens is looked at and closed at once; it sends no
        // restart of its own.
        ui.OnModal([this](TForm* form) {
            auto* wait = dynamic_cast<TFM_Waiting*>(form);
            if (!wait) {
                form->SetModalResult(mrCancel);
                return;
            }
            waits.push_back({wait->Caption(), wait->Label3->Caption(), wait->RebootFlag});
            wait->PendingReboot = 0;
            wait->Countdown = 0;
            wait->Close();
        });
        dev->takeSetLog();
    }

    void TearDown() override {
        delete main;
        MainForm = nullptr;
        if (dev && dev->control("state") != "ok running") dev->waitUntilAnswering();
        if (dev) {
            dev->clearFaults();
            dev->reset();
        }
        g_DefaultDevice = QvSNMPDevice{};
        g_DefaultSecurity = QvSNMPSecurity{};
    }

    // The OIDs of the set log, with the enterprise arc written short.
    std::vector<std::string> SetLog() {
        std::vector<std::string> out;
        for (std::string oid : dev->takeSetLog()) {
            const std::string arc = ".1.3.6.1.4.1.32473.11.37.4.";
            if (oid.rfind(arc, 0) == 0) oid = oid.substr(arc.size());
            out.push_back(oid);
        }
        return out;
    }

    // The values of the given objects now.
    std::map<std::string, std::string> Snapshot(const std::vector<std::string>& oids) {
        std::map<std::string, std::string> out;
        for (const auto& oid : oids)
            out[oid] = dev->peek("qvEnterprise.11.37.4." + oid).value_or("(absent)");
        return out;
    }

    static std::string Status(TStatusBar* bar) { return bar->SimpleText(); }

    // Writes the form's picture for a look by eye into the folder named by
    // LMR_SCREENSHOT_DIR; without it nothing is written.
    static void Grab(TForm* form, const std::string& name) {
        const char* folder = std::getenv("LMR_SCREENSHOT_DIR");
        if (!folder || !*folder) return;
        form->Show();
        Application->ProcessMessages();
        form->Widget()->grab().save(QString::fromStdString(std::string(folder) + "/" + name));
        form->Hide();
    }

    UiTestSession ui;
    lmrtest::SimDevice* dev = nullptr;
    TMainForm* main = nullptr;
    std::vector<WaitSeen> waits;
};

// The same on a device with the old firmware.
class OldAdminFormTest : public AdminFormTest {
protected:
    lmrtest::SimDevice* Device() override {
        static lmrtest::SimDevice old(OldOptions());
        if (!old.running()) old.start();
        return &old;
    }
    static lmrtest::SimOptions OldOptions() {
        lmrtest::SimOptions options;
        options.profile = "old";
        return options;
    }
};

} // namespace admintest
