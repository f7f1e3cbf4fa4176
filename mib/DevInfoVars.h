#pragma once
// Variables of the device information form: the Super G value, the AP mode,
// the wireless status of each band, the device's identity and addresses, and
// the CPU and memory load where the firmware has them.
#include "snmp/QvOptionList.h"
#include "snmp/QvSNMPVar.h"

namespace mib {

extern QvOptionList devSuperModeValueList; // 4 Disable, 1 Enable
extern QvOptionList devApModeList;         // repeater and client as "Universal Repeater" ...
extern QvOptionList devApModeOldList;      // ... or as "AP Repeater", "AP Client"
extern QvOptionList devStatusSuperModeList;
extern QvOptionList devGetIpFromList;

extern const QvSNMPVar devSuperGVars[];    // SVT_SV
extern const QvSNMPVar devApModeVars[];    // MVT_SV: adAPMode, adSuperMode (left out)
extern const QvSNMPVar devBand1StatusVars[]; // MVT_SV, instance .1
extern const QvSNMPVar devBand2StatusVars[]; // MVT_SV, instance .2
extern const QvSNMPVar devDeviceVars[];    // SVT_SV
extern const QvSNMPVar devApStatusVars[];  // SVT_SV

// Positions inside the band status groups.
inline constexpr int devStatusSuperMode = 2;

} // namespace mib
