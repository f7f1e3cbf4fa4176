#pragma once
// Small text helpers shared by the stand-ins (ASCII rules, 8-bit texts).
#include <string>

namespace os {

std::string TrimBlanks(const std::string& text); // drops spaces and tabs at both ends
bool EqualNoCase(const std::string& a, const std::string& b);

} // namespace os
