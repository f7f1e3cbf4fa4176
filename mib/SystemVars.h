#pragma once
// Variables of the restart and factory-reset form.
#include "snmp/QvOptionList.h"
#include "snmp/QvSNMPVar.h"

namespace mib {

// 1 "True", 2 "False".
extern const QvPairDef systemTrueFalsePairs[];
extern QvOptionList systemTrueFalseList;

// Restart, FactoryDefault (scalars).
extern const QvSNMPVar systemRestartTable[];
inline constexpr int systemRestartVar = 0;
inline constexpr int systemFactoryDefaultVar = 1;

} // namespace mib
