#pragma once
// Variables of the radio performance form: AP mode, the B/G mode (new and
// old object), XR, auto channel scan, WMM, preamble, radio, Super G, the main
// radio values, the data rate control (support, status, per-rate table) and
// IGMP snooping, each a group of its own.
#include "snmp/QvOptionList.h"
#include "snmp/QvSNMPVar.h"

namespace mib {

// 0 "Long Only", 1 "Short and Long".
extern QvOptionList perfPreambleList;
// 1 "Full" .. 5 "Min".
extern QvOptionList perfTransmitPowerList;
// 0 "Disable", 1 "Enable", 2 "Basic".
extern QvOptionList perfRateStatusList;

extern const QvSNMPVar perfApModeTable[];     // adAPMode (list set by the form)
extern const QvSNMPVar perfWifiModeTable[];   // adWIFIMode, scalar
extern const QvSNMPVar perfGonlyTable[];      // ad80211gonly
extern const QvSNMPVar perfXRTable[];         // adXR of band 1
extern const QvSNMPVar perfAutoScanTable[];   // adAutoChannelScan
extern const QvSNMPVar perfWMMTable[];        // adWMM, scalar
extern const QvSNMPVar perfPreambleTable[];   // adPreamble, scalar
extern const QvSNMPVar perfRadioTable[];      // adRadioWave
extern const QvSNMPVar perfSuperGTable[];     // adSuperMode, scalar (list set by the form)
// Frequency, data rate, rate list, beacon, DTIM, fragment, RTS, power.
extern const QvSNMPVar perfMainTable[];
extern const QvSNMPVar perfRateSupportTable[]; // dataratecontrolsupport, scalar
extern const QvSNMPVar perfRateStatusTable[];  // adDatarateControlstatus
// Index (not accessible) and the status of each rate.
extern const QvSNMPVar perfRateTable[];
extern const QvSNMPVar perfIgmpTable[]; // igmpSnooping


} // namespace mib
