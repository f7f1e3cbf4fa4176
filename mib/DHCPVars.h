#pragma once
// Variables of the DHCP server form and its static pool entry dialog; the
// LAN form reads the pool and the static pool through the same tables.
#include "snmp/QvOptionList.h"
#include "snmp/QvSNMPVar.h"

namespace mib {

// 0 "OFF", 1 "ON".
extern const QvPairDef dhcpStatusPairs[];
extern QvOptionList dhcpStatusList;
// 0 "Disable", 1 "Enable".
extern const QvPairDef dhcpFunctionPairs[];
extern QvOptionList dhcpFunctionList;

// Dynamic pool: start, range, mask, gateway, WINS, DNS, domain, lease, status.
extern const QvSNMPVar dhcpPoolTable[];
// The server's on/off function.
extern const QvSNMPVar dhcpFunctionTable[];
// Static pool: index, IP, MAC, mask, gateway, DNS, WINS, domain, status.
extern const QvSNMPVar dhcpStaticPoolTable[];
// Leases handed out: index, MAC, IP, lease left.
extern const QvSNMPVar dhcpCurrentDynamicTable[];
// Static entries in use: index, MAC, IP.
extern const QvSNMPVar dhcpCurrentStaticTable[];
// The device's own address.
extern const QvSNMPVar dhcpSystemAddressTable[];

// Column positions in the static pool table.
namespace staticpool {
constexpr int Index = 0, IP = 1, MAC = 2, Mask = 3, Gateway = 4, DNS = 5, Wins = 6, Domain = 7,
              Status = 8, Count = 9;
// What a free row holds: the IP that marks it free, the empty MAC, and the
// value text of every column (the index column has none).
constexpr char FreeIP[] = "0.0.0.0";
constexpr char FreeMac[] = "000000000000";
extern const char* const FreeRow[Count];
}

} // namespace mib
