#include "os/Registry.h"

#include <cstdlib>

#include "os/Path.h"
#include "os/Text.h"

namespace os {

const char* RegistryRootName(RegistryRoot root) {
    switch (root) {
    case RegistryRoot::ClassesRoot:
        return "HKEY_CLASSES_ROOT";
    case RegistryRoot::CurrentUser:
        return "HKEY_CURRENT_USER";
    case RegistryRoot::LocalMachine:
        return "HKEY_LOCAL_MACHINE";
    case RegistryRoot::Users:
        return "HKEY_USERS";
    case RegistryRoot::CurrentConfig:
        return "HKEY_CURRENT_CONFIG";
    }
    return "";
}

std::string RegistryFilePath() {
    const char* env = std::getenv("LMR_REGISTRY_FILE");
    if (env && *env) return env;
    return ExeDir() + "registry.ini";
}

namespace {

std::string NormalizedKey(const std::string& text) {
    std::string out;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of("\\/", start);
        if (end == std::string::npos) end = text.size();
        std::string part = TrimBlanks(text.substr(start, end - start));
        if (!part.empty()) out += (out.empty() ? "" : "\\") + part;
        start = end + 1;
    }
    return out;
}

} // namespace

std::string Registry::KeyPath(RegistryRoot root, const std::string& key) {
    std::string rel = NormalizedKey(key);
    return rel.empty() ? RegistryRootName(root) : RegistryRootName(root) + ("\\" + rel);
}

bool Registry::openKey(const std::string& key, bool canCreate) {
    closeKey();
    const std::string path = KeyPath(root_, key);
    IniDocument doc;
    IniDocument::Load(RegistryFilePath(), doc); // a missing file holds no keys
    // A key exists when it has a section or lies above one (its subkeys).
    std::vector<IniDocument::Section> found;
    bool exists = false;
    for (const IniDocument::Section& s : doc.Sections()) {
        const std::string name = NormalizedKey(s.name);
        if (EqualNoCase(name, path)) {
            found.push_back(s);
            exists = true;
        } else if (name.size() > path.size() && name[path.size()] == '\\' &&
                   EqualNoCase(name.substr(0, path.size()), path)) {
            exists = true;
        }
    }
    if (!exists && !canCreate) return false;
    sections_ = std::move(found);
    path_ = path;
    open_ = true;
    return true;
}

void Registry::closeKey() {
    open_ = false;
    path_.clear();
    sections_.clear();
}

const std::string* Registry::findValue(const std::string& name) const {
    const std::string wanted = name.empty() ? "@" : TrimBlanks(name);
    for (const IniDocument::Section& s : sections_)
        for (const IniDocument::Entry& e : s.entries)
            if (EqualNoCase(e.key, wanted)) return &e.value;
    return nullptr;
}

std::string Registry::readString(const std::string& name) const {
    const std::string* v = findValue(name);
    return v ? *v : std::string();
}

bool Registry::valueExists(const std::string& name) const {
    return findValue(name) != nullptr;
}

} // namespace os
