#include <gtest/gtest.h>

#include <arpa/inet.h>

#include "snmp/QvIni.h"
#include "support/TempDir.h"

namespace {

class IniTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.ok());
        path_ = dir_.write("10.0.0.1.cfg", "[Program Information]\r\n"
                                           "AgentPort =  1161  \r\n"
                                           "Version=\t3\r\n"
                                           "ContextName=\r\n"
                                           "SecurityName=   \r\n"
                                           "AuthPassword=\"  quoted  \"\r\n"
                                           "\r\n"
                                           "[Other]\r\n"
                                           "Version=1\r\n");
    }
    lmrtest::TempDir dir_{"ini"};
    std::string path_;
};

TEST_F(IniTest, ReadsTrimmedValuesAndFallsBackToTheDefault) {
    QvIni ini(path_);
    struct Case {
        const char* section;
        const char* key;
        const char* def;
        const char* expected;
    } cases[] = {
        {"Program Information", "AgentPort", "161", "1161"},
        {"Program Information", "Version", "0", "3"},
        {"program information", "version", "0", "3"}, // names without case
        {"Other", "Version", "0", "1"},
        {"Program Information", "ContextName", " x ", " x "},  // empty value
        {"Program Information", "SecurityName", "def", "def"}, // blanks only
        {"Program Information", "PrivPassword", "  blanks kept ", "  blanks kept "},
        {"Missing", "Version", "", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ini.ReadString(c.section, c.key, c.def), c.expected) << c.key;
    // one pair of enclosing quotes goes, then the blanks
    EXPECT_EQ(ini.ReadString("Program Information", "AuthPassword", ""), "quoted");
}

TEST_F(IniTest, MissingFileGivesTheDefault) {
    QvIni ini(dir_.file("none.cfg"));
    EXPECT_EQ(ini.ReadString("Program Information", "AgentPort", " 161"), " 161");
}

TEST(JoinPath, ExactlyOneSeparator) {
    struct Case {
        const char* folder;
        const char* name;
        const char* joined;
    } cases[] = {
        {"", "QvSNMP_PP_BootCounter", "QvSNMP_PP_BootCounter"},
        {"C:\\Conf\\MBF\\", "10.0.0.1.cfg", "C:\\Conf\\MBF\\10.0.0.1.cfg"},
        {"C:\\Conf\\MBF", "10.0.0.1.cfg", "C:\\Conf\\MBF\\10.0.0.1.cfg"},
        {"/var/lib/lmr/", "a.cfg", "/var/lib/lmr/a.cfg"},
        {"/var/lib/lmr", "a.cfg", "/var/lib/lmr/a.cfg"},
        {"conf", "a.cfg", "conf/a.cfg"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(JoinPath(c.folder, c.name), c.joined) << c.folder;
}

bool IsDotted(const std::string& text) {
    in_addr a{};
    return inet_pton(AF_INET, text.c_str(), &a) == 1;
}

TEST(LocalInterfaces, FillsDottedEntriesAndClearsTheRest) {
    QvNetInterface list[QV_MAX_INTERFACES];
    for (auto& e : list)
        e.Address = e.Netmask = "stale";
    int n = GetLocalInterfaceList(list);
    ASSERT_GE(n, 0);
    ASSERT_LE(n, QV_MAX_INTERFACES);
    for (int i = 0; i < n; ++i) {
        EXPECT_TRUE(IsDotted(list[i].Address)) << list[i].Address;
        EXPECT_TRUE(IsDotted(list[i].Netmask)) << list[i].Netmask;
    }
    for (int i = n; i < QV_MAX_INTERFACES; ++i) {
        EXPECT_TRUE(list[i].Address.empty());
        EXPECT_TRUE(list[i].Netmask.empty());
    }
}

} // namespace
