#include "os/Network.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cstdlib>
#include <ifaddrs.h>
#include <net/if.h>
#include <net/route.h>
#include <netinet/in.h>
#include <sstream>

#include "os/Path.h"

namespace os {

namespace {

std::string Dotted(in_addr a) {
    char buf[INET_ADDRSTRLEN];
    return inet_ntop(AF_INET, &a, buf, sizeof buf) ? buf : "";
}

std::string Dotted(const sockaddr* sa) {
    if (!sa || sa->sa_family != AF_INET) return std::string();
    return Dotted(reinterpret_cast<const sockaddr_in*>(sa)->sin_addr);
}

bool AddOnce(std::vector<std::string>& list, const std::string& text) {
    if (std::find(list.begin(), list.end(), text) != list.end()) return false;
    list.push_back(text);
    return true;
}

// A hexadecimal column of the route table; false when it is not one.
bool Hex(const std::string& text, unsigned long& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    value = std::strtoul(text.c_str(), &end, 16);
    return end && *end == '\0';
}

} // namespace

std::vector<NetInterface> LocalInterfaces(size_t max) {
    std::vector<NetInterface> list;
    ifaddrs* all = nullptr;
    if (getifaddrs(&all) != 0) return list;
    for (ifaddrs* i = all; i && list.size() < max; i = i->ifa_next) {
        if (!i->ifa_addr || i->ifa_addr->sa_family != AF_INET) continue;
        if (!(i->ifa_flags & IFF_UP)) continue;
        NetInterface n;
        n.Name = i->ifa_name ? i->ifa_name : "";
        n.Address = Dotted(i->ifa_addr);
        n.Netmask = Dotted(i->ifa_netmask);
        if ((i->ifa_flags & IFF_BROADCAST) && i->ifa_broadaddr)
            n.Broadcast = Dotted(i->ifa_broadaddr);
        if (n.Broadcast.empty() && i->ifa_netmask && i->ifa_netmask->sa_family == AF_INET) {
            in_addr b;
            b.s_addr = reinterpret_cast<const sockaddr_in*>(i->ifa_addr)->sin_addr.s_addr |
                       ~reinterpret_cast<const sockaddr_in*>(i->ifa_netmask)->sin_addr.s_addr;
            n.Broadcast = Dotted(b);
        }
        if (n.Netmask.empty()) n.Netmask = "255.255.255.255";
        list.push_back(n);
    }
    freeifaddrs(all);
    return list;
}

std::vector<std::string> ParseRouteTable(const std::vector<std::string>& lines) {
    std::vector<std::string> gateways;
    if (lines.empty()) return gateways;
    // Columns by the header's names; the kernel's order when a name is missing.
    size_t dest = 1, gw = 2, flags = 3, mask = 7;
    {
        std::istringstream header(lines[0]);
        std::string name;
        for (size_t col = 0; header >> name; ++col) {
            if (name == "Destination")
                dest = col;
            else if (name == "Gateway")
                gw = col;
            else if (name == "Flags")
                flags = col;
            else if (name == "Mask")
                mask = col;
        }
    }
    const size_t needed = std::max({dest, gw, flags, mask}) + 1;
    for (size_t i = 1; i < lines.size(); ++i) {
        std::istringstream row(lines[i]);
        std::vector<std::string> cols;
        for (std::string c; row >> c;)
            cols.push_back(c);
        if (cols.size() < needed) continue;
        unsigned long d, g, f, m;
        if (!Hex(cols[dest], d) || !Hex(cols[gw], g) || !Hex(cols[flags], f) || !Hex(cols[mask], m))
            continue;
        if (d != 0 || m != 0 || !(f & RTF_UP) || !(f & RTF_GATEWAY) || g == 0) continue;
        // The kernel prints the address word as it lies in memory.
        in_addr a;
        a.s_addr = static_cast<in_addr_t>(g);
        AddOnce(gateways, Dotted(a));
    }
    return gateways;
}

std::vector<std::string> DefaultGateways() {
    // The calling thread's view first: it may live in a namespace of its own.
    std::vector<std::string> lines;
    if (!ReadTextLines("/proc/thread-self/net/route", lines) &&
        !ReadTextLines("/proc/net/route", lines))
        return {};
    return ParseRouteTable(lines);
}

void ParseIpconfigLines(const std::vector<std::string>& lines, std::vector<std::string>& addresses,
                        std::vector<std::string>& gateways) {
    for (const std::string& line : lines) {
        std::vector<std::string>* target = nullptr;
        if (line.find("Default Gateway") != std::string::npos)
            target = &gateways;
        else if (line.find("IP Address") != std::string::npos)
            target = &addresses;
        if (!target) continue;
        size_t colon = line.find(':');
        if (colon == std::string::npos) continue;
        AddOnce(*target, line.substr(colon + 1));
    }
}

std::vector<std::string> IpconfigListing(const std::vector<NetInterface>& interfaces,
                                         const std::vector<std::string>& gateways) {
    std::vector<std::string> lines;
    lines.push_back("");
    lines.push_back("IP Configuration");
    lines.push_back("");
    for (const NetInterface& n : interfaces) {
        if (n.Address.rfind("127.", 0) == 0) continue;
        lines.push_back("Ethernet adapter " + n.Name + ":");
        lines.push_back("");
        lines.push_back("        IP Address. . . . . . . . . . . . : " + n.Address);
        lines.push_back("        Subnet Mask . . . . . . . . . . . : " + n.Netmask);
        lines.push_back("");
    }
    for (const std::string& g : gateways)
        lines.push_back("        Default Gateway . . . . . . . . . : " + g);
    return lines;
}

std::vector<std::string> CaptureIpconfig() {
    return IpconfigListing(LocalInterfaces(), DefaultGateways());
}

} // namespace os
