#pragma once
// Reading one key of an INI file, the PC's IPv4 interfaces, and joining a
// folder and a file name.
#include <string>

class QvIni {
public:
    explicit QvIni(std::string path) : path_(std::move(path)) {}
    ~QvIni() = default;

    // The value with blanks trimmed at both ends; the default, unchanged,
    // when the file, section or key is missing or the value is empty.
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const;
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

struct QvNetInterface {
    std::string Address; // dotted
    std::string Netmask; // dotted
};

constexpr int QV_MAX_INTERFACES = 10;

// Fills up to ten entries (all ten are cleared first) and returns how many
// were filled; 0 on any failure.
int GetLocalInterfaceList(QvNetInterface interfaces[QV_MAX_INTERFACES]);

// The name alone when the folder is empty, folder + name when the folder
// ends in "\" or "/", otherwise exactly one separator between them (the one
// the folder already uses, "/" when it has none).
std::string JoinPath(const std::string& folder, const std::string& name);
