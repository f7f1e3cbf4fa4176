#include "os/Path.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "support/TempDir.h"
#include "support/CaseName.h"

using lmrtest::TempDir;

namespace {

struct SplitCase {
    const char* path;
    const char* folder;
    const char* name;
};

std::string LabelOf(const SplitCase& c) {
    return std::string(c.path);
}

void PrintTo(const SplitCase& c, std::ostream* os) {
    *os << LabelOf(c);
}

class SplitTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitTest, FolderAndNameSplitAtEitherSeparatorOrDrive) {
    const SplitCase& c = GetParam();
    EXPECT_EQ(os::ExtractFilePath(c.path), c.folder);
    EXPECT_EQ(os::ExtractFileName(c.path), c.name);
}

INSTANTIATE_TEST_SUITE_P(Paths, SplitTest,
                         ::testing::Values(SplitCase{"C:\\Program Files\\mod.exe",
                                                     "C:\\Program Files\\", "mod.exe"},
                                           SplitCase{"/usr/lib/mod", "/usr/lib/", "mod"},
                                           SplitCase{"/usr\\lib/mod", "/usr\\lib/", "mod"},
                                           SplitCase{"a\\b/", "a\\b/", ""},
                                           SplitCase{"c:ipconfig.txt", "c:", "ipconfig.txt"},
                                           SplitCase{"name", "", "name"}, SplitCase{"", "", ""}),
    [](const ::testing::TestParamInfo<SplitCase>& info) {
        return lmrtest::CaseName(info.index, LabelOf(info.param));
    });

struct JoinCase {
    const char* folder;
    const char* name;
    const char* joined;
};

std::string LabelOf(const JoinCase& c) {
    return std::string(c.folder) + "_" + c.name;
}

void PrintTo(const JoinCase& c, std::ostream* os) {
    *os << LabelOf(c);
}

class JoinTest : public ::testing::TestWithParam<JoinCase> {};

TEST_P(JoinTest, ExactlyOneSeparatorBetweenFolderAndName) {
    const JoinCase& c = GetParam();
    EXPECT_EQ(os::JoinPath(c.folder, c.name), c.joined);
}

INSTANTIATE_TEST_SUITE_P(Paths, JoinTest,
                         ::testing::Values(JoinCase{"", "a.cfg", "a.cfg"},
                                           JoinCase{"C:\\conf\\", "a.cfg", "C:\\conf\\a.cfg"},
                                           JoinCase{"C:\\conf", "a.cfg", "C:\\conf\\a.cfg"},
                                           JoinCase{"/etc/conf/", "a.cfg", "/etc/conf/a.cfg"},
                                           JoinCase{"/etc/conf", "a.cfg", "/etc/conf/a.cfg"},
                                           JoinCase{"conf", "a.cfg", "conf/a.cfg"}),
    [](const ::testing::TestParamInfo<JoinCase>& info) {
        return lmrtest::CaseName(info.index, LabelOf(info.param));
    });

TEST(PathTest, BackslashesBecomeSlashes) {
    EXPECT_EQ(os::ToPosixSeparators("..\\Conf\\MBF\\"), "../Conf/MBF/");
}

class ResolveTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.ok());
        dir.mkdir("errmsg");
        dir.write("errmsg/common.err", "x\n");
        dir.mkdir("Conf");
        dir.mkdir("Conf/MBF");
        dir.mkdir("bin");
    }
    TempDir dir;
};

TEST_F(ResolveTest, MixedCaseFolderFindsTheLowerCaseOne) {
    for (const char* rel : {"errMSg\\common.err", "errmsg\\common.err", "ERRMSG/Common.ERR"}) {
        std::string win = dir.path() + "\\" + rel;
        EXPECT_EQ(os::ResolvePath(win), dir.file("errmsg/common.err")) << rel;
        EXPECT_TRUE(os::FileExists(win)) << rel;
    }
}

TEST_F(ResolveTest, RelativePathsResolveAgainstTheCurrentFolder) {
    lmrtest::ScopedCwd cwd(dir.path());
    ASSERT_TRUE(cwd.ok());
    EXPECT_EQ(os::ResolvePath("errMSg\\common.err"), "errmsg/common.err");
    EXPECT_TRUE(os::FileExists("errMSg\\common.err"));
    EXPECT_TRUE(os::DirectoryExists("ERRMSG\\"));
}

TEST_F(ResolveTest, DotDotAndTrailingSeparatorAreKept) {
    std::string p = dir.path() + "/bin\\..\\conf\\mbf\\";
    EXPECT_EQ(os::ResolvePath(p), dir.file("bin/../Conf/MBF/"));
    EXPECT_TRUE(os::DirectoryExists(p));
}

TEST_F(ResolveTest, MissingComponentsAreKeptAsGiven) {
    EXPECT_EQ(os::ResolvePath(dir.path() + "\\ERRMSG\\New.Log"), dir.file("errmsg/New.Log"));
    EXPECT_EQ(os::ResolvePath(dir.path() + "\\Nope\\ERRMSG"), dir.file("Nope/ERRMSG"));
    EXPECT_FALSE(os::FileExists(dir.path() + "\\errmsg\\missing.err"));
}

TEST_F(ResolveTest, DriveLetterIsDropped) {
    EXPECT_EQ(os::ResolvePath("C:" + dir.path() + "\\errmsg"), dir.file("errmsg"));
}

TEST_F(ResolveTest, ExactNameWinsOverACaseVariant) {
    dir.mkdir("ErrMsg");
    EXPECT_EQ(os::ResolvePath(dir.path() + "/ErrMsg"), dir.file("ErrMsg"));
    EXPECT_EQ(os::ResolvePath(dir.path() + "/errmsg"), dir.file("errmsg"));
}

TEST_F(ResolveTest, FileExistsIsFalseForFoldersAndDirectoryExistsForFiles) {
    EXPECT_FALSE(os::FileExists(dir.file("errmsg")));
    EXPECT_FALSE(os::DirectoryExists(dir.file("errmsg/common.err")));
    EXPECT_FALSE(os::FileExists(""));
}

TEST_F(ResolveTest, FindFirstFileMatchesWildcardsWithoutCase) {
    dir.write("bin/FW_1.2.TFP", "img");
    EXPECT_EQ(os::FindFirstFile(dir.path() + "\\BIN\\fw_1.2.tfp").value_or(""), "FW_1.2.TFP");
    EXPECT_EQ(os::FindFirstFile(dir.path() + "\\bin\\*.tfp").value_or(""), "FW_1.2.TFP");
    EXPECT_EQ(os::FindFirstFile(dir.path() + "/bin/FW_?.2.*").value_or(""), "FW_1.2.TFP");
    EXPECT_FALSE(os::FindFirstFile(dir.path() + "/bin/*.dcf").has_value());
    EXPECT_FALSE(os::FindFirstFile(dir.path() + "/none/*").has_value());
    EXPECT_FALSE(os::FindFirstFile(dir.path() + "/bin/").has_value());
}

TEST_F(ResolveTest, OpenAndDeleteGoThroughTheResolvedPath) {
    int fd = os::OpenFile(dir.path() + "\\ERRMSG\\LogFile.RD", O_WRONLY | O_CREAT | O_TRUNC);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(write(fd, "x\n", 2), 2);
    close(fd);
    EXPECT_TRUE(os::FileExists(dir.file("errmsg/LogFile.RD")));
    EXPECT_TRUE(os::DeleteFile(dir.path() + "\\errMSg\\logfile.rd"));
    EXPECT_FALSE(os::FileExists(dir.file("errmsg/LogFile.RD")));
    EXPECT_FALSE(os::DeleteFile(dir.file("errmsg/LogFile.RD")));
    EXPECT_FALSE(os::DeleteFile(dir.file("errmsg"))); // a folder stays
    EXPECT_EQ(os::OpenFile(dir.file("none/x"), O_RDONLY), -1);
    EXPECT_EQ(os::OpenFile("", O_RDONLY), -1);
}

struct LinesCase {
    const char* content;
    std::vector<std::string> lines;
};

std::string LabelOf(const LinesCase& c) {
    return std::string(c.content);
}

void PrintTo(const LinesCase& c, std::ostream* os) {
    *os << LabelOf(c);
}

class LinesTest : public ::testing::TestWithParam<LinesCase> {};

TEST_P(LinesTest, LineEndsOfEveryKind) {
    TempDir dir;
    ASSERT_TRUE(dir.ok());
    dir.write("f.txt", GetParam().content);
    std::vector<std::string> lines{"old"};
    ASSERT_TRUE(os::ReadTextLines(dir.file("f.txt"), lines));
    EXPECT_EQ(lines, GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Files, LinesTest,
    ::testing::Values(LinesCase{"", {}}, LinesCase{"a", {"a"}}, LinesCase{"a\n", {"a"}},
                      LinesCase{"a\r\nb\r\n", {"a", "b"}}, LinesCase{"a\rb\nc", {"a", "b", "c"}},
                      LinesCase{"a\n\nb\n\n", {"a", "", "b", ""}},
                      LinesCase{"\t10:00\t[x] m \xe9\n", {"\t10:00\t[x] m \xe9"}}),
    [](const ::testing::TestParamInfo<LinesCase>& info) {
        return lmrtest::CaseName(info.index, LabelOf(info.param));
    });

TEST(ReadLinesTest, MissingFileIsFalseAndEmpty) {
    TempDir dir;
    ASSERT_TRUE(dir.ok());
    std::vector<std::string> lines{"old"};
    EXPECT_FALSE(os::ReadTextLines(dir.file("none.txt"), lines));
    EXPECT_TRUE(lines.empty());
    EXPECT_FALSE(os::ReadTextLines(dir.path(), lines)); // a folder
}

TEST(ExeTest, ExecutableAndFolder) {
    std::string exe = os::ExePath();
    ASSERT_FALSE(exe.empty());
    EXPECT_EQ(exe[0], '/');
    EXPECT_TRUE(os::FileExists(exe));
    EXPECT_EQ(os::ExeDir() + os::ExtractFileName(exe), exe);
    EXPECT_EQ(os::ExeDir().back(), '/');
    EXPECT_EQ(os::ParamStr(0), exe);
}

TEST(ExeTest, CurrentFolder) {
    TempDir dir;
    ASSERT_TRUE(dir.ok());
    lmrtest::ScopedCwd cwd(dir.path());
    ASSERT_TRUE(cwd.ok());
    char real[4096];
    ASSERT_NE(realpath(dir.path().c_str(), real), nullptr);
    EXPECT_EQ(os::CurrentDir(), real);
}

TEST(CommandLineTest, ProcessArgumentsByDefault) {
    os::ResetCommandLine();
    // The arguments this test program was started with, whatever they are.
    int n = os::ParamCount();
    EXPECT_GE(n, 0);
    EXPECT_EQ(os::ParamStr(n + 1), "");
}

TEST(CommandLineTest, SetCommandLineReplacesTheArguments) {
    char a0[] = "prog", a1[] = "/I10.0.0.5", a2[] = "/Rpublic", a3[] = "";
    char* argv[] = {a0, a1, a2, a3, nullptr};
    os::SetCommandLine(4, argv);
    EXPECT_EQ(os::ParamCount(), 3);
    EXPECT_EQ(os::ParamStr(0), os::ExePath());
    EXPECT_EQ(os::ParamStr(1), "/I10.0.0.5");
    EXPECT_EQ(os::ParamStr(2), "/Rpublic");
    EXPECT_EQ(os::ParamStr(3), "");
    EXPECT_EQ(os::ParamStr(4), "");
    EXPECT_EQ(os::ParamStr(-1), "");
    os::SetCommandLine(std::vector<std::string>{});
    EXPECT_EQ(os::ParamCount(), 0);
    os::ResetCommandLine();
}

} // namespace
