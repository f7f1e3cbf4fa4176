#pragma once
// Variables of the console form: telnet on or off and its idle time-out.
#include "snmp/QvOptionList.h"
#include "snmp/QvSNMPVar.h"

namespace mib {

// 0 "Disable", 1 "Enable".
extern const QvPairDef consoleEnablePairs[];
extern QvOptionList consoleEnableList;
// 0 "Never" to 5 "15 Mins".
extern const QvPairDef consoleTimeoutPairs[];
extern QvOptionList consoleTimeoutList;

// telnet, timeout (scalars).
extern const QvSNMPVar miscConsoleTable[];

} // namespace mib
