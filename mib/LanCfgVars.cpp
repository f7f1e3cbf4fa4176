#include "mib/LanCfgVars.h"

#include "mib/Enterprise.h"
#include "mib/OptionLists.h"

namespace mib {

#define LAN QV_ENTERPRISE ".11.37.4.1.2"

const QvSNMPVar lanCfgTable[] = {
    {LAN ".1", "hGetIPFrom", QvSyntax::Integer, QvAccess::ReadWrite, &hGetIPFromList, nullptr,
     nullptr, nullptr, nullptr, nullptr},
    {LAN ".2", "hIPAddress", QvSyntax::IpAddress, QvAccess::ReadWrite, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {LAN ".3", "hSubnetMask", QvSyntax::IpAddress, QvAccess::ReadWrite, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {LAN ".4", "hDefaultGateway", QvSyntax::IpAddress, QvAccess::ReadWrite, nullptr, nullptr,
     nullptr, nullptr, nullptr, nullptr},
    {QV_ENTERPRISE ".11.37.4.3.2.1", "sysRestart", QvSyntax::Integer, QvAccess::ReadWrite,
     &sysRestartList, nullptr, nullptr, nullptr, nullptr, nullptr},
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}};

} // namespace mib
