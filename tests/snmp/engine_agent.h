// A private snmpd for the engine and request tests: its own folder, a free
// high port on 127.0.0.1, known communities and SNMPv3 users. Stopped by pid.
#pragma once

#include "support/Process.h"
#include "support/TempDir.h"

#include <arpa/inet.h>
#include <chrono>
#include <fstream>
#include <netinet/in.h>
#include <spawn.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace testagent {

// Users: "plain" noAuthNoPriv, "md5user" MD5 authNoPriv, "shauser" SHA
// authNoPriv, "desuser" MD5+DES, "aesuser" SHA+AES. Passwords "authpass1" and
// "privpass1".
class Agent {
public:
    explicit Agent(std::string extraConfig = "") : extra_(std::move(extraConfig)) {
        port_ = static_cast<uint16_t>(lmrtest::FreeUdpPort());
        Start(true);
    }
    ~Agent() { Stop(); }
    uint16_t Port() const { return port_; }
    bool Running() const { return pid_ > 0; }

    // keepState false: the agent forgets its engine boots (a device reset).
    void Restart(bool keepState) {
        Stop();
        Start(keepState);
    }
    // Comes back with the given engine boots counted before (it adds one as
    // it starts), or with none (-1): boots 1, as after a factory reset.
    void RestartWithBoots(long before) {
        bootsBefore_ = before;
        Restart(false);
    }
    // Comes back on the same port as another engine (a replaced unit, or a
    // factory reset that made a new id): boots and users start afresh.
    void RestartAs(std::string engineIdText) {
        engineId_ = std::move(engineIdText);
        Restart(false);
    }
    void Stop() {
        if (pid_ <= 0) return;
        lmrtest::StopProcess(pid_, 3000);
        pid_ = -1;
    }

private:
    void Start(bool keepState) {
        std::string state = dir_.file("state");
        if (!keepState) lmrtest::RemoveTree(state);
        dir_.mkdir("state");
        std::string conf = dir_.file("snmpd.conf");
        std::ofstream c(conf);
        c << "engineID " << engineId_ << "\n"
          << "rocommunity tarnok 127.0.0.1\n"
             "rwcommunity quembel 127.0.0.1\n"
             "createUser plain\n"
             "createUser md5user MD5 authpass1\n"
             "createUser shauser SHA authpass1\n"
             "createUser desuser MD5 authpass1 DES privpass1\n"
             "createUser aesuser SHA authpass1 AES privpass1\n"
             "rouser plain noauth\n"
             "rwuser md5user auth\n"
             "rwuser shauser auth\n"
             "rwuser desuser priv\n"
             "rwuser aesuser priv\n"
             "sysContact lmr-test\n"
          << extra_;
        if (bootsBefore_ >= 0) {
            // snmpd keeps saved boots only for the engine id they were saved
            // under: its own enterprise number, format 4 (text).
            static const char* digits = "0123456789abcdef";
            std::string hex;
            for (unsigned char ch : engineId_) {
                hex += digits[ch >> 4];
                hex += digits[ch & 15];
            }
            c << "oldEngineID 0x80001f8804" << hex << "\n"
              << "engineBoots " << bootsBefore_ << "\n";
        }
        c.close();
        std::string addr = "udp:127.0.0.1:" + std::to_string(port_);
        std::string log = dir_.file("snmpd.log");
        std::vector<std::string> args = {
            "/usr/sbin/snmpd", "-f", "-C", "-c", conf, "-Lf", log, "-M",
            dir_.path(),       "-m", "",   addr};
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        std::vector<std::string> envs = {"SNMP_PERSISTENT_DIR=" + state,
                                         "MIBS=", "MIBDIRS=" + dir_.path(),
                                         "PATH=/usr/sbin:/usr/bin:/bin"};
        std::vector<char*> envp;
        for (auto& e : envs)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        if (posix_spawn(&pid_, argv[0], nullptr, nullptr, argv.data(), envp.data()) != 0) pid_ = -1;
        WaitReady();
    }
    void WaitReady() {
        // Ready when the port is taken.
        for (int i = 0; i < 500 && pid_ > 0; ++i) {
            int s = socket(AF_INET, SOCK_DGRAM, 0);
            sockaddr_in a{};
            a.sin_family = AF_INET;
            a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            a.sin_port = htons(port_);
            bool taken = bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0;
            close(s);
            if (taken) {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    std::string extra_;
    std::string engineId_ = "lmrtestagent";
    long bootsBefore_ = -1;
    lmrtest::TempDir dir_{"agent"};
    uint16_t port_ = 0;
    pid_t pid_ = -1;
};

} // namespace testagent
