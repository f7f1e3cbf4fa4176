// Tools \ Misc. against the simulated device: the console's state and
// time-out read and written back, the time-out greyed while the console is
// off, and the waiting dialog only after a write that went through.
#include "forms/admin/TFM_Misc.h"

#include "binding/QvSNMPRequest2Edits.h"
#include "tests/forms/admin/admin_fixture.h"

#include <memory>

namespace {

using admintest::AdminFormTest;

const std::vector<std::string> kConsole = {"3.4.1.0", "3.4.2.0"};

class MiscForm : public AdminFormTest {
protected:
    TFM_Misc* Open() {
        form.reset(NewForm<TFM_Misc>(Application));
        return form.get();
    }
    void TearDown() override {
        form.reset();
        AdminFormTest::TearDown();
    }
    std::unique_ptr<TFM_Misc> form;
};

TEST_F(MiscForm, RoundTripKeepsWhatTheDeviceHeld) {
    const auto before = Snapshot(kConsole);
    TFM_Misc* f = Open();
    EXPECT_EQ(f->Caption(), "Tools \\ Misc.");
    EXPECT_EQ(f->CB_Status->Text(), "Enable");
    EXPECT_EQ(f->CB_Timeout->Text(), "3 Mins");
    EXPECT_TRUE(f->CB_Timeout->Enabled());
    Grab(f, "misc.png");
    f->Bt_Apply->Click();
    EXPECT_EQ(SetLog(), kConsole);
    EXPECT_EQ(Snapshot(kConsole), before);
    ASSERT_EQ(waits.size(), 1u);
    EXPECT_EQ(waits[0].label3, "The device is restarting.");
    EXPECT_EQ(ui.Boxes().Count(), 0);
}

TEST_F(MiscForm, TimeoutFollowsTheConsoleState) {
    TFM_Misc* f = Open();
    struct {
        int item;
        bool enabled;
    } steps[] = {{0, false}, {1, true}, {0, false}};
    for (const auto& s : steps) {
        f->CB_Status->ChooseItem(s.item);
        EXPECT_EQ(f->CB_Timeout->Enabled(), s.enabled) << s.item;
    }
    // Greyed, the time-out is still written with its choice.
    f->CB_Timeout->SetItemIndex(4);
    f->Bt_Apply->Click();
    EXPECT_EQ(dev->peek("qvEnterprise.11.37.4.3.4.1.0"), "0");
    EXPECT_EQ(dev->peek("qvEnterprise.11.37.4.3.4.2.0"), "4");
}

TEST_F(MiscForm, RefreshReadsAgainAndAppliesTheRule) {
    TFM_Misc* f = Open();
    ASSERT_TRUE(dev->poke("qvEnterprise.11.37.4.3.4.1.0", "0"));
    ASSERT_TRUE(dev->poke("qvEnterprise.11.37.4.3.4.2.0", "5"));
    f->Bt_Rfresh->Click();
    EXPECT_EQ(f->CB_Status->Text(), "Disable");
    EXPECT_EQ(f->CB_Timeout->Text(), "15 Mins");
    EXPECT_FALSE(f->CB_Timeout->Enabled());
}

TEST_F(MiscForm, RefusedWriteIsReportedWithoutTheDialog) {
    TFM_Misc* f = Open();
    ASSERT_TRUE(dev->fault("qvEnterprise.11.37.4.3.4.2.0", "badValue", "set"));
    f->Bt_Apply->Click();
    EXPECT_TRUE(waits.empty());
    EXPECT_EQ(Status(f->StatusBar), "Setting Error!");
    EXPECT_EQ(ui.Boxes().Count(), 1);
}

// Choices the device did not give are not made up: nothing is sent, and
// no dialog claims the device saved anything.
TEST_F(MiscForm, UnreadChoicesAreNotWritten) {
    ASSERT_TRUE(dev->fault("qvEnterprise.11.37.4.3.4.1.0", "noSuchName", "get"));
    TFM_Misc* f = Open();
    EXPECT_EQ(f->CB_Status->ItemIndex(), -1);
    EXPECT_EQ(f->CB_Timeout->ItemIndex(), -1);
    EXPECT_FALSE(f->CB_Status->Enabled());
    EXPECT_FALSE(f->CB_Timeout->Enabled());
    dev->clearFaults();
    f->Bt_Apply->Click();
    EXPECT_TRUE(SetLog().empty());
    EXPECT_EQ(dev->peek("qvEnterprise.11.37.4.3.4.1.0"), "1");
    EXPECT_EQ(Status(f->StatusBar), "Setting Error!");
    EXPECT_TRUE(waits.empty());
    EXPECT_EQ(dev->control("state"), "ok running");
}

// The time-out rule keeps an unread console greyed, also after a Refresh
// that failed once the console had been read; the next good read gives
// the choices back by the rule.
TEST_F(MiscForm, FailedRefreshGreysBothChoices) {
    struct Step {
        const char* name;
        bool fails;
        const char* telnet;
        bool statusEnabled;
        bool timeoutEnabled;
    } steps[] = {
        {"read", false, "1", true, true},
        {"refresh fails", true, "1", false, false},
        {"refresh reads off", false, "0", true, false},
        {"refresh fails again", true, "0", false, false},
        {"refresh reads on", false, "1", true, true},
    };
    TFM_Misc* f = Open();
    for (const auto& s : steps) {
        SCOPED_TRACE(s.name);
        ASSERT_TRUE(dev->poke("qvEnterprise.11.37.4.3.4.1.0", s.telnet));
        if (s.fails) {
            ASSERT_TRUE(dev->fault("qvEnterprise.11.37.4.3.4.1.0", "noSuchName", "get"));
        }
        f->Bt_Rfresh->Click();
        dev->clearFaults();
        EXPECT_EQ(f->CB_Status->Enabled(), s.statusEnabled);
        EXPECT_EQ(f->CB_Timeout->Enabled(), s.timeoutEnabled);
        if (s.fails) {
            f->Bt_Apply->Click();
            EXPECT_TRUE(SetLog().empty());
            EXPECT_TRUE(waits.empty());
            EXPECT_EQ(Status(f->StatusBar), "Setting Error!");
        }
        ui.Boxes().Clear();
    }
}

} // namespace
