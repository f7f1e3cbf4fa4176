// The global session: the engine-boots counter file it keeps, the defaults
// it sets, and the pump before and after the session exists.
#include "snmp/QvSession.h"
#include "tests/snmp/request_sim.h"
#include "base/Exception.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

// The counter file's line for our engine id: its id in hexadecimal.
std::string EngineIdHex() {
    std::string out;
    static const char* digits = "0123456789ABCDEF";
    for (unsigned char c : std::string(QvEngineId)) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Runs first in the program, while no session exists.
TEST(SessionPump, TickBeforeTheSessionOnlyReenablesTheTimer) {
    if (g_Snmp) GTEST_SKIP() << "a session exists already in this process";
    lmrtest::TempDir cwd;
    lmrtest::ScopedCwd inside(cwd.path());
    EXPECT_FALSE(g_SnmpEventProcessor.Running());
    g_SnmpEventProcessor.Start();
    g_SnmpEventProcessor.OnTimer();
    EXPECT_TRUE(g_SnmpEventProcessor.Running());
    EXPECT_EQ(g_Snmp, nullptr);
    EXPECT_FALSE(std::filesystem::exists(cwd.file(QvBootCounterFileName)));
    g_SnmpEventProcessor.Stop();
    g_SnmpEventProcessor.OnTimer();
    EXPECT_FALSE(g_SnmpEventProcessor.Running());
}

TEST(Session, NoCounterFileStartsWithBootsOne) {
    lmrtest::TempDir dir;
    CreateGlobalSession(dir.path());
    ASSERT_NE(g_Snmp, nullptr);
    EXPECT_EQ(QvCurrentEngineBoots(), 1);
    EXPECT_EQ(ReadAll(dir.file(QvBootCounterFileName)), EngineIdHex() + " 1\n");
    EXPECT_TRUE(g_SnmpEventProcessor.Running());
    g_SnmpEventProcessor.Stop();
}

TEST(Session, CounterOf41BecomesAndStartsWith42) {
    lmrtest::TempDir dir;
    std::ofstream(dir.file(QvBootCounterFileName)) << "0102AB 7\n" << EngineIdHex() << " 41\n";
    CreateGlobalSession(dir.path());
    EXPECT_EQ(QvCurrentEngineBoots(), 42);
    std::string text = ReadAll(dir.file(QvBootCounterFileName));
    EXPECT_NE(text.find(EngineIdHex() + " 42\n"), std::string::npos) << text;
    EXPECT_EQ(text.find(" 41"), std::string::npos) << text;
    EXPECT_NE(text.find("0102AB 7\n"), std::string::npos) << "other engines are kept";
    g_SnmpEventProcessor.Stop();
}

TEST(Session, FileWithoutOurEngineStartsWithBootsOne) {
    lmrtest::TempDir dir;
    std::ofstream(dir.file(QvBootCounterFileName)) << "0102AB 7\n";
    CreateGlobalSession(dir.path());
    EXPECT_EQ(QvCurrentEngineBoots(), 1);
    EXPECT_NE(ReadAll(dir.file(QvBootCounterFileName)).find(EngineIdHex() + " 1\n"),
              std::string::npos);
    g_SnmpEventProcessor.Stop();
}

TEST(Session, CorruptCounterFileRaisesLoadError) {
    lmrtest::TempDir dir;
    const char* corrupt[] = {"garbage\n", "QvSNMP 12 extra\n", "ZZ 5\n", "00 -3\n"};
    for (const char* content : corrupt) {
        std::ofstream(dir.file(QvBootCounterFileName)) << content;
        try {
            CreateGlobalSession(dir.path());
            ADD_FAILURE() << "no error for " << content;
        } catch (const Exception& e) {
            EXPECT_EQ(e.HelpContext(), -507) << content;
            EXPECT_EQ(e.Message(), g_QvSnmpMessages[QVERR_LOAD_BOOT_COUNTER]);
        }
        // The file is left as it was.
        EXPECT_EQ(ReadAll(dir.file(QvBootCounterFileName)), content);
    }
}

TEST(Session, UnwritableCounterFileRaisesSaveError) {
    lmrtest::TempDir dir;
    std::string folder = dir.file("missing-folder");
    try {
        CreateGlobalSession(folder);
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.HelpContext(), -508);
    }
}

TEST(Session, SetsTheDefaults) {
    lmrtest::TempDir dir;
    g_DefaultDevice.Port = 1234;
    g_DefaultSecurity.ReadCommunity = "changed";
    g_DefaultTimeout = 7;
    CreateGlobalSession(dir.path());
    EXPECT_EQ(g_DefaultDevice.Address, "127.0.0.1");
    EXPECT_EQ(g_DefaultDevice.Port, 161);
    EXPECT_TRUE(g_DefaultScope.ContextEngineId.empty());
    EXPECT_TRUE(g_DefaultScope.ContextName.empty());
    EXPECT_EQ(g_DefaultSecurity.Version, 0);
    EXPECT_EQ(g_DefaultSecurity.ReadCommunity, "tarnok");
    EXPECT_EQ(g_DefaultSecurity.WriteCommunity, "quembel");
    EXPECT_EQ(g_DefaultSecurity.SecurityModel, 1);
    EXPECT_EQ(g_DefaultSecurity.SecurityLevel, 1);
    EXPECT_EQ(g_DefaultSecurity.AuthProtocol, 1);
    EXPECT_EQ(g_DefaultSecurity.PrivProtocol, 1);
    EXPECT_EQ(g_DefaultTimeout, 100);
    g_SnmpEventProcessor.Stop();
}

} // namespace
