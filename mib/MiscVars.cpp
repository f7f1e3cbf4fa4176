#include "mib/MiscVars.h"

#include "mib/Enterprise.h"

namespace mib {

const QvPairDef consoleEnablePairs[] = {{0, "Disable"}, {1, "Enable"}, {0, nullptr}};
const QvPairDef consoleTimeoutPairs[] = {{0, "Never"},   {1, "1 Min"},   {2, "3 Mins"},
                                         {3, "5 Mins"},  {4, "10 Mins"}, {5, "15 Mins"},
                                         {0, nullptr}};

QvOptionList consoleEnableList(consoleEnablePairs);
QvOptionList consoleTimeoutList(consoleTimeoutPairs);

const QvSNMPVar miscConsoleTable[] = {
    {QV_ENTERPRISE ".11.37.4.3.4.1", "telnet", QvSyntax::Integer, QvAccess::ReadWrite,
     &consoleEnableList, nullptr, nullptr, nullptr, nullptr, nullptr},
    {QV_ENTERPRISE ".11.37.4.3.4.2", "timeout", QvSyntax::Integer, QvAccess::ReadWrite,
     &consoleTimeoutList, nullptr, nullptr, nullptr, nullptr, nullptr},
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}};

} // namespace mib
