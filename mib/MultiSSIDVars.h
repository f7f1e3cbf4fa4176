#pragma once
// Variables of the first-generation Multi-SSID form: the VLAN state, the
// master SSID (entry 1.1) and the three guest SSIDs (entries 1.2 to 1.4) of
// the Multi-SSID table, and the AP mode and Super G mode it forces.
#include "snmp/QvSNMPVar.h"

namespace mib {

// adVlanState as a scalar.
extern const QvSNMPVar mssidVlanStateTable[];
// SSID, authentication, encryption, key index and VLAN tag of the master.
extern const QvSNMPVar mssidMasterTable[];
// Guest n (0..2): state, SSID, authentication, encryption, key index, key
// and VLAN tag, in that order.
extern const QvSNMPVar* const mssidGuestTables[3];
// adAPMode and adSuperMode of band 1; the AP mode's list is chosen at run time.
extern const QvSNMPVar mssidApSuperGTable[];

} // namespace mib
