// The DHCP server form against the simulated device: what it reads, the
// round trip of an unchanged Apply, every refusal of the dynamic pool, the
// full static pool, deleting an entry, and closing while requests are out.
#include "forms/admin/TFM_DHCP.h"

#include "binding/New_req2Edit.h"
#include "binding/QvSNMPRequest2Edits.h"
#include "forms/admin/TFM_StaticIP.h"
#include "tests/forms/admin/dhcp_fixture.h"
#include "ui/ListView.h"
#include "ui/PageControl.h"
#include "ui/StatusBar.h"

#include <ostream>

namespace {

using namespace dhcptest;

class DHCP : public FormTest {
protected:
    void Open() {
        form.reset(NewForm<TFM_DHCP>(Application));
        ASSERT_TRUE(Pump([&] { return !form->AnyBusy(); }));
        dev->takeSetLog();
    }
    void TearDown() override {
        form.reset();
        FormTest::TearDown();
    }
    std::unique_ptr<TFM_DHCP> form;
};

TEST_F(DHCP, ReadsEveryGroup) {
    Open();
    EXPECT_EQ(form->CB_Fuction1->Text(), "Enable");
    EXPECT_EQ(form->CB_Fuction2->ItemIndex(), 1);
    EXPECT_EQ(form->Ed_IPAF->Text(), "192.0.2.100");
    EXPECT_EQ(form->Ed_PoolRan->Text(), "20");
    EXPECT_EQ(form->Ed_Lease->Text(), "86400");
    EXPECT_EQ(form->CB_Status->Text(), "ON");
    EXPECT_EQ(form->Ed_ext->Text(), "192.0.2.1");
    EXPECT_EQ(form->LV_StaticPoolSet->Items().Count(), 8);
    ASSERT_EQ(form->User_ListView->Items().Count(), 2);
    EXPECT_EQ(form->User_ListView->Items()[0]->Caption(), "1");
    EXPECT_EQ(form->User_ListView->Items()[1]->SubItems()[0], "192.0.2.60");
    EXPECT_EQ(form->LV_DynPool->Items().Count(), 2);
    EXPECT_EQ(form->LV_StaticPool->Items().Count(), 1);
    EXPECT_EQ(Boxes(), std::vector<std::string>{});
    for (int p = 0; p < 3; ++p) {
        form->PageControl1->SetActivePageIndex(p);
        form->Show();
        Screenshot(form.get(), "dhcp-" + std::to_string(p + 1) + ".png");
    }
}

TEST_F(DHCP, UnchangedApplyLeavesTheDeviceAsItWas) {
    Open();
    std::vector<std::string> before;
    for (int i = 1; i <= 9; ++i)
        before.push_back(Peek("qvEnterprise.11.37.4.2.7.2." + std::to_string(i) + ".0"));
    form->Bt_Apply->Click();
    EXPECT_EQ(Boxes(), std::vector<std::string>{});
    EXPECT_EQ(modals, std::vector<std::string>{"Please wait"});
    std::vector<std::string> expected = {AP_OID ".2.7.1.0"};
    for (int i = 1; i <= 9; ++i) {
        expected.push_back(AP_OID ".2.7.2." + std::to_string(i) + ".0");
        EXPECT_EQ(Peek("qvEnterprise.11.37.4.2.7.2." + std::to_string(i) + ".0"), before[i - 1]);
    }
    EXPECT_EQ(dev->takeSetLog(), expected);
    EXPECT_EQ(Peek("qvEnterprise.11.37.4.2.7.1.0"), "1");
}

TEST_F(DHCP, DisableWritesTheFunctionOnly) {
    Open();
    form->CB_Fuction1->ChooseItem(0);
    EXPECT_FALSE(form->Ed_IPAF->Enabled());
    EXPECT_EQ(form->CB_Fuction2->ItemIndex(), 0);
    form->Bt_Apply->Click();
    EXPECT_EQ(dev->takeSetLog(), std::vector<std::string>{AP_OID ".2.7.1.0"});
    EXPECT_EQ(Peek("qvEnterprise.11.37.4.2.7.1.0"), "0");
}

struct PoolCase {
    const char* name;
    std::vector<std::pair<TEdit* TFM_DHCP::*, std::string>> values;
    std::string box; // "" : accepted and written
};
void PrintTo(const PoolCase& c, std::ostream* os) { *os << c.name; }

class DHCPApply : public DHCP, public ::testing::WithParamInterface<PoolCase> {};

TEST_P(DHCPApply, Checks) {
    const PoolCase& c = GetParam();
    Open();
    for (const auto& v : c.values)
        (form.get()->*(v.first))->SetText(v.second);
    form->Bt_Apply->Click();
    if (c.box.empty()) {
        EXPECT_EQ(Boxes(), std::vector<std::string>{});
        EXPECT_FALSE(dev->takeSetLog().empty());
    } else {
        EXPECT_EQ(Boxes(), std::vector<std::string>{c.box});
        EXPECT_TRUE(dev->takeSetLog().empty());
    }
}

using D = TFM_DHCP;
INSTANTIATE_TEST_SUITE_P(
    Pool, DHCPApply,
    ::testing::Values(
        PoolCase{"EmptyStart", {{&D::Ed_IPAF, ""}}, "Warning: Please input valid IP address"},
        PoolCase{"EmptyRange", {{&D::Ed_PoolRan, ""}},
                 "Warning: Please input a number between 1 and 255."},
        PoolCase{"CoversSystemIP", {{&D::Ed_IPAF, "192.0.2.1"}},
                 "Warning: Reject: The DHCP dynamic IP pool will cover system IP."},
        PoolCase{"CoversStaticIP", {{&D::Ed_IPAF, "192.0.2.45"}},
                 "Warning: Reject: The DHCP dynamic IP pool will cover Static IP."},
        PoolCase{"RangeZero", {{&D::Ed_PoolRan, "0"}},
                 "Error: Please input a number between 1 and 255."},
        PoolCase{"Range256", {{&D::Ed_PoolRan, "256"}},
                 "Error: Please input a number between 1 and 255."},
        PoolCase{"LeaseEmpty", {{&D::Ed_Lease, ""}},
                 "Warning: Please input a number between 60 and 31536000."},
        PoolCase{"Lease59", {{&D::Ed_Lease, "59"}},
                 "Error: Please input a number between 60 and 31536000."},
        PoolCase{"Lease31536001", {{&D::Ed_Lease, "31536001"}},
                 "Error: Please input a number between 60 and 31536000."},
        PoolCase{"Lease60", {{&D::Ed_Lease, "60"}}, ""},
        PoolCase{"Lease31536000", {{&D::Ed_Lease, "31536000"}}, ""},
        PoolCase{"EmptyGateway", {{&D::Ed_Gateway, ""}}, "Waring: Please input valid Gateway."},
        PoolCase{"EmptyWinsAndDns", {{&D::Ed_Wins, ""}, {&D::Ed_DNS, ""}}, ""},
        PoolCase{"BadStart", {{&D::Ed_IPAF, "192.0.2.255"}}, "Waring: Please input valid IP address"},
        PoolCase{"BadWins", {{&D::Ed_Wins, "10.0.0.255"}}, "Waring: Please input valid Wins."},
        PoolCase{"BadDns", {{&D::Ed_DNS, "1.2.3"}}, "Waring: Please input valid DNS."},
        PoolCase{"BadMask", {{&D::Ed_SubMask, "255.255.255.255"}},
                 "Waring: Please input valid SubMask."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DHCP, TargetAddressAsStartIsRefused) {
    main->TargetIP = "192.0.2.130";
    Open();
    form->Ed_IPAF->SetText("192.0.2.130");
    form->Bt_Apply->Click();
    EXPECT_EQ(Boxes(),
              std::vector<std::string>{"Waring: Reject:DHCPS dynamic IP pool will cover system IP"});
    EXPECT_EQ(form->Ed_IPAF->Text(), "");
}

TEST_F(DHCP, FullStaticPoolRefusesAdd) {
    for (int r = 3; r <= 8; ++r)
        ASSERT_TRUE(dev->poke("qvEnterprise.11.37.4.2.7.3.1.1." + std::to_string(r),
                              "192.0.2." + std::to_string(80 + r)));
    Open();
    form->Bt_Add->Click();
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Warning: The static pool is full!"});
    EXPECT_TRUE(modals.empty());
}

TEST_F(DHCP, DelFreesTheRow) {
    Open();
    form->User_ListView->SetSelected(form->User_ListView->Items()[0]);
    EXPECT_TRUE(form->Bt_Del->Enabled());
    form->Bt_DelClick(nullptr);
    // While the write is out, no second operation can start.
    EXPECT_TRUE(form->StaticOperationRunning);
    EXPECT_TRUE(form->AnyBusy());
    EXPECT_FALSE(form->Bt_Add->Enabled());
    EXPECT_FALSE(form->Bt_Set->Enabled());
    EXPECT_FALSE(form->Bt_Del->Enabled());
    ASSERT_TRUE(Pump([&] { return !form->AnyBusy() && form->User_ListView->Items().Count() == 1; }));
    EXPECT_FALSE(form->StaticOperationRunning);
    EXPECT_EQ(Peek("qvEnterprise.11.37.4.2.7.3.1.1.1"), "0.0.0.0");
    EXPECT_EQ(Peek("qvEnterprise.11.37.4.2.7.3.1.2.1"), "hex:000000000000");
    EXPECT_EQ(Peek("qvEnterprise.11.37.4.2.7.3.1.1.2"), "192.0.2.60");
    EXPECT_EQ(modals, std::vector<std::string>{"Please wait"});
    EXPECT_EQ(waitTexts, std::vector<std::string>{"Waiting for listing data...|"});
}

TEST_F(DHCP, RefusedDelKeepsTheEntry) {
    Open();
    form->User_ListView->SetSelected(form->User_ListView->Items()[0]);
    ASSERT_TRUE(dev->fault("qvEnterprise.11.37.4.2.7.3.1.2.1", "badValue", "set"));
    form->Bt_DelClick(nullptr);
    ASSERT_TRUE(Pump([&] { return !form->AnyBusy(); }));
    dev->clearFaults();
    EXPECT_TRUE(modals.empty()) << "no listing wait after a refused write";
    EXPECT_FALSE(form->StaticOperationRunning);
    EXPECT_FALSE(form->RefreshListsPending);
    EXPECT_EQ(Peek("qvEnterprise.11.37.4.2.7.3.1.1.1"), "192.0.2.50");
    EXPECT_EQ(Peek("qvEnterprise.11.37.4.2.7.3.1.2.1"), "hex:0050C2AABB01");
    EXPECT_NE(form->StatusBar2->Panels()[0]->Text(), "(QvSNMP++) Ok!");
    EXPECT_EQ(form->User_ListView->Items().Count(), 2);
}

TEST_F(DHCP, StaticPoolButtonsFollowTheSelectionAndTheFunction) {
    Open();
    EXPECT_TRUE(form->Bt_Add->Enabled());
    EXPECT_FALSE(form->Bt_Set->Enabled()) << "no row selected";
    EXPECT_FALSE(form->Bt_Del->Enabled());
    form->User_ListView->SetSelected(form->User_ListView->Items()[0]);
    EXPECT_TRUE(form->Bt_Set->Enabled());
    EXPECT_TRUE(form->Bt_Del->Enabled());
    form->CB_Fuction2->ChooseItem(0);
    EXPECT_EQ(form->CB_Fuction1->ItemIndex(), 0);
    for (TWinControl* c : std::initializer_list<TWinControl*>{
             form->Bt_Add, form->Bt_Set, form->Bt_Del, form->Bt_Rfrsh, form->User_ListView})
        EXPECT_FALSE(c->Enabled()) << c->Name();
    EXPECT_EQ(form->User_ListView->Color(), clBtnFace);
    form->CB_Fuction2->ChooseItem(1);
    EXPECT_TRUE(form->Bt_Add->Enabled());
    EXPECT_TRUE(form->Bt_Rfrsh->Enabled());
    EXPECT_EQ(form->User_ListView->Color(), clWindow);
    form->User_ListView->SetSelected(nullptr);
    EXPECT_FALSE(form->Bt_Set->Enabled());
    EXPECT_FALSE(form->Bt_Del->Enabled());
}

// A group whose read failed is never written and cannot be edited.
struct UnreadCase {
    const char* name;
    const char* oid;                  // the group whose read fails
    std::vector<std::string> setLog;  // what an Apply then writes
    std::vector<std::string> boxes;
    std::vector<TWinControl* TFM_DHCP::*> disabled;
};
void PrintTo(const UnreadCase& c, std::ostream* os) { *os << c.name; }

class DHCPUnread : public DHCP, public ::testing::WithParamInterface<UnreadCase> {};

TEST_P(DHCPUnread, GroupIsLeftOut) {
    const UnreadCase& c = GetParam();
    ASSERT_TRUE(dev->fault(c.oid, "noSuchName", "get"));
    Open();
    for (auto m : c.disabled)
        EXPECT_FALSE((form.get()->*m)->Enabled()) << (form.get()->*m)->Name();
    form->Bt_ApplyClick(nullptr);
    ASSERT_TRUE(Pump([&] { return !form->AnyBusy(); }));
    dev->clearFaults();
    EXPECT_EQ(dev->takeSetLog(), c.setLog);
    EXPECT_EQ(Boxes(), c.boxes);
    EXPECT_EQ(Peek("qvEnterprise.11.37.4.2.7.2.1.0"), "192.0.2.100");
    EXPECT_EQ(Peek("qvEnterprise.11.37.4.2.7.2.8.0"), "86400");
}

using W = TWinControl * TFM_DHCP::*;
INSTANTIATE_TEST_SUITE_P(
    Read, DHCPUnread,
    ::testing::Values(
        UnreadCase{"Function", "qvEnterprise.11.37.4.2.7.1", {}, {},
                   {W(&TFM_DHCP::CB_Fuction1), W(&TFM_DHCP::CB_Fuction2),
                    W(&TFM_DHCP::Bt_Apply), W(&TFM_DHCP::StaticApply), W(&TFM_DHCP::Ed_IPAF),
                    W(&TFM_DHCP::Bt_Add)}},
        UnreadCase{"Pool", "qvEnterprise.11.37.4.2.7.2", {AP_OID ".2.7.1.0"}, {},
                   {W(&TFM_DHCP::Ed_IPAF), W(&TFM_DHCP::Ed_Lease), W(&TFM_DHCP::CB_Status)}},
        UnreadCase{"SystemAddress", "qvEnterprise.11.37.4.1.2.2", {},
                   {"Warning: Reject: The system IP could not be read."}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DHCP, StaticTableThatCannotBeReadIsNeitherJudgedNorEdited) {
    Open();
    // A walk that meets no such object just ends; a silent table fails.
    ASSERT_TRUE(dev->fault("qvEnterprise.11.37.4.2.7.3", "timeout", "get", 1500));
    form->Bt_RfrshClick(nullptr);
    ASSERT_TRUE(Pump([&] { return !form->AnyBusy(); }, 10000));
    EXPECT_FALSE(form->Bt_Add->Enabled());
    form->User_ListView->SetSelected(form->User_ListView->Items().Count() > 0
                                         ? form->User_ListView->Items()[0]
                                         : nullptr);
    EXPECT_FALSE(form->Bt_Set->Enabled());
    EXPECT_FALSE(form->Bt_Del->Enabled());
    form->Bt_Apply->Click();
    dev->clearFaults();
    EXPECT_EQ(Boxes(), std::vector<std::string>{
                           "Warning: Reject: The static DHCP Server IP pool could not be read."});
    ASSERT_TRUE(Pump([&] { return !form->AnyBusy(); }, 10000));
    EXPECT_TRUE(dev->takeSetLog().empty());
}

TEST_F(DHCP, ApplyRightAfterOpeningWaitsForTheStaticList) {
    form.reset(NewForm<TFM_DHCP>(Application));
    dev->takeSetLog();
    ASSERT_TRUE(form->StaticListRequest->busy) << "the static list walk is asynchronous";
    form->Ed_IPAF->SetText("192.0.2.45"); // the pool would cover 192.0.2.50
    form->Bt_Apply->Click();
    EXPECT_EQ(Boxes(), std::vector<std::string>{
                           "Warning: Reject: The DHCP dynamic IP pool will cover Static IP."});
    ASSERT_TRUE(Pump([&] { return !form->AnyBusy(); }));
    EXPECT_TRUE(dev->takeSetLog().empty());
}

TEST_F(DHCP, LeadingZerosNameTheSameAddresses) {
    main->TargetIP = "192.0.2.130";
    Open();
    form->Ed_IPAF->SetText("192.0.2.0130");
    form->Bt_Apply->Click();
    EXPECT_EQ(Boxes(),
              std::vector<std::string>{"Waring: Reject:DHCPS dynamic IP pool will cover system IP"});
    ui.Boxes().Clear();
    form->Ed_IPAF->SetText("192.000.002.0110");
    form->Ed_Wins->SetText("000.0.0.0");
    form->Bt_Apply->Click();
    EXPECT_EQ(Boxes(), std::vector<std::string>{});
    EXPECT_EQ(Peek("qvEnterprise.11.37.4.2.7.2.1.0"), "192.0.2.110");
    EXPECT_EQ(Peek("qvEnterprise.11.37.4.2.7.2.5.0"), "0.0.0.0");
}

// A refused write: no wait, the page says so, every value old or new.
struct RefusedCase {
    const char* name;
    const char* oid; // refused on set
    bool staticPage; // the static page's Apply
};
void PrintTo(const RefusedCase& c, std::ostream* os) { *os << c.name; }

class DHCPRefused : public DHCP, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(DHCPRefused, ShowsTheFailure) {
    const RefusedCase& c = GetParam();
    Open();
    ASSERT_EQ(form->StatusBar1->Panels()[0]->Text(), "(QvSNMP++) Ok!");
    form->Ed_Lease->SetText("600");
    ASSERT_TRUE(dev->fault(c.oid, "badValue", "set"));
    if (c.staticPage)
        form->StaticApply->Click();
    else
        form->Bt_Apply->Click();
    ASSERT_TRUE(Pump([&] { return !form->AnyBusy(); }));
    dev->clearFaults();
    EXPECT_TRUE(modals.empty()) << "no waiting dialog";
    EXPECT_EQ(ui.Boxes().Count(), 1);
    std::vector<TStatusBar*> bars = {form->StatusBar1};
    if (c.staticPage) bars.push_back(form->StatusBar2);
    for (TStatusBar* b : bars) {
        const std::string text = b->Panels()[0]->Text();
        EXPECT_NE(text, "(QvSNMP++) Ok!") << b->Name();
        EXPECT_FALSE(text.empty()) << b->Name();
    }
    EXPECT_EQ(Peek("qvEnterprise.11.37.4.2.7.1.0"), "1");
    const std::string lease = Peek("qvEnterprise.11.37.4.2.7.2.8.0");
    EXPECT_TRUE(lease == "86400" || lease == "600") << lease;
}

INSTANTIATE_TEST_SUITE_P(
    Write, DHCPRefused,
    ::testing::Values(RefusedCase{"Function", "qvEnterprise.11.37.4.2.7.1", false},
                      RefusedCase{"Pool", "qvEnterprise.11.37.4.2.7.2.8", false},
                      RefusedCase{"StaticPageFunction", "qvEnterprise.11.37.4.2.7.1", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DHCP, CloseIsRefusedWhileARefreshIsOutAndTheFormCanGoAfter) {
    Open();
    form->Bt_RfrshClick(nullptr);
    ASSERT_TRUE(form->AnyBusy());
    EXPECT_FALSE(form->CloseQuery());
    ASSERT_TRUE(Pump([&] { return !form->AnyBusy(); }));
    EXPECT_TRUE(form->CloseQuery());
    // A refresh on a silent device ends within its time-out; then the form goes.
    ASSERT_TRUE(dev->fault("qvEnterprise.11.37.4.2.7.3", "timeout", "any", 1500));
    form->Bt_RfrshClick(nullptr);
    EXPECT_FALSE(form->CloseQuery());
    ASSERT_TRUE(Pump([&] { return !form->AnyBusy(); }, 10000));
    dev->clearFaults();
    EXPECT_TRUE(form->CloseQuery());
    form.reset();
}

} // namespace
