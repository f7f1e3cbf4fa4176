#include "mib/MultiSSIDNewVars.h"

#include "mib/ApModeNames.h"
#include "mib/VarTable.h"

namespace mib {

using namespace table;

namespace {

const QvPairDef statePairs[] = {{0, "Disabled"}, {1, "Enabled"}, {0, nullptr}};
const QvPairDef enablePairs[] = {{0, "Disable"}, {1, "Enable"}, {0, nullptr}};
const QvPairDef authPairs[] = {{1, "Open System"},  {2, "Shared Key"},
                               {3, "Open System / Shared Key"},
                               {4, "WPA-PSK"},      {5, "WPA-EAP"},
                               {6, "WPA2-PSK"},     {7, "WPA2-EAP"},
                               {8, "WPA-Auto-PSK"}, {9, "WPA-Auto-EAP"},
                               {0, nullptr}};
const QvPairDef keyIndexPairs[] = {
    {1, "First"}, {2, "Second"}, {3, "Third"}, {4, "Fourth"}, {0, nullptr}};
const QvPairDef cipherPairs[] = {{1, "Auto"}, {2, "AES"}, {3, "TKIP"}, {0, nullptr}};
const QvPairDef keyTypePairs[] = {{2, "HEX"}, {1, "ASCII"}, {0, nullptr}};
const QvPairDef superG2Pairs[] = {{4, "Disable"}, {1, "Enable"}, {0, nullptr}};
const QvPairDef superG4Pairs[] = {{1, "Super G without Turbo"},
                                  {2, "Super G with Static Turbo"},
                                  {3, "Super G with Dynamic Turbo"},
                                  {4, "Disable"},
                                  {0, nullptr}};

} // namespace

QvOptionList mssidStateList(statePairs);
QvOptionList mssidEnableList(enablePairs);
QvOptionList mssidAuthList(authPairs);
QvOptionList mssidKeyIndexList(keyIndexPairs);
QvOptionList mssidCipherList(cipherPairs);
QvOptionList mssidKeyTypeList(keyTypePairs);
QvOptionList mssidSuperG2List(superG2Pairs);
QvOptionList mssidSuperG4List(superG4Pairs);
QvOptionList mssidApModeList(apModeOldNamePairs);
QvOptionList mssidApModeNewList(apModeNewNamePairs);

const QvSNMPVar mssidBackupRadiusTable[] = {
    Var(QV_AP ".99.1.1.45", "secBackupRadiusSupported", Integer, ReadOnly), kEnd};

#define APMODE(modes, superg)                                                                      \
    {Var(QV_AP ".2.1.1.1.1", "adAPMode", Integer, ReadWrite, &modes),                              \
     Var(QV_AP ".2.3.1.11.1", "adSuperMode", Integer, ReadWrite, &superg), kEnd}

const QvSNMPVar mssidApModeTables[2][2][3] = {
    {APMODE(mssidApModeList, mssidSuperG2List), APMODE(mssidApModeList, mssidSuperG4List)},
    {APMODE(mssidApModeNewList, mssidSuperG2List), APMODE(mssidApModeNewList, mssidSuperG4List)}};

#undef APMODE

const QvSNMPVar mssidStateTable[] = {
    Var(QV_AP ".2.9.3.1.1", "adMSSIDState", Integer, ReadWrite, &mssidStateList), kEnd};

const QvSNMPVar mssidNewVlanStateTable[] = {
    Var(QV_AP ".2.9.1.1.1", "adVlanState", Integer, ReadWrite, &mssidStateList), kEnd};

const QvSNMPVar mssidPriorityTable[] = {
    Var(QV_AP ".2.9.4.1.1.1", "adMSSIDPriorityState", Integer, ReadWrite, &mssidEnableList), kEnd};

const QvSNMPVar mssidGroupKeyTable[] = {
    Var(QV_AP ".2.5.1.1.6", "adSecGroupKeyUpdateInterval", Integer, ReadWrite), kEnd};

const QvSNMPVar mssidRadiusTable[] = {
    Var(QV_AP ".2.5.2.3", "adSecRADIUSServer", DisplayStr, ReadWrite),
    Var(QV_AP ".2.5.2.4", "adSecRADIUSPort", Integer, ReadWrite),
    Var(QV_AP ".2.5.2.5", "adSecRADIUSSecret", DisplayStr, ReadWrite), kEnd};

const QvSNMPVar mssidAccountTable[] = {
    Var(QV_AP ".2.5.1.1.9.1", "adSecAccountServer", DisplayStr, ReadWrite),
    Var(QV_AP ".2.5.1.1.10.1", "adSecAccountPort", Integer, ReadWrite),
    Var(QV_AP ".2.5.1.1.8.1", "adSecAccountMode", Integer, ReadWrite, &mssidEnableList), kEnd};

#define SSID_COLUMNS                                                                               \
    Var("", "ifIndex", Integer, NotAccess),                                                        \
        Var(QV_AP ".2.9.2.1.1", "adMSSIDIndex", Integer, NotAccess),                               \
        Var(QV_AP ".2.9.2.1.2", "adMSSIDIdvState", Integer, ReadWrite, &mssidStateList),           \
        Var(QV_AP ".2.9.2.1.3", "adMSSIDSSID", DisplayStr, ReadWrite),                             \
        Var(QV_AP ".2.9.2.1.4", "adMSSIDAuth", Integer, ReadWrite, &mssidAuthList),                \
        Var(QV_AP ".2.9.2.1.5", "adMSSIDEncryption", Integer, ReadWrite, &mssidStateList),         \
        Var(QV_AP ".2.9.2.1.6", "adMSSIDKeyIndex", Integer, ReadWrite, &mssidKeyIndexList),        \
        Var(QV_AP ".2.9.2.1.7", "adMSSIDKey", DisplayStr, ReadWrite),                              \
        Var(QV_AP ".2.9.2.1.8", "adVlanTagID", Integer, ReadWrite),                                \
        Var(QV_AP ".2.9.2.1.11", "adMSSIDCipherType", Integer, ReadWrite, &mssidCipherList),       \
        Var(QV_AP ".2.9.2.1.12", "adMSSIDPassPhrase", DisplayStr, ReadWrite),                      \
        Var(QV_AP ".2.9.2.1.13", "adMSSIDKeyType", Integer, ReadWrite, &mssidKeyTypeList)

const QvSNMPVar mssidNarrowTable[] = {SSID_COLUMNS, kEnd};

const QvSNMPVar mssidWideTable[] = {
    SSID_COLUMNS, Var(QV_AP ".2.9.2.1.14", "adMSSIDSuppress", Integer, ReadWrite, &mssidEnableList),
    Var(QV_AP ".2.9.2.1.18", "adMSSIDWmm", Integer, ReadWrite, &mssidEnableList), kEnd};

#undef SSID_COLUMNS

} // namespace mib
