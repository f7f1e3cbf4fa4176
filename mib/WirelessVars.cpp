#include "mib/WirelessVars.h"

#include "mib/ApModeNames.h"
#include "mib/VarTable.h"

namespace mib {

using namespace table;

namespace {
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
QvOptionList wlApModeList(apModeOldNamePairs);
QvOptionList wlApModeNewNamesList(apModeNewNamePairs);
QvOptionList wlWifiModeList(wifiModePairs);
QvOptionList wlAuthenticationList(authenticationPairs);
QvOptionList wlValidKeyList(validKeyPairs);
QvOptionList wlKeyTypeList(keyTypePairs);
QvOptionList wlCipherList(cipherPairs);
QvOptionList wlDisabledEnabledList(disabledEnabledPairs);
QvOptionList wlLowerDisabledList(lowerDisabledPairs);
QvOptionList wlLowerKeyIndexList(lowerKeyIndexPairs);
QvOptionList wlRefreshList(refreshPairs);

const QvSNMPVar wlSsidTable[] = {
    Var(QV_AP ".1.1.1.1.1", "hSSID", S, IV),
    Var(QV_AP ".1.1.1.2.1", "hSSIDBroadcast", I, IV, &wlDisableEnableList),
    Var(QV_AP ".1.1.1.3.1", "hChannel", I, IV),
    Var(QV_AP ".1.1.1.4.1", "hChannelList", S, IV),
    Var(QV_AP ".1.1.1.5.1", "hRadioFrequency", S, IV),
    Var(QV_AP ".1.1.1.1.2", "hSSID", S, IV),
    Var(QV_AP ".1.1.1.2.2", "hSSIDBroadcast", I, IV, &wlDisableEnableList),
    Var(QV_AP ".1.1.1.3.2", "hChannel", I, IV),
    Var(QV_AP ".1.1.1.4.2", "hChannelList", S, IV),
    Var(QV_AP ".1.1.1.5.2", "hRadioFrequency", S, IV),
    kEnd};

const QvSNMPVar wlSuperGTable[] = {
    Var(QV_AP ".2.3.1.11", "adSuperMode", I, RW, &wlSuperG4List),
    kEnd};

const QvSNMPVar wlDynamicChannelTable[] = {
    Var(QV_AP ".2.3.1.15", "adDynamicChannelList", S, RO),
    kEnd};

const QvSNMPVar wlStaticChannelTable[] = {
    Var(QV_AP ".2.3.1.16", "adStaticChannelList", S, RO),
    kEnd};

const QvSNMPVar wlWdsConsistencyTable[] = {
    Var(QV_AP ".2.3.1.26.1", "multioverwdsconsistent", I, RW, &wlWdsConsistentList),
    kEnd};

const QvSNMPVar wlRadioTable[] = {
    Var(QV_AP ".2.3.1.12.1", "adRadioWave", I, RW, &wlRadioList),
    kEnd};

const QvSNMPVar wlFirmwareTable[] = {
    Var(QV_AP ".4.1.1.1", "Firmware Version", S, RO),
    Var(QV_AP ".4.1.1.2", "MAC Address", M, RO),
    Var(QV_AP ".4.1.1.3", "Get IP From", I, RO, &wlGetIpFromList),
    Var(QV_AP ".4.1.1.4", "IP Address", IpAddress, RO),
    Var(QV_AP ".4.1.1.5", "Subnet Mask", IpAddress, RO),
    Var(QV_AP ".4.1.1.6", "Default Gateway", IpAddress, RO),
    kEnd};

const QvSNMPVar wlAutoScanTable[] = {
    Var(QV_AP ".2.3.1.14.1", "adAutoChannelScan", I, RW, &wlDisableEnableList),
    kEnd};

const QvSNMPVar wlApModeTable[] = {
    Var(QV_AP ".2.1.1.1.1", "adAPMode", I, RW, &wlApModeList),
    Var(QV_AP ".2.2.1.2.1.1", "adPtPRemoteAPMACAddress", M, RW),
    Var(QV_AP ".2.2.1.2.1.2", "adPtPRemoteAPMACAddress", M, RW),
    Var(QV_AP ".2.2.1.2.1.3", "adPtPRemoteAPMACAddress", M, RW),
    Var(QV_AP ".2.2.1.2.1.4", "adPtPRemoteAPMACAddress", M, RW),
    Var(QV_AP ".2.2.1.2.1.5", "adPtPRemoteAPMACAddress", M, RW),
    Var(QV_AP ".2.2.1.2.1.6", "adPtPRemoteAPMACAddress", M, RW),
    Var(QV_AP ".2.2.1.2.1.7", "adPtPRemoteAPMACAddress", M, RW),
    Var(QV_AP ".2.2.1.2.1.8", "adPtPRemoteAPMACAddress", M, RW),
    kEnd};

const QvSNMPVar wlWifiModeTable[] = {
    Var(QV_AP ".2.3.1.24", "adWIFIMode", I, RW, &wlWifiModeList),
    kEnd};

// The repeater's root and the wireless client's root are two objects.
const QvSNMPVar wlRepeaterTable[] = {
    Var(QV_AP ".2.1.1.3.1", "adAPRRootAPMACAddress", M, RW),
    Var(QV_AP ".1.1.1.1.1", "hSSID", S, RW),
    Var(QV_AP ".2.1.1.4.1", "adAPCRootAPMACAddress", M, RW),
    kEnd};

const QvSNMPVar wlSecurityTable[] = {
    Var(QV_AP ".2.5.1.1.1.1", "adSecAuthentication", I, IV, &wlAuthenticationList),
    Var(QV_AP ".2.5.1.1.2.1", "adSecEncryption", I, IV, &wlDisableEnableList),
    Var(QV_AP ".2.5.1.1.3.1", "adSecValidKey", I, IV, &wlValidKeyList),
    Var(QV_AP ".2.5.1.1.1.2", "adSecAuthentication", I, IV, &wlAuthenticationList),
    Var(QV_AP ".2.5.1.1.2.2", "adSecEncryption", I, IV, &wlDisableEnableList),
    Var(QV_AP ".2.5.1.1.3.2", "adSecValidKey", I, IV, &wlValidKeyList),
    Var(QV_AP ".2.5.3.1.1.1.1", "adSecKey-80211a-1", S, IV),
    Var(QV_AP ".2.5.3.1.1.1.2", "adSecKey-80211a-2", S, IV),
    Var(QV_AP ".2.5.3.1.1.1.3", "adSecKey-80211a-3", S, IV),
    Var(QV_AP ".2.5.3.1.1.1.4", "adSecKey-80211a-4", S, IV),
    Var(QV_AP ".2.5.3.1.1.2.1", "adSecKey-80211g-1", S, IV),
    Var(QV_AP ".2.5.3.1.1.2.2", "adSecKey-80211g-2", S, IV),
    Var(QV_AP ".2.5.3.1.1.2.3", "adSecKey-80211g-3", S, IV),
    Var(QV_AP ".2.5.3.1.1.2.4", "adSecKey-80211g-4", S, IV),
    kEnd};

const QvSNMPVar wlKeyTypeTable[] = {
    Var(QV_AP ".2.5.1.1.7", "adSecKeyType", I, RW, &wlKeyTypeList),
    kEnd};

const QvSNMPVar wlRadiusTable[] = {
    Var(QV_AP ".2.5.1.1.5.1", "adSecCipherType", I, RW, &wlCipherList),
    Var(QV_AP ".2.5.2.4.0", "Sec RADIUS Port", I, RW),
    Var(QV_AP ".2.5.1.1.6.1", "adSecGroupKeyUpdateInterval", I, RW),
    Var(QV_AP ".2.5.2.3.0", "Sec RADIUS Server", S, RW),
    Var(QV_AP ".2.5.2.5.0", "Sec RADIUS Secret", S, RW),
    kEnd};

const QvSNMPVar wlAccountingTable[] = {
    Var(QV_AP ".2.5.1.1.8.1", "adSecAccountMode", I, RW, &wlDisableEnableList),
    Var(QV_AP ".2.5.1.1.9.1", "adSecAccountServer", S, RW),
    Var(QV_AP ".2.5.1.1.10.1", "adSecAccountPort", I, RW),
    kEnd};

const QvSNMPVar wlBackupRadiusSupportTable[] = {
    Var(QV_AP ".99.1.1.45", "secBackupRadiusSupported", I, RO),
    kEnd};

const QvSNMPVar wlBackupAccountSupportTable[] = {
    Var(QV_AP ".99.1.1.46", "secBackupAccountSupported", I, RO),
    kEnd};

const QvSNMPVar wlBackupRadiusTable[] = {
    Var(QV_AP ".2.5.2.6", "adSecbackupRADIUSServer", S, RW),
    Var(QV_AP ".2.5.2.7", "adSecbackupRADIUSPort", I, RW),
    Var(QV_AP ".2.5.2.9", "adSecbackupRADIUSSecret", S, RW),
    Var(QV_AP ".2.5.2.10", "adSecbackupRADIUSStatus", I, RW, &wlDisableEnableList),
    kEnd};

const QvSNMPVar wlBackupAccountTable[] = {
    Var(QV_AP ".2.5.1.1.11.1", "adSecBackupAccountMode", I, RW, &wlDisableEnableList),
    Var(QV_AP ".2.5.1.1.12.1", "adSecBackupAccountServer", S, RW),
    Var(QV_AP ".2.5.1.1.13.1", "adSecBackupAccountPort", I, RW),
    kEnd};

const QvSNMPVar wlPassphraseTable[] = {
    Var(QV_AP ".2.5.1.1.5.1", "adSecCipherType", I, RW, &wlCipherList),
    Var(QV_AP ".2.5.1.1.6.1", "adSecGroupKeyUpdateInterval", I, RW),
    Var(QV_AP ".2.5.1.1.4.1", "adSecPassPhrase", S, RW),
    kEnd};

const QvSNMPVar wlMssidStateTable[] = {
    Var(QV_AP ".2.9.3.1.1", "adMSSIDState", I, RW, &wlDisabledEnabledList),
    kEnd};

const QvSNMPVar wlMssidTable[] = {
    Var("", "ifIndex", I, NA),
    Var(QV_AP ".2.9.2.1.1", "adMSSIDIndex", I, NA),
    Var(QV_AP ".2.9.2.1.2", "adMSSIDIdvState", I, RW, &wlDisabledEnabledList),
    Var(QV_AP ".2.9.2.1.3", "adMSSIDSSID", S, RW),
    Var(QV_AP ".2.9.2.1.4", "adMSSIDAuth", I, RW, &wlAuthenticationList),
    Var(QV_AP ".2.9.2.1.5", "adMSSIDEncryption", I, RW, &wlDisabledEnabledList),
    Var(QV_AP ".2.9.2.1.6", "adMSSIDKeyIndex", I, RW, &wlValidKeyList),
    Var(QV_AP ".2.9.2.1.7", "adMSSIDKey", S, RW),
    Var(QV_AP ".2.9.2.1.8", "adVlanTagID", I, RW),
    Var(QV_AP ".2.9.2.1.11", "adMSSIDCipherType", I, RW, &wlCipherList),
    Var(QV_AP ".2.9.2.1.12", "adMSSIDPassPhrase", S, RW),
    Var(QV_AP ".2.9.2.1.13", "adMSSIDKeyType", I, RW, &wlKeyTypeList),
    kEnd};

const QvSNMPVar wlMssidSecurityTable[] = {
    Var(QV_AP ".2.9.2.1.5.1.2", "adMSSIDEncryption", I, RW, &wlDisableEnableList),
    Var(QV_AP ".2.9.2.1.5.1.3", "adMSSIDEncryption", I, RW, &wlDisableEnableList),
    Var(QV_AP ".2.9.2.1.5.1.4", "adMSSIDEncryption", I, RW, &wlDisableEnableList),
    Var(QV_AP ".2.9.2.1.5.1.5", "adMSSIDEncryption", I, RW, &wlDisableEnableList),
    Var(QV_AP ".2.9.2.1.5.1.6", "adMSSIDEncryption", I, RW, &wlDisableEnableList),
    Var(QV_AP ".2.9.2.1.5.1.7", "adMSSIDEncryption", I, RW, &wlDisableEnableList),
    Var(QV_AP ".2.9.2.1.5.1.8", "adMSSIDEncryption", I, RW, &wlDisableEnableList),
    Var(QV_AP ".2.9.2.1.4.1.2", "adMSSIDAuth", I, RW, &wlAuthenticationList),
    Var(QV_AP ".2.9.2.1.4.1.3", "adMSSIDAuth", I, RW, &wlAuthenticationList),
    Var(QV_AP ".2.9.2.1.4.1.4", "adMSSIDAuth", I, RW, &wlAuthenticationList),
    Var(QV_AP ".2.9.2.1.4.1.5", "adMSSIDAuth", I, RW, &wlAuthenticationList),
    Var(QV_AP ".2.9.2.1.4.1.6", "adMSSIDAuth", I, RW, &wlAuthenticationList),
    Var(QV_AP ".2.9.2.1.4.1.7", "adMSSIDAuth", I, RW, &wlAuthenticationList),
    Var(QV_AP ".2.9.2.1.4.1.8", "adMSSIDAuth", I, RW, &wlAuthenticationList),
    kEnd};

const QvSNMPVar wlVlanTable[] = {
    Var(QV_AP ".2.9.1.1.1.1", "adVlanState", I, RW, &wlLowerDisabledList),
    Var(QV_AP ".2.9.2.1.2.1.2", "adMSSIDState", I, RW, &wlLowerDisabledList),
    Var(QV_AP ".2.9.2.1.2.1.3", "adMSSIDState", I, RW, &wlLowerDisabledList),
    Var(QV_AP ".2.9.2.1.2.1.4", "adMSSIDState", I, RW, &wlLowerDisabledList),
    Var(QV_AP ".2.9.2.1.5.1.2", "adMSSIDEncryption", I, RW, &wlLowerDisabledList),
    Var(QV_AP ".2.9.2.1.5.1.3", "adMSSIDEncryption", I, RW, &wlLowerDisabledList),
    Var(QV_AP ".2.9.2.1.5.1.4", "adMSSIDEncryption", I, RW, &wlLowerDisabledList),
    kEnd};

const QvSNMPVar wlGuestKeyIndexTable[] = {
    Var(QV_AP ".2.9.2.1.6.1.2", "adMSSIDKeyIndex", I, RW, &wlLowerKeyIndexList),
    Var(QV_AP ".2.9.2.1.6.1.3", "adMSSIDKeyIndex", I, RW, &wlLowerKeyIndexList),
    Var(QV_AP ".2.9.2.1.6.1.4", "adMSSIDKeyIndex", I, RW, &wlLowerKeyIndexList),
    kEnd};

const QvSNMPVar wlRefreshTable[] = {
    Var(QV_AP ".2.8.1.1.1", "adRefresh", I, RW, &wlRefreshList),
    kEnd};

const QvSNMPVar wlSurveyTable[] = {
    Var("", "Index", I, NA),
    Var(QV_AP ".2.8.2.1.2", " Type", S, RO),
    Var(QV_AP ".2.8.2.1.3", " Channel", I, RO),
    Var(QV_AP ".2.8.2.1.4", " Signal (%)", I, RO),
    Var(QV_AP ".2.8.2.1.5", " BSSID", M, RO),
    Var(QV_AP ".2.8.2.1.6", " Security ", S, RO),
    Var(QV_AP ".2.8.2.1.7", " SSID", S, RO),
    kEnd};

} // namespace mib
