#pragma once
// The simulated device's side of file transfers: it is the TFTP client of
// the module's server and uses curl for the wire. A fetch or a store that the
// transfer command orders runs before the command is answered (the module
// waits for that answer); the log upload runs after its answer.
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
    // The server's port (69 unless a test says otherwise) and whether curl
    // sends its option extension.
    void setServer(int port, bool noOptions) {
        port_ = port;
        noOptions_ = noOptions;
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
    void spawnCurl(std::vector<std::string> args);
    void writeLog();

    std::string folder_;
    int port_ = 69;
    bool noOptions_ = false;
    bool fetched_ = false;
    std::string pendingVersion_;
    std::vector<pid_t> uploads_;
};

} // namespace sim
