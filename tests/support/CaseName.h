#pragma once
// Readable, stable names for the rows of a parameterised test: the row's
// own text made into a name (letters, digits and "_", operators spelt out),
// then its place in the table, which keeps names unique.
#include <cctype>
#include <cstddef>
#include <string>

namespace lmrtest {

inline std::string CaseName(std::size_t index, const std::string& text) {
    std::string name;
    auto add = [&](const char* word) {
        if (!name.empty() && name.back() != '_') name += '_';
        name += word;
        name += '_';
    };
    for (unsigned char c : text) {
        if (name.size() >= 40) break;
        if (std::isalnum(c)) {
            name += static_cast<char>(c);
            continue;
        }
        switch (c) {
        case '+': add("plus"); break;
        case '-': add("minus"); break;
        case '*': add("times"); break;
        case '/': add("slash"); break;
        case '<': add("lt"); break;
        case '>': add("gt"); break;
        case '=': add("eq"); break;
        case '!': add("not"); break;
        case '&': add("and"); break;
        case '|': add("or"); break;
        case '\r': add("CR"); break;
        case '\n': add("LF"); break;
        default:
            if (!name.empty() && name.back() != '_') name += '_';
        }
    }
    while (!name.empty() && name.back() == '_')
        name.pop_back();
    if (name.empty()) name = "empty";
    return name + "_" + std::to_string(index);
}

inline std::string CaseName(std::size_t index, long long number) {
    return (number < 0 ? "minus" + std::to_string(-number) : std::to_string(number)) + "_" +
           std::to_string(index);
}

} // namespace lmrtest
