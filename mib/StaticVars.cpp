#include "mib/StaticVars.h"

#include "mib/VarTable.h"

namespace mib {

using namespace table;

#define ST QV_AP ".4.3.1.1"

// The rates are percentages; every count is an unsigned 32-bit counter and is
// shown as one, so that counts past 2^31 - 1 do not turn negative.
#define COUNTERS(b)                                                                                \
    Var(ST ".1." b, "TrSuccessRate", Integer, ReadOnly),                                           \
        Var(ST ".2." b, "TrRetryRate", Integer, ReadOnly),                                         \
        Var(ST ".3." b, "RxSuccessRate", Integer, ReadOnly),                                       \
        Var(ST ".4." b, "RxDuplicateRate", Integer, ReadOnly),                                     \
        Var(ST ".5." b, "RTSSuccessCount", Counter, ReadOnly),                                     \
        Var(ST ".6." b, "RTSFailureCount", Counter, ReadOnly),                                     \
        Var(ST ".7." b, "TrFrameCount", Counter, ReadOnly),                                        \
        Var(ST ".8." b, "MuticastTrFrameCount", Counter, ReadOnly),                                \
        Var(ST ".9." b, "TrErrorCount", Counter, ReadOnly),                                        \
        Var(ST ".10." b, "TrTotalRetryCount", Counter, ReadOnly),                                  \
        Var(ST ".11." b, "TrMutiRetryCount", Counter, ReadOnly),                                   \
        Var(ST ".12." b, "RxFrameCount", Counter, ReadOnly),                                       \
        Var(ST ".13." b, "MuticastRxFrameCount", Counter, ReadOnly),                               \
        Var(ST ".14." b, "RxFrameFCSErrorCount", Counter, ReadOnly),                               \
        Var(ST ".15." b, "RxFrameDulicateCount", Counter, ReadOnly),                               \
        Var(ST ".16." b, "AckRxFailureCount", Counter, ReadOnly),                                  \
        Var(ST ".17." b, "WEPExcludedFrameCount", Counter, ReadOnly),                              \
        Var(ST ".18." b, "WEPICVErrorCount", Counter, ReadOnly), kEnd

const QvSNMPVar staticBand1Vars[] = {COUNTERS("1")};
const QvSNMPVar staticBand2Vars[] = {COUNTERS("2")};

const QvSNMPVar staticByteVars[] = {
    Var(ST ".19.0", "stTransmitedByteCount", Counter, ReadOnly),
    Var(ST ".20.0", "stReceivedByteCount", Counter, ReadOnly), kEnd};

#undef COUNTERS
#undef ST

} // namespace mib
