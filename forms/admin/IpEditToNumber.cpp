#include "forms/admin/IpEditToNumber.h"

#include "ui/Widgets.h"

#include <vector>

namespace {

// Decimal digits only; false for anything else (empty included).
bool PartNumber(const std::string& part, std::uint64_t* value) {
    if (part.empty() || part.size() > 10) return false;
    std::uint64_t v = 0;
    for (char c : part) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + static_cast<std::uint64_t>(c - '0');
    }
    *value = v;
    return true;
}

std::vector<std::string> Split(const std::string& text) {
    std::vector<std::string> parts(1);
    for (char c : text) {
        if (c == '.')
            parts.emplace_back();
        else
            parts.back() += c;
    }
    return parts;
}

// bad: what a part that is no number does (0 counts 0, else the whole is -1).
std::uint32_t Convert(const std::string& text, bool badMakesAll) {
    const std::vector<std::string> parts = Split(text);
    std::uint64_t value = 0;
    if (parts.size() == 1) {
        if (PartNumber(parts[0], &value)) return static_cast<std::uint32_t>(value);
        return badMakesAll ? 0xFFFFFFFFu : 0u;
    }
    std::uint32_t result = 0;
    for (const std::string& part : parts) {
        std::uint64_t v = 0;
        if (!PartNumber(part, &v)) {
            if (badMakesAll) return 0xFFFFFFFFu;
            v = 0;
        }
        result = (result << 8) + static_cast<std::uint32_t>(v);
    }
    return result;
}

} // namespace

std::uint32_t IpTextToNumber(const std::string& text) { return Convert(text, false); }

std::uint32_t IpEditToNumber(const TEdit* edit) {
    return edit ? IpTextToNumber(edit->Text()) : 0;
}

std::uint32_t DhcpIpTextToNumber(const std::string& text) { return Convert(text, true); }

bool InAddressPool(std::uint32_t start, std::uint32_t range, std::uint32_t ip) {
    return ip >= start && static_cast<std::uint64_t>(start) + range > ip;
}
