// Tools \ Admin of the first generation against the simulated old firmware:
// the login read, every check of OK with its message, the write of a new
// login with the waiting dialog, and a refused write that leaves the
// password check where the device is.
#include "forms/admin/TFM_Admin.h"

#include "binding/QvSNMPRequest2Edits.h"
#include "tests/forms/admin/admin_fixture.h"

#include <functional>
#include <memory>

namespace {

using admintest::OldAdminFormTest;

const std::vector<std::string> kLogin = {"3.1.1.0", "3.1.2.0"};

class AdminForm : public OldAdminFormTest {
protected:
    TFM_Admin* Open() {
        form.reset(NewForm<TFM_Admin>(Application));
        return form.get();
    }
    void TearDown() override {
        form.reset();
        OldAdminFormTest::TearDown();
    }
    std::unique_ptr<TFM_Admin> form;
};

TEST_F(AdminForm, RoundTripKeepsWhatTheDeviceHeld) {
    const auto before = Snapshot(kLogin);
    TFM_Admin* f = Open();
    EXPECT_EQ(f->Ed_Usr->Text(), "admin");
    EXPECT_EQ(f->Ed_Pwd->Text(), "password");
    EXPECT_EQ(f->Ed_OPwd->Text(), "");
    for (TEdit* e : {f->Ed_Usr, f->Ed_OPwd, f->Ed_NPwd, f->Ed_CNP})
        EXPECT_EQ(e->MaxLength(), 12);
    Grab(f, "admin.png");
    f->Ed_OPwd->SetText("password");
    f->Ed_NPwd->SetText("password");
    f->Ed_CNP->SetText("password");
    f->OK->Click();
    EXPECT_EQ(SetLog(), kLogin);
    EXPECT_EQ(Snapshot(kLogin), before);
    EXPECT_EQ(waits.size(), 1u);
    EXPECT_EQ(ui.Boxes().Count(), 0);
}

// Case k also breaks every later check: its own message is the one shown,
// so the checks run in the order of the table.
TEST_F(AdminForm, ChecksInOrder) {
    struct Check {
        const char* name;
        std::function<void(TFM_Admin*)> breakIt;
        const char* message;
        bool userEmptied;
        bool newEmptied;
    };
    const std::vector<Check> checks = {
        {"wrong old password", [](TFM_Admin* f) { f->Ed_OPwd->SetText("guess"); },
         "Please input the current password correctly!", false, false},
        {"name of 41", [](TFM_Admin* f) { f->Ed_Usr->SetText(std::string(41, 'a')); },
         "Please limit user name to 40 characters!", true, false},
        {"password of 13", [](TFM_Admin* f) { f->Ed_NPwd->SetText(std::string(13, 'p')); },
         "Please limit password to 12 characters!", false, true},
        {"confirmation differs", [](TFM_Admin* f) { f->Ed_CNP->SetText("secreT"); },
         "Please input the confirm new password correctly!", false, false},
    };
    for (size_t k = 0; k < checks.size(); ++k) {
        SCOPED_TRACE(checks[k].name);
        TFM_Admin* f = Open();
        f->Ed_OPwd->SetText("password");
        f->Ed_NPwd->SetText("secret");
        f->Ed_CNP->SetText("secret");
        for (size_t j = checks.size(); j-- > k;)
            checks[j].breakIt(f);
        const std::string userBefore = f->Ed_Usr->Text();
        const std::string newBefore = f->Ed_NPwd->Text();
        f->OK->Click();
        ASSERT_EQ(ui.Boxes().Count(), 1);
        EXPECT_EQ(ui.Boxes().Last().text, checks[k].message);
        EXPECT_EQ(ui.Boxes().Last().caption, "Warning");
        EXPECT_EQ(f->Ed_Usr->Text(), checks[k].userEmptied ? std::string() : userBefore);
        EXPECT_EQ(f->Ed_NPwd->Text(), checks[k].newEmptied ? std::string() : newBefore);
        EXPECT_TRUE(SetLog().empty());
        EXPECT_TRUE(waits.empty());
        ui.Boxes().Clear();
    }
}

// Without the login read nothing can be typed and nothing is written: the
// empty old password would otherwise match the empty one shown.
TEST_F(AdminForm, FailedReadWritesNothing) {
    const auto before = Snapshot(kLogin);
    ASSERT_TRUE(dev->fault("qvEnterprise.11.37.4.3.1.1.0", "noSuchName", "get"));
    TFM_Admin* f = Open();
    dev->clearFaults();
    for (TControl* c : {static_cast<TControl*>(f->Ed_Usr), static_cast<TControl*>(f->Ed_OPwd),
                        static_cast<TControl*>(f->Ed_NPwd), static_cast<TControl*>(f->Ed_CNP),
                        static_cast<TControl*>(f->OK)})
        EXPECT_FALSE(c->Enabled()) << c->Name();
    EXPECT_TRUE(f->Cancel->Enabled());
    f->OK->Click();
    EXPECT_TRUE(SetLog().empty());
    EXPECT_EQ(Snapshot(kLogin), before);
    EXPECT_TRUE(waits.empty());
    EXPECT_EQ(Status(f->StatusBar), "Setting Error!");
    for (int k = 0; k < ui.Boxes().Count(); ++k)
        EXPECT_NE(ui.Boxes().Boxes()[k].caption, "Warning") << ui.Boxes().Boxes()[k].text;
}

TEST_F(AdminForm, NewLoginIsWrittenAndEmptyPasswordsWork) {
    TFM_Admin* f = Open();
    f->Ed_Usr->SetText(std::string(12, 'u'));
    f->Ed_OPwd->SetText("password");
    f->Ed_NPwd->SetText("");
    f->Ed_CNP->SetText("");
    f->OK->Click();
    EXPECT_EQ(ui.Boxes().Count(), 0);
    EXPECT_EQ(dev->peek("qvEnterprise.11.37.4.3.1.1.0"), std::string(12, 'u'));
    EXPECT_EQ(dev->peek("qvEnterprise.11.37.4.3.1.2.0"), "");
    EXPECT_EQ(waits.size(), 1u);
    // Now only an empty old password matches.
    form.reset();
    f = Open();
    f->Ed_OPwd->SetText("");
    f->OK->Click();
    EXPECT_EQ(ui.Boxes().Count(), 0);
    EXPECT_EQ(waits.size(), 2u);
}

TEST_F(AdminForm, RefusedWriteKeepsTheOldPasswordCheck) {
    TFM_Admin* f = Open();
    ASSERT_TRUE(dev->fault("qvEnterprise.11.37.4.3.1.2.0", "badValue", "set"));
    f->Ed_OPwd->SetText("password");
    f->Ed_NPwd->SetText("fresh");
    f->Ed_CNP->SetText("fresh");
    f->OK->Click();
    EXPECT_EQ(Status(f->StatusBar), "Setting Error!");
    EXPECT_TRUE(waits.empty());
    EXPECT_EQ(dev->peek("qvEnterprise.11.37.4.3.1.2.0"), "password");
    EXPECT_EQ(f->Ed_Pwd->Text(), "password");
    dev->clearFaults();
    ui.Boxes().Clear();
    // The device still has the old password, and the form knows it.
    f->OK->Click();
    EXPECT_EQ(ui.Boxes().Count(), 0);
    EXPECT_EQ(dev->peek("qvEnterprise.11.37.4.3.1.2.0"), "fresh");
}

} // namespace
