// Walking a 1000-row, 4-column table on the simulated device over 127.0.0.1:
// our request object synchronously and asynchronously through the event
// pump, against Debian's snmpwalk (one cell per request) and snmpbulkwalk on
// the same table in the same run; SNMPv3 authPriv against SNMPv2c; and the
// delay the pump adds to an asynchronous get. Best of a few runs each,
// reported as ratios.
//
//   snmp_walk_bench [runs]        (default 3; needs snmpwalk and snmpbulkwalk)
#include "os/Runtime.h"
#include "snmp/QvSNMPRequest.h"
#include "support/SimFixture.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QEventLoop>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

constexpr int kRows = 1000;
#define TABLE "1.3.6.1.4.1.32473.11.37.4.96.1"

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

double Best(int runs, const std::function<double()>& once) {
    double best = 1e30;
    for (int i = 0; i < runs; ++i)
        best = std::min(best, once());
    return best;
}

QvSNMPVar Column(const char* oid, int syntax) {
    return {oid,     "c",     syntax, QvAccess::ReadOnly, nullptr, nullptr, nullptr,
            nullptr, nullptr, nullptr};
}

const QvSNMPVar kTable[] = {Column(TABLE ".1", QvSyntax::Integer),
                            Column(TABLE ".2", QvSyntax::DisplayStr),
                            Column(TABLE ".3", QvSyntax::IpAddress),
                            Column(TABLE ".4", QvSyntax::Integer), Column(nullptr, 0)};

std::string DataFile(const std::string& dir) {
    std::string src = LMR_SOURCE_DIR;
    if (const char* env = std::getenv("LMR_SOURCE_DIR"); env && *env) src = env;
    std::ostringstream all;
    all << std::ifstream(src + "/sim/device.dat").rdbuf() << "\n";
    for (int col = 1; col <= 4; ++col)
        for (int row = 1; row <= kRows; ++row) {
            all << "qvEnterprise.11.37.4.96.1." << col << "." << row << " ";
            switch (col) {
            case 1:
                all << "integer ro " << row;
                break;
            case 2:
                all << "string ro \"row number " << row << "\"";
                break;
            case 3:
                all << "ipaddress ro 10.0." << row / 256 << "." << row % 256;
                break;
            default:
                all << "integer ro " << row * 7;
                break;
            }
            all << "\n";
        }
    std::string path = dir + "/bench.dat";
    std::ofstream(path) << all.str();
    return path;
}

void Configure(QvSNMPRequest& r, int port, bool v3) {
    r.Device.Port = static_cast<uint16_t>(port);
    r.Timeout = 100;
    if (!v3) {
        r.Security.Version = 1;
        return;
    }
    for (const sim::V3User& u : lmrtest::SimDevice::users())
        if (u.auth == "SHA" && u.priv == "DES") {
            r.Security.Version = 3;
            r.Security.SecurityModel = 3;
            r.Security.SecurityLevel = 3;
            r.Security.SecurityName = std::string(u.name);
            r.Security.AuthProtocol = 3;
            r.Security.PrivProtocol = 2;
            r.Security.AuthPassword = std::string(u.authPass);
            r.Security.PrivPassword = std::string(u.privPass);
        }
}

double SyncWalk(int port, bool v3) {
    QvSNMPRequest r;
    Configure(r, port, v3);
    r.vars = QvSNMPVarList(kTable, MVT_FMV, 1);
    bool ok = true;
    int rows = 0;
    auto start = Clock::now();
    for (bool first = true; rows <= kRows && r.Get(&ok, first); first = false)
        ++rows;
    double t = Seconds(start);
    if (!ok || rows != kRows) std::fprintf(stderr, "sync walk: %d rows, ok %d\n", rows, ok);
    return t;
}

double AsyncWalk(int port) {
    QvSNMPRequest r;
    Configure(r, port, false);
    r.vars = QvSNMPVarList(kTable, MVT_FMV, 1);
    QEventLoop loop;
    int rows = 0, code = 0;
    QvDoneClosure next = [&](QvSNMPError* e, QvSNMPVarList*) {
        code = e->Code;
        if (e->Finished) {
            loop.quit();
            return;
        }
        ++rows;
        r.GetAsync(next, false);
    };
    auto start = Clock::now();
    r.GetAsync(next, true);
    loop.exec();
    double t = Seconds(start);
    if (code != 0 || rows != kRows)
        std::fprintf(stderr, "async walk: %d rows, code %d\n", rows, code);
    return t;
}

// Runs a net-snmp command line tool with its output thrown away.
double Tool(const std::vector<std::string>& words) {
    std::vector<char*> argv;
    std::vector<std::string> copy = words;
    for (auto& w : copy)
        argv.push_back(w.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 1, "/dev/null", O_WRONLY, 0);
    std::vector<std::string> env = {"MIBS=", "MIBDIRS=/nonexistent", "SNMPCONFPATH=/nonexistent",
                                    "HOME=/nonexistent"};
    std::vector<char*> envp;
    for (auto& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    pid_t pid = -1;
    auto start = Clock::now();
    if (posix_spawnp(&pid, argv[0], &fa, nullptr, argv.data(), envp.data()) != 0) {
        std::fprintf(stderr, "cannot run %s\n", argv[0]);
        posix_spawn_file_actions_destroy(&fa);
        return 0;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    double t = Seconds(start);
    posix_spawn_file_actions_destroy(&fa);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        std::fprintf(stderr, "%s failed\n", argv[0]);
    return t;
}

// Mean time of one get, synchronously and through the pump.
std::pair<double, double> GetLatency(int port, int count) {
    const QvSNMPVar one[] = {Column("1.3.6.1.2.1.1.1", QvSyntax::DisplayStr), Column(nullptr, 0)};
    QvSNMPRequest r;
    Configure(r, port, false);
    r.vars = QvSNMPVarList(one, SVT_SV, 0);
    bool ok = true;
    auto start = Clock::now();
    for (int i = 0; i < count; ++i)
        r.Get(&ok, true);
    double sync = Seconds(start) / count;
    QEventLoop loop;
    int done = 0;
    start = Clock::now();
    QvDoneClosure next = [&](QvSNMPError*, QvSNMPVarList*) {
        if (++done == count) {
            loop.quit();
            return;
        }
        r.GetAsync(next, true);
    };
    r.GetAsync(next, true);
    loop.exec();
    double async = Seconds(start) / count;
    return {sync, async};
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    os::EnsureRuntimeDir();
    QApplication app(argc, argv);
    int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;

    const lmrtest::TempDir folder("snmp-bench");
    if (!folder.ok()) return 1;
    const std::string& dir = folder.path();
    int rc = 0;
    {
        lmrtest::SimOptions options;
        options.extraArgs = {"--data", DataFile(dir)};
        lmrtest::SimDevice dev(options);
        if (!dev.start()) {
            std::fprintf(stderr, "simulator: %s\n", dev.error().c_str());
            rc = 1;
        } else {
            CreateGlobalSession(dir);
            const int port = dev.port();
            const std::string peer = dev.hostPort();
            const std::string community = lmrtest::SimDevice::readCommunity();
            std::printf("%d rows x 4 columns on %s, best of %d\n", kRows, peer.c_str(), runs);

            double sync = Best(runs, [&] { return SyncWalk(port, false); });
            double async = Best(runs, [&] { return AsyncWalk(port); });
            double walk = Best(runs, [&] {
                return Tool({"snmpwalk", "-v2c", "-c", community, "-On", "-r", "1", "-t", "1", peer,
                             TABLE});
            });
            double bulk = Best(runs, [&] {
                return Tool({"snmpbulkwalk", "-v2c", "-c", community, "-On", "-r", "1", "-t", "1",
                             peer, TABLE});
            });
            double v3 = Best(runs, [&] { return SyncWalk(port, true); });
            auto [getSync, getAsync] = GetLatency(port, 500);

            std::printf("ours, synchronous (v2c)   %8.3f s\n", sync);
            std::printf("ours, through the pump    %8.3f s\n", async);
            std::printf("ours, synchronous (v3 authPriv) %8.3f s\n", v3);
            std::printf("snmpwalk                  %8.3f s\n", walk);
            std::printf("snmpbulkwalk              %8.3f s\n", bulk);
            std::printf("synchronous / snmpwalk    %8.2f  (goal <= 0.5)\n", sync / walk);
            std::printf("synchronous / snmpbulkwalk%8.2f\n", sync / bulk);
            std::printf("pump / synchronous        %8.2f  (goal <= 1.2)\n", async / sync);
            std::printf("v3 authPriv / v2c         %8.2f\n", v3 / sync);
            std::printf("get: synchronous %.3f ms, through the pump %.3f ms, added %.3f ms\n",
                        getSync * 1e3, getAsync * 1e3, (getAsync - getSync) * 1e3);
        }
    }
    return rc;
}
