#include "mib/MultiSSIDVars.h"

#include "mib/Enterprise.h"
#include "mib/WirelessVars.h"

namespace mib {

#define MS QV_ENTERPRISE ".11.37.4.2.9"
#define V(oid, label, syn, list) \
    {oid, label, syn, QvAccess::ReadWrite, list, nullptr, nullptr, nullptr, nullptr, nullptr}
#define END {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}

namespace {
constexpr int I = QvSyntax::Integer;
constexpr int S = QvSyntax::DisplayStr;
} // namespace

const QvSNMPVar mssidVlanStateTable[] = {
    V(MS ".1.1.1", "adVlanState", I, &wlLowerDisabledList),
    END};

const QvSNMPVar mssidMasterTable[] = {
    V(MS ".2.1.3.1.1", "adMSSIDSSID", S, nullptr),
    V(MS ".2.1.4.1.1", "adMSSIDAuth", I, &wlAuthenticationList),
    V(MS ".2.1.5.1.1", "adMSSIDEncryption", I, &wlLowerDisabledList),
    V(MS ".2.1.6.1.1", "adMSSIDKeyIndex", I, &wlLowerKeyIndexList),
    V(MS ".2.1.8.1.1", "adVlanTagID", I, nullptr),
    END};

#define GUEST(n)                                                                               \
    const QvSNMPVar guest##n[] = {                                                             \
        V(MS ".2.1.2.1." #n, "adMSSIDState", I, &wlLowerDisabledList),                         \
        V(MS ".2.1.3.1." #n, "adMSSIDSSID", S, nullptr),                                       \
        V(MS ".2.1.4.1." #n, "adMSSIDAuth", I, &wlAuthenticationList),                         \
        V(MS ".2.1.5.1." #n, "adMSSIDEncryption", I, &wlLowerDisabledList),                    \
        V(MS ".2.1.6.1." #n, "adMSSIDKeyIndex", I, &wlLowerKeyIndexList),                      \
        V(MS ".2.1.7.1." #n, "adMSSIDKey", S, nullptr),                                        \
        V(MS ".2.1.8.1." #n, "adVlanTagID", I, nullptr),                                       \
        END}

namespace {
GUEST(2);
GUEST(3);
GUEST(4);
} // namespace

const QvSNMPVar* const mssidGuestTables[3] = {guest2, guest3, guest4};

const QvSNMPVar mssidApSuperGTable[] = {
    V(QV_ENTERPRISE ".11.37.4.2.1.1.1.1", "adAPMode", I, &wlApModeList),
    V(QV_ENTERPRISE ".11.37.4.2.3.1.11.1", "adSuperMode", I, &wlSuperG4List),
    END};

#undef GUEST
#undef MS
#undef V
#undef END

} // namespace mib
