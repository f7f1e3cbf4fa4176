#include "os/Registry.h"

#include <cstdlib>

#include "os/Path.h"

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

std::string Registry::KeyPath(RegistryRoot root, const std::string& key) {
    std::string out = RegistryRootName(root);
    size_t start = 0;
    while (start <= key.size()) {
        size_t end = key.find_first_of("\\/", start);
        if (end == std::string::npos) end = key.size();
        if (end > start) out += "\\" + key.substr(start, end - start);
        start = end + 1;
    }
    return out;
}

bool Registry::openKey(const std::string& key, bool canCreate) {
    closeKey();
    const std::string path = KeyPath(root_, key);
    IniDocument doc;
    const bool loaded = IniDocument::Load(RegistryFilePath(), doc);
    if (!(loaded && doc.HasSection(path)) && !canCreate) return false;
    doc_ = std::move(doc);
    path_ = path;
    open_ = true;
    return true;
}

void Registry::closeKey() {
    open_ = false;
    path_.clear();
    doc_ = IniDocument();
}

std::string Registry::readString(const std::string& name) const {
    if (!open_) return std::string();
    return doc_.Find(path_, name.empty() ? "@" : name).value_or(std::string());
}

bool Registry::valueExists(const std::string& name) const {
    return open_ && doc_.Find(path_, name.empty() ? "@" : name).has_value();
}

} // namespace os
