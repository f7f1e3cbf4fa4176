#include "os/Ini.h"

#include "os/Path.h"
#include "os/Text.h"

namespace os {

namespace {

std::string Unquote(const std::string& value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

} // namespace

IniDocument IniDocument::Parse(const std::vector<std::string>& lines) {
    IniDocument doc;
    Section* current = nullptr;
    for (const std::string& raw : lines) {
        std::string line = TrimBlanks(raw);
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            size_t close = line.find(']');
            std::string name =
                line.substr(1, close == std::string::npos ? std::string::npos : close - 1);
            doc.sections_.push_back(Section{TrimBlanks(name), {}});
            current = &doc.sections_.back();
            continue;
        }
        if (!current) continue; // lines before the first section belong to none
        size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        std::string key = TrimBlanks(line.substr(0, eq));
        std::string value = Unquote(TrimBlanks(line.substr(eq + 1)));
        if (value.size() > kIniValueLimit) value.resize(kIniValueLimit);
        current->entries.push_back(Entry{key, value});
    }
    return doc;
}

bool IniDocument::Load(const std::string& path, IniDocument& doc) {
    std::vector<std::string> lines;
    if (!ReadTextLines(path, lines)) {
        doc = IniDocument();
        return false;
    }
    doc = Parse(lines);
    return true;
}

std::optional<std::string> IniDocument::Find(const std::string& section,
                                             const std::string& key) const {
    const std::string wantedSection = TrimBlanks(section);
    const std::string wantedKey = TrimBlanks(key);
    for (const Section& s : sections_) {
        if (!EqualNoCase(s.name, wantedSection)) continue;
        for (const Entry& e : s.entries)
            if (EqualNoCase(e.key, wantedKey)) return e.value;
    }
    return std::nullopt;
}

bool IniDocument::HasSection(const std::string& section) const {
    const std::string wanted = TrimBlanks(section);
    for (const Section& s : sections_)
        if (EqualNoCase(s.name, wanted)) return true;
    return false;
}

std::string ReadIniString(const std::string& path, const std::string& section,
                          const std::string& key, const std::string& defaultValue) {
    IniDocument doc;
    if (!IniDocument::Load(path, doc)) return defaultValue;
    return doc.Find(section, key).value_or(defaultValue);
}

} // namespace os
