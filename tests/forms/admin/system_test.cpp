// Tools \ System against the simulated device: a restart sends Restart
// "True" with FactoryDefault "False" whatever the device reported, a restore
// sends both "True" and the device comes back with its factory values; the
// waiting dialog follows only a write that went through.
#include "forms/admin/TFM_Sytem.h"

#include "binding/QvSNMPRequest2Edits.h"
#include "tests/forms/admin/admin_fixture.h"

#include <memory>

namespace {

using admintest::AdminFormTest;

class SystemForm : public AdminFormTest {
protected:
    TFM_Sytem* Open() {
        form.reset(NewForm<TFM_Sytem>(Application));
        EXPECT_TRUE(snmptest::WaitIdle(*form->Request));
        return form.get();
    }
    void TearDown() override {
        form.reset();
        AdminFormTest::TearDown();
    }
    // Runs the write to its end and lets the device come back.
    void Finish() {
        EXPECT_TRUE(snmptest::WaitIdle(*form->Request));
        Application->ProcessMessages();
        EXPECT_TRUE(dev->waitUntilAnswering());
    }
    std::unique_ptr<TFM_Sytem> form;
};

TEST_F(SystemForm, ReadsBothChoices) {
    TFM_Sytem* f = Open();
    EXPECT_EQ(f->Caption(), "Tools \\ System");
    EXPECT_EQ(f->CB_Restore->Text(), "False");
    EXPECT_EQ(f->CB_Restart->Items().Count(), 2);
    EXPECT_EQ(f->CB_Restart->Items().Strings(0), "True");
    EXPECT_TRUE(SetLog().empty());
    Grab(f, "system.png");
}

// Whatever the device reported for the factory reset, a restart says False.
TEST_F(SystemForm, RestartSendsFalseForTheFactoryReset) {
    struct {
        const char* name;
        const char* reported; // null: the read of FactoryDefault fails
    } cases[] = {{"reports False", "2"}, {"reports True", "1"}, {"read fails", nullptr}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(dev->reset());
        ASSERT_TRUE(dev->poke("qvEnterprise.11.37.4.3.1.1.0", "changed"));
        if (c.reported)
            ASSERT_TRUE(dev->poke("qvEnterprise.11.37.4.3.2.2.0", c.reported));
        else
            ASSERT_TRUE(dev->fault("qvEnterprise.11.37.4.3.2.2.0", "noSuchName", "get"));
        waits.clear();
        TFM_Sytem* f = Open();
        dev->clearFaults();
        dev->takeSetLog();
        ui.Boxes().Answer(mrOk);
        f->Button1->Click();
        Finish();
        ASSERT_EQ(ui.Boxes().Count(), 1);
        EXPECT_EQ(ui.Boxes().Last().text, "Device will reboot, continue?");
        EXPECT_EQ(ui.Boxes().Last().caption, "Warning");
        ui.Boxes().Clear();
        EXPECT_EQ(SetLog(), (std::vector<std::string>{"3.2.1.0", "3.2.2.0"}));
        ASSERT_EQ(waits.size(), 1u);
        EXPECT_EQ(waits[0].caption, "System is rebooting, please waiting.....");
        EXPECT_EQ(waits[0].label3, "The device is restarting.");
        EXPECT_EQ(waits[0].rebootFlag, 0);
        // Restarted, not reset: the changed name is still there.
        EXPECT_EQ(dev->peek("qvEnterprise.11.37.4.3.1.1.0"), "changed");
        EXPECT_EQ(dev->peek("qvEnterprise.11.37.4.3.2.2.0"), "2");
        form.reset();
    }
}

TEST_F(SystemForm, RestoreResetsTheDeviceToItsFactoryValues) {
    ASSERT_TRUE(dev->poke("qvEnterprise.11.37.4.3.1.1.0", "changed"));
    ASSERT_TRUE(dev->poke("qvEnterprise.11.37.4.3.4.2.0", "5"));
    TFM_Sytem* f = Open();
    ui.Boxes().Answer(mrOk);
    f->Button2->Click();
    EXPECT_EQ(f->CB_Restart->Text(), "True");
    EXPECT_EQ(f->CB_Restore->Text(), "True");
    Finish();
    EXPECT_EQ(SetLog(), (std::vector<std::string>{"3.2.1.0", "3.2.2.0"}));
    ASSERT_EQ(waits.size(), 1u);
    EXPECT_EQ(waits[0].caption, "System is rebooting, please waiting.....!");
    EXPECT_EQ(waits[0].label3, "The system IP will be 192.168.0.50 !");
    EXPECT_EQ(waits[0].rebootFlag, 0);
    EXPECT_EQ(dev->peek("qvEnterprise.11.37.4.3.1.1.0"), "admin");
    EXPECT_EQ(dev->peek("qvEnterprise.11.37.4.3.4.2.0"), "2");
    EXPECT_EQ(dev->peek("qvEnterprise.11.37.4.3.2.2.0"), "2");
}

TEST_F(SystemForm, CancelWritesNothing) {
    for (TButton* TFM_Sytem::*button : {&TFM_Sytem::Button1, &TFM_Sytem::Button2}) {
        TFM_Sytem* f = Open();
        ui.Boxes().Answer(mrCancel);
        (f->*button)->Click();
        EXPECT_TRUE(snmptest::WaitIdle(*f->Request));
        EXPECT_TRUE(SetLog().empty());
        EXPECT_TRUE(waits.empty());
        EXPECT_EQ(ui.Boxes().Count(), 1);
        ui.Boxes().Clear();
    }
}

// A refused write is reported, and no dialog claims the device restarts.
TEST_F(SystemForm, FailedWriteShowsNoWaitingDialog) {
    TFM_Sytem* f = Open();
    ASSERT_TRUE(dev->fault("qvEnterprise.11.37.4.3.2.1.0", "genErr", "set"));
    ui.Boxes().Answer(mrOk);
    f->Button1->Click();
    EXPECT_TRUE(snmptest::WaitIdle(*f->Request));
    Application->ProcessMessages();
    EXPECT_TRUE(waits.empty());
    EXPECT_EQ(Status(f->StatusBar), "Setting Error!");
    EXPECT_EQ(ui.Boxes().Count(), 2); // the question, then the failure
    EXPECT_EQ(dev->control("state"), "ok running");
}

} // namespace
