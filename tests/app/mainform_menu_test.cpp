// The menu bar: items, captions and first visibility; the rules that the
// Advanced, Tools and Status menus apply when they open; which form a command
// asks for.
#include "tests/app/mainform_fixture.h"

#include "app/TAboutForm.h"
#include "app/TConfigForm.h"

namespace mainformtest {
namespace {

class Menus : public MainFormTest {};

TEST_F(Menus, ItemsCaptionsAndDesignVisibility) {
    TMainForm* f = Bare({"/I127.0.0.1"});
    struct Item {
        const char* name;
        const char* caption;
        bool visible;
    };
    const std::vector<std::pair<Item, std::vector<Item>>> expected = {
        {{"Home1", "Home", true},
         {{"Information1", "Information", true},
          {"hWirelessBand1", "Wireless", true},
          {"hLan1", "LAN", true}}},
        {{"advanced2", "Advanced", true},
         {{"adMode1", "Mode", true},
          {"adPerformance1", "Performance", true},
          {"adFilters2", "Filter", true},
          {"adEncryption2", "Encryption", true},
          {"adGrouping2", "Grouping", false},
          {"adDHCPServer2", "DHCP Server", true},
          {"Ad_MultiSSID", "Multi-SSID", false},
          {"RogueAP1", "Rogue AP", true}}},
        {{"tools2", "Tools", true},
         {{"tAdmin2", "Admin", true},
          {"tSystem2", "System", true},
          {"Firmware1", "Firmware", true},
          {"tUpdate2", "Configuration File", true},
          {"tMisc1", "Miscellaneous", true}}},
        {{"status2", "Status", true},
         {{"stDeviceInfo2", "Device Info", true},
          {"stStats1", "Stats", true},
          {"Client1", "Client Info", true},
          {"SystemLog", "Log", true}}},
        {{"Help1", "Help", true}, {{"About1", "About", true}}},
    };
    TMenuItem& bar = f->MainMenu1->Items();
    ASSERT_EQ(bar.Count(), static_cast<int>(expected.size()));
    for (int m = 0; m < bar.Count(); ++m) {
        const auto& [top, commands] = expected[m];
        TMenuItem* menu = bar.Items(m);
        EXPECT_EQ(menu->Name(), top.name);
        EXPECT_EQ(menu->Caption(), top.caption);
        ASSERT_EQ(menu->Count(), static_cast<int>(commands.size())) << top.name;
        for (int k = 0; k < menu->Count(); ++k) {
            EXPECT_EQ(menu->Items(k)->Name(), commands[k].name);
            EXPECT_EQ(menu->Items(k)->Caption(), commands[k].caption);
            EXPECT_EQ(menu->Items(k)->Visible(), commands[k].visible) << commands[k].name;
        }
    }
    // Before the first answer every field holds its name, the version nothing.
    EXPECT_EQ(f->Ed_FwVer->Text(), "");
    EXPECT_EQ(f->NewMultiSupport->Text(), "NewMultiSupport");
    EXPECT_EQ(TMainForm::FieldAsInt(f->NewMultiSupport), 0);
    EXPECT_FALSE(f->NewMultiSupport->Visible());
}

TEST_F(Menus, AdvancedRulesByCapabilities) {
    TMainForm* f = Bare({"/I127.0.0.1"});
    struct {
        const char* fw;
        const char* multi;     // ifMultiSSID_Edit
        const char* del;       // Ed_DelFunction
        const char* newMulti;  // NewMultiSupport
        const char* rogue;     // Edt_Rougeapsupport
        bool mode, multiSsid, grouping, rogueAp;
    } cases[] = {
        {"v2.10", "0", "1", "0", "0", false, false, false, false},
        {"v2.10", "0", "0", "1", "1", false, true, true, true},
        {"v2.05", "0", "0", "1", "0", true, false, true, false},
        {"v2.05", "1", "0", "0", "1", false, true, false, true},
        {"v3.00", "0", "Ed_DelFunction", "2", "x", false, true, true, false},
        {"v2.11", "0", "0", "0", "0", false, true, false, false},
        {"v2.1", "0", "0", "0", "0", true, false, false, false},
        {"", "ifMultiSSID_Edit", "0", "NewMultiSupport", "Edt_Rougeapsupport", true, false,
         false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.fw) + " " + c.multi + " " + c.del);
        f->Ed_FwVer->SetText(c.fw);
        f->ifMultiSSID_Edit->SetText(c.multi);
        f->Ed_DelFunction->SetText(c.del);
        f->NewMultiSupport->SetText(c.newMulti);
        f->Edt_Rougeapsupport->SetText(c.rogue);
        f->advanced2->Click();
        EXPECT_EQ(f->adMode1->Visible(), c.mode);
        EXPECT_EQ(f->adEncryption2->Visible(), c.mode);
        EXPECT_EQ(f->Ad_MultiSSID->Visible(), c.multiSsid);
        EXPECT_EQ(f->adGrouping2->Visible(), c.grouping);
        EXPECT_EQ(f->RogueAP1->Visible(), c.rogueAp);
        EXPECT_TRUE(f->adPerformance1->Visible());
        EXPECT_TRUE(f->adDHCPServer2->Visible());
    }
}

TEST_F(Menus, ToolsAdminAndMultiSsidChoices) {
    TMainForm* f = Bare({"/I127.0.0.1"});
    struct {
        const char* green;
        const char* range;
        bool misc;
    } tools[] = {{"0", "1", false}, {"0", "0", true}, {"0", "Ed_ipRangeSupported", true},
                 {"1", "0", false}, {"", "", true}};
    for (const auto& c : tools) {
        f->Ed_Green->SetText(c.green);
        f->Ed_ipRangeSupported->SetText(c.range);
        f->tools2->Click();
        EXPECT_EQ(f->tMisc1->Visible(), c.misc) << c.green << "/" << c.range;
    }

    struct {
        bool manager, range;
        const char* form;
        bool misc;
    } admin[] = {{false, false, "TFM_Admin", true},
                 {true, false, "TFM_AdminNew", false},
                 {false, true, "TFM_AdminNew", false},
                 {true, true, "TFM_AdminNew", false}};
    for (const auto& c : admin) {
        f->ManagerIpProbeOk = c.manager;
        f->IpRangeProbeOk = c.range;
        f->tAdmin2->Click();
        EXPECT_EQ(f->LastRequestedForm(), c.form);
        EXPECT_EQ(f->tMisc1->Visible(), c.misc);
    }

    struct {
        const char* value;
        const char* form;
    } multi[] = {{"0", "TFM_MultiSSIDForm"},
                 {"1", "TFM_MultiSSIDNewForm"},
                 {"2", ""},
                 {"NewMultiSupport", "TFM_MultiSSIDForm"}};
    for (const auto& c : multi) {
        f->NewMultiSupport->SetText(c.value);
        f->Ad_MultiSSID->Click();
        EXPECT_EQ(f->LastRequestedForm(), c.form) << c.value;
    }
}

TEST_F(Menus, CommandsOpenTheirFormsOrNothing) {
    TMainForm* f = Bare({"/I127.0.0.1"});
    const std::pair<TMenuItem*, const char*> commands[] = {
        {f->hWirelessBand1, "TFM_Wirless"}, {f->hLan1, "TFM_LanCfg"},
        {f->adMode1, "TFM_ModeCFG"},        {f->adPerformance1, "TFM_Performace"},
        {f->adFilters2, "TFM_Filter"},      {f->adEncryption2, "TFM_Encrypt"},
        {f->adGrouping2, "TFM_Group"},      {f->adDHCPServer2, "TFM_DHCP"},
        {f->RogueAP1, "TFM_RogueForm"},     {f->tSystem2, "TFM_Sytem"},
        {f->Firmware1, "TFM_Firmware"},     {f->tUpdate2, "TFM_CfgFile"},
        {f->tMisc1, "TFM_Misc"},            {f->stDeviceInfo2, "TFM_DevInfo"},
        {f->stStats1, "TFM_Static"},        {f->Client1, "TClientInformation"},
        {f->SystemLog, "TLogForm"},
    };
    // Built forms open (each is closed at once); the others open nothing.
    int built = 0;
    ui.OnModal([](TForm* form) { form->SetModalResult(mrCancel); });
    for (const auto& [item, form] : commands) {
        if (TMainForm::HasFormOpener(form)) ++built;
        item->Click();
        EXPECT_EQ(f->LastRequestedForm(), form);
    }
    EXPECT_EQ(ui.ModalShows(), built);

    int opened = 0;
    TMainForm::RegisterFormOpener("TFM_Sytem", [&] { ++opened; });
    f->tSystem2->Click();
    EXPECT_EQ(opened, 1);
    TMainForm::RegisterFormOpener("TFM_Sytem", nullptr);
    f->tSystem2->Click();
    EXPECT_EQ(opened, 1);
}

// The Status menu's rules with the device's answers, by firmware profile.
class StatusMenu : public MainFormTest {};

TEST_F(StatusMenu, RulesByFirmwareProfile) {
    struct {
        const char* profile;
        bool client;
        bool log;
        bool mode;
        bool misc;
        const char* admin;
    } cases[] = {
        {"new", true, true, false, false, "TFM_AdminNew"},
        {"old", false, true, true, true, "TFM_Admin"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.profile);
        lmrtest::SimOptions options;
        options.profile = c.profile;
        lmrtest::SimDevice dev(options);
        ASSERT_TRUE(dev.start()) << dev.error();
        ConfigForSim(dev);
        TMainForm* f = Start({"/I127.0.0.1", "/Rtarnok"});
        ASSERT_TRUE(Settle(f));
        f->status2->Click();
        EXPECT_EQ(f->Ifclientinfosupported->Text(), c.client ? "1" : "0");
        EXPECT_EQ(f->Client1->Visible(), c.client);
        EXPECT_EQ(f->SystemLog->Visible(), c.log);
        f->advanced2->Click();
        EXPECT_EQ(f->adMode1->Visible(), c.mode);
        f->tools2->Click();
        EXPECT_EQ(f->tMisc1->Visible(), c.misc);
        f->tAdmin2->Click();
        EXPECT_EQ(f->LastRequestedForm(), c.admin);

        // Syslog 0 hides Log; another value leaves it as it was.
        f->SyslogSupport->SetText("0");
        f->status2->Click();
        EXPECT_FALSE(f->SystemLog->Visible());
        f->SyslogSupport->SetText("5");
        f->status2->Click();
        EXPECT_FALSE(f->SystemLog->Visible());
        EXPECT_EQ(ui.Boxes().Count(), 0);

        forms.pop_back();
        delete f;
        dev.stop();
    }
}

TEST_F(StatusMenu, FailedReadFallsBackOnTheSeriesAndVersion) {
    lmrtest::SimDevice& dev = lmrtest::SimDevice::shared();
    ASSERT_TRUE(dev.running()) << dev.error();
    ConfigForSim(dev);
    TMainForm* f = Start({"/I127.0.0.1", "/Rtarnok"});
    ASSERT_TRUE(Settle(f));
    ASSERT_EQ(ModelSeriesDigit(), 3);
    ASSERT_TRUE(dev.fault("qvEnterprise.11.37.4.99.1.1.7", "noSuchName", "get"));
    struct {
        const char* fw;
        bool client;
    } cases[] = {{"v2.31", true}, {"v1.00", false}, {"v3.00", false}, {"v", false}};
    for (const auto& c : cases) {
        f->Ed_FwVer->SetText(c.fw);
        f->status2->Click();
        EXPECT_EQ(f->Client1->Visible(), c.client) << c.fw;
    }
    EXPECT_EQ(ui.Boxes().Count(), 0);
    dev.clearFaults();
}

class HomeAndHelp : public MainFormTest {};

TEST_F(HomeAndHelp, InformationShowsTheSystemGroup) {
    lmrtest::SimDevice& dev = lmrtest::SimDevice::shared();
    ASSERT_TRUE(dev.running()) << dev.error();
    ConfigForSim(dev);
    TMainForm* f = Start({"/I127.0.0.1", "/Rtarnok"});
    ASSERT_TRUE(Settle(f));
    struct Row {
        const char* label;
        int syntax;
        int access;
    };
    const Row rows[] = {{"System Description", QvSyntax::DisplayStr, QvAccess::ReadOnly},
                        {"System Object ID", QvSyntax::ObjectId, QvAccess::ReadOnly},
                        {"System Uptime", QvSyntax::TimeTicks, QvAccess::ReadOnly},
                        {"System Contact", QvSyntax::DisplayStr, QvAccess::ReadWrite},
                        {"System Name", QvSyntax::DisplayStr, QvAccess::ReadWrite},
                        {"System Location", QvSyntax::DisplayStr, QvAccess::ReadWrite}};
    bool seen = false;
    ui.NextModal([&](TForm* shown) {
        seen = true;
        auto* form = dynamic_cast<TConfigForm*>(shown);
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(form->Caption(), "Home \\ Information");
        ASSERT_EQ(form->Groups().size(), 1u);
        QvSNMPRequest2Edits* group = form->Groups()[0];
        EXPECT_EQ(group->request.Timeout, 3000);
        ASSERT_EQ(group->request.vars.Count(), 6);
        for (int k = 0; k < 6; ++k) {
            const QvSNMPVar* v = group->request.vars.Item(k);
            EXPECT_EQ(v->Oid, "1.3.6.1.2.1.1." + std::to_string(k + 1));
            EXPECT_STREQ(v->Label, rows[k].label);
            EXPECT_EQ(v->Syntax, rows[k].syntax);
            EXPECT_EQ(v->Access, rows[k].access);
        }
        EXPECT_TRUE(Pump([&] {
            return *group->request.vars.Item(0)->Value == "LMR-7300AP Wireless Access Point";
        }));
        EXPECT_TRUE(Pump([&] { return !group->busy; }));
        EXPECT_EQ(*group->request.vars.Item(5)->Value, "Lab");
        form->SetModalResult(mrOk);
    });
    f->Information1->Click();
    EXPECT_TRUE(seen);
    EXPECT_EQ(f->LastRequestedForm(), "TConfigForm");
    EXPECT_EQ(ui.Boxes().Count(), 0);
}

TEST_F(HomeAndHelp, AboutOpensTheAboutBox) {
    TMainForm* f = Bare({"/I127.0.0.1"});
    bool seen = false;
    ui.NextModal([&](TForm* shown) {
        seen = dynamic_cast<TAboutForm*>(shown) != nullptr;
        shown->SetModalResult(mrOk);
    });
    f->About1->Click();
    EXPECT_TRUE(seen);
    EXPECT_EQ(ui.ModalShows(), 1);
    EXPECT_EQ(TForm::Forms().size(), 1u); // deleted when it closed
}

} // namespace
} // namespace mainformtest
