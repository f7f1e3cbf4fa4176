// Advanced \ Grouping against the simulated device: what is editable in which
// operating mode, the user limit's check with its exact text, the scalars it
// writes, and success only once the write went through.
#include "forms/wireless/TFM_Group.h"

#include "binding/QvSNMPRequest2Edits.h"
#include "support/LayoutCheck.h"
#include "tests/forms/admin/admin_fixture.h"

#include <memory>

namespace {

using admintest::AdminFormTest;

const std::string kAp = "qvEnterprise.11.37.4.";
const std::vector<std::string> kObjects = {"2.6.1.0",   "2.6.2.0",   "2.6.4.0",
                                           "2.6.5.0",   "2.1.1.1.1", "2.3.1.11.1"};

class GroupForm : public AdminFormTest {
protected:
    TFM_Group* Open(const std::string& modeNames = "1") {
        main->ApmodeStringChangeSupport->SetText(modeNames);
        form.reset(NewForm<TFM_Group>(Application));
        return form.get();
    }
    void TearDown() override {
        form.reset();
        AdminFormTest::TearDown();
    }
    void Choose(TComboBox* c, const std::string& text) {
        const int i = c->Items().IndexOf(text);
        ASSERT_GE(i, 0) << text;
        c->ChooseItem(i);
    }
    std::unique_ptr<TFM_Group> form;
};

TEST_F(GroupForm, RoundTripKeepsWhatTheDeviceHeld) {
    const auto before = Snapshot(kObjects);
    TFM_Group* f = Open();
    EXPECT_EQ(f->La_Heading->Caption(), "AP Grouping Settings:(For AP Mode Only)");
    EXPECT_EQ(f->CB_LoadB->Text(), "Enable");
    EXPECT_EQ(f->Ed_UsrL->Text(), "16");
    EXPECT_EQ(f->CB_LinkInt->Text(), "Disable");
    EXPECT_EQ(f->Ed_EthLS->Text(), "Up");
    EXPECT_EQ(f->CB_APMode->Text(), "Access Point");
    EXPECT_EQ(f->Ed_UsrL->MaxLength(), 2);
    EXPECT_TRUE(f->CB_LoadB->Enabled());
    EXPECT_FALSE(f->Ed_UsrL->ReadOnly());
    Grab(f, "group.png");
    f->Bt_ApplyClick(nullptr);
    // The scalars carry ".0"; the read-only status is not sent.
    EXPECT_EQ(SetLog(), (std::vector<std::string>{"2.6.1.0", "2.6.2.0", "2.6.4.0"}));
    EXPECT_EQ(Snapshot(kObjects), before);
    ASSERT_EQ(waits.size(), 1u);
    EXPECT_EQ(Status(f->StatusBar), "Setting OK!");
    EXPECT_EQ(ui.Boxes().Count(), 0);
}

// On screen every caption fits, and so does a long link status.
TEST_F(GroupForm, EverythingFitsOnScreen) {
    ASSERT_TRUE(dev->poke(kAp + "2.6.5.0", "Up, 100Mbps Full-Duplex"));
    TFM_Group* f = Open();
    ASSERT_EQ(f->Ed_EthLS->Text(), "Up, 100Mbps Full-Duplex");
    f->Show();
    Application->ProcessMessages();
    EXPECT_EQ(lmrtest::LayoutFaults(*f), std::vector<std::string>{});
    Grab(f, "group-long-status.png");
    f->Hide();
}

// Outside the Access Point mode the two switches are greyed, and Apply still
// writes what they show.
TEST_F(GroupForm, OperatingModeDecidesWhatIsEditable) {
    struct Case {
        const char* mode;
        const char* names;
        const char* shown;
        bool editable;
    } cases[] = {{"1", "1", "Access Point", true},
                 {"4", "1", "Universal Repeater", false},
                 {"4", "0", "AP Repeater", false},
                 {"5", "x", "AP Client", false},
                 {"5", "1", "Wireless Client", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown);
        ASSERT_TRUE(dev->poke(kAp + "2.1.1.1.1", c.mode));
        TFM_Group* f = Open(c.names);
        EXPECT_EQ(f->CB_APMode->Text(), c.shown);
        for (TComboBox* box : {f->CB_LoadB, f->CB_LinkInt}) {
            EXPECT_EQ(box->Enabled(), c.editable);
            EXPECT_EQ(box->Color(), c.editable ? clWindow : clBtnFace);
        }
        waits.clear();
        f->Bt_ApplyClick(nullptr);
        EXPECT_EQ(SetLog(), (std::vector<std::string>{"2.6.1.0", "2.6.2.0", "2.6.4.0"}));
        EXPECT_EQ(waits.size(), 1u);
        form.reset();
    }
}

TEST_F(GroupForm, UserLimitIsCheckedBeforeAnythingIsSent) {
    struct Case {
        const char* typed;
        bool refused;
        const char* sent;
    } cases[] = {{"65", true, ""}, {"99", true, ""}, {"", false, "0"},
                 {"64", false, "64"}, {"0", false, "0"}, {"7", false, "7"}};
    TFM_Group* f = Open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        ui.Boxes().Clear();
        waits.clear();
        f->Ed_UsrL->SetText(c.typed);
        f->Bt_ApplyClick(nullptr);
        if (c.refused) {
            ASSERT_EQ(ui.Boxes().Count(), 1);
            EXPECT_EQ(ui.Boxes().Last().text, "Please input a number between 0 and 64.");
            EXPECT_EQ(ui.Boxes().Last().caption, "Error");
            EXPECT_EQ(f->Ed_UsrL->Text(), "");
            EXPECT_TRUE(SetLog().empty());
            EXPECT_TRUE(waits.empty());
        } else {
            EXPECT_EQ(ui.Boxes().Count(), 0);
            EXPECT_EQ(dev->peek(kAp + "2.6.2.0"), c.sent);
            EXPECT_EQ(waits.size(), 1u);
            SetLog();
        }
    }
}

TEST_F(GroupForm, LoadBalanceDecidesWhetherTheLimitIsEditable) {
    ASSERT_TRUE(dev->poke(kAp + "2.6.1.0", "0"));
    TFM_Group* f = Open();
    EXPECT_TRUE(f->Ed_UsrL->ReadOnly());
    EXPECT_EQ(f->Ed_UsrL->Color(), clBtnFace);
    Choose(f->CB_LoadB, "Enable");
    EXPECT_FALSE(f->Ed_UsrL->ReadOnly());
    EXPECT_EQ(f->Ed_UsrL->Color(), clWindow);
    Choose(f->CB_LoadB, "Disable");
    EXPECT_TRUE(f->Ed_UsrL->ReadOnly());
}

TEST_F(GroupForm, OnlyDigitsCanBeTypedIntoTheLimit) {
    TFM_Group* f = Open();
    f->Ed_UsrL->SetText("");
    f->Ed_UsrL->SetFocus();
    f->Ed_UsrL->TypeText("4x2");
    EXPECT_EQ(f->Ed_UsrL->Text(), "42");
}

TEST_F(GroupForm, RefusedWriteShowsNoSuccess) {
    TFM_Group* f = Open();
    ASSERT_TRUE(dev->fault(kAp + "2.6.4.0", "badValue", "set"));
    const auto before = Snapshot(kObjects);
    f->Bt_ApplyClick(nullptr);
    EXPECT_TRUE(waits.empty());
    EXPECT_EQ(Status(f->StatusBar), "Setting Error!");
    ASSERT_EQ(ui.Boxes().Count(), 1);
    EXPECT_FALSE(ui.Boxes().Last().text.empty());
    EXPECT_EQ(Snapshot(kObjects), before);
}

// The settings' read failed while the mode's went through: in the Access
// Point mode nothing of the group becomes editable, and Apply writes
// nothing and claims no success.
TEST_F(GroupForm, SettingsNotReadAreNeitherEditableNorWritten) {
    ASSERT_TRUE(dev->fault(kAp + "2.6.5.0", "noSuchName", "get"));
    const auto before = Snapshot(kObjects);
    TFM_Group* f = Open();
    EXPECT_EQ(f->CB_APMode->Text(), "Access Point");
    EXPECT_TRUE(f->SettingsRequest->ReadFailed());
    for (TControl* c : std::initializer_list<TControl*>{f->CB_LoadB, f->CB_LinkInt, f->Ed_UsrL})
        EXPECT_FALSE(c->Enabled()) << c->Name();
    f->CB_LoadBChange(nullptr);
    EXPECT_FALSE(f->CB_LoadB->Enabled());
    ui.Boxes().Clear();
    f->Bt_ApplyClick(nullptr);
    EXPECT_TRUE(SetLog().empty());
    EXPECT_TRUE(waits.empty());
    EXPECT_NE(Status(f->StatusBar), "Setting OK!");
    EXPECT_EQ(Snapshot(kObjects), before);
    // Read again, it is the user's once more.
    dev->clearFaults();
    f->Bt_RefreshClick(nullptr);
    EXPECT_TRUE(f->CB_LoadB->Enabled());
    EXPECT_TRUE(f->Ed_UsrL->Enabled());
}

// A failed read is shown; the other group is still read, and both can be
// read again.
TEST_F(GroupForm, FailedReadAtCreationIsShownAndRefreshReadsAgain) {
    ASSERT_TRUE(dev->fault(kAp + "2.6.5.0", "noSuchName", "get"));
    ASSERT_TRUE(dev->fault(kAp + "2.1.1.1.1", "noSuchName", "get"));
    TFM_Group* f = Open();
    EXPECT_FALSE(Status(f->StatusBar).empty());
    EXPECT_EQ(f->Ed_EthLS->Text(), "");
    EXPECT_EQ(f->CB_APMode->ItemIndex(), -1);
    EXPECT_FALSE(f->CB_LoadB->Enabled());
    dev->clearFaults();
    f->Bt_RefreshClick(nullptr);
    EXPECT_EQ(f->Ed_EthLS->Text(), "Up");
    EXPECT_EQ(f->CB_APMode->Text(), "Access Point");
    EXPECT_TRUE(f->CB_LoadB->Enabled());
}

} // namespace
