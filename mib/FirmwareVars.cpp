#include "mib/FirmwareVars.h"

#include "mib/VarTable.h"

namespace mib {

using namespace table;

const QvPairDef tftpCommandPairs[] = {
    {1, "Connect"}, {2, "Get"}, {3, "Put"}, {4, "Nothing"}, {0, nullptr}};
const QvPairDef upgradeCommandPairs[] = {{1, "Firmwareupdate"}, {2, "Configsetting"},
                                         {3, "Configsave"},     {4, "Reboot"},
                                         {5, "Factoryreset"},   {6, "Nothing"},
                                         {0, nullptr}};

QvOptionList tftpCommandList(tftpCommandPairs);
QvOptionList upgradeCommandList(upgradeCommandPairs);

const QvSNMPVar firmwareServerTable[] = {
    Var(QV_AP ".3.3.1", "remotesrvip", IpAddress, ReadWrite),
    Var(QV_AP ".3.3.2", "remotefilename", DisplayStr, ReadWrite), kEnd};

const QvSNMPVar firmwareCommandTable[] = {
    Var(QV_AP ".3.3.4", "tftpcommand", Integer, ReadWrite, &tftpCommandList), kEnd};

const QvSNMPVar firmwareUpgradeTable[] = {
    Var(QV_AP ".3.3.5", "upgradesettingcommand", Integer, ReadWrite, &upgradeCommandList), kEnd};

} // namespace mib
