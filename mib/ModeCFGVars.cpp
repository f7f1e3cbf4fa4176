#include "mib/ModeCFGVars.h"

#include "mib/EncryptVars.h"
#include "mib/VarTable.h"

namespace mib {

using namespace table;

const QvSNMPVar modeCfgTableA[] = {
    Var(QV_AP ".2.1.1.1.1", "adAPMode", Integer, ReadWrite, &apModeList),
    Var(QV_AP ".2.2.1.2.1.1", "adPtPRemoteAPMACAddress", MacAddress, ReadWrite),
    Var(QV_AP ".2.2.1.2.1.2", "adPtPRemoteAPMACAddress", MacAddress, ReadWrite),
    Var(QV_AP ".2.2.1.2.1.3", "adPtPRemoteAPMACAddress", MacAddress, ReadWrite),
    Var(QV_AP ".2.2.1.2.1.4", "adPtPRemoteAPMACAddress", MacAddress, ReadWrite),
    Var(QV_AP ".2.2.1.2.1.5", "adPtPRemoteAPMACAddress", MacAddress, ReadWrite),
    Var(QV_AP ".2.2.1.2.1.6", "adPtPRemoteAPMACAddress", MacAddress, ReadWrite),
    Var(QV_AP ".2.2.1.2.1.7", "adPtPRemoteAPMACAddress", MacAddress, ReadWrite),
    Var(QV_AP ".2.2.1.2.1.8", "adPtPRemoteAPMACAddress", MacAddress, ReadWrite),
    Var(QV_AP ".2.1.1.3.1", "adAPRRootAPMACAddress", MacAddress, ReadWrite),
    Var(QV_AP ".2.1.1.4.1", "adAPCRootAPMACAddress", MacAddress, ReadWrite),
    Var(QV_AP ".1.1.1.1.1", "hSSID", DisplayStr, ReadWrite),
    kEnd};

const QvSNMPVar modeCfgTableG[] = {
    Var(QV_AP ".2.1.1.1.2", "adAPMode", Integer, ReadWrite, &apModeList),
    Var(QV_AP ".2.2.1.2.2.1", "adPtPRemoteAPMACAddress", MacAddress, ReadWrite),
    Var(QV_AP ".2.2.1.2.2.2", "adPtPRemoteAPMACAddress", MacAddress, ReadWrite),
    Var(QV_AP ".2.2.1.2.2.3", "adPtPRemoteAPMACAddress", MacAddress, ReadWrite),
    Var(QV_AP ".2.2.1.2.2.4", "adPtPRemoteAPMACAddress", MacAddress, ReadWrite),
    Var(QV_AP ".2.2.1.2.2.5", "adPtPRemoteAPMACAddress", MacAddress, ReadWrite),
    Var(QV_AP ".2.2.1.2.2.6", "adPtPRemoteAPMACAddress", MacAddress, ReadWrite),
    Var(QV_AP ".2.2.1.2.2.7", "adPtPRemoteAPMACAddress", MacAddress, ReadWrite),
    Var(QV_AP ".2.2.1.2.2.8", "adPtPRemoteAPMACAddress", MacAddress, ReadWrite),
    Var(QV_AP ".2.1.1.3.2", "adAPRRootAPMACAddress", MacAddress, ReadWrite),
    kEnd};

const QvSNMPVar modeCfgAuthTable[] = {
    Var(QV_AP ".2.5.1.1.1.1", "adSecAuthentication-a", Integer, ReadOnly, &secAuthenticationList),
    Var(QV_AP ".2.5.1.1.1.2", "adSecAuthentication-g", Integer, ReadOnly, &secAuthenticationList),
    kEnd};

} // namespace mib
