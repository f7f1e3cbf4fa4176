// A second name of an object: one value answered and written under both
// names, as a device does whose firmware generations address one setting at
// different instances.
#include "sim/Model.h"

#include <gtest/gtest.h>

using namespace sim;

namespace {

const char* const kData = R"(
qvEnterprise.5.1.0 integer rw 0 enum=0,1
qvEnterprise.5.1.1 integer rw 9 same-as=qvEnterprise.5.1.0
qvEnterprise.5.2.0 string ro "fixed"
qvEnterprise.5.2.1 string rw "" same-as=qvEnterprise.5.2.0
qvEnterprise.5.3.0 integer rw 3 same-as=qvEnterprise.5.9.0
)";

Model Load() {
    Model m;
    std::string error;
    EXPECT_TRUE(m.loadText(kData, "new", &error)) << error;
    return m;
}

Oid At(const char* text) {
    return *parseOid(text);
}

TEST(ModelSameAs, BothNamesAnswerOneValue) {
    Model m = Load();
    auto first = m.get(At("qvEnterprise.5.1.0"));
    auto second = m.get(At("qvEnterprise.5.1.1"));
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->value, "0");
    EXPECT_EQ(second->value, "0"); // its own line's value is not used
    EXPECT_EQ(second->oid, At("qvEnterprise.5.1.1"));
    EXPECT_EQ(second->type, "integer");
    // A walk answers the second name under its own OID, with the shared value.
    auto next = m.getNext(At("qvEnterprise.5.1.0"), At("qvEnterprise.5"));
    ASSERT_TRUE(next);
    EXPECT_EQ(next->oid, At("qvEnterprise.5.1.1"));
    EXPECT_EQ(next->value, "0");
}

TEST(ModelSameAs, ASetThroughEitherNameChangesBoth) {
    Model m = Load();
    EXPECT_EQ(m.set(At("qvEnterprise.5.1.1"), "integer", "1"), "DONE");
    m.commit();
    EXPECT_EQ(m.peek(At("qvEnterprise.5.1.0")), "1");
    EXPECT_EQ(m.peek(At("qvEnterprise.5.1.1")), "1");
    EXPECT_EQ(m.set(At("qvEnterprise.5.1.0"), "integer", "0"), "DONE");
    m.commit();
    EXPECT_EQ(m.peek(At("qvEnterprise.5.1.1")), "0");
    // The log names what was sent.
    auto log = m.takeSetLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0], At("qvEnterprise.5.1.1"));
    EXPECT_EQ(log[1], At("qvEnterprise.5.1.0"));
}

TEST(ModelSameAs, TheOtherObjectsRulesAndAccessHold) {
    Model m = Load();
    EXPECT_EQ(m.set(At("qvEnterprise.5.1.1"), "integer", "2"), "wrong-value");
    m.commit();
    EXPECT_EQ(m.peek(At("qvEnterprise.5.1.0")), "0");
    EXPECT_EQ(m.set(At("qvEnterprise.5.2.1"), "string", "x"), "not-writable");
    m.commit();
    EXPECT_EQ(m.peek(At("qvEnterprise.5.2.1")), "fixed");
}

TEST(ModelSameAs, PokeGoesToTheOtherAndADumpHoldsItOnce) {
    Model m = Load();
    std::string error;
    ASSERT_TRUE(m.poke(At("qvEnterprise.5.1.1"), "1", &error)) << error;
    EXPECT_EQ(m.peek(At("qvEnterprise.5.1.0")), "1");
    const std::string dump = m.dump();
    EXPECT_NE(dump.find(oidText(At("qvEnterprise.5.1.0")) + " 1\n"), std::string::npos);
    EXPECT_EQ(dump.find(oidText(At("qvEnterprise.5.1.1")) + " "), std::string::npos);
    Model other = Load();
    ASSERT_TRUE(other.restore(dump, &error)) << error;
    EXPECT_EQ(other.peek(At("qvEnterprise.5.1.1")), "1");
}

TEST(ModelSameAs, ANameOfAMissingObjectStandsForItself) {
    Model m = Load();
    EXPECT_EQ(m.peek(At("qvEnterprise.5.3.0")), "3");
    EXPECT_EQ(m.set(At("qvEnterprise.5.3.0"), "integer", "4"), "DONE");
}

TEST(ModelSameAs, ABadTargetIsRefused) {
    Model m;
    std::string error;
    EXPECT_FALSE(m.loadText("qvEnterprise.5.1.0 integer rw 0 same-as=x.y", "new", &error));
    EXPECT_NE(error.find("line 1"), std::string::npos) << error;
}

} // namespace
