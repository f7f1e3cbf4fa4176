#include "mib/PerformaceVars.h"

#include "mib/Enterprise.h"
#include "mib/WirelessVars.h"

namespace mib {

#define PF_E QV_ENTERPRISE ".11.37.4"
#define PF_END {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}
#define V(oid, label, syn, acc, list) \
    {oid, label, syn, acc, list, nullptr, nullptr, nullptr, nullptr, nullptr}

namespace {
constexpr int I = QvSyntax::Integer;
constexpr int S = QvSyntax::DisplayStr;
constexpr int RW = QvAccess::ReadWrite;
constexpr int RO = QvAccess::ReadOnly;
constexpr int NA = QvAccess::NotAccess;

const QvPairDef preamblePairs[] = {{0, "Long Only"}, {1, "Short and Long"}, {0, nullptr}};
const QvPairDef powerPairs[] = {{1, "Full"},          {2, "Half(-3dB)"}, {3, "Quarter(-6dB)"},
                                {4, "Eighth(-9dB)"}, {5, "Min"},        {0, nullptr}};
const QvPairDef rateStatusPairs[] = {{0, "Disable"}, {1, "Enable"}, {2, "Basic"}, {0, nullptr}};
} // namespace

QvOptionList perfPreambleList(preamblePairs);
QvOptionList perfTransmitPowerList(powerPairs);
QvOptionList perfRateStatusList(rateStatusPairs);

const QvSNMPVar perfApModeTable[] = {
    V(PF_E ".2.1.1.1.1", "adAPMode", I, RW, &wlApModeList), PF_END};
const QvSNMPVar perfWifiModeTable[] = {
    V(PF_E ".2.3.1.24", "adWIFIMode", I, RW, &wlWifiModeList), PF_END};
const QvSNMPVar perfGonlyTable[] = {
    V(PF_E ".2.3.1.13.1", "ad80211gonly", I, RW, &wlDisableEnableList), PF_END};
const QvSNMPVar perfXRTable[] = {V(PF_E ".2.3.1.99.1", "adXR", I, RW, &wlDisableEnableList),
                                 PF_END};
const QvSNMPVar perfAutoScanTable[] = {
    V(PF_E ".2.3.1.14.1", "adAutoChannelScan", I, RW, &wlDisableEnableList), PF_END};
const QvSNMPVar perfWMMTable[] = {V(PF_E ".2.3.1.17", "adWMM", I, RW, &wlDisableEnableList),
                                  PF_END};
const QvSNMPVar perfPreambleTable[] = {
    V(PF_E ".2.3.1.19", "adPreamble", I, RW, &perfPreambleList), PF_END};
const QvSNMPVar perfRadioTable[] = {V(PF_E ".2.3.1.12.1", "adRadioWave", I, RW, &wlRadioList),
                                    PF_END};
const QvSNMPVar perfSuperGTable[] = {
    V(PF_E ".2.3.1.11", "adSuperMode", I, RW, &wlSuperG4List), PF_END};

const QvSNMPVar perfMainTable[] = {
    V(PF_E ".2.3.1.1.1", "adFrequency", S, RO, nullptr),
    V(PF_E ".2.3.1.4.1", "adDataRate", S, RW, nullptr),
    V(PF_E ".2.3.1.5.1", "adDataRateList", S, RO, nullptr),
    V(PF_E ".2.3.1.6.1", "adBeaconInterval", I, RW, nullptr),
    V(PF_E ".2.3.1.7.1", "adDTIM", I, RW, nullptr),
    V(PF_E ".2.3.1.8.1", "adFragmentLength", I, RW, nullptr),
    V(PF_E ".2.3.1.9.1", "adRTSLength", I, RW, nullptr),
    V(PF_E ".2.3.1.10.1", "adTransmitPower", I, RW, &perfTransmitPowerList),
    PF_END};

const QvSNMPVar perfRateSupportTable[] = {
    V(PF_E ".99.1.1.40", "dataratecontrolsupport", I, RO, nullptr), PF_END};
const QvSNMPVar perfRateStatusTable[] = {
    V(PF_E ".2.14.1.2.1", "adDatarateControlstatus", I, RW, &wlDisableEnableList), PF_END};
const QvSNMPVar perfRateTable[] = {
    V(PF_E ".2.13.1.1.1", "adDataRateControlIndex", I, NA, nullptr),
    V(PF_E ".2.13.1.2.1", "adDataRateStatus", I, RW, &perfRateStatusList),
    PF_END};
const QvSNMPVar perfIgmpTable[] = {
    V(PF_E ".2.3.1.29.1", "igmpSnooping", I, RW, &wlDisableEnableList), PF_END};

#undef V
#undef PF_E
#undef PF_END

} // namespace mib
