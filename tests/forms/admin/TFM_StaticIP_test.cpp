// The ping check (echo attempts, which replies count, no ICMP at all, the
// real one against 127.0.0.1), the address numbers of the pool checks in
// both variants, the MAC comparison, and the static pool entry dialog
// opened from the DHCP form: add, set, moving a MAC, every refusal.
#include "forms/admin/TFM_StaticIP.h"

#include "binding/QvSNMPRequest2Edits.h"
#include "forms/admin/IpEditToNumber.h"
#include "forms/admin/TFM_DHCP.h"
#include "tests/forms/admin/dhcp_fixture.h"
#include "ui/ListView.h"
#include "ui/StatusBar.h"

#include <ostream>

namespace {

using namespace dhcptest;

// --- PingHost ------------------------------------------------------------------------

TEST(IcmpChecksum, MakesTheSentBytesSumToZero) {
    std::uint8_t request[12] = {8, 0, 0, 0, 0x34, 0x12, 0x07, 0x00, 1, 2, 3, 4};
    const std::uint16_t sum = IcmpChecksum(request, sizeof request);
    std::memcpy(request + 2, &sum, 2);
    EXPECT_EQ(IcmpChecksum(request, sizeof request), 0);
    const std::uint8_t odd[3] = {0xFF, 0xFF, 0x01};
    EXPECT_EQ(IcmpChecksum(odd, 3), static_cast<std::uint16_t>(~0x0001u & 0xFFFF));
}

struct EchoCase {
    const char* name;
    Echo mode;
    bool raw;
    PingResult expected;
    int sends; // echo requests that went out
};
void PrintTo(const EchoCase& c, std::ostream* os) { *os << c.name; }

class PingCases : public ::testing::TestWithParam<EchoCase> {};

TEST_P(PingCases, OneMatchingReplyWithinTheAttemptsCounts) {
    const EchoCase& c = GetParam();
    int sends = 0;
    bool closed = false;
    SetIcmpChannelFactory([&] { return std::make_unique<FakeChannel>(c.mode, c.raw, &sends, &closed); });
    EXPECT_EQ(PingAddress("192.0.2.77"), c.expected);
    SetIcmpChannelFactory(nullptr);
    EXPECT_EQ(sends, c.sends);
    EXPECT_TRUE(closed) << "the channel is closed after the ping";
}

INSTANTIATE_TEST_SUITE_P(
    Ping, PingCases,
    ::testing::Values(EchoCase{"Silent", Echo::Silent, true, PingResult::Silent, 3},
                      EchoCase{"Always", Echo::Always, true, PingResult::Answered, 1},
                      EchoCase{"AlwaysWithoutHeader", Echo::Always, false, PingResult::Answered, 1},
                      EchoCase{"FirstOnly", Echo::FirstOnly, true, PingResult::Answered, 1},
                      EchoCase{"LastOnly", Echo::LastOnly, true, PingResult::Answered, 3},
                      EchoCase{"WrongId", Echo::WrongId, true, PingResult::Silent, 3},
                      EchoCase{"WrongSeq", Echo::WrongSeq, true, PingResult::Silent, 3},
                      EchoCase{"OtherHost", Echo::OtherHost, true, PingResult::Silent, 3},
                      EchoCase{"RequestOnly", Echo::RequestOnly, true, PingResult::Silent, 3}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Ping, NoIcmpAtAllIsUncheckedNotPassed) {
    SetIcmpChannelFactory([] { return std::unique_ptr<IcmpChannel>(); });
    EXPECT_EQ(PingAddress("192.0.2.77"), PingResult::Unchecked);
    EXPECT_FALSE(PingHost("192.0.2.77"));
    SetIcmpChannelFactory(nullptr);
}

TEST(Ping, UnresolvableHostSaysSo) {
    UiTestSession ui;
    SetIcmpChannelFactory([] { return std::unique_ptr<IcmpChannel>(); });
    EXPECT_FALSE(PingHost("no-such-host.invalid"));
    SetIcmpChannelFactory(nullptr);
    ASSERT_EQ(ui.Boxes().Count(), 1);
    EXPECT_EQ(ui.Boxes().Last().text, "Unable to resolve no-such-host.invalid");
}

TEST(Ping, DottedAddressesAreDecimalAndNeverResolved) {
    int sends = 0;
    bool closed = false;
    std::vector<std::string> targets;
    SetIcmpChannelFactory([&] {
        return std::make_unique<FakeChannel>(Echo::Always, true, &sends, &closed, &targets);
    });
    EXPECT_EQ(PingAddress("192.168.001.010"), PingResult::Answered);
    EXPECT_EQ(PingAddress(" 10.0.0.1"), PingResult::Answered);
    // The resolver would make these 10.0.0.1 and 1.2.3.255.
    EXPECT_EQ(PingAddress("10.1"), PingResult::Unresolved);
    EXPECT_EQ(PingAddress("1.2.3.0377"), PingResult::Unresolved);
    SetIcmpChannelFactory(nullptr);
    EXPECT_EQ(targets, (std::vector<std::string>{"192.168.1.10", "10.0.0.1"}));
}

TEST(Ping, LoopbackAnswers) {
    if (!OpenSystemIcmpChannel()) GTEST_SKIP() << "no ICMP socket for this process";
    EXPECT_EQ(PingAddress("127.0.0.1"), PingResult::Answered);
    EXPECT_TRUE(PingHost("127.0.0.1"));
}

// --- address numbers -----------------------------------------------------------------

struct NumberCase {
    const char* name;
    const char* text;
    std::uint32_t shared;
    std::uint32_t dhcp;
};
void PrintTo(const NumberCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class Numbers : public ::testing::TestWithParam<NumberCase> {};

TEST_P(Numbers, BothVariants) {
    EXPECT_EQ(IpTextToNumber(GetParam().text), GetParam().shared);
    EXPECT_EQ(DhcpIpTextToNumber(GetParam().text), GetParam().dhcp);
    TEdit edit(nullptr);
    edit.SetText(GetParam().text);
    EXPECT_EQ(IpEditToNumber(&edit), GetParam().shared);
    EXPECT_EQ(TFM_DHCP::IpEditToNumber(&edit), GetParam().dhcp);
}

INSTANTIATE_TEST_SUITE_P(
    Ip, Numbers,
    ::testing::Values(
        NumberCase{"Address", "192.168.0.100", 0xC0A80064u, 0xC0A80064u},
        NumberCase{"NoDots", "20", 20u, 20u},
        NumberCase{"PartNoNumber", "1.2.x.4", 0x01020004u, 0xFFFFFFFFu},
        NumberCase{"Empty", "", 0u, 0xFFFFFFFFu}, NumberCase{"Letters", "abc", 0u, 0xFFFFFFFFu},
        NumberCase{"Top", "255.255.255.255", 0xFFFFFFFFu, 0xFFFFFFFFu},
        // As the checks and the write read them: decimal, blanks allowed.
        NumberCase{"LeadingZerosDecimal", "192.168.001.010", 0xC0A8010Au, 0xC0A8010Au},
        NumberCase{"BlanksAround", " 192.168.0.100 ", 0xC0A80064u, 0xC0A80064u}),
    [](const auto& info) { return std::string(info.param.name); });

struct PoolCase {
    const char* name;
    const char* ip;
    bool inPool;
};
void PrintTo(const PoolCase& c, std::ostream* os) { *os << c.name; }
class Pool : public ::testing::TestWithParam<PoolCase> {};

TEST_P(Pool, StartAndRange) {
    EXPECT_EQ(InAddressPool(IpTextToNumber("192.168.0.100"), 20, IpTextToNumber(GetParam().ip)),
              GetParam().inPool);
}

INSTANTIATE_TEST_SUITE_P(Ip, Pool,
                         ::testing::Values(PoolCase{"BelowStart", "192.168.0.99", false},
                                           PoolCase{"Start", "192.168.0.100", true},
                                           PoolCase{"Last", "192.168.0.119", true},
                                           PoolCase{"PastEnd", "192.168.0.120", false},
                                           PoolCase{"LastWithZeros", "192.168.000.0119", true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Pool, StartPlusRangeDoesNotWrap) {
    // 32-bit wrap would put 0.0.0.5 inside a pool at the top of the space.
    EXPECT_FALSE(InAddressPool(0xFFFFFFF0u, 255, 5));
    EXPECT_TRUE(InAddressPool(0xFFFFFFF0u, 255, 0xFFFFFFFFu));
}

struct MacCase {
    const char* name;
    const char* a;
    const char* b;
    bool same;
};
void PrintTo(const MacCase& c, std::ostream* os) { *os << c.name; }
class Macs : public ::testing::TestWithParam<MacCase> {};

TEST_P(Macs, FullTwelveDigitsWithoutCase) {
    EXPECT_EQ(TFM_StaticIP::SameMac(GetParam().a, GetParam().b), GetParam().same);
}

INSTANTIATE_TEST_SUITE_P(Mac, Macs,
                         ::testing::Values(
                             MacCase{"Same", "0050C2AABB01", "0050C2AABB01", true},
                             MacCase{"OtherCase", "0050c2aabb01", "0050C2AABB01", true},
                             MacCase{"Short", "0050C2", "0050C2AABB01", false},
                             MacCase{"Different", "0050C2AABB01", "0050C2AABB02", false},
                             MacCase{"NotHex", "0050C2AABB0G", "0050C2AABB0g", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Macs, OnlyTwelveHexDigitsAreAMac) {
    EXPECT_TRUE(TFM_StaticIP::IsMacText("0050c2DDEE01"));
    for (const char* bad : {"ZZZZZZZZZZZZ", "00-50-C2-DD-", "0050C2DDEE0", "0050C2DDEE011",
                            "0050C2DDEE 1", ""})
        EXPECT_FALSE(TFM_StaticIP::IsMacText(bad)) << bad;
}

// --- the dialog ----------------------------------------------------------------------

class StaticIP : public FormTest {
protected:
    void Open() {
        form.reset(NewForm<TFM_DHCP>(Application));
        ASSERT_TRUE(Pump([&] { return !form->AnyBusy(); }));
        ASSERT_EQ(form->LV_StaticPoolSet->Items().Count(), 8);
        dev->takeSetLog();
    }
    void TearDown() override {
        form.reset();
        FormTest::TearDown();
    }
    // The next dialog shown gets these values and its Apply.
    void Enter(const std::vector<std::pair<TEdit* TFM_StaticIP::*, std::string>>& values) {
        ui.NextModal([this, values](TForm* f) {
            modals.push_back(f->Caption());
            for (const auto& v : values)
                (FM_StaticIP->*(v.first))->SetText(v.second);
            Screenshot(f, "static-ip.png");
            FM_StaticIP->Apply->Click();
            ASSERT_TRUE(Pump([&] { return !form->AnyBusy(); }));
            if (f->ModalResult() == mrNone) f->SetModalResult(mrCancel);
            modals.push_back("(dialog closed)");
        });
    }
    std::string Row(int row, int column) {
        return Peek("qvEnterprise.11.37.4.2.7.3.1." + std::to_string(column) + "." +
                    std::to_string(row));
    }
    void SelectUserRow(const std::string& ip) {
        for (int k = 0; k < form->User_ListView->Items().Count(); ++k)
            if (form->User_ListView->Items()[k]->SubItems()[0] == ip)
                form->User_ListView->SetSelected(form->User_ListView->Items()[k]);
    }
    std::unique_ptr<TFM_DHCP> form;
};

TEST_F(StaticIP, AddWritesTheFirstFreeRow) {
    Open();
    Enter({{&TFM_StaticIP::Ed_AsgIP, "192.0.2.70"},
           {&TFM_StaticIP::Ed_AsgMac, "0050C2DDEE01"},
           {&TFM_StaticIP::Ed_SubMask, "255.255.255.0"},
           {&TFM_StaticIP::Ed_Gatway, "192.0.2.254"}});
    form->Bt_Add->Click();
    EXPECT_EQ(Boxes(), std::vector<std::string>{});
    // The dialog is off the screen before the wait shows.
    EXPECT_EQ(modals, (std::vector<std::string>{"Static IP Pool Adding", "(dialog closed)",
                                                "Please wait"}));
    EXPECT_EQ(waitTexts, std::vector<std::string>{"Settings saved.|But the device isn't restarting."});
    EXPECT_EQ(Row(3, 1), "192.0.2.70");
    EXPECT_EQ(Row(3, 2), "hex:0050C2DDEE01");
    EXPECT_EQ(pingSends, 3) << "a new address is pinged";
    ASSERT_TRUE(Pump([&] { return !form->AnyBusy() && form->User_ListView->Items().Count() == 3; }));
}

TEST_F(StaticIP, SetOfAnEntryWhoseHostIsUpKeepsItsAddressWithoutAPing) {
    Open();
    UseEcho(Echo::Always);
    SelectUserRow("192.0.2.60");
    Enter({{&TFM_StaticIP::Ed_DomNa, "set.example"}});
    form->Bt_Set->Click();
    EXPECT_EQ(Boxes(), std::vector<std::string>{});
    EXPECT_EQ(pingSends, 0);
    EXPECT_EQ(Row(2, 7), "set.example");
    EXPECT_EQ(Row(2, 1), "192.0.2.60");
}

TEST_F(StaticIP, AddWithAMacInUseMovesItInAnyCase) {
    Open();
    Enter({{&TFM_StaticIP::Ed_AsgIP, "192.0.2.71"},
           {&TFM_StaticIP::Ed_AsgMac, "0050c2aabb02"},
           {&TFM_StaticIP::Ed_SubMask, "255.255.255.0"},
           {&TFM_StaticIP::Ed_Gatway, "192.0.2.254"}});
    form->Bt_Add->Click();
    EXPECT_EQ(Boxes(), std::vector<std::string>{});
    EXPECT_EQ(Row(2, 1), "0.0.0.0");
    EXPECT_EQ(Row(2, 2), "hex:000000000000");
    EXPECT_EQ(Row(3, 1), "192.0.2.71");
    EXPECT_EQ(Row(1, 1), "192.0.2.50") << "an unrelated entry stays";
}

TEST_F(StaticIP, SetToAMacOfAnotherEntryIsRefused) {
    Open();
    SelectUserRow("192.0.2.60");
    Enter({{&TFM_StaticIP::Ed_AsgMac, "0050C2AABB01"}});
    form->Bt_Set->Click();
    EXPECT_EQ(Boxes(), std::vector<std::string>{
                           "Warning: Reject: DHCPS static IP already exists in static DHCP server!"});
    EXPECT_EQ(FM_StaticIP->Ed_AsgMac->Text(), "0050C2AABB02") << "the old values come back";
    EXPECT_TRUE(dev->takeSetLog().empty());
}

struct RefusalCase {
    const char* name;
    std::vector<std::pair<TEdit* TFM_StaticIP::*, std::string>> values;
    Echo echo;
    std::string box;
};
void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.name; }

class StaticIPRefusals : public StaticIP, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(StaticIPRefusals, OneBoxAndNoWrite) {
    const RefusalCase& c = GetParam();
    Open();
    UseEcho(c.echo);
    std::vector<std::pair<TEdit* TFM_StaticIP::*, std::string>> values = {
        {&TFM_StaticIP::Ed_AsgIP, "192.0.2.70"},
        {&TFM_StaticIP::Ed_AsgMac, "0050C2DDEE01"},
        {&TFM_StaticIP::Ed_SubMask, "255.255.255.0"},
        {&TFM_StaticIP::Ed_Gatway, "192.0.2.254"}};
    values.insert(values.end(), c.values.begin(), c.values.end());
    Enter(values);
    form->Bt_Add->Click();
    EXPECT_EQ(Boxes(), std::vector<std::string>{c.box});
    EXPECT_TRUE(dev->takeSetLog().empty());
}

using SI = TFM_StaticIP;
INSTANTIATE_TEST_SUITE_P(
    Dialog, StaticIPRefusals,
    ::testing::Values(
        RefusalCase{"DuplicateIP", {{&SI::Ed_AsgIP, "192.0.2.50"}}, Echo::Silent,
                    "Warning: Reject: The IP has already existed. "},
        RefusalCase{"Mask", {{&SI::Ed_SubMask, "255.255.255.255"}}, Echo::Silent,
                    "Waring: Please input valid SubMask."},
        RefusalCase{"GatewayZero", {{&SI::Ed_Gatway, "0.0.0.0"}}, Echo::Silent,
                    "Waring: Please input valid Gateway."},
        RefusalCase{"Wins", {{&SI::Ed_Wins, "10.0.0.255"}}, Echo::Silent,
                    "Waring: Please input valid Wins."},
        RefusalCase{"Dns", {{&SI::Ed_DNS, "224.0.0.1"}}, Echo::Silent,
                    "Waring: Please input valid DNS."},
        RefusalCase{"IP", {{&SI::Ed_AsgIP, "1.2.3"}}, Echo::Silent,
                    "Waring: Please input valid IP address"},
        RefusalCase{"InUse", {}, Echo::LastOnly, "Warning: Reject: The IP already has been used."},
        RefusalCase{"Mac", {{&SI::Ed_AsgMac, "000000000000"}}, Echo::Silent,
                    "Warning: Please input valid MAC."},
        RefusalCase{"MacNotHex", {{&SI::Ed_AsgMac, "ZZZZZZZZZZZZ"}}, Echo::Silent,
                    "Warning: Please input valid MAC."},
        RefusalCase{"MacWithDashes", {{&SI::Ed_AsgMac, "00-50-C2-DD-"}}, Echo::Silent,
                    "Warning: Please input valid MAC."},
        RefusalCase{"DuplicateIPLeadingZero", {{&SI::Ed_AsgIP, "192.0.2.050"}}, Echo::Silent,
                    "Warning: Reject: The IP has already existed. "},
        RefusalCase{"DynamicPoolLeadingZeros", {{&SI::Ed_AsgIP, "192.0.2.0119"}}, Echo::Silent,
                    "Warning: Reject: The IP has already existed in IP Dynamic pool."},
        RefusalCase{"SystemIPLeadingZeros", {{&SI::Ed_AsgIP, "192.000.002.001"}}, Echo::Silent,
                    "Warning: Reject: The IP is the system IP."},
        RefusalCase{"ShortMac", {{&SI::Ed_AsgMac, "0050C2"}}, Echo::Silent,
                    "Warning: Please input valid MAC."},
        RefusalCase{"DynamicPool", {{&SI::Ed_AsgIP, "192.0.2.119"}}, Echo::Silent,
                    "Warning: Reject: The IP has already existed in IP Dynamic pool."},
        RefusalCase{"SystemIP", {{&SI::Ed_AsgIP, "192.0.2.1"}}, Echo::Silent,
                    "Warning: Reject: The IP is the system IP."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StaticIP, LeadingZerosArePingedAndWrittenAsDecimal) {
    Open();
    Enter({{&TFM_StaticIP::Ed_AsgIP, "192.0.2.070"},
           {&TFM_StaticIP::Ed_AsgMac, "0050C2DDEE01"},
           {&TFM_StaticIP::Ed_SubMask, "255.255.255.0"},
           {&TFM_StaticIP::Ed_Gatway, "192.0.2.254"},
           {&TFM_StaticIP::Ed_Wins, "000.000.000.000"}});
    form->Bt_Add->Click();
    EXPECT_EQ(Boxes(), std::vector<std::string>{});
    EXPECT_EQ(pingTargets, std::vector<std::string>(3, "192.0.2.70")) << "not octal 070 = 56";
    EXPECT_EQ(Row(3, 1), "192.0.2.70");
    EXPECT_EQ(Row(3, 6), "0.0.0.0");
}

TEST_F(StaticIP, AWriteReadsTheTableOnceAndThenTheList) {
    Open();
    int tableReads = 0;
    auto formDone = form->StaticPoolRequest->OnReadDone;
    form->StaticPoolRequest->OnReadDone = [&, formDone](QvSNMPRequest2Controls* s, QvSNMPError* e) {
        ++tableReads;
        if (formDone) formDone(s, e);
    };
    Enter({{&TFM_StaticIP::Ed_AsgIP, "192.0.2.70"},
           {&TFM_StaticIP::Ed_AsgMac, "0050C2DDEE01"},
           {&TFM_StaticIP::Ed_SubMask, "255.255.255.0"},
           {&TFM_StaticIP::Ed_Gatway, "192.0.2.254"}});
    form->Bt_Add->Click();
    ASSERT_TRUE(Pump([&] { return !form->AnyBusy() && form->User_ListView->Items().Count() == 3; }));
    EXPECT_EQ(tableReads, 1);
    EXPECT_EQ(form->LV_StaticPoolSet->Items()[2]->SubItems()[0], "192.0.2.70");
}

// A refused write at any step of an Add that moves a MAC leaves the table as
// it was: the row it came from keeps its entry.
struct MoveCase {
    const char* name;
    const char* oid; // refused on set
};
void PrintTo(const MoveCase& c, std::ostream* os) { *os << c.name; }

class StaticIPMoveRefused : public StaticIP, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(StaticIPMoveRefused, TableStaysAsItWas) {
    Open();
    std::vector<std::string> before;
    for (int row = 1; row <= 3; ++row)
        for (int column = 1; column <= 8; ++column)
            before.push_back(Row(row, column));
    ASSERT_TRUE(dev->fault(GetParam().oid, "badValue", "set"));
    Enter({{&TFM_StaticIP::Ed_AsgIP, "192.0.2.71"},
           {&TFM_StaticIP::Ed_AsgMac, "0050C2AABB02"},
           {&TFM_StaticIP::Ed_SubMask, "255.255.255.0"},
           {&TFM_StaticIP::Ed_Gatway, "192.0.2.254"}});
    form->Bt_Add->Click();
    dev->clearFaults();
    EXPECT_EQ(ui.Boxes().Count(), 1) << "the refusal is shown";
    EXPECT_EQ(modals, (std::vector<std::string>{"Static IP Pool Adding", "(dialog closed)"}))
        << "no wait after a refused write";
    std::vector<std::string> after;
    for (int row = 1; row <= 3; ++row)
        for (int column = 1; column <= 8; ++column)
            after.push_back(Row(row, column));
    EXPECT_EQ(after, before);
    EXPECT_FALSE(form->StaticOperationRunning);
    EXPECT_NE(form->StatusBar2->Panels()[0]->Text(), "(QvSNMP++) Ok!");
}

INSTANTIATE_TEST_SUITE_P(
    Move, StaticIPMoveRefused,
    ::testing::Values(MoveCase{"FreeingTheOldRow", "qvEnterprise.11.37.4.2.7.3.1.1.2"},
                      MoveCase{"Function", "qvEnterprise.11.37.4.2.7.1"},
                      MoveCase{"NewRow", "qvEnterprise.11.37.4.2.7.3.1.1.3"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StaticIP, RefusedSetKeepsTheEntry) {
    Open();
    SelectUserRow("192.0.2.60");
    ASSERT_TRUE(dev->fault("qvEnterprise.11.37.4.2.7.3.1.7.2", "badValue", "set"));
    Enter({{&TFM_StaticIP::Ed_DomNa, "set.example"}});
    form->Bt_Set->Click();
    dev->clearFaults();
    EXPECT_EQ(ui.Boxes().Count(), 1);
    EXPECT_EQ(modals, (std::vector<std::string>{"Static IP Pool Setting", "(dialog closed)"}));
    EXPECT_EQ(Row(2, 7), "");
    EXPECT_EQ(Row(2, 1), "192.0.2.60");
    EXPECT_EQ(Row(2, 2), "hex:0050C2AABB02");
}

TEST_F(StaticIP, NoIcmpRefusesInsteadOfPassing) {
    Open();
    SetIcmpChannelFactory([] { return std::unique_ptr<IcmpChannel>(); });
    Enter({{&TFM_StaticIP::Ed_AsgIP, "192.0.2.70"},
           {&TFM_StaticIP::Ed_AsgMac, "0050C2DDEE01"},
           {&TFM_StaticIP::Ed_SubMask, "255.255.255.0"},
           {&TFM_StaticIP::Ed_Gatway, "192.0.2.254"}});
    form->Bt_Add->Click();
    EXPECT_EQ(Boxes(),
              std::vector<std::string>{"Warning: Reject: The IP could not be checked for use."});
    EXPECT_TRUE(dev->takeSetLog().empty());
}

} // namespace
