#include "mib/ModeCFGVars.h"

#include "mib/EncryptVars.h"
#include "mib/Enterprise.h"

namespace mib {

#define AP QV_ENTERPRISE ".11.37.4.2"
#define VAR(oid, name, syntax, list)                                                           \
    { oid, name, syntax, QvAccess::ReadWrite, list, nullptr, nullptr, nullptr, nullptr, nullptr }
#define MAC(oid, name) VAR(oid, name, QvSyntax::MacAddress, nullptr)
#define END                                                                                    \
    { nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr }

const QvSNMPVar modeCfgTableA[] = {
    VAR(AP ".1.1.1.1", "adAPMode", QvSyntax::Integer, &apModeList),
    MAC(AP ".2.1.2.1.1", "adPtPRemoteAPMACAddress"),
    MAC(AP ".2.1.2.1.2", "adPtPRemoteAPMACAddress"),
    MAC(AP ".2.1.2.1.3", "adPtPRemoteAPMACAddress"),
    MAC(AP ".2.1.2.1.4", "adPtPRemoteAPMACAddress"),
    MAC(AP ".2.1.2.1.5", "adPtPRemoteAPMACAddress"),
    MAC(AP ".2.1.2.1.6", "adPtPRemoteAPMACAddress"),
    MAC(AP ".2.1.2.1.7", "adPtPRemoteAPMACAddress"),
    MAC(AP ".2.1.2.1.8", "adPtPRemoteAPMACAddress"),
    MAC(AP ".1.1.3.1", "adAPRRootAPMACAddress"),
    MAC(AP ".1.1.4.1", "adAPCRootAPMACAddress"),
    VAR(QV_ENTERPRISE ".11.37.4.1.1.1.1.1", "hSSID", QvSyntax::DisplayStr, nullptr),
    END};

const QvSNMPVar modeCfgTableG[] = {
    VAR(AP ".1.1.1.2", "adAPMode", QvSyntax::Integer, &apModeList),
    MAC(AP ".2.1.2.2.1", "adPtPRemoteAPMACAddress"),
    MAC(AP ".2.1.2.2.2", "adPtPRemoteAPMACAddress"),
    MAC(AP ".2.1.2.2.3", "adPtPRemoteAPMACAddress"),
    MAC(AP ".2.1.2.2.4", "adPtPRemoteAPMACAddress"),
    MAC(AP ".2.1.2.2.5", "adPtPRemoteAPMACAddress"),
    MAC(AP ".2.1.2.2.6", "adPtPRemoteAPMACAddress"),
    MAC(AP ".2.1.2.2.7", "adPtPRemoteAPMACAddress"),
    MAC(AP ".2.1.2.2.8", "adPtPRemoteAPMACAddress"),
    MAC(AP ".1.1.3.2", "adAPRRootAPMACAddress"),
    END};

const QvSNMPVar modeCfgAuthTable[] = {
    {AP ".5.1.1.1.1", "adSecAuthentication-a", QvSyntax::Integer, QvAccess::ReadOnly,
     &secAuthenticationList, nullptr, nullptr, nullptr, nullptr, nullptr},
    {AP ".5.1.1.1.2", "adSecAuthentication-g", QvSyntax::Integer, QvAccess::ReadOnly,
     &secAuthenticationList, nullptr, nullptr, nullptr, nullptr, nullptr},
    END};

#undef AP
#undef VAR
#undef MAC
#undef END

} // namespace mib
