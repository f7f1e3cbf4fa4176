#include "os/Text.h"

#include <cctype>

namespace os {

std::string TrimBlanks(const std::string& text) {
    size_t b = text.find_first_not_of(" \t");
    if (b == std::string::npos) return std::string();
    size_t e = text.find_last_not_of(" \t");
    return text.substr(b, e - b + 1);
}

bool EqualNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

} // namespace os
