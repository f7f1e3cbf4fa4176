#include "mib/GroupVars.h"

#include "mib/ApModeNames.h"
#include "mib/VarTable.h"

namespace mib {

using namespace table;

namespace {
const QvPairDef disableEnablePairs[] = {{0, "Disable"}, {1, "Enable"}, {0, nullptr}};
const QvPairDef superModePairs[] = {{1, "Super G without Turbo"},
                                    {2, "Super G with Static Turbo"},
                                    {3, "Super G with Dynamic Turbo"},
                                    {4, "Disable"},
                                    {0, nullptr}};
} // namespace

QvOptionList groupDisableEnableList(disableEnablePairs);
QvOptionList groupApModeNewNamesList(apModeNewNamePairs);
QvOptionList groupApModeOldNamesList(apModeOldNamePairs);
QvOptionList groupSuperModeList(superModePairs);

const QvSNMPVar groupSettingsTable[] = {
    Var(QV_AP ".2.6.1", "LoadBalance", Integer, ReadWrite, &groupDisableEnableList),
    Var(QV_AP ".2.6.2", "UserLimit(0-64)", Integer, ReadWrite),
    Var(QV_AP ".2.6.4", "LinkIntegrate", Integer, ReadWrite, &groupDisableEnableList),
    Var(QV_AP ".2.6.5", "EthernetLinkStatus", DisplayStr, ReadOnly),
    kEnd};

const QvSNMPVar groupApModeTable[] = {
    Var(QV_AP ".2.1.1.1.1", "adAPMode", Integer, ReadWrite, &groupApModeNewNamesList),
    Var(QV_AP ".2.3.1.11.1", "adSuperMode", Integer, ReadWrite, &groupSuperModeList),
    kEnd};

} // namespace mib
