// Commands that move or delete a row of plain objects by its number, as the
// rogue AP list does.
#include "sim/Model.h"

#include <gtest/gtest.h>

using namespace sim;

namespace {

const char* const kData = R"(
qvEnterprise.5.1.0 integer rw 0 move-row=qvEnterprise.5.2.1,qvEnterprise.5.3.1 max-rows=2
qvEnterprise.5.4.0 integer rw 0 delete-row=qvEnterprise.5.2.1
qvEnterprise.5.2.1.1.1 integer ro 1
qvEnterprise.5.2.1.2.1 string ro "one"
qvEnterprise.5.2.1.1.2 integer ro 2
qvEnterprise.5.2.1.2.2 string ro "two"
qvEnterprise.5.2.1.1.4 integer ro 4
qvEnterprise.5.2.1.2.4 string ro "four"
qvEnterprise.5.3.1.1.2 integer ro 2
qvEnterprise.5.3.1.2.2 string ro "kept"
)";

Oid oid(const std::string& text) { return *parseOid(text); }

Model load() {
    Model m;
    std::string error;
    EXPECT_TRUE(m.loadText(kData, "new", &error)) << error;
    return m;
}

std::string at(const Model& m, const std::string& text) {
    return m.peek(oid(text)).value_or("(absent)");
}

} // namespace

TEST(SimRows, MoveTakesTheLowestFreeNumberAndRewritesTheIndex) {
    Model m = load();
    EXPECT_EQ(m.set(oid("qvEnterprise.5.1.0"), "integer", "4"), "DONE");
    m.commit();
    EXPECT_EQ(at(m, "qvEnterprise.5.2.1.2.4"), "(absent)");
    EXPECT_EQ(at(m, "qvEnterprise.5.3.1.2.1"), "four");
    EXPECT_EQ(at(m, "qvEnterprise.5.3.1.1.1"), "1");
    EXPECT_EQ(at(m, "qvEnterprise.5.3.1.2.2"), "kept");
    EXPECT_EQ(at(m, "qvEnterprise.5.1.0"), "4");
}

TEST(SimRows, RefusedCommandsChangeNothing) {
    struct Case {
        const char* oid;
        const char* value;
    } cases[] = {{"qvEnterprise.5.1.0", "3"},  // no such row
                 {"qvEnterprise.5.1.0", "0"},  // no row 0
                 {"qvEnterprise.5.4.0", "7"},  // nothing to delete
                 {"qvEnterprise.5.4.0", "-1"}};
    for (const auto& c : cases) {
        Model m = load();
        const std::string before = m.dump();
        EXPECT_EQ(m.set(oid(c.oid), "integer", c.value), "inconsistent-value") << c.value;
        m.commit();
        EXPECT_EQ(m.dump(), before) << c.value;
    }
}

TEST(SimRows, MoveStopsAtTheLimit) {
    Model m = load();
    EXPECT_EQ(m.set(oid("qvEnterprise.5.1.0"), "integer", "1"), "DONE");
    m.commit();
    EXPECT_EQ(m.set(oid("qvEnterprise.5.1.0"), "integer", "2"), "inconsistent-value");
    m.commit();
    EXPECT_EQ(at(m, "qvEnterprise.5.2.1.2.2"), "two");
}

TEST(SimRows, DeleteRemovesEveryCellOfTheRow) {
    Model m = load();
    EXPECT_EQ(m.set(oid("qvEnterprise.5.4.0"), "integer", "2"), "DONE");
    m.commit();
    EXPECT_EQ(at(m, "qvEnterprise.5.2.1.1.2"), "(absent)");
    EXPECT_EQ(at(m, "qvEnterprise.5.2.1.2.2"), "(absent)");
    EXPECT_EQ(at(m, "qvEnterprise.5.2.1.2.1"), "one");
}

TEST(SimRows, BadRuleWordsAreRefused) {
    for (const char* line : {"qvEnterprise.6.0 integer rw 0 move-row=qvEnterprise.1",
                             "qvEnterprise.6.0 integer rw 0 max-rows=x",
                             "qvEnterprise.6.0 integer rw 0 delete-row=bad..oid"}) {
        Model m;
        std::string error;
        EXPECT_FALSE(m.loadText(line, "new", &error)) << line;
    }
}
