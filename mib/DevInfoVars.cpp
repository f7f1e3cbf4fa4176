#include "mib/DevInfoVars.h"

#include "mib/ApModeNames.h"
#include "mib/VarTable.h"

namespace mib {

using namespace table;

namespace {
const QvPairDef superModeValuePairs[] = {{4, "Disable"}, {1, "Enable"}, {0, nullptr}};
const QvPairDef statusSuperModePairs[] = {{1, "Super G without Turbo"},
                                          {2, "Super G with Static Turbo"},
                                          {3, "Super G with Dynamic Turbo"},
                                          {4, "Disabled"},
                                          {0, nullptr}};
const QvPairDef getIpFromPairs[] = {{1, "Manual"}, {2, "Dynamic"}, {0, nullptr}};
} // namespace

QvOptionList devSuperModeValueList(superModeValuePairs);
QvOptionList devApModeList(apModeNewNamePairs);
QvOptionList devApModeOldList(apModeOldNamePairs);
QvOptionList devStatusSuperModeList(statusSuperModePairs);
QvOptionList devGetIpFromList(getIpFromPairs);

const QvSNMPVar devSuperGVars[] = {
    Var(QV_AP ".2.3.1.11", "adSuperMode", Integer, ReadOnly, &devSuperModeValueList), kEnd};

const QvSNMPVar devApModeVars[] = {
    Var(QV_AP ".2.1.1.1.1", "adAPMode", Integer, ReadWrite, &devApModeList),
    Var(QV_AP ".2.3.1.11.1", "adSuperMode", Integer, Invalid, &devStatusSuperModeList),
    kEnd};

#define BAND_STATUS(b)                                                                             \
    Var(QV_AP ".4.2.1.1." b, "stSSID", DisplayStr, ReadOnly),                                      \
        Var(QV_AP ".4.2.1.2." b, "stChannel", Integer, ReadOnly),                                  \
        Var(QV_AP ".4.2.1.3." b, "stSuperMode", Integer, ReadOnly, &devStatusSuperModeList),       \
        Var(QV_AP ".4.2.1.4." b, "stDataRate", DisplayStr, ReadOnly),                              \
        Var(QV_AP ".4.2.1.5." b, "stSecLevelAuth", DisplayStr, ReadOnly),                          \
        Var(QV_AP ".4.2.1.6." b, "stSecLevelPriv", DisplayStr, ReadOnly), kEnd

const QvSNMPVar devBand1StatusVars[] = {BAND_STATUS("1")};
const QvSNMPVar devBand2StatusVars[] = {BAND_STATUS("2")};

const QvSNMPVar devDeviceVars[] = {
    Var(QV_AP ".4.1.1.1", "Firmware Version", DisplayStr, ReadOnly),
    Var(QV_AP ".4.1.1.2", "MAC Address", MacAddress, ReadOnly),
    Var(QV_AP ".4.1.1.3", "Get IP From", Integer, ReadOnly, &devGetIpFromList),
    Var(QV_AP ".4.1.1.4", "IP Address", IpAddress, ReadOnly),
    Var(QV_AP ".4.1.1.5", "Subnet Mask", IpAddress, ReadOnly),
    Var(QV_AP ".4.1.1.6", "Default Gateway", IpAddress, ReadOnly),
    kEnd};

const QvSNMPVar devApStatusVars[] = {
    Var(QV_AP ".4.1.2.1", "deviceInformationCpuUtilization", Integer, ReadOnly),
    Var(QV_AP ".4.1.2.2", "deviceInformationMemUtilization", Integer, ReadOnly),
    kEnd};

#undef BAND_STATUS

} // namespace mib
