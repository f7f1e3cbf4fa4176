#pragma once
// Variables of the operating mode form: per band the AP mode with the MAC
// addresses and the SSID the mode needs, and the authentication it depends on.
#include "snmp/QvSNMPVar.h"

namespace mib {

// Band 1: mode, remote AP MACs 1-8, repeater root MAC, client root MAC, SSID
// (12 records).
extern const QvSNMPVar modeCfgTableA[];
// Band 2: mode, remote AP MACs 1-8, repeater root MAC (10 records).
extern const QvSNMPVar modeCfgTableG[];
// Authentication of band 1 and band 2 (read only by this form).
extern const QvSNMPVar modeCfgAuthTable[];

} // namespace mib
