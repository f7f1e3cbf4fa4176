#include "mib/EncryptVars.h"

#include "mib/VarTable.h"

namespace mib {

using namespace table;

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

#define SEC QV_AP ".2.5"

const QvSNMPVar encryptAuthTable[] = {
    Var(SEC ".1.1.1.1", "adSecAuthentication-a", Integer, Invalid, &secAuthenticationList),
    Var(SEC ".1.1.2.1", "adSecEncryption-a", Integer, Invalid, &secEncryptionList),
    Var(SEC ".1.1.3.1", "adSecValidKey-a", Integer, Invalid, &secValidKeyList),
    Var(SEC ".1.1.1.2", "adSecAuthentication-g", Integer, Invalid, &secAuthenticationList),
    Var(SEC ".1.1.2.2", "adSecEncryption-g", Integer, Invalid, &secEncryptionList),
    Var(SEC ".1.1.3.2", "adSecValidKey-g", Integer, Invalid, &secValidKeyList),
    Var(SEC ".3.1.1.1.1", "adSecKey-80211a-1", DisplayStr, Invalid),
    Var(SEC ".3.1.1.1.2", "adSecKey-80211a-2", DisplayStr, Invalid),
    Var(SEC ".3.1.1.1.3", "adSecKey-80211a-3", DisplayStr, Invalid),
    Var(SEC ".3.1.1.1.4", "adSecKey-80211a-4", DisplayStr, Invalid),
    Var(SEC ".3.1.1.2.1", "adSecKey-80211g-1", DisplayStr, Invalid),
    Var(SEC ".3.1.1.2.2", "adSecKey-80211g-2", DisplayStr, Invalid),
    Var(SEC ".3.1.1.2.3", "adSecKey-80211g-3", DisplayStr, Invalid),
    Var(SEC ".3.1.1.2.4", "adSecKey-80211g-4", DisplayStr, Invalid),
    kEnd};

const QvSNMPVar encryptPassPhraseTableA[] = {
    Var(SEC ".1.1.4.1", "adSecPassPhrase", DisplayStr, ReadWrite),
    Var(SEC ".1.1.5.1", "adSecCipherType", Integer, ReadWrite, &secCipherTypeList),
    Var(SEC ".1.1.6.1", "adSecGroupKeyUpdateInterval", Integer, ReadWrite),
    kEnd};

const QvSNMPVar encryptPassPhraseTableG[] = {
    Var(SEC ".1.1.4.2", "adSecPassPhrase", DisplayStr, ReadWrite),
    Var(SEC ".1.1.5.2", "adSecCipherType", Integer, ReadWrite, &secCipherTypeList),
    Var(SEC ".1.1.6.2", "adSecGroupKeyUpdateInterval", Integer, ReadWrite),
    kEnd};

const QvSNMPVar encryptServerTable[] = {
    Var(SEC ".2.1", "Sec DNS IP Address", IpAddress, ReadWrite),
    Var(SEC ".2.2", "Sec DNS", DisplayStr, ReadWrite),
    Var(SEC ".2.3", "Sec RADIUS Server", DisplayStr, ReadWrite),
    Var(SEC ".2.4", "Sec RADIUS Port", Integer, ReadWrite),
    Var(SEC ".2.5", "Sec RADIUS Secret", DisplayStr, ReadWrite),
    kEnd};

// Band 1's AP mode at instance .1, the object every other form reads: the
// device has no instance .0 of it.
const QvSNMPVar encryptApModeTable[] = {
    Var(QV_AP ".2.1.1.1.1", "adAPMode", Integer, ReadWrite, &apModeList), kEnd};

const QvSNMPVar encryptCodebaseTable[] = {
    Var(QV_AP ".99.1.1.5", "codebase", DisplayStr, ReadOnly), kEnd};

#undef SEC

} // namespace mib
