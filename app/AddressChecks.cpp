#include "app/AddressChecks.h"

#include "base/SysUtils.h"
#include "os/Network.h"
#include "ui/Strings.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace AddressChecks {

namespace {

// The four parts of a dotted text, each a decimal number or -1; false when the
// text is empty, starts or ends its first part with a dot, or has not
// exactly three dots.
bool SplitQuad(const std::string& text, std::array<int, 4>& parts) {
    if (text.empty()) return false;
    const size_t firstDot = text.find('.');
    if (firstDot == 0 || firstDot == text.size() - 1) return false;
    if (std::count(text.begin(), text.end(), '.') != 3) return false;
    const std::vector<std::string> pieces = SplitString(text, '.');
    if (pieces.size() != 4) return false;
    for (size_t k = 0; k < 4; ++k) {
        // Decimal digits with leading zeros and surrounding blanks, read
        // exactly as the address conversion reads them; a sign, a hex prefix
        // or any other text is no number.
        const std::string p = Trim(pieces[k]);
        const bool digits = !p.empty() && std::all_of(p.begin(), p.end(), [](char c) {
            return c >= '0' && c <= '9';
        });
        const size_t lead = digits ? p.find_first_not_of('0') : std::string::npos;
        if (!digits)
            parts[k] = -1;
        else if (lead == std::string::npos)
            parts[k] = 0;
        else if (p.size() - lead > 3)
            parts[k] = -1;
        else
            parts[k] = std::stoi(p.substr(lead));
    }
    return true;
}

bool InRange(int v, int lo, int hi) {
    return v >= lo && v <= hi;
}

} // namespace

bool IsValidIP(const std::string& text) {
    std::array<int, 4> p;
    if (!SplitQuad(text, p)) return false;
    return InRange(p[0], 1, 223) && InRange(p[1], 0, 255) && InRange(p[2], 0, 255) &&
           InRange(p[3], 1, 254);
}

bool IsValidMask(const std::string& text) {
    std::array<int, 4> p;
    if (!SplitQuad(text, p)) return false;
    if (!InRange(p[0], 1, 255)) return false;
    for (int k = 1; k < 4; ++k)
        if (!InRange(p[k], 0, 255)) return false;
    for (int v : p)
        if (v == 1) return false;
    const std::uint32_t bits =
        (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
        (static_cast<std::uint32_t>(p[2]) << 8) | static_cast<std::uint32_t>(p[3]);
    if (!(bits & 0x40000000u) || (bits & 1u)) return false;
    // Contiguous: the complement plus one is a power of two.
    const std::uint32_t host = ~bits;
    return (host & (host + 1)) == 0;
}

std::string NetworkAddressOf(const std::string& address, const std::string& mask) {
    const std::vector<std::string> a = SplitString(address, '.');
    const std::vector<std::string> m = SplitString(mask, '.');
    auto octet = [](const std::vector<std::string>& parts, size_t k) {
        return k < parts.size() ? static_cast<int>(StrToIntDef(parts[k], 0) & 0xFF) : 0;
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
