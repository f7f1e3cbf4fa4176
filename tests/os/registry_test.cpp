#include "os/Registry.h"

#include <gtest/gtest.h>

#include "os/Path.h"
#include "support/TempDir.h"

using lmrtest::ScopedEnv;
using lmrtest::TempDir;

namespace {

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.ok());
        dir.write("registry.ini", "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quorvane\\Modules\\HelpPath]\n"
                                  "qvEnterprise.10.37.15=/opt/help/lmr7300.hlp\n"
                                  "@=default data\n"
                                  "[hkey_local_machine\\software\\quorvane\\velkar5.1\\exepath]\n"
                                  "Path=C:\\Velkar\\bin\\\n"
                                  "[HKEY_CURRENT_USER\\SOFTWARE\\Other]\n"
                                  "Path=user\n"
                                  "[HKEY_LOCAL_MACHINE/SOFTWARE//Quorvane/Velkar5.1/MibFile\\]\n"
                                  "Path = \"/srv/mbf/\" \n"
                                  "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quorvane\\Velkar5.1\\MibFile]\n"
                                  "Path=second copy\n"
                                  "Extra=from the second copy\n");
    }
    TempDir dir;
    ScopedEnv env{"LMR_REGISTRY_FILE", (dir.file("registry.ini")).c_str()};
};

TEST_F(RegistryTest, ReadsAValueOfAnExistingKey) {
    os::Registry reg(os::RegistryRoot::LocalMachine);
    ASSERT_TRUE(reg.openKey("\\SOFTWARE\\Quorvane\\Modules\\HelpPath", true));
    EXPECT_TRUE(reg.isOpen());
    EXPECT_EQ(reg.readString("qvEnterprise.10.37.15"), "/opt/help/lmr7300.hlp");
    EXPECT_EQ(reg.readString("QVENTERPRISE.10.37.15"), "/opt/help/lmr7300.hlp");
    EXPECT_EQ(reg.readString(""), "default data");
    EXPECT_EQ(reg.readString("missing"), "");
    EXPECT_FALSE(reg.valueExists("missing"));
    reg.closeKey();
    EXPECT_FALSE(reg.isOpen());
    EXPECT_EQ(reg.readString("qvEnterprise.10.37.15"), "");
}

TEST_F(RegistryTest, KeyPathsCompareWithoutCaseAndWithEitherSeparator) {
    os::Registry reg(os::RegistryRoot::LocalMachine);
    ASSERT_TRUE(reg.openKey("SOFTWARE/Quorvane\\Velkar5.1\\ExePath\\", false));
    EXPECT_EQ(reg.currentPath(), "HKEY_LOCAL_MACHINE\\SOFTWARE\\Quorvane\\Velkar5.1\\ExePath");
    EXPECT_EQ(reg.readString("Path"), "C:\\Velkar\\bin\\");
}

TEST_F(RegistryTest, SectionNamesOfTheFileAreNormalisedAndTheFirstValueWins) {
    os::Registry reg(os::RegistryRoot::LocalMachine);
    ASSERT_TRUE(reg.openKey("\\SOFTWARE\\Quorvane\\Velkar5.1\\MibFile", false));
    EXPECT_EQ(reg.readString("Path"), "/srv/mbf/");
    EXPECT_EQ(reg.readString("Extra"), "from the second copy");
}

TEST_F(RegistryTest, KeyWithSubkeysOnlyOpensWithoutValues) {
    os::Registry reg(os::RegistryRoot::LocalMachine);
    ASSERT_TRUE(reg.openKey("\\software\\QUORVANE", false));
    EXPECT_EQ(reg.readString("Path"), "");
    EXPECT_TRUE(reg.openKey("", false)); // the root itself
}

TEST_F(RegistryTest, MissingKeyDoesNotOpenWithoutCreate) {
    os::Registry reg(os::RegistryRoot::LocalMachine);
    EXPECT_FALSE(reg.openKey("\\SOFTWARE\\Quorvane\\Velkar5.1\\Nothing", false));
    EXPECT_FALSE(reg.openKey("\\SOFTWARE\\Quorv", false));
    EXPECT_FALSE(reg.isOpen());
    EXPECT_EQ(reg.readString("Path"), "");
}

TEST_F(RegistryTest, KeysAreSeparatedByRoot) {
    os::Registry reg(os::RegistryRoot::LocalMachine);
    EXPECT_FALSE(reg.openKey("\\SOFTWARE\\Other", false));
    reg.setRootKey(os::RegistryRoot::CurrentUser);
    ASSERT_TRUE(reg.openKey("\\SOFTWARE\\Other", false));
    EXPECT_EQ(reg.readString("Path"), "user");
}

TEST_F(RegistryTest, OpenWithCreateOfAMissingKeyReadsEmptyAndWritesNothing) {
    std::vector<std::string> before, after;
    ASSERT_TRUE(os::ReadTextLines(dir.file("registry.ini"), before));
    os::Registry reg(os::RegistryRoot::LocalMachine);
    ASSERT_TRUE(reg.openKey("\\SOFTWARE\\Quorvane\\Modules\\NewKey", true));
    EXPECT_EQ(reg.readString("anything"), "");
    reg.closeKey();
    ASSERT_TRUE(os::ReadTextLines(dir.file("registry.ini"), after));
    EXPECT_EQ(before, after);
    EXPECT_FALSE(reg.openKey("\\SOFTWARE\\Quorvane\\Modules\\NewKey", false));
}

TEST(RegistryFileTest, MissingFileOpensNoKey) {
    TempDir dir;
    ASSERT_TRUE(dir.ok());
    ScopedEnv env("LMR_REGISTRY_FILE", (dir.file("none.ini")).c_str());
    os::Registry reg(os::RegistryRoot::LocalMachine);
    EXPECT_FALSE(reg.openKey("\\SOFTWARE\\Quorvane\\Modules\\HelpPath", false));
    EXPECT_TRUE(reg.openKey("\\SOFTWARE\\Quorvane\\Modules\\HelpPath", true));
    EXPECT_EQ(reg.readString("qvEnterprise.10.37.15"), "");
    EXPECT_FALSE(os::FileExists(dir.file("none.ini")));
}

TEST(RegistryFileTest, DefaultFileLiesBesideTheExecutable) {
    ScopedEnv env("LMR_REGISTRY_FILE", nullptr);
    EXPECT_EQ(os::RegistryFilePath(), os::ExeDir() + "registry.ini");
    ScopedEnv empty("LMR_REGISTRY_FILE", "");
    EXPECT_EQ(os::RegistryFilePath(), os::ExeDir() + "registry.ini");
}

} // namespace
