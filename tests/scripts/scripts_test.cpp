// The set-up scripts, run by bash against fake package tools in a folder of
// their own: the service policy file never outlives the install, and the demo
// fails when the module has already ended.
#include "support/TempDir.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <sstream>
#include <string>
#include <sys/stat.h>

namespace {

using lmrtest::TempDir;

std::optional<std::string> Slurp(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    if (!f) return std::nullopt;
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

void WriteTool(const TempDir& dir, const std::string& name, const std::string& body) {
    const std::string path = dir.write("bin/" + name, "#!/bin/sh\n" + body);
    ::chmod(path.c_str(), 0755);
}

struct BashRun {
    bool finished = false;
    bool crashed = false; // ended by a signal
    int exitCode = -1;
    std::string output;
};

// Runs the bash script with the fake tools first on PATH; a run that
// overruns is killed (the process is our own child).
BashRun RunBash(const TempDir& dir, const std::string& script,
            const std::vector<std::pair<QString, QString>>& env = {}) {
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.insert("PATH", QString::fromStdString(dir.file("bin")) + ":" + e.value("PATH"));
    e.insert("LMR_SCRIPTS", QStringLiteral(LMR_SOURCE_DIR "/scripts"));
    for (const auto& [k, v] : env)
        e.insert(k, v);
    QProcess p;
    p.setProcessEnvironment(e);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start("bash", {"-c", QString::fromStdString(script)});
    BashRun r;
    if (!p.waitForStarted(5000)) return r;
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished(5000);
        r.output = p.readAll().toStdString();
        return r;
    }
    r.finished = true;
    r.crashed = p.exitStatus() == QProcess::CrashExit;
    r.exitCode = p.exitCode();
    r.output = p.readAll().toStdString();
    return r;
}

// --- deps.sh -----------------------------------------------------------------

struct DepsRow {
    const char* name;
    const char* apt;   // what the fake apt-get does: ok, fail-update, fail-install, term
    bool preexisting;  // a policy file was there before
    bool succeeds;
};

void PrintTo(const DepsRow& row, std::ostream* os) {
    *os << row.name;
}

class DepsTest : public ::testing::TestWithParam<DepsRow> {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.ok());
        dir.mkdir("bin");
        WriteTool(dir, "dpkg-query", "exit 1\n"); // nothing is installed
        WriteTool(dir, "sudo", "exec \"$@\"\n");
        // Records whether the policy file was in place while packages went in.
        WriteTool(dir, "apt-get",
                  "cat \"$LMR_POLICY_RC\" >> \"$APT_LOG\" 2>/dev/null || echo none >> \"$APT_LOG\"\n"
                  "case \"$FAKE_APT:$1\" in\n"
                  "  fail-update:update) exit 100 ;;\n"
                  "  fail-install:install) exit 100 ;;\n"
                  "  term:install) kill -TERM $PPID; exit 0 ;;\n"
                  "esac\n"
                  "exit 0\n");
        policy = dir.file("policy-rc.d");
        log = dir.file("apt.log");
    }
    TempDir dir{"deps"};
    std::string policy, log;
};

TEST_P(DepsTest, PolicyFileNeverOutlivesTheInstall) {
    const DepsRow& row = GetParam();
    if (row.preexisting) dir.write("policy-rc.d", "site policy\n");
    const std::string script = "set -euo pipefail\n"
                               "trap 'echo earlier-trap' EXIT\n"
                               ". \"$LMR_SCRIPTS/deps.sh\"\n"
                               "LMR_PACKAGES='pkg-a pkg-b'\n"
                               "lmr_install_deps\n"
                               "echo installed\n";
    BashRun r = RunBash(dir, script,
                    {{"LMR_POLICY_RC", QString::fromStdString(policy)},
                     {"APT_LOG", QString::fromStdString(log)},
                     {"FAKE_APT", row.apt}});
    ASSERT_TRUE(r.finished) << r.output;
    const bool ok = !r.crashed && r.exitCode == 0;
    EXPECT_EQ(ok, row.succeeds) << r.output;
    EXPECT_EQ(r.output.find("installed") != std::string::npos, row.succeeds) << r.output;
    if (row.succeeds) { // the caller's own trap is back
        EXPECT_NE(r.output.find("earlier-trap"), std::string::npos) << r.output;
    }
    if (row.preexisting) {
        EXPECT_EQ(Slurp(policy), "site policy\n") << "a policy file that was there is left alone";
        EXPECT_EQ(Slurp(log).value_or("").find("exit 101"), std::string::npos);
    } else {
        EXPECT_FALSE(std::filesystem::exists(policy)) << "policy file left behind";
        // It kept services from starting while apt-get ran.
        EXPECT_EQ(Slurp(log).value_or("").rfind("#!/bin/sh\nexit 101\n", 0), 0u)
            << Slurp(log).value_or("");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Installs, DepsTest,
    ::testing::Values(DepsRow{"Success", "ok", false, true},
                      DepsRow{"FailedUpdate", "fail-update", false, false},
                      DepsRow{"FailedInstall", "fail-install", false, false},
                      DepsRow{"Terminated", "term", false, false},
                      DepsRow{"PreexistingOnSuccess", "ok", true, true},
                      DepsRow{"PreexistingOnFailure", "fail-install", true, false},
                      DepsRow{"PreexistingOnTermination", "term", true, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DepsNothingMissingTest, NoPackageToolRuns) {
    TempDir dir{"deps"};
    dir.mkdir("bin");
    WriteTool(dir, "dpkg-query", "echo 'install ok installed'\n");
    WriteTool(dir, "apt-get", "echo apt-get ran\nexit 1\n");
    WriteTool(dir, "sudo", "echo sudo ran\nexit 1\n");
    BashRun r = RunBash(dir, "set -euo pipefail\n. \"$LMR_SCRIPTS/deps.sh\"\nlmr_install_deps\necho done\n",
                    {{"LMR_POLICY_RC", QString::fromStdString(dir.file("policy-rc.d"))}});
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, 0) << r.output;
    EXPECT_EQ(r.output, "done\n");
    EXPECT_FALSE(std::filesystem::exists(dir.file("policy-rc.d")));
}

// --- demo.sh -----------------------------------------------------------------

struct DemoRow {
    const char* name;
    const char* module; // the command standing in for the module
    int exitCode;
    bool screenshot;
};

void PrintTo(const DemoRow& row, std::ostream* os) {
    *os << row.name;
}

class DemoTest : public ::testing::TestWithParam<DemoRow> {};

TEST_P(DemoTest, ScreenshotOnlyOfARunningModule) {
    const DemoRow& row = GetParam();
    TempDir dir{"demo"};
    dir.mkdir("bin");
    const std::string shot = dir.file("shot.png");
    // The function's own background processes are stopped by their pids.
    const std::string script = std::string(". \"$LMR_SCRIPTS/demo.sh\"\n"
                                           "lmr_screenshot_of_running \"$SHOT\" ") +
                               row.module +
                               "\n"
                               "st=$?\n"
                               "for p in \"${pids[@]}\"; do kill \"$p\" 2>/dev/null; done\n"
                               "exit $st\n";
    BashRun r = RunBash(dir, script,
                    {{"SHOT", QString::fromStdString(shot)},
                     {"LMR_DEMO_SECONDS", "0.3"},
                     {"LMR_SCREENSHOT_COMMAND", "touch"}});
    ASSERT_TRUE(r.finished) << r.output;
    EXPECT_FALSE(r.crashed);
    EXPECT_EQ(r.exitCode, row.exitCode) << r.output;
    EXPECT_EQ(std::filesystem::exists(shot), row.screenshot) << r.output;
}

INSTANTIATE_TEST_SUITE_P(Modules, DemoTest,
                         ::testing::Values(DemoRow{"StillRunning", "sleep 30", 0, true},
                                           DemoRow{"CrashedAtStart", "sh -c 'exit 3'", 3, false},
                                           DemoRow{"AbortedAtStart", "sh -c 'kill -SEGV $$'",
                                                   128 + 11, false},
                                           DemoRow{"EndedCleanly", "true", 1, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// --- test.sh -----------------------------------------------------------------

struct TestRunRow {
    const char* name;
    const char* failIn; // the build folder whose ctest fails ("" none)
    int exitCode;
};

void PrintTo(const TestRunRow& row, std::ostream* os) {
    *os << row.name;
}

class TestRunTest : public ::testing::TestWithParam<TestRunRow> {};

// Fake cmake and ctest note what they were asked to do; ctest fails in the
// row's folder. Both builds always run and the summary names both.
TEST_P(TestRunTest, BothBuildsRunAndEitherFailureFails) {
    const TestRunRow& row = GetParam();
    TempDir dir{"testsh"};
    dir.mkdir("bin");
    const std::string calls = dir.file("calls");
    WriteTool(dir, "cmake", "exit 0\n");
    WriteTool(dir, "nproc", "echo 2\n");
    // Each run's log holds one skipped test, as GoogleTest reports it.
    WriteTool(dir, "ctest",
              "echo \"ctest $2\" >> \"$CALLS\"\n"
              "mkdir -p \"$2/Testing/Temporary\"\n"
              "printf '[ RUN      ] Ping.LoopbackAnswers\\nx.cpp:9: Skipped\\n"
              "no ICMP socket for this process\\n[  SKIPPED ] Ping.LoopbackAnswers (0 ms)\\n'"
              " > \"$2/Testing/Temporary/LastTest.log\"\n"
              "[ \"$2\" = \"$FAIL_IN\" ] && exit 8\nexit 0\n");
    BashRun r = RunBash(dir, "cd \"$WORK\"\n. \"$LMR_SCRIPTS/test.sh\"\nlmr_run_all\n",
                        {{"CALLS", QString::fromStdString(calls)},
                         {"WORK", QString::fromStdString(dir.path())},
                         {"FAIL_IN", QString::fromLatin1(row.failIn)}});
    ASSERT_TRUE(r.finished) << r.output;
    EXPECT_EQ(r.exitCode, row.exitCode) << r.output;
    EXPECT_EQ(Slurp(calls).value_or(""), "ctest build-asan\nctest build\n") << r.output;
    EXPECT_NE(r.output.find("Sanitizer build (build-asan): "), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("Plain build (build): "), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("Skipped in build:\n  Ping.LoopbackAnswers: no ICMP socket for this "
                            "process"),
              std::string::npos)
        << r.output;
}

INSTANTIATE_TEST_SUITE_P(Builds, TestRunTest,
                         ::testing::Values(TestRunRow{"BothPass", "", 0},
                                           TestRunRow{"SanitizerBuildFails", "build-asan", 1},
                                           TestRunRow{"PlainBuildFails", "build", 1}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
