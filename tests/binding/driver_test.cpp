// The read and write driver against the simulated device: hooks in order,
// success and failure records, table walks in both modes, re-read after a
// write, reports into status bars, panels and memos, exceptions passed on,
// the busy flag coming back to 0 on every path, also when the driver is
// deleted while a reply is due, one done closure for every asynchronous
// operation, and closures that raise reaching the exception display.
#include "binding/QvSNMPRequest2Controls.h"

#include "binding/QvFailureCapture.h"
#include "tests/binding/group_fixture.h"
#include "ui/StatusBar.h"
#include "ui/Widgets.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <regex>

#include <QTimer>

namespace {

using namespace QvSyntax;
using namespace snmptest;

const QvSNMPVar kSystem[] = {
    {"1.3.6.1.2.1.1.1", "sysDescr", DisplayStr, 2, nullptr, nullptr, nullptr, nullptr, nullptr,
     nullptr},
    {"1.3.6.1.2.1.1.5", "sysName", DisplayStr, 6, nullptr, nullptr, nullptr, nullptr, nullptr,
     nullptr},
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}};

const QvSNMPVar kMissing[] = {
    {"1.3.6.1.4.1.32473.11.37.4.77.1", "missing", Integer, 2, nullptr, nullptr, nullptr, nullptr,
     nullptr, nullptr},
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}};

// A column that holds no rows.
const QvSNMPVar kEmptyTable[] = {
    {"", "Index", Integer, 1, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.11.37.4.98.1.1.9", "None", Integer, 2, nullptr, nullptr, nullptr, nullptr,
     nullptr, nullptr},
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}};

std::vector<std::string> g_log;
std::vector<QvSNMPError> g_results;
void RecordResult(QvSNMPError* e) {
    g_results.push_back(*e);
    g_log.push_back("result " + std::to_string(e->Code));
}

// Logs every hook; a row may be made to throw or to delete its own driver.
class Recorder : public QvSNMPRequest2Controls {
public:
    explicit Recorder(TWinControl* owner) : QvSNMPRequest2Controls(owner) {
        request.ResultCallback = RecordResult;
    }
    ~Recorder() override { Shutdown(); }
    void BeforeRead() override { g_log.push_back("BeforeRead"); }
    void BeforeWrite() override { g_log.push_back("BeforeWrite"); }
    void CollectValues() override { g_log.push_back("CollectValues"); }
    void AfterRead() override {
        g_log.push_back("AfterRead");
        busyInAfter.push_back(busy);
        if (throwAfter) throw Exception("after refused", -517);
    }
    void AfterWrite() override {
        g_log.push_back("AfterWrite");
        busyInAfter.push_back(busy);
        if (throwAfter) throw Exception("after refused", -517);
    }
    void RowReceived() override {
        std::string row = "row";
        for (int i = 0; i < request.vars.Count(); ++i)
            row += " " + *request.vars.Item(i)->Value;
        g_log.push_back(row);
        if (throwOnRow) throw Exception("row refused", -517);
        if (deleteOnRow) delete this;
    }
    bool throwOnRow = false;
    bool throwAfter = false;
    bool deleteOnRow = false;
    std::vector<int> busyInAfter;
};

class Driver : public ::testing::Test {
protected:
    static void SetUpTestSuite() { CreateGlobalSessionInTempFolder(); }
    void SetUp() override {
        // A device of its own: writes of one test do not reach the next.
        device = std::make_unique<lmrtest::SimDevice>();
        ASSERT_TRUE(device->start()) << device->error();
        dev = device.get();
        g_log.clear();
        g_results.clear();
        form = new TForm(nullptr);
        driver = new Recorder(form);
        Aim(driver->request);
    }
    void TearDown() override {
        delete driver;
        delete form;
        device.reset();
    }
    void Aim(QvSNMPRequest& r) {
        AimAt(r, *dev);
        r.Retries = 0;
        // Without retries, a fresh device under a fully loaded machine can
        // take longer than the usual allowance to answer its first request.
        r.Timeout = 800;
    }
    UiTestSession session;
    std::unique_ptr<lmrtest::SimDevice> device;
    lmrtest::SimDevice* dev = nullptr;
    TForm* form = nullptr;
    Recorder* driver = nullptr;
};

using Log = std::vector<std::string>;

TEST_F(Driver, SynchronousReadOfSingleValues) {
    driver->mode = 0;
    driver->request.vars = QvSNMPVarList(kSystem, SVT_SV, 0);
    EXPECT_TRUE(driver->Read());
    EXPECT_EQ(g_log, (Log{"BeforeRead", "row LMR-7300AP Wireless Access Point LMR-7300AP",
                          "AfterRead", "result 0"}));
    ASSERT_EQ(g_results.size(), 1u);
    EXPECT_EQ(g_results[0].Message, "(QvSNMP++) Ok!");
    EXPECT_EQ(g_results[0].FailureCount, -1);
    EXPECT_EQ(driver->rowsRead, 1);
    EXPECT_EQ(driver->busy, 0);
}

TEST_F(Driver, FailedSingleGetStillDeliversTheRowButNoSuccessRecord) {
    driver->mode = 0;
    driver->request.vars = QvSNMPVarList(kMissing, SVT_SV, 0);
    EXPECT_FALSE(driver->Read());
    ASSERT_EQ(g_log.size(), 4u);
    EXPECT_EQ(g_log[0], "BeforeRead");
    EXPECT_EQ(g_log[1], "result -102"); // the request's own failure record
    EXPECT_EQ(g_log[3], "AfterRead");
    ASSERT_EQ(g_results.size(), 1u);
    EXPECT_EQ(g_results[0].FailureCount, 1);
    EXPECT_EQ(driver->rowsRead, 1);
    EXPECT_EQ(driver->busy, 0);
}

// A failed blocking read raises its own text and code; an outer capture of
// the same request and the form's callback still hear it, and the callback
// is back in place afterwards.
TEST_F(Driver, ReadOrRaiseRaisesTheReportedFailureAndLeavesTheCallbackInPlace) {
    driver->mode = 0;
    driver->request.vars = QvSNMPVarList(kMissing, SVT_SV, 0);
    driver->request.vars.Name = "Missing";
    QvFailureCapture outer(driver->request);
    try {
        QvReadOrRaise(*driver);
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.HelpContext(), -102);
        EXPECT_FALSE(e.Message().empty());
        EXPECT_EQ(e.Message().find("(QvSNMP++) Missing"), std::string::npos) << e.Message();
    }
    EXPECT_TRUE(outer.Failed());
    EXPECT_EQ(outer.First().Code, -102);
    ASSERT_GE(g_log.size(), 2u);
    EXPECT_EQ(g_log[1], "result -102");
    g_log.clear();
    driver->request.vars = QvSNMPVarList(kSystem, SVT_SV, 0);
    QvReadOrRaise(*driver); // no failure: nothing raised
    EXPECT_EQ(g_log.back(), "result 0");
}

TEST_F(Driver, SynchronousTableWalksAndEmptyTables) {
    driver->mode = 0;
    driver->request.vars = QvSNMPVarList(kDemo, MVT_UMV, 1);
    EXPECT_TRUE(driver->Read());
    EXPECT_EQ(g_log, (Log{"BeforeRead", "row 1 first 192.0.2.10", "row 2 second 192.0.2.11",
                          "AfterRead", "result 0"}));
    g_log.clear();
    driver->request.vars = QvSNMPVarList(kEmptyTable, MVT_UMV, 1);
    EXPECT_TRUE(driver->Read());
    EXPECT_EQ(g_log, (Log{"BeforeRead", "AfterRead", "result 0"}));
    EXPECT_EQ(driver->rowsRead, 0);
}

TEST_F(Driver, SynchronousWriteOfATableRereadsEvenAfterAFailedSet) {
    driver->mode = 0;
    driver->request.vars = QvSNMPVarList(kDemo, MVT_UMV, 1);
    *driver->request.vars.Item(0)->Value = "1";
    *driver->request.vars.Item(1)->Value = "renamed";
    *driver->request.vars.Item(2)->Value = "192.0.2.10";
    EXPECT_TRUE(driver->Write(true, true, "", nullptr));
    EXPECT_EQ(g_log, (Log{"BeforeWrite", "CollectValues", "AfterWrite", "result 0", "BeforeRead",
                          "row 1 renamed 192.0.2.10", "row 2 second 192.0.2.11", "AfterRead",
                          "result 0"}));

    ASSERT_TRUE(dev->fault(SNMPTEST_DEMO ".2.1", "genErr", "set"));
    g_log.clear();
    auto row1 = [&] {
        *driver->request.vars.Item(0)->Value = "1";
        *driver->request.vars.Item(1)->Value = "renamed";
        *driver->request.vars.Item(2)->Value = "192.0.2.10";
    };
    row1();
    EXPECT_FALSE(driver->Write(true, false, "", nullptr));
    ASSERT_GE(g_log.size(), 3u);
    EXPECT_EQ(g_log[0], "BeforeWrite");
    EXPECT_EQ(g_log[1], "result -105");
    EXPECT_EQ(g_log[2], "AfterWrite");
    EXPECT_EQ(g_log[3], "BeforeRead");
    EXPECT_EQ(g_log.back(), "result 0");

    g_log.clear();
    row1(); // the re-read left the walk's end there
    EXPECT_FALSE(driver->Write(false, false, "", nullptr));
    EXPECT_EQ(g_log, (Log{"BeforeWrite", "result -105", "AfterWrite"}));
    dev->clearFaults();
}

TEST_F(Driver, WriteSendsOnlyTheListedNumbersWithTheirValues) {
    driver->mode = 0;
    driver->request.vars = QvSNMPVarList(kSystem, SVT_SV, 0);
    TStringList values{"ignored", "renamed-ap"};
    *driver->request.vars.Item(1)->Value = "before";
    values.Delete(0);
    EXPECT_TRUE(driver->Write(true, false, "1", &values));
    EXPECT_EQ(dev->peek("system.5.0").value_or(""), "renamed-ap");
    EXPECT_EQ(*driver->request.vars.Item(1)->Value, "before"); // restored after the set
}

TEST_F(Driver, AsynchronousWalkEndsWithOneAfterReadAndTheClosure) {
    std::vector<int> done;
    driver->OnReadDone = [&](QvSNMPRequest2Controls* sender, QvSNMPError* e) {
        EXPECT_EQ(sender, driver);
        done.push_back(e->Code);
        g_log.push_back("done");
    };
    driver->request.vars = QvSNMPVarList(kDemo, MVT_UMV, 1);
    EXPECT_TRUE(driver->Read());
    EXPECT_EQ(driver->busy, 1);
    ASSERT_TRUE(WaitIdle(*driver));
    EXPECT_EQ(g_log, (Log{"BeforeRead", "row 1 first 192.0.2.10", "row 2 second 192.0.2.11",
                          "AfterRead", "result 0", "done"}));
    EXPECT_EQ(done, std::vector<int>{0});
}

TEST_F(Driver, AsynchronousReadWhoseFirstReplyFails) {
    ASSERT_TRUE(dev->fault("system.1.0", "timeout", "get", 2000));
    driver->request.Timeout = 20;
    std::vector<int> done;
    driver->OnReadDone = [&](QvSNMPRequest2Controls*, QvSNMPError* e) { done.push_back(e->Code); };
    driver->request.vars = QvSNMPVarList(kSystem, SVT_SV, 0);
    EXPECT_TRUE(driver->Read());
    ASSERT_TRUE(WaitIdle(*driver));
    EXPECT_EQ(done, std::vector<int>{-405});
    EXPECT_EQ(g_log, Log{"BeforeRead"}); // no row, no AfterRead, no result callback
    dev->clearFaults();
}

TEST_F(Driver, AsynchronousWriteRereadsATable) {
    std::vector<int> writes, reads;
    driver->OnWriteDone = [&](QvSNMPRequest2Controls*, QvSNMPError* e) {
        writes.push_back(e->Code);
    };
    driver->OnReadDone = [&](QvSNMPRequest2Controls*, QvSNMPError* e) { reads.push_back(e->Code); };
    driver->request.vars = QvSNMPVarList(kDemo, MVT_UMV, 1);
    *driver->request.vars.Item(0)->Value = "2";
    *driver->request.vars.Item(1)->Value = "two";
    *driver->request.vars.Item(2)->Value = "192.0.2.11";
    EXPECT_TRUE(driver->Write(true, false, "", nullptr));
    ASSERT_TRUE(WaitIdle(*driver));
    EXPECT_EQ(writes, std::vector<int>{0});
    ASSERT_TRUE(WaitIdle(*driver)); // the re-read
    EXPECT_EQ(reads, std::vector<int>{0});
    EXPECT_EQ(g_log.back(), "result 0");
    EXPECT_NE(std::find(g_log.begin(), g_log.end(), "row 2 two 192.0.2.11"), g_log.end());
}

// A failure while a completion is handled is reported, and the operation
// still ends through its one closure, so that a form waiting for it can
// enable its buttons and close again.
TEST_F(Driver, FailureInACompletionIsReportedThenEndsTheOperationThroughItsClosure) {
    struct Case {
        const char* what;
        bool write, onRow;
        const QvSNMPVar* vars;
        uint8_t kind;
        const char* report;
    } cases[] = {
        {"table row", false, true, kDemo, MVT_UMV, "Get: row refused"},
        {"single row", false, true, kSystem, SVT_SV, "Get: row refused"},
        {"AfterRead", false, false, kSystem, SVT_SV, "Get: after refused"},
        {"AfterWrite", true, false, kSystem, SVT_SV, "Set: after refused"},
    };
    auto* bar = new TStatusBar(form);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto d = std::make_unique<Recorder>(form);
        Aim(d->request);
        d->SetStatusBar(bar);
        d->throwOnRow = c.onRow;
        d->throwAfter = !c.onRow;
        std::vector<QvSNMPError> reads, writes;
        d->OnReadDone = [&](QvSNMPRequest2Controls* sender, QvSNMPError* e) {
            EXPECT_EQ(sender->busy, 0);
            reads.push_back(*e);
        };
        d->OnWriteDone = [&](QvSNMPRequest2Controls* sender, QvSNMPError* e) {
            EXPECT_EQ(sender->busy, 0);
            writes.push_back(*e);
        };
        d->request.vars = QvSNMPVarList(c.vars, c.kind, c.vars == kDemo ? 1 : 0);
        *d->request.vars.Item(1)->Value = "renamed-ap";
        g_log.clear();
        g_results.clear();
        if (c.write)
            d->Write(false, false, "1", nullptr);
        else
            d->Read();
        ASSERT_TRUE(WaitIdle(*d));
        const auto& done = c.write ? writes : reads;
        ASSERT_EQ(done.size(), 1u);
        EXPECT_EQ(done[0].Code, -517);
        EXPECT_EQ(done[0].Message, c.onRow ? "row refused" : "after refused");
        EXPECT_TRUE((c.write ? reads : writes).empty());
        EXPECT_TRUE(g_results.empty()); // no success record for a failed operation
        EXPECT_EQ(d->lastOperation, c.write ? 1 : 0);
        if (c.vars == kDemo) {
            EXPECT_EQ(g_log.back(), "row 1 first 192.0.2.10"); // the walk stopped
        }
        const std::regex line(std::string(c.report) +
                              R"(\. Receive at \d\d:\d\d:\d\d (AM|PM)\.)");
        EXPECT_TRUE(std::regex_match(bar->SimpleText(), line)) << bar->SimpleText();
    }
}

TEST_F(Driver, TheGroupIsIdleBeforeTheAfterHooksAndClosuresRun) {
    for (uint8_t mode : {0, 1}) {
        SCOPED_TRACE(int(mode));
        driver->mode = mode;
        driver->busyInAfter.clear();
        std::vector<int> busyInDone;
        auto note = [&](QvSNMPRequest2Controls* sender, QvSNMPError*) {
            busyInDone.push_back(sender->busy);
        };
        driver->OnReadDone = note;
        driver->OnWriteDone = note;
        driver->request.vars = QvSNMPVarList(kSystem, SVT_SV, 0);
        driver->Read();
        ASSERT_TRUE(WaitIdle(*driver));
        *driver->request.vars.Item(1)->Value = "renamed-ap";
        driver->Write(false, false, "1", nullptr);
        ASSERT_TRUE(WaitIdle(*driver));
        EXPECT_EQ(driver->busyInAfter, (std::vector<int>{0, 0}));
        EXPECT_EQ(busyInDone, (mode == 1 ? std::vector<int>{0, 0} : std::vector<int>{}));
    }
}

// A done closure that raises, run from the main loop and from a modal form's
// loop: the exception display gets it once, and the program goes on.
TEST_F(Driver, AClosureThatRaisesReachesTheExceptionDisplayOnce) {
    std::vector<std::string> shown;
    std::function<void()> after; // runs from the loop once the display is done
    Application->OnException = [&](const std::exception& e) {
        shown.push_back(e.what());
        PostCall([&] {
            if (after) after();
        });
    };
    driver->OnReadDone = [](QvSNMPRequest2Controls*, QvSNMPError*) {
        throw Exception("closure failed", -517);
    };
    driver->request.vars = QvSNMPVarList(kSystem, SVT_SV, 0);
    // A bound for the loops, should the completion never come.
    QTimer bound;
    bound.setSingleShot(true);
    QObject::connect(&bound, &QTimer::timeout, [] { Application->Terminate(); });

    // The main loop.
    int busyAfter = -1;
    auto* mainForm = new TForm(nullptr);
    Application->SetMainForm(mainForm);
    Application->ResetTerminated();
    after = [&] {
        busyAfter = driver->busy;
        Application->Terminate();
    };
    PostCall([&] { driver->Read(); });
    bound.start(20000);
    Application->Run();
    bound.stop();
    Application->SetMainForm(nullptr);
    Application->ResetTerminated();
    delete mainForm;
    EXPECT_EQ(shown, std::vector<std::string>{"closure failed"});
    EXPECT_EQ(busyAfter, 0);
    EXPECT_EQ(Application->LoopDepth(), 0);

    // A modal form's loop.
    shown.clear();
    busyAfter = -1;
    auto* dialog = new TForm(form);
    after = [&] {
        busyAfter = driver->busy;
        dialog->SetModalResult(mrOk);
    };
    session.NextModal([&](TForm*) { driver->Read(); });
    bound.start(20000);
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    bound.stop();
    EXPECT_EQ(shown, std::vector<std::string>{"closure failed"});
    EXPECT_EQ(busyAfter, 0);
    EXPECT_EQ(Application->LoopDepth(), 0);
    EXPECT_FALSE(dialog->Modal());
    Application->OnException = nullptr;
}

TEST_F(Driver, SynchronousFailuresAreRaisedAgainWithTheirCode) {
    driver->mode = 0;
    driver->throwOnRow = true;
    driver->request.vars = QvSNMPVarList(kSystem, SVT_SV, 0);
    try {
        driver->Read();
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "row refused");
        EXPECT_EQ(e.HelpContext(), -517);
    }
    EXPECT_EQ(driver->busy, 0);
    driver->request.Device.Address = "no such host name.invalid";
    for (uint8_t mode : {0, 1}) {
        driver->mode = mode;
        try {
            driver->Read();
            ADD_FAILURE() << "no exception in mode " << int(mode);
        } catch (const Exception& e) {
            EXPECT_EQ(e.HelpContext(), -509);
        }
        EXPECT_EQ(driver->busy, 0);
    }
}

TEST_F(Driver, AFailedAsynchronousSendEndsTheOperation) {
    driver->request.Security.Version = 7; // refused by the engine, never sent
    driver->request.vars = QvSNMPVarList(kSystem, SVT_SV, 0);
    driver->Read();
    EXPECT_TRUE(WaitIdle(*driver));
    driver->Write(false, false, "", nullptr);
    EXPECT_TRUE(WaitIdle(*driver));
    EXPECT_EQ(driver->request.Outstanding, 0);
}

TEST_F(Driver, OtherModesOnlyRunTheOpeningHooks) {
    driver->mode = 2;
    driver->request.vars = QvSNMPVarList(kSystem, SVT_SV, 0);
    EXPECT_TRUE(driver->Read());
    EXPECT_TRUE(driver->Write(true, true, "", nullptr));
    EXPECT_EQ(g_log, (Log{"BeforeRead", "BeforeWrite", "CollectValues"}));
    EXPECT_EQ(driver->request.Outstanding, 0);
    EXPECT_EQ(driver->busy, 0);
}

TEST_F(Driver, DeletingTheDriverWithAReplyDueRunsNothingOfIt) {
    bool fired = false;
    driver->OnReadDone = [&](QvSNMPRequest2Controls*, QvSNMPError*) { fired = true; };
    driver->request.vars = QvSNMPVarList(kDemo, MVT_UMV, 1);
    driver->Read();
    delete driver; // waits for the reply, delivers nothing
    driver = nullptr;
    for (int k = 0; k < 20; ++k) {
        Application->ProcessMessages();
        g_SnmpEventProcessor.OnTimer();
    }
    EXPECT_FALSE(fired);
    EXPECT_EQ(g_log, Log{"BeforeRead"});
}

TEST_F(Driver, DeletingTheDriverFromItsCompletions) {
    // A form that closes when its read or write is done deletes its group
    // from inside the closure, or from a row of a walk still going on.
    struct Step {
        const char* what;
        bool write, onRow;
        Log log; // everything the driver did, up to its end
    } steps[] = {
        {"read", false, false,
         {"BeforeRead", "row 1 first 192.0.2.10", "row 2 second 192.0.2.11", "AfterRead",
          "result 0"}},
        {"write", true, false, {"BeforeWrite", "AfterWrite", "result 0"}},
        {"row", false, true, {"BeforeRead", "row 1 first 192.0.2.10"}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        auto* d = new Recorder(form);
        Aim(d->request);
        d->request.vars = QvSNMPVarList(kDemo, MVT_UMV, 1);
        int closures = 0;
        auto finish = [&](QvSNMPRequest2Controls* sender, QvSNMPError* e) {
            EXPECT_EQ(e->Code, 0);
            ++closures;
            delete sender;
        };
        d->OnReadDone = finish;
        d->OnWriteDone = finish;
        d->deleteOnRow = step.onRow;
        g_log.clear();
        if (step.write) {
            *d->request.vars.Item(0)->Value = "1";
            *d->request.vars.Item(2)->Value = "192.0.2.10";
            d->Write(false, false, "2", nullptr);
        } else {
            d->Read();
        }
        // Until the driver is gone, and a little longer: nothing may follow.
        int rounds = 0;
        for (int k = 0; k < 500 && rounds < 20; ++k) {
            if (closures > 0 || g_log.size() >= step.log.size()) ++rounds;
            Application->ProcessMessages();
            g_SnmpEventProcessor.OnTimer();
            Sleep(10);
        }
        EXPECT_EQ(g_log, step.log);
        EXPECT_EQ(closures, step.onRow ? 0 : 1); // a row that deletes its driver ends it all
    }
}

TEST_F(Driver, DeletingTheDriverFromItsOwnRow) {
    driver->mode = 0;
    driver->deleteOnRow = true;
    driver->request.vars = QvSNMPVarList(kDemo, MVT_UMV, 1);
    Recorder* d = driver;
    driver = nullptr;
    EXPECT_FALSE(d->Read());
    EXPECT_EQ(g_log.size(), 2u); // the walk stopped with its driver
}

struct ReportCase {
    int lastOperation;
    std::string listName;
    std::string pattern;
};

void PrintTo(const ReportCase& c, std::ostream* os) {
    *os << "operation " << c.lastOperation
        << (c.listName.empty() ? " without list name" : " list " + c.listName);
}

class Report : public Driver, public ::testing::WithParamInterface<ReportCase> {};

TEST_P(Report, LineInEveryTarget) {
    const ReportCase& c = GetParam();
    driver->request.vars.Name = c.listName;
    driver->lastOperation = c.lastOperation;
    const std::regex line(c.pattern + R"( Receive at \d\d:\d\d:\d\d (AM|PM)\.)");

    auto* bar = new TStatusBar(form);
    driver->SetStatusBar(bar);
    driver->ReportToStatusBar("(SNMP) Variable does not exist!");
    EXPECT_TRUE(std::regex_match(bar->SimpleText(), line)) << bar->SimpleText();
    EXPECT_TRUE(bar->SimplePanel());

    bar->Panels().Add();
    TStatusPanel* panel = bar->Panels().Add();
    driver->SetStatusBar(panel);
    driver->ReportToStatusBar("(SNMP) Variable does not exist!");
    EXPECT_TRUE(std::regex_match(panel->Text(), line)) << panel->Text();

    auto* memo = new TMemo(form);
    memo->Lines().Add("earlier");
    driver->SetStatusBar2(memo);
    driver->ReportToStatusBar("(SNMP) Variable does not exist!");
    ASSERT_EQ(memo->Lines().Count(), 2);
    EXPECT_TRUE(std::regex_match(memo->Lines()[1], line)) << memo->Lines()[1];
}

INSTANTIATE_TEST_SUITE_P(
    Templates, Report,
    ::testing::Values(ReportCase{0, "", R"(Get: \(SNMP\) Variable does not exist!\.)"},
                      ReportCase{1, "", R"(Set: \(SNMP\) Variable does not exist!\.)"},
                      ReportCase{0, "LAN",
                                 R"(Get: \(SNMP\) Variable does not exist! Request:LAN\.)"}));

TEST_F(Driver, ResultReportsWithoutATargetUseMessageBoxes) {
    QvSNMPError e;
    e.Code = -405;
    e.Message = "(SNMPClass) SNMP request timed out!";
    driver->ReportWriteResult(&e);
    EXPECT_EQ(driver->lastOperation, 1);
    ASSERT_EQ(session.Boxes().Count(), 1);
    EXPECT_EQ(session.Boxes().Last().text, e.Message);
    EXPECT_EQ(session.Boxes().Last().caption, ExtractFileName(Application->ExeName()));

    // An object that is no report target shows nothing.
    auto* label = new TLabel(form);
    label->SetCaption("unchanged");
    driver->SetStatusBar(label);
    driver->ReportReadResult(&e);
    EXPECT_EQ(driver->lastOperation, 0);
    EXPECT_EQ(label->Caption(), "unchanged");
    EXPECT_EQ(session.Boxes().Count(), 1);
}

} // namespace
