#pragma once
// The simulated device's side of file transfers: it is the TFTP client of
// the module's server and uses curl for the wire. A fetch or a store that the
// transfer command orders runs before the command is answered (the module
// waits for that answer), unless the device is told to answer first and
// transfer a moment later, as some firmware does; the log upload always runs
// after its answer.
#include "sim/Model.h"

#include <string>
#include <sys/types.h>
#include <vector>

namespace sim {

class TftpDevice {
public:
    // folder: where the device keeps its fetched image, its configuration
    // file and its log.
    void setFolder(const std::string& folder);
    // The server's port (69 unless a test says otherwise), whether curl
    // sends its option extension, and whether a fetch or store ordered by
    // the transfer command starts only after the command is answered.
    void setServer(int port, bool noOptions, bool late = false) {
        port_ = port;
        noOptions_ = noOptions;
        late_ = late;
    }
    int port() const { return port_; }

    // A set the model accepted; "" to answer it as done, else the error word
    // the set is answered with instead.
    std::string afterSet(Model& model, const Oid& oid, const std::string& value);
    // The device came back from a restart: an installed image takes effect.
    void restarted(Model& model);
    // Ends uploads still running.
    void stopAll();

private:
    std::string url(const Model& model, const Oid& server, const Oid& name) const;
    std::vector<std::string> curlArgs() const;
    bool runCurl(std::vector<std::string> args, int boundMs);
    // Starts curl without waiting, after delayMs; with done, curl writes
    // done + ".part", which becomes done only after a clean transfer.
    pid_t spawnCurl(std::vector<std::string> args, int delayMs = 0,
                    const std::string& done = "");
    // Whether the last fetch has ended with the whole file.
    bool fetchedNow();
    void writeLog();

    std::string folder_;
    int port_ = 69;
    bool noOptions_ = false;
    bool late_ = false;
    bool fetched_ = false;
    bool lateFetch_ = false; // the last fetch ran after its answer
    std::string pendingVersion_;
    std::vector<pid_t> uploads_;
};

} // namespace sim
