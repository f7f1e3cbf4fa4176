// The LAN settings form against the simulated device: the round trip of an
// unchanged Apply (it restarts the device), every refusal, the pool checks
// with values read before they are judged, the ping of a new address, the
// static pool check, and the switch to DHCP.
#include "forms/admin/TFM_LanCfg.h"

#include "binding/QvSNMPRequest2Edits.h"
#include "forms/admin/TFM_DHCP.h"
#include "ui/Menu.h"
#include "tests/forms/admin/dhcp_fixture.h"
#include "ui/StatusBar.h"

#include <ostream>

namespace {

using namespace dhcptest;

const std::vector<std::string> kLanWrite = {AP_OID ".1.2.1.0", AP_OID ".1.2.2.0",
                                            AP_OID ".1.2.3.0", AP_OID ".1.2.4.0",
                                            AP_OID ".3.2.1.0"};

class Lan : public FormTest {
protected:
    void Open() {
        form.reset(NewForm<TFM_LanCfg>(Application));
        ASSERT_TRUE(Pump([&] { return !form->PoolRequest->busy; }));
        dev->takeSetLog();
    }
    void TearDown() override {
        form.reset();
        FormTest::TearDown();
    }
    std::unique_ptr<TFM_LanCfg> form;
};

TEST_F(Lan, UnchangedApplyRestartsWithTheSameValues) {
    Open();
    EXPECT_EQ(form->CB_IPFrom->Text(), "Static (Manual)");
    EXPECT_EQ(form->ED_IpAddr->Text(), "192.0.2.1");
    EXPECT_EQ(form->ED_IpAddr->MaxLength(), 15);
    form->Show();
    Screenshot(form.get(), "lan.png");
    form->BT_LanCfgOk->Click();
    EXPECT_EQ(Boxes(), std::vector<std::string>{});
    EXPECT_EQ(pingSends, 0) << "an unchanged address is not pinged";
    EXPECT_EQ(dev->takeSetLog(), kLanWrite);
    EXPECT_EQ(form->StatusBar->SimpleText(), "Set Success!");
    EXPECT_EQ(waitTexts,
              std::vector<std::string>{"Settings saved.|The system IP will be 192.0.2.1"});
    const std::string state = dev->control("state");
    EXPECT_TRUE(state == "ok restarting" || state == "ok silent") << state;
    EXPECT_EQ(waitReboot, std::vector<int>{1}) << "the wait keeps its own restart write";
    ASSERT_TRUE(dev->waitUntilAnswering());
    EXPECT_EQ(Peek("qvEnterprise.11.37.4.1.2.2.0"), "192.0.2.1");
    EXPECT_EQ(Peek("qvEnterprise.11.37.4.1.2.3.0"), "255.255.255.0");
    EXPECT_EQ(Peek("qvEnterprise.11.37.4.1.2.4.0"), "192.0.2.254");
    EXPECT_EQ(Peek("qvEnterprise.11.37.4.1.2.1.0"), "1");
    EXPECT_EQ(Peek("qvEnterprise.11.37.4.3.2.1.0"), "0");
}

TEST_F(Lan, NewAddressIsPingedCheckedAndWritten) {
    Open();
    form->ED_IpAddr->SetText("192.0.2.120");
    form->BT_LanCfgOk->Click();
    EXPECT_EQ(Boxes(), std::vector<std::string>{});
    EXPECT_EQ(pingSends, 3);
    EXPECT_EQ(dev->takeSetLog(), kLanWrite);
    // First the wait while the static pool is read, then the restart.
    EXPECT_EQ(waitTexts, (std::vector<std::string>{
                             "Please wait...|Judge the IP whether can be used.",
                             "Settings saved.|The system IP will be 192.0.2.120"}));
    EXPECT_EQ(waitReboot, (std::vector<int>{0, 1}));
    ASSERT_TRUE(dev->waitUntilAnswering());
    EXPECT_EQ(Peek("qvEnterprise.11.37.4.1.2.2.0"), "192.0.2.120");
}

struct LanCase {
    const char* name;
    TEdit* TFM_LanCfg::*edit;
    const char* value;
    Echo echo;
    std::string box;
    bool cleared;   // the edit is emptied
    bool reloaded;  // the edits show the device's values again
};
void PrintTo(const LanCase& c, std::ostream* os) { *os << c.name; }

class LanRefusals : public Lan, public ::testing::WithParamInterface<LanCase> {};

TEST_P(LanRefusals, OneBoxAndNoWrite) {
    const LanCase& c = GetParam();
    Open();
    UseEcho(c.echo);
    (form.get()->*(c.edit))->SetText(c.value);
    form->BT_LanCfgOk->Click();
    EXPECT_EQ(Boxes(), std::vector<std::string>{c.box});
    EXPECT_TRUE(dev->takeSetLog().empty());
    if (c.cleared) {
        EXPECT_EQ((form.get()->*(c.edit))->Text(), "");
    }
    if (c.reloaded) {
        EXPECT_EQ(form->ED_IpAddr->Text(), "192.0.2.1");
    }
}

using L = TFM_LanCfg;
INSTANTIATE_TEST_SUITE_P(
    Lan, LanRefusals,
    ::testing::Values(
        LanCase{"IP", &L::ED_IpAddr, "10.0.0.0", Echo::Silent,
                "Warning: Please input valid IP Address.", true, false},
        LanCase{"Mask", &L::ED_SubMask, "255.255.255.255", Echo::Silent,
                "Warning: Please input valid Subnet Mask.", true, false},
        LanCase{"Gateway", &L::ED_DefGw, "224.0.0.1", Echo::Silent,
                "Warning: Please input valid Gateway.", true, false},
        LanCase{"PoolStart", &L::ED_IpAddr, "192.0.2.100", Echo::Silent,
                "Warning: Reject: The IP conflicts with Dynamic DHCP Server IP", false, true},
        LanCase{"PoolEnd", &L::ED_IpAddr, "192.0.2.119", Echo::Silent,
                "Warning: Reject: The IP conflicts with Dynamic DHCP Server IP", false, true},
        // Past the pool: the next check, the ping, is what refuses it.
        LanCase{"PastPoolInUse", &L::ED_IpAddr, "192.0.2.120", Echo::FirstOnly,
                "Warning: Reject: The IP already has been used.", false, true},
        LanCase{"StaticPool", &L::ED_IpAddr, "192.0.2.50", Echo::Silent,
                "Warning: Reject: The IP conflicts with Static DHCP Server IP", false, true},
        // Leading zeros are decimal: the same addresses, the same refusals.
        LanCase{"StaticPoolLeadingZero", &L::ED_IpAddr, "192.0.2.050", Echo::Silent,
                "Warning: Reject: The IP conflicts with Static DHCP Server IP", false, true},
        LanCase{"PoolStartLeadingZeros", &L::ED_IpAddr, "192.000.002.0100", Echo::Silent,
                "Warning: Reject: The IP conflicts with Dynamic DHCP Server IP", false, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Lan, LeadingZerosArePingedAndWrittenAsDecimal) {
    Open();
    // As octal 0121 would be 81: the ping, the write and the text agree on 121.
    form->ED_IpAddr->SetText("192.0.2.0121");
    form->ED_DefGw->SetText("192.000.002.254");
    form->BT_LanCfgOk->Click();
    EXPECT_EQ(Boxes(), std::vector<std::string>{});
    EXPECT_EQ(pingTargets, std::vector<std::string>(3, "192.0.2.121"));
    EXPECT_EQ(dev->takeSetLog(), kLanWrite);
    ASSERT_EQ(waitTexts.size(), 2u);
    EXPECT_EQ(waitTexts[1], "Settings saved.|The system IP will be 192.0.2.121");
    ASSERT_TRUE(dev->waitUntilAnswering());
    EXPECT_EQ(Peek("qvEnterprise.11.37.4.1.2.2.0"), "192.0.2.121");
    EXPECT_EQ(Peek("qvEnterprise.11.37.4.1.2.4.0"), "192.0.2.254");
}

TEST_F(Lan, TheOpenedAddressSpeltWithZerosIsNoNewAddress) {
    Open();
    form->ED_IpAddr->SetText("192.0.2.001");
    form->BT_LanCfgOk->Click();
    EXPECT_EQ(Boxes(), std::vector<std::string>{});
    EXPECT_EQ(pingSends, 0) << "the same address is not pinged";
    EXPECT_EQ(waitTexts, std::vector<std::string>{"Settings saved.|The system IP will be 192.0.2.1"});
}

TEST_F(Lan, RefusedWriteSaysSoAndNothingRestarts) {
    Open();
    ASSERT_TRUE(dev->fault("qvEnterprise.11.37.4.1.2.4", "badValue", "set"));
    form->ED_DefGw->SetText("192.0.2.253");
    form->BT_LanCfgOk->Click();
    dev->clearFaults();
    EXPECT_EQ(form->StatusBar->SimpleText(), "Set Error!");
    EXPECT_TRUE(modals.empty()) << "no waiting dialog after a refused write";
    EXPECT_EQ(ui.Boxes().Count(), 1) << "the refusal is shown";
    EXPECT_EQ(dev->control("state"), "ok running");
    EXPECT_EQ(Peek("qvEnterprise.11.37.4.1.2.2.0"), "192.0.2.1");
    EXPECT_EQ(Peek("qvEnterprise.11.37.4.1.2.4.0"), "192.0.2.254");
    EXPECT_EQ(Peek("qvEnterprise.11.37.4.3.2.1.0"), "0");
}

TEST_F(Lan, UnreadSettingsCannotBeEditedOrWritten) {
    ASSERT_TRUE(dev->fault("qvEnterprise.11.37.4.1.2", "noSuchName", "get"));
    Open();
    dev->clearFaults();
    for (TWinControl* c : std::initializer_list<TWinControl*>{
             form->CB_IPFrom, form->ED_IpAddr, form->ED_SubMask, form->ED_DefGw,
             form->BT_LanCfgOk})
        EXPECT_FALSE(c->Enabled()) << c->Name();
    form->BT_LanCfgOkClick(nullptr);
    EXPECT_TRUE(dev->takeSetLog().empty());
    EXPECT_TRUE(modals.empty());
}

TEST_F(Lan, NoIcmpRefusesANewAddress) {
    Open();
    SetIcmpChannelFactory([] { return std::unique_ptr<IcmpChannel>(); });
    form->ED_IpAddr->SetText("192.0.2.121");
    form->BT_LanCfgOk->Click();
    EXPECT_EQ(Boxes(),
              std::vector<std::string>{"Warning: Reject: The IP could not be checked for use."});
    EXPECT_TRUE(dev->takeSetLog().empty());
}

TEST_F(Lan, PoolThatCannotBeReadRefusesInsteadOfPassing) {
    ASSERT_TRUE(dev->fault("qvEnterprise.11.37.4.2.7.2", "noSuchName", "get"));
    Open();
    form->ED_IpAddr->SetText("192.0.2.105");
    form->BT_LanCfgOk->Click();
    dev->clearFaults();
    EXPECT_EQ(Boxes(),
              std::vector<std::string>{"Warning: Reject: The DHCP Server IP pool could not be read."});
    EXPECT_TRUE(dev->takeSetLog().empty());
}

TEST_F(Lan, ApplyRightAfterOpeningWaitsForThePool) {
    form.reset(NewForm<TFM_LanCfg>(Application));
    dev->takeSetLog();
    ASSERT_TRUE(form->PoolRequest->busy) << "the pool read is asynchronous";
    form->ED_IpAddr->SetText("192.0.2.110");
    form->BT_LanCfgOk->Click();
    EXPECT_EQ(Boxes(), std::vector<std::string>{
                           "Warning: Reject: The IP conflicts with Dynamic DHCP Server IP"});
    EXPECT_TRUE(dev->takeSetLog().empty());
}

TEST_F(Lan, DynamicAsksFirstAndLeavesTheAddressOut) {
    Open();
    form->CB_IPFrom->ChooseItem(1);
    EXPECT_FALSE(form->ED_IpAddr->Visible());
    ui.Boxes().Answer(mrCancel);
    form->BT_LanCfgOk->Click();
    EXPECT_TRUE(dev->takeSetLog().empty());
    ui.Boxes().Answer(mrOk);
    form->BT_LanCfgOk->Click();
    EXPECT_EQ(dev->takeSetLog(), (std::vector<std::string>{AP_OID ".1.2.1.0", AP_OID ".3.2.1.0"}));
    EXPECT_EQ(Peek("qvEnterprise.11.37.4.1.2.1.0"), "2");
    EXPECT_EQ(form->StatusBar->SimpleText(), "Set Success!");
    EXPECT_EQ(modals, std::vector<std::string>{"Please wait"});
    EXPECT_EQ(waitReboot, std::vector<int>{1}) << "the dialog sends the restart";
    ASSERT_EQ(ui.Boxes().Count(), 2);
    EXPECT_EQ(ui.Boxes().Last().text, "Device will reboot,continue?");
    EXPECT_EQ(ui.Boxes().Last().caption, "Warning");
}

} // namespace

namespace {

using Menu = dhcptest::FormTest;

TEST_F(Menu, CommandsOpenTheForms) {
    TMainForm::RegisterModalForm<TFM_LanCfg>("TFM_LanCfg"); // as the program entry does
    TMainForm::RegisterModalForm<TFM_DHCP>("TFM_DHCP");
    ASSERT_TRUE(TMainForm::HasFormOpener("TFM_LanCfg"));
    ASSERT_TRUE(TMainForm::HasFormOpener("TFM_DHCP"));
    std::vector<std::string> opened;
    auto closeWhenIdle = [&](TForm* f) {
        opened.push_back(f->Caption());
        Pump([&] { return f->CloseQuery(); });
        f->SetModalResult(mrCancel);
    };
    ui.NextModal(closeWhenIdle);
    main->hLan1->Click();
    ui.NextModal(closeWhenIdle);
    main->adDHCPServer2->Click();
    EXPECT_EQ(opened, (std::vector<std::string>{"Home \\ LAN", "Advanced \\ DHCP Server"}));
    EXPECT_EQ(FM_LanCfg, nullptr);
    EXPECT_EQ(FM_DHCP, nullptr);
}

} // namespace
