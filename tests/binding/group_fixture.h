// Set-up shared by the tests of request groups bound to controls: the code of
// a raised exception, a form with one group, the global session made in a
// throwaway folder, requests aimed at the simulated device, and the pump that
// waits for a driver to become idle.
#pragma once

#include "binding/QvSNMPRequest2Edits.h"
#include "snmp/QvSNMPVar.h"
#include "snmp/QvSession.h"
#include "support/SimFixture.h"
#include "support/TempDir.h"
#include "ui/Application.h"
#include "base/Exception.h"
#include "ui/Form.h"
#include "base/SysUtils.h"
#include "ui/Testing.h"

#include <cstdint>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace snmptest {

// The code of the exception fn raises; 0 when it raises none.
inline int CodeOf(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const Exception& e) {
        return e.HelpContext();
    }
    return 0;
}

// A form owning one request group; the group goes before the form.
class FormGroupTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(nullptr);
        group = std::make_unique<QvSNMPRequest2Edits>(form);
    }
    void TearDown() override {
        group.reset();
        delete form;
    }
    UiTestSession session;
    TForm* form = nullptr;
    std::unique_ptr<QvSNMPRequest2Edits> group;
};

// The session reads and saves its boots counter only while it is created, so
// the folder can go right after.
inline void CreateGlobalSessionInTempFolder() {
    lmrtest::TempDir folder("snmp-session");
    CreateGlobalSession(folder.path() + "/");
}

// SNMPv2c to the device, with a time-out generous enough for tests that run
// side by side.
inline void AimAt(QvSNMPRequest& r, const lmrtest::SimDevice& dev) {
    r.Device.Address = dev.host();
    r.Device.Port = static_cast<uint16_t>(dev.port());
    r.Security.Version = 1;
    r.Timeout = 300;
}

// Pumps until the driver is idle; false after about rounds * 10 ms.
inline bool WaitIdle(const QvSNMPRequest2Controls& d, int rounds = 1000) {
    for (int k = 0; k < rounds && d.busy; ++k) {
        Application->ProcessMessages();
        g_SnmpEventProcessor.OnTimer();
        Sleep(10);
    }
    return !d.busy;
}

// The device's demo table: an index and two writable columns.
#define SNMPTEST_DEMO "1.3.6.1.4.1.32473.11.37.4.98.1.1"
inline const QvSNMPVar kDemo[] = {
    {"", "Index", QvSyntax::Integer, 1, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    {SNMPTEST_DEMO ".2", "Name", QvSyntax::DisplayStr, 6, nullptr, nullptr, nullptr, nullptr,
     nullptr, nullptr},
    {SNMPTEST_DEMO ".3", "Address", QvSyntax::IpAddress, 6, nullptr, nullptr, nullptr, nullptr,
     nullptr, nullptr},
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}};

} // namespace snmptest
