#include "mib/LogVars.h"

#include "mib/Enterprise.h"

namespace mib {

const QvPairDef logGetPairs[] = {{0, "nothing"}, {1, "get"}, {0, nullptr}};
const QvPairDef logEnablePairs[] = {{0, "disable"}, {1, "enable"}, {0, nullptr}};
const QvPairDef logClearPairs[] = {{0, "nothing"}, {1, "clear"}, {0, nullptr}};

QvOptionList logGetList(logGetPairs);
QvOptionList logEnableList(logEnablePairs);
QvOptionList logClearList(logClearPairs);

#define LOG_VAR(arc, name, syntax, options)                                                       \
    {QV_ENTERPRISE ".11.37.4.2.11" arc, name, syntax, QvAccess::ReadWrite, options, nullptr,        \
     nullptr, nullptr, nullptr, nullptr}

const QvSNMPVar logGetTable[] = {
    LOG_VAR(".4.0", "adTFTPServerIP", QvSyntax::IpAddress, nullptr),
    LOG_VAR(".5.0", "adLogFileName", QvSyntax::DisplayStr, nullptr),
    LOG_VAR(".6.0", "adGetLog", QvSyntax::Integer, &logGetList),
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}};

const QvSNMPVar logSettingsTable[] = {
    LOG_VAR(".1.0", "adSystemLevel", QvSyntax::Integer, &logEnableList),
    LOG_VAR(".2.0", "adWirelessLevel", QvSyntax::Integer, &logEnableList),
    LOG_VAR(".3.0", "adNoticeLevel", QvSyntax::Integer, &logEnableList),
    LOG_VAR(".8.0", "adRemoteLogState", QvSyntax::Integer, &logEnableList),
    LOG_VAR(".9.0", "adLogServerIP", QvSyntax::IpAddress, nullptr),
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}};

const QvSNMPVar logClearTable[] = {
    LOG_VAR(".10", "adClearLocalLog", QvSyntax::Integer, &logClearList),
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}};

#undef LOG_VAR

} // namespace mib
