#pragma once
// The device's data file with a generated client table, for tests and the
// client list benchmark: n stations in place of the file's own rows.
#include "support/TempDir.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace statustest {

// Row r of a generated client table: a MAC of its own, and band,
// authentication, signal and power saving going round their values.
inline std::string ClientRow(int r) {
    char mac[24];
    std::snprintf(mac, sizeof mac, "0050C2%06X", r);
    return "row " + std::to_string(r) + " " + std::to_string(r) + " hex:" + mac + " " +
           std::to_string(r % 4) + " " + std::to_string(r % 9) + " " + std::to_string(r % 101) +
           " " + std::to_string(r % 2) + " sta" + std::to_string(r) + "\n";
}

// The device's data file with n generated clients in place of its own rows;
// "" when the file cannot be read.
inline std::string DataFileWithClients(const lmrtest::TempDir& dir, int n) {
    const char* src = std::getenv("LMR_SOURCE_DIR");
    std::ifstream in(std::string(src && *src ? src : LMR_SOURCE_DIR) + "/sim/device.dat");
    if (!in) return "";
    std::ostringstream out;
    std::string line;
    bool skipping = false;
    while (std::getline(in, line)) {
        if (line == "# client rows end") skipping = false;
        if (!skipping) out << line << "\n";
        if (line == "# client rows begin") {
            skipping = true;
            for (int r = 1; r <= n; ++r)
                out << ClientRow(r);
        }
    }
    return dir.write("clients.dat", out.str());
}

} // namespace statustest
