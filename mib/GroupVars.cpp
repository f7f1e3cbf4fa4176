#include "mib/GroupVars.h"

#include "mib/Enterprise.h"

namespace mib {

namespace {
const QvPairDef disableEnablePairs[] = {{0, "Disable"}, {1, "Enable"}, {0, nullptr}};
const QvPairDef apModeNewPairs[] = {{1, "Access Point"},    {2, "PtP Bridge"},
                                    {3, "PtMP Bridge"},     {4, "Universal Repeater"},
                                    {5, "Wireless Client"}, {6, "PtP Without"},
                                    {7, "P2MP Without"},    {0, nullptr}};
const QvPairDef apModeOldPairs[] = {{1, "Access Point"}, {2, "PtP Bridge"}, {3, "PtMP Bridge"},
                                    {4, "AP Repeater"},  {5, "AP Client"},  {6, "PtP Without"},
                                    {7, "P2MP Without"}, {0, nullptr}};
const QvPairDef superModePairs[] = {{1, "Super G without Turbo"},
                                    {2, "Super G with Static Turbo"},
                                    {3, "Super G with Dynamic Turbo"},
                                    {4, "Disable"},
                                    {0, nullptr}};
} // namespace

QvOptionList groupDisableEnableList(disableEnablePairs);
QvOptionList groupApModeNewNamesList(apModeNewPairs);
QvOptionList groupApModeOldNamesList(apModeOldPairs);
QvOptionList groupSuperModeList(superModePairs);

#define AP QV_ENTERPRISE ".11.37.4"
#define VAR(oid, name, syntax, access, list)                                                   \
    { oid, name, syntax, access, list, nullptr, nullptr, nullptr, nullptr, nullptr }
#define END                                                                                    \
    { nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr }

const QvSNMPVar groupSettingsTable[] = {
    VAR(AP ".2.6.1", "LoadBalance", QvSyntax::Integer, QvAccess::ReadWrite,
        &groupDisableEnableList),
    VAR(AP ".2.6.2", "UserLimit(0-64)", QvSyntax::Integer, QvAccess::ReadWrite, nullptr),
    VAR(AP ".2.6.4", "LinkIntegrate", QvSyntax::Integer, QvAccess::ReadWrite,
        &groupDisableEnableList),
    VAR(AP ".2.6.5", "EthernetLinkStatus", QvSyntax::DisplayStr, QvAccess::ReadOnly, nullptr),
    END};

const QvSNMPVar groupApModeTable[] = {
    VAR(AP ".2.1.1.1.1", "adAPMode", QvSyntax::Integer, QvAccess::ReadWrite,
        &groupApModeNewNamesList),
    VAR(AP ".2.3.1.11.1", "adSuperMode", QvSyntax::Integer, QvAccess::ReadWrite,
        &groupSuperModeList),
    END};

#undef AP
#undef VAR
#undef END

} // namespace mib
