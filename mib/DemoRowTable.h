#pragma once
// The device's demonstration table: rows added and removed through a status
// column (1 active, 2 notInService, 4 createAndGo, 5 createAndWait,
// 6 destroy), shown by the generic list-view panel.
#include "snmp/QvOptionList.h"
#include "snmp/QvSNMPVar.h"

namespace mib {

extern const QvPairDef demoRowStatusPairs[];
extern QvOptionList demoRowStatusList;

// Index (blank identifier), name, address and status; key count 1, an open table.
extern const QvSNMPVar demoRowTable[];
inline constexpr int demoRowStatusColumn = 3;
inline constexpr const char* demoRowAddName = "createAndGo";
inline constexpr const char* demoRowDeleteName = "destroy";

} // namespace mib
