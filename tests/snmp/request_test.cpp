// The request object against a real agent on 127.0.0.1: scalar reads, table
// walks under SNMPv1 and SNMPv2c, a set with a numbers list, failures through
// the result callback, and asynchronous completions through the pump.
#include "snmp/QvSNMPRequest.h"
#include "tests/snmp/engine_agent.h"
#include "ui/Application.h"

#include <gtest/gtest.h>

namespace {

namespace S = QvSyntax;
namespace A = QvAccess;

std::vector<QvSNMPError> g_reports;
void Collect(QvSNMPError* e) {
    g_reports.push_back(*e);
}

const QvSNMPVar kSystem[] = {
    {"1.3.6.1.2.1.1.1", "sysDescr", S::DisplayStr, A::ReadOnly, nullptr, nullptr, nullptr, nullptr,
     nullptr, nullptr},
    {"1.3.6.1.2.1.1.2", "sysObjectID", S::ObjectId, A::ReadOnly, nullptr, nullptr, nullptr, nullptr,
     nullptr, nullptr},
    {"1.3.6.1.2.1.1.3", "sysUpTime", S::TimeTicks, A::ReadOnly, nullptr, nullptr, nullptr, nullptr,
     nullptr, nullptr},
    {"1.3.6.1.2.1.1.99", "missing", S::Integer, A::ReadWrite | A::Invalid, nullptr, nullptr,
     nullptr, nullptr, nullptr, nullptr},
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}};

const QvSNMPVar kMissing[] = {
    {"1.3.6.1.2.1.1.99", "missing", S::Integer, A::ReadOnly, nullptr, nullptr, nullptr, nullptr,
     nullptr, nullptr},
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}};

// ifTable: index, description, type.
const QvSNMPVar kIfTable[] = {
    {"1.3.6.1.2.1.2.2.1.1", "ifIndex", S::Integer, A::ReadOnly, nullptr, nullptr, nullptr, nullptr,
     nullptr, nullptr},
    {"1.3.6.1.2.1.2.2.1.2", "ifDescr", S::DisplayStr, A::ReadOnly, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {"1.3.6.1.2.1.2.2.1.3", "ifType", S::Integer, A::ReadOnly, nullptr, nullptr, nullptr, nullptr,
     nullptr, nullptr},
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}};

const QvSNMPVar kWritable[] = {
    {"1.3.6.1.2.1.1.6", "sysLocation", S::DisplayStr, A::ReadWrite, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {"1.3.6.1.2.1.1.1", "sysDescr", S::DisplayStr, A::ReadWrite, nullptr, nullptr, nullptr, nullptr,
     nullptr, nullptr},
    {"1.3.6.1.2.1.1.5", "sysName", S::DisplayStr, A::ReadWrite, nullptr, nullptr, nullptr, nullptr,
     nullptr, nullptr},
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}};

class RequestTest : public ::testing::TestWithParam<int> {
protected:
    static void SetUpTestSuite() {
        agent = new testagent::Agent();
        CreateGlobalSession(std::string(LMR_BINARY_DIR));
    }
    static void TearDownTestSuite() {
        delete agent;
        agent = nullptr;
    }
    void SetUp() override {
        g_reports.clear();
        g_DefaultDevice.Port = agent->Port();
        g_DefaultSecurity.Version = static_cast<uint8_t>(GetParam());
        g_DefaultTimeout = 50;
    }
    static testagent::Agent* agent;
};
testagent::Agent* RequestTest::agent = nullptr;

TEST_P(RequestTest, ReadsScalarsAndLeavesInvalidOut) {
    QvSNMPRequest r;
    r.ResultCallback = Collect;
    r.vars = QvSNMPVarList(kSystem, SVT_SV, 0);
    bool ok = true;
    EXPECT_FALSE(r.Get(&ok, true));
    EXPECT_TRUE(ok);
    EXPECT_TRUE(g_reports.empty());
    EXPECT_NE(r.vars.Item(0)->Value->find("Linux"), std::string::npos);
    EXPECT_EQ(*r.vars.Item(1)->Value, "1.3.6.1.4.1.8072.3.2.10");
    EXPECT_NE(r.vars.Item(2)->Value->find(':'), std::string::npos);
    EXPECT_EQ(*r.vars.Item(0)->Instance, "1.3.6.1.2.1.1.1.0");
    EXPECT_TRUE(r.vars.Item(3)->Instance->empty());
}

TEST_P(RequestTest, MissingObjectIsNoSuchNameInEveryVersion) {
    QvSNMPRequest r;
    r.ResultCallback = Collect;
    r.vars = QvSNMPVarList(kMissing, SVT_SV, 0);
    bool ok = true;
    r.Get(&ok, true);
    EXPECT_FALSE(ok);
    ASSERT_EQ(g_reports.size(), 1u);
    EXPECT_EQ(g_reports[0].Code, -102);
    EXPECT_EQ(g_reports[0].Message, "(SNMP) Variable does not exist!");
    EXPECT_EQ(g_reports[0].FailureCount, 1);
    EXPECT_EQ(r.Failures, 1);
}

TEST_P(RequestTest, WalksATableToItsEnd) {
    QvSNMPRequest r;
    r.ResultCallback = Collect;
    r.vars = QvSNMPVarList(kIfTable, MVT_FMV, 1);
    bool ok = true;
    int rows = 0;
    std::vector<std::string> names;
    for (bool first = true; rows < 100 && r.Get(&ok, first); first = false) {
        ++rows;
        names.push_back(*r.vars.Item(1)->Value);
        EXPECT_EQ(*r.vars.Item(0)->Value,
                  std::to_string(rows == 1 ? 1 : std::stoi(*r.vars.Item(0)->Value)));
    }
    EXPECT_TRUE(ok);
    EXPECT_GE(rows, 1);
    EXPECT_LT(rows, 100);
    EXPECT_EQ(names[0], "lo");
    EXPECT_TRUE(g_reports.empty());
}

TEST_P(RequestTest, GetNextOnSingleValuesRaises) {
    QvSNMPRequest r;
    r.vars = QvSNMPVarList(kSystem, MVT_SV, 0);
    bool ok = true;
    try {
        r.Get(&ok, false);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.HelpContext(), -510);
    }
}

TEST_P(RequestTest, SetWritesOnlyTheNumberedAndRestores) {
    QvSNMPRequest r;
    r.ResultCallback = Collect;
    r.vars = QvSNMPVarList(kWritable, SVT_SV, 0);
    *r.vars.Item(1)->Value = "keep";
    bool ok = true;
    std::vector<std::string> values = {"loc-" + std::to_string(GetParam()), "name-x"};
    EXPECT_FALSE(r.Set(&ok, "0,2", &values));
    EXPECT_TRUE(ok) << (g_reports.empty() ? "" : g_reports[0].Message);
    EXPECT_EQ(*r.vars.Item(0)->Value, "");
    EXPECT_EQ(*r.vars.Item(1)->Value, "keep");
    EXPECT_EQ(r.vars.Item(0)->Access, A::ReadWrite);
    EXPECT_EQ(r.vars.Item(1)->Access, A::ReadWrite);
    QvSNMPRequest check;
    check.vars = QvSNMPVarList(kWritable, SVT_SV, 0);
    check.Get(&ok, true);
    EXPECT_EQ(*check.vars.Item(0)->Value, values[0]);
    EXPECT_EQ(*check.vars.Item(2)->Value, "name-x");
}

TEST_P(RequestTest, DeadPortTimesOutWithClassText) {
    QvSNMPRequest r;
    r.ResultCallback = Collect;
    r.Device.Port = testagent::FreeUdpPort();
    r.Timeout = 20;
    r.Retries = 0;
    r.vars = QvSNMPVarList(kSystem, SVT_SV, 0);
    bool ok = true;
    r.Get(&ok, true);
    EXPECT_FALSE(ok);
    ASSERT_EQ(g_reports.size(), 1u);
    EXPECT_EQ(g_reports[0].Code, -405);
    EXPECT_EQ(g_reports[0].Message, "(SNMPClass) SNMP request timed out!");
}

TEST_P(RequestTest, InvalidAddressRaises) {
    QvSNMPRequest r;
    r.Device.Address = "no.such.host.invalid";
    r.vars = QvSNMPVarList(kSystem, SVT_SV, 0);
    bool ok = true;
    try {
        r.Get(&ok, true);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.HelpContext(), -509);
    }
}

TEST_P(RequestTest, AsyncWalkCompletesThroughThePump) {
    QvSNMPRequest r;
    r.vars = QvSNMPVarList(kIfTable, MVT_FMV, 1);
    int rows = 0;
    bool finished = false;
    int code = -1;
    QvDoneClosure next = [&](QvSNMPError* e, QvSNMPVarList*) {
        code = e->Code;
        if (e->Finished) {
            finished = true;
            return;
        }
        ++rows;
        r.GetAsync(next, false);
    };
    r.GetAsync(next, true);
    for (int i = 0; i < 2000 && !finished; ++i) {
        ProcessMessages();
        usleep(1000);
    }
    EXPECT_TRUE(finished);
    EXPECT_EQ(code, 0);
    EXPECT_GE(rows, 1);
    EXPECT_EQ(r.Outstanding, 0);
}

TEST_P(RequestTest, DestroyingWithAReplyDueWaitsButRunsNoClosure) {
    int calls = 0;
    auto r = std::make_unique<QvSNMPRequest>();
    r->vars = QvSNMPVarList(kSystem, SVT_SV, 0);
    r->GetAsync([&](QvSNMPError*, QvSNMPVarList*) { ++calls; }, true);
    EXPECT_EQ(r->Outstanding, 1);
    r.reset();
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(g_Snmp->Pending(), 0);
}

INSTANTIATE_TEST_SUITE_P(Versions, RequestTest, ::testing::Values(0, 1, 2));

} // namespace
