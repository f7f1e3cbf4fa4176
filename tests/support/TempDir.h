#pragma once
// Temporary folders for tests and benchmarks, removed with everything in them
// afterwards, and scoped changes of the environment and the current folder.
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace lmrtest {

// Removes a file or a folder with everything in it. Folders a test made
// unreadable are opened up first; symbolic links are removed, not followed.
inline void RemoveTree(const std::string& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) return;
    if (S_ISDIR(st.st_mode)) {
        chmod(path.c_str(), 0700);
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

// A fresh folder under $TMPDIR (or /tmp) named after the tag; path() is
// empty when it could not be made.
class TempDir {
public:
    explicit TempDir(const std::string& tag = "test") {
        const char* base = std::getenv("TMPDIR");
        std::string tmpl = std::string(base && *base ? base : "/tmp") + "/lmr-" + tag + "-XXXXXX";
        if (char* p = mkdtemp(tmpl.data())) path_ = p;
    }
    ~TempDir() {
        if (!path_.empty()) RemoveTree(path_);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    bool ok() const { return !path_.empty(); }
    const std::string& path() const { return path_; }
    std::string file(const std::string& rel) const { return path_ + "/" + rel; }

    void mkdir(const std::string& rel) const { ::mkdir(file(rel).c_str(), 0700); }
    // Writes the bytes to a file in the folder and gives its path.
    std::string write(const std::string& rel, const std::string& content) const {
        std::string path = file(rel);
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }

private:
    std::string path_;
};

// Sets an environment variable for one scope and puts the old value back;
// a null value unsets it.
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

} // namespace lmrtest
