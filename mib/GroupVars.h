#pragma once
// Variables of the AP grouping form: load balancing with its user limit, link
// integration and the Ethernet link status, and the operating mode it reads
// to decide what may be edited.
#include "snmp/QvOptionList.h"
#include "snmp/QvSNMPVar.h"

namespace mib {

// 0 "Disable", 1 "Enable".
extern QvOptionList groupDisableEnableList;
// 1 "Access Point" .. 7 "P2MP Without", with 4 "Universal Repeater" and
// 5 "Wireless Client" (firmware that renamed them) or 4 "AP Repeater" and
// 5 "AP Client".
extern QvOptionList groupApModeNewNamesList;
extern QvOptionList groupApModeOldNamesList;
// 1 "Super G without Turbo" .. 4 "Disable".
extern QvOptionList groupSuperModeList;

// Scalars: load balance, user limit, link integrate, Ethernet link status.
extern const QvSNMPVar groupSettingsTable[];
// adAPMode and adSuperMode of band 1 (one row; the mode's list is chosen by
// the form).
extern const QvSNMPVar groupApModeTable[];

} // namespace mib
