#pragma once
// INI files read the way the Windows profile call reads them: section and key
// names compared without case, the first match wins, ";" starts a comment
// line, blanks around names and values are dropped, one pair of enclosing
// quotes is removed, and a result is at most 4095 characters (the callers'
// 4096-byte buffer).
#include <optional>
#include <string>
#include <vector>

namespace os {

constexpr size_t kIniValueLimit = 4095;

class IniDocument {
public:
    struct Entry {
        std::string key;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };

    static IniDocument Parse(const std::vector<std::string>& lines);
    // False (and an empty document) when the file cannot be read.
    static bool Load(const std::string& path, IniDocument& doc);

    // The value of the first matching key in the first matching section, or
    // nothing when the section or the key is missing.
    std::optional<std::string> Find(const std::string& section, const std::string& key) const;
    bool HasSection(const std::string& section) const;
    const std::vector<Section>& Sections() const { return sections_; }

private:
    std::vector<Section> sections_;
};

// The value of section/key in the file at path (a Windows-style path is
// resolved), "" for a key that is present without a value, and defaultValue,
// unchanged, when the file, the section or the key is missing.
std::string ReadIniString(const std::string& path, const std::string& section,
                          const std::string& key, const std::string& defaultValue);

} // namespace os
