#pragma once
// Variables of the firmware upgrade and configuration file forms: where the
// device finds the module's TFTP server, the file name, and the commands.
#include "snmp/QvOptionList.h"
#include "snmp/QvSNMPVar.h"

namespace mib {

// 1 "Connect", 2 "Get", 3 "Put", 4 "Nothing".
extern QvOptionList tftpCommandList;
// 1 "Firmwareupdate" ... 6 "Nothing".
extern QvOptionList upgradeCommandList;

// remotesrvip, remotefilename (scalars).
extern const QvSNMPVar firmwareServerTable[];
inline constexpr int firmwareServerIpVar = 0;
inline constexpr int firmwareFileNameVar = 1;
// tftpcommand (scalar).
extern const QvSNMPVar firmwareCommandTable[];
// upgradesettingcommand (scalar).
extern const QvSNMPVar firmwareUpgradeTable[];

// Combo indexes of the two command lists.
inline constexpr int tftpGetIndex = 1;
inline constexpr int tftpPutIndex = 2;
inline constexpr int upgradeFirmwareIndex = 0;
inline constexpr int upgradeConfigSaveIndex = 2;
inline constexpr int upgradeRebootIndex = 3;

} // namespace mib
