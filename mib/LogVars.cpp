#include "mib/LogVars.h"

#include "mib/VarTable.h"

namespace mib {

using namespace table;

const QvPairDef logGetPairs[] = {{0, "nothing"}, {1, "get"}, {0, nullptr}};
const QvPairDef logEnablePairs[] = {{0, "disable"}, {1, "enable"}, {0, nullptr}};
const QvPairDef logClearPairs[] = {{0, "nothing"}, {1, "clear"}, {0, nullptr}};

QvOptionList logGetList(logGetPairs);
QvOptionList logEnableList(logEnablePairs);
QvOptionList logClearList(logClearPairs);

#define LOG QV_AP ".2.11"

const QvSNMPVar logGetTable[] = {
    Var(LOG ".4.0", "adTFTPServerIP", IpAddress, ReadWrite),
    Var(LOG ".5.0", "adLogFileName", DisplayStr, ReadWrite),
    Var(LOG ".6.0", "adGetLog", Integer, ReadWrite, &logGetList),
    kEnd};

const QvSNMPVar logSettingsTable[] = {
    Var(LOG ".1.0", "adSystemLevel", Integer, ReadWrite, &logEnableList),
    Var(LOG ".2.0", "adWirelessLevel", Integer, ReadWrite, &logEnableList),
    Var(LOG ".3.0", "adNoticeLevel", Integer, ReadWrite, &logEnableList),
    Var(LOG ".8.0", "adRemoteLogState", Integer, ReadWrite, &logEnableList),
    Var(LOG ".9.0", "adLogServerIP", IpAddress, ReadWrite),
    kEnd};

const QvSNMPVar logClearTable[] = {
    Var(LOG ".10", "adClearLocalLog", Integer, ReadWrite, &logClearList), kEnd};

#undef LOG

} // namespace mib
