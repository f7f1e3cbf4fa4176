// Tools \ Admin, System and Miscellaneous from the main window: the probes
// of the device's firmware choose which administrator form opens, and each
// command opens its form.
#include "forms/admin/TFM_Admin.h"
#include "forms/admin/TFM_AdminNew.h"
#include "forms/admin/TFM_Misc.h"
#include "forms/admin/TFM_Sytem.h"

#include "tests/app/mainform_fixture.h"
#include "tests/binding/group_fixture.h"

#include <string>
#include <vector>

namespace {

class AdminCommands : public mainformtest::MainFormTest {
protected:
    static void SetUpTestSuite() { snmptest::CreateGlobalSessionInTempFolder(); }

    void SetUp() override {
        MainFormTest::SetUp();
        TFM_Admin::RegisterOpener();
        TFM_AdminNew::RegisterOpener();
        TFM_Sytem::RegisterOpener();
        TFM_Misc::RegisterOpener();
        // Each form that opens is named and closed again.
        ui.OnModal([this](TForm* form) {
            if (dynamic_cast<TFM_AdminNew*>(form)) opened.push_back("TFM_AdminNew");
            else if (dynamic_cast<TFM_Admin*>(form)) opened.push_back("TFM_Admin");
            else if (dynamic_cast<TFM_Sytem*>(form)) opened.push_back("TFM_Sytem");
            else if (dynamic_cast<TFM_Misc*>(form)) opened.push_back("TFM_Misc");
            else opened.push_back(form->Caption());
            form->SetModalResult(mrCancel);
        });
    }
    void TearDown() override {
        for (const char* name : {"TFM_Admin", "TFM_AdminNew", "TFM_Sytem", "TFM_Misc"})
            TMainForm::RegisterFormOpener(name, nullptr);
        MainFormTest::TearDown();
    }
    std::vector<std::string> opened;
};

TEST_F(AdminCommands, ProbesChooseTheGeneration) {
    struct {
        const char* profile;
        const char* admin;
    } cases[] = {{"new", "TFM_AdminNew"}, {"old", "TFM_Admin"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.profile);
        lmrtest::SimOptions options;
        options.profile = c.profile;
        lmrtest::SimDevice dev(options);
        ASSERT_TRUE(dev.start()) << dev.error();
        ConfigForSim(dev);
        TMainForm* f = Start({"/I127.0.0.1", "/Rtarnok"});
        ASSERT_TRUE(Settle(f));
        opened.clear();
        f->tAdmin2->Click();
        f->tSystem2->Click();
        f->tMisc1->Click();
        EXPECT_EQ(opened, (std::vector<std::string>{c.admin, "TFM_Sytem", "TFM_Misc"}));
        forms.pop_back();
        delete f;
        dev.stop();
    }
}

} // namespace
