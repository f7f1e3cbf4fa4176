// Counters that move as traffic would: each get answers one step further,
// a walk and a peek see the value as it stands, 32-bit counters wrap, and a
// reset starts them again from the data file.
#include "sim/Model.h"

#include <gtest/gtest.h>

using namespace sim;

namespace {

const char* const kData = R"(
qvEnterprise.3.1.0 counter ro 4294967290 step=4
qvEnterprise.3.2.0 integer ro 10 step=-3
qvEnterprise.3.3.0 counter ro 7
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

TEST(ModelStep, GetsMoveWalksAndPeeksDoNot) {
    Model m = Load();
    struct {
        const char* oid;
        std::vector<const char*> gets;
    } cases[] = {
        {"qvEnterprise.3.1.0", {"4294967290", "4294967294", "2", "6"}}, // wraps
        {"qvEnterprise.3.2.0", {"10", "7", "4", "1"}},
        {"qvEnterprise.3.3.0", {"7", "7", "7", "7"}}, // no rule: stands still
    };
    for (const auto& c : cases) {
        for (const char* expected : c.gets) {
            EXPECT_EQ(m.peek(At(c.oid)), expected) << c.oid;
            auto next = m.getNext(At("qvEnterprise.3"), At("qvEnterprise.3"));
            ASSERT_TRUE(next.has_value());
            auto vb = m.get(At(c.oid));
            ASSERT_TRUE(vb.has_value());
            EXPECT_EQ(vb->value, expected) << c.oid;
        }
    }
    EXPECT_EQ(m.get(At("qvEnterprise.3.1.0"))->type, "counter");
}

TEST(ModelStep, ABadStepIsRefused) {
    Model m;
    std::string error;
    EXPECT_FALSE(m.loadText("qvEnterprise.3.1.0 counter ro 1 step=x\n", "new", &error));
    EXPECT_NE(error.find("step=x"), std::string::npos) << error;
}

} // namespace
