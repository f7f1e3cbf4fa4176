#pragma once
// A read-only registry kept in an INI-style text file. Each section is a full
// key path ("HKEY_LOCAL_MACHINE\SOFTWARE\Quorvane\Modules\HelpPath"), compared
// without case; its entries are value=data. The file is named by the
// environment variable LMR_REGISTRY_FILE, else "registry.ini" beside the
// executable. Nothing is ever written: opening with create succeeds for a
// missing key, which then reads as empty.
#include <string>
#include <vector>

#include "os/Ini.h"

namespace os {

enum class RegistryRoot { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig };

const char* RegistryRootName(RegistryRoot root); // "HKEY_LOCAL_MACHINE", ...
std::string RegistryFilePath();                  // the file the registry is read from

class Registry {
public:
    Registry() = default;
    explicit Registry(RegistryRoot root) : root_(root) {}

    RegistryRoot rootKey() const { return root_; }
    void setRootKey(RegistryRoot root) {
        closeKey();
        root_ = root;
    }

    // key: a path below the root ("\SOFTWARE\..." or "SOFTWARE\..."). False
    // when the file or the key is missing, unless canCreate.
    bool openKey(const std::string& key, bool canCreate);
    void closeKey();
    bool isOpen() const { return open_; }
    std::string currentPath() const { return path_; } // full key path once open

    // The data of a value of the open key; "" when the value or the key is
    // missing. The name "" (or "@") is the key's default value.
    std::string readString(const std::string& name) const;
    bool valueExists(const std::string& name) const;

    // Full key path for a root and a relative key: separators unified to "\",
    // empty components and blanks around them dropped. Section names of the
    // file are read the same way.
    static std::string KeyPath(RegistryRoot root, const std::string& key);

private:
    const std::string* findValue(const std::string& name) const;

    RegistryRoot root_ = RegistryRoot::CurrentUser;
    bool open_ = false;
    std::string path_;
    std::vector<IniDocument::Section> sections_; // every section of the open key, in file order
};

} // namespace os
