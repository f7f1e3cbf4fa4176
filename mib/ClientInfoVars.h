#pragma once
// Variables of the client information form: the acquire command and the
// table of associated stations, with or without its SSID column.
#include "snmp/QvOptionList.h"
#include "snmp/QvSNMPVar.h"

namespace mib {

extern const QvPairDef clientAuthPairs[]; // 0 "Open System" ... 8 "WPA-Auto-PSK"
extern QvOptionList clientGetList;        // 0 Nothing, 1 acquire
extern QvOptionList clientAuthList;

extern const QvSNMPVar clientGetVars[];        // MVT_SV, key count 1
extern const QvSNMPVar clientTableVars[];      // MVT_UMV, six columns
extern const QvSNMPVar clientTableSsidVars[];  // MVT_UMV, seven columns

// Columns of the walked table.
inline constexpr int clientColMac = 1;
inline constexpr int clientColBand = 2;
inline constexpr int clientColAuth = 3;
inline constexpr int clientColSignal = 4;
inline constexpr int clientColPower = 5;
inline constexpr int clientColSsid = 6;

} // namespace mib
