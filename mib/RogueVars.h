#pragma once
// Variables of the rogue AP detection form: the radio state, the detection
// masks, the scan, add and delete commands, the detection result and the
// AP list (both walked as tables), the protection support flag and the
// protection switch. The command scalars carry ".0" (item kind SVT_SV).
#include "snmp/QvOptionList.h"
#include "snmp/QvSNMPVar.h"

namespace mib {

extern QvOptionList rogueRadioList;       // 0 "Off", 1 "On"
extern QvOptionList rogueBssTypeList;     // 1 "AP BSS", 2 "Ad Hoc", 3 "Both"
extern QvOptionList rogueDetectList;      // 0 "nothing", 1 "detect"
extern QvOptionList rogueSecurityList;    // 0 "OFF" .. 7 "WPA-Auto-Personal"
extern QvOptionList rogueModeList;        // 0 "a", 2 "b", 3 "g"
extern QvOptionList rogueProtectionList;  // 0 "Disable", 1 "Enable"

extern const QvSNMPVar rogueRadioTable[];         // adRadioWave of band 1
extern const QvSNMPVar rogueMaskTable[];          // BSS type, band and security masks
extern const QvSNMPVar rogueDetectTable[];        // rogueAPDetect
extern const QvSNMPVar rogueAddTable[];           // addRogueAPtoAPList
extern const QvSNMPVar rogueDeleteResultTable[];  // deleteRogueAPFromResult
extern const QvSNMPVar rogueResultTable[];        // index, then six columns
extern const QvSNMPVar rogueDeleteListedTable[];  // deleteRogueAPfromAPList
extern const QvSNMPVar rogueApListTable[];        // index, then six columns
extern const QvSNMPVar rogueSupportTable[];       // rogueApProtectionSupported
extern const QvSNMPVar rogueProtectionTable[];    // adRogueApProtection

} // namespace mib
