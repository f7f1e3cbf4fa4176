#include "mib/FirmwareVars.h"

#include "mib/Enterprise.h"

namespace mib {

const QvPairDef tftpCommandPairs[] = {
    {1, "Connect"}, {2, "Get"}, {3, "Put"}, {4, "Nothing"}, {0, nullptr}};
const QvPairDef upgradeCommandPairs[] = {{1, "Firmwareupdate"}, {2, "Configsetting"},
                                         {3, "Configsave"},     {4, "Reboot"},
                                         {5, "Factoryreset"},   {6, "Nothing"},
                                         {0, nullptr}};

QvOptionList tftpCommandList(tftpCommandPairs);
QvOptionList upgradeCommandList(upgradeCommandPairs);

const QvSNMPVar firmwareServerTable[] = {
    {QV_ENTERPRISE ".11.37.4.3.3.1", "remotesrvip", QvSyntax::IpAddress, QvAccess::ReadWrite,
     nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    {QV_ENTERPRISE ".11.37.4.3.3.2", "remotefilename", QvSyntax::DisplayStr, QvAccess::ReadWrite,
     nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}};

const QvSNMPVar firmwareCommandTable[] = {
    {QV_ENTERPRISE ".11.37.4.3.3.4", "tftpcommand", QvSyntax::Integer, QvAccess::ReadWrite,
     &tftpCommandList, nullptr, nullptr, nullptr, nullptr, nullptr},
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}};

const QvSNMPVar firmwareUpgradeTable[] = {
    {QV_ENTERPRISE ".11.37.4.3.3.5", "upgradesettingcommand", QvSyntax::Integer,
     QvAccess::ReadWrite, &upgradeCommandList, nullptr, nullptr, nullptr, nullptr, nullptr},
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}};

} // namespace mib
