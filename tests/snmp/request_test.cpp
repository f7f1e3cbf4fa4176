// The request object against the simulated device on 127.0.0.1: values of
// every syntax the static tables use, in both directions; table walks with a
// column that ends early and with decoded keys; a set with a numbers list;
// SNMPv3 users; failures through the result callback; restarts; asynchronous
// completions through the pump. The end of an agent's view needs a private
// agent whose view ends behind a table.
#include "base/Events.h"
#include "base/Exception.h"
#include "snmp/QvSNMPRequest.h"
#include "tests/snmp/engine_agent.h"
#include "tests/snmp/fake_agent.h"
#include "tests/snmp/request_sim.h"
#include "tests/support/SilentPort.h"
#include "ui/Application.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QWidget>
#include <gtest/gtest.h>

#include <map>
#include <ostream>

// Test names and failure messages show a user by name, not by its bytes.
namespace sim {
void PrintTo(const V3User& u, std::ostream* os) {
    *os << u.name;
}
} // namespace sim

namespace {

namespace S = QvSyntax;
namespace A = QvAccess;

#define X "1.3.6.1.4.1.32473.11.37.4.97"

// Objects the tests add to the device: scalars of each syntax, a table whose
// third column has one row less, and a table keyed by a MAC address and a
// name.
const char* const kExtraObjects = R"(
qvEnterprise.11.37.4.97.1.1.0 integer rw -5
qvEnterprise.11.37.4.97.1.2.0 string rw "hello world"
qvEnterprise.11.37.4.97.1.3.0 string rw hex:00FF10
qvEnterprise.11.37.4.97.1.4.0 objectid rw 1.3.6.1.4.1.32473.1
qvEnterprise.11.37.4.97.1.5.0 ipaddress rw 10.1.2.3
qvEnterprise.11.37.4.97.1.6.0 timeticks rw 8640100
qvEnterprise.11.37.4.97.1.7.0 string rw hex:000D0A1B2C3D
qvEnterprise.11.37.4.97.1.8.0 counter ro 4294967295
qvEnterprise.11.37.4.97.1.9.0 gauge ro 7
qvEnterprise.11.37.4.97.2.1.1.1 integer ro 1
qvEnterprise.11.37.4.97.2.1.1.2 integer ro 2
qvEnterprise.11.37.4.97.2.1.1.3 integer ro 3
qvEnterprise.11.37.4.97.2.1.2.1 string ro "a"
qvEnterprise.11.37.4.97.2.1.2.2 string ro "b"
qvEnterprise.11.37.4.97.2.1.2.3 string ro "c"
qvEnterprise.11.37.4.97.2.1.3.1 ipaddress ro 192.0.2.1
qvEnterprise.11.37.4.97.2.1.3.2 ipaddress ro 192.0.2.2
qvEnterprise.11.37.4.97.3.1.3.0.13.10.27.44.61.2.97.98 integer rw 11
qvEnterprise.11.37.4.97.3.1.3.0.80.194.1.2.3.1.120 integer rw 22
)";

std::vector<QvSNMPError> g_reports;
void Collect(QvSNMPError* e) {
    g_reports.push_back(*e);
}

QvSNMPVar Var(const char* oid, int syntax, int access = A::ReadWrite, const char* label = "v") {
    return {oid, label, syntax, access, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
}
const QvSNMPVar kEnd = Var(nullptr, 0, 0, nullptr);

const QvSNMPVar kSyntaxes[] = {Var(X ".1.1", S::Integer),
                               Var(X ".1.2", S::DisplayStr),
                               Var(X ".1.3", S::OctetStr),
                               Var(X ".1.4", S::ObjectId),
                               Var(X ".1.5", S::IpAddress),
                               Var(X ".1.6", S::TimeTicks),
                               Var(X ".1.7", S::MacAddress),
                               Var(X ".1.8", S::Counter, A::ReadOnly),
                               Var(X ".1.9", S::Guage, A::ReadOnly),
                               kEnd};

const QvSNMPVar kSystem[] = {Var("1.3.6.1.2.1.1.1", S::DisplayStr, A::ReadOnly),
                             Var("1.3.6.1.2.1.1.2", S::ObjectId, A::ReadOnly),
                             Var("1.3.6.1.2.1.1.3", S::TimeTicks, A::ReadOnly),
                             Var("1.3.6.1.2.1.1.99", S::Integer, A::ReadWrite | A::Invalid), kEnd};

const QvSNMPVar kMissing[] = {Var("1.3.6.1.2.1.1.99", S::Integer, A::ReadOnly), kEnd};

const QvSNMPVar kShortColumn[] = {Var(X ".2.1.1", S::Integer, A::ReadOnly),
                                  Var(X ".2.1.2", S::DisplayStr, A::ReadOnly),
                                  Var(X ".2.1.3", S::IpAddress, A::ReadOnly), kEnd};

const QvSNMPVar kKeyed[] = {Var(X ".3.1.1", S::MacAddress, A::NotAccess),
                            Var(X ".3.1.2", S::DisplayStr, A::NotAccess),
                            Var(X ".3.1.3", S::Integer, A::ReadWrite), kEnd};

const QvSNMPVar kWritable[] = {Var("1.3.6.1.2.1.1.6", S::DisplayStr),
                               Var("1.3.6.1.2.1.1.1", S::DisplayStr),
                               Var("1.3.6.1.2.1.1.5", S::DisplayStr), kEnd};

const char* const kSysDescrText = "LMR-7300AP Wireless Access Point";

// One device with the extra objects and one counter folder per test program.
struct Shared {
    lmrtest::TempDir dir;
    lmrtest::SimDevice device{reqtest::WithExtraObjects(dir, kExtraObjects)};
    Shared() {
        device.start();
        CreateGlobalSession(dir.path());
    }
};
Shared& World() {
    static Shared world;
    return world;
}

class RequestTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        ASSERT_TRUE(Dev().running()) << Dev().error();
        g_reports.clear();
        g_DefaultDevice.Port = static_cast<uint16_t>(Dev().port());
        g_DefaultSecurity = QvSNMPSecurity{};
        g_DefaultSecurity.Version = static_cast<uint8_t>(GetParam());
        g_DefaultTimeout = 50;
    }
    void TearDown() override { Dev().clearFaults(); }
    static lmrtest::SimDevice& Dev() { return World().device; }

    // Walks the request's table synchronously; one map of values per row.
    static std::vector<std::vector<std::string>> Walk(QvSNMPRequest& r, bool* ok) {
        std::vector<std::vector<std::string>> rows;
        for (bool first = true; rows.size() < 100 && r.Get(ok, first); first = false) {
            rows.emplace_back();
            for (int i = 0; i < r.vars.Count(); ++i)
                rows.back().push_back(*r.vars.Item(i)->Value);
        }
        return rows;
    }
};

TEST_P(RequestTest, ReadsEverySyntaxOfTheStaticTables) {
    QvSNMPRequest r;
    r.ResultCallback = Collect;
    r.vars = QvSNMPVarList(kSyntaxes, SVT_SV, 0);
    bool ok = true;
    EXPECT_FALSE(r.Get(&ok, true));
    ASSERT_TRUE(ok) << g_reports[0].Message;
    const char* expected[] = {"-5",       "hello world",      "00FF10",       "1.3.6.1.4.1.32473.1",
                              "10.1.2.3", "1 day 0:00:01.00", "000D0A1B2C3D", "4294967295",
                              "7"};
    for (int i = 0; i < r.vars.Count(); ++i) {
        EXPECT_EQ(*r.vars.Item(i)->Value, expected[i]) << i;
        EXPECT_EQ(*r.vars.Item(i)->Instance, std::string(r.vars.Item(i)->Oid) + ".0");
    }
}

TEST_P(RequestTest, WritesEverySyntaxOfTheStaticTables) {
    QvSNMPRequest r;
    r.ResultCallback = Collect;
    r.vars = QvSNMPVarList(kSyntaxes, SVT_SV, 0);
    const std::vector<std::string> values = {"-2147483648",  "set by " + std::to_string(GetParam()),
                                             "0a0B0c",       "1.3.6.1.4.1.32473.99.7",
                                             "172.16.254.1", "2 days, 1:02:03.04",
                                             "0050C2A1B2C3"};
    for (size_t i = 0; i < values.size(); ++i)
        *r.vars.Item(static_cast<int>(i))->Value = values[i];
    bool ok = true;
    EXPECT_FALSE(r.Set(&ok, "", nullptr));
    ASSERT_TRUE(ok) << g_reports[0].Message;
    // What the device holds, as it shows it.
    EXPECT_EQ(Dev().peek(X ".1.1.0"), "-2147483648");
    EXPECT_EQ(Dev().peek(X ".1.5.0"), "172.16.254.1");
    EXPECT_EQ(Dev().peek(X ".1.6.0"), "17652304");
    // And read back through the layer.
    QvSNMPRequest check;
    check.vars = QvSNMPVarList(kSyntaxes, SVT_SV, 0);
    check.Get(&ok, true);
    ASSERT_TRUE(ok);
    const char* back[] = {
        "-2147483648",        nullptr,       "0A0B0C", "1.3.6.1.4.1.32473.99.7", "172.16.254.1",
        "2 days, 1:02:03.04", "0050C2A1B2C3"};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(*check.vars.Item(i)->Value, back[i] ? back[i] : values[static_cast<size_t>(i)])
            << i;
}

TEST_P(RequestTest, ReadsScalarsAndLeavesInvalidOut) {
    QvSNMPRequest r;
    r.ResultCallback = Collect;
    r.vars = QvSNMPVarList(kSystem, SVT_SV, 0);
    bool ok = true;
    EXPECT_FALSE(r.Get(&ok, true));
    EXPECT_TRUE(ok);
    EXPECT_TRUE(g_reports.empty());
    EXPECT_EQ(*r.vars.Item(0)->Value, kSysDescrText);
    EXPECT_EQ(*r.vars.Item(1)->Value, "1.3.6.1.4.1.32473.10.37.15");
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
    EXPECT_EQ(*r.vars.Item(0)->Value, "(NULL)");
}

TEST_P(RequestTest, WalkWithAColumnEndingEarlyMarksItNotDone) {
    QvSNMPRequest r;
    r.ResultCallback = Collect;
    r.vars = QvSNMPVarList(kShortColumn, MVT_FMV, 1);
    bool ok = true;
    using Row = std::vector<std::string>;
    const Row expected[] = {
        {"1", "a", "192.0.2.1"}, {"2", "b", "192.0.2.2"}, {"3", "c", "(NOTDONE)"}};
    bool first = true;
    for (const Row& row : expected) {
        ASSERT_TRUE(r.Get(&ok, first));
        first = false;
        EXPECT_EQ((Row{*r.vars.Item(0)->Value, *r.vars.Item(1)->Value, *r.vars.Item(2)->Value}),
                  row);
    }
    // The ended column stands at the others' row, so its next get-next
    // repeats their position.
    EXPECT_EQ(*r.vars.Item(2)->Instance, X ".2.1.3.3");
    EXPECT_FALSE(r.Get(&ok, false));
    EXPECT_TRUE(ok);
    EXPECT_TRUE(g_reports.empty());
}

TEST_P(RequestTest, WalkDecodesKeysAndSetsARow) {
    QvSNMPRequest r;
    r.ResultCallback = Collect;
    r.vars = QvSNMPVarList(kKeyed, MVT_UMV, 2);
    bool ok = true;
    auto rows = Walk(r, &ok);
    EXPECT_TRUE(ok);
    using Row = std::vector<std::string>;
    ASSERT_EQ(rows.size(), 2u);
    const std::string held = Dev().peek(X ".3.1.3.0.13.10.27.44.61.2.97.98").value_or("?");
    EXPECT_EQ(rows[0], (Row{"000D0A1B2C3D", "ab", held}));
    EXPECT_EQ(rows[1], (Row{"0050C2010203", "x", "22"}));
    EXPECT_EQ(*r.vars.Item(0)->Instance, X ".3.1.1.0.80.194.1.2.3.1.120");

    *r.vars.Item(0)->Value = "000D0A1B2C3D";
    *r.vars.Item(1)->Value = "ab";
    const std::string value = std::to_string(70 + GetParam());
    *r.vars.Item(2)->Value = value;
    Dev().takeSetLog();
    r.Set(&ok, "", nullptr);
    EXPECT_TRUE(ok) << (g_reports.empty() ? "" : g_reports[0].Message);
    EXPECT_EQ(Dev().takeSetLog(),
              std::vector<std::string>{"." X ".3.1.3.0.13.10.27.44.61.2.97.98"});
    EXPECT_EQ(Dev().peek(X ".3.1.3.0.13.10.27.44.61.2.97.98"), value);
}

TEST_P(RequestTest, WalkOfAnEmptyColumnYieldsNoRow) {
    const QvSNMPVar empty[] = {Var(X ".2.1.9", S::Integer, A::ReadOnly), kEnd};
    QvSNMPRequest r;
    r.ResultCallback = Collect;
    r.vars = QvSNMPVarList(empty, MVT_FMV, 0);
    bool ok = true;
    EXPECT_FALSE(r.Get(&ok, true));
    EXPECT_TRUE(ok);
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
    Dev().takeSetLog();
    EXPECT_FALSE(r.Set(&ok, "0,2", &values));
    EXPECT_TRUE(ok) << (g_reports.empty() ? "" : g_reports[0].Message);
    EXPECT_EQ(*r.vars.Item(0)->Value, "");
    EXPECT_EQ(*r.vars.Item(1)->Value, "keep");
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(r.vars.Item(i)->Access, A::ReadWrite) << i;
    EXPECT_EQ(Dev().takeSetLog(),
              (std::vector<std::string>{".1.3.6.1.2.1.1.6.0", ".1.3.6.1.2.1.1.5.0"}));
    EXPECT_EQ(Dev().peek("system.6.0"), values[0]);
    EXPECT_EQ(Dev().peek("system.5.0"), "name-x");
    EXPECT_EQ(Dev().peek("system.1.0"), kSysDescrText);
}

TEST_P(RequestTest, RefusedSetIsReportedAndRestores) {
    QvSNMPRequest r;
    r.ResultCallback = Collect;
    r.vars = QvSNMPVarList(kWritable, SVT_SV, 0);
    bool ok = true;
    std::vector<std::string> values = {"x"};
    ASSERT_TRUE(Dev().fault("system.6.0", "genErr", "set"));
    r.Set(&ok, "0", &values);
    EXPECT_FALSE(ok);
    ASSERT_EQ(g_reports.size(), 1u);
    EXPECT_EQ(g_reports[0].Code, -105);
    EXPECT_EQ(*r.vars.Item(0)->Value, "");
    EXPECT_EQ(r.vars.Item(1)->Access, A::ReadWrite);
}

TEST_P(RequestTest, WrongCommunityTimesOut) {
    QvSNMPRequest r;
    r.ResultCallback = Collect;
    r.Security.ReadCommunity = "wrong";
    r.Timeout = 20;
    r.Retries = 0;
    r.vars = QvSNMPVarList(kSystem, SVT_SV, 0);
    bool ok = true;
    r.Get(&ok, true);
    EXPECT_FALSE(ok);
    ASSERT_EQ(g_reports.size(), 1u);
    EXPECT_EQ(g_reports[0].Code, -405);
}

TEST_P(RequestTest, DeadPortTimesOutWithClassText) {
    lmrtest::SilentPort dead;
    ASSERT_TRUE(dead.ok());
    QvSNMPRequest r;
    r.ResultCallback = Collect;
    r.Device.Port = dead.port();
    r.Timeout = 20;
    r.Retries = 0;
    r.vars = QvSNMPVarList(kSystem, SVT_SV, 0);
    bool ok = true;
    r.Get(&ok, true);
    EXPECT_FALSE(ok);
    ASSERT_EQ(g_reports.size(), 1u);
    EXPECT_EQ(g_reports[0].Code, -405);
    EXPECT_EQ(g_reports[0].Message, "(SNMPClass) SNMP request timed out!");
    EXPECT_EQ(g_reports[0].FailureCount, 1);
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
        EXPECT_EQ(e.Message(), "(QvSNMP++) Invalid IP Address or DNS name!");
    }
}

TEST_P(RequestTest, AsyncWalkCompletesThroughThePump) {
    QvSNMPRequest r;
    r.vars = QvSNMPVarList(kShortColumn, MVT_FMV, 1);
    std::vector<std::string> col3;
    bool finished = false;
    int code = -1;
    QvDoneClosure next = [&](QvSNMPError* e, QvSNMPVarList* list) {
        code = e->Code;
        EXPECT_EQ(list, &r.vars);
        if (e->Finished) {
            finished = true;
            return;
        }
        col3.push_back(*list->Item(2)->Value);
        r.GetAsync(next, false);
    };
    r.GetAsync(next, true);
    EXPECT_EQ(r.Outstanding, 1);
    EXPECT_TRUE(col3.empty()) << "completions run only from the pump";
    for (int i = 0; i < 2000 && !finished; ++i) {
        ProcessMessages();
        usleep(1000);
    }
    EXPECT_TRUE(finished);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(col3, (std::vector<std::string>{"192.0.2.1", "192.0.2.2", "(NOTDONE)"}));
    EXPECT_EQ(r.Outstanding, 0);
}

TEST_P(RequestTest, AsyncGetReportsTheDeviceAndFailures) {
    QvSNMPRequest r;
    r.vars = QvSNMPVarList(kMissing, SVT_SV, 0);
    QvSNMPError got;
    int calls = 0;
    r.GetAsync(
        [&](QvSNMPError* e, QvSNMPVarList*) {
            got = *e;
            ++calls;
        },
        true);
    for (int i = 0; i < 2000 && calls == 0; ++i) {
        ProcessMessages();
        usleep(1000);
    }
    ASSERT_EQ(calls, 1);
    EXPECT_EQ(got.Code, -102);
    EXPECT_EQ(got.ErrorIndex, 1);
    EXPECT_EQ(got.Finished, 1);
    EXPECT_EQ(got.Device.Address, "127.0.0.1");
    EXPECT_EQ(got.Device.Port, Dev().port());
    EXPECT_EQ(r.Failures, 0) << "completion failures are not counted";
}

TEST_P(RequestTest, AsyncSetDoesNotStoreTheReply) {
    QvSNMPRequest r;
    r.vars = QvSNMPVarList(kWritable, SVT_SV, 0);
    std::vector<std::string> values = {"async-set"};
    int calls = 0, code = -1;
    r.SetAsync(
        [&](QvSNMPError* e, QvSNMPVarList*) {
            code = e->Code;
            ++calls;
        },
        "0", &values);
    EXPECT_EQ(*r.vars.Item(0)->Value, "") << "restored right after the send";
    for (int i = 0; i < 2000 && calls == 0; ++i) {
        ProcessMessages();
        usleep(1000);
    }
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(*r.vars.Item(0)->Value, "");
    EXPECT_EQ(Dev().peek("system.6.0"), "async-set");
}

TEST_P(RequestTest, AsyncSendThatFailsIsCountedDown) {
    QvSNMPRequest r;
    r.ResultCallback = Collect;
    r.Security.Version = 7; // refused before anything is sent
    r.vars = QvSNMPVarList(kSystem, SVT_SV, 0);
    int calls = 0, code = 0;
    r.GetAsync(
        [&](QvSNMPError* e, QvSNMPVarList*) {
            code = e->Code;
            ++calls;
        },
        true);
    ASSERT_EQ(g_reports.size(), 1u);
    EXPECT_EQ(g_reports[0].Code, -416);
    EXPECT_EQ(r.Failures, 1);
    for (int i = 0; i < 100 && r.Outstanding > 0; ++i)
        ProcessMessages();
    EXPECT_EQ(r.Outstanding, 0);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(code, -416);
}

TEST_P(RequestTest, DestroyingWithAReplyDueWaitsForIt) {
    ASSERT_TRUE(Dev().fault("system.1.0", "timeout", "get", 300));
    int calls = 0;
    auto r = std::make_unique<QvSNMPRequest>();
    r->Timeout = 200;
    r->vars = QvSNMPVarList(kSystem, SVT_SV, 0);
    std::string value;
    r->GetAsync(
        [&](QvSNMPError* e, QvSNMPVarList* list) {
            ++calls;
            EXPECT_EQ(e->Code, 0);
            value = *list->Item(0)->Value;
        },
        true);
    EXPECT_EQ(r->Outstanding, 1);
    r.reset();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(value, kSysDescrText);
    EXPECT_EQ(g_Snmp->Pending(), 0);
}

// A form deletes its request from the completion: the destructor must not
// wait for that running completion, and nothing may touch the request after.
// A wait would handle the call posted just before, so no clock is needed.
TEST_P(RequestTest, ClosureMayDeleteItsOwnRequest) {
    QvSNMPRequest* r = new QvSNMPRequest;
    r->vars = QvSNMPVarList(kSystem, SVT_SV, 0);
    int calls = 0;
    bool posted = false, postedDuringDelete = true;
    r->GetAsync(
        [&](QvSNMPError*, QvSNMPVarList*) {
            ++calls;
            PostCall([&] { posted = true; });
            delete r;
            postedDuringDelete = posted;
        },
        true);
    for (int i = 0; i < 2000 && calls == 0; ++i) {
        ProcessMessages();
        usleep(1000);
    }
    ASSERT_EQ(calls, 1);
    EXPECT_FALSE(postedDuringDelete) << "the destructor waited for the completion that runs it";
    ProcessMessages();
    EXPECT_TRUE(posted);
}

// While the destructor waits for a reply the owner is half destroyed: a
// click or a key must not reach it then, while posted work and the reply
// still run. The input is not lost: a later loop delivers it.
TEST_P(RequestTest, DestructorWaitHoldsUserInputBack) {
    struct Target : QWidget {
        int keys = 0, clicks = 0;
        bool event(QEvent* e) override {
            keys += e->type() == QEvent::KeyPress;
            clicks += e->type() == QEvent::MouseButtonPress;
            return QWidget::event(e);
        }
    } form;
    ASSERT_TRUE(Dev().fault("system.1.0", "timeout", "get", 200));
    auto r = std::make_unique<QvSNMPRequest>();
    r->Timeout = 200;
    r->vars = QvSNMPVarList(kSystem, SVT_SV, 0);
    int calls = 0, keysAtReply = -1;
    r->GetAsync(
        [&](QvSNMPError* e, QvSNMPVarList*) {
            ++calls;
            EXPECT_EQ(e->Code, 0);
            keysAtReply = form.keys + form.clicks;
        },
        true);
    bool posted = false;
    QCoreApplication::postEvent(&form,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    QCoreApplication::postEvent(&form, new QMouseEvent(QEvent::MouseButtonPress, QPointF(1, 1),
                                                       QPointF(1, 1), Qt::LeftButton,
                                                       Qt::LeftButton, Qt::NoModifier));
    PostCall([&] { posted = true; });
    r.reset();
    EXPECT_EQ(calls, 1) << "the destructor did not wait for the reply";
    EXPECT_EQ(keysAtReply, 0);
    EXPECT_TRUE(posted);
    EXPECT_EQ(form.keys, 0);
    EXPECT_EQ(form.clicks, 0);
    ProcessMessages();
    EXPECT_EQ(form.keys, 1);
    EXPECT_EQ(form.clicks, 1);
}

// Forms keep pointers to the records of their list and to the values in
// them; a write must leave every record where it was.
TEST_P(RequestTest, WritesKeepEveryRecordInPlace) {
    QvSNMPRequest r;
    r.ResultCallback = Collect;
    r.vars = QvSNMPVarList(kWritable, SVT_SV, 0);
    std::vector<QvSNMPVar*> records;
    std::vector<std::string*> values;
    for (int i = 0; i < r.vars.Count(); ++i) {
        records.push_back(r.vars.Item(i));
        values.push_back(r.vars.Item(i)->Value);
        *values.back() = "kept " + std::to_string(i);
    }
    auto same = [&](const char* what) {
        for (int i = 0; i < r.vars.Count(); ++i) {
            SCOPED_TRACE(std::string(what) + " " + std::to_string(i));
            EXPECT_EQ(r.vars.Item(i), records[static_cast<size_t>(i)]);
            EXPECT_EQ(r.vars.Item(i)->Value, values[static_cast<size_t>(i)]);
            EXPECT_EQ(*values[static_cast<size_t>(i)], "kept " + std::to_string(i));
            EXPECT_EQ(records[static_cast<size_t>(i)]->Access, A::ReadWrite);
        }
    };
    std::vector<std::string> written = {"in place " + std::to_string(GetParam())};
    bool ok = true;
    r.Set(&ok, "0", &written);
    EXPECT_TRUE(ok) << (g_reports.empty() ? "" : g_reports[0].Message);
    same("Set");
    int calls = 0;
    r.SetAsync([&](QvSNMPError*, QvSNMPVarList*) { ++calls; }, "0", &written);
    same("SetAsync");
    for (int i = 0; i < 2000 && calls == 0; ++i) {
        ProcessMessages();
        usleep(1000);
    }
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(Dev().peek("system.6.0"), written[0]);
}

// A refused write stays a failure whatever the version: with SNMPv1 a set of
// a read-only column arrives as noSuchName with the binding that was sent,
// which on a read would end a walk. The key is decoded, not read, so the
// written column's identifier is the one it last received.
TEST_P(RequestTest, AsyncSetOfATableRefusedIsAFailure) {
    const QvSNMPVar row[] = {Var(X ".2.1.1", S::Integer, A::NotAccess),
                             Var(X ".2.1.2", S::DisplayStr, A::ReadWrite), kEnd};
    QvSNMPRequest r;
    r.ResultCallback = Collect;
    r.vars = QvSNMPVarList(row, MVT_UMV, 1);
    bool ok = true;
    ASSERT_TRUE(r.Get(&ok, true));
    ASSERT_EQ(*r.vars.Item(1)->Instance, X ".2.1.2.1");
    *r.vars.Item(1)->Value = "refused";
    QvSNMPError got;
    int calls = 0;
    Dev().takeSetLog();
    r.SetAsync(
        [&](QvSNMPError* e, QvSNMPVarList*) {
            got = *e;
            ++calls;
        },
        "", nullptr);
    for (int i = 0; i < 2000 && calls == 0; ++i) {
        ProcessMessages();
        usleep(1000);
    }
    ASSERT_EQ(calls, 1);
    EXPECT_NE(got.Code, 0) << "a refused set reported as success";
    if (GetParam() == 0) {
        EXPECT_EQ(got.Code, -102);
    }
    EXPECT_EQ(got.Finished, 1);
    EXPECT_EQ(Dev().peek(X ".2.1.2.1"), "a");
}

// An address text the device cannot take raises before anything is sent.
TEST_P(RequestTest, MalformedAddressIsNotSent) {
    const QvSNMPVar address[] = {Var(X ".1.5", S::IpAddress), kEnd};
    ASSERT_TRUE(Dev().poke(X ".1.5.0", "10.9.8.7"));
    for (const char* text : {"1.2.3", "256.0.0.1", ""}) {
        SCOPED_TRACE(text);
        QvSNMPRequest r;
        r.vars = QvSNMPVarList(address, SVT_SV, 0);
        *r.vars.Item(0)->Value = text;
        Dev().takeSetLog();
        bool ok = true;
        try {
            r.Set(&ok, "", nullptr);
            ADD_FAILURE() << "sent";
        } catch (const Exception& e) {
            EXPECT_EQ(e.HelpContext(), -511);
        }
        EXPECT_EQ(*r.vars.Item(0)->Value, text);
        int calls = 0;
        EXPECT_THROW(r.SetAsync([&](QvSNMPError*, QvSNMPVarList*) { ++calls; }, "", nullptr),
                     Exception);
        EXPECT_EQ(r.Outstanding, 0);
        EXPECT_TRUE(Dev().takeSetLog().empty());
        EXPECT_EQ(Dev().peek(X ".1.5.0"), "10.9.8.7");
    }
    QvSNMPRequest r;
    r.vars = QvSNMPVarList(address, SVT_SV, 0);
    *r.vars.Item(0)->Value = " 192.168.001.010 ";
    bool ok = true;
    r.Set(&ok, "", nullptr);
    EXPECT_TRUE(ok);
    EXPECT_EQ(Dev().peek(X ".1.5.0"), "192.168.1.10");
}

// A table without key columns: its rows are known by their instance alone. A
// column that ends early, or that the device lacks, waits at the others' row
// and the walk visits every row, synchronously and through the pump.
TEST_P(RequestTest, WalkOfATableWithoutKeysVisitsEveryRow) {
    const QvSNMPVar lacking[] = {Var(X ".2.1.1", S::Integer, A::ReadOnly),
                                 Var(X ".2.1.8", S::Integer, A::ReadOnly),
                                 Var(X ".2.1.2", S::DisplayStr, A::ReadOnly), kEnd};
    using Row = std::vector<std::string>;
    struct Case {
        const char* what;
        const QvSNMPVar* table;
        std::vector<Row> rows;
    } cases[] = {
        {"short column",
         kShortColumn,
         {{"1", "a", "192.0.2.1"}, {"2", "b", "192.0.2.2"}, {"3", "c", "(NOTDONE)"}}},
        {"missing column",
         lacking,
         {{"1", "(NOTDONE)", "a"}, {"2", "(NOTDONE)", "b"}, {"3", "(NOTDONE)", "c"}}},
    };
    auto rowOf = [](const QvSNMPVarList& l) {
        Row row;
        for (int i = 0; i < l.Count(); ++i)
            row.push_back(*l.Item(i)->Value);
        return row;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_reports.clear();
        QvSNMPRequest r;
        r.ResultCallback = Collect;
        r.vars = QvSNMPVarList(c.table, MVT_FMV, 0);
        bool ok = true;
        std::vector<Row> rows;
        for (bool first = true; rows.size() < 10 && r.Get(&ok, first); first = false)
            rows.push_back(rowOf(r.vars));
        EXPECT_TRUE(ok) << (g_reports.empty() ? "" : g_reports[0].Message);
        EXPECT_EQ(rows, c.rows);
        for (int i = 0; i < r.vars.Count(); ++i)
            EXPECT_NE(r.vars.Item(i)->Instance->back(), '.') << i;

        std::vector<Row> async;
        bool finished = false;
        int code = -1;
        QvDoneClosure next = [&](QvSNMPError* e, QvSNMPVarList* list) {
            code = e->Code;
            if (e->Finished || async.size() >= 10) {
                finished = true;
                return;
            }
            async.push_back(rowOf(*list));
            r.GetAsync(next, false);
        };
        r.GetAsync(next, true);
        for (int i = 0; i < 3000 && !finished; ++i) {
            ProcessMessages();
            usleep(1000);
        }
        EXPECT_TRUE(finished);
        EXPECT_EQ(code, 0);
        EXPECT_EQ(async, c.rows);
    }
}

INSTANTIATE_TEST_SUITE_P(Versions, RequestTest, ::testing::Values(0, 1, 2));

// SNMPv3 through the request: every device user at its level, and the
// failures a form shows for bad credentials.
class RequestV3Test : public ::testing::TestWithParam<sim::V3User> {
protected:
    void SetUp() override {
        ASSERT_TRUE(World().device.running()) << World().device.error();
        g_reports.clear();
        g_DefaultDevice.Port = static_cast<uint16_t>(World().device.port());
        g_DefaultSecurity = QvSNMPSecurity{};
        g_DefaultTimeout = 300; // v3 discovery and the set side by side with other agents
    }
    static void Use(QvSNMPRequest& r, const sim::V3User& u) {
        r.Security.Version = 3;
        r.Security.SecurityModel = 3;
        r.Security.SecurityName = std::string(u.name);
        r.Security.SecurityLevel = u.auth.empty() ? 1 : u.priv.empty() ? 2 : 3;
        r.Security.AuthProtocol = u.auth == "MD5" ? 2 : u.auth == "SHA" ? 3 : 1;
        r.Security.PrivProtocol = u.priv == "DES" ? 2 : 1;
        r.Security.AuthPassword = std::string(u.authPass);
        r.Security.PrivPassword = std::string(u.privPass);
        r.Security.ReadCommunity = "not used";
        r.Security.WriteCommunity = "not used";
    }
};

TEST_P(RequestV3Test, ReadsAndWalksAtTheUsersLevel) {
    QvSNMPRequest r;
    r.ResultCallback = Collect;
    Use(r, GetParam());
    r.vars = QvSNMPVarList(kSystem, SVT_SV, 0);
    bool ok = true;
    r.Get(&ok, true);
    ASSERT_TRUE(ok) << g_reports[0].Message;
    EXPECT_EQ(*r.vars.Item(0)->Value, kSysDescrText);
    QvSNMPRequest walk;
    Use(walk, GetParam());
    walk.vars = QvSNMPVarList(kShortColumn, MVT_FMV, 1);
    int rows = 0;
    for (bool first = true; rows < 10 && walk.Get(&ok, first); first = false)
        ++rows;
    EXPECT_TRUE(ok);
    EXPECT_EQ(rows, 3);
}

TEST_P(RequestV3Test, WritesWhenTheUserMay) {
    const sim::V3User& u = GetParam();
    QvSNMPRequest r;
    r.ResultCallback = Collect;
    Use(r, u);
    r.vars = QvSNMPVarList(kWritable, SVT_SV, 0);
    std::vector<std::string> values = {"v3 " + std::string(u.name)};
    bool ok = true;
    r.Set(&ok, "0", &values);
    if (u.writable) {
        EXPECT_TRUE(ok) << g_reports[0].Message;
        EXPECT_EQ(World().device.peek("system.6.0"), values[0]);
    } else {
        EXPECT_FALSE(ok);
        ASSERT_EQ(g_reports.size(), 1u);
        EXPECT_EQ(g_reports[0].Code, -106); // noAccess: a read-only user
    }
}

INSTANTIATE_TEST_SUITE_P(DeviceUsers, RequestV3Test,
                         ::testing::ValuesIn(lmrtest::SimDevice::users()),
                         [](const ::testing::TestParamInfo<sim::V3User>& info) {
                             return std::string(info.param.name);
                         });

sim::V3User DeviceUser(std::string_view name) {
    for (const sim::V3User& u : lmrtest::SimDevice::users())
        if (u.name == name) return u;
    return {};
}

class RequestV3Failure : public RequestV3Test {};

// Bad credentials reach the form as the code it shows; a wrong DES password
// is dropped by the agent and so times out.
TEST_F(RequestV3Failure, BadCredentialsGiveTheirCodes) {
    struct Case {
        const char* what;
        const char* user;
        void (*spoil)(QvSNMPSecurity&);
        int timeout; // 0: the default
        int code;
    } cases[] = {
        {"wrong auth password", "md5user",
         [](QvSNMPSecurity& s) { s.AuthPassword = "not the password"; }, 0, -308},
        {"wrong priv password", "shadesuser",
         [](QvSNMPSecurity& s) { s.PrivPassword = "not the password"; }, 30, -405},
        {"unknown user", "noauthuser", [](QvSNMPSecurity& s) { s.SecurityName = "nobody"; }, 0,
         -304},
        {"short password", "shauser", [](QvSNMPSecurity& s) { s.AuthPassword = "short"; }, 0, -307},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_reports.clear();
        QvSNMPRequest r;
        r.ResultCallback = Collect;
        Use(r, DeviceUser(c.user));
        c.spoil(r.Security);
        if (c.timeout) {
            r.Timeout = c.timeout;
            r.Retries = 0;
        }
        r.vars = QvSNMPVarList(kSystem, SVT_SV, 0);
        bool ok = true;
        r.Get(&ok, true);
        EXPECT_FALSE(ok);
        ASSERT_EQ(g_reports.size(), 1u);
        EXPECT_EQ(g_reports[0].Code, c.code);
    }
}

// A device of its own: it restarts in the middle of a walk.
TEST(RequestRestart, WalkFailsDuringTheSilenceAndGoesOnAfterwards) {
    lmrtest::TempDir dir;
    lmrtest::SimOptions o;
    o.silenceSeconds = 1;
    lmrtest::SimDevice dev(reqtest::WithExtraObjects(dir, kExtraObjects, o));
    ASSERT_TRUE(dev.start()) << dev.error();
    World(); // the session
    g_reports.clear();
    for (const char* user : {"shauser", "md5user"}) {
        SCOPED_TRACE(user);
        QvSNMPRequest r;
        r.ResultCallback = Collect;
        r.Device.Port = static_cast<uint16_t>(dev.port());
        sim::V3User u = DeviceUser(user);
        r.Security.Version = 3;
        r.Security.SecurityModel = 3;
        r.Security.SecurityName = std::string(u.name);
        r.Security.SecurityLevel = 2;
        r.Security.AuthProtocol = u.auth == "MD5" ? 2 : 3;
        r.Security.AuthPassword = std::string(u.authPass);
        // Generous while the device answers (a loaded machine is slow to
        // discover the engine), short once it is silent.
        r.Timeout = 200;
        r.Retries = 1;
        r.vars = QvSNMPVarList(kShortColumn, MVT_FMV, 1);
        bool ok = true;
        ASSERT_TRUE(r.Get(&ok, true)) << (g_reports.empty() ? "" : g_reports.back().Message);
        EXPECT_EQ(*r.vars.Item(1)->Value, "a");
        r.Timeout = 20;
        r.Retries = 0;
        ASSERT_TRUE(dev.restart());
        // Silent: the next row times out and the walk stops where it was.
        bool silent = false;
        for (int i = 0; i < 500 && !silent; ++i) {
            silent = dev.control("state") == "ok silent";
            if (!silent) usleep(10000);
        }
        ASSERT_TRUE(silent);
        EXPECT_FALSE(r.Get(&ok, false));
        EXPECT_FALSE(ok);
        ASSERT_FALSE(g_reports.empty());
        EXPECT_EQ(g_reports.back().Code, -405);
        EXPECT_EQ(*r.vars.Item(2)->Instance, X ".2.1.3.1");
        ASSERT_TRUE(dev.waitUntilAnswering());
        // Back: the walk goes on from its last row.
        r.Timeout = 50;
        r.Retries = 1;
        ok = true;
        ASSERT_TRUE(r.Get(&ok, false)) << g_reports.back().Message;
        EXPECT_TRUE(ok);
        EXPECT_EQ(*r.vars.Item(1)->Value, "b");
        EXPECT_TRUE(r.Get(&ok, false));
        EXPECT_FALSE(r.Get(&ok, false));
        EXPECT_TRUE(ok);
    }
    // Every simulated device has the same engine id: what the library learnt
    // of this one's engine time must not reach the next device.
    g_Snmp->ForgetEngineTimes();
}

// The end of an agent's view: SNMPv1 answers noSuchName with the request's
// own bindings, SNMPv2c endOfMibView; both end the walk without a failure.
TEST(RequestEndOfView, EndsTheWalkWithoutAFailureInBothVersions) {
    testagent::Agent agent("view systemonly included .1.3.6.1.2.1.1\n"
                           "rocommunity viewed 127.0.0.1 -V systemonly\n");
    World();
    // sysORTable, the last table of the system group.
    const QvSNMPVar orTable[] = {Var("1.3.6.1.2.1.1.9.1.1", S::Integer, A::NotAccess),
                                 Var("1.3.6.1.2.1.1.9.1.2", S::ObjectId, A::ReadOnly),
                                 Var("1.3.6.1.2.1.1.9.1.3", S::DisplayStr, A::ReadOnly),
                                 Var("1.3.6.1.2.1.1.9.1.4", S::TimeTicks, A::ReadOnly), kEnd};
    std::map<int, int> rowsByVersion;
    for (int version : {0, 1}) {
        g_reports.clear();
        QvSNMPRequest r;
        r.ResultCallback = Collect;
        r.Device.Port = agent.Port();
        r.Security.Version = static_cast<uint8_t>(version);
        r.Security.ReadCommunity = "viewed";
        r.vars = QvSNMPVarList(orTable, MVT_FMV, 1);
        bool ok = true;
        int rows = 0;
        for (bool first = true; rows < 100 && r.Get(&ok, first); first = false) {
            ++rows;
            EXPECT_EQ(*r.vars.Item(0)->Value, std::to_string(rows));
        }
        EXPECT_TRUE(ok) << version;
        EXPECT_TRUE(g_reports.empty()) << version << ": " << g_reports[0].Message;
        rowsByVersion[version] = rows;
        // The same through the pump.
        bool finished = false;
        int asyncRows = 0, code = -1;
        QvDoneClosure next = [&](QvSNMPError* e, QvSNMPVarList*) {
            code = e->Code;
            if (e->Finished) {
                finished = true;
                return;
            }
            ++asyncRows;
            r.GetAsync(next, false);
        };
        r.GetAsync(next, true);
        for (int i = 0; i < 3000 && !finished; ++i) {
            ProcessMessages();
            usleep(1000);
        }
        EXPECT_TRUE(finished);
        EXPECT_EQ(code, 0) << version;
        EXPECT_EQ(asyncRows, rows) << version;
    }
    EXPECT_GE(rowsByVersion[0], 1);
    EXPECT_EQ(rowsByVersion[0], rowsByVersion[1]);
}

// noSuchName in a walk: with the bindings that were sent it ends the walk and
// nothing failed; with any other binding the agent refused the walk, which is
// a failure (ok false) and never also a success.
TEST(RequestNoSuchName, EndsTheWalkOrFailsNeverBoth) {
    World();
    const QvSNMPVar column[] = {Var(X ".2.1.1", S::Integer, A::ReadOnly), kEnd};
    struct Case {
        const char* what;
        const char* answered; // the binding of the noSuchName reply; null: the one sent
        bool ok;
        int reports;
        int asyncCode;
    } cases[] = {
        {"echoed", nullptr, true, 0, 0},
        {"another binding", "1.3.6.1.2.1.1.1.0", false, 1, -102},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // The first row, then noSuchName for the one after it.
        fakeagent::Agent agent([&](int, const std::vector<std::string>& oids) {
            fakeagent::Response resp;
            if (oids.size() == 1 && oids[0] == X ".2.1.1") {
                resp.bindings.push_back({X ".2.1.1.1", 7});
                return resp;
            }
            resp.errorStatus = 2;
            resp.errorIndex = 1;
            for (const std::string& oid : oids)
                resp.bindings.push_back({c.answered ? c.answered : oid, std::nullopt});
            return resp;
        });
        ASSERT_NE(agent.Port(), 0);
        g_reports.clear();
        QvSNMPRequest r;
        r.ResultCallback = Collect;
        r.Device.Port = agent.Port();
        r.Security.Version = 0;
        r.Timeout = 100;
        r.vars = QvSNMPVarList(column, MVT_FMV, 0);
        bool ok = true;
        ASSERT_TRUE(r.Get(&ok, true));
        EXPECT_EQ(*r.vars.Item(0)->Value, "7");
        EXPECT_FALSE(r.Get(&ok, false));
        EXPECT_EQ(ok, c.ok);
        ASSERT_EQ(static_cast<int>(g_reports.size()), c.reports);
        for (const QvSNMPError& e : g_reports)
            EXPECT_EQ(e.Code, -102);
        EXPECT_EQ(r.Failures, c.reports);

        int calls = 0;
        QvSNMPError got;
        QvDoneClosure next = [&](QvSNMPError* e, QvSNMPVarList*) {
            ++calls;
            got = *e;
            if (!e->Finished && calls < 5) r.GetAsync(next, false);
        };
        r.GetAsync(next, true);
        for (int i = 0; i < 3000 && !(calls && got.Finished); ++i) {
            ProcessMessages();
            usleep(1000);
        }
        EXPECT_EQ(calls, 2);
        EXPECT_EQ(got.Code, c.asyncCode);
        EXPECT_EQ(got.Finished, 1);
    }
}

// A column past the end of the view has no row at all: SNMPv1 answers the
// first get-next with noSuchName and the bare column it was sent. That is the
// end of the walk, not a failure followed by success.
TEST(RequestEndOfView, EmptyColumnBehindTheViewIsNoFailure) {
    testagent::Agent agent("view systemonly included .1.3.6.1.2.1.1\n"
                           "rocommunity viewed 127.0.0.1 -V systemonly\n");
    World();
    const QvSNMPVar behind[] = {Var("1.3.6.1.2.1.1.99.1.1", S::Integer, A::ReadOnly),
                                Var("1.3.6.1.2.1.1.99.1.2", S::DisplayStr, A::ReadOnly), kEnd};
    for (int version : {0, 1}) {
        SCOPED_TRACE(version);
        g_reports.clear();
        QvSNMPRequest r;
        r.ResultCallback = Collect;
        r.Device.Port = agent.Port();
        r.Security.Version = static_cast<uint8_t>(version);
        r.Security.ReadCommunity = "viewed";
        r.vars = QvSNMPVarList(behind, MVT_FMV, 0);
        bool ok = true;
        EXPECT_FALSE(r.Get(&ok, true));
        EXPECT_TRUE(ok);
        EXPECT_TRUE(g_reports.empty()) << g_reports[0].Message;
        EXPECT_EQ(r.Failures, 0);
        QvSNMPError got;
        int calls = 0;
        r.GetAsync(
            [&](QvSNMPError* e, QvSNMPVarList*) {
                got = *e;
                ++calls;
            },
            true);
        for (int i = 0; i < 3000 && calls == 0; ++i) {
            ProcessMessages();
            usleep(1000);
        }
        ASSERT_EQ(calls, 1);
        EXPECT_EQ(got.Code, 0);
        EXPECT_EQ(got.Finished, 1);
    }
}

} // namespace
