#pragma once
// Variables of the statistics form: the 802.11 counters of each band and the
// byte counts where the firmware has them.
#include "snmp/QvSNMPVar.h"

namespace mib {

inline constexpr int staticCounterCount = 18;
extern const QvSNMPVar staticBand1Vars[]; // MVT_SV, instance .1
extern const QvSNMPVar staticBand2Vars[]; // MVT_SV, instance .2
extern const QvSNMPVar staticByteVars[];  // MVT_SV: transmitted, received

} // namespace mib
