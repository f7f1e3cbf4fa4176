#include "os/Runtime.h"

#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace os {

bool EnsureRuntimeDir() {
    const char* current = std::getenv("XDG_RUNTIME_DIR");
    if (current && *current) return true;
    std::string dir = "/tmp/runtime-" + std::to_string(getuid());
    if (mkdir(dir.c_str(), 0700) != 0) {
        struct stat st;
        // An existing folder only counts when it is ours and private.
        if (lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != getuid())
            return false;
        if ((st.st_mode & 0777) != 0700 && chmod(dir.c_str(), 0700) != 0) return false;
    }
    return setenv("XDG_RUNTIME_DIR", dir.c_str(), 1) == 0;
}

} // namespace os
