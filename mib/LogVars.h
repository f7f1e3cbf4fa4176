#pragma once
// Variables of the system log and log settings forms.
#include "snmp/QvOptionList.h"
#include "snmp/QvSNMPVar.h"

namespace mib {

extern QvOptionList logGetList;     // 0 "nothing", 1 "get"
extern QvOptionList logEnableList;  // 0 "disable", 1 "enable"
extern QvOptionList logClearList;   // 0 "nothing", 1 "clear"

// adTFTPServerIP, adLogFileName, adGetLog (instances in the Oids).
extern const QvSNMPVar logGetTable[];
inline constexpr int logServerIpVar = 0;
inline constexpr int logFileNameVar = 1;
inline constexpr int logGetVar = 2;
// adSystemLevel, adWirelessLevel, adNoticeLevel, adRemoteLogState,
// adLogServerIP (instances in the Oids).
extern const QvSNMPVar logSettingsTable[];
inline constexpr int logSystemLevelVar = 0;
inline constexpr int logWirelessLevelVar = 1;
inline constexpr int logNoticeLevelVar = 2;
inline constexpr int logRemoteStateVar = 3;
inline constexpr int logRemoteServerVar = 4;
// adClearLocalLog (scalar).
extern const QvSNMPVar logClearTable[];

} // namespace mib
