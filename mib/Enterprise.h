#pragma once
// The access point's private enterprise arc. 32473 is the number reserved for
// documentation (RFC 5612); every table, the simulator included, derives its
// identifiers from this one constant.
#define QV_ENTERPRISE "1.3.6.1.4.1.32473"
// The access point's own objects sit below this arc.
#define QV_AP QV_ENTERPRISE ".11.37.4"

namespace mib {
inline constexpr const char* qvEnterprise = QV_ENTERPRISE;
}
