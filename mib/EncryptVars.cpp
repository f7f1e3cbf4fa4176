#include "mib/EncryptVars.h"

#include "mib/Enterprise.h"

namespace mib {

namespace {
const QvPairDef authPairs[] = {{1, "Open System"},
                               {2, "Shared Key"},
                               {3, "Open System / Shared Key"},
                               {4, "WPA-PSK"},
                               {5, "WPA-EAP"},
                               {6, "WPA2-PSK"},
                               {7, "WPA2-EAP"},
                               {8, "WPA-Auto-PSK"},
                               {9, "WPA-Auto-EAP"},
                               {0, nullptr}};
const QvPairDef encryptionPairs[] = {{0, "Disable"}, {1, "Enable"}, {0, nullptr}};
const QvPairDef validKeyPairs[] = {
    {1, "First"}, {2, "Second"}, {3, "Third"}, {4, "Fourth"}, {0, nullptr}};
const QvPairDef cipherPairs[] = {{1, "Auto"}, {2, "AES"}, {3, "TKIP"}, {0, nullptr}};
const QvPairDef apModePairs[] = {{1, "Access Point"},       {2, "PtP Bridge"},
                                 {3, "PtMP Bridge"},        {4, "Universal Repeater"},
                                 {5, "Wireless Client"},    {0, nullptr}};
} // namespace

QvOptionList secAuthenticationList(authPairs);
QvOptionList secEncryptionList(encryptionPairs);
QvOptionList secValidKeyList(validKeyPairs);
QvOptionList secCipherTypeList(cipherPairs);
QvOptionList apModeList(apModePairs);

#define SEC QV_ENTERPRISE ".11.37.4.2.5"
#define VAR(oid, name, syntax, access, list)                                                   \
    { oid, name, syntax, access, list, nullptr, nullptr, nullptr, nullptr, nullptr }
#define END                                                                                    \
    { nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr }

const QvSNMPVar encryptAuthTable[] = {
    VAR(SEC ".1.1.1.1", "adSecAuthentication-a", QvSyntax::Integer, QvAccess::Invalid,
        &secAuthenticationList),
    VAR(SEC ".1.1.2.1", "adSecEncryption-a", QvSyntax::Integer, QvAccess::Invalid,
        &secEncryptionList),
    VAR(SEC ".1.1.3.1", "adSecValidKey-a", QvSyntax::Integer, QvAccess::Invalid, &secValidKeyList),
    VAR(SEC ".1.1.1.2", "adSecAuthentication-g", QvSyntax::Integer, QvAccess::Invalid,
        &secAuthenticationList),
    VAR(SEC ".1.1.2.2", "adSecEncryption-g", QvSyntax::Integer, QvAccess::Invalid,
        &secEncryptionList),
    VAR(SEC ".1.1.3.2", "adSecValidKey-g", QvSyntax::Integer, QvAccess::Invalid, &secValidKeyList),
    VAR(SEC ".3.1.1.1.1", "adSecKey-80211a-1", QvSyntax::DisplayStr, QvAccess::Invalid, nullptr),
    VAR(SEC ".3.1.1.1.2", "adSecKey-80211a-2", QvSyntax::DisplayStr, QvAccess::Invalid, nullptr),
    VAR(SEC ".3.1.1.1.3", "adSecKey-80211a-3", QvSyntax::DisplayStr, QvAccess::Invalid, nullptr),
    VAR(SEC ".3.1.1.1.4", "adSecKey-80211a-4", QvSyntax::DisplayStr, QvAccess::Invalid, nullptr),
    VAR(SEC ".3.1.1.2.1", "adSecKey-80211g-1", QvSyntax::DisplayStr, QvAccess::Invalid, nullptr),
    VAR(SEC ".3.1.1.2.2", "adSecKey-80211g-2", QvSyntax::DisplayStr, QvAccess::Invalid, nullptr),
    VAR(SEC ".3.1.1.2.3", "adSecKey-80211g-3", QvSyntax::DisplayStr, QvAccess::Invalid, nullptr),
    VAR(SEC ".3.1.1.2.4", "adSecKey-80211g-4", QvSyntax::DisplayStr, QvAccess::Invalid, nullptr),
    END};

const QvSNMPVar encryptPassPhraseTableA[] = {
    VAR(SEC ".1.1.4.1", "adSecPassPhrase", QvSyntax::DisplayStr, QvAccess::ReadWrite, nullptr),
    VAR(SEC ".1.1.5.1", "adSecCipherType", QvSyntax::Integer, QvAccess::ReadWrite,
        &secCipherTypeList),
    VAR(SEC ".1.1.6.1", "adSecGroupKeyUpdateInterval", QvSyntax::Integer, QvAccess::ReadWrite,
        nullptr),
    END};

const QvSNMPVar encryptPassPhraseTableG[] = {
    VAR(SEC ".1.1.4.2", "adSecPassPhrase", QvSyntax::DisplayStr, QvAccess::ReadWrite, nullptr),
    VAR(SEC ".1.1.5.2", "adSecCipherType", QvSyntax::Integer, QvAccess::ReadWrite,
        &secCipherTypeList),
    VAR(SEC ".1.1.6.2", "adSecGroupKeyUpdateInterval", QvSyntax::Integer, QvAccess::ReadWrite,
        nullptr),
    END};

const QvSNMPVar encryptServerTable[] = {
    VAR(SEC ".2.1", "Sec DNS IP Address", QvSyntax::IpAddress, QvAccess::ReadWrite, nullptr),
    VAR(SEC ".2.2", "Sec DNS", QvSyntax::DisplayStr, QvAccess::ReadWrite, nullptr),
    VAR(SEC ".2.3", "Sec RADIUS Server", QvSyntax::DisplayStr, QvAccess::ReadWrite, nullptr),
    VAR(SEC ".2.4", "Sec RADIUS Port", QvSyntax::Integer, QvAccess::ReadWrite, nullptr),
    VAR(SEC ".2.5", "Sec RADIUS Secret", QvSyntax::DisplayStr, QvAccess::ReadWrite, nullptr),
    END};

// Band 1's AP mode at instance .1, the object every other form reads: the
// device has no instance .0 of it.
const QvSNMPVar encryptApModeTable[] = {
    VAR(QV_ENTERPRISE ".11.37.4.2.1.1.1.1", "adAPMode", QvSyntax::Integer, QvAccess::ReadWrite,
        &apModeList),
    END};

const QvSNMPVar encryptCodebaseTable[] = {
    VAR(QV_ENTERPRISE ".11.37.4.99.1.1.5", "codebase", QvSyntax::DisplayStr, QvAccess::ReadOnly,
        nullptr),
    END};

#undef SEC
#undef VAR
#undef END

} // namespace mib
