#include "mib/LanCfgVars.h"

#include "mib/OptionLists.h"
#include "mib/VarTable.h"

namespace mib {

using namespace table;

#define LAN QV_AP ".1.2"

const QvSNMPVar lanCfgTable[] = {
    Var(LAN ".1", "hGetIPFrom", Integer, ReadWrite, &hGetIPFromList),
    Var(LAN ".2", "hIPAddress", IpAddress, ReadWrite),
    Var(LAN ".3", "hSubnetMask", IpAddress, ReadWrite),
    Var(LAN ".4", "hDefaultGateway", IpAddress, ReadWrite),
    Var(QV_AP ".3.2.1", "sysRestart", Integer, ReadWrite, &sysRestartList),
    kEnd};

#undef LAN

} // namespace mib
