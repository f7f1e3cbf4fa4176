#include "app/AddressChecks.h"

#include "base/DottedAddress.h"
#include "base/SysUtils.h"
#include "os/Network.h"
#include "ui/Strings.h"

#include <cstdint>

namespace AddressChecks {

namespace {

bool InRange(int v, int lo, int hi) {
    return v >= lo && v <= hi;
}

} // namespace

bool IsValidIP(const std::string& text) {
    const auto a = DottedAddress::Parse(text);
    if (!a) return false;
    const auto& p = a->octets;
    return InRange(p[0], 1, 223) && InRange(p[3], 1, 254);
}

bool IsValidMask(const std::string& text) {
    const auto a = DottedAddress::Parse(text);
    if (!a) return false;
    if (a->octets[0] == 0) return false;
    for (int v : a->octets)
        if (v == 1) return false;
    const std::uint32_t bits = a->Number();
    if (!(bits & 0x40000000u) || (bits & 1u)) return false;
    // Contiguous: the complement plus one is a power of two.
    const std::uint32_t host = ~bits;
    return (host & (host + 1)) == 0;
}

std::string NetworkAddressOf(const std::string& address, const std::string& mask) {
    const std::vector<std::string> a = SplitString(address, '.');
    const std::vector<std::string> m = SplitString(mask, '.');
    auto octet = [](const std::vector<std::string>& parts, size_t k) {
        std::uint32_t v = 0;
        if (k >= parts.size() || !DottedPartValue(parts[k], &v)) return 0;
        return static_cast<int>(v & 0xFF);
    };
    std::string out;
    for (size_t k = 0; k < 4; ++k) {
        if (k) out += '.';
        out += IntToStr(octet(a, k) & octet(m, k));
    }
    return out;
}

bool ContainsAddress(const TStrings& list, const std::string& text) {
    for (int i = 0; i < list.Count(); ++i)
        if (list.Strings(i) == text) return true;
    return false;
}

void ParseIpconfigFile(const TStrings& lines, TStrings& addresses, TStrings& gateways) {
    std::vector<std::string> a = addresses.ToVector();
    std::vector<std::string> g = gateways.ToVector();
    const size_t oldA = a.size(), oldG = g.size();
    os::ParseIpconfigLines(lines.ToVector(), a, g);
    for (size_t i = oldA; i < a.size(); ++i)
        addresses.Add(a[i]);
    for (size_t i = oldG; i < g.size(); ++i)
        gateways.Add(g[i]);
}

void GetLocalGateways(const std::vector<std::string>& listing, TStrings& lineBuffer,
                      TStrings& addresses, TStrings& gateways, TStrings& output) {
    lineBuffer.Clear();
    lineBuffer.BeginUpdate();
    for (const std::string& line : listing)
        lineBuffer.Add(line);
    lineBuffer.EndUpdate();
    ParseIpconfigFile(lineBuffer, addresses, gateways);
    const std::string mask = "255.255.255.0";
    for (int gi = 0; gi < gateways.Count(); ++gi) {
        const std::string g = gateways.Strings(gi);
        const std::string net = NetworkAddressOf(g, mask);
        for (int ai = 0; ai < addresses.Count(); ++ai) {
            if (NetworkAddressOf(addresses.Strings(ai), mask) == net && !ContainsAddress(output, g))
                output.Add(g);
        }
    }
}

void GetLocalGateways(TStrings& lineBuffer, TStrings& addresses, TStrings& gateways,
                      TStrings& output) {
    GetLocalGateways(os::CaptureIpconfig(), lineBuffer, addresses, gateways, output);
}

} // namespace AddressChecks
