#pragma once
// A simulated LMR-7300AP for a test program: Debian's snmpd on a free
// 127.0.0.1 port with the device model of sim/ behind it.
//
//   #include "support/SimFixture.h"
//
//   TEST(Lan, ReadsAddress) {
//       lmrtest::SimDevice& dev = lmrtest::SimDevice::shared(); // started on first use
//       ASSERT_TRUE(dev.running()) << dev.error();
//       // talk SNMP to dev.host() / dev.port() with dev.readCommunity(), or a
//       // v3 user of lmrtest::SimDevice::users() and engine id engineIdHex()
//       dev.fault("qvEnterprise.11.37.4.1.2.2.0", "timeout");    // inject
//       dev.clearFaults();
//       EXPECT_EQ(dev.peek("system.5.0"), "LMR-7300AP");           // what a SET wrote
//   }
//
// shared() is one instance per test program (each CTest case runs in its own
// process, so each case gets a fresh device); it is stopped at exit. Run as
// one process, the cases share it: reset() puts it back as it started. A test
// that needs other options makes its own: SimDevice dev(options); dev.start().
// OIDs may be written with the "qvEnterprise" or "system" prefix or in digits.
// Fault modes: "timeout" (the answer is held back, default 3 s, so use a
// shorter client time-out), "genErr", "noSuchName", "badValue", "none";
// scope "get", "set", "next" (walks only) or "any" (genErr and badValue only
// affect SETs; a "get" fault also refuses a SET of the object, which snmpd
// looks up with a get first). While
// an answer is held back the whole agent is silent; clearFaults() lets it go.
// A SET PDU with one failing varbind changes nothing (and restarts nothing).
// A restart (SET of sysRestart 1 or upgradesettingcommand 4, or restart())
// silences the agent for SimOptions::silenceSeconds; waitUntilAnswering()
// returns once it is back. Values survive a restart, faults too.
#include "sim/Credentials.h"

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace lmrtest {

// The build tree: $LMR_BINARY_DIR when set, else the one compiled in.
std::string BinaryDir();

struct SimOptions {
    std::string profile = "new";        // firmware profile: "new" or "old"
    bool resetBoots = false;            // come back from a restart with engine boots 1
    int silenceSeconds = 2;             // silence during a restart
    int faultDelayMs = 3000;            // how long a "timeout" fault holds an answer
    std::vector<std::string> extraArgs; // more lmr_sim options, e.g. {"--engine-id", hex}
};

class SimDevice {
public:
    explicit SimDevice(SimOptions options = {});
    ~SimDevice();
    SimDevice(const SimDevice&) = delete;
    SimDevice& operator=(const SimDevice&) = delete;

    static SimDevice& shared();

    bool start(); // false with error() on failure; waits until it answers
    void stop();
    bool running() const { return pid_ > 0; }
    const std::string& error() const { return error_; }

    std::string host() const { return "127.0.0.1"; }
    int port() const { return port_; }
    std::string hostPort() const { return host() + ":" + std::to_string(port_); }
    static std::string engineIdHex() { return std::string(sim::kEngineIdHex); }
    static std::string readCommunity() { return std::string(sim::kReadCommunity); }
    static std::string writeCommunity() { return std::string(sim::kWriteCommunity); }
    static const auto& users() { return sim::kV3Users; }

    // One line of the control channel; the reply line ("ok ..." or "err ...").
    std::string control(const std::string& line);
    bool fault(const std::string& oid, const std::string& mode, const std::string& scope = "any",
               int delayMs = 0);
    bool clearFaults();
    // How many requests the fault set on exactly oid has met since it was set.
    int faultHits(const std::string& oid);
    bool reset(); // values from the data file again, faults cleared
    std::optional<std::string> peek(const std::string& oid);
    bool poke(const std::string& oid, const std::string& value);
    bool restart();
    // OIDs (digits, leading ".") that SETs wrote since the last call, in order.
    std::vector<std::string> takeSetLog();
    // Writes every value to a file; SimOptions::extraArgs {"--load", file}
    // starts another device from it.
    bool saveState(const std::string& path);
    bool waitUntilAnswering(int timeoutMs = 15000);
    // The simulator's state folder (its snmpd.log helps when a test fails).
    const std::string& stateDir() const { return stateDir_; }

private:
    bool startOnce(int port);

    SimOptions options_;
    pid_t pid_ = -1;
    int out_ = -1;
    int port_ = 0;
    std::string stateDir_;
    std::string controlPath_;
    std::string error_;
};

} // namespace lmrtest
