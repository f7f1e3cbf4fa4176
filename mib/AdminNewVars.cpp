#include "mib/AdminNewVars.h"

#include "mib/MiscVars.h"
#include "mib/VarTable.h"

namespace mib {

using namespace table;

const QvPairDef adminStatePairs[] = {{0, "Disabled"}, {1, "Enabled"}, {0, nullptr}};
const QvPairDef adminEnablePairs[] = {{0, "Disable"}, {1, "Enable"}, {0, nullptr}};
const QvPairDef adminVlanIdStatusPairs[] = {{0, "disable"}, {1, "enable"}, {0, nullptr}};
const QvPairDef adminGetIpFromPairs[] = {{1, "Manual"}, {2, "Dynamic"}, {0, nullptr}};

QvOptionList adminStateList(adminStatePairs);
QvOptionList adminEnableList(adminEnablePairs);
QvOptionList adminVlanIdStatusList(adminVlanIdStatusPairs);
QvOptionList adminGetIpFromList(adminGetIpFromPairs);

const QvSNMPVar adminMssidStateTable[] = {
    Var(QV_AP ".2.9.3.1.1", "adMSSIDState", Integer, ReadWrite, &adminStateList), kEnd};

const QvSNMPVar adminVlanStateTable[] = {
    Var(QV_AP ".2.9.1.1.1", "adVlanState", Integer, ReadWrite, &adminStateList), kEnd};

const QvSNMPVar adminDeviceInfoTable[] = {
    Var(QV_AP ".4.1.1.1", "Firmware Version", DisplayStr, ReadOnly),
    Var(QV_AP ".4.1.1.2", "MAC Address", DisplayStr, ReadOnly),
    Var(QV_AP ".4.1.1.3", "Get IP From", Integer, ReadOnly, &adminGetIpFromList),
    Var(QV_AP ".4.1.1.4", "IP Address", DisplayStr, ReadOnly),
    Var(QV_AP ".4.1.1.5", "Subnet Mask", DisplayStr, ReadOnly),
    Var(QV_AP ".4.1.1.6", "Default Gateway", DisplayStr, ReadOnly),
    kEnd};

const QvSNMPVar adminWlanTable[] = {
    Var(QV_AP ".3.1.6.2", "administrateApWithWlan", Integer, ReadWrite, &adminEnableList), kEnd};

const QvSNMPVar adminManagerVlanTable[] = {
    Var(QV_AP ".3.1.8.1", "admManagerVLANIDStatus", Integer, ReadWrite, &adminVlanIdStatusList),
    Var(QV_AP ".3.1.8.2", "admManagerVLANID", Integer, ReadWrite), kEnd};

const QvSNMPVar adminIpRangeTable[] = {
    Var(QV_AP ".3.1.9.1.1", "ID", Integer, NotAccess),
    Var(QV_AP ".3.1.9.1.2", "From", IpAddress, ReadWrite),
    Var(QV_AP ".3.1.9.1.3", "To", IpAddress, ReadWrite), kEnd};

const QvSNMPVar adminTelnetTable[] = {
    Var(QV_AP ".3.4.1", "telnet", Integer, ReadWrite, &adminEnableList),
    Var(QV_AP ".3.4.2", "timeout", Integer, ReadWrite, &consoleTimeoutList), kEnd};

const QvSNMPVar adminSshTable[] = {
    Var(QV_AP ".3.4.3", "ssh", Integer, ReadWrite, &adminEnableList), kEnd};

const QvSNMPVar adminLimitRangeTable[] = {
    Var(QV_AP ".3.1.3", "admlimitIPStatus", Integer, ReadWrite, &adminEnableList), kEnd};

const QvSNMPVar adminLimitManagerTable[] = {
    Var(QV_AP ".3.1.3.1", "admManagerIPStatus", Integer, ReadWrite, &adminEnableList), kEnd};

const QvSNMPVar adminManagerIpTable[] = {
    Var(QV_AP ".3.1.3.2.1.1.1", "managerIP", IpAddress, ReadWrite),
    Var(QV_AP ".3.1.3.2.1.1.2", "managerIP", IpAddress, ReadWrite), kEnd};

const QvSNMPVar adminNewLoginTable[] = {
    Var(QV_AP ".3.1.1", "UserName", DisplayStr, ReadWrite),
    Var(QV_AP ".3.1.2", "Password", DisplayStr, ReadWrite), kEnd};

const QvSNMPVar adminTrapSupportTable[] = {
    Var(QV_AP ".99.1.1.44", "trapSupported", Integer, ReadOnly), kEnd};

const QvSNMPVar adminTrapServerTable[] = {
    Var(QV_AP ".3.1.4.1", "admTrapServerIP", IpAddress, ReadWrite),
    Var(QV_AP ".3.1.4.2", "admUserStaNotify", Integer, ReadWrite, &adminEnableList), kEnd};

const QvSNMPVar adminPingSupportTable[] = {
    Var(QV_AP ".99.1.1.42", "pingControlSupported", Integer, ReadOnly), kEnd};

const QvSNMPVar adminPingControlTable[] = {
    Var(QV_AP ".3.1.6.1", "pingcontrol", Integer, ReadWrite, &adminEnableList), kEnd};

} // namespace mib
