// Tools \ Admin for the extended administration objects, against the
// simulated device: what is shown by the device's answers and the main
// window's fields, every check of Apply with its message, the writes of
// Apply (the trap server included) with the waiting dialog only once all of
// them went through, the limit switched off with its real result, and the
// address ranges added and deleted: a duplicate refused wherever it stands,
// a full table refused before anything is written. Groups whose read failed
// are neither editable nor written, a refused write never leaves a console
// the user did not choose, and an empty range list counts only once read.
#include "forms/admin/TFM_AdminNew.h"

#include "binding/New_req2Edit.h"
#include "binding/QvSNMPRequest2Edits.h"
#include "tests/forms/admin/admin_fixture.h"
#include "ui/ListView.h"

#include <functional>
#include <memory>

namespace {

using admintest::AdminFormTest;
using admintest::OldAdminFormTest;

// Every object the form may write.
const std::vector<std::string> kAdminObjects = {
    "3.1.1.0",     "3.1.2.0",     "3.1.3.0",     "3.1.3.1.0",   "3.1.3.2.1.1.1",
    "3.1.3.2.1.1.2", "3.1.4.1.0", "3.1.4.2.0",   "3.1.6.1.0",   "3.1.6.2.0",
    "3.1.8.1.0",   "3.1.8.2.0",   "3.4.1.0",     "3.4.2.0",     "3.4.3.0",
    "3.1.9.1.2.1", "3.1.9.1.3.1", "3.1.9.1.2.2", "3.1.9.1.3.2", "3.1.9.1.2.3",
    "3.1.9.1.3.3", "3.1.9.1.2.4", "3.1.9.1.3.4"};

class AdminNewBase {
protected:
    // Opens the form with the main window's fields as given; waits for
    // every asynchronous read.
    TFM_AdminNew* OpenWith(TMainForm* main, const char* ipRange, const char* delFunction) {
        main->Ed_ipRangeSupported->SetText(ipRange);
        main->Ed_DelFunction->SetText(delFunction);
        form.reset(NewForm<TFM_AdminNew>(Application));
        Settle();
        return form.get();
    }
    void Settle() {
        TFM_AdminNew* f = form.get();
        for (QvSNMPRequest2Controls* g :
             {static_cast<QvSNMPRequest2Controls*>(f->IpRange.get()),
              static_cast<QvSNMPRequest2Controls*>(f->UserList.get()),
              static_cast<QvSNMPRequest2Controls*>(f->LimitState.get()),
              static_cast<QvSNMPRequest2Controls*>(f->TrapServer.get())})
            if (g) {
                EXPECT_TRUE(snmptest::WaitIdle(*g));
            }
        for (int k = 0; k < 20 && f->Writing(); ++k) {
            Application->ProcessMessages();
            g_SnmpEventProcessor.OnTimer();
        }
        Application->ProcessMessages();
    }
    // The From and To texts of the numbered list.
    std::vector<std::string> Ranges() {
        std::vector<std::string> out;
        TListView* lv = form->ListView_User;
        int from = -1, to = -1;
        for (int c = 0; c < lv->Columns().Count(); ++c) {
            if (lv->Columns()[c]->Caption() == "From") from = c;
            if (lv->Columns()[c]->Caption() == "To") to = c;
        }
        for (int r = 0; r < lv->Items().Count(); ++r)
            out.push_back(lv->Items()[r]->ColumnText(0) + " " +
                          lv->Items()[r]->ColumnText(from) + "-" +
                          lv->Items()[r]->ColumnText(to));
        return out;
    }
    std::unique_ptr<TFM_AdminNew> form;
};

class AdminNewForm : public AdminFormTest, public AdminNewBase {
protected:
    TFM_AdminNew* Open(const char* ipRange = "1", const char* delFunction = "0") {
        return OpenWith(main, ipRange, delFunction);
    }
    void TearDown() override {
        form.reset();
        AdminFormTest::TearDown();
    }
    // Apply with the old password given and the writes run out.
    void Apply() {
        form->OK->Click();
        Settle();
    }
    void AddRange(const std::string& from, const std::string& to) {
        form->Ed_FromIP->SetText(from);
        form->Ed_ToIP->SetText(to);
        form->Btn_Add->Click();
        Settle();
    }
};

TEST_F(AdminNewForm, RangeDeviceShowsWhatItAnswers) {
    TFM_AdminNew* f = Open();
    EXPECT_TRUE(f->RangeMode);
    EXPECT_TRUE(f->ListView_User->Visible());
    EXPECT_FALSE(f->Ed_IP1->Visible());
    EXPECT_TRUE(f->RB_SHH->Visible());
    EXPECT_TRUE(f->Grp_Snmp->Visible());
    EXPECT_TRUE(f->GB_Ping->Visible());
    EXPECT_TRUE(f->Cb_WLAN->Visible());
    EXPECT_TRUE(f->CheckBox_VID->Visible());
    EXPECT_EQ(f->Ed_Usr->Text(), "admin");
    for (TEdit* e : {f->Ed_OPwd, f->Ed_NPwd, f->Ed_CNP})
        EXPECT_EQ(e->Text(), "password");
    EXPECT_EQ(f->Ed_Usr->MaxLength(), 64);
    EXPECT_EQ(f->Ed_NPwd->MaxLength(), 12);
    EXPECT_EQ(f->Ed_TrapServIP->MaxLength(), 15);
    EXPECT_TRUE(f->RB_Telnet->Checked());
    EXPECT_TRUE(f->CB_Timeout->Enabled());
    EXPECT_EQ(f->CB_Timeout->Text(), "3 Mins");
    EXPECT_EQ(Ranges(), (std::vector<std::string>{"1 192.0.2.10-192.0.2.20"}));
    EXPECT_EQ(f->ListView_IpRange->Items().Count(), 4);
    EXPECT_FALSE(f->CkBx_ManagerState->Checked());
    EXPECT_FALSE(f->Btn_Add->Enabled());
    EXPECT_FALSE(f->Ed_TrapServIP->Enabled());
    EXPECT_EQ(f->CB_Ping->Text(), "Enable");
    EXPECT_TRUE(SetLog().empty());
    Grab(f, "adminnew-range.png");
}

TEST_F(AdminNewForm, RoundTripKeepsWhatTheDeviceHeld) {
    const auto before = Snapshot(kAdminObjects);
    TFM_AdminNew* f = Open();
    Apply();
    EXPECT_EQ(ui.Boxes().Count(), 0);
    ASSERT_EQ(waits.size(), 1u);
    EXPECT_EQ(Status(f->StatusBar), "Setting Success!");
    EXPECT_EQ(Snapshot(kAdminObjects), before);
    // Every group in order, both protocols off right before the console's
    // own writes; the trap server last.
    EXPECT_EQ(SetLog(), (std::vector<std::string>{
                            "3.1.1.0", "3.1.2.0",                 // login
                            "3.1.3.0",                            // limit state
                            "3.4.1.0", "3.4.2.0", "3.4.3.0",      // both protocols off
                            "3.4.1.0", "3.4.2.0", "3.4.3.0",      // console
                            "3.1.6.2.0",                          // WLAN
                            "3.1.8.1.0", "3.1.8.2.0",             // VID
                            "3.1.6.1.0",                          // ping
                            "3.1.4.2.0",                          // trap, LBS off
                        }));
}

TEST_F(AdminNewForm, SingleAddressDeviceRoundTrip) {
    const auto before = Snapshot(kAdminObjects);
    TFM_AdminNew* f = Open("0", "1");
    EXPECT_FALSE(f->RangeMode);
    EXPECT_TRUE(f->Ed_IP1->Visible());
    EXPECT_FALSE(f->ListView_User->Visible());
    EXPECT_FALSE(f->RB_SHH->Visible());
    EXPECT_EQ(f->Ed_IP1->Text(), "192.0.2.100");
    EXPECT_EQ(f->Ed_IP2->Text(), ""); // 0.0.0.0 is shown empty
    Grab(f, "adminnew-single.png");
    Apply();
    EXPECT_EQ(ui.Boxes().Count(), 0);
    EXPECT_EQ(waits.size(), 1u);
    EXPECT_EQ(Snapshot(kAdminObjects), before);
    const auto log = SetLog();
    EXPECT_EQ(std::count(log.begin(), log.end(), "3.1.3.1.0"), 1);
    EXPECT_EQ(std::count(log.begin(), log.end(), "3.4.3.0"), 0);
    EXPECT_EQ(std::count(log.begin(), log.end(), "3.1.3.2.1.1.1"), 0); // limit off
}

TEST_F(AdminNewForm, SingleAddressesWrittenWithTheLimit) {
    TFM_AdminNew* f = Open("0", "1");
    f->CkBx_ManagerState->Click();
    EXPECT_TRUE(f->WriteManagerIP);
    EXPECT_TRUE(f->Ed_IP1->Enabled());
    f->Ed_IP1->SetText("");
    f->Ed_IP2->SetText("192.0.2.7");
    Apply();
    EXPECT_EQ(ui.Boxes().Count(), 0);
    EXPECT_EQ(dev->peek("qvEnterprise.11.37.4.3.1.3.1.0"), "1");
    EXPECT_EQ(dev->peek("qvEnterprise.11.37.4.3.1.3.2.1.1.1"), "0.0.0.0");
    EXPECT_EQ(dev->peek("qvEnterprise.11.37.4.3.1.3.2.1.1.2"), "192.0.2.7");
    EXPECT_EQ(f->Ed_IP1->Text(), "");
}

// Each check's message, caption and what it leaves behind; nothing written.
// Case k also breaks every later check: its own message is the one shown,
// so the checks run in the order of the table.
TEST_F(AdminNewForm, ApplyChecks) {
    struct Check {
        const char* name;
        std::function<void(TFM_AdminNew*)> breakIt;
        const char* message;
        std::function<bool(TFM_AdminNew*)> after;
    };
    const std::vector<Check> checks = {
        {"VID without Multi-SSID",
         [](TFM_AdminNew* f) {
             f->Cb_Mussid->SetItemIndex(0);
             f->CheckBox_VID->SetChecked(true);
         },
         "Please enable Multi-SSID and VLAN first!",
         [](TFM_AdminNew* f) { return !f->CheckBox_VID->Checked(); }},
        {"VID out of range",
         [](TFM_AdminNew* f) {
             f->Cb_Mussid->SetItemIndex(1);
             f->Cb_VLAN->SetItemIndex(1);
             f->CheckBox_VID->SetChecked(true);
             f->Ed_VID->SetText("4095");
         },
         "Please input a number between 1 and 4094.!",
         [](TFM_AdminNew* f) { return f->Ed_VID->Text().empty(); }},
        {"no address",
         [](TFM_AdminNew* f) {
             f->CkBx_ManagerState->SetChecked(true);
             f->Ed_IP1->SetText("");
             f->Ed_IP2->SetText("");
         },
         "You at least must input one IP address!",
         [](TFM_AdminNew* f) { return f->Ed_IP1->Text().empty() && f->Ed_IP2->Text().empty(); }},
        {"bad address",
         [](TFM_AdminNew* f) {
             f->CkBx_ManagerState->SetChecked(true);
             f->Ed_IP2->SetText("192.0.2.300");
         },
         "Invalid IP address!", [](TFM_AdminNew* f) { return f->Ed_IP2->Focused(); }},
        {"old password", [](TFM_AdminNew* f) { f->Ed_OPwd->SetText("nope"); },
         "Please input the current password correctly!",
         [](TFM_AdminNew* f) { return f->Ed_OPwd->Text() == "nope"; }},
        {"long name",
         [](TFM_AdminNew* f) { f->Ed_Usr->SetText(std::string(64, 'a') + " "); },
         "Please limit user name to 64 characters!",
         [](TFM_AdminNew* f) { return f->Ed_Usr->Text().empty(); }},
        {"bad name", [](TFM_AdminNew* f) { f->Ed_Usr->SetText("ad min"); }, "Invaild UserName!",
         [](TFM_AdminNew* f) { return f->Ed_Usr->Text().empty() && f->Ed_Usr->Focused(); }},
        {"long password",
         [](TFM_AdminNew* f) { f->Ed_NPwd->SetText(std::string(13, 'p')); },
         "Please limit password to 12 characters!",
         [](TFM_AdminNew* f) { return f->Ed_NPwd->Text().empty(); }},
        {"confirmation", [](TFM_AdminNew* f) { f->Ed_CNP->SetText("other"); },
         "Please input the confirm new password correctly!",
         [](TFM_AdminNew* f) { return f->Ed_CNP->Text() == "other"; }},
        {"trap server",
         [](TFM_AdminNew* f) {
             f->CkBx_LBS->SetChecked(true);
             f->Ed_TrapServIP->SetText("trap");
         },
         "Invalid IP address!", [](TFM_AdminNew* f) { return f->Ed_TrapServIP->Focused(); }},
    };
    for (size_t k = 0; k < checks.size(); ++k) {
        SCOPED_TRACE(checks[k].name);
        // The single-address device: every check applies to it.
        TFM_AdminNew* f = Open("0");
        f->Show();
        // Later checks first, so that an earlier one wins a shared edit.
        for (size_t j = checks.size(); j-- > k;)
            checks[j].breakIt(f);
        Apply();
        ASSERT_EQ(ui.Boxes().Count(), 1);
        EXPECT_EQ(ui.Boxes().Last().text, checks[k].message);
        EXPECT_EQ(ui.Boxes().Last().caption, "Warning");
        EXPECT_TRUE(checks[k].after(f));
        EXPECT_TRUE(SetLog().empty());
        EXPECT_TRUE(waits.empty());
        ui.Boxes().Clear();
        form.reset();
    }
}

TEST_F(AdminNewForm, EmptyUserNameAndValidVidPass) {
    ASSERT_TRUE(dev->poke("qvEnterprise.11.37.4.2.9.3.1.1.0", "1"));
    ASSERT_TRUE(dev->poke("qvEnterprise.11.37.4.2.9.1.1.1.0", "1"));
    TFM_AdminNew* f = Open();
    f->Ed_Usr->SetText("");
    f->CheckBox_VID->SetChecked(true);
    EXPECT_TRUE(f->Ed_VID->Enabled());
    f->Ed_VID->SetText("4094");
    Apply();
    EXPECT_EQ(ui.Boxes().Count(), 0);
    EXPECT_EQ(dev->peek("qvEnterprise.11.37.4.3.1.1.0"), "");
    EXPECT_EQ(dev->peek("qvEnterprise.11.37.4.3.1.8.1.0"), "1");
    EXPECT_EQ(dev->peek("qvEnterprise.11.37.4.3.1.8.2.0"), "4094");
}

TEST_F(AdminNewForm, ConsoleChoices) {
    struct {
        TRadioButton* TFM_AdminNew::*button;
        const char* telnet;
        const char* ssh;
        bool timeoutSent;
    } cases[] = {
        {&TFM_AdminNew::RB_None, "0", "0", false},
        {&TFM_AdminNew::RB_SHH, "0", "1", true},
        {&TFM_AdminNew::RB_Telnet, "1", "0", true},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(dev->poke("qvEnterprise.11.37.4.3.4.2.0", "2"));
        TFM_AdminNew* f = Open();
        (f->*c.button)->Click();
        EXPECT_EQ(f->CB_Timeout->Enabled(), c.timeoutSent);
        f->CB_Timeout->SetItemIndex(5);
        Apply();
        EXPECT_EQ(ui.Boxes().Count(), 0);
        EXPECT_EQ(dev->peek("qvEnterprise.11.37.4.3.4.1.0"), c.telnet);
        EXPECT_EQ(dev->peek("qvEnterprise.11.37.4.3.4.3.0"), c.ssh);
        EXPECT_EQ(dev->peek("qvEnterprise.11.37.4.3.4.2.0"), c.timeoutSent ? "5" : "2");
        form.reset();
    }
}

// The user's trap settings reach the device before success is reported.
TEST_F(AdminNewForm, TrapServerIsWritten) {
    TFM_AdminNew* f = Open();
    f->CkBx_LBS->Click();
    EXPECT_TRUE(f->Ed_TrapServIP->Enabled());
    f->Ed_TrapServIP->SetText("192.0.2.201");
    Apply();
    EXPECT_EQ(ui.Boxes().Count(), 0);
    EXPECT_EQ(dev->peek("qvEnterprise.11.37.4.3.1.4.1.0"), "192.0.2.201");
    EXPECT_EQ(dev->peek("qvEnterprise.11.37.4.3.1.4.2.0"), "1");
    EXPECT_EQ(waits.size(), 1u);
}

// A refused write of any group: no success, no dialog, the failure shown.
TEST_F(AdminNewForm, RefusedWriteReportsErrorNotSuccess) {
    const char* refused[] = {"qvEnterprise.11.37.4.3.1.4.2.0", "qvEnterprise.11.37.4.3.1.3.0",
                             "qvEnterprise.11.37.4.3.1.1.0"};
    for (const char* oid : refused) {
        SCOPED_TRACE(oid);
        TFM_AdminNew* f = Open();
        ASSERT_TRUE(dev->fault(oid, "badValue", "set"));
        Apply();
        EXPECT_EQ(Status(f->StatusBar), "Setting Error!");
        EXPECT_TRUE(waits.empty());
        EXPECT_EQ(ui.Boxes().Count(), 1);
        EXPECT_EQ(f->Ed_Pwd->Text(), "password");
        dev->clearFaults();
        ui.Boxes().Clear();
        form.reset();
    }
}

TEST_F(AdminNewForm, EmptyRangeListTurnsTheLimitOffWithItsRealResult) {
    ASSERT_TRUE(dev->poke("qvEnterprise.11.37.4.3.1.9.1.2.1", "0.0.0.0"));
    ASSERT_TRUE(dev->poke("qvEnterprise.11.37.4.3.1.9.1.3.1", "0.0.0.0"));
    struct {
        bool refused;
        const char* status;
    } cases[] = {{false, "Set OK!"}, {true, "Setting Error!"}};
    for (const auto& c : cases) {
        ASSERT_TRUE(dev->poke("qvEnterprise.11.37.4.3.1.3.0", "1"));
        TFM_AdminNew* f = Open();
        EXPECT_TRUE(f->CkBx_ManagerState->Checked());
        EXPECT_TRUE(f->Btn_Add->Enabled());
        if (c.refused) {
            ASSERT_TRUE(dev->fault("qvEnterprise.11.37.4.3.1.3.0", "genErr", "set"));
        }
        Apply();
        ASSERT_GE(ui.Boxes().Count(), 1);
        EXPECT_EQ(ui.Boxes().Boxes()[0].text,
                  "The IP Range List is empty.\nThe Limit Administrator IP function will be "
                  "disabled!!");
        EXPECT_FALSE(f->CkBx_ManagerState->Checked());
        EXPECT_EQ(Status(f->StatusBar), c.status);
        EXPECT_EQ(dev->peek("qvEnterprise.11.37.4.3.1.3.0"), c.refused ? "1" : "0");
        EXPECT_EQ(SetLog(), c.refused ? std::vector<std::string>{}
                                      : std::vector<std::string>{"3.1.3.0"});
        EXPECT_TRUE(waits.empty());
        dev->clearFaults();
        ui.Boxes().Clear();
        form.reset();
    }
}

TEST_F(AdminNewForm, RangesAddAndDelete) {
    ASSERT_TRUE(dev->poke("qvEnterprise.11.37.4.3.1.3.0", "1"));
    TFM_AdminNew* f = Open();
    AddRange("192.0.2.30", "192.0.2.40");
    EXPECT_EQ(Status(f->StatusBar), "Set OK!");
    EXPECT_EQ(f->Ed_FromIP->Text(), "");
    EXPECT_EQ(dev->peek("qvEnterprise.11.37.4.3.1.9.1.2.2"), "192.0.2.30");
    EXPECT_EQ(dev->peek("qvEnterprise.11.37.4.3.1.9.1.3.2"), "192.0.2.40");
    EXPECT_EQ(Ranges(), (std::vector<std::string>{"1 192.0.2.10-192.0.2.20",
                                                  "2 192.0.2.30-192.0.2.40"}));
    EXPECT_EQ(ui.Boxes().Count(), 0);

    // Delete the first: its slot is free again and the list renumbers.
    f->ListView_User->ClickItem(f->ListView_User->Items()[0]);
    EXPECT_TRUE(f->Btn_Del->Enabled());
    dev->takeSetLog();
    f->Btn_Del->Click();
    Settle();
    EXPECT_EQ(Status(f->StatusBar), "Delete OK!");
    EXPECT_EQ(dev->peek("qvEnterprise.11.37.4.3.1.9.1.2.1"), "0.0.0.0");
    EXPECT_EQ(dev->peek("qvEnterprise.11.37.4.3.1.9.1.3.1"), "0.0.0.0");
    EXPECT_EQ(dev->peek("qvEnterprise.11.37.4.3.1.9.1.2.2"), "192.0.2.30");
    EXPECT_EQ(SetLog(), (std::vector<std::string>{"3.1.9.1.2.1", "3.1.9.1.3.1"}));
    EXPECT_EQ(Ranges(), (std::vector<std::string>{"1 192.0.2.30-192.0.2.40"}));
    EXPECT_FALSE(f->Btn_Del->Enabled());

    // The range behind the free first slot is still a duplicate.
    AddRange("192.0.2.30", "192.0.2.40");
    ASSERT_EQ(ui.Boxes().Count(), 1);
    EXPECT_EQ(ui.Boxes().Last().text, "The same IP range has been added");
    EXPECT_TRUE(SetLog().empty());
}

TEST_F(AdminNewForm, AddChecks) {
    struct {
        const char* from;
        const char* to;
        const char* message;
        const char* caption;
    } cases[] = {
        {"192.0.2.1", "", "Please input valid IP address", "Waring"},
        {"x", "192.0.2.1", "Please input valid IP address", "Waring"},
        {"192.0.2.9", "192.0.2.8", "The IP range is not right,Please check...", "Warning"},
        {"192.0.2.10", "192.0.2.20", "The same IP range has been added", "Warning"},
    };
    ASSERT_TRUE(dev->poke("qvEnterprise.11.37.4.3.1.3.0", "1"));
    Open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        AddRange(c.from, c.to);
        ASSERT_EQ(ui.Boxes().Count(), 1);
        EXPECT_EQ(ui.Boxes().Last().text, c.message);
        EXPECT_EQ(ui.Boxes().Last().caption, c.caption);
        EXPECT_TRUE(SetLog().empty());
        ui.Boxes().Clear();
    }
}

// Four ranges: Add refuses before any check; a full table is never
// overwritten, also when the numbered list shows fewer rows.
TEST_F(AdminNewForm, FullTableRefusesAdd) {
    for (int slot = 2; slot <= 4; ++slot) {
        const std::string n = std::to_string(slot);
        ASSERT_TRUE(dev->poke("qvEnterprise.11.37.4.3.1.9.1.2." + n, "192.0.2." + n + "0"));
        ASSERT_TRUE(dev->poke("qvEnterprise.11.37.4.3.1.9.1.3." + n, "192.0.2." + n + "5"));
    }
    ASSERT_TRUE(dev->poke("qvEnterprise.11.37.4.3.1.3.0", "1"));
    TFM_AdminNew* f = Open();
    ASSERT_EQ(f->ListView_User->Items().Count(), 4);
    AddRange("bad", "worse");
    ASSERT_EQ(ui.Boxes().Count(), 1);
    EXPECT_EQ(ui.Boxes().Last().text, "Maximum number of IP Range List is 4!!");
    EXPECT_EQ(ui.Boxes().Last().caption, "Waring");
    ui.Boxes().Clear();

    // The list lost a row the table still holds: no free slot is found.
    f->ListView_User->Items().Delete(3);
    AddRange("192.0.2.90", "192.0.2.99");
    ASSERT_EQ(ui.Boxes().Count(), 1);
    EXPECT_EQ(ui.Boxes().Last().text, "Maximum number of IP Range List is 4!!");
    EXPECT_TRUE(SetLog().empty());
    EXPECT_EQ(dev->peek("qvEnterprise.11.37.4.3.1.9.1.2.1"), "192.0.2.10");
}

TEST_F(AdminNewForm, RefusedRangeWriteIsReported) {
    ASSERT_TRUE(dev->poke("qvEnterprise.11.37.4.3.1.3.0", "1"));
    TFM_AdminNew* f = Open();
    ASSERT_TRUE(dev->fault("qvEnterprise.11.37.4.3.1.9.1.2.2", "badValue", "set"));
    AddRange("192.0.2.30", "192.0.2.40");
    EXPECT_EQ(Status(f->StatusBar), "Setting Error!");
    EXPECT_EQ(f->Ed_FromIP->Text(), "192.0.2.30");
    EXPECT_EQ(dev->peek("qvEnterprise.11.37.4.3.1.9.1.2.2"), "0.0.0.0");
}

// The old firmware answers none of the extended objects: their controls
// are hidden and Apply writes only what the device has.
class AdminNewOnOldFirmware : public OldAdminFormTest, public AdminNewBase {
protected:
    void TearDown() override {
        form.reset();
        OldAdminFormTest::TearDown();
    }
};

TEST_F(AdminNewOnOldFirmware, MissingGroupsHiddenAndNeverWritten) {
    TFM_AdminNew* f = OpenWith(main, "0", "1");
    EXPECT_FALSE(f->VidFlag);
    EXPECT_FALSE(f->CheckBox_VID->Visible());
    EXPECT_FALSE(f->Cb_WLAN->Visible());
    EXPECT_FALSE(f->Grp_Snmp->Visible());
    EXPECT_FALSE(f->GB_Ping->Visible());
    EXPECT_FALSE(f->LimitFlag);
    EXPECT_EQ(f->Ed_IP1->Text(), "");
    Grab(f, "adminnew-old.png");
    // The limit and its addresses were not answered: they cannot be chosen,
    // and nothing typed into them is taken for written.
    EXPECT_FALSE(f->CkBx_ManagerState->Enabled());
    EXPECT_FALSE(f->Ed_IP1->Enabled());
    EXPECT_FALSE(f->Ed_IP2->Enabled());
    f->CkBx_ManagerState->Click();
    EXPECT_FALSE(f->CkBx_ManagerState->Checked());
    EXPECT_FALSE(f->WriteManagerIP);
    EXPECT_FALSE(f->Ed_IP1->Enabled());
    f->OK->Click();
    Settle();
    // What the old firmware has is written and goes through.
    EXPECT_EQ(ui.Boxes().Count(), 0);
    EXPECT_EQ(waits.size(), 1u);
    EXPECT_EQ(Status(f->StatusBar), "Setting Success!");
    const auto log = SetLog();
    EXPECT_EQ(log, (std::vector<std::string>{"3.1.1.0", "3.1.2.0", "3.4.1.0", "3.4.2.0",
                                             "3.4.1.0", "3.4.2.0"}));
    for (const auto& oid : log)
        EXPECT_TRUE(oid.rfind("3.1.8", 0) != 0 && oid.rfind("3.1.6", 0) != 0 &&
                    oid.rfind("3.1.3", 0) != 0)
            << oid;
}

// SSH offered by the main window on a device that does not answer for it:
// the radio cannot be chosen, so telnet is never switched off for it.
TEST_F(AdminNewOnOldFirmware, UnansweredSshCannotBeChosen) {
    TFM_AdminNew* f = OpenWith(main, "0", "0");
    EXPECT_FALSE(f->SshFlag);
    EXPECT_FALSE(f->RB_SHH->Enabled());
    f->RB_SHH->Click();
    EXPECT_FALSE(f->RB_SHH->Checked());
    EXPECT_TRUE(f->RB_Telnet->Checked());
    f->OK->Click();
    Settle();
    EXPECT_EQ(dev->peek("qvEnterprise.11.37.4.3.4.1.0"), "1");
    const auto log = SetLog();
    EXPECT_EQ(std::count(log.begin(), log.end(), "3.4.3.0"), 0);
}

// A group whose read failed at opening is never written and its controls
// cannot be changed; Apply leaves its objects as the device holds them.
TEST_F(AdminNewForm, FailedReadsAreNeverWritten) {
    struct Case {
        const char* name;
        const char* faulted; // read of this object fails
        const char* ipRange;
        std::vector<std::string> objects; // never written, unchanged
        std::function<std::vector<TControl*>(TFM_AdminNew*)> disabled;
    } cases[] = {
        {"login", "qvEnterprise.11.37.4.3.1.1.0", "1", {"3.1.1.0", "3.1.2.0"},
         [](TFM_AdminNew* f) {
             return std::vector<TControl*>{f->Ed_Usr, f->Ed_OPwd, f->Ed_NPwd, f->Ed_CNP};
         }},
        {"telnet", "qvEnterprise.11.37.4.3.4.1.0", "1", {"3.4.1.0", "3.4.2.0", "3.4.3.0"},
         [](TFM_AdminNew* f) {
             return std::vector<TControl*>{f->RB_None, f->RB_Telnet, f->RB_SHH, f->CB_Timeout};
         }},
        {"ssh", "qvEnterprise.11.37.4.3.4.3.0", "1", {"3.4.3.0"},
         [](TFM_AdminNew* f) { return std::vector<TControl*>{f->RB_SHH}; }},
        {"limit", "qvEnterprise.11.37.4.3.1.3.0", "1", {"3.1.3.0"},
         [](TFM_AdminNew* f) {
             return std::vector<TControl*>{f->CkBx_ManagerState, f->Ed_FromIP, f->Btn_Add};
         }},
        {"manager addresses", "qvEnterprise.11.37.4.3.1.3.2", "0",
         {"3.1.3.2.1.1.1", "3.1.3.2.1.1.2"},
         [](TFM_AdminNew* f) { return std::vector<TControl*>{f->Ed_IP1, f->Ed_IP2}; }},
        {"trap server", "qvEnterprise.11.37.4.3.1.4", "1", {"3.1.4.1.0", "3.1.4.2.0"},
         [](TFM_AdminNew* f) { return std::vector<TControl*>{f->CkBx_LBS, f->Ed_TrapServIP}; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(dev->poke("qvEnterprise.11.37.4.3.1.3.1.0", "1"));
        const auto before = Snapshot(kAdminObjects);
        ASSERT_TRUE(dev->fault(c.faulted, "noSuchName", "get"));
        TFM_AdminNew* f = Open(c.ipRange);
        dev->clearFaults();
        for (TControl* control : c.disabled(f))
            EXPECT_FALSE(control->Enabled()) << control->Name();
        Apply();
        for (const auto& oid : SetLog())
            for (const auto& never : c.objects)
                EXPECT_NE(oid, never);
        EXPECT_EQ(Snapshot(kAdminObjects), before);
        ui.Boxes().Clear();
        waits.clear();
        form.reset();
    }
}

// A refused write at any step of Apply: every console object ends with the
// value it had or the one chosen, never both protocols off.
TEST_F(AdminNewForm, RefusedWriteNeverLeavesAConsoleNotChosen) {
    struct Case {
        const char* name;
        const char* refused;
        const char* ipRange;
        TRadioButton* TFM_AdminNew::*choice;
        const char* telnet; // what the device ends with
        const char* ssh;
    } cases[] = {
        {"password, unchanged", "qvEnterprise.11.37.4.3.1.2.0", "1", &TFM_AdminNew::RB_Telnet,
         "1", "0"},
        {"user name, to SSH", "qvEnterprise.11.37.4.3.1.1.0", "1", &TFM_AdminNew::RB_SHH, "1",
         "0"},
        {"limit, to SSH", "qvEnterprise.11.37.4.3.1.3.0", "1", &TFM_AdminNew::RB_SHH, "1", "0"},
        {"manager address, to SSH", "qvEnterprise.11.37.4.3.1.3.2.1.1.1", "0",
         &TFM_AdminNew::RB_SHH, "1", "0"},
        {"telnet, unchanged", "qvEnterprise.11.37.4.3.4.1.0", "1", &TFM_AdminNew::RB_Telnet, "1",
         "0"},
        {"ssh, to SSH", "qvEnterprise.11.37.4.3.4.3.0", "1", &TFM_AdminNew::RB_SHH, "1", "0"},
        {"ssh, unchanged", "qvEnterprise.11.37.4.3.4.3.0", "1", &TFM_AdminNew::RB_Telnet, "1",
         "0"},
        {"WLAN after the console, to SSH", "qvEnterprise.11.37.4.3.1.6.2.0", "1",
         &TFM_AdminNew::RB_SHH, "0", "1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(dev->reset());
        TFM_AdminNew* f = Open(c.ipRange);
        if (std::string(c.ipRange) == "0") {
            f->CkBx_ManagerState->Click();
            f->Ed_IP2->SetText("192.0.2.7");
        }
        (f->*c.choice)->Click();
        ASSERT_TRUE(dev->fault(c.refused, "badValue", "set"));
        Apply();
        dev->clearFaults();
        EXPECT_EQ(Status(f->StatusBar), "Setting Error!");
        EXPECT_TRUE(waits.empty());
        EXPECT_EQ(dev->peek("qvEnterprise.11.37.4.3.4.1.0"), c.telnet);
        EXPECT_EQ(dev->peek("qvEnterprise.11.37.4.3.4.3.0"), c.ssh);
        EXPECT_EQ(dev->peek("qvEnterprise.11.37.4.3.4.2.0"), "2");
        EXPECT_EQ(dev->peek("qvEnterprise.11.37.4.3.1.2.0"), "password");
        ui.Boxes().Clear();
        form.reset();
    }
}

// "Empty" is judged only from a walk of the range table that went
// through: one still running or failed refuses Apply, and the limit stays.
TEST_F(AdminNewForm, RangeListJudgedOnlyWhenRead) {
    struct Case {
        const char* name;
        bool stillRunning;
        const char* message;
    } cases[] = {
        {"walk still running", true,
         "The settings are still being read from the device. Please try again."},
        {"walk failed", false, "The IP Range List could not be read.\nPlease try again."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(dev->poke("qvEnterprise.11.37.4.3.1.3.0", "1"));
        TFM_AdminNew* f = Open();
        ASSERT_TRUE(f->CkBx_ManagerState->Checked());
        // The list is read again, and the device does not answer in time.
        f->ListView_User->Items().Clear();
        f->UserList->rowNumber = 1;
        if (!c.stillRunning) f->UserList->request.Timeout = 20;
        ASSERT_TRUE(dev->fault("qvEnterprise.11.37.4.3.1.9", "timeout", "get", 3000));
        f->UserList->Read();
        if (!c.stillRunning) {
            EXPECT_TRUE(snmptest::WaitIdle(*f->UserList));
            EXPECT_TRUE(f->UserList->ReadFailed());
            dev->clearFaults();
            ASSERT_TRUE(dev->waitUntilAnswering());
        }
        f->OK->Click();
        ASSERT_GE(ui.Boxes().Count(), 1);
        EXPECT_EQ(ui.Boxes().Boxes()[0].text, c.message);
        EXPECT_TRUE(f->CkBx_ManagerState->Checked());
        dev->clearFaults();
        ASSERT_TRUE(dev->waitUntilAnswering());
        Settle();
        EXPECT_EQ(dev->peek("qvEnterprise.11.37.4.3.1.3.0"), "1");
        EXPECT_TRUE(SetLog().empty());
        EXPECT_TRUE(waits.empty());
        ui.Boxes().Clear();
        form.reset();
    }
}

} // namespace
