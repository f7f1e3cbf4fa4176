// The device model and the pass_persist conversation without snmpd.
#include "sim/Model.h"
#include "sim/Protocol.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

using namespace sim;

namespace {

const char* const kData = R"(
system.1.0 string ro "Device"
system.3.0 timeticks ro 0 uptime
system.5.0 string rw "name" size=1..8
qvEnterprise.1.1.0 integer rw 1 enum=1,2
qvEnterprise.1.2.0 integer rw 5 range=0..10
qvEnterprise.1.3.0 ipaddress rw 10.0.0.1
qvEnterprise.1.4.0 ipaddress ro 10.0.0.1 copy-on-restart=qvEnterprise.1.3.0
qvEnterprise.1.5.0 integer rw 6 restart-on=4 after-restart=6
qvEnterprise.1.6.0 string ro "v1" @old=v0
qvEnterprise.1.7.0 integer ro 1 only=new
qvEnterprise.1.8.0 string ro hex:00FF
qvEnterprise.1.9.0 objectid ro qvEnterprise.10
table qvEnterprise.2.1 status=3
column 1 integer index 0
column 2 string rw "" size=0..4
column 3 integer rw 1 enum=1,2,4,5,6
row 1 1 "a" 1
end
table qvEnterprise.3.1
column 1 integer ro 0
row 7 7
end
)";

Oid oid(const std::string& text) {
    return *parseOid(text);
}

Model load(const std::string& profile = "new") {
    Model m;
    std::string error;
    EXPECT_TRUE(m.loadText(kData, profile, &error)) << error;
    return m;
}

} // namespace

TEST(SimModel, OidTextForms) {
    EXPECT_EQ(oidText(oid("qvEnterprise.11.37")), ".1.3.6.1.4.1.32473.11.37");
    EXPECT_EQ(oidText(oid("system.5.0")), ".1.3.6.1.2.1.1.5.0");
    EXPECT_EQ(oidText(oid(".1.3.6")), ".1.3.6");
    EXPECT_FALSE(parseOid("1.x.3"));
    EXPECT_FALSE(parseOid(""));
    EXPECT_FALSE(parseOid("qvEnterprisex.1"));
}

TEST(SimModel, BadDataLinesAreRefusedWithTheirLine) {
    const char* bad[] = {
        "system.1.0 string ro",                          // no value
        "system.1.0 float ro 1",                         // unknown type
        "system.1.0 integer rx 1",                       // unknown access
        "system.1.0 integer ro abc",                     // not a number
        "system.1.0 ipaddress ro 1.2.3",                 // not an address
        "system.1.0 integer ro 1 range=5",               // bad rule
        "system.1.0 string ro \"open",                   // unterminated quote
        "table qvEnterprise.2.1\nrow 1 1\nend",          // row wider than the columns
        "table qvEnterprise.2.1\ncolumn 1 integer ro 0", // no end
        "end",
    };
    for (const char* text : bad) {
        Model m;
        std::string error;
        EXPECT_FALSE(m.loadText(text, "new", &error)) << text;
        EXPECT_NE(error.find("line"), std::string::npos) << text << ": " << error;
    }
}

TEST(SimModel, ShippedDataFileLoadsForBothProfiles) {
    for (const char* profile : {"new", "old"}) {
        Model m;
        std::string error;
        EXPECT_TRUE(m.loadFile(std::string(LMR_SOURCE_DIR) + "/sim/device.dat", profile, &error))
            << profile << ": " << error;
        EXPECT_TRUE(m.get(oid("system.2.0")));
        EXPECT_TRUE(m.get(oid("qvEnterprise.11.37.4.4.1.1.1.0")));
    }
}

TEST(SimModel, ValuesAsTheProtocolWritesThem) {
    Model m = load();
    auto vb = m.get(oid("qvEnterprise.1.8.0"));
    ASSERT_TRUE(vb);
    EXPECT_EQ(vb->type, "octet");
    EXPECT_EQ(vb->value, "00 ff");
    vb = m.get(oid("qvEnterprise.1.9.0"));
    ASSERT_TRUE(vb);
    EXPECT_EQ(vb->type, "objectid");
    EXPECT_EQ(vb->value, ".1.3.6.1.4.1.32473.10");
    EXPECT_EQ(m.peek(oid("qvEnterprise.1.8.0")), "hex:00FF");
}

TEST(SimModel, SetResults) {
    struct Case {
        const char* oid;
        const char* type;
        const char* value;
        const char* result;
    };
    const Case cases[] = {
        {"system.5.0", "string", "\"new\"", "DONE"},
        {"system.5.0", "string", "\"\"", "wrong-length"},
        {"system.5.0", "string", "\"ninechars\"", "wrong-length"},
        {"system.5.0", "octet", "\"41 42\"", "DONE"},
        {"system.5.0", "octet", "\"4\"", "wrong-value"},
        {"system.5.0", "integer", "1", "wrong-type"},
        {"system.1.0", "string", "\"x\"", "not-writable"},
        {"qvEnterprise.1.1.0", "integer", "2", "DONE"},
        {"qvEnterprise.1.1.0", "integer", "3", "wrong-value"},
        {"qvEnterprise.1.2.0", "integer", "10", "DONE"},
        {"qvEnterprise.1.2.0", "integer", "11", "wrong-value"},
        {"qvEnterprise.1.2.0", "integer", "-1", "wrong-value"},
        {"qvEnterprise.1.2.0", "gauge", "1", "wrong-type"},
        {"qvEnterprise.1.3.0", "ipaddress", "192.0.2.9", "DONE"},
        {"qvEnterprise.1.3.0", "ipaddress", "192.0.2.256", "wrong-value"},
        {"qvEnterprise.9.0", "integer", "1", "not-writable"},
    };
    for (const auto& c : cases) {
        Model m = load();
        EXPECT_EQ(m.set(oid(c.oid), c.type, c.value), c.result) << c.oid << " " << c.value;
    }
    Model m = load();
    m.set(oid("system.5.0"), "octet", "\"41 42\"");
    EXPECT_EQ(m.peek(oid("system.5.0")), "AB");
}

TEST(SimModel, GetNextStaysInsideTheSubtree) {
    Model m = load();
    Oid system = oid("system");
    auto vb = m.getNext(system, system);
    ASSERT_TRUE(vb);
    EXPECT_EQ(vb->oid, oid("system.1.0"));
    vb = m.getNext(oid("system.5.0"), system);
    EXPECT_FALSE(vb);
    Oid ent = oid("qvEnterprise");
    vb = m.getNext(oid("qvEnterprise.1.9.0"), ent);
    ASSERT_TRUE(vb);
    EXPECT_EQ(vb->oid, oid("qvEnterprise.2.1.1.1"));
}

TEST(SimModel, ProfilesChooseValuesAndObjects) {
    Model newer = load("new");
    Model older = load("old");
    EXPECT_EQ(newer.peek(oid("qvEnterprise.1.6.0")), "v1");
    EXPECT_EQ(older.peek(oid("qvEnterprise.1.6.0")), "v0");
    EXPECT_TRUE(newer.get(oid("qvEnterprise.1.7.0")));
    EXPECT_FALSE(older.get(oid("qvEnterprise.1.7.0")));
}

TEST(SimModel, ATableOfOneProfileIsLeftOutOfTheOthers) {
    const char* text = "table qvEnterprise.4.1 only=old,older\n"
                       "column 1 integer ro 0\n"
                       "row 3 9\n"
                       "end\n"
                       "qvEnterprise.5.0 integer ro 1\n";
    for (const char* profile : {"new", "old", "older"}) {
        Model m;
        std::string error;
        ASSERT_TRUE(m.loadText(text, profile, &error)) << profile << ": " << error;
        EXPECT_EQ(m.get(oid("qvEnterprise.4.1.1.3")).has_value(), std::string(profile) != "new")
            << profile;
        EXPECT_TRUE(m.get(oid("qvEnterprise.5.0"))) << profile;
    }
}

TEST(SimModel, RowStatusCreatesAndDestroys) {
    Model m = load();
    Oid name5 = oid("qvEnterprise.2.1.2.5");
    // snmpd asks for a cell before it sets it, so cells of new rows answer
    EXPECT_TRUE(m.get(name5));
    EXPECT_EQ(m.set(oid("qvEnterprise.2.1.1.5"), "integer", "5"), "DONE");
    EXPECT_EQ(m.set(name5, "string", "\"five\""), "DONE");
    EXPECT_FALSE(m.peek(name5)); // not a row until its status says so
    EXPECT_EQ(m.set(oid("qvEnterprise.2.1.3.5"), "integer", "4"), "DONE");
    EXPECT_EQ(m.peek(name5), "five");
    EXPECT_EQ(m.peek(oid("qvEnterprise.2.1.3.5")), "1");
    EXPECT_EQ(m.peek(oid("qvEnterprise.2.1.1.5")), "5");

    EXPECT_EQ(m.set(oid("qvEnterprise.2.1.3.5"), "integer", "4"), "inconsistent-value");
    EXPECT_EQ(m.set(oid("qvEnterprise.2.1.1.5"), "integer", "5"), "not-writable");
    EXPECT_EQ(m.set(oid("qvEnterprise.2.1.1.6"), "integer", "7"), "inconsistent-value");
    EXPECT_EQ(m.set(oid("qvEnterprise.2.1.2.6"), "string", "\"toolong\""), "wrong-length");
    EXPECT_EQ(m.set(oid("qvEnterprise.2.1.3.6"), "integer", "1"), "inconsistent-value");

    EXPECT_EQ(m.set(oid("qvEnterprise.2.1.3.1"), "integer", "6"), "DONE");
    EXPECT_FALSE(m.peek(oid("qvEnterprise.2.1.2.1")));
    EXPECT_EQ(m.set(oid("qvEnterprise.2.1.3.1"), "integer", "6"), "DONE");
    auto next = m.getNext(oid("qvEnterprise.2.1.2"), oid("qvEnterprise"));
    ASSERT_TRUE(next);
    EXPECT_EQ(next->oid, name5);
}

TEST(SimModel, FixedTablesHaveNoPhantomRows) {
    Model m = load();
    EXPECT_TRUE(m.get(oid("qvEnterprise.3.1.1.7")));
    EXPECT_FALSE(m.get(oid("qvEnterprise.3.1.1.8")));
    EXPECT_EQ(m.set(oid("qvEnterprise.3.1.1.8"), "integer", "1"), "not-writable");
}

TEST(SimModel, RestartRequestAndRestartValues) {
    Model m = load();
    EXPECT_EQ(m.set(oid("qvEnterprise.1.5.0"), "integer", "3"), "DONE");
    m.commit();
    EXPECT_FALSE(m.takeRestartRequest());
    m.set(oid("qvEnterprise.1.3.0"), "ipaddress", "192.0.2.5");
    EXPECT_EQ(m.peek(oid("qvEnterprise.1.4.0")), "10.0.0.1");
    EXPECT_EQ(m.set(oid("qvEnterprise.1.5.0"), "integer", "4"), "DONE");
    m.commit();
    EXPECT_TRUE(m.takeRestartRequest());
    EXPECT_FALSE(m.takeRestartRequest());
    m.restarted();
    EXPECT_EQ(m.peek(oid("qvEnterprise.1.5.0")), "6");
    EXPECT_EQ(m.peek(oid("qvEnterprise.1.4.0")), "192.0.2.5");
    EXPECT_EQ(m.peek(oid("qvEnterprise.1.3.0")), "192.0.2.5");
}

TEST(SimModel, PokeBypassesAccessButNotType) {
    Model m = load();
    std::string error;
    EXPECT_TRUE(m.poke(oid("system.1.0"), "Other", &error));
    EXPECT_EQ(m.get(oid("system.1.0"))->value, "Other");
    EXPECT_FALSE(m.poke(oid("qvEnterprise.1.2.0"), "five", &error));
    EXPECT_FALSE(m.poke(oid("qvEnterprise.7.0"), "1", &error));
}

TEST(SimModel, FaultsByPrefixAndScope) {
    Model m = load();
    Fault timeout{FaultMode::Timeout, FaultScope::Any, 100};
    Fault setOnly{FaultMode::GenErr, FaultScope::Set, 0};
    m.setFault(oid("qvEnterprise.1"), timeout);
    m.setFault(oid("qvEnterprise.1.2.0"), setOnly);
    EXPECT_EQ(m.faultFor(oid("qvEnterprise.1.1.0"), false)->mode, FaultMode::Timeout);
    EXPECT_EQ(m.faultFor(oid("qvEnterprise.1.2.0"), true)->mode, FaultMode::GenErr);
    // the set-only fault does not hide the wider one for reads
    EXPECT_EQ(m.faultFor(oid("qvEnterprise.1.2.0"), false)->mode, FaultMode::Timeout);
    EXPECT_FALSE(m.faultFor(oid("system.1.0"), false));
    m.setFault(oid("qvEnterprise.1"), Fault{});
    EXPECT_FALSE(m.faultFor(oid("qvEnterprise.1.1.0"), false));
    m.clearFaults();
    EXPECT_FALSE(m.faultFor(oid("qvEnterprise.1.2.0"), true));
}

TEST(SimModel, FaultHitsCountMatchesOfThatFaultOnly) {
    Model m = load();
    m.setFault(oid("qvEnterprise.1"), Fault{FaultMode::Timeout, FaultScope::Any, 100});
    m.setFault(oid("qvEnterprise.1.2.0"), Fault{FaultMode::GenErr, FaultScope::Set, 0});
    EXPECT_EQ(m.faultHits(oid("qvEnterprise.1")), 0u);
    m.faultFor(oid("qvEnterprise.1.1.0"), false);
    m.faultFor(oid("qvEnterprise.1.2.0"), false); // the wider one answers a read
    m.faultFor(oid("qvEnterprise.1.2.0"), true);
    m.faultFor(oid("system.1.0"), false);
    EXPECT_EQ(m.faultHits(oid("qvEnterprise.1")), 2u);
    EXPECT_EQ(m.faultHits(oid("qvEnterprise.1.2.0")), 1u);
    EXPECT_EQ(m.faultHits(oid("system.1.0")), 0u);
    // set anew, a fault counts from zero; cleared, it counts nothing
    m.setFault(oid("qvEnterprise.1"), Fault{FaultMode::NoSuchName, FaultScope::Get, 0});
    EXPECT_EQ(m.faultHits(oid("qvEnterprise.1")), 0u);
    m.clearFaults();
    EXPECT_EQ(m.faultHits(oid("qvEnterprise.1.2.0")), 0u);
}

TEST(SimProtocol, ParsesSnmpdLines) {
    RequestParser p;
    auto r = p.feed("PING");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->kind, Request::Ping);
    EXPECT_FALSE(p.feed("set"));
    EXPECT_FALSE(p.feed(".1.3.6.1.2.1.1.5.0"));
    r = p.feed("string \"two words\"");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->kind, Request::Set);
    EXPECT_EQ(r->typeWord, "string");
    EXPECT_EQ(r->value, "\"two words\"");
    EXPECT_FALSE(p.feed("")); // snmpd's blank line after a set
    EXPECT_FALSE(p.feed("getnext"));
    r = p.feed(".1.3.6");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->kind, Request::GetNext);
    EXPECT_EQ(r->oid, oid(".1.3.6"));
}

TEST(SimProtocol, AnswersWithFaultsApplied) {
    Model m = load();
    Oid system = oid("system");
    Request get{Request::Get, oid("system.1.0"), false, "", ""};
    EXPECT_EQ(respond(m, get, system, 500).text, ".1.3.6.1.2.1.1.1.0\nstring\nDevice\n");
    Request outside{Request::Get, oid("qvEnterprise.1.1.0"), false, "", ""};
    EXPECT_EQ(respond(m, outside, system, 500).text, "NONE\n");

    m.setFault(oid("system.1.0"), Fault{FaultMode::NoSuchName, FaultScope::Any, 0});
    EXPECT_EQ(respond(m, get, system, 500).text, "NONE\n");
    Request next{Request::GetNext, system, false, "", ""};
    EXPECT_NE(respond(m, next, system, 500).text.find(".1.3.6.1.2.1.1.3.0"), std::string::npos);

    m.setFault(oid("system.5.0"), Fault{FaultMode::Timeout, FaultScope::Set, 0});
    Request set{Request::Set, oid("system.5.0"), false, "string", "\"x\""};
    Reply held = respond(m, set, system, 500);
    EXPECT_TRUE(held.delayed);
    EXPECT_EQ(held.delayMs, 500);
    EXPECT_EQ(releaseText(m, set, system), "gen-error\n");
    EXPECT_EQ(m.peek(oid("system.5.0")), "name"); // a lost set is not applied

    const std::pair<FaultMode, const char*> words[] = {{FaultMode::GenErr, "gen-error\n"},
                                                       {FaultMode::BadValue, "bad-value\n"},
                                                       {FaultMode::NoSuchName, "no-such-name\n"}};
    for (const auto& [mode, word] : words) {
        m.setFault(oid("system.5.0"), Fault{mode, FaultScope::Any, 0});
        EXPECT_EQ(respond(m, set, system, 500).text, word);
    }
    m.clearFaults();
    EXPECT_EQ(respond(m, set, system, 500).text, "DONE\n");
}

TEST(SimModel, NextScopedFaultsMeetOnlyWalks) {
    Model m = load();
    m.setFault(oid("qvEnterprise.1.2.0"), Fault{FaultMode::Timeout, FaultScope::Next, 0});
    EXPECT_EQ(m.faultFor(oid("qvEnterprise.1.2.0"), false, true)->mode, FaultMode::Timeout);
    EXPECT_FALSE(m.faultFor(oid("qvEnterprise.1.2.0"), false));
    EXPECT_FALSE(m.faultFor(oid("qvEnterprise.1.2.0"), true));
    // a set goes through although its object cannot be walked
    Request set{Request::Set, oid("qvEnterprise.1.2.0"), false, "integer", "7"};
    EXPECT_EQ(respond(m, set, oid("qvEnterprise"), 500).text, "DONE\n");
}

TEST(SimProtocol, WalkOfASilentEmptySubtreeIsHeldBack) {
    Model m = load();
    Oid enterprise = oid("qvEnterprise");
    // No object lies below .77: a walk there gets the next object outside.
    Request walk{Request::GetNext, oid("qvEnterprise.77"), false, "", ""};
    EXPECT_FALSE(respond(m, walk, enterprise, 500).delayed);
    m.setFault(oid("qvEnterprise.77"), Fault{FaultMode::Timeout, FaultScope::Get, 0});
    Reply held = respond(m, walk, enterprise, 500);
    EXPECT_TRUE(held.delayed);
    EXPECT_EQ(m.faultHits(oid("qvEnterprise.77")), 1u);
    m.clearFaults();
    EXPECT_FALSE(respond(m, walk, enterprise, 500).delayed);
}

TEST(SimModel, SavedStateComesBack) {
    Model m = load();
    m.set(oid("system.5.0"), "string", "\"saved\"");
    std::string ignored;
    m.poke(oid("qvEnterprise.1.8.0"), "hex:0102", &ignored);
    m.set(oid("qvEnterprise.2.1.3.1"), "integer", "6");
    m.set(oid("qvEnterprise.2.1.2.4"), "string", "\"four\"");
    m.set(oid("qvEnterprise.2.1.3.4"), "integer", "4");
    std::string saved = m.dump();
    EXPECT_EQ(saved.find(".1.3.6.1.2.1.1.3.0"), std::string::npos); // uptime is not state

    Model fresh = load();
    std::string error;
    ASSERT_TRUE(fresh.restore(saved, &error)) << error;
    EXPECT_EQ(fresh.peek(oid("system.5.0")), "saved");
    EXPECT_EQ(fresh.peek(oid("qvEnterprise.1.8.0")), "hex:0102");
    EXPECT_FALSE(fresh.peek(oid("qvEnterprise.2.1.2.1")));
    EXPECT_EQ(fresh.peek(oid("qvEnterprise.2.1.2.4")), "four");
    EXPECT_EQ(fresh.set(oid("qvEnterprise.2.1.2.4"), "string", "\"4\""), "DONE");
    EXPECT_EQ(fresh.dump().size(), saved.size() - 3);

    EXPECT_FALSE(fresh.restore(".1.3.6.1.2.1.1.5.0 x\nqvEnterprise.1.2.0 five\n", &error));
    EXPECT_NE(error.find("line 2"), std::string::npos) << error;
}

TEST(SimModel, SetLogKeepsTheOrderOfWrites) {
    Model m = load();
    m.set(oid("qvEnterprise.1.2.0"), "integer", "3");
    m.set(oid("qvEnterprise.1.2.0"), "integer", "99"); // refused: not logged
    m.set(oid("system.5.0"), "string", "\"x\"");
    EXPECT_EQ(m.takeSetLog(), (std::vector<Oid>{oid("qvEnterprise.1.2.0"), oid("system.5.0")}));
    EXPECT_TRUE(m.takeSetLog().empty());
}

TEST(SimModel, OneFailedSetTakesBackItsWholeRun) {
    Model m = load();
    EXPECT_EQ(m.set(oid("system.5.0"), "string", "\"first\""), "DONE");
    EXPECT_EQ(m.set(oid("qvEnterprise.1.5.0"), "integer", "4"), "DONE"); // would restart
    EXPECT_EQ(m.set(oid("qvEnterprise.1.2.0"), "integer", "11"), "wrong-value");
    EXPECT_FALSE(m.takeRestartRequest()); // not before the run ends
    m.commit();
    EXPECT_EQ(m.peek(oid("system.5.0")), "name");
    EXPECT_EQ(m.peek(oid("qvEnterprise.1.5.0")), "6");
    EXPECT_FALSE(m.takeRestartRequest());
    EXPECT_TRUE(m.takeSetLog().empty());

    EXPECT_EQ(m.set(oid("system.5.0"), "string", "\"second\""), "DONE");
    EXPECT_EQ(m.set(oid("qvEnterprise.1.5.0"), "integer", "4"), "DONE");
    m.commit();
    EXPECT_EQ(m.peek(oid("system.5.0")), "second");
    EXPECT_TRUE(m.takeRestartRequest());
}

TEST(SimProtocol, AFaultedSetFailsItsRunAndAGetEndsIt) {
    Model m = load();
    Oid system = oid("system");
    m.setFault(oid("system.4"), Fault{FaultMode::GenErr, FaultScope::Set, 0});
    Request good{Request::Set, oid("system.5.0"), false, "string", "\"x\""};
    Request faulted{Request::Set, oid("system.4.0"), false, "string", "\"y\""};
    EXPECT_EQ(respond(m, good, system, 500).text, "DONE\n");
    EXPECT_EQ(respond(m, faulted, system, 500).text, "gen-error\n");
    EXPECT_TRUE(m.inTransaction());
    Request get{Request::Get, oid("system.5.0"), false, "", ""};
    EXPECT_EQ(respond(m, get, system, 500).text, ".1.3.6.1.2.1.1.5.0\nstring\nname\n");
    EXPECT_FALSE(m.inTransaction());
}
