#pragma once
// The PC's own IPv4 interfaces and default gateways, and the text of the
// Windows ipconfig listing that the gateway discovery reads.
#include <cstddef>
#include <string>
#include <vector>

namespace os {

struct NetInterface {
    std::string Name;      // "eth0"
    std::string Address;   // dotted
    std::string Netmask;   // dotted
    std::string Broadcast; // dotted; address OR NOT mask where the interface has none
};

constexpr size_t kMaxInterfaces = 10;

// IPv4 interfaces that are up, loopback included, in the system's order; at
// most max entries. Empty on any failure.
std::vector<NetInterface> LocalInterfaces(size_t max = kMaxInterfaces);

// Default routes of a /proc/net/route text (header line first): their
// gateways, dotted, in table order, each once. Lines that do not parse, routes
// that are down or not to 0.0.0.0/0, and routes without a gateway are left out.
std::vector<std::string> ParseRouteTable(const std::vector<std::string>& lines);
// ParseRouteTable of this machine's /proc/net/route.
std::vector<std::string> DefaultGateways();

// Every line with "Default Gateway" adds the text after its first ":" (as it
// stands, not trimmed) to gateways unless already there; otherwise a line with
// "IP Address" adds it to addresses likewise. Lines without ":" are skipped.
void ParseIpconfigLines(const std::vector<std::string>& lines, std::vector<std::string>& addresses,
                        std::vector<std::string>& gateways);

// The listing ipconfig would give for these interfaces and gateways, as far
// as the lines above read it: one "IP Address" line per interface (loopback
// left out) and one "Default Gateway" line per gateway, values after ": ".
std::vector<std::string> IpconfigListing(const std::vector<NetInterface>& interfaces,
                                         const std::vector<std::string>& gateways);
// IpconfigListing of this machine.
std::vector<std::string> CaptureIpconfig();

} // namespace os
