#include "mib/RogueVars.h"

#include "mib/Enterprise.h"

namespace mib {

namespace {
const QvPairDef radioPairs[] = {{0, "Off"}, {1, "On"}, {0, nullptr}};
const QvPairDef bssTypePairs[] = {{1, "AP BSS"}, {2, "Ad Hoc"}, {3, "Both"}, {0, nullptr}};
const QvPairDef detectPairs[] = {{0, "nothing"}, {1, "detect"}, {0, nullptr}};
const QvPairDef securityPairs[] = {{0, "OFF"},
                                   {1, "WEP"},
                                   {2, "WPA-Enterprise"},
                                   {3, "WPA-Personal"},
                                   {4, "WPA2-Enterprise"},
                                   {5, "WPA2-Personal"},
                                   {6, "WPA-Auto-Enterprise"},
                                   {7, "WPA-Auto-Personal"},
                                   {0, nullptr}};
const QvPairDef modePairs[] = {{0, "a"}, {2, "b"}, {3, "g"}, {0, nullptr}};
const QvPairDef protectionPairs[] = {{0, "Disable"}, {1, "Enable"}, {0, nullptr}};

constexpr int I = QvSyntax::Integer;
constexpr int S = QvSyntax::DisplayStr;
constexpr int M = QvSyntax::MacAddress;
constexpr int RW = QvAccess::ReadWrite;
constexpr int RO = QvAccess::ReadOnly;
constexpr int NA = QvAccess::NotAccess;
} // namespace

QvOptionList rogueRadioList(radioPairs);
QvOptionList rogueBssTypeList(bssTypePairs);
QvOptionList rogueDetectList(detectPairs);
QvOptionList rogueSecurityList(securityPairs);
QvOptionList rogueModeList(modePairs);
QvOptionList rogueProtectionList(protectionPairs);

#define AP QV_ENTERPRISE ".11.37.4"
#define RES AP ".2.10.4.1.4.1"
#define LST AP ".2.10.4.2.2.1"
#define VAR(oid, name, syntax, access, list)                                                   \
    { oid, name, syntax, access, list, nullptr, nullptr, nullptr, nullptr, nullptr }
#define END                                                                                    \
    { nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr }

const QvSNMPVar rogueRadioTable[] = {
    VAR(AP ".2.3.1.12.1", "adRadioWave", I, RW, &rogueRadioList), END};

const QvSNMPVar rogueMaskTable[] = {
    VAR(AP ".2.10.1.0", "bssTypeDetected", I, RW, &rogueBssTypeList),
    VAR(AP ".2.10.2.0", "bandTypeDetected", I, RW, nullptr),
    VAR(AP ".2.10.3.0", "securityTypeDetected", I, RW, nullptr),
    END};

const QvSNMPVar rogueDetectTable[] = {
    VAR(AP ".2.10.4.1.1", "rogueAPDetect", I, RW, &rogueDetectList), END};

const QvSNMPVar rogueAddTable[] = {
    VAR(AP ".2.10.4.1.2", "addRogueAPtoAPList", I, RW, nullptr), END};

const QvSNMPVar rogueDeleteResultTable[] = {
    VAR(AP ".2.10.4.1.3", "deleteRogueAPFromResult", I, RW, nullptr), END};

const QvSNMPVar rogueResultTable[] = {
    VAR("", "ifIndex", I, NA, nullptr),
    VAR(RES ".2", "Type", S, RO, nullptr),
    VAR(RES ".3", "CH", I, RO, nullptr),
    VAR(RES ".5", "BSSID", M, RO, nullptr),
    VAR(RES ".9", "Security", I, RO, &rogueSecurityList),
    VAR(RES ".7", "Mode", I, RO, &rogueModeList),
    VAR(RES ".8", "SSID", S, RO, nullptr),
    END};

const QvSNMPVar rogueDeleteListedTable[] = {
    VAR(AP ".2.10.4.2.1", "deleteRogueAPfromAPList", I, RW, nullptr), END};

const QvSNMPVar rogueApListTable[] = {
    VAR(LST ".1", "Index", I, NA, nullptr),
    VAR(LST ".2", "Type", S, RO, nullptr),
    VAR(LST ".3", "CH", I, RO, nullptr),
    VAR(LST ".5", "BSSID", M, RO, nullptr),
    VAR(LST ".9", "Security", I, RO, &rogueSecurityList),
    VAR(LST ".7", "Mode", I, RO, &rogueModeList),
    VAR(LST ".8", "SSID", S, RO, nullptr),
    END};

const QvSNMPVar rogueSupportTable[] = {
    VAR(AP ".99.1.1.48", "rogueApProtectionSupported", I, RO, nullptr), END};

const QvSNMPVar rogueProtectionTable[] = {
    VAR(AP ".2.10.5", "adRogueApProtection", I, RW, &rogueProtectionList), END};

#undef AP
#undef RES
#undef LST
#undef VAR
#undef END

} // namespace mib
