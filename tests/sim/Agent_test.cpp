// The simulator as Debian's snmp tools see it: real SNMP over UDP on
// 127.0.0.1 to snmpd with the device model behind it.
#include "SnmpTool.h"
#include "mib/Enterprise.h"
#include "support/SimFixture.h"
#include "support/TempDir.h"

#include <arpa/inet.h>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <stdexcept>
#include <string>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

using lmrtest::SimDevice;
using lmrtest::SimOptions;
using simtest::run;
using simtest::v1;
using simtest::v2c;

namespace {

const std::string sysDescr = ".1.3.6.1.2.1.1.1.0";
const std::string sysObjectID = ".1.3.6.1.2.1.1.2.0";
const std::string sysUpTime = ".1.3.6.1.2.1.1.3.0";
const std::string sysName = ".1.3.6.1.2.1.1.5.0";
const std::string ent = std::string(".") + mib::qvEnterprise;
const std::string hGetIPFrom = ent + ".11.37.4.1.2.1.0";
const std::string hIPAddress = ent + ".11.37.4.1.2.2.0";
const std::string sysRestart = ent + ".11.37.4.3.2.1.0";
const std::string upgradeCommand = ent + ".11.37.4.3.3.5.0";
const std::string stFirmwareVersion = ent + ".11.37.4.4.1.1.1.0";
const std::string stIPAddress = ent + ".11.37.4.4.1.1.4.0";
const std::string engineBoots = ".1.3.6.1.6.3.10.2.1.2.0";

SimDevice& device() {
    SimDevice& dev = SimDevice::shared();
    EXPECT_TRUE(dev.running()) << dev.error();
    return dev;
}

std::string v3(const SimDevice& dev, const sim::V3User& u, const std::string& authPass = "") {
    std::string args =
        " -v3 -OQn -t 1 -r 0 -u " + std::string(u.name) + " -l " + std::string(u.level());
    if (!u.auth.empty())
        args += " -a " + std::string(u.auth) + " -A " +
                (authPass.empty() ? std::string(u.authPass) : authPass);
    if (!u.priv.empty()) args += " -x " + std::string(u.priv) + " -X " + std::string(u.privPass);
    return args + " " + dev.hostPort() + " ";
}

const sim::V3User& user(std::string_view name) {
    for (const auto& u : SimDevice::users())
        if (u.name == name) return u;
    throw std::runtime_error("no such user");
}

long ticks(const std::string& output) {
    // "-OQn -Ot" prints the raw ticks after "= "
    auto pos = output.find("= ");
    return pos == std::string::npos ? -1 : std::stol(output.substr(pos + 2));
}

long boots(SimDevice& dev) {
    std::string out = run(dev, "snmpget" + v3(dev, user("md5user")) + engineBoots);
    auto pos = out.find("= ");
    return pos == std::string::npos ? -1 : std::stol(out.substr(pos + 2));
}

bool waitForState(SimDevice& dev, const std::string& state) {
    for (int i = 0; i < 200; ++i) {
        if (dev.control("state") == "ok " + state) return true;
        usleep(25000);
    }
    return false;
}

} // namespace

TEST(SimAgent, SystemGroupComesFromTheModel) {
    SimDevice& dev = device();
    std::string out = run(dev, "snmpget" + v2c(dev, "tarnok") + sysDescr + " " + sysObjectID);
    EXPECT_NE(out.find(sysDescr + " = \"LMR-7300AP Wireless Access Point\""), std::string::npos)
        << out;
    EXPECT_NE(out.find(sysObjectID + " = .1.3.6.1.4.1.32473.10.37.15"), std::string::npos) << out;
}

TEST(SimAgent, UptimeCountsFromTheStart) {
    SimDevice& dev = device();
    long first = ticks(run(dev, "snmpget -Ot" + v2c(dev, "tarnok") + sysUpTime));
    long second = ticks(run(dev, "snmpget -Ot" + v2c(dev, "tarnok") + sysUpTime));
    EXPECT_GE(first, 0);
    EXPECT_GE(second, first);
}

TEST(SimAgent, EveryCommunityReadsInBothVersions) {
    SimDevice& dev = device();
    for (const char* community : {"tarnok", "quembel", "public", "private"}) {
        for (bool one : {true, false}) {
            std::string args = one ? v1(dev, community) : v2c(dev, community);
            std::string out = run(dev, "snmpget" + args + sysName);
            EXPECT_NE(out.find(sysName + " = \"LMR-7300AP\""), std::string::npos)
                << community << (one ? " v1: " : " v2c: ") << out;
        }
    }
}

TEST(SimAgent, UnknownCommunityGetsNoAnswer) {
    SimDevice& dev = device();
    std::string out = run(dev, "snmpget" + v2c(dev, "wrongcommunity") + sysName);
    EXPECT_NE(out.find("Timeout"), std::string::npos) << out;
}

TEST(SimAgent, EveryV3UserReads) {
    SimDevice& dev = device();
    for (const auto& u : SimDevice::users()) {
        std::string out = run(dev, "snmpget" + v3(dev, u) + sysName);
        EXPECT_NE(out.find(sysName + " = \"LMR-7300AP\""), std::string::npos)
            << u.name << ": " << out;
    }
}

TEST(SimAgent, WrongV3PasswordFailsAuthentication) {
    SimDevice& dev = device();
    for (const char* name : {"md5user", "shauser", "shadesuser"}) {
        std::string out = run(dev, "snmpget" + v3(dev, user(name), "notthepassword") + sysName);
        EXPECT_NE(out.find("Authentication failure"), std::string::npos) << name << ": " << out;
    }
}

TEST(SimAgent, WritersChangeTheModel) {
    SimDevice& dev = device();
    struct Case {
        std::string args, value;
    };
    const Case cases[] = {
        {v1(dev, "quembel"), "one"},
        {v2c(dev, "private"), "two"},
        {v3(dev, user("shadesuser")), "three"},
        {v3(dev, user("md5desuser")), "four"},
    };
    for (const auto& c : cases) {
        std::string out = run(dev, "snmpset" + c.args + sysName + " s " + c.value);
        EXPECT_NE(out.find(sysName + " = \"" + c.value + "\""), std::string::npos) << out;
        EXPECT_EQ(dev.peek("system.5.0"), c.value);
    }
}

TEST(SimAgent, ReadersCannotWrite) {
    SimDevice& dev = device();
    std::string out = run(dev, "snmpset" + v2c(dev, "tarnok") + sysName + " s nope");
    EXPECT_NE(out.find("noAccess"), std::string::npos) << out;
    out = run(dev, "snmpset" + v3(dev, user("noauthuser")) + sysName + " s nope");
    EXPECT_NE(out.find("noAccess"), std::string::npos) << out;
    EXPECT_EQ(dev.peek("system.5.0"), "LMR-7300AP");
}

TEST(SimAgent, SetErrorsByVersion) {
    SimDevice& dev = device();
    struct Case {
        std::string what, oid, value, v1Error, v2Error;
    };
    const Case cases[] = {
        {"read-only object", stFirmwareVersion, "s v9.99", "noSuchName", "notWritable"},
        {"value out of range", hGetIPFrom, "i 3", "badValue", "wrongValue"},
        {"string too long", sysName, "s " + std::string(256, 'x'), "badValue", "wrongLength"},
        {"wrong type", hGetIPFrom, "s 1", "badValue", "wrongType"},
        {"missing object", ent + ".11.37.4.1.2.9.0", "i 1", "noSuchName", "notWritable"},
    };
    for (const auto& c : cases) {
        std::string out = run(dev, "snmpset" + v1(dev, "quembel") + c.oid + " " + c.value);
        EXPECT_NE(out.find(c.v1Error), std::string::npos) << c.what << " v1: " << out;
        out = run(dev, "snmpset" + v2c(dev, "quembel") + c.oid + " " + c.value);
        EXPECT_NE(out.find(c.v2Error), std::string::npos) << c.what << " v2c: " << out;
    }
    EXPECT_EQ(dev.peek(hGetIPFrom), "1");
    EXPECT_EQ(dev.peek(stFirmwareVersion), "v2.31");
}

TEST(SimAgent, MissingObjectsByVersion) {
    SimDevice& dev = device();
    std::string missing = ent + ".11.37.4.99.1.1.99.0";
    EXPECT_NE(run(dev, "snmpget" + v1(dev, "tarnok") + missing).find("noSuchName"),
              std::string::npos);
    EXPECT_NE(run(dev, "snmpget" + v2c(dev, "tarnok") + missing).find("No Such Instance"),
              std::string::npos);
}

TEST(SimAgent, WalksTheEnterpriseTree) {
    SimDevice& dev = device();
    std::string out = run(dev, "snmpwalk" + v2c(dev, "tarnok") + ent);
    for (const std::string& oid : {hGetIPFrom, hIPAddress, sysRestart, upgradeCommand,
                                   stFirmwareVersion, ent + ".11.37.4.99.1.1.55.0"})
        EXPECT_NE(out.find(oid + " = "), std::string::npos) << oid << "\n" << out;
    std::string bulk = run(dev, "snmpbulkwalk" + v2c(dev, "tarnok") + ent);
    EXPECT_EQ(bulk, out);
    std::string system = run(dev, "snmpwalk" + v1(dev, "tarnok") + ".1.3.6.1.2.1.1");
    EXPECT_NE(system.find(".1.3.6.1.2.1.1.6.0 = \"Lab\""), std::string::npos) << system;
}

TEST(SimAgent, OldFirmwareLacksTheLaterObjects) {
    SimOptions options;
    options.profile = "old";
    SimDevice dev(options);
    ASSERT_TRUE(dev.start()) << dev.error();
    std::string out = run(dev, "snmpget" + v2c(dev, "tarnok") + stFirmwareVersion + " " + ent +
                                   ".11.37.4.99.1.1.55.0 " + ent + ".11.37.4.3.1.3.2.1.1.1");
    EXPECT_NE(out.find(stFirmwareVersion + " = \"2.05\""), std::string::npos) << out;
    EXPECT_NE(out.find(ent + ".11.37.4.99.1.1.55.0 = No Such Instance"), std::string::npos) << out;
    EXPECT_NE(out.find(ent + ".11.37.4.3.1.3.2.1.1.1 = No Such Instance"), std::string::npos)
        << out;
}

TEST(SimAgent, RowStatusAddsAndDeletesRows) {
    SimDevice& dev = device();
    std::string entry = ent + ".11.37.4.98.1.1";
    std::string out = run(dev, "snmpset" + v2c(dev, "quembel") + entry + ".1.5 i 5 " + entry +
                                   ".2.5 s fifth " + entry + ".4.5 i 4");
    EXPECT_NE(out.find(entry + ".4.5 = 4"), std::string::npos) << out;
    EXPECT_EQ(dev.peek(entry + ".2.5"), "fifth");
    EXPECT_EQ(dev.peek(entry + ".4.5"), "1");
    out = run(dev, "snmpset" + v2c(dev, "quembel") + entry + ".4.1 i 6");
    EXPECT_NE(out.find(entry + ".4.1 = 6"), std::string::npos) << out;
    std::string walk = run(dev, "snmpwalk" + v2c(dev, "tarnok") + entry);
    EXPECT_EQ(walk.find(entry + ".2.1 "), std::string::npos) << walk;
    EXPECT_NE(walk.find(entry + ".2.5 = \"fifth\""), std::string::npos) << walk;
    EXPECT_NE(walk.find(entry + ".2.2 = \"second\""), std::string::npos) << walk;
}

TEST(SimAgent, RebootCommandRestartsWithBootsCounted) {
    SimDevice& dev = device();
    long bootsBefore = boots(dev);
    EXPECT_GE(bootsBefore, 1);
    run(dev, "snmpset" + v2c(dev, "quembel") + hIPAddress + " a 192.0.2.77");
    long upBefore = ticks(run(dev, "snmpget -Ot" + v2c(dev, "tarnok") + sysUpTime));
    std::string out = run(dev, "snmpset" + v2c(dev, "quembel") + upgradeCommand + " i 4");
    EXPECT_NE(out.find(upgradeCommand + " = 4"), std::string::npos) << out;

    ASSERT_TRUE(waitForState(dev, "silent"));
    out = run(dev, "snmpget" + v2c(dev, "tarnok") + sysName);
    EXPECT_NE(out.find("Timeout"), std::string::npos) << out;

    ASSERT_TRUE(dev.waitUntilAnswering());
    long upAfter = ticks(run(dev, "snmpget -Ot" + v2c(dev, "tarnok") + sysUpTime));
    // Without a reset the uptime would have grown by at least the silence.
    EXPECT_LT(upAfter, upBefore + 200);
    EXPECT_EQ(boots(dev), bootsBefore + 1);
    EXPECT_EQ(dev.peek(upgradeCommand), "6");
    EXPECT_EQ(dev.peek(hIPAddress), "192.0.2.77");
    EXPECT_EQ(dev.peek(stIPAddress), "192.0.2.77");
}

TEST(SimAgent, SysRestartOnlyRestartsOnReboot) {
    SimDevice& dev = device();
    run(dev, "snmpset" + v2c(dev, "quembel") + sysRestart + " i 0");
    EXPECT_EQ(dev.control("state"), "ok running");
    std::string out = run(dev, "snmpset" + v1(dev, "quembel") + sysRestart + " i 1");
    EXPECT_NE(out.find(sysRestart + " = 1"), std::string::npos) << out;
    EXPECT_TRUE(waitForState(dev, "silent"));
    ASSERT_TRUE(dev.waitUntilAnswering());
    EXPECT_EQ(dev.peek(sysRestart), "0");
}

TEST(SimAgent, NonCompliantDeviceComesBackWithBootsOne) {
    SimOptions options;
    options.resetBoots = true;
    options.silenceSeconds = 0;
    SimDevice dev(options);
    ASSERT_TRUE(dev.start()) << dev.error();
    EXPECT_EQ(boots(dev), 1);
    ASSERT_TRUE(dev.restart());
    ASSERT_TRUE(dev.waitUntilAnswering());
    EXPECT_EQ(boots(dev), 1);
}

TEST(SimAgent, InjectedTimeoutAndItsRelease) {
    SimDevice& dev = device();
    ASSERT_TRUE(dev.fault("qvEnterprise.11.37.4.4.1.1.1", "timeout"));
    std::string out = run(dev, "snmpget" + v2c(dev, "tarnok") + stFirmwareVersion);
    EXPECT_NE(out.find("Timeout"), std::string::npos) << out;
    ASSERT_TRUE(dev.clearFaults());
    out = run(dev, "snmpget" + v2c(dev, "tarnok") + stFirmwareVersion);
    EXPECT_NE(out.find(stFirmwareVersion + " = \"v2.31\""), std::string::npos) << out;
}

TEST(SimAgent, InjectedErrorStatuses) {
    SimDevice& dev = device();
    struct Case {
        std::string mode, request, expected;
    };
    const Case cases[] = {
        {"genErr", "snmpset" + v2c(dev, "quembel") + sysName + " s x", "genError"},
        {"badValue", "snmpset" + v2c(dev, "quembel") + sysName + " s x", "badValue"},
        {"noSuchName", "snmpget" + v1(dev, "tarnok") + sysName, "noSuchName"},
        {"noSuchName", "snmpget" + v2c(dev, "tarnok") + sysName, "No Such Instance"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(dev.fault("system.5.0", c.mode));
        std::string out = run(dev, c.request);
        EXPECT_NE(out.find(c.expected), std::string::npos) << c.mode << ": " << out;
    }
    EXPECT_EQ(dev.peek("system.5.0"), "LMR-7300AP");
    // a read still works while a write fault is set
    ASSERT_TRUE(dev.fault("system.5.0", "genErr", "set"));
    std::string out = run(dev, "snmpget" + v2c(dev, "tarnok") + sysName);
    EXPECT_NE(out.find("\"LMR-7300AP\""), std::string::npos) << out;
}

TEST(SimAgent, PokedValuesAreServed) {
    SimDevice& dev = device();
    ASSERT_TRUE(dev.poke("qvEnterprise.11.37.4.4.1.1.1.0", "2.10"));
    std::string out = run(dev, "snmpget" + v2c(dev, "tarnok") + stFirmwareVersion);
    EXPECT_NE(out.find(stFirmwareVersion + " = \"2.10\""), std::string::npos) << out;
    EXPECT_FALSE(dev.poke("qvEnterprise.11.37.4.1.2.2.0", "not-an-address"));
    EXPECT_EQ(dev.peek("qvEnterprise.11.37.4.4.1.1.2.0"), "hex:0050C2A1B2C3");
    EXPECT_EQ(dev.peek("qvEnterprise.11.37.4.77.0"), std::nullopt);
}

TEST(SimAgent, SetLogShowsWhatOnePduWrote) {
    SimDevice& dev = device();
    dev.takeSetLog();
    run(dev, "snmpset" + v2c(dev, "quembel") + hGetIPFrom + " i 2 " + hIPAddress + " a 192.0.2.8 " +
                 sysName + " s renamed");
    EXPECT_EQ(dev.takeSetLog(), (std::vector<std::string>{hGetIPFrom, hIPAddress, sysName}));
    EXPECT_TRUE(dev.takeSetLog().empty());
}

TEST(SimAgent, SavedStateStartsAnotherDevice) {
    SimDevice& dev = device();
    run(dev, "snmpset" + v2c(dev, "quembel") + sysName + " s remembered");
    std::string file = dev.stateDir() + "/saved.state";
    ASSERT_TRUE(dev.saveState(file));
    SimOptions options;
    options.extraArgs = {"--load", file};
    SimDevice second(options);
    ASSERT_TRUE(second.start()) << second.error();
    std::string out = run(second, "snmpget" + v2c(second, "tarnok") + sysName);
    EXPECT_NE(out.find(sysName + " = \"remembered\""), std::string::npos) << out;
}

TEST(SimAgent, ABadVarbindKeepsTheWholeSetFromHappening) {
    SimDevice& dev = device();
    std::string out = run(dev, "snmpset" + v2c(dev, "quembel") + sysName + " s changed " +
                                   hGetIPFrom + " i 9 " + sysRestart + " i 1");
    EXPECT_NE(out.find("wrongValue"), std::string::npos) << out;
    EXPECT_EQ(dev.peek("system.5.0"), "LMR-7300AP");
    EXPECT_EQ(dev.control("state"), "ok running");
    EXPECT_TRUE(dev.takeSetLog().empty());
}

TEST(SimAgent, StoppingEndsSnmpdAndRemovesTheStateFolder) {
    SimDevice dev;
    ASSERT_TRUE(dev.start()) << dev.error();
    std::string state = dev.stateDir();
    std::ifstream pidFile(state + "/snmpd.pid");
    pid_t snmpd = 0;
    pidFile >> snmpd;
    ASSERT_GT(snmpd, 0);
    EXPECT_EQ(kill(snmpd, 0), 0);
    dev.stop();
    EXPECT_FALSE(dev.running());
    EXPECT_FALSE(std::filesystem::exists(state));
    // the launcher reaped it
    EXPECT_FALSE(std::filesystem::exists("/proc/" + std::to_string(snmpd)));
}

TEST(SimAgent, AHeldAnswerGoesByItselfAfterItsDelay) {
    SimDevice& dev = device();
    ASSERT_TRUE(dev.fault("system.5.0", "timeout", "get", 1500));
    std::string out = run(dev, "snmpget" + v2c(dev, "tarnok") + sysName);
    EXPECT_NE(out.find("Timeout"), std::string::npos) << out;
    // the fault stays, but other objects answer once the held one has gone
    out = run(dev, "snmpget -v2c -c tarnok -OQn -t 3 -r 0 " + dev.hostPort() + " " + sysDescr);
    EXPECT_NE(out.find(sysDescr + " = "), std::string::npos) << out;
}

TEST(SimAgent, ControlChannelRefusesWhatItDoesNotKnow) {
    SimDevice& dev = device();
    EXPECT_EQ(dev.control("ping"), "ok");
    EXPECT_EQ(dev.control("frobnicate").rfind("err ", 0), 0u);
    EXPECT_EQ(dev.control("fault system.5.0 sometimes").rfind("err ", 0), 0u);
    EXPECT_EQ(dev.control("fault 1.x.3 timeout").rfind("err ", 0), 0u);
    EXPECT_EQ(dev.control("get system.77.0"), "err no such object");
}

TEST(SimAgent, MissingSimulatorIsReported) {
    lmrtest::ScopedEnv env("LMR_BINARY_DIR", "/nonexistent-build-dir");
    SimDevice dev;
    EXPECT_FALSE(dev.start());
    EXPECT_NE(dev.error().find("/nonexistent-build-dir/sim/lmr_sim"), std::string::npos)
        << dev.error();
}

TEST(SimAgent, LauncherRefusesBadOptions) {
    std::string exe = lmrtest::BinaryDir() + "/sim/lmr_sim";
    for (const char* args :
         {"", "--port 0", "--port 16161 --profile beta", "--port 16161 --boots sometimes",
          "--port 16161 --colour red", "--port 16161 --engine-id 12"}) {
        std::string cmd = exe + " " + args + " >/dev/null 2>&1";
        int status = std::system(cmd.c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << args;
    }
}

TEST(SimAgent, ResetPutsTheDeviceBackAsItStarted) {
    SimDevice& dev = device();
    run(dev, "snmpset" + v2c(dev, "quembel") + sysName + " s changed");
    ASSERT_TRUE(dev.fault("system.1.0", "noSuchName"));
    ASSERT_TRUE(dev.reset());
    EXPECT_EQ(dev.peek("system.5.0"), "LMR-7300AP");
    std::string out = run(dev, "snmpget" + v2c(dev, "tarnok") + sysDescr);
    EXPECT_NE(out.find("Wireless Access Point"), std::string::npos) << out;
    EXPECT_TRUE(dev.takeSetLog().empty());
}

TEST(SimAgent, TheSimulatorHoldsNoSocketOfTheTestProgram) {
    auto bindUdp = [](int port) {
        int fd = socket(AF_INET, SOCK_DGRAM, 0); // deliberately without close-on-exec
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        addr.sin_port = htons(static_cast<std::uint16_t>(port));
        socklen_t len = sizeof(addr);
        if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0) {
            close(fd);
            return std::pair{-1, 0};
        }
        getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
        return std::pair{fd, static_cast<int>(ntohs(addr.sin_port))};
    };
    auto [fd, port] = bindUdp(0);
    ASSERT_GE(fd, 0);
    SimDevice dev;
    ASSERT_TRUE(dev.start()) << dev.error();
    close(fd);
    auto [again, samePort] = bindUdp(port);
    EXPECT_GE(again, 0) << "port " << port << " still taken";
    if (again >= 0) close(again);
    EXPECT_EQ(samePort, port);
}
