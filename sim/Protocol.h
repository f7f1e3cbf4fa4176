#pragma once
// snmpd's pass_persist conversation: requests parsed from its lines, and the
// device model's answer to each, with the injected faults applied.
#include "sim/Model.h"

#include <optional>
#include <string>
#include <string_view>

namespace sim {

struct Request {
    enum Kind { Ping, Get, GetNext, Set } kind = Ping;
    Oid oid;
    bool badOid = false;
    std::string typeWord;
    std::string value;
};

// Feed one line at a time (without its newline); a complete request comes
// back once its last line is in. snmpd follows a set with an empty line,
// which is skipped.
class RequestParser {
public:
    std::optional<Request> feed(std::string_view line);

private:
    enum State { Command, OidLine, ValueLine } state_ = Command;
    Request current_;
};

struct Reply {
    std::string text; // the lines to write back, each ending in "\n"
    int delayMs = 0;  // hold the answer back this long (time-out fault)
    bool delayed = false;
};

// Answers one request for the registration rooted at subtree.
Reply respond(Model& model, const Request& request, const Oid& subtree, int timeoutMs);

// The answer a held-back request gets when it is let go.
std::string releaseText(Model& model, const Request& request, const Oid& subtree);

} // namespace sim
