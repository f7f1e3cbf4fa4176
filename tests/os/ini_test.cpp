#include "os/Ini.h"

#include <gtest/gtest.h>

#include "support/TempDir.h"
#include "support/CaseName.h"

using lmrtest::TempDir;

namespace {

const char* const kSample = "; per-device settings\r\n"
                            "top=before any section\r\n"
                            "[Program Information]\r\n"
                            "AgentPort = 1161 \r\n"
                            "Version=3\r\n"
                            "  SecurityName  =\t\"  quoted name \"\r\n"
                            "ContextName='ctx'\r\n"
                            "AuthPassword=\"half\r\n"
                            "Empty=\r\n"
                            "NoEquals\r\n"
                            ";AuthProtocol=9\r\n"
                            "version=4\r\n"
                            "Inner=a=b\r\n"
                            "Both=\"\"\r\n"
                            "[ other ]\r\n"
                            "Version=7\r\n"
                            "[program information]\r\n"
                            "Late=from the second copy\r\n"
                            "Version=5\r\n";

struct ReadCase {
    const char* section;
    const char* key;
    const char* expected;
};

std::string LabelOf(const ReadCase& c) {
    return std::string(c.section) + "_" + c.key;
}

void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << LabelOf(c);
}

class IniReadTest : public ::testing::TestWithParam<ReadCase> {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.ok());
        dir.write("10.0.0.5.cfg", kSample);
    }
    TempDir dir;
};

TEST_P(IniReadTest, ReadsLikeTheProfileCall) {
    const ReadCase& c = GetParam();
    EXPECT_EQ(os::ReadIniString(dir.file("10.0.0.5.cfg"), c.section, c.key, "<def> "), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, IniReadTest,
    ::testing::Values(ReadCase{"Program Information", "AgentPort", "1161"},
                      ReadCase{"PROGRAM INFORMATION", "agentport", "1161"},
                      ReadCase{"Program Information", "Version", "3"}, // first match wins
                      ReadCase{"Program Information", "SecurityName", "  quoted name "},
                      ReadCase{"Program Information", "ContextName", "ctx"},
                      ReadCase{"Program Information", "AuthPassword", "\"half"},
                      ReadCase{"Program Information", "Empty", ""},
                      ReadCase{"Program Information", "Both", ""},
                      ReadCase{"Program Information", "Inner", "a=b"},
                      ReadCase{"Program Information", "NoEquals", "<def> "},
                      ReadCase{"Program Information", "AuthProtocol", "<def> "},
                      ReadCase{"Program Information", ";AuthProtocol", "<def> "},
                      ReadCase{"Program Information", "Late", "from the second copy"},
                      ReadCase{"Program Information", "Missing", "<def> "},
                      ReadCase{"other", "Version", "7"}, ReadCase{"Nowhere", "Version", "<def> "},
                      ReadCase{"", "top", "<def> "}),
    [](const ::testing::TestParamInfo<ReadCase>& info) {
        return lmrtest::CaseName(info.index, LabelOf(info.param));
    });

TEST(IniTest, MissingFileGivesTheDefaultUnchanged) {
    TempDir dir;
    ASSERT_TRUE(dir.ok());
    EXPECT_EQ(os::ReadIniString(dir.file("none.cfg"), "Program Information", "Version", "  x  "),
              "  x  ");
    EXPECT_EQ(os::ReadIniString("", "Program Information", "Version", "d"), "d");
}

TEST(IniTest, WindowsStylePathWithOtherCaseIsFound) {
    TempDir dir;
    ASSERT_TRUE(dir.ok());
    dir.mkdir("Conf");
    dir.write("Conf/10.0.0.5.cfg", "[Program Information]\nVersion=2\n");
    EXPECT_EQ(os::ReadIniString(dir.path() + "\\conf\\10.0.0.5.CFG", "Program Information",
                                "Version", ""),
              "2");
}

TEST(IniTest, LongValueIsCutToTheBufferLimit) {
    std::string longValue(5000, 'v');
    os::IniDocument doc = os::IniDocument::Parse({"[s]", "k=" + longValue});
    std::optional<std::string> v = doc.Find("s", "k");
    ASSERT_TRUE(v.has_value());
    EXPECT_EQ(v->size(), os::kIniValueLimit);
}

TEST(IniTest, SectionsKeepTheirOrderAndHasSectionIgnoresCase) {
    os::IniDocument doc = os::IniDocument::Parse({"[A]", "x=1", "[b]", "[A]"});
    ASSERT_EQ(doc.Sections().size(), 3u);
    EXPECT_EQ(doc.Sections()[1].name, "b");
    EXPECT_TRUE(doc.HasSection("a"));
    EXPECT_TRUE(doc.HasSection("B"));
    EXPECT_FALSE(doc.HasSection("c"));
}

} // namespace
