// One Apply over several groups: success only after every write completed
// and succeeded, the first failure shown once and the rest left unsent, in
// both modes, and nothing reaching a form that has gone.
#include "binding/QvWriteSequence.h"

#include "binding/QvWaitIdle.h"
#include "tests/binding/group_fixture.h"
#include "ui/Widgets.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace QvSyntax;
using namespace snmptest;

const QvSNMPVar kName[] = {
    {"1.3.6.1.2.1.1.5", "sysName", DisplayStr, 6, nullptr, nullptr, nullptr, nullptr, nullptr,
     nullptr},
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}};
const QvSNMPVar kLocation[] = {
    {"1.3.6.1.2.1.1.6", "sysLocation", DisplayStr, 6, nullptr, nullptr, nullptr, nullptr, nullptr,
     nullptr},
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}};

const char* kNameOid = ".1.3.6.1.2.1.1.5.0";
const char* kLocationOid = ".1.3.6.1.2.1.1.6.0";

class WriteSequence : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dev.running()) << dev.error();
        ASSERT_TRUE(dev.reset());
        CreateGlobalSessionInTempFolder();
        form = new TForm(nullptr);
    }
    void TearDown() override {
        groups.clear();
        delete form;
    }
    // A group of one variable shown in an edit that holds text.
    QvSNMPRequest2Edits* Group(const QvSNMPVar* table, uint8_t mode, const std::string& text) {
        auto g = std::make_unique<QvSNMPRequest2Edits>(form);
        g->mode = mode;
        AimAt(g->request, dev);
        g->request.vars = QvSNMPVarList(table, SVT_SV, 0);
        auto* edit = new TEdit(form);
        g->AssociateEdits(0, "%s", edit);
        edit->SetText(text);
        groups.push_back(std::move(g));
        return groups.back().get();
    }
    // Runs until the sequence ends; false when it did not within the bound.
    bool WaitDone(const QvWriteSequence& s) {
        for (int k = 0; k < 1000 && s.Running(); ++k) {
            Application->ProcessMessages();
            g_SnmpEventProcessor.OnTimer();
            Sleep(10);
        }
        return !s.Running();
    }

    lmrtest::SimDevice& dev = lmrtest::SimDevice::shared();
    UiTestSession session;
    TForm* form = nullptr;
    std::vector<std::unique_ptr<QvSNMPRequest2Edits>> groups;
    int doneCalls = 0;
    bool doneOk = false;
    QvSNMPError failure;
    QvWriteSequence::Done Record() {
        return [this](bool ok, const QvSNMPError& f) {
            ++doneCalls;
            doneOk = ok;
            failure = f;
        };
    }
};

struct ModeCase {
    const char* what;
    uint8_t first, second;
};
const ModeCase kModes[] = {{"both blocking", 0, 0},
                           {"both asynchronous", 1, 1},
                           {"blocking, then asynchronous", 0, 1},
                           {"asynchronous, then blocking", 1, 0}};

TEST_F(WriteSequence, SuccessOnlyAfterEveryWriteSucceeded) {
    for (const ModeCase& c : kModes) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(dev.reset());
        dev.takeSetLog();
        doneCalls = 0;
        QvWriteSequence s;
        s.Add(Group(kName, c.first, "ap-one"));
        s.Add(Group(kLocation, c.second, "attic"));
        // The form hears nothing before the last write has its reply.
        s.SetShowFailure(true);
        ASSERT_TRUE(s.Start([&](bool ok, const QvSNMPError&) {
            ++doneCalls;
            doneOk = ok;
            EXPECT_EQ(dev.peek("system.6.0").value_or(""), "attic");
        }));
        if (c.first == 1 || c.second == 1) {
            EXPECT_EQ(doneCalls, 0);
        }
        ASSERT_TRUE(WaitDone(s));
        EXPECT_EQ(doneCalls, 1);
        EXPECT_TRUE(doneOk);
        EXPECT_EQ(dev.takeSetLog(), (std::vector<std::string>{kNameOid, kLocationOid}));
        EXPECT_EQ(session.Boxes().Count(), 0);
    }
}

TEST_F(WriteSequence, FirstFailureIsShownOnceAndTheRestIsNotSent) {
    for (const ModeCase& c : kModes) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(dev.reset());
        ASSERT_TRUE(dev.fault("system.5.0", "genErr", "set"));
        dev.takeSetLog();
        session.Boxes().Clear();
        doneCalls = 0;
        QvWriteSequence s;
        s.Add(Group(kName, c.first, "ap-one"));
        s.Add(Group(kLocation, c.second, "attic"));
        ASSERT_TRUE(s.Start(Record()));
        ASSERT_TRUE(WaitDone(s));
        EXPECT_EQ(doneCalls, 1);
        EXPECT_FALSE(doneOk);
        EXPECT_NE(failure.Code, 0);
        ASSERT_EQ(session.Boxes().Count(), 1);
        EXPECT_EQ(session.Boxes().Last().text, failure.Message);
        EXPECT_FALSE(failure.Message.empty());
        EXPECT_EQ(dev.peek("system.6.0").value_or(""), "Lab");
        for (const std::string& oid : dev.takeSetLog()) EXPECT_NE(oid, kLocationOid);
        ASSERT_TRUE(dev.clearFaults());
    }
}

TEST_F(WriteSequence, TheFormsOwnClosureStillRunsAndComesBack) {
    QvSNMPRequest2Edits* g = Group(kName, 1, "ap-one");
    int own = 0;
    g->OnWriteDone = [&](QvSNMPRequest2Controls*, QvSNMPError*) { ++own; };
    QvWriteSequence s;
    s.Add(g);
    ASSERT_TRUE(s.Start(Record()));
    ASSERT_TRUE(WaitDone(s));
    EXPECT_EQ(own, 1);
    EXPECT_EQ(doneCalls, 1);
    // A later write of the form alone reaches only its own closure.
    ASSERT_TRUE(g->Write(true, true, "", nullptr));
    ASSERT_TRUE(WaitIdle(*g));
    EXPECT_EQ(own, 2);
    EXPECT_EQ(doneCalls, 1);
}

TEST_F(WriteSequence, ARaisedConversionEndsItAsAFailure) {
    static const QvSNMPVar kAddress[] = {
        {"1.3.6.1.4.1.32473.11.37.4.1.2.2", "ip", IpAddress, 6, nullptr, nullptr, nullptr,
         nullptr, nullptr, nullptr},
        {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}};
    dev.takeSetLog();
    QvWriteSequence s;
    s.Add(Group(kAddress, 0, "not an address"));
    s.Add(Group(kName, 0, "ap-one"));
    ASSERT_TRUE(s.Start(Record()));
    EXPECT_FALSE(s.Running());
    EXPECT_EQ(doneCalls, 1);
    EXPECT_FALSE(doneOk);
    EXPECT_LT(failure.Code, 0); // the conversion's own code
    ASSERT_EQ(session.Boxes().Count(), 1);
    EXPECT_EQ(session.Boxes().Last().text, failure.Message);
    EXPECT_TRUE(dev.takeSetLog().empty());
}

TEST_F(WriteSequence, RefusedWhileRunningOrEmpty) {
    QvWriteSequence s;
    EXPECT_FALSE(s.Start(Record()));
    s.Add(Group(kName, 1, "ap-one"));
    ASSERT_TRUE(s.Start(Record()));
    s.Add(Group(kLocation, 1, "attic"));
    EXPECT_FALSE(s.Start(Record()));
    ASSERT_TRUE(WaitDone(s));
    EXPECT_EQ(doneCalls, 1);
}

// The form closes while its write is outstanding: nothing reaches it later.
TEST_F(WriteSequence, AFormGoneMeanwhileHearsNothing) {
    auto s = std::make_unique<QvWriteSequence>();
    s->Add(Group(kName, 1, "ap-one"));
    ASSERT_TRUE(s->Start(Record()));
    s.reset();
    groups.clear();
    for (int k = 0; k < 50; ++k) {
        Application->ProcessMessages();
        g_SnmpEventProcessor.OnTimer();
        Sleep(10);
    }
    EXPECT_EQ(doneCalls, 0);
    EXPECT_EQ(session.Boxes().Count(), 0);
}

} // namespace

// A group whose read failed holds no value of the device: its controls are
// greyed until a read succeeds, and an Apply leaves it out.
TEST_F(WriteSequence, AGroupWhoseReadFailedIsNeitherEditableNorWritten) {
    for (const ModeCase& c : kModes) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(dev.reset());
        ASSERT_TRUE(dev.fault("system.5.0", "noSuchName", "get"));
        QvSNMPRequest2Edits* unread = Group(kName, c.first, "");
        QvSNMPRequest2Edits* read = Group(kLocation, c.second, "");
        auto* unreadEdit = static_cast<TEdit*>(unread->Association(0)->controls[0]);
        auto* readEdit = static_cast<TEdit*>(read->Association(0)->controls[0]);
        for (QvSNMPRequest2Edits* g : {unread, read}) {
            try {
                g->Read();
            } catch (const std::exception&) {
            }
            for (int k = 0; k < 500 && g->busy; ++k) {
                Application->ProcessMessages();
                g_SnmpEventProcessor.OnTimer();
                Sleep(10);
            }
        }
        EXPECT_TRUE(unread->ReadFailed());
        EXPECT_NE(unread->LastReadFailure().Code, 0);
        EXPECT_TRUE(read->ReadSucceeded());
        EXPECT_FALSE(unreadEdit->Enabled());
        EXPECT_TRUE(readEdit->Enabled());
        unreadEdit->SetText("wiped");
        readEdit->SetText("attic");
        session.Boxes().Clear();
        dev.takeSetLog();
        QvWriteSequence s;
        s.Add(unread);
        s.Add(read);
        ASSERT_TRUE(s.Start(Record()));
        ASSERT_TRUE(WaitDone(s));
        EXPECT_TRUE(doneOk);
        EXPECT_EQ(s.LeftOut(), 1);
        EXPECT_EQ(dev.takeSetLog(), (std::vector<std::string>{kLocationOid}));
        // Once the device answers, the controls are the user's again.
        ASSERT_TRUE(dev.clearFaults());
        try {
            unread->Read();
        } catch (const std::exception&) {
        }
        for (int k = 0; k < 500 && unread->busy; ++k) {
            Application->ProcessMessages();
            g_SnmpEventProcessor.OnTimer();
            Sleep(10);
        }
        EXPECT_TRUE(unread->ReadSucceeded());
        EXPECT_TRUE(unreadEdit->Enabled());
        EXPECT_EQ(unreadEdit->Text(), "LMR-7300AP");
    }
}

// With every group unread nothing is sent and nothing is claimed: the run
// fails with the read's failure. A command group is still written.
TEST_F(WriteSequence, NothingReadMeansNoWriteAndNoSuccess) {
    ASSERT_TRUE(dev.reset());
    ASSERT_TRUE(dev.fault("system.5.0", "noSuchName", "get"));
    QvSNMPRequest2Edits* g = Group(kName, 0, "");
    try {
        g->Read();
    } catch (const std::exception&) {
    }
    ASSERT_TRUE(g->ReadFailed());
    dev.takeSetLog();
    session.Boxes().Clear();
    QvWriteSequence s;
    s.Add(g);
    ASSERT_TRUE(s.Start(Record()));
    ASSERT_TRUE(WaitDone(s));
    EXPECT_EQ(doneCalls, 1);
    EXPECT_FALSE(doneOk);
    EXPECT_EQ(failure.Code, g->LastReadFailure().Code);
    EXPECT_EQ(s.FailedGroup(), g);
    EXPECT_TRUE(dev.takeSetLog().empty());
    ASSERT_EQ(session.Boxes().Count(), 1);
    EXPECT_EQ(session.Boxes().Last().text, g->LastReadFailure().Message);

    // (the agent looks an object up before it sets it)
    ASSERT_TRUE(dev.clearFaults());
    static_cast<TEdit*>(g->Association(0)->controls[0])->SetText("commanded");
    s.AddCommand(g);
    ASSERT_TRUE(s.Start(Record()));
    ASSERT_TRUE(WaitDone(s));
    EXPECT_TRUE(doneOk);
    EXPECT_EQ(dev.takeSetLog(), (std::vector<std::string>{kNameOid}));
}

// An Apply pressed while the edit still has the focus (an accelerator) does
// not send what the edit's constraint refuses; a greyed or unwritten edit is
// not checked.
TEST_F(WriteSequence, EveryBoundEditPassesItsConstraintBeforeTheFirstWrite) {
    struct Case {
        const char* what;
        const char* text;
        bool greyed;
        bool leftOut; // the variable is not written this time
        bool sent;
    } cases[] = {{"in range", "4094", false, false, true},
                 {"above the range", "4095", false, false, false},
                 {"below the range", "0", false, false, false},
                 {"greyed", "4095", true, false, true},
                 {"not written", "4095", false, true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(dev.reset());
        groups.clear();
        QvSNMPRequest2Edits* first = Group(kLocation, 0, "attic");
        auto g = std::make_unique<QvSNMPRequest2Edits>(form);
        g->mode = 0;
        AimAt(g->request, dev);
        g->request.vars = QvSNMPVarList(kName, SVT_SV, 0);
        auto* edit = new TEdit(form);
        g->AssociateEdits(0, "%u{n1x4094}", edit);
        g->Constraint().StoreText(edit);
        edit->SetText(c.text);
        edit->SetReadOnly(c.greyed);
        if (c.leftOut) g->request.vars.Item(0)->Access = QvAccess::Invalid;
        dev.takeSetLog();
        session.Boxes().Clear();
        QvWriteSequence s;
        s.Add(first);
        s.Add(g.get());
        ASSERT_TRUE(s.Start(Record()));
        ASSERT_TRUE(WaitDone(s));
        EXPECT_EQ(doneOk, c.sent);
        const std::vector<std::string> log = dev.takeSetLog();
        if (c.sent) {
            EXPECT_EQ(session.Boxes().Count(), 0);
            EXPECT_EQ(log.front(), kLocationOid);
        } else {
            EXPECT_TRUE(log.empty()) << "nothing goes before the check";
            ASSERT_EQ(session.Boxes().Count(), 1);
            EXPECT_NE(session.Boxes().Last().text.find("(QvCommon) "), std::string::npos);
            EXPECT_EQ(edit->Text(), "");
        }
        groups.push_back(std::move(g));
    }
}

// A window about to close (or a test) can find every group and sequence still
// at work: groups are listed while they live, and a running sequence shows.
TEST(LiveWork, GroupsAndSequencesAreListedWhileTheyLive) {
    UiTestSession session;
    auto& dev = lmrtest::SimDevice::shared();
    ASSERT_TRUE(dev.running()) << dev.error();
    CreateGlobalSessionInTempFolder();
    auto* form = new TForm(nullptr);
    const auto listed = [](const QvSNMPRequest2Controls* g) {
        const auto& live = QvSNMPRequest2Controls::Live();
        return std::find(live.begin(), live.end(), g) != live.end();
    };
    {
        auto g = std::make_unique<QvSNMPRequest2Edits>(form);
        EXPECT_TRUE(listed(g.get()));
        AimAt(g->request, dev);
        g->request.vars = QvSNMPVarList(kName, SVT_SV, 0);
        g->mode = 1;
        auto* edit = new TEdit(form);
        g->AssociateEdits(0, "%s", edit);
        edit->SetText("ap-live");
        EXPECT_FALSE(QvWriteSequence::AnyRunning());
        {
            QvWriteSequence s;
            s.Add(g.get());
            ASSERT_TRUE(s.Start([](bool, const QvSNMPError&) {}));
            EXPECT_TRUE(QvWriteSequence::AnyRunning());
            EXPECT_TRUE(QvWaitWhile([&] { return s.Running(); }, 10000));
            EXPECT_FALSE(QvWriteSequence::AnyRunning());
            s.Add(g.get());
            ASSERT_TRUE(s.Start([](bool, const QvSNMPError&) {}));
            EXPECT_TRUE(QvWriteSequence::AnyRunning());
        }
        // A sequence gone is no longer counted, running or not.
        EXPECT_FALSE(QvWriteSequence::AnyRunning());
        EXPECT_TRUE(QvWaitWhile([&] { return g->busy != 0; }, 10000));
        QvSNMPRequest2Controls* raw = g.get();
        g.reset();
        EXPECT_FALSE(listed(raw));
    }
    delete form;
}
