#pragma once
// Variables of the administrator form for devices with the extended
// administration objects: one table per group the form reads and writes.
#include "snmp/QvOptionList.h"
#include "snmp/QvSNMPVar.h"

namespace mib {

// 0 "Disabled", 1 "Enabled" (multi-SSID and VLAN state).
extern const QvPairDef adminStatePairs[];
extern QvOptionList adminStateList;
// 0 "Disable", 1 "Enable".
extern const QvPairDef adminEnablePairs[];
extern QvOptionList adminEnableList;
// 0 "disable", 1 "enable" (management VLAN id status).
extern const QvPairDef adminVlanIdStatusPairs[];
extern QvOptionList adminVlanIdStatusList;
// 1 "Manual", 2 "Dynamic".
extern const QvPairDef adminGetIpFromPairs[];
extern QvOptionList adminGetIpFromList;

extern const QvSNMPVar adminMssidStateTable[];   // adMSSIDState
extern const QvSNMPVar adminVlanStateTable[];    // adVlanState
extern const QvSNMPVar adminDeviceInfoTable[];   // firmware version first
extern const QvSNMPVar adminWlanTable[];         // administrateApWithWlan
extern const QvSNMPVar adminManagerVlanTable[];  // status, id
extern const QvSNMPVar adminIpRangeTable[];      // ID (key), From, To: an open table
extern const QvSNMPVar adminTelnetTable[];       // telnet, timeout
extern const QvSNMPVar adminSshTable[];          // ssh
extern const QvSNMPVar adminLimitRangeTable[];   // admlimitIPStatus (range devices)
extern const QvSNMPVar adminLimitManagerTable[]; // admManagerIPStatus (two addresses)
extern const QvSNMPVar adminManagerIpTable[];    // two managerIP rows, instance in the Oid
extern const QvSNMPVar adminNewLoginTable[];     // UserName, Password
extern const QvSNMPVar adminTrapSupportTable[];  // trapSupported
extern const QvSNMPVar adminTrapServerTable[];   // admTrapServerIP, admUserStaNotify
extern const QvSNMPVar adminPingSupportTable[];  // pingControlSupported
extern const QvSNMPVar adminPingControlTable[];  // pingcontrol

inline constexpr int adminRangeFromVar = 1;
inline constexpr int adminRangeToVar = 2;
inline constexpr int adminTrapServerIpVar = 0;
inline constexpr int adminUserStaNotifyVar = 1;
inline constexpr int adminTelnetVar = 0;
inline constexpr int adminTimeoutVar = 1;

} // namespace mib
