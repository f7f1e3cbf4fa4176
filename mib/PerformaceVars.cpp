#include "mib/PerformaceVars.h"

#include "mib/VarTable.h"
#include "mib/WirelessVars.h"

namespace mib {

using namespace table;

namespace {
const QvPairDef preamblePairs[] = {{0, "Long Only"}, {1, "Short and Long"}, {0, nullptr}};
const QvPairDef powerPairs[] = {{1, "Full"},          {2, "Half(-3dB)"}, {3, "Quarter(-6dB)"},
                                {4, "Eighth(-9dB)"}, {5, "Min"},        {0, nullptr}};
const QvPairDef rateStatusPairs[] = {{0, "Disable"}, {1, "Enable"}, {2, "Basic"}, {0, nullptr}};
} // namespace

QvOptionList perfPreambleList(preamblePairs);
QvOptionList perfTransmitPowerList(powerPairs);
QvOptionList perfRateStatusList(rateStatusPairs);

const QvSNMPVar perfApModeTable[] = {
    Var(QV_AP ".2.1.1.1.1", "adAPMode", I, RW, &wlApModeList), kEnd};
const QvSNMPVar perfWifiModeTable[] = {
    Var(QV_AP ".2.3.1.24", "adWIFIMode", I, RW, &wlWifiModeList), kEnd};
const QvSNMPVar perfGonlyTable[] = {
    Var(QV_AP ".2.3.1.13.1", "ad80211gonly", I, RW, &wlDisableEnableList), kEnd};
const QvSNMPVar perfXRTable[] = {Var(QV_AP ".2.3.1.99.1", "adXR", I, RW, &wlDisableEnableList),
                                 kEnd};
const QvSNMPVar perfAutoScanTable[] = {
    Var(QV_AP ".2.3.1.14.1", "adAutoChannelScan", I, RW, &wlDisableEnableList), kEnd};
const QvSNMPVar perfWMMTable[] = {Var(QV_AP ".2.3.1.17", "adWMM", I, RW, &wlDisableEnableList),
                                  kEnd};
const QvSNMPVar perfPreambleTable[] = {
    Var(QV_AP ".2.3.1.19", "adPreamble", I, RW, &perfPreambleList), kEnd};
const QvSNMPVar perfRadioTable[] = {Var(QV_AP ".2.3.1.12.1", "adRadioWave", I, RW, &wlRadioList),
                                    kEnd};
const QvSNMPVar perfSuperGTable[] = {
    Var(QV_AP ".2.3.1.11", "adSuperMode", I, RW, &wlSuperG4List), kEnd};

const QvSNMPVar perfMainTable[] = {
    Var(QV_AP ".2.3.1.1.1", "adFrequency", S, RO),
    Var(QV_AP ".2.3.1.4.1", "adDataRate", S, RW),
    Var(QV_AP ".2.3.1.5.1", "adDataRateList", S, RO),
    Var(QV_AP ".2.3.1.6.1", "adBeaconInterval", I, RW),
    Var(QV_AP ".2.3.1.7.1", "adDTIM", I, RW),
    Var(QV_AP ".2.3.1.8.1", "adFragmentLength", I, RW),
    Var(QV_AP ".2.3.1.9.1", "adRTSLength", I, RW),
    Var(QV_AP ".2.3.1.10.1", "adTransmitPower", I, RW, &perfTransmitPowerList),
    kEnd};

const QvSNMPVar perfRateSupportTable[] = {
    Var(QV_AP ".99.1.1.40", "dataratecontrolsupport", I, RO), kEnd};
const QvSNMPVar perfRateStatusTable[] = {
    Var(QV_AP ".2.14.1.2.1", "adDatarateControlstatus", I, RW, &wlDisableEnableList), kEnd};
const QvSNMPVar perfRateTable[] = {
    Var(QV_AP ".2.13.1.1.1", "adDataRateControlIndex", I, NA),
    Var(QV_AP ".2.13.1.2.1", "adDataRateStatus", I, RW, &perfRateStatusList),
    kEnd};
const QvSNMPVar perfIgmpTable[] = {
    Var(QV_AP ".2.3.1.29.1", "igmpSnooping", I, RW, &wlDisableEnableList), kEnd};

} // namespace mib
