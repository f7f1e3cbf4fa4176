#include "os/Path.h"

#include "os/Text.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <fstream>
#include <iterator>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace os {

namespace {

bool Exists(const std::string& posixPath) {
    struct stat st;
    return lstat(posixPath.c_str(), &st) == 0;
}

// The entries of a folder, sorted so that a case-insensitive pick is the same
// on every run.
std::vector<std::string> ListFolder(const std::string& posixFolder) {
    std::vector<std::string> names;
    DIR* dir = opendir(posixFolder.empty() ? "." : posixFolder.c_str());
    if (!dir) return names;
    while (dirent* e = readdir(dir)) {
        std::string n = e->d_name;
        if (n != "." && n != "..") names.push_back(n);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<std::string> FindNoCase(const std::string& posixFolder, const std::string& name) {
    for (const std::string& n : ListFolder(posixFolder))
        if (EqualNoCase(n, name)) return n;
    return std::nullopt;
}

struct CommandLine {
    std::mutex lock;
    bool overridden = false;
    std::vector<std::string> arguments;
};

CommandLine& TheCommandLine() {
    static CommandLine cl;
    return cl;
}

std::vector<std::string> ProcessArguments() {
    std::vector<std::string> args;
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    size_t start = 0;
    while (start < all.size()) {
        size_t end = all.find('\0', start);
        if (end == std::string::npos) end = all.size();
        args.push_back(all.substr(start, end - start));
        start = end + 1;
    }
    if (!args.empty()) args.erase(args.begin()); // the program name
    return args;
}

std::vector<std::string> Arguments() {
    CommandLine& cl = TheCommandLine();
    std::lock_guard<std::mutex> g(cl.lock);
    if (cl.overridden) return cl.arguments;
    return ProcessArguments();
}

} // namespace

bool IsPathSeparator(char c) {
    return c == '\\' || c == '/';
}

std::string ExtractFilePath(const std::string& path) {
    size_t p = path.find_last_of("\\/:");
    return p == std::string::npos ? std::string() : path.substr(0, p + 1);
}

std::string ExtractFileName(const std::string& path) {
    size_t p = path.find_last_of("\\/:");
    return p == std::string::npos ? path : path.substr(p + 1);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (IsPathSeparator(folder.back())) return folder + name;
    size_t p = folder.find_last_of("\\/");
    char sep = p == std::string::npos ? '/' : folder[p];
    return folder + sep + name;
}

std::string ToPosixSeparators(const std::string& path) {
    std::string out = path;
    for (char& c : out)
        if (c == '\\') c = '/';
    return out;
}

std::string ResolvePath(const std::string& path) {
    if (path.empty()) return path;
    std::string rest = path;
    // "C:\dir" and "C:dir": the drive means nothing here.
    if (rest.size() >= 2 && rest[1] == ':' && std::isalpha(static_cast<unsigned char>(rest[0])))
        rest.erase(0, 2);
    const bool absolute = !rest.empty() && IsPathSeparator(rest[0]);
    const bool trailing = !rest.empty() && IsPathSeparator(rest.back());

    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= rest.size()) {
        size_t end = rest.find_first_of("\\/", start);
        if (end == std::string::npos) end = rest.size();
        if (end > start) parts.push_back(rest.substr(start, end - start));
        start = end + 1;
    }

    std::string out = absolute ? "/" : "";
    bool found = true; // every component so far exists
    for (const std::string& part : parts) {
        std::string name = part;
        if (found && part != "." && part != "..") {
            if (!Exists(out + part)) {
                if (std::optional<std::string> match = FindNoCase(out, part))
                    name = *match;
                else
                    found = false;
            }
        }
        out += name;
        out += '/';
    }
    if (!parts.empty() && !trailing) out.pop_back();
    if (out.empty() && !rest.empty()) out = "."; // a drive alone
    return out;
}

bool FileExists(const std::string& path) {
    struct stat st;
    return !path.empty() && stat(ResolvePath(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
    struct stat st;
    return !path.empty() && stat(ResolvePath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::optional<std::string> FindFirstFile(const std::string& pattern) {
    const std::string name = ExtractFileName(pattern);
    if (name.empty()) return std::nullopt;
    std::string folder = ExtractFilePath(pattern);
    if (!folder.empty() && folder.back() == ':') folder.clear(); // "C:name"
    const std::string posixFolder = folder.empty() ? std::string() : ResolvePath(folder);
    for (const std::string& n : ListFolder(posixFolder))
        if (fnmatch(name.c_str(), n.c_str(), FNM_CASEFOLD | FNM_NOESCAPE) == 0) return n;
    return std::nullopt;
}

int OpenFile(const std::string& path, int flags, unsigned mode) {
    if (path.empty()) {
        errno = ENOENT;
        return -1;
    }
    return open(ResolvePath(path).c_str(), flags | O_CLOEXEC, static_cast<mode_t>(mode));
}

bool DeleteFile(const std::string& path) {
    return !path.empty() && unlink(ResolvePath(path).c_str()) == 0;
}

bool ReadTextLines(const std::string& path, std::vector<std::string>& lines) {
    lines.clear();
    int fd = OpenFile(path, O_RDONLY);
    if (fd < 0) return false;
    struct stat st;
    if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        close(fd);
        return false;
    }
    std::string all;
    char buf[65536];
    for (;;) {
        ssize_t n = read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            close(fd);
            return false;
        }
        if (n == 0) break;
        all.append(buf, static_cast<size_t>(n));
    }
    close(fd);
    std::string line;
    for (size_t i = 0; i < all.size(); ++i) {
        char c = all[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < all.size() && all[i + 1] == '\n') ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return true;
}

std::string ExePath() {
    std::string buf(4096, '\0');
    ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size());
    if (n <= 0) return std::string();
    buf.resize(static_cast<size_t>(n));
    return buf;
}

std::string ExeDir() {
    return ExtractFilePath(ExePath());
}

std::string CurrentDir() {
    std::string buf(4096, '\0');
    if (!getcwd(buf.data(), buf.size())) return std::string();
    buf.resize(std::char_traits<char>::length(buf.c_str()));
    return buf;
}

int ParamCount() {
    return static_cast<int>(Arguments().size());
}

std::string ParamStr(int index) {
    if (index == 0) return ExePath();
    std::vector<std::string> args = Arguments();
    if (index < 0 || index > static_cast<int>(args.size())) return std::string();
    return args[static_cast<size_t>(index - 1)];
}

void SetCommandLine(const std::vector<std::string>& arguments) {
    CommandLine& cl = TheCommandLine();
    std::lock_guard<std::mutex> g(cl.lock);
    cl.overridden = true;
    cl.arguments = arguments;
}

void SetCommandLine(int argc, char** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(argv[i] ? argv[i] : "");
    SetCommandLine(args);
}

void ResetCommandLine() {
    CommandLine& cl = TheCommandLine();
    std::lock_guard<std::mutex> g(cl.lock);
    cl.overridden = false;
    cl.arguments.clear();
}

} // namespace os
