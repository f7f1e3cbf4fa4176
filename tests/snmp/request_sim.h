// Helpers of the engine, session and request tests: a private temporary
// folder, and the simulated device started with extra objects appended to
// its own data file.
#pragma once

#include "support/SimFixture.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>

namespace reqtest {

// A folder under the system's temporary folder, removed with everything in
// it when the object goes.
class TempDir {
public:
    TempDir() {
        std::string tmpl =
            (std::filesystem::temp_directory_path() / "lmr-snmp-test-XXXXXX").string();
        if (mkdtemp(tmpl.data())) path_ = tmpl;
    }
    ~TempDir() {
        std::error_code ec;
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

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
inline lmrtest::SimOptions WithExtraObjects(const TempDir& dir, const std::string& lines,
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
