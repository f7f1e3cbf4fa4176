#pragma once
// Variable tables and option lists of the wireless settings form and its
// site survey. Band 1 objects sit at instance .1, band 2 at .2.
#include "snmp/QvOptionList.h"
#include "snmp/QvSNMPVar.h"

namespace mib {

extern QvOptionList wlDisableEnableList;     // 0 Disable, 1 Enable
extern QvOptionList wlSuperG2List;           // two-entry Super G list
extern QvOptionList wlSuperG3List;           // without static turbo
extern QvOptionList wlSuperG4List;           // all four
extern QvOptionList wlWdsConsistentList;     // 0 nothing, 1 consistent
extern QvOptionList wlRadioList;             // 0 Off, 1 On
extern QvOptionList wlGetIpFromList;         // 1 Manual, 2 Dynamic
extern QvOptionList wlApModeList;            // "AP Repeater", "AP Client"
extern QvOptionList wlApModeNewNamesList;    // "Universal Repeater", "Wireless Client"
extern QvOptionList wlWifiModeList;          // 0 11g only, 1 11b only, 2 Mixed
extern QvOptionList wlAuthenticationList;    // the nine authentication texts
extern QvOptionList wlValidKeyList;          // First .. Fourth
extern QvOptionList wlKeyTypeList;           // 2 HEX, 1 ASCII
extern QvOptionList wlCipherList;            // 1 Auto, 2 AES, 3 TKIP
extern QvOptionList wlDisabledEnabledList;   // 0 Disabled, 1 Enabled
extern QvOptionList wlLowerDisabledList;     // 0 disabled, 1 enabled
extern QvOptionList wlLowerKeyIndexList;     // 1 first .. 4 fourth
extern QvOptionList wlRefreshList;           // 0 nothing, 1 refresh

// Groups, each ended by a null record.
extern const QvSNMPVar wlSsidTable[];          // 0-4 band 1, 5-9 band 2
extern const QvSNMPVar wlSuperGTable[];
extern const QvSNMPVar wlDynamicChannelTable[];
extern const QvSNMPVar wlStaticChannelTable[];
extern const QvSNMPVar wlWdsConsistencyTable[];
extern const QvSNMPVar wlRadioTable[];
extern const QvSNMPVar wlFirmwareTable[];
extern const QvSNMPVar wlAutoScanTable[];
extern const QvSNMPVar wlApModeTable[];        // 0 mode, 1-8 remote MACs
extern const QvSNMPVar wlWifiModeTable[];
extern const QvSNMPVar wlRepeaterTable[];      // 0 repeater root, 1 SSID, 2 client root
extern const QvSNMPVar wlSecurityTable[];      // 14 variables
extern const QvSNMPVar wlKeyTypeTable[];
extern const QvSNMPVar wlRadiusTable[];
extern const QvSNMPVar wlAccountingTable[];
extern const QvSNMPVar wlBackupRadiusSupportTable[];
extern const QvSNMPVar wlBackupAccountSupportTable[];
extern const QvSNMPVar wlBackupRadiusTable[];
extern const QvSNMPVar wlBackupAccountTable[];
extern const QvSNMPVar wlPassphraseTable[];
extern const QvSNMPVar wlMssidStateTable[];
extern const QvSNMPVar wlMssidTable[];         // two keys, open table
extern const QvSNMPVar wlMssidSecurityTable[]; // 0-6 encryption, 7-13 authentication
extern const QvSNMPVar wlVlanTable[];
extern const QvSNMPVar wlGuestKeyIndexTable[];
extern const QvSNMPVar wlRefreshTable[];
extern const QvSNMPVar wlSurveyTable[];        // one key, open table

} // namespace mib
