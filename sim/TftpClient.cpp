#include "sim/TftpClient.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace sim {

namespace {

const char kServer[] = "qvEnterprise.11.37.4.3.3.1.0";
const char kFileName[] = "qvEnterprise.11.37.4.3.3.2.0";
const char kTftpCommand[] = "qvEnterprise.11.37.4.3.3.4.0";
const char kUpgradeCommand[] = "qvEnterprise.11.37.4.3.3.5.0";
const char kFirmwareVersion[] = "qvEnterprise.11.37.4.4.1.1.1.0";
const char kLogServer[] = "qvEnterprise.11.37.4.2.11.4.0";
const char kLogFileName[] = "qvEnterprise.11.37.4.2.11.5.0";
const char kGetLog[] = "qvEnterprise.11.37.4.2.11.6.0";
const char kClearLog[] = "qvEnterprise.11.37.4.2.11.10.0";

// A late transfer starts this long after its command was answered.
constexpr int kLateStartMs = 300;

// An image starts with this line, followed by the version it installs.
const char kImageMagic[] = "LMR-7300AP firmware ";

Oid oidOf(const char* text) { return *parseOid(text); }

std::string fileText(const std::string& path, bool* ok) {
    std::ifstream in(path, std::ios::binary);
    *ok = static_cast<bool>(in);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

bool writeText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return static_cast<bool>(out);
}

const char kDefaultLog[] = "Dec 10 08:00:01\t[System]Device started\n"
                           "Dec 10 08:00:03\t[Wireless]Radio on channel 6\n"
                           "\n"
                           "Dec 10 08:15:42\t[Notice] Client 00:11:22:33:44:55 associated\n";

} // namespace

void TftpDevice::setFolder(const std::string& folder) {
    folder_ = folder;
    writeText(folder_ + "/config.dcf", "# LMR-7300AP configuration\nssid=LMR\nchannel=6\n");
    writeLog();
}

void TftpDevice::writeLog() { writeText(folder_ + "/device.log", kDefaultLog); }

std::vector<std::string> TftpDevice::curlArgs() const {
    std::vector<std::string> args{"curl", "--silent", "--show-error", "--max-time", "30"};
    if (noOptions_) args.push_back("--tftp-no-options");
    return args;
}

std::string TftpDevice::url(const Model& model, const Oid& server, const Oid& name) const {
    return "tftp://" + model.peek(server).value_or("0.0.0.0") + ":" + std::to_string(port_) + "/" +
           model.peek(name).value_or("");
}

bool TftpDevice::runCurl(std::vector<std::string> args, int boundMs) {
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = fork();
    if (pid < 0) return false;
    if (pid == 0) {
        execvp("curl", argv.data());
        _exit(127);
    }
    int status = 0;
    for (int waited = 0; waited < boundMs; waited += 10) {
        if (waitpid(pid, &status, WNOHANG) == pid)
            return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        usleep(10000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return false;
}

pid_t TftpDevice::spawnCurl(std::vector<std::string> args, int delayMs,
                            const std::string& done) {
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
        if (delayMs > 0) usleep(static_cast<useconds_t>(delayMs) * 1000);
        if (done.empty()) {
            execvp("curl", argv.data());
            _exit(127);
        }
        // The simulator reaps every child, so the result is left in the
        // folder: the part file becomes the file only after a clean transfer.
        pid_t curl = fork();
        if (curl == 0) {
            execvp("curl", argv.data());
            _exit(127);
        }
        int status = 0;
        while (curl > 0 && waitpid(curl, &status, 0) < 0 && errno == EINTR) {
        }
        const bool ok = curl > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
        _exit(ok && std::rename((done + ".part").c_str(), done.c_str()) == 0 ? 0 : 1);
    }
    if (pid > 0) uploads_.push_back(pid);
    return pid;
}

bool TftpDevice::fetchedNow() {
    if (lateFetch_) {
        // Complete only once the late fetch has put the whole file in place.
        // A fetch that is receiving may be in its last moment (the server
        // has the final ACK before curl has ended): give it a short while.
        const std::string target = folder_ + "/fetched.bin";
        auto exists = [](const std::string& path) { return ::access(path.c_str(), F_OK) == 0; };
        for (int waited = 0; !exists(target) && exists(target + ".part") && waited < 1000;
             waited += 10)
            usleep(10000);
        fetched_ = exists(target);
    }
    return fetched_;
}

void TftpDevice::stopAll() {
    for (pid_t pid : uploads_) {
        if (kill(pid, 0) == 0) kill(pid, SIGKILL);
        waitpid(pid, nullptr, WNOHANG);
    }
    uploads_.clear();
}

std::string TftpDevice::afterSet(Model& model, const Oid& oid, const std::string& value) {
    if (folder_.empty()) return "";
    if (oid == oidOf(kTftpCommand)) {
        auto args = curlArgs();
        const std::string where = url(model, oidOf(kServer), oidOf(kFileName));
        if (value == "2") { // Get: the device fetches the file
            const std::string target = folder_ + "/fetched.bin";
            fetched_ = false;
            lateFetch_ = late_;
            if (late_) {
                std::remove(target.c_str());
                args.insert(args.end(), {"--output", target + ".part", where});
                spawnCurl(args, kLateStartMs, target);
                return "";
            }
            args.insert(args.end(), {"--output", target, where});
            fetched_ = runCurl(args, 40000);
            return fetched_ ? "" : "gen-error";
        }
        if (value == "3") { // Put: the device stores its configuration
            args.insert(args.end(), {"--upload-file", folder_ + "/config.dcf", where});
            if (late_) {
                spawnCurl(args, kLateStartMs);
                return "";
            }
            return runCurl(args, 40000) ? "" : "gen-error";
        }
        return "";
    }
    if (oid == oidOf(kUpgradeCommand)) {
        bool ok = false;
        const std::string image = fetchedNow() ? fileText(folder_ + "/fetched.bin", &ok) : "";
        if (value == "1") { // install the fetched image
            if (!ok || image.rfind(kImageMagic, 0) != 0) return "gen-error";
            std::string version = image.substr(sizeof kImageMagic - 1);
            version = version.substr(0, version.find_first_of("\r\n"));
            if (version.empty()) return "gen-error";
            pendingVersion_ = version;
            return "";
        }
        if (value == "3") { // take the fetched configuration over
            if (!ok) return "gen-error";
            writeText(folder_ + "/config.dcf", image);
            return "";
        }
        return "";
    }
    if (oid == oidOf(kGetLog) && value == "1") {
        auto args = curlArgs();
        args.insert(args.end(), {"--upload-file", folder_ + "/device.log",
                                 url(model, oidOf(kLogServer), oidOf(kLogFileName))});
        spawnCurl(args);
        return "";
    }
    if (oid == oidOf(kClearLog) && value == "1") {
        writeText(folder_ + "/device.log", "");
        return "";
    }
    return "";
}

void TftpDevice::restarted(Model& model) {
    if (pendingVersion_.empty()) return;
    std::string error;
    model.poke(oidOf(kFirmwareVersion), pendingVersion_, &error);
    pendingVersion_.clear();
}

} // namespace sim
