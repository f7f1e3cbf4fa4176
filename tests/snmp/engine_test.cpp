// The engine adapter against the simulated device on 127.0.0.1: versions,
// SNMPv3 users and levels, restarts, failures in the access layer's status
// numbers. SNMPv3 with AES privacy goes to a private agent: the device offers
// no such user.
#include "snmp/engine/SnmpEngine.h"
#include "snmp/engine/StatusTable.h"
#include "tests/snmp/engine_agent.h"
#include "tests/snmp/request_sim.h"
#include "tests/support/SilentPort.h"

#include "snmp/QvSession.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>
#include <poll.h>

// Test names and messages show a user by name; the default print shows the
// object's bytes, pointers included, so names would change between builds.
namespace sim {
void PrintTo(const V3User& u, std::ostream* os) {
    *os << u.name;
}
} // namespace sim

using namespace snmpeng;

namespace {

const char* kSysDescr = "1.3.6.1.2.1.1.1.0";
const char* kSysContact = "1.3.6.1.2.1.1.4.0";
const char* kSysDescrText = "LMR-7300AP Wireless Access Point";

int AuthCode(std::string_view name) {
    return name == "MD5" ? kAuthMd5 : name == "SHA" ? kAuthSha : kAuthNone;
}
int PrivCode(std::string_view name) {
    return name == "DES" ? kPrivDes : name == "AES" ? kPrivAes128 : kPrivNone;
}
int LevelOf(const sim::V3User& u) {
    return u.auth.empty() ? 1 : u.priv.empty() ? 2 : 3;
}
const sim::V3User& User(std::string_view name) {
    for (const sim::V3User& u : lmrtest::SimDevice::users())
        if (u.name == name) return u;
    throw std::runtime_error("no such device user");
}

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        MpInit("QvSNMP_PP_Application", 1);
        int st = -1;
        session = std::make_unique<Session>(st);
        ASSERT_EQ(st, 0);
    }
    virtual lmrtest::SimDevice& Device() {
        lmrtest::SimDevice& dev = lmrtest::SimDevice::shared();
        EXPECT_TRUE(dev.running()) << dev.error();
        return dev;
    }
    Target V(int version) {
        Target t;
        t.address = "127.0.0.1";
        t.port = static_cast<uint16_t>(Device().port());
        t.version = version;
        t.timeout = 50;
        t.retries = 1;
        t.readCommunity = lmrtest::SimDevice::readCommunity();
        t.writeCommunity = lmrtest::SimDevice::writeCommunity();
        return t;
    }
    Target V3(const std::string& user, int auth, int priv, const std::string& authPass,
              const std::string& privPass) {
        Target t = V(3);
        t.securityName = user;
        session->AddUser({user, auth, priv, authPass, privPass});
        return t;
    }
    // A device user with its own credentials, or with other passwords.
    Target V3(const sim::V3User& u, const char* authPass = nullptr,
              const char* privPass = nullptr) {
        return V3(std::string(u.name), AuthCode(u.auth), PrivCode(u.priv),
                  authPass ? authPass : std::string(u.authPass),
                  privPass ? privPass : std::string(u.privPass));
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
    // Runs the session until done() holds: waits on its sockets up to its
    // next retransmission or time-out, never on the clock alone. Bounded.
    bool PumpUntil(const std::function<bool()>& done) {
        for (int i = 0; i < 2000 && !done(); ++i) {
            std::vector<pollfd> fds;
            for (int fd : session->Sockets())
                fds.push_back({fd, POLLIN, 0});
            int wait = session->NextTimeoutMs();
            if (wait < 0 || wait > 100) wait = 100;
            poll(fds.data(), fds.size(), wait);
            session->ProcessEvents();
        }
        return done();
    }
    std::unique_ptr<Session> session;
};

TEST_F(EngineTest, GetsWithEveryCommunityVersion) {
    for (int version : {0, 1, 2}) {
        Pdu reply;
        ASSERT_EQ(session->Send(V(version), Get(kSysDescr), &reply), kOk) << version;
        ASSERT_EQ(reply.vbs.size(), 1u);
        EXPECT_EQ(reply.vbs[0].syntax, kSynOctets);
        EXPECT_EQ(reply.vbs[0].octets, kSysDescrText);
    }
}

TEST_F(EngineTest, RefusesUnknownVersionWithoutSending) {
    Pdu reply;
    EXPECT_EQ(session->Send(V(4), Get(kSysDescr), &reply), kNotSupportedOnTarget);
    EXPECT_EQ(session->Send(V(-1), Get(kSysDescr), &reply), kNotSupportedOnTarget);
    EXPECT_EQ(session->Pending(), 0);
}

TEST_F(EngineTest, WrongCommunityTimesOut) {
    for (int version : {0, 1}) {
        Target t = V(version);
        t.readCommunity = "wrong";
        t.timeout = 20;
        t.retries = 0;
        Pdu reply;
        EXPECT_EQ(session->Send(t, Get(kSysDescr), &reply), kTimeout) << version;
    }
}

TEST_F(EngineTest, DeadPortTimesOut) {
    lmrtest::SilentPort dead;
    ASSERT_TRUE(dead.ok());
    Target t = V(0);
    t.port = dead.port();
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
    EXPECT_EQ(reply.errorIndex, 1);
}

TEST_F(EngineTest, V2cMissingObjectComesAsException) {
    Pdu reply;
    ASSERT_EQ(session->Send(V(1), Get("1.3.6.1.2.1.1.99.0"), &reply), kOk);
    EXPECT_EQ(reply.errorStatus, 0);
    ASSERT_EQ(reply.vbs.size(), 1u);
    EXPECT_TRUE(reply.vbs[0].IsException());
}

TEST_F(EngineTest, SetUsesTheWriteCommunity) {
    Pdu set;
    set.type = kSet;
    Vb vb;
    vb.oid = kSysContact;
    vb.SetOctets(kSynOctets, "engine-set");
    set.vbs.push_back(vb);
    Pdu reply;
    Target ro = V(1);
    ro.writeCommunity = ro.readCommunity; // read-only: the agent refuses
    ASSERT_EQ(session->Send(ro, set, &reply), kOk);
    EXPECT_NE(reply.errorStatus, 0);
    EXPECT_EQ(Device().peek("system.4.0"), "admin@example.net");
    ASSERT_EQ(session->Send(V(1), set, &reply), kOk);
    EXPECT_EQ(reply.errorStatus, 0);
    EXPECT_EQ(Device().peek("system.4.0"), "engine-set");
}

TEST_F(EngineTest, AgentErrorStatusComesBackAsIs) {
    ASSERT_TRUE(Device().fault("system.5.0", "genErr", "set"));
    Pdu set;
    set.type = kSet;
    Vb vb;
    vb.oid = "1.3.6.1.2.1.1.5.0";
    vb.SetOctets(kSynOctets, "x");
    set.vbs.push_back(vb);
    Pdu reply;
    ASSERT_EQ(session->Send(V(0), set, &reply), kOk);
    EXPECT_EQ(reply.errorStatus, 5);
    Device().clearFaults();
}

class EngineV3Test : public EngineTest, public ::testing::WithParamInterface<sim::V3User> {};

TEST_P(EngineV3Test, EveryUserAndLevelReads) {
    const sim::V3User& u = GetParam();
    Pdu reply;
    ASSERT_EQ(session->Send(V3(u), Get(kSysDescr, LevelOf(u)), &reply), kOk);
    EXPECT_EQ(reply.errorStatus, 0);
    ASSERT_EQ(reply.vbs.size(), 1u);
    EXPECT_EQ(reply.vbs[0].octets, kSysDescrText);
}

TEST_P(EngineV3Test, EveryUserAtALowerLevelReads) {
    // The agent serves a user at its own level and above only.
    const sim::V3User& u = GetParam();
    if (LevelOf(u) == 1) GTEST_SKIP();
    Pdu reply;
    ASSERT_EQ(session->Send(V3(u), Get(kSysDescr, LevelOf(u) - 1), &reply), kOk);
    EXPECT_EQ(reply.errorStatus, 16); // authorizationError
}

INSTANTIATE_TEST_SUITE_P(DeviceUsers, EngineV3Test,
                         ::testing::ValuesIn(lmrtest::SimDevice::users()),
                         [](const ::testing::TestParamInfo<sim::V3User>& info) {
                             return std::string(info.param.name);
                         });

// One credential or setting spoilt at a time, starting from a device user
// that reads. Refusals made before anything is sent are tried against a port
// that never answers: a request that went out would time out there.
TEST_F(EngineTest, V3SpoiltCredentialGivesItsStatus) {
    struct Credentials {
        UsmUser user;
        int level;
        int securityModel = 3;
    };
    struct Case {
        const char* what;
        const char* user;
        void (*spoil)(Credentials&);
        int status;
        bool refusedBeforeSending;
    } cases[] = {
        {"wrong auth password", "md5user",
         [](Credentials& c) { c.user.authPassword = "wrongpass"; }, kUsmAuthenticationFailure,
         false},
        // The agent drops what it cannot decrypt.
        {"wrong priv password", "shadesuser",
         [](Credentials& c) { c.user.privPassword = "wrongpriv"; }, kTimeout, false},
        {"unknown user", "noauthuser", [](Credentials& c) { c.user.name = "nobody"; },
         kUsmUnknownSecurityName, false},
        {"level above the user's", "md5user", [](Credentials& c) { c.level = 3; },
         kUsmUnsupportedSecurityLevel, false},
        {"short auth password", "md5user", [](Credentials& c) { c.user.authPassword = "short"; },
         kUsmAuthenticationError, true},
        {"short priv password", "md5desuser", [](Credentials& c) { c.user.privPassword = "short"; },
         kUsmEncryptionError, true},
        {"unserved auth protocol", "md5user", [](Credentials& c) { c.user.authProtocol = 4; },
         kUsmUnsupportedAuthProtocol, true},
        {"triple-DES privacy", "md5desuser",
         [](Credentials& c) { c.user.privProtocol = kPriv3Des; }, kUsmUnsupportedPrivProtocol,
         true},
        {"AES-192 privacy", "md5desuser", [](Credentials& c) { c.user.privProtocol = kPrivAes192; },
         kUsmUnsupportedPrivProtocol, true},
        {"AES-256 privacy", "md5desuser", [](Credentials& c) { c.user.privProtocol = kPrivAes256; },
         kUsmUnsupportedPrivProtocol, true},
        {"unknown privacy code", "md5desuser", [](Credentials& c) { c.user.privProtocol = 7; },
         kUsmUnsupportedPrivProtocol, true},
        {"privacy without authentication", "md5desuser",
         [](Credentials& c) { c.user.authProtocol = kAuthNone; }, kUsmUnsupportedPrivProtocol,
         true},
        {"other security model", "noauthuser", [](Credentials& c) { c.securityModel = 1; },
         kMpUnsupportedSecurityModel, true},
    };
    lmrtest::SilentPort silent;
    ASSERT_TRUE(silent.ok());
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        // Nothing learnt from an earlier case.
        int st = -1;
        session = std::make_unique<Session>(st);
        ASSERT_EQ(st, 0);
        const sim::V3User& u = User(k.user);
        Credentials c{{std::string(u.name), AuthCode(u.auth), PrivCode(u.priv),
                       std::string(u.authPass), std::string(u.privPass)},
                      LevelOf(u)};
        k.spoil(c);
        Target t = V3(c.user.name, c.user.authProtocol, c.user.privProtocol, c.user.authPassword,
                      c.user.privPassword);
        t.securityModel = c.securityModel;
        t.timeout = 30;
        t.retries = 0;
        if (k.refusedBeforeSending) t.port = silent.port();
        Pdu reply;
        EXPECT_EQ(session->Send(t, Get(kSysDescr, c.level), &reply), k.status);
    }
}

TEST_F(EngineTest, V3ChangedPasswordIsNotServedFromCache) {
    const sim::V3User& u = User("shauser");
    Pdu reply;
    ASSERT_EQ(session->Send(V3(u), Get(kSysDescr, 2), &reply), kOk);
    EXPECT_EQ(session->Send(V3(u, "wrongpass"), Get(kSysDescr, 2), &reply),
              kUsmAuthenticationFailure);
    EXPECT_EQ(session->Send(V3(u), Get(kSysDescr, 2), &reply), kOk);
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
    EXPECT_TRUE(PumpUntil([&] { return calls > 0; }));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(reason, kOk);
    EXPECT_EQ(got.vbs.size(), 1u);
    EXPECT_EQ(session->Pending(), 0);
}

TEST_F(EngineTest, ANewSocketIsAnnouncedWhenTheSendMakesIt) {
    std::vector<size_t> seen;
    session->SetSocketsChanged([&] { seen.push_back(session->Sockets().size()); });
    auto ignore = [](int, const Pdu&, const Target&) {};
    ASSERT_EQ(session->SendAsync(V(1), Get(kSysDescr), ignore), kOk);
    EXPECT_EQ(seen, std::vector<size_t>{1});
    ASSERT_EQ(session->SendAsync(V(1), Get(kSysDescr), ignore), kOk);
    ASSERT_EQ(session->SendAsync(V(0), Get(kSysDescr), ignore), kOk);
    EXPECT_EQ(seen, (std::vector<size_t>{1, 2}));
}

TEST_F(EngineTest, AsyncV3DiscoveryDoesNotBlockTheSend) {
    lmrtest::SilentPort dead;
    ASSERT_TRUE(dead.ok());
    Target t = V3(User("noauthuser"));
    t.port = dead.port();
    t.timeout = 50;
    t.retries = 0;
    int calls = 0, reason = 0;
    ASSERT_EQ(session->SendAsync(t, Get(kSysDescr, 1),
                                 [&](int r, const Pdu&, const Target&) {
                                     ++calls;
                                     reason = r;
                                 }),
              kOk);
    // Discovery has not finished: nothing came back from the send itself.
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(session->Pending(), 1);
    EXPECT_TRUE(PumpUntil([&] { return calls > 0; }));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(reason, kTimeout);
}

TEST_F(EngineTest, AsyncV3RequestsWaitingForDiscoveryAllComplete) {
    const sim::V3User& u = User("shadesuser");
    int calls = 0, good = 0;
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(session->SendAsync(V3(u), Get(kSysDescr, 3),
                                     [&](int r, const Pdu& p, const Target&) {
                                         ++calls;
                                         if (r == kOk && p.vbs.size() == 1 &&
                                             p.vbs[0].octets == kSysDescrText)
                                             ++good;
                                     }),
                  kOk);
    EXPECT_TRUE(PumpUntil([&] { return calls >= 3; }));
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(good, 3);
}

// Restarts need a device of their own: the shared one is used by the others.
class EngineRestartTest : public EngineTest {
protected:
    lmrtest::SimDevice& Device() override { return *device; }
    // Every simulated device has the same engine id: what the library learnt
    // of this one's engine time must not reach the next device.
    void TearDown() override { session->ForgetEngineTimes(); }
    void Start() {
        lmrtest::SimOptions o;
        o.silenceSeconds = 1;
        device = std::make_unique<lmrtest::SimDevice>(o);
        ASSERT_TRUE(device->start()) << device->error();
    }
    void Restart() {
        ASSERT_TRUE(device->restart());
        ASSERT_TRUE(device->waitUntilAnswering());
    }
    std::unique_ptr<lmrtest::SimDevice> device;
};

TEST_F(EngineRestartTest, V3RecoversAfterARestartWithBootsCounted) {
    Start();
    Target t = V3(User("shauser"));
    t.timeout = 30;
    Pdu reply;
    ASSERT_EQ(session->Send(t, Get(kSysDescr, 2), &reply), kOk);
    Restart();
    EXPECT_EQ(session->Send(t, Get(kSysDescr, 2), &reply), kOk);
}

// An agent that comes back with fewer engine boots than we saw (a reset that
// lost its counter): the library drops its reports as replays, so one
// exchange times out; the time is then forgotten and every later one answers.
TEST_F(EngineTest, V3RecoversAfterARestartWithBootsReset) {
    const char* kEngineBoots = "1.3.6.1.6.3.10.2.1.2.0";
    testagent::Agent agent;
    agent.RestartWithBoots(9);
    Target t = V3("md5user", kAuthMd5, kPrivNone, "authpass1", "");
    t.port = agent.Port();
    t.timeout = 30;
    t.retries = 0;
    Pdu reply;
    ASSERT_EQ(session->Send(t, Get(kEngineBoots, 2), &reply), kOk);
    ASSERT_EQ(reply.vbs.size(), 1u);
    ASSERT_EQ(reply.vbs[0].integer, 10);
    agent.RestartWithBoots(-1);
    ASSERT_TRUE(agent.Running());
    EXPECT_EQ(session->Send(t, Get(kEngineBoots, 2), &reply), kTimeout);
    for (int i = 0; i < 3; ++i) {
        reply = Pdu();
        ASSERT_EQ(session->Send(t, Get(kEngineBoots, 2), &reply), kOk) << i;
        ASSERT_EQ(reply.vbs.size(), 1u);
        EXPECT_EQ(reply.vbs[0].integer, 1);
    }
}

// The device has no user with AES privacy; a private agent has.
TEST_F(EngineTest, V3AesPrivacyReads) {
    testagent::Agent agent;
    Target t = V3("aesuser", kAuthSha, kPrivAes128, "authpass1", "privpass1");
    t.port = agent.Port();
    Pdu reply;
    ASSERT_EQ(session->Send(t, Get(kSysDescr, 3), &reply), kOk);
    EXPECT_EQ(reply.errorStatus, 0);
    ASSERT_EQ(reply.vbs.size(), 1u);
    EXPECT_FALSE(reply.vbs[0].octets.empty());
    t = V3("aesuser", kAuthSha, kPrivAes128, "authpass1", "wrongpriv");
    t.port = agent.Port();
    t.timeout = 30;
    t.retries = 0;
    EXPECT_EQ(session->Send(t, Get(kSysDescr, 3), &reply), kTimeout);
}

// A factory reset or a replaced unit answers at the same address under
// another engine id: one exchange is lost, the next finds the new id.
TEST_F(EngineTest, V3ReachesAnAgentWhoseEngineIdChanged) {
    struct Case {
        const char* user;
        int auth, priv, level;
    };
    for (const Case& k :
         {Case{"plain", kAuthNone, kPrivNone, 1}, Case{"md5user", kAuthMd5, kPrivNone, 2},
          Case{"aesuser", kAuthSha, kPrivAes128, 3}}) {
        SCOPED_TRACE(k.user);
        testagent::Agent agent;
        Target t = V3(k.user, k.auth, k.priv, "authpass1", "privpass1");
        t.port = agent.Port();
        t.timeout = 30;
        t.retries = 0;
        Pdu reply;
        ASSERT_EQ(session->Send(t, Get(kSysDescr, k.level), &reply), kOk);
        agent.RestartAs("lmrreplacedunit");
        ASSERT_TRUE(agent.Running());
        EXPECT_EQ(session->Send(t, Get(kSysDescr, k.level), &reply), kTimeout);
        for (int i = 0; i < 3; ++i) {
            reply = Pdu();
            ASSERT_EQ(session->Send(t, Get(kSysDescr, k.level), &reply), kOk) << i;
            EXPECT_EQ(reply.errorStatus, 0);
            ASSERT_EQ(reply.vbs.size(), 1u);
            EXPECT_FALSE(reply.vbs[0].octets.empty());
        }
    }
}

// Swallows every timer event of the application while it lives: what still
// happens came from socket notifiers.
class NoTimerTicks : public QObject {
public:
    NoTimerTicks() { QCoreApplication::instance()->installEventFilter(this); }
    ~NoTimerTicks() override { QCoreApplication::instance()->removeEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* e) override { return e->type() == QEvent::Timer; }
};

// Blocks until one of the session's sockets has a datagram waiting, unread.
bool WaitForDatagram(const Session& s, int limitMs) {
    std::vector<pollfd> fds;
    for (int fd : s.Sockets())
        fds.push_back({fd, POLLIN, 0});
    return !fds.empty() && poll(fds.data(), fds.size(), limitMs) > 0;
}

TEST(EnginePump, FirstReplyOfANewConnectionComesWithoutATimerTick) {
    lmrtest::SimDevice& dev = lmrtest::SimDevice::shared();
    ASSERT_TRUE(dev.running()) << dev.error();
    lmrtest::TempDir dir;
    NoTimerTicks frozen;
    CreateGlobalSession(dir.path());
    ASSERT_NE(g_Snmp, nullptr);
    Target t;
    t.address = "127.0.0.1";
    t.port = static_cast<uint16_t>(dev.port());
    t.version = 1;
    t.timeout = 300;
    t.retries = 0;
    t.readCommunity = lmrtest::SimDevice::readCommunity();
    Pdu get;
    Vb vb;
    vb.oid = kSysDescr;
    get.vbs.push_back(vb);
    int calls = 0, reason = -99;
    std::string got;
    ASSERT_EQ(g_Snmp->SendAsync(t, get,
                                [&](int r, const Pdu& p, const Target&) {
                                    ++calls;
                                    reason = r;
                                    if (p.vbs.size() == 1) got = p.vbs[0].octets;
                                }),
              kOk);
    ASSERT_TRUE(WaitForDatagram(*g_Snmp, 5000));
    for (int i = 0; i < 10 && calls == 0; ++i)
        QCoreApplication::processEvents();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(reason, kOk);
    EXPECT_EQ(got, kSysDescrText);
    g_SnmpEventProcessor.Stop();
}

TEST(EngineBootCounter, MissingFileNoEntryFoundAndCorrupt) {
    lmrtest::TempDir dir;
    std::string file = dir.file("QvSNMP_PP_BootCounter");
    long boots = 7;
    EXPECT_EQ(GetBootCounter(file, "QvSNMP_PP_Application", &boots), -2);
    EXPECT_EQ(boots, 7);
    ASSERT_EQ(SaveBootCounter(file, "other", 5), 0);
    EXPECT_EQ(GetBootCounter(file, "QvSNMP_PP_Application", &boots), -1);
    ASSERT_EQ(SaveBootCounter(file, "QvSNMP_PP_Application", 41), 0);
    ASSERT_EQ(SaveBootCounter(file, "QvSNMP_PP_Application", 42), 0);
    EXPECT_EQ(GetBootCounter(file, "QvSNMP_PP_Application", &boots), 0);
    EXPECT_EQ(boots, 42);
    EXPECT_EQ(GetBootCounter(file, "other", &boots), 0);
    EXPECT_EQ(boots, 5);
    std::ofstream(file) << "this is not a counter file\n";
    EXPECT_EQ(GetBootCounter(file, "QvSNMP_PP_Application", &boots), -3);
    EXPECT_EQ(SaveBootCounter(dir.file("no/such/folder"), "QvSNMP_PP_Application", 1), -1);
}

} // namespace
