#pragma once
// Variables of the encryption form: authentication and WEP keys, the
// passphrase with its cipher, the security servers, and what the form only
// reads (AP mode, code base).
#include "snmp/QvOptionList.h"
#include "snmp/QvSNMPVar.h"

namespace mib {

// 1 "Open System" .. 9 "WPA-Auto-EAP".
extern QvOptionList secAuthenticationList;
// 0 "Disable", 1 "Enable".
extern QvOptionList secEncryptionList;
// 1 "First" .. 4 "Fourth".
extern QvOptionList secValidKeyList;
// 1 "Auto", 2 "AES", 3 "TKIP".
extern QvOptionList secCipherTypeList;
// 1 "Access Point" .. 5 "Wireless Client".
extern QvOptionList apModeList;

// Authentication, encryption and valid key of both bands, then the four keys
// of each band (14 records, all left out until the form picks them).
extern const QvSNMPVar encryptAuthTable[];
// Passphrase, cipher, group key interval of band 1 and of band 2.
extern const QvSNMPVar encryptPassPhraseTableA[];
extern const QvSNMPVar encryptPassPhraseTableG[];
// DNS address and name, RADIUS server, port and secret (scalars).
extern const QvSNMPVar encryptServerTable[];
// The AP mode of band 1.
extern const QvSNMPVar encryptApModeTable[];
// The code base text (scalar).
extern const QvSNMPVar encryptCodebaseTable[];

} // namespace mib
