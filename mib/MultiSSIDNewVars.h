#pragma once
// Variables of the Multi-SSID form for devices with eight SSIDs per band:
// the SSID table, the global Multi-SSID, VLAN and priority states, the AP
// mode it depends on, and the security server objects the entries share.
#include "snmp/QvOptionList.h"
#include "snmp/QvSNMPVar.h"

namespace mib {

extern QvOptionList mssidStateList;      // 0 "Disabled", 1 "Enabled"
extern QvOptionList mssidEnableList;     // 0 "Disable", 1 "Enable"
extern QvOptionList mssidAuthList;       // 1 "Open System" .. 9 "WPA-Auto-EAP"
extern QvOptionList mssidKeyIndexList;   // 1 "First" .. 4 "Fourth"
extern QvOptionList mssidCipherList;     // 1 "Auto", 2 "AES", 3 "TKIP"
extern QvOptionList mssidKeyTypeList;    // 2 "HEX", 1 "ASCII"
extern QvOptionList mssidSuperG2List;    // 4 "Disable", 1 "Enable"
extern QvOptionList mssidSuperG4List;    // the three Super G kinds and "Disable"
extern QvOptionList mssidApModeList;     // "AP Repeater", "AP Client" names
extern QvOptionList mssidApModeNewList;  // "Universal Repeater", "Wireless Client"

extern const QvSNMPVar mssidBackupRadiusTable[]; // secBackupRadiusSupported
// adAPMode and adSuperMode, one row; by the AP-mode names and the Super G list.
extern const QvSNMPVar mssidApModeTables[2][2][3];
extern const QvSNMPVar mssidStateTable[];        // adMSSIDState
extern const QvSNMPVar mssidNewVlanStateTable[];    // adVlanState
extern const QvSNMPVar mssidPriorityTable[];     // adMSSIDPriorityState, one row
extern const QvSNMPVar mssidGroupKeyTable[];     // adSecGroupKeyUpdateInterval
extern const QvSNMPVar mssidRadiusTable[];       // server, port, secret
extern const QvSNMPVar mssidAccountTable[];      // server, port, mode, one row
// The SSID table: two key columns, then state .. key type; the wide one
// adds broadcast and WMM.
extern const QvSNMPVar mssidNarrowTable[];
extern const QvSNMPVar mssidWideTable[];

// Columns of the SSID table.
namespace mssidcol {
inline constexpr int IfIndex = 0;
inline constexpr int Index = 1;
inline constexpr int State = 2;
inline constexpr int Ssid = 3;
inline constexpr int Auth = 4;
inline constexpr int Encryption = 5;
inline constexpr int KeyIndex = 6;
inline constexpr int Key = 7;
inline constexpr int VlanTag = 8;
inline constexpr int Cipher = 9;
inline constexpr int PassPhrase = 10;
inline constexpr int KeyType = 11;
inline constexpr int Broadcast = 12;
inline constexpr int Wmm = 13;
} // namespace mssidcol

inline constexpr int mssidRadiusServerVar = 0;
inline constexpr int mssidRadiusPortVar = 1;
inline constexpr int mssidRadiusSecretVar = 2;
inline constexpr int mssidAccountServerVar = 0;
inline constexpr int mssidAccountPortVar = 1;
inline constexpr int mssidAccountModeVar = 2;

} // namespace mib
