#include <gtest/gtest.h>

#include "os/Runtime.h"

#include <cstdlib>
#include <string>
#include <sys/stat.h>

TEST(RuntimeDir, KeepsAGivenFolderAndMakesAPrivateOneOtherwise) {
    setenv("XDG_RUNTIME_DIR", "/somewhere/else", 1);
    EXPECT_TRUE(os::EnsureRuntimeDir());
    EXPECT_STREQ(std::getenv("XDG_RUNTIME_DIR"), "/somewhere/else");

    unsetenv("XDG_RUNTIME_DIR");
    ASSERT_TRUE(os::EnsureRuntimeDir());
    const char* dir = std::getenv("XDG_RUNTIME_DIR");
    ASSERT_NE(dir, nullptr);
    struct stat st;
    ASSERT_EQ(stat(dir, &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}
