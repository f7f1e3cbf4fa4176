#include "snmp/QvIni.h"

#include "os/Ini.h"
#include "os/Network.h"
#include "os/Path.h"
#include "base/SysUtils.h"

std::string QvIni::ReadString(const std::string& section, const std::string& key,
                              const std::string& defaultValue) const {
    std::string value = Trim(os::ReadIniString(path_, section, key, std::string()));
    return value.empty() ? defaultValue : value;
}

int GetLocalInterfaceList(QvNetInterface interfaces[QV_MAX_INTERFACES]) {
    for (int i = 0; i < QV_MAX_INTERFACES; ++i)
        interfaces[i] = QvNetInterface();
    // Empty on any failure, and never more than asked for.
    int n = 0;
    for (const os::NetInterface& f : os::LocalInterfaces(QV_MAX_INTERFACES)) {
        interfaces[n].Address = f.Address;
        interfaces[n].Netmask = f.Netmask;
        ++n;
    }
    return n;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    return os::JoinPath(folder, name);
}
