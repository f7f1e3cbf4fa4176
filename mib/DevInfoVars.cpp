#include "mib/DevInfoVars.h"

#include "mib/Enterprise.h"

namespace mib {

#define AP QV_ENTERPRISE ".11.37.4"
#define RO QvAccess::ReadOnly
#define VAR(oid, label, syntax, access, list)                                                  \
    {oid, label, syntax, access, list, nullptr, nullptr, nullptr, nullptr, nullptr}
#define END {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}

namespace {
const QvPairDef superModeValuePairs[] = {{4, "Disable"}, {1, "Enable"}, {0, nullptr}};
const QvPairDef apModePairs[] = {{1, "Access Point"},     {2, "PtP Bridge"},
                                 {3, "PtMP Bridge"},      {4, "Universal Repeater"},
                                 {5, "Wireless Client"},  {6, "PtP Without"},
                                 {7, "P2MP Without"},     {0, nullptr}};
const QvPairDef apModeOldPairs[] = {{1, "Access Point"}, {2, "PtP Bridge"}, {3, "PtMP Bridge"},
                                    {4, "AP Repeater"},  {5, "AP Client"},  {6, "PtP Without"},
                                    {7, "P2MP Without"}, {0, nullptr}};
const QvPairDef statusSuperModePairs[] = {{1, "Super G without Turbo"},
                                          {2, "Super G with Static Turbo"},
                                          {3, "Super G with Dynamic Turbo"},
                                          {4, "Disabled"},
                                          {0, nullptr}};
const QvPairDef getIpFromPairs[] = {{1, "Manual"}, {2, "Dynamic"}, {0, nullptr}};
} // namespace

QvOptionList devSuperModeValueList(superModeValuePairs);
QvOptionList devApModeList(apModePairs);
QvOptionList devApModeOldList(apModeOldPairs);
QvOptionList devStatusSuperModeList(statusSuperModePairs);
QvOptionList devGetIpFromList(getIpFromPairs);

const QvSNMPVar devSuperGVars[] = {
    VAR(AP ".2.3.1.11", "adSuperMode", QvSyntax::Integer, RO, &devSuperModeValueList), END};

const QvSNMPVar devApModeVars[] = {
    VAR(AP ".2.1.1.1.1", "adAPMode", QvSyntax::Integer, QvAccess::ReadWrite, &devApModeList),
    VAR(AP ".2.3.1.11.1", "adSuperMode", QvSyntax::Integer, QvAccess::Invalid,
        &devStatusSuperModeList),
    END};

#define BAND_STATUS(b)                                                                         \
    VAR(AP ".4.2.1.1." b, "stSSID", QvSyntax::DisplayStr, RO, nullptr),                        \
        VAR(AP ".4.2.1.2." b, "stChannel", QvSyntax::Integer, RO, nullptr),                    \
        VAR(AP ".4.2.1.3." b, "stSuperMode", QvSyntax::Integer, RO, &devStatusSuperModeList),  \
        VAR(AP ".4.2.1.4." b, "stDataRate", QvSyntax::DisplayStr, RO, nullptr),                \
        VAR(AP ".4.2.1.5." b, "stSecLevelAuth", QvSyntax::DisplayStr, RO, nullptr),            \
        VAR(AP ".4.2.1.6." b, "stSecLevelPriv", QvSyntax::DisplayStr, RO, nullptr), END

const QvSNMPVar devBand1StatusVars[] = {BAND_STATUS("1")};
const QvSNMPVar devBand2StatusVars[] = {BAND_STATUS("2")};

const QvSNMPVar devDeviceVars[] = {
    VAR(AP ".4.1.1.1", "Firmware Version", QvSyntax::DisplayStr, RO, nullptr),
    VAR(AP ".4.1.1.2", "MAC Address", QvSyntax::MacAddress, RO, nullptr),
    VAR(AP ".4.1.1.3", "Get IP From", QvSyntax::Integer, RO, &devGetIpFromList),
    VAR(AP ".4.1.1.4", "IP Address", QvSyntax::IpAddress, RO, nullptr),
    VAR(AP ".4.1.1.5", "Subnet Mask", QvSyntax::IpAddress, RO, nullptr),
    VAR(AP ".4.1.1.6", "Default Gateway", QvSyntax::IpAddress, RO, nullptr),
    END};

const QvSNMPVar devApStatusVars[] = {
    VAR(AP ".4.1.2.1", "deviceInformationCpuUtilization", QvSyntax::Integer, RO, nullptr),
    VAR(AP ".4.1.2.2", "deviceInformationMemUtilization", QvSyntax::Integer, RO, nullptr),
    END};

#undef BAND_STATUS
#undef END
#undef VAR
#undef RO
#undef AP

} // namespace mib
