#pragma once
// Whether this machine resolves a host name at all: a minimal root has no
// /etc/hosts, so "localhost" may not resolve there. Tests of name resolution
// skip with this reason instead of failing.
#include <netdb.h>
#include <string>
#include <sys/socket.h>

namespace lmrtest {

inline bool ResolvesIPv4(const char* name) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* found = nullptr;
    const bool ok = getaddrinfo(name, nullptr, &hints, &found) == 0 && found;
    if (found) freeaddrinfo(found);
    return ok;
}

inline std::string NoNameReason(const char* name) {
    return std::string("\"") + name + "\" does not resolve on this machine (no /etc/hosts entry?)";
}

} // namespace lmrtest
