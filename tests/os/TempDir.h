#pragma once
// A temporary folder for one test, removed with everything in it afterwards.
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace ostest {

inline void RemoveTree(const std::string& path) {
    struct stat st;
    if (lstat(path.c_str(), &st) != 0) return;
    if (S_ISDIR(st.st_mode)) {
        if (DIR* d = opendir(path.c_str())) {
            while (dirent* e = readdir(d)) {
                std::string n = e->d_name;
                if (n != "." && n != "..") RemoveTree(path + "/" + n);
            }
            closedir(d);
        }
        rmdir(path.c_str());
    } else {
        unlink(path.c_str());
    }
}

class TempDir {
public:
    TempDir() {
        const char* base = std::getenv("TMPDIR");
        std::string tmpl = std::string(base && *base ? base : "/tmp") + "/lmr-os-XXXXXX";
        if (char* p = mkdtemp(tmpl.data())) path_ = p;
    }
    ~TempDir() {
        if (!path_.empty()) RemoveTree(path_);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    bool ok() const { return !path_.empty(); }
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& rel) const { return path_ + "/" + rel; }

    void mkdir(const std::string& rel) const { ::mkdir((path_ + "/" + rel).c_str(), 0700); }
    void write(const std::string& rel, const std::string& content) const {
        std::ofstream out(path_ + "/" + rel, std::ios::binary);
        out << content;
    }

private:
    std::string path_;
};

// Sets an environment variable for one scope and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            had_ = true;
            old_ = old;
        }
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv() {
        if (had_)
            setenv(name_.c_str(), old_.c_str(), 1);
        else
            unsetenv(name_.c_str());
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::string old_;
    bool had_ = false;
};

// Changes the current folder for one scope.
class ScopedCwd {
public:
    explicit ScopedCwd(const std::string& dir) {
        char buf[4096];
        if (getcwd(buf, sizeof buf)) old_ = buf;
        ok_ = chdir(dir.c_str()) == 0;
    }
    ~ScopedCwd() {
        if (!old_.empty() && chdir(old_.c_str()) != 0) {
        }
    }
    ScopedCwd(const ScopedCwd&) = delete;
    ScopedCwd& operator=(const ScopedCwd&) = delete;
    bool ok() const { return ok_; }

private:
    std::string old_;
    bool ok_ = false;
};

} // namespace ostest
