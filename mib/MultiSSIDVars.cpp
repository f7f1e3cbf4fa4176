#include "mib/MultiSSIDVars.h"

#include "mib/VarTable.h"
#include "mib/WirelessVars.h"

namespace mib {

using namespace table;

#define MS QV_AP ".2.9"

const QvSNMPVar mssidVlanStateTable[] = {
    Var(MS ".1.1.1", "adVlanState", I, RW, &wlLowerDisabledList),
    kEnd};

const QvSNMPVar mssidMasterTable[] = {
    Var(MS ".2.1.3.1.1", "adMSSIDSSID", S, RW),
    Var(MS ".2.1.4.1.1", "adMSSIDAuth", I, RW, &wlAuthenticationList),
    Var(MS ".2.1.5.1.1", "adMSSIDEncryption", I, RW, &wlLowerDisabledList),
    Var(MS ".2.1.6.1.1", "adMSSIDKeyIndex", I, RW, &wlLowerKeyIndexList),
    Var(MS ".2.1.8.1.1", "adVlanTagID", I, RW),
    kEnd};

#define GUEST(n)                                                                                   \
    const QvSNMPVar guest##n[] = {                                                                 \
        Var(MS ".2.1.2.1." #n, "adMSSIDState", I, RW, &wlLowerDisabledList),                       \
        Var(MS ".2.1.3.1." #n, "adMSSIDSSID", S, RW),                                              \
        Var(MS ".2.1.4.1." #n, "adMSSIDAuth", I, RW, &wlAuthenticationList),                       \
        Var(MS ".2.1.5.1." #n, "adMSSIDEncryption", I, RW, &wlLowerDisabledList),                  \
        Var(MS ".2.1.6.1." #n, "adMSSIDKeyIndex", I, RW, &wlLowerKeyIndexList),                    \
        Var(MS ".2.1.7.1." #n, "adMSSIDKey", S, RW),                                               \
        Var(MS ".2.1.8.1." #n, "adVlanTagID", I, RW),                                              \
        kEnd}

namespace {
GUEST(2);
GUEST(3);
GUEST(4);
} // namespace

const QvSNMPVar* const mssidGuestTables[3] = {guest2, guest3, guest4};

const QvSNMPVar mssidApSuperGTable[] = {
    Var(QV_AP ".2.1.1.1.1", "adAPMode", I, RW, &wlApModeList),
    Var(QV_AP ".2.3.1.11.1", "adSuperMode", I, RW, &wlSuperG4List),
    kEnd};

#undef GUEST
#undef MS

} // namespace mib
