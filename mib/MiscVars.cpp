#include "mib/MiscVars.h"

#include "mib/VarTable.h"

namespace mib {

using namespace table;

const QvPairDef consoleEnablePairs[] = {{0, "Disable"}, {1, "Enable"}, {0, nullptr}};
const QvPairDef consoleTimeoutPairs[] = {{0, "Never"},   {1, "1 Min"},   {2, "3 Mins"},
                                         {3, "5 Mins"},  {4, "10 Mins"}, {5, "15 Mins"},
                                         {0, nullptr}};

QvOptionList consoleEnableList(consoleEnablePairs);
QvOptionList consoleTimeoutList(consoleTimeoutPairs);

const QvSNMPVar miscConsoleTable[] = {
    Var(QV_AP ".3.4.1", "telnet", Integer, ReadWrite, &consoleEnableList),
    Var(QV_AP ".3.4.2", "timeout", Integer, ReadWrite, &consoleTimeoutList), kEnd};

} // namespace mib
