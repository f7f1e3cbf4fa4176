// Shared set-up of the generic panel tests: the global session made once in
// a throwaway folder, the simulated device reset for every case, groups
// aimed at it, and the tables the cases use.
#pragma once

#include "binding/QvSNMPRequest2Edits.h"
#include "snmp/QvSNMPVar.h"
#include "snmp/QvSession.h"
#include "support/SimFixture.h"
#include "support/TempDir.h"
#include "ui/Form.h"
#include "ui/Testing.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace paneltest {

#define PANELTEST_SYS "1.3.6.1.2.1.1"
#define QV_TEST_LAN "1.3.6.1.4.1.32473.11.37.4.1.2"

inline QvSNMPVar Var(const char* oid, const char* label, int syntax, int access,
                     QvOptionList* list = nullptr) {
    return {oid, label, syntax, access, list, nullptr, nullptr, nullptr, nullptr, nullptr};
}
inline QvSNMPVar End() {
    return Var(nullptr, nullptr, 0, 0);
}

class PanelTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static bool made = false;
        if (made) return;
        lmrtest::TempDir folder("panel-session");
        CreateGlobalSession(folder.path() + "/");
        made = true;
    }
    void SetUp() override {
        dev = &lmrtest::SimDevice::shared();
        ASSERT_TRUE(dev->running()) << dev->error();
        ASSERT_TRUE(dev->reset());
        dev->takeSetLog();
        session.OnTimeout = [](const std::string& caption) {
            ADD_FAILURE() << "a modal form was left open: " << caption;
        };
    }
    // A group owned by owner, synchronous, aimed at the device.
    QvSNMPRequest2Edits* NewGroup(TWinControl* owner, const QvSNMPVar* table, uint8_t kind,
                                  uint32_t keys = 0) {
        return Aim(new QvSNMPRequest2Edits(owner), table, kind, keys);
    }
    template <class G> G* Aim(G* g, const QvSNMPVar* table, uint8_t kind, uint32_t keys = 0) {
        g->request.vars = QvSNMPVarList(table, kind, keys);
        g->request.Device.Address = dev->host();
        g->request.Device.Port = static_cast<uint16_t>(dev->port());
        g->request.Security.Version = 1;
        g->request.Timeout = 300;
        g->mode = 0;
        return g;
    }
    // The set log with the identifiers' prefix taken off.
    std::vector<std::string> SetLog(const std::string& prefix) {
        std::vector<std::string> out;
        for (std::string oid : dev->takeSetLog()) {
            if (!oid.empty() && oid[0] == '.') oid.erase(0, 1);
            if (oid.rfind(prefix, 0) == 0) oid.erase(0, prefix.size());
            out.push_back(oid);
        }
        return out;
    }
    UiTestSession session;
    lmrtest::SimDevice* dev = nullptr;
};

} // namespace paneltest

#include "binding/QvWaitIdle.h"

// Waits for an asynchronous read of the group to end (bounded by its replies).
inline bool snmptestWait(QvSNMPRequest2Controls* g) {
    return WaitWhileBusy(*g, 4 * QvReplyBoundMs(g->request));
}
