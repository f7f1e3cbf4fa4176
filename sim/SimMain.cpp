// The simulated access point: Debian's snmpd on 127.0.0.1 with our device
// model behind its pass_persist registrations. Runs in the foreground until
// SIGTERM or SIGINT, then stops snmpd by its pid and removes its state folder.
//
//   lmr_sim --port N [--profile new|old] [--boots persist|reset]
//           [--silence SECONDS] [--state DIR] [--data FILE] [--timeout-ms MS]
//           [--read-community C] [--write-community C] [--load FILE]
//           [--save FILE] [--engine-id HEX] [--verbose]
//
// Values live as long as the simulator (restarts included); --load starts
// from a state saved with --save (written at exit) or the "save" command.
//
// Prints "lmr-sim ready ..." each time the agent answers (at start and after
// every restart). Control channel: a line protocol on the unix socket
// <state>/control.sock (see ControlHelp below).
#include "sim/Credentials.h"
#include "sim/Model.h"
#include "sim/Protocol.h"
#include "sim/TftpClient.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <netinet/in.h>
#include <optional>
#include <poll.h>
#include <sstream>
#include <string>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using sim::Model;
using sim::Oid;

namespace {

const char* const ControlHelp =
    " | hits OID | clear | reset | restart | setlog | save FILE | tftp PORT [nooptions] [late]";

struct Options {
    int port = 0;
    std::string profile = "new";
    bool resetBoots = false;
    int silenceSeconds = 3;
    std::string stateDir;
    std::string dataFile;
    std::string snmpd = "/usr/sbin/snmpd";
    std::string backend;
    std::string readCommunity{sim::kReadCommunity};
    std::string writeCommunity{sim::kWriteCommunity};
    int timeoutMs = 5000;
    std::string loadFile;
    std::string saveFile;
    std::string engineId{sim::kEngineIdHex};
    bool verbose = false;
};

int g_signalPipe[2] = {-1, -1};

void onSignal(int sig) {
    unsigned char c = static_cast<unsigned char>(sig);
    [[maybe_unused]] ssize_t n = write(g_signalPipe[1], &c, 1);
}

bool writeAll(int fd, const std::string& data) {
    std::size_t done = 0;
    while (done < data.size()) {
        ssize_t n = write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            if (errno == EAGAIN) {
                pollfd p{fd, POLLOUT, 0};
                if (poll(&p, 1, 1000) <= 0) return false;
                continue;
            }
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

void setNonBlocking(int fd) {
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
}

int listenUnix(const std::string& path) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (path.size() >= sizeof(addr.sun_path)) return -1;
    std::strcpy(addr.sun_path, path.c_str());
    unlink(path.c_str());
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) < 0 || listen(fd, 16) < 0) {
        close(fd);
        return -1;
    }
    setNonBlocking(fd);
    return fd;
}

// An SNMPv1 get of snmpEngineID.0, which snmpd answers itself: any reply
// means the agent listens, whatever faults the model has.
std::string probePacket(const std::string& community, std::uint32_t requestId) {
    static const unsigned char oid[] = {0x2b, 6, 1, 6, 3, 10, 2, 1, 1, 0};
    std::string varbind = std::string("\x06", 1) + static_cast<char>(sizeof(oid)) +
                          std::string(reinterpret_cast<const char*>(oid), sizeof(oid)) +
                          std::string("\x05\x00", 2);
    std::string list = std::string("\x30", 1) + static_cast<char>(varbind.size() + 2) + "\x30" +
                       static_cast<char>(varbind.size()) + varbind;
    std::string id = {'\x02',
                      '\x04',
                      static_cast<char>(requestId >> 24),
                      static_cast<char>(requestId >> 16),
                      static_cast<char>(requestId >> 8),
                      static_cast<char>(requestId)};
    std::string pdu = id + std::string("\x02\x01\x00\x02\x01\x00", 6) + list;
    std::string body = std::string("\x02\x01\x00", 3) + "\x04" +
                       static_cast<char>(community.size()) + community + "\xa0" +
                       static_cast<char>(pdu.size()) + pdu;
    return std::string("\x30", 1) + static_cast<char>(body.size()) + body;
}

struct ModelConn {
    int fd = -1;
    std::string in;
    bool haveSubtree = false;
    Oid subtree;
    sim::RequestParser parser;
    std::optional<sim::Request> held; // time-out fault: answer held back
    Clock::time_point heldUntil;
    std::vector<std::string> queued; // lines that came while one was held
};

class Simulator {
public:
    explicit Simulator(Options options) : opt_(std::move(options)) {}
    int run();

private:
    enum class Phase { Starting, Running, Stopping, Silent };

    bool prepare();
    std::string snmpdConfig() const;
    bool startSnmpd();
    void stopSnmpd();
    void cleanup();
    void announceReady();
    void showSnmpdLog() const;
    bool saveState(const std::string& path) const;
    void handleModelInput(ModelConn& conn);
    void processLine(ModelConn& conn, const std::string& line);
    void release(ModelConn& conn);
    void releaseAll();
    std::string control(const std::string& line);
    void scheduleRestart(int delayMs);
    void afterModelChange();
    void commitNow();
    void closeModelConns();

    Options opt_;
    Model model_;
    sim::TftpDevice tftp_;
    bool ownState_ = false;
    std::string state_;
    int modelListen_ = -1;
    int controlListen_ = -1;
    int probe_ = -1;
    pid_t snmpd_ = -1;
    Phase phase_ = Phase::Starting;
    std::vector<std::unique_ptr<ModelConn>> conns_;
    std::map<int, std::string> controls_; // fd -> unread input
    std::optional<Clock::time_point> commitAt_, restartAt_, silenceEnd_, killAt_, nextProbe_,
        giveUpAt_;
    Clock::time_point stopBegan_;
    std::uint32_t probeId_ = 1;
    bool everReady_ = false;
    bool quit_ = false;
    int exitCode_ = 0;
};

bool Simulator::prepare() {
    std::string error;
    if (!model_.loadFile(opt_.dataFile, opt_.profile, &error)) {
        std::fprintf(stderr, "lmr-sim: %s: %s\n", opt_.dataFile.c_str(), error.c_str());
        return false;
    }
    if (!opt_.loadFile.empty()) {
        std::ifstream in(opt_.loadFile);
        std::stringstream text;
        text << in.rdbuf();
        if (!in || !model_.restore(text.str(), &error)) {
            std::fprintf(stderr, "lmr-sim: %s: %s\n", opt_.loadFile.c_str(),
                         in ? error.c_str() : "cannot read");
            return false;
        }
    }
    if (opt_.stateDir.empty()) {
        const char* tmp = std::getenv("TMPDIR");
        std::string base = (tmp && *tmp && std::strlen(tmp) < 60) ? tmp : "/tmp";
        std::string templ = base + "/lmr-sim.XXXXXX";
        std::vector<char> buf(templ.begin(), templ.end());
        buf.push_back('\0');
        if (!mkdtemp(buf.data())) {
            std::perror("lmr-sim: mkdtemp");
            return false;
        }
        state_ = buf.data();
        ownState_ = true;
    } else {
        state_ = fs::absolute(opt_.stateDir).string();
        std::error_code ec;
        fs::create_directories(state_, ec);
    }
    for (const char* sub : {"conf", "persist", "mibs"})
        fs::create_directories(state_ + "/" + sub);
    {
        std::ofstream conf(state_ + "/lmr-sim.conf");
        conf << snmpdConfig();
        if (!conf) {
            std::fprintf(stderr, "lmr-sim: cannot write the snmpd configuration\n");
            return false;
        }
    }
    tftp_.setFolder(state_);
    modelListen_ = listenUnix(state_ + "/model.sock");
    controlListen_ = listenUnix(state_ + "/control.sock");
    if (modelListen_ < 0 || controlListen_ < 0) {
        std::fprintf(stderr, "lmr-sim: cannot listen in %s\n", state_.c_str());
        return false;
    }
    probe_ = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<std::uint16_t>(opt_.port));
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (probe_ < 0 || connect(probe_, reinterpret_cast<sockaddr*>(&to), sizeof(to)) < 0) {
        std::perror("lmr-sim: probe socket");
        return false;
    }
    return true;
}

std::string Simulator::snmpdConfig() const {
    std::ostringstream c;
    c << "# written by lmr_sim for one run\n"
      << "agentAddress udp:127.0.0.1:" << opt_.port << "\n"
      << "exactEngineID 0x" << opt_.engineId << "\n"
      << "dontLogTCPWrappersConnects yes\n"
      << "rocommunity " << opt_.readCommunity << " 127.0.0.1\n"
      << "rocommunity " << sim::kPublicCommunity << " 127.0.0.1\n"
      << "rwcommunity " << opt_.writeCommunity << " 127.0.0.1\n"
      << "rwcommunity " << sim::kPrivateCommunity << " 127.0.0.1\n";
    for (const auto& u : sim::kV3Users) {
        c << "createUser " << u.name;
        if (!u.auth.empty()) c << " " << u.auth << " " << u.authPass;
        if (!u.priv.empty()) c << " " << u.priv << " " << u.privPass;
        c << "\n";
        const char* level = u.auth.empty() ? "noauth" : u.priv.empty() ? "auth" : "priv";
        c << (u.writable ? "rwuser " : "rouser ") << u.name << " " << level << "\n";
    }
    for (const char* subtree : {"system", "qvEnterprise"}) {
        std::string arc = sim::oidText(*sim::parseOid(subtree));
        c << "pass_persist " << arc << " " << opt_.backend << " " << state_ << "/model.sock " << arc
          << "\n";
    }
    return c.str();
}

bool Simulator::startSnmpd() {
    std::string conf = state_ + "/lmr-sim.conf";
    std::string pidFile = state_ + "/snmpd.pid";
    std::string log = state_ + "/snmpd.log";
    // Keeping the boots needs the persistent folder on the config path and
    // no -C; with -C snmpd comes back with boots 1 after every restart.
    std::string confPath =
        opt_.resetBoots ? state_ + "/conf" : state_ + "/conf:" + state_ + "/persist";
    std::vector<std::string> args = {opt_.snmpd, "-f", "-Lf", log};
    if (opt_.resetBoots) args.push_back("-C");
    args.push_back("-c");
    args.push_back(conf);
    args.push_back("-I");
    args.push_back("-system_mib,sysORTable");
    args.push_back("-p");
    args.push_back(pidFile);

    pid_t parent = getpid();
    pid_t pid = fork();
    if (pid < 0) {
        std::perror("lmr-sim: fork");
        return false;
    }
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) _exit(1);
        setenv("SNMPCONFPATH", confPath.c_str(), 1);
        setenv("SNMP_PERSISTENT_DIR", (state_ + "/persist").c_str(), 1);
        setenv("MIBS", "", 1);
        setenv("MIBDIRS", (state_ + "/mibs").c_str(), 1);
        int devnull = open("/dev/null", O_RDWR);
        int out = opt_.verbose
                      ? STDERR_FILENO
                      : open((state_ + "/snmpd.out").c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
        dup2(devnull, STDIN_FILENO);
        dup2(out, STDOUT_FILENO);
        dup2(out, STDERR_FILENO);
        close_range(3, ~0U, 0); // snmpd gets nothing of ours but the three
        signal(SIGPIPE, SIG_DFL);
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    snmpd_ = pid;
    model_.setStartTime(Clock::now());
    phase_ = Phase::Starting;
    nextProbe_ = Clock::now() + std::chrono::milliseconds(20);
    giveUpAt_ = Clock::now() + std::chrono::seconds(15);
    return true;
}

void Simulator::stopSnmpd() {
    if (snmpd_ <= 0) return;
    closeModelConns(); // a held-back answer would keep snmpd from stopping
    kill(snmpd_, SIGTERM);
    stopBegan_ = Clock::now();
    killAt_ = Clock::now() + std::chrono::seconds(3);
}

void Simulator::closeModelConns() {
    for (auto& c : conns_)
        close(c->fd);
    conns_.clear();
}

bool Simulator::saveState(const std::string& path) const {
    if (path.empty()) return false;
    std::ofstream out(path);
    out << model_.dump();
    return static_cast<bool>(out);
}

void Simulator::cleanup() {
    tftp_.stopAll();
    if (everReady_ && !opt_.saveFile.empty() && !saveState(opt_.saveFile))
        std::fprintf(stderr, "lmr-sim: cannot write %s\n", opt_.saveFile.c_str());
    // A held-back answer keeps snmpd waiting on its backend; closing the
    // model side (and its socket, so no new backend gets in) lets it stop.
    if (modelListen_ >= 0) {
        close(modelListen_);
        modelListen_ = -1;
        unlink((state_ + "/model.sock").c_str());
    }
    closeModelConns();
    if (snmpd_ > 0) {
        // snmpd takes over a second to stop on SIGTERM; only a kept state
        // folder needs what it saves then (the engine boots).
        kill(snmpd_, ownState_ ? SIGKILL : SIGTERM);
        for (int i = 0; i < 60; ++i) {
            if (waitpid(snmpd_, nullptr, WNOHANG) == snmpd_) {
                snmpd_ = -1;
                break;
            }
            usleep(50000);
        }
        if (snmpd_ > 0) {
            kill(snmpd_, SIGKILL);
            waitpid(snmpd_, nullptr, 0);
            snmpd_ = -1;
        }
    }
    for (auto& [fd, buf] : controls_)
        close(fd);
    controls_.clear();
    if (controlListen_ >= 0) close(controlListen_);
    if (probe_ >= 0) close(probe_);
    if (ownState_ && !state_.empty()) {
        std::error_code ec;
        fs::remove_all(state_, ec);
    }
}

// The state folder goes at exit, so pass on what snmpd said.
void Simulator::showSnmpdLog() const {
    for (const char* name : {"/snmpd.log", "/snmpd.out"}) {
        std::ifstream in(state_ + name);
        std::string line;
        while (std::getline(in, line))
            std::fprintf(stderr, "snmpd: %s\n", line.c_str());
    }
}

void Simulator::announceReady() {
    phase_ = Phase::Running;
    nextProbe_.reset();
    giveUpAt_.reset();
    everReady_ = true;
    std::printf("lmr-sim ready port=%d engine=0x%s state=%s control=%s/control.sock snmpd=%d "
                "profile=%s boots=%s\n",
                opt_.port, opt_.engineId.c_str(), state_.c_str(), state_.c_str(),
                static_cast<int>(snmpd_), opt_.profile.c_str(),
                opt_.resetBoots ? "reset" : "persist");
    std::fflush(stdout);
}

void Simulator::scheduleRestart(int delayMs) {
    if (phase_ != Phase::Running && phase_ != Phase::Starting) return;
    if (restartAt_) return;
    restartAt_ = Clock::now() + std::chrono::milliseconds(delayMs);
}

void Simulator::processLine(ModelConn& conn, const std::string& line) {
    if (conn.held) {
        conn.queued.push_back(line);
        return;
    }
    if (!conn.haveSubtree) {
        if (line.rfind("SUBTREE ", 0) == 0) {
            auto oid = sim::parseOid(line.substr(8));
            if (oid) {
                conn.subtree = *oid;
                conn.haveSubtree = true;
            }
        }
        return;
    }
    auto request = conn.parser.feed(line);
    if (!request) return;
    if (opt_.verbose && request->kind != sim::Request::Ping) {
        static const char* const kinds[] = {"ping", "get", "getnext", "set"};
        std::fprintf(stderr, "lmr-sim: %s %s %s %s\n", kinds[request->kind],
                     sim::oidText(request->oid).c_str(), request->typeWord.c_str(),
                     request->value.c_str());
    }
    sim::Reply reply = sim::respond(model_, *request, conn.subtree, opt_.timeoutMs);
    if (reply.delayed) {
        conn.held = *request;
        conn.heldUntil = Clock::now() + std::chrono::milliseconds(reply.delayMs);
        return;
    }
    if (request->kind == sim::Request::Set && reply.text == "DONE\n") {
        // The device's own work for a transfer command, before it answers.
        std::string refused = tftp_.afterSet(model_, request->oid, request->value);
        if (!refused.empty()) {
            model_.failSet();
            reply.text = refused + "\n";
        }
    }
    writeAll(conn.fd, reply.text);
    afterModelChange();
}

// A run of sets ends with the next get, a control command or a short pause.
void Simulator::afterModelChange() {
    if (model_.inTransaction()) {
        commitAt_ = Clock::now() + std::chrono::milliseconds(30);
        return;
    }
    commitAt_.reset();
    if (model_.takeRestartRequest()) scheduleRestart(300);
}

void Simulator::commitNow() {
    model_.commit();
    afterModelChange();
}

void Simulator::release(ModelConn& conn) {
    if (!conn.held) return;
    sim::Request request = *conn.held;
    conn.held.reset();
    writeAll(conn.fd, sim::releaseText(model_, request, conn.subtree));
    afterModelChange();
    auto queued = std::move(conn.queued);
    conn.queued.clear();
    for (auto& line : queued)
        processLine(conn, line);
}

void Simulator::releaseAll() {
    for (auto& c : conns_)
        release(*c);
}

void Simulator::handleModelInput(ModelConn& conn) {
    std::size_t pos;
    while ((pos = conn.in.find('\n')) != std::string::npos) {
        std::string line = conn.in.substr(0, pos);
        conn.in.erase(0, pos + 1);
        processLine(conn, line);
    }
}

std::string Simulator::control(const std::string& rawLine) {
    std::string line = rawLine;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    commitNow();
    std::istringstream in(line);
    std::string cmd;
    in >> cmd;
    if (cmd == "ping") return "ok";
    if (cmd == "state") {
        switch (phase_) {
        case Phase::Running:
            return restartAt_ ? "ok restarting" : "ok running";
        case Phase::Starting:
            return "ok starting";
        case Phase::Stopping: // snmpd may still answer until it has ended
            return "ok restarting";
        case Phase::Silent:
            return "ok silent";
        }
    }
    if (cmd == "restart") {
        if (phase_ != Phase::Running) return "err not running";
        scheduleRestart(0);
        return "ok";
    }
    if (cmd == "setlog") {
        std::string out = "ok";
        for (const auto& oid : model_.takeSetLog())
            out += " " + sim::oidText(oid);
        return out;
    }
    if (cmd == "save") {
        std::string path;
        std::getline(in, path);
        if (!path.empty() && path.front() == ' ') path.erase(0, 1);
        return saveState(path) ? "ok" : "err cannot write " + path;
    }
    if (cmd == "tftp") {
        int port = 0;
        in >> port;
        if (port <= 0 || port > 65535) return "err bad port";
        bool noOptions = false, late = false;
        for (std::string word; in >> word;) {
            if (word == "nooptions")
                noOptions = true;
            else if (word == "late")
                late = true;
            else
                return "err unknown word " + word;
        }
        tftp_.setServer(port, noOptions, late);
        return "ok";
    }
    if (cmd == "reset") {
        tftp_.setFolder(state_);
        // back to the data file, as a fresh simulator would start
        Model fresh;
        std::string error;
        if (!fresh.loadFile(opt_.dataFile, opt_.profile, &error)) return "err " + error;
        fresh.setStartTime(model_.startTime());
        model_ = std::move(fresh);
        releaseAll();
        return "ok";
    }
    if (cmd == "clear") {
        model_.clearFaults();
        releaseAll();
        return "ok";
    }
    std::string oidWord;
    in >> oidWord;
    auto oid = sim::parseOid(oidWord);
    if (cmd == "get") {
        if (!oid) return "err bad OID";
        auto value = model_.peek(*oid);
        return value ? "ok " + *value : "err no such object";
    }
    if (cmd == "set") {
        if (!oid) return "err bad OID";
        std::string rest;
        std::getline(in, rest);
        if (!rest.empty() && rest.front() == ' ') rest.erase(0, 1);
        std::string error;
        return model_.poke(*oid, rest, &error) ? "ok" : "err " + error;
    }
    if (cmd == "hits") {
        if (!oid) return "err bad OID";
        return "ok " + std::to_string(model_.faultHits(*oid));
    }
    if (cmd == "fault") {
        if (!oid) return "err bad OID";
        std::string modeWord, word;
        in >> modeWord;
        auto mode = sim::faultModeFromName(modeWord);
        if (!mode) return "err bad mode";
        sim::Fault fault;
        fault.mode = *mode;
        fault.delayMs = 0;
        while (in >> word) {
            if (word == "get")
                fault.scope = sim::FaultScope::Get;
            else if (word == "set")
                fault.scope = sim::FaultScope::Set;
            else if (word == "next")
                fault.scope = sim::FaultScope::Next;
            else if (word == "any")
                fault.scope = sim::FaultScope::Any;
            else if (std::all_of(word.begin(), word.end(), ::isdigit))
                fault.delayMs = std::stoi(word);
            else
                return "err bad fault option " + word;
        }
        model_.setFault(*oid, fault);
        if (fault.mode != sim::FaultMode::Timeout) releaseAll();
        return "ok";
    }
    return std::string("err ") + ControlHelp;
}

int Simulator::run() {
    if (!prepare() || !startSnmpd()) {
        cleanup();
        return 1;
    }
    while (!quit_) {
        std::vector<pollfd> fds;
        fds.push_back({g_signalPipe[0], POLLIN, 0});
        fds.push_back({modelListen_, POLLIN, 0});
        fds.push_back({controlListen_, POLLIN, 0});
        fds.push_back({probe_, POLLIN, 0});
        const std::size_t polledConns = conns_.size(); // accept() below adds more
        for (auto& c : conns_)
            fds.push_back({c->fd, POLLIN, 0});
        std::vector<int> controlFds;
        for (auto& [fd, buf] : controls_) {
            fds.push_back({fd, POLLIN, 0});
            controlFds.push_back(fd);
        }

        auto now = Clock::now();
        auto wake = now + std::chrono::seconds(1);
        auto consider = [&](const std::optional<Clock::time_point>& t) {
            if (t && *t < wake) wake = *t;
        };
        consider(commitAt_);
        consider(restartAt_);
        consider(silenceEnd_);
        consider(killAt_);
        consider(nextProbe_);
        consider(giveUpAt_);
        for (auto& c : conns_)
            if (c->held) consider(c->heldUntil);
        int timeout = static_cast<int>(std::max<long>(
            0, std::chrono::duration_cast<std::chrono::milliseconds>(wake - now).count()));
        if (poll(fds.data(), fds.size(), timeout) < 0 && errno != EINTR) {
            std::perror("lmr-sim: poll");
            exitCode_ = 1;
            break;
        }

        if (fds[0].revents & POLLIN) {
            unsigned char sig = 0;
            bool child = false;
            while (read(g_signalPipe[0], &sig, 1) == 1) {
                if (sig == SIGCHLD)
                    child = true;
                else
                    quit_ = true; // SIGINT also reaches snmpd: no complaint then
            }
            if (child) {
                int status = 0;
                if (snmpd_ > 0 && waitpid(snmpd_, &status, WNOHANG) == snmpd_) {
                    snmpd_ = -1;
                    killAt_.reset();
                    closeModelConns();
                    if (phase_ == Phase::Stopping) {
                        phase_ = Phase::Silent;
                        // snmpd's own stopping counts towards the silence
                        silenceEnd_ = stopBegan_ + std::chrono::seconds(opt_.silenceSeconds);
                    } else if (!quit_) {
                        std::fprintf(stderr, "lmr-sim: snmpd ended unexpectedly (status %d)\n",
                                     status);
                        showSnmpdLog();
                        exitCode_ = 1;
                        quit_ = true;
                    }
                }
                while (waitpid(-1, nullptr, WNOHANG) > 0) {
                }
            }
        }
        if (quit_) break;

        if (fds[1].revents & POLLIN) {
            int fd;
            while ((fd = accept4(modelListen_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK)) >=
                   0) {
                auto conn = std::make_unique<ModelConn>();
                conn->fd = fd;
                conns_.push_back(std::move(conn));
            }
        }
        if (fds[2].revents & POLLIN) {
            int fd;
            while ((fd = accept4(controlListen_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK)) >=
                   0)
                controls_[fd] = "";
        }
        if (fds[3].revents & POLLIN) {
            char buf[1500];
            bool got = false;
            while (recv(probe_, buf, sizeof(buf), 0) > 0)
                got = true;
            if (got && phase_ == Phase::Starting) announceReady();
        }
        std::size_t base = 4;
        std::vector<ModelConn*> closed;
        for (std::size_t i = 0; i < polledConns; ++i) {
            if (!(fds[base + i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            ModelConn& conn = *conns_[i];
            char buf[4096];
            ssize_t n = read(conn.fd, buf, sizeof(buf));
            if (n > 0) {
                conn.in.append(buf, static_cast<std::size_t>(n));
                handleModelInput(conn);
            } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
                closed.push_back(&conn);
            }
        }
        for (ModelConn* c : closed) {
            close(c->fd);
            std::erase_if(conns_, [&](const auto& p) { return p.get() == c; });
        }
        base += polledConns;
        for (std::size_t i = 0; i < controlFds.size(); ++i) {
            int fd = controlFds[i];
            if (!(fds[base + i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            char buf[4096];
            ssize_t n = read(fd, buf, sizeof(buf));
            if (n > 0) {
                std::string& in = controls_[fd];
                in.append(buf, static_cast<std::size_t>(n));
                std::size_t pos;
                while ((pos = in.find('\n')) != std::string::npos) {
                    std::string reply = control(in.substr(0, pos)) + "\n";
                    in.erase(0, pos + 1);
                    writeAll(fd, reply);
                }
            } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
                close(fd);
                controls_.erase(fd);
            }
        }

        now = Clock::now();
        for (auto& c : conns_)
            if (c->held && c->heldUntil <= now) release(*c);
        if (commitAt_ && *commitAt_ <= now) commitNow();
        if (restartAt_ && *restartAt_ <= now) {
            restartAt_.reset();
            std::printf("lmr-sim restarting silence=%d\n", opt_.silenceSeconds);
            std::fflush(stdout);
            phase_ = Phase::Stopping;
            stopSnmpd();
        }
        if (killAt_ && *killAt_ <= now) {
            killAt_.reset();
            if (snmpd_ > 0) kill(snmpd_, SIGKILL);
        }
        if (silenceEnd_ && *silenceEnd_ <= now) {
            silenceEnd_.reset();
            model_.restarted();
            tftp_.restarted(model_);
            if (!startSnmpd()) {
                exitCode_ = 1;
                break;
            }
        }
        if (nextProbe_ && *nextProbe_ <= now && phase_ == Phase::Starting) {
            std::string packet = probePacket(opt_.readCommunity, probeId_++);
            send(probe_, packet.data(), packet.size(), 0);
            nextProbe_ = now + std::chrono::milliseconds(100);
        }
        if (giveUpAt_ && *giveUpAt_ <= now && phase_ == Phase::Starting) {
            std::fprintf(stderr, "lmr-sim: snmpd does not answer on 127.0.0.1:%d\n", opt_.port);
            showSnmpdLog();
            exitCode_ = 1;
            break;
        }
    }
    cleanup();
    return exitCode_;
}

std::string exeDir() {
    std::error_code ec;
    auto self = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : self.parent_path().string();
}

bool parseArgs(int argc, char** argv, Options* opt) {
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](std::string* out) {
            if (i + 1 >= argc) return false;
            *out = argv[++i];
            return true;
        };
        std::string v;
        if (a == "--verbose") {
            opt->verbose = true;
        } else if (!value(&v)) {
            return false;
        } else if (a == "--port") {
            opt->port = std::atoi(v.c_str());
        } else if (a == "--profile") {
            opt->profile = v;
        } else if (a == "--boots") {
            if (v != "persist" && v != "reset") return false;
            opt->resetBoots = v == "reset";
        } else if (a == "--silence") {
            opt->silenceSeconds = std::atoi(v.c_str());
        } else if (a == "--state") {
            opt->stateDir = v;
        } else if (a == "--data") {
            opt->dataFile = v;
        } else if (a == "--snmpd") {
            opt->snmpd = v;
        } else if (a == "--timeout-ms") {
            opt->timeoutMs = std::atoi(v.c_str());
        } else if (a == "--read-community") {
            opt->readCommunity = v;
        } else if (a == "--write-community") {
            opt->writeCommunity = v;
        } else if (a == "--engine-id") {
            if (v.rfind("0x", 0) == 0) v.erase(0, 2);
            if (v.size() < 10 || v.size() > 64 || v.size() % 2 ||
                !std::all_of(v.begin(), v.end(), ::isxdigit))
                return false;
            opt->engineId = v;
        } else if (a == "--load") {
            opt->loadFile = v;
        } else if (a == "--save") {
            opt->saveFile = v;
        } else {
            return false;
        }
    }
    return opt->port > 0 && opt->port < 65536 && opt->silenceSeconds >= 0 && opt->timeoutMs > 0 &&
           (opt->profile == "new" || opt->profile == "old");
}

} // namespace

int main(int argc, char** argv) {
    Options opt;
    if (!parseArgs(argc, argv, &opt)) {
        std::fprintf(stderr,
                     "usage: %s --port N [--profile new|old] [--boots persist|reset] "
                     "[--silence S] [--state DIR] [--data FILE] [--timeout-ms MS] "
                     "[--read-community C] [--write-community C] [--load FILE] [--save FILE] "
                     "[--engine-id HEX] [--verbose]\n",
                     argv[0]);
        return 2;
    }
    std::string dir = exeDir();
    if (opt.dataFile.empty()) opt.dataFile = dir + "/device.dat";
    if (opt.backend.empty()) opt.backend = dir + "/lmr_sim_backend";

    if (pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) < 0) return 1;
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP, SIGCHLD})
        sigaction(sig, &sa, nullptr);
    signal(SIGPIPE, SIG_IGN);

    Simulator simulator(opt);
    return simulator.run();
}
