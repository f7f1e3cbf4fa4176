#pragma once
// The Status forms against the simulated device: a main window that is made
// but not started (its capability fields set by the test), the connection
// globals aimed at the device, recorded boxes and frozen timers.
#include "app/TMainForm.h"
#include "snmp/QvSession.h"
#include "support/SimFixture.h"
#include "support/TempDir.h"
#include "tests/forms/admin/client_data.h"
#include "tests/binding/group_fixture.h"
#include "ui/Application.h"
#include "ui/Testing.h"
#include "ui/Widgets.h"

#include <QElapsedTimer>
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace statustest {

class StatusFormTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { snmptest::CreateGlobalSessionInTempFolder(); }

    void SetUp() override {
        ui.FreezeTimers();
        ui.SetModalTimeoutMs(20000);
        if (!dev) dev = &lmrtest::SimDevice::shared();
        ASSERT_TRUE(dev->running()) << dev->error();
        main = new TMainForm(nullptr); // made, not started: no poll runs
        ASSERT_EQ(MainForm, main);
        Aim(*dev);
        dev->takeSetLog();
    }

    void TearDown() override {
        delete main;
        main = nullptr;
        if (dev) dev->clearFaults();
        g_DefaultDevice = QvSNMPDevice{};
        g_DefaultSecurity = QvSNMPSecurity{};
    }

    static void Aim(const lmrtest::SimDevice& d) {
        g_DefaultDevice.Address = d.host();
        g_DefaultDevice.Port = static_cast<uint16_t>(d.port());
        g_DefaultSecurity = QvSNMPSecurity{};
        g_DefaultSecurity.Version = 1;
        g_DefaultTimeout = 100;
    }

    // Runs the loop until done() holds or ms of real time have passed.
    static bool Pump(const std::function<bool()>& done, int ms = 15000) {
        QElapsedTimer t;
        t.start();
        while (!done()) {
            if (t.elapsed() > ms) return false;
            Application->ProcessMessages();
        }
        return true;
    }

    // The values of the objects, to show that nothing changed them.
    std::map<std::string, std::string> Peek(const std::vector<std::string>& oids) {
        std::map<std::string, std::string> out;
        for (const auto& oid : oids)
            out[oid] = dev->peek(oid).value_or("(absent)");
        return out;
    }

    // A picture of a form for a person to look at; kept out of the tree.
    static void Picture(TForm* form, const std::string& name) {
        form->Show();
        Application->ProcessMessages();
        const char* dir = std::getenv("LMR_PICTURE_DIR");
        if (dir && *dir)
            form->Widget()->grab().save(QString::fromStdString(std::string(dir) + "/" + name));
        form->Hide();
    }

    UiTestSession ui;
    lmrtest::SimDevice* dev = nullptr;
    TMainForm* main = nullptr;
};

} // namespace statustest
