#include "base/DottedAddress.h"

#include "base/SysUtils.h"

#include <vector>

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

} // namespace

bool DottedPartValue(const std::string& part, std::uint32_t* value) {
    size_t b = 0, e = part.size();
    while (b < e && IsBlank(part[b]))
        ++b;
    while (e > b && IsBlank(part[e - 1]))
        --e;
    if (b == e) return false;
    std::uint64_t v = 0;
    for (size_t i = b; i < e; ++i) {
        const char c = part[i];
        if (c < '0' || c > '9') return false;
        v = v * 10 + static_cast<std::uint64_t>(c - '0');
        if (v > 0xFFFFFFFFull) return false;
    }
    if (value) *value = static_cast<std::uint32_t>(v);
    return true;
}

std::optional<DottedAddress> DottedAddress::Parse(const std::string& text) {
    const std::vector<std::string> parts = SplitString(text, '.');
    if (parts.size() != 4) return std::nullopt;
    DottedAddress a;
    for (size_t k = 0; k < 4; ++k) {
        std::uint32_t v = 0;
        if (!DottedPartValue(parts[k], &v) || v > 255) return std::nullopt;
        a.octets[k] = static_cast<std::uint8_t>(v);
    }
    return a;
}

DottedAddress DottedAddress::FromNumber(std::uint32_t number) {
    DottedAddress a;
    for (int k = 0; k < 4; ++k)
        a.octets[k] = static_cast<std::uint8_t>(number >> (24 - 8 * k));
    return a;
}

std::uint32_t DottedAddress::Number() const {
    return (static_cast<std::uint32_t>(octets[0]) << 24) |
           (static_cast<std::uint32_t>(octets[1]) << 16) |
           (static_cast<std::uint32_t>(octets[2]) << 8) | static_cast<std::uint32_t>(octets[3]);
}

std::string DottedAddress::Text() const {
    std::string out;
    for (size_t k = 0; k < 4; ++k) {
        if (k) out += '.';
        out += std::to_string(octets[k]);
    }
    return out;
}

bool SameDottedAddress(const std::string& a, const std::string& b) {
    const auto pa = DottedAddress::Parse(a);
    const auto pb = DottedAddress::Parse(b);
    return pa && pb && *pa == *pb;
}
