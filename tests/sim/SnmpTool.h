#pragma once
// Runs one of Debian's snmp command-line tools against the simulator and
// returns what it printed (stdout and stderr).
#include "support/SimFixture.h"

#include <cstdio>
#include <filesystem>
#include <string>

namespace simtest {

inline std::string run(const lmrtest::SimDevice& dev, const std::string& command) {
    // The tools keep their own state; keep it inside the simulator's folder
    // (made beforehand, or they announce that they made it).
    std::error_code ec;
    std::filesystem::create_directories(dev.stateDir() + "/client/cert_indexes", ec);
    std::string line = "env MIBS= MIBDIRS=" + dev.stateDir() +
                       "/mibs SNMP_PERSISTENT_DIR=" + dev.stateDir() + "/client timeout 30 " +
                       command + " 2>&1";
    std::string out;
    if (FILE* p = popen(line.c_str(), "r")) {
        char buf[4096];
        std::size_t n;
        while ((n = fread(buf, 1, sizeof(buf), p)) > 0)
            out.append(buf, n);
        pclose(p);
    }
    return out;
}

// Common switches: numeric OIDs, "OID = value" output, short time-out.
inline std::string v1(const lmrtest::SimDevice& dev, const std::string& community) {
    return " -v1 -c " + community + " -OQn -t 1 -r 0 " + dev.hostPort() + " ";
}
inline std::string v2c(const lmrtest::SimDevice& dev, const std::string& community) {
    return " -v2c -c " + community + " -OQn -t 1 -r 0 " + dev.hostPort() + " ";
}

} // namespace simtest
