#include "mib/RogueVars.h"

#include "mib/VarTable.h"

namespace mib {

using namespace table;

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
} // namespace

QvOptionList rogueRadioList(radioPairs);
QvOptionList rogueBssTypeList(bssTypePairs);
QvOptionList rogueDetectList(detectPairs);
QvOptionList rogueSecurityList(securityPairs);
QvOptionList rogueModeList(modePairs);
QvOptionList rogueProtectionList(protectionPairs);

#define RES QV_AP ".2.10.4.1.4.1"
#define LST QV_AP ".2.10.4.2.2.1"

const QvSNMPVar rogueRadioTable[] = {
    Var(QV_AP ".2.3.1.12.1", "adRadioWave", I, RW, &rogueRadioList), kEnd};

const QvSNMPVar rogueMaskTable[] = {
    Var(QV_AP ".2.10.1.0", "bssTypeDetected", I, RW, &rogueBssTypeList),
    Var(QV_AP ".2.10.2.0", "bandTypeDetected", I, RW),
    Var(QV_AP ".2.10.3.0", "securityTypeDetected", I, RW),
    kEnd};

const QvSNMPVar rogueDetectTable[] = {
    Var(QV_AP ".2.10.4.1.1", "rogueAPDetect", I, RW, &rogueDetectList), kEnd};

const QvSNMPVar rogueAddTable[] = {Var(QV_AP ".2.10.4.1.2", "addRogueAPtoAPList", I, RW), kEnd};

const QvSNMPVar rogueDeleteResultTable[] = {
    Var(QV_AP ".2.10.4.1.3", "deleteRogueAPFromResult", I, RW), kEnd};

const QvSNMPVar rogueResultTable[] = {
    Var("", "ifIndex", I, NA),
    Var(RES ".2", "Type", S, RO),
    Var(RES ".3", "CH", I, RO),
    Var(RES ".5", "BSSID", M, RO),
    Var(RES ".9", "Security", I, RO, &rogueSecurityList),
    Var(RES ".7", "Mode", I, RO, &rogueModeList),
    Var(RES ".8", "SSID", S, RO),
    kEnd};

const QvSNMPVar rogueDeleteListedTable[] = {
    Var(QV_AP ".2.10.4.2.1", "deleteRogueAPfromAPList", I, RW), kEnd};

const QvSNMPVar rogueApListTable[] = {
    Var(LST ".1", "Index", I, NA),
    Var(LST ".2", "Type", S, RO),
    Var(LST ".3", "CH", I, RO),
    Var(LST ".5", "BSSID", M, RO),
    Var(LST ".9", "Security", I, RO, &rogueSecurityList),
    Var(LST ".7", "Mode", I, RO, &rogueModeList),
    Var(LST ".8", "SSID", S, RO),
    kEnd};

const QvSNMPVar rogueSupportTable[] = {
    Var(QV_AP ".99.1.1.48", "rogueApProtectionSupported", I, RO), kEnd};

const QvSNMPVar rogueProtectionTable[] = {
    Var(QV_AP ".2.10.5", "adRogueApProtection", I, RW, &rogueProtectionList), kEnd};

#undef RES
#undef LST

} // namespace mib
