#include "forms/admin/IpEditToNumber.h"

#include "base/DottedAddress.h"
#include "base/SysUtils.h"
#include "ui/Widgets.h"

#include <vector>

namespace {

// badMakesAll: what a part that is no number does (false: it counts 0,
// true: the whole result is -1).
std::uint32_t Convert(const std::string& text, bool badMakesAll) {
    // An address the checks accept has exactly the number it is written to
    // the device as.
    if (const auto a = DottedAddress::Parse(text)) return a->Number();
    const std::vector<std::string> parts = SplitString(text, '.');
    std::uint32_t value = 0;
    if (parts.size() == 1) {
        if (DottedPartValue(parts[0], &value)) return value;
        return badMakesAll ? 0xFFFFFFFFu : 0u;
    }
    std::uint32_t result = 0;
    for (const std::string& part : parts) {
        std::uint32_t v = 0;
        if (!DottedPartValue(part, &v)) {
            if (badMakesAll) return 0xFFFFFFFFu;
            v = 0;
        }
        result = (result << 8) + v;
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
