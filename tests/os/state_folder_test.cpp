#include "os/StateFolder.h"

#include "os/Path.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

TEST(StateFolder, TheOverrideWinsAndGetsItsSeparator) {
    lmrtest::ScopedEnv env("LMR_STATE_DIR", "/some/where");
    EXPECT_EQ(os::StateFolder(), "/some/where/");
}

TEST(StateFolder, ElseTheProgramsFolderWhenItIsWritable) {
    lmrtest::ScopedEnv env("LMR_STATE_DIR", nullptr);
    // Tests run from their build folder, which they may write to.
    EXPECT_EQ(os::StateFolder(), os::ExeDir());
}

} // namespace
