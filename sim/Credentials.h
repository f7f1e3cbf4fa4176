#pragma once
// The simulated access point's SNMP identity: its fixed engine id, the
// communities and the SNMPv3 users it is started with.
#include <array>
#include <string_view>

namespace sim {

// Format 4 (text) under our enterprise number 32473 (0x7ED9): "LMRSIM".
inline constexpr std::string_view kEngineIdHex = "80007ed9044c4d5253494d";

inline constexpr std::string_view kReadCommunity = "tarnok";
inline constexpr std::string_view kWriteCommunity = "quembel";
inline constexpr std::string_view kPublicCommunity = "public";   // read-only
inline constexpr std::string_view kPrivateCommunity = "private"; // read-write

struct V3User {
    std::string_view name;
    std::string_view auth; // "" (none), "MD5" or "SHA"
    std::string_view authPass;
    std::string_view priv; // "" (none) or "DES"
    std::string_view privPass;
    bool writable;
    // snmpget's -l word for this user
    std::string_view level() const {
        return auth.empty() ? "noAuthNoPriv" : priv.empty() ? "authNoPriv" : "authPriv";
    }
};

inline constexpr std::array<V3User, 5> kV3Users = {{
    {"noauthuser", "", "", "", "", false},
    {"md5user", "MD5", "md5authpass", "", "", true},
    {"shauser", "SHA", "shaauthpass", "", "", true},
    {"shadesuser", "SHA", "shaauthpass", "DES", "desprivpass", true},
    {"md5desuser", "MD5", "md5authpass", "DES", "desprivpass", true},
}};

} // namespace sim
