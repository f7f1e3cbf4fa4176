// Helpers of the engine, session and request tests: the simulated device
// started with extra objects appended to its own data file.
#pragma once

#include "support/SimFixture.h"
#include "support/TempDir.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace reqtest {

inline std::string SourceDir() {
    if (const char* env = std::getenv("LMR_SOURCE_DIR"); env && *env) return env;
#ifdef LMR_SOURCE_DIR
    return LMR_SOURCE_DIR;
#else
    return ".";
#endif
}

// The device's own data file followed by the given lines, written into the
// folder; the options start the simulator from it.
inline lmrtest::SimOptions WithExtraObjects(const lmrtest::TempDir& dir, const std::string& lines,
                                            lmrtest::SimOptions options = {}) {
    std::ifstream in(SourceDir() + "/sim/device.dat");
    std::ostringstream all;
    all << in.rdbuf() << "\n# added by the test\n" << lines;
    std::string path = dir.file("device.dat");
    std::ofstream(path) << all.str();
    options.extraArgs.push_back("--data");
    options.extraArgs.push_back(path);
    return options;
}

} // namespace reqtest
