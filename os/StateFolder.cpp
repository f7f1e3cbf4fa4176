#include "os/StateFolder.h"

#include "os/Path.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace os {
namespace {

std::string WithSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

// Makes every missing folder of path; true when it exists afterwards.
bool MakeFolders(const std::string& path) {
    for (size_t at = 1; at <= path.size(); ++at) {
        if (at != path.size() && path[at] != '/') continue;
        const std::string part = path.substr(0, at);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    return DirectoryExists(path);
}

} // namespace

std::string StateFolder() {
    if (const char* dir = std::getenv("LMR_STATE_DIR"); dir && *dir) return WithSlash(dir);
    return ProgramDataFolder();
}

std::string ProgramDataFolder() {
    const std::string exe = ExeDir();
    if (!exe.empty() && access(exe.c_str(), W_OK) == 0) return exe;
    std::string base;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
        base = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = std::string(home) + "/.local/share";
    else
        return exe;
    const std::string folder = WithSlash(base) + "lmr7300ap/";
    return MakeFolders(folder) ? folder : exe;
}

} // namespace os
