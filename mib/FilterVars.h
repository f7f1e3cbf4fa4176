#pragma once
// Variables of the access-control filter form and of its MAC address table:
// the filter settings of both bands, and the fixed table of MAC entries of
// each band (a free entry holds the all-zero MAC).
#include "snmp/QvOptionList.h"
#include "snmp/QvSNMPVar.h"

namespace mib {

// 1 "Accept", 2 "Reject", 3 "Disable".
extern QvOptionList accessControlList;
// 1 "Enable", 0 "Disable".
extern QvOptionList filterEnableList;

// Access control, internal station connection, Ethernet to WLAN access and
// the connection between the bands, band 1 then band 2 (8 records, all left
// out until the form associates them).
extern const QvSNMPVar filterTable[];

// Row positions in filterTable.
namespace filter {
constexpr int AccessA = 0, StationA = 1, EthernetA = 2, BetweenA = 3, AccessG = 4, StationG = 5,
              EthernetG = 6, BetweenG = 7, Count = 8;
}

// The MAC table of band 1 and of band 2: the entry number, the MAC address.
extern const QvSNMPVar filterMacTableA[];
extern const QvSNMPVar filterMacTableG[];

namespace filtermac {
constexpr int Index = 0, MAC = 1;
}

} // namespace mib
