#include "mib/WirelessVars.h"

#include "mib/Enterprise.h"

namespace mib {

#define WL_E QV_ENTERPRISE ".11.37.4"
#define WL_END {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}

namespace {
constexpr int I = QvSyntax::Integer;
constexpr int S = QvSyntax::DisplayStr;
constexpr int M = QvSyntax::MacAddress;
constexpr int RW = QvAccess::ReadWrite;
constexpr int RO = QvAccess::ReadOnly;
constexpr int NA = QvAccess::NotAccess;
constexpr int IV = QvAccess::Invalid;

const QvPairDef disableEnablePairs[] = {{0, "Disable"}, {1, "Enable"}, {0, nullptr}};
const QvPairDef superG2Pairs[] = {{4, "Disable"}, {1, "Enable"}, {0, nullptr}};
const QvPairDef superG3Pairs[] = {{1, "Super G without Turbo"},
                                  {3, "Super G with Dynamic Turbo"},
                                  {4, "Disable"},
                                  {0, nullptr}};
const QvPairDef superG4Pairs[] = {{1, "Super G without Turbo"},
                                  {2, "Super G with Static Turbo"},
                                  {3, "Super G with Dynamic Turbo"},
                                  {4, "Disable"},
                                  {0, nullptr}};
const QvPairDef wdsConsistentPairs[] = {{0, "nothing"}, {1, "consistent"}, {0, nullptr}};
const QvPairDef radioPairs[] = {{0, "Off"}, {1, "On"}, {0, nullptr}};
const QvPairDef getIpFromPairs[] = {{1, "Manual"}, {2, "Dynamic"}, {0, nullptr}};
const QvPairDef apModePairs[] = {{1, "Access Point"}, {2, "PtP Bridge"},  {3, "PtMP Bridge"},
                                 {4, "AP Repeater"},  {5, "AP Client"},   {6, "PtP Without"},
                                 {7, "P2MP Without"}, {0, nullptr}};
const QvPairDef apModeNewPairs[] = {{1, "Access Point"},      {2, "PtP Bridge"},
                                    {3, "PtMP Bridge"},       {4, "Universal Repeater"},
                                    {5, "Wireless Client"},   {6, "PtP Without"},
                                    {7, "P2MP Without"},      {0, nullptr}};
const QvPairDef wifiModePairs[] = {{0, "11g only"}, {1, "11b only"}, {2, "Mixed"}, {0, nullptr}};
const QvPairDef authenticationPairs[] = {{1, "Open System"},  {2, "Shared Key"},
                                         {3, "Open System / Shared Key"},
                                         {4, "WPA-PSK"},      {5, "WPA-EAP"},
                                         {6, "WPA2-PSK"},     {7, "WPA2-EAP"},
                                         {8, "WPA-Auto-PSK"}, {9, "WPA-Auto-EAP"},
                                         {0, nullptr}};
const QvPairDef validKeyPairs[] = {{1, "First"}, {2, "Second"}, {3, "Third"}, {4, "Fourth"},
                                   {0, nullptr}};
const QvPairDef keyTypePairs[] = {{2, "HEX"}, {1, "ASCII"}, {0, nullptr}};
const QvPairDef cipherPairs[] = {{1, "Auto"}, {2, "AES"}, {3, "TKIP"}, {0, nullptr}};
const QvPairDef disabledEnabledPairs[] = {{0, "Disabled"}, {1, "Enabled"}, {0, nullptr}};
const QvPairDef lowerDisabledPairs[] = {{0, "disabled"}, {1, "enabled"}, {0, nullptr}};
const QvPairDef lowerKeyIndexPairs[] = {{1, "first"}, {2, "second"}, {3, "third"},
                                        {4, "fourth"}, {0, nullptr}};
const QvPairDef refreshPairs[] = {{0, "nothing"}, {1, "refresh"}, {0, nullptr}};
} // namespace

QvOptionList wlDisableEnableList(disableEnablePairs);
QvOptionList wlSuperG2List(superG2Pairs);
QvOptionList wlSuperG3List(superG3Pairs);
QvOptionList wlSuperG4List(superG4Pairs);
QvOptionList wlWdsConsistentList(wdsConsistentPairs);
QvOptionList wlRadioList(radioPairs);
QvOptionList wlGetIpFromList(getIpFromPairs);
QvOptionList wlApModeList(apModePairs);
QvOptionList wlApModeNewNamesList(apModeNewPairs);
QvOptionList wlWifiModeList(wifiModePairs);
QvOptionList wlAuthenticationList(authenticationPairs);
QvOptionList wlValidKeyList(validKeyPairs);
QvOptionList wlKeyTypeList(keyTypePairs);
QvOptionList wlCipherList(cipherPairs);
QvOptionList wlDisabledEnabledList(disabledEnabledPairs);
QvOptionList wlLowerDisabledList(lowerDisabledPairs);
QvOptionList wlLowerKeyIndexList(lowerKeyIndexPairs);
QvOptionList wlRefreshList(refreshPairs);

#define V(oid, label, syn, acc, list) \
    {oid, label, syn, acc, list, nullptr, nullptr, nullptr, nullptr, nullptr}

const QvSNMPVar wlSsidTable[] = {
    V(WL_E ".1.1.1.1.1", "hSSID", S, IV, nullptr),
    V(WL_E ".1.1.1.2.1", "hSSIDBroadcast", I, IV, &wlDisableEnableList),
    V(WL_E ".1.1.1.3.1", "hChannel", I, IV, nullptr),
    V(WL_E ".1.1.1.4.1", "hChannelList", S, IV, nullptr),
    V(WL_E ".1.1.1.5.1", "hRadioFrequency", S, IV, nullptr),
    V(WL_E ".1.1.1.1.2", "hSSID", S, IV, nullptr),
    V(WL_E ".1.1.1.2.2", "hSSIDBroadcast", I, IV, &wlDisableEnableList),
    V(WL_E ".1.1.1.3.2", "hChannel", I, IV, nullptr),
    V(WL_E ".1.1.1.4.2", "hChannelList", S, IV, nullptr),
    V(WL_E ".1.1.1.5.2", "hRadioFrequency", S, IV, nullptr),
    WL_END};

const QvSNMPVar wlSuperGTable[] = {
    V(WL_E ".2.3.1.11", "adSuperMode", I, RW, &wlSuperG4List),
    WL_END};

const QvSNMPVar wlDynamicChannelTable[] = {
    V(WL_E ".2.3.1.15", "adDynamicChannelList", S, RO, nullptr),
    WL_END};

const QvSNMPVar wlStaticChannelTable[] = {
    V(WL_E ".2.3.1.16", "adStaticChannelList", S, RO, nullptr),
    WL_END};

const QvSNMPVar wlWdsConsistencyTable[] = {
    V(WL_E ".2.3.1.26.1", "multioverwdsconsistent", I, RW, &wlWdsConsistentList),
    WL_END};

const QvSNMPVar wlRadioTable[] = {
    V(WL_E ".2.3.1.12.1", "adRadioWave", I, RW, &wlRadioList),
    WL_END};

const QvSNMPVar wlFirmwareTable[] = {
    V(WL_E ".4.1.1.1", "Firmware Version", S, RO, nullptr),
    V(WL_E ".4.1.1.2", "MAC Address", M, RO, nullptr),
    V(WL_E ".4.1.1.3", "Get IP From", I, RO, &wlGetIpFromList),
    V(WL_E ".4.1.1.4", "IP Address", QvSyntax::IpAddress, RO, nullptr),
    V(WL_E ".4.1.1.5", "Subnet Mask", QvSyntax::IpAddress, RO, nullptr),
    V(WL_E ".4.1.1.6", "Default Gateway", QvSyntax::IpAddress, RO, nullptr),
    WL_END};

const QvSNMPVar wlAutoScanTable[] = {
    V(WL_E ".2.3.1.14.1", "adAutoChannelScan", I, RW, &wlDisableEnableList),
    WL_END};

const QvSNMPVar wlApModeTable[] = {
    V(WL_E ".2.1.1.1.1", "adAPMode", I, RW, &wlApModeList),
    V(WL_E ".2.2.1.2.1.1", "adPtPRemoteAPMACAddress", M, RW, nullptr),
    V(WL_E ".2.2.1.2.1.2", "adPtPRemoteAPMACAddress", M, RW, nullptr),
    V(WL_E ".2.2.1.2.1.3", "adPtPRemoteAPMACAddress", M, RW, nullptr),
    V(WL_E ".2.2.1.2.1.4", "adPtPRemoteAPMACAddress", M, RW, nullptr),
    V(WL_E ".2.2.1.2.1.5", "adPtPRemoteAPMACAddress", M, RW, nullptr),
    V(WL_E ".2.2.1.2.1.6", "adPtPRemoteAPMACAddress", M, RW, nullptr),
    V(WL_E ".2.2.1.2.1.7", "adPtPRemoteAPMACAddress", M, RW, nullptr),
    V(WL_E ".2.2.1.2.1.8", "adPtPRemoteAPMACAddress", M, RW, nullptr),
    WL_END};

const QvSNMPVar wlWifiModeTable[] = {
    V(WL_E ".2.3.1.24", "adWIFIMode", I, RW, &wlWifiModeList),
    WL_END};

// The repeater's root and the wireless client's root are two objects.
const QvSNMPVar wlRepeaterTable[] = {
    V(WL_E ".2.1.1.3.1", "adAPRRootAPMACAddress", M, RW, nullptr),
    V(WL_E ".1.1.1.1.1", "hSSID", S, RW, nullptr),
    V(WL_E ".2.1.1.4.1", "adAPCRootAPMACAddress", M, RW, nullptr),
    WL_END};

const QvSNMPVar wlSecurityTable[] = {
    V(WL_E ".2.5.1.1.1.1", "adSecAuthentication", I, IV, &wlAuthenticationList),
    V(WL_E ".2.5.1.1.2.1", "adSecEncryption", I, IV, &wlDisableEnableList),
    V(WL_E ".2.5.1.1.3.1", "adSecValidKey", I, IV, &wlValidKeyList),
    V(WL_E ".2.5.1.1.1.2", "adSecAuthentication", I, IV, &wlAuthenticationList),
    V(WL_E ".2.5.1.1.2.2", "adSecEncryption", I, IV, &wlDisableEnableList),
    V(WL_E ".2.5.1.1.3.2", "adSecValidKey", I, IV, &wlValidKeyList),
    V(WL_E ".2.5.3.1.1.1.1", "adSecKey-80211a-1", S, IV, nullptr),
    V(WL_E ".2.5.3.1.1.1.2", "adSecKey-80211a-2", S, IV, nullptr),
    V(WL_E ".2.5.3.1.1.1.3", "adSecKey-80211a-3", S, IV, nullptr),
    V(WL_E ".2.5.3.1.1.1.4", "adSecKey-80211a-4", S, IV, nullptr),
    V(WL_E ".2.5.3.1.1.2.1", "adSecKey-80211g-1", S, IV, nullptr),
    V(WL_E ".2.5.3.1.1.2.2", "adSecKey-80211g-2", S, IV, nullptr),
    V(WL_E ".2.5.3.1.1.2.3", "adSecKey-80211g-3", S, IV, nullptr),
    V(WL_E ".2.5.3.1.1.2.4", "adSecKey-80211g-4", S, IV, nullptr),
    WL_END};

const QvSNMPVar wlKeyTypeTable[] = {
    V(WL_E ".2.5.1.1.7", "adSecKeyType", I, RW, &wlKeyTypeList),
    WL_END};

const QvSNMPVar wlRadiusTable[] = {
    V(WL_E ".2.5.1.1.5.1", "adSecCipherType", I, RW, &wlCipherList),
    V(WL_E ".2.5.2.4.0", "Sec RADIUS Port", I, RW, nullptr),
    V(WL_E ".2.5.1.1.6.1", "adSecGroupKeyUpdateInterval", I, RW, nullptr),
    V(WL_E ".2.5.2.3.0", "Sec RADIUS Server", S, RW, nullptr),
    V(WL_E ".2.5.2.5.0", "Sec RADIUS Secret", S, RW, nullptr),
    WL_END};

const QvSNMPVar wlAccountingTable[] = {
    V(WL_E ".2.5.1.1.8.1", "adSecAccountMode", I, RW, &wlDisableEnableList),
    V(WL_E ".2.5.1.1.9.1", "adSecAccountServer", S, RW, nullptr),
    V(WL_E ".2.5.1.1.10.1", "adSecAccountPort", I, RW, nullptr),
    WL_END};

const QvSNMPVar wlBackupRadiusSupportTable[] = {
    V(WL_E ".99.1.1.45", "secBackupRadiusSupported", I, RO, nullptr),
    WL_END};

const QvSNMPVar wlBackupAccountSupportTable[] = {
    V(WL_E ".99.1.1.46", "secBackupAccountSupported", I, RO, nullptr),
    WL_END};

const QvSNMPVar wlBackupRadiusTable[] = {
    V(WL_E ".2.5.2.6", "adSecbackupRADIUSServer", S, RW, nullptr),
    V(WL_E ".2.5.2.7", "adSecbackupRADIUSPort", I, RW, nullptr),
    V(WL_E ".2.5.2.9", "adSecbackupRADIUSSecret", S, RW, nullptr),
    V(WL_E ".2.5.2.10", "adSecbackupRADIUSStatus", I, RW, &wlDisableEnableList),
    WL_END};

const QvSNMPVar wlBackupAccountTable[] = {
    V(WL_E ".2.5.1.1.11.1", "adSecBackupAccountMode", I, RW, &wlDisableEnableList),
    V(WL_E ".2.5.1.1.12.1", "adSecBackupAccountServer", S, RW, nullptr),
    V(WL_E ".2.5.1.1.13.1", "adSecBackupAccountPort", I, RW, nullptr),
    WL_END};

const QvSNMPVar wlPassphraseTable[] = {
    V(WL_E ".2.5.1.1.5.1", "adSecCipherType", I, RW, &wlCipherList),
    V(WL_E ".2.5.1.1.6.1", "adSecGroupKeyUpdateInterval", I, RW, nullptr),
    V(WL_E ".2.5.1.1.4.1", "adSecPassPhrase", S, RW, nullptr),
    WL_END};

const QvSNMPVar wlMssidStateTable[] = {
    V(WL_E ".2.9.3.1.1", "adMSSIDState", I, RW, &wlDisabledEnabledList),
    WL_END};

const QvSNMPVar wlMssidTable[] = {
    V("", "ifIndex", I, NA, nullptr),
    V(WL_E ".2.9.2.1.1", "adMSSIDIndex", I, NA, nullptr),
    V(WL_E ".2.9.2.1.2", "adMSSIDIdvState", I, RW, &wlDisabledEnabledList),
    V(WL_E ".2.9.2.1.3", "adMSSIDSSID", S, RW, nullptr),
    V(WL_E ".2.9.2.1.4", "adMSSIDAuth", I, RW, &wlAuthenticationList),
    V(WL_E ".2.9.2.1.5", "adMSSIDEncryption", I, RW, &wlDisabledEnabledList),
    V(WL_E ".2.9.2.1.6", "adMSSIDKeyIndex", I, RW, &wlValidKeyList),
    V(WL_E ".2.9.2.1.7", "adMSSIDKey", S, RW, nullptr),
    V(WL_E ".2.9.2.1.8", "adVlanTagID", I, RW, nullptr),
    V(WL_E ".2.9.2.1.11", "adMSSIDCipherType", I, RW, &wlCipherList),
    V(WL_E ".2.9.2.1.12", "adMSSIDPassPhrase", S, RW, nullptr),
    V(WL_E ".2.9.2.1.13", "adMSSIDKeyType", I, RW, &wlKeyTypeList),
    WL_END};

const QvSNMPVar wlMssidSecurityTable[] = {
    V(WL_E ".2.9.2.1.5.1.2", "adMSSIDEncryption", I, RW, &wlDisableEnableList),
    V(WL_E ".2.9.2.1.5.1.3", "adMSSIDEncryption", I, RW, &wlDisableEnableList),
    V(WL_E ".2.9.2.1.5.1.4", "adMSSIDEncryption", I, RW, &wlDisableEnableList),
    V(WL_E ".2.9.2.1.5.1.5", "adMSSIDEncryption", I, RW, &wlDisableEnableList),
    V(WL_E ".2.9.2.1.5.1.6", "adMSSIDEncryption", I, RW, &wlDisableEnableList),
    V(WL_E ".2.9.2.1.5.1.7", "adMSSIDEncryption", I, RW, &wlDisableEnableList),
    V(WL_E ".2.9.2.1.5.1.8", "adMSSIDEncryption", I, RW, &wlDisableEnableList),
    V(WL_E ".2.9.2.1.4.1.2", "adMSSIDAuth", I, RW, &wlAuthenticationList),
    V(WL_E ".2.9.2.1.4.1.3", "adMSSIDAuth", I, RW, &wlAuthenticationList),
    V(WL_E ".2.9.2.1.4.1.4", "adMSSIDAuth", I, RW, &wlAuthenticationList),
    V(WL_E ".2.9.2.1.4.1.5", "adMSSIDAuth", I, RW, &wlAuthenticationList),
    V(WL_E ".2.9.2.1.4.1.6", "adMSSIDAuth", I, RW, &wlAuthenticationList),
    V(WL_E ".2.9.2.1.4.1.7", "adMSSIDAuth", I, RW, &wlAuthenticationList),
    V(WL_E ".2.9.2.1.4.1.8", "adMSSIDAuth", I, RW, &wlAuthenticationList),
    WL_END};

const QvSNMPVar wlVlanTable[] = {
    V(WL_E ".2.9.1.1.1.1", "adVlanState", I, RW, &wlLowerDisabledList),
    V(WL_E ".2.9.2.1.2.1.2", "adMSSIDState", I, RW, &wlLowerDisabledList),
    V(WL_E ".2.9.2.1.2.1.3", "adMSSIDState", I, RW, &wlLowerDisabledList),
    V(WL_E ".2.9.2.1.2.1.4", "adMSSIDState", I, RW, &wlLowerDisabledList),
    V(WL_E ".2.9.2.1.5.1.2", "adMSSIDEncryption", I, RW, &wlLowerDisabledList),
    V(WL_E ".2.9.2.1.5.1.3", "adMSSIDEncryption", I, RW, &wlLowerDisabledList),
    V(WL_E ".2.9.2.1.5.1.4", "adMSSIDEncryption", I, RW, &wlLowerDisabledList),
    WL_END};

const QvSNMPVar wlGuestKeyIndexTable[] = {
    V(WL_E ".2.9.2.1.6.1.2", "adMSSIDKeyIndex", I, RW, &wlLowerKeyIndexList),
    V(WL_E ".2.9.2.1.6.1.3", "adMSSIDKeyIndex", I, RW, &wlLowerKeyIndexList),
    V(WL_E ".2.9.2.1.6.1.4", "adMSSIDKeyIndex", I, RW, &wlLowerKeyIndexList),
    WL_END};

const QvSNMPVar wlRefreshTable[] = {
    V(WL_E ".2.8.1.1.1", "adRefresh", I, RW, &wlRefreshList),
    WL_END};

const QvSNMPVar wlSurveyTable[] = {
    V("", "Index", I, NA, nullptr),
    V(WL_E ".2.8.2.1.2", " Type", S, RO, nullptr),
    V(WL_E ".2.8.2.1.3", " Channel", I, RO, nullptr),
    V(WL_E ".2.8.2.1.4", " Signal (%)", I, RO, nullptr),
    V(WL_E ".2.8.2.1.5", " BSSID", M, RO, nullptr),
    V(WL_E ".2.8.2.1.6", " Security ", S, RO, nullptr),
    V(WL_E ".2.8.2.1.7", " SSID", S, RO, nullptr),
    WL_END};

#undef V
#undef WL_END
#undef WL_E

} // namespace mib
