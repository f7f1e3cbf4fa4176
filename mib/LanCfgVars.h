#pragma once
// Variables of the LAN settings form: how the device gets its address, the
// address itself, and the restart that makes a change take effect.
#include "snmp/QvSNMPVar.h"

namespace mib {

// hGetIPFrom, hIPAddress, hSubnetMask, hDefaultGateway, sysRestart.
extern const QvSNMPVar lanCfgTable[];

namespace lancfg {
constexpr int GetIPFrom = 0, IPAddress = 1, SubnetMask = 2, DefaultGateway = 3, Restart = 4;
}

} // namespace mib
