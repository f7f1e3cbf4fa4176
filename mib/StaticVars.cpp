#include "mib/StaticVars.h"

#include "mib/Enterprise.h"

namespace mib {

#define ST QV_ENTERPRISE ".11.37.4.4.3.1.1"
#define VAR(oid, label, syntax)                                                                \
    {oid, label, syntax, QvAccess::ReadOnly, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}
#define END {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}

// The rates are percentages; every count is an unsigned 32-bit counter and is
// shown as one, so that counts past 2^31 - 1 do not turn negative.
#define COUNTERS(b)                                                                            \
    VAR(ST ".1." b, "TrSuccessRate", QvSyntax::Integer),                                       \
        VAR(ST ".2." b, "TrRetryRate", QvSyntax::Integer),                                     \
        VAR(ST ".3." b, "RxSuccessRate", QvSyntax::Integer),                                   \
        VAR(ST ".4." b, "RxDuplicateRate", QvSyntax::Integer),                                 \
        VAR(ST ".5." b, "RTSSuccessCount", QvSyntax::Counter),                                 \
        VAR(ST ".6." b, "RTSFailureCount", QvSyntax::Counter),                                 \
        VAR(ST ".7." b, "TrFrameCount", QvSyntax::Counter),                                    \
        VAR(ST ".8." b, "MuticastTrFrameCount", QvSyntax::Counter),                            \
        VAR(ST ".9." b, "TrErrorCount", QvSyntax::Counter),                                    \
        VAR(ST ".10." b, "TrTotalRetryCount", QvSyntax::Counter),                              \
        VAR(ST ".11." b, "TrMutiRetryCount", QvSyntax::Counter),                               \
        VAR(ST ".12." b, "RxFrameCount", QvSyntax::Counter),                                   \
        VAR(ST ".13." b, "MuticastRxFrameCount", QvSyntax::Counter),                           \
        VAR(ST ".14." b, "RxFrameFCSErrorCount", QvSyntax::Counter),                           \
        VAR(ST ".15." b, "RxFrameDulicateCount", QvSyntax::Counter),                           \
        VAR(ST ".16." b, "AckRxFailureCount", QvSyntax::Counter),                              \
        VAR(ST ".17." b, "WEPExcludedFrameCount", QvSyntax::Counter),                          \
        VAR(ST ".18." b, "WEPICVErrorCount", QvSyntax::Counter), END

const QvSNMPVar staticBand1Vars[] = {COUNTERS("1")};
const QvSNMPVar staticBand2Vars[] = {COUNTERS("2")};

const QvSNMPVar staticByteVars[] = {
    VAR(ST ".19.0", "stTransmitedByteCount", QvSyntax::Counter),
    VAR(ST ".20.0", "stReceivedByteCount", QvSyntax::Counter), END};

#undef COUNTERS
#undef END
#undef VAR
#undef ST

} // namespace mib
