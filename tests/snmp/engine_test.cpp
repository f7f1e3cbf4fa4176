// The engine adapter against a real agent on 127.0.0.1: versions, SNMPv3
// users and levels, failures in the access layer's status numbers.
#include "snmp/engine/SnmpEngine.h"
#include "snmp/engine/StatusTable.h"
#include "tests/snmp/engine_agent.h"

#include <gtest/gtest.h>

using namespace snmpeng;

namespace {

const char* kSysDescr = "1.3.6.1.2.1.1.1.0";
const char* kSysContact = "1.3.6.1.2.1.1.4.0";

class EngineTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { agent = new testagent::Agent(); }
    static void TearDownTestSuite() {
        delete agent;
        agent = nullptr;
    }
    void SetUp() override {
        MpInit("QvSNMP_PP_Application", 1);
        int st = -1;
        session = std::make_unique<Session>(st);
        ASSERT_EQ(st, 0);
    }
    Target V(int version) {
        Target t;
        t.address = "127.0.0.1";
        t.port = agent->Port();
        t.version = version;
        t.timeout = 50;
        t.retries = 1;
        t.readCommunity = "tarnok";
        t.writeCommunity = "quembel";
        return t;
    }
    Target V3(const std::string& user, int auth, int priv,
              const std::string& authPass = "authpass1",
              const std::string& privPass = "privpass1") {
        Target t = V(3);
        t.securityName = user;
        session->AddUser({user, auth, priv, authPass, privPass});
        return t;
    }
    static Pdu Get(const char* oid, int level = 1) {
        Pdu p;
        p.type = kGet;
        p.securityLevel = level;
        Vb vb;
        vb.oid = oid;
        p.vbs.push_back(vb);
        return p;
    }
    static testagent::Agent* agent;
    std::unique_ptr<Session> session;
};
testagent::Agent* EngineTest::agent = nullptr;

TEST_F(EngineTest, GetsWithEveryCommunityVersion) {
    for (int version : {0, 1, 2}) {
        Pdu reply;
        ASSERT_EQ(session->Send(V(version), Get(kSysDescr), &reply), kOk) << version;
        ASSERT_EQ(reply.vbs.size(), 1u);
        EXPECT_EQ(reply.vbs[0].syntax, kSynOctets);
        EXPECT_FALSE(reply.vbs[0].octets.empty());
    }
}

TEST_F(EngineTest, RefusesUnknownVersionWithoutSending) {
    Pdu reply;
    EXPECT_EQ(session->Send(V(4), Get(kSysDescr), &reply), kNotSupportedOnTarget);
    EXPECT_EQ(session->Send(V(-1), Get(kSysDescr), &reply), kNotSupportedOnTarget);
}

TEST_F(EngineTest, WrongCommunityTimesOut) {
    Target t = V(1);
    t.readCommunity = "wrong";
    t.timeout = 20;
    t.retries = 0;
    Pdu reply;
    EXPECT_EQ(session->Send(t, Get(kSysDescr), &reply), kTimeout);
}

TEST_F(EngineTest, DeadPortTimesOut) {
    Target t = V(0);
    t.port = testagent::FreeUdpPort();
    t.timeout = 20;
    t.retries = 0;
    Pdu reply;
    EXPECT_EQ(session->Send(t, Get(kSysDescr), &reply), kTimeout);
}

TEST_F(EngineTest, BadAddressIsInvalidAddress) {
    Target t = V(0);
    t.address = "no.such.host.invalid";
    Pdu reply;
    EXPECT_EQ(session->Send(t, Get(kSysDescr), &reply), kInvalidAddress);
}

TEST_F(EngineTest, V1MissingObjectIsNoSuchNameStatus) {
    Pdu reply;
    ASSERT_EQ(session->Send(V(0), Get("1.3.6.1.2.1.1.99.0"), &reply), kOk);
    EXPECT_EQ(reply.errorStatus, 2);
}

TEST_F(EngineTest, V2cMissingObjectComesAsException) {
    Pdu reply;
    ASSERT_EQ(session->Send(V(1), Get("1.3.6.1.2.1.1.99.0"), &reply), kOk);
    EXPECT_EQ(reply.errorStatus, 0);
    ASSERT_EQ(reply.vbs.size(), 1u);
    EXPECT_TRUE(reply.vbs[0].IsException());
}

TEST_F(EngineTest, SetUsesWriteCommunity) {
    Pdu set;
    set.type = kSet;
    Vb vb;
    vb.oid = kSysContact;
    vb.SetOctets(kSynOctets, "engine-set");
    set.vbs.push_back(vb);
    Pdu reply;
    ASSERT_EQ(session->Send(V(1), set, &reply), kOk);
    // sysContact set in the configuration is not writable: the agent says so.
    EXPECT_NE(reply.errorStatus, 0);
    Target ro = V(1);
    ro.writeCommunity = "tarnok";
    ASSERT_EQ(session->Send(ro, set, &reply), kOk);
    EXPECT_NE(reply.errorStatus, 0);
}

struct V3Case {
    const char* user;
    int auth, priv, level;
};

class EngineV3Test : public EngineTest, public ::testing::WithParamInterface<V3Case> {};

TEST_P(EngineV3Test, EveryUserAndLevelReads) {
    const V3Case& c = GetParam();
    Pdu reply;
    ASSERT_EQ(session->Send(V3(c.user, c.auth, c.priv), Get(kSysDescr, c.level), &reply), kOk);
    EXPECT_EQ(reply.errorStatus, 0);
    ASSERT_EQ(reply.vbs.size(), 1u);
    EXPECT_EQ(reply.vbs[0].syntax, kSynOctets);
}

INSTANTIATE_TEST_SUITE_P(Users, EngineV3Test,
                         ::testing::Values(V3Case{"plain", kAuthNone, kPrivNone, 1},
                                           V3Case{"md5user", kAuthMd5, kPrivNone, 2},
                                           V3Case{"shauser", kAuthSha, kPrivNone, 2},
                                           V3Case{"desuser", kAuthMd5, kPrivDes, 3},
                                           V3Case{"aesuser", kAuthSha, kPrivAes128, 3}));

TEST_F(EngineTest, V3LevelBelowTheAgentsIsAnAuthorizationError) {
    Pdu reply;
    ASSERT_EQ(session->Send(V3("desuser", kAuthMd5, kPrivDes), Get(kSysDescr, 2), &reply), kOk);
    EXPECT_EQ(reply.errorStatus, 16);
}

TEST_F(EngineTest, V3WrongAuthPasswordIsAuthenticationFailure) {
    Pdu reply;
    EXPECT_EQ(
        session->Send(V3("md5user", kAuthMd5, kPrivNone, "wrongpass"), Get(kSysDescr, 2), &reply),
        kUsmAuthenticationFailure);
}

TEST_F(EngineTest, V3ChangedPasswordIsNotServedFromCache) {
    Pdu reply;
    ASSERT_EQ(session->Send(V3("md5user", kAuthMd5, kPrivNone), Get(kSysDescr, 2), &reply), kOk);
    EXPECT_EQ(
        session->Send(V3("md5user", kAuthMd5, kPrivNone, "wrongpass"), Get(kSysDescr, 2), &reply),
        kUsmAuthenticationFailure);
    EXPECT_EQ(session->Send(V3("md5user", kAuthMd5, kPrivNone), Get(kSysDescr, 2), &reply), kOk);
}

TEST_F(EngineTest, V3WrongPrivPasswordTimesOut) {
    Target t = V3("desuser", kAuthMd5, kPrivDes, "authpass1", "wrongpriv");
    t.timeout = 30;
    t.retries = 0;
    Pdu reply;
    EXPECT_EQ(session->Send(t, Get(kSysDescr, 3), &reply), kTimeout);
}

TEST_F(EngineTest, V3UnknownUserIsUnknownSecurityName) {
    Pdu reply;
    EXPECT_EQ(session->Send(V3("nobody", kAuthNone, kPrivNone), Get(kSysDescr, 1), &reply),
              kUsmUnknownSecurityName);
}

TEST_F(EngineTest, V3ShortPasswordsAreRefusedBeforeSending) {
    Pdu reply;
    EXPECT_EQ(session->Send(V3("md5user", kAuthMd5, kPrivNone, "short"), Get(kSysDescr, 2), &reply),
              kUsmAuthenticationError);
    EXPECT_EQ(session->Send(V3("desuser", kAuthMd5, kPrivDes, "authpass1", "short"),
                            Get(kSysDescr, 3), &reply),
              kUsmEncryptionError);
}

TEST_F(EngineTest, V3UnservedProtocolsAreRefused) {
    Pdu reply;
    EXPECT_EQ(session->Send(V3("desuser", 4, kPrivNone), Get(kSysDescr, 2), &reply),
              kUsmUnsupportedAuthProtocol);
    for (int priv : {int(kPriv3Des), int(kPrivAes192), int(kPrivAes256), 7})
        EXPECT_EQ(session->Send(V3("desuser", kAuthMd5, priv), Get(kSysDescr, 3), &reply),
                  kUsmUnsupportedPrivProtocol)
            << priv;
}

TEST_F(EngineTest, V3LevelAboveTheUsersIsRefused) {
    Pdu reply;
    EXPECT_EQ(session->Send(V3("md5user", kAuthMd5, kPrivNone), Get(kSysDescr, 3), &reply),
              kUsmUnsupportedSecurityLevel);
}

TEST_F(EngineTest, V3OtherSecurityModelIsRefused) {
    Target t = V3("plain", kAuthNone, kPrivNone);
    t.securityModel = 1;
    Pdu reply;
    EXPECT_EQ(session->Send(t, Get(kSysDescr, 1), &reply), kMpUnsupportedSecurityModel);
}

TEST_F(EngineTest, AsyncCompletesOnlyThroughProcessEvents) {
    int calls = 0, reason = -99;
    Pdu got;
    ASSERT_EQ(session->SendAsync(V(1), Get(kSysDescr),
                                 [&](int r, const Pdu& p, const Target&) {
                                     ++calls;
                                     reason = r;
                                     got = p;
                                 }),
              kOk);
    EXPECT_EQ(session->Pending(), 1);
    EXPECT_EQ(calls, 0);
    for (int i = 0; i < 200 && calls == 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        session->ProcessEvents();
    }
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(reason, kOk);
    EXPECT_EQ(got.vbs.size(), 1u);
    EXPECT_EQ(session->Pending(), 0);
}

TEST_F(EngineTest, AsyncV3DiscoveryDoesNotBlockTheSend) {
    Target t = V3("plain", kAuthNone, kPrivNone);
    t.port = testagent::FreeUdpPort(); // nobody there
    t.timeout = 50;
    t.retries = 0;
    int calls = 0, reason = 0;
    auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(session->SendAsync(t, Get(kSysDescr, 1),
                                 [&](int r, const Pdu&, const Target&) {
                                     ++calls;
                                     reason = r;
                                 }),
              kOk);
    auto spent = std::chrono::steady_clock::now() - start;
    EXPECT_LT(spent, std::chrono::milliseconds(400)); // the time-out is 500 ms
    for (int i = 0; i < 400 && calls == 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        session->ProcessEvents();
    }
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(reason, kTimeout);
}

TEST_F(EngineTest, V3RecoversAfterAgentRestartWithBootsReset) {
    Target t = V3("md5user", kAuthMd5, kPrivNone);
    t.timeout = 30;
    Pdu reply;
    ASSERT_EQ(session->Send(t, Get(kSysDescr, 2), &reply), kOk);
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    agent->Restart(false);
    int ok = 0;
    for (int i = 0; i < 4; ++i)
        if (session->Send(t, Get(kSysDescr, 2), &reply) == kOk) ++ok;
    EXPECT_GE(ok, 3);
}

TEST_F(EngineTest, V3RecoversAfterAgentRestartWithBootsCounted) {
    Target t = V3("shauser", kAuthSha, kPrivNone);
    t.timeout = 30;
    Pdu reply;
    ASSERT_EQ(session->Send(t, Get(kSysDescr, 2), &reply), kOk);
    agent->Restart(true);
    EXPECT_EQ(session->Send(t, Get(kSysDescr, 2), &reply), kOk);
}

TEST(EngineBootCounter, MissingFileNoEntryFoundAndCorrupt) {
    char tmpl[] = "/tmp/lmr-boots-XXXXXX";
    std::string dir = mkdtemp(tmpl);
    std::string file = dir + "/QvSNMP_PP_BootCounter";
    long boots = 7;
    EXPECT_EQ(GetBootCounter(file, "QvSNMP_PP_Application", &boots), -2);
    ASSERT_EQ(SaveBootCounter(file, "other", 5), 0);
    EXPECT_EQ(GetBootCounter(file, "QvSNMP_PP_Application", &boots), -1);
    ASSERT_EQ(SaveBootCounter(file, "QvSNMP_PP_Application", 41), 0);
    ASSERT_EQ(SaveBootCounter(file, "QvSNMP_PP_Application", 42), 0);
    EXPECT_EQ(GetBootCounter(file, "QvSNMP_PP_Application", &boots), 0);
    EXPECT_EQ(boots, 42);
    EXPECT_EQ(GetBootCounter(file, "other", &boots), 0);
    EXPECT_EQ(boots, 5);
    {
        std::ofstream f(file);
        f << "this is not a counter file\n";
    }
    EXPECT_EQ(GetBootCounter(file, "QvSNMP_PP_Application", &boots), -3);
    unlink(file.c_str());
    rmdir(dir.c_str());
}

} // namespace
