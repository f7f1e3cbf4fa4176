#pragma once
// The one reading of a dotted IPv4 text for the whole program: four decimal
// parts 0-255 separated by ".", blanks around a part and leading zeros
// allowed. A leading zero never means octal: "192.168.001.010" is
// 192.168.1.10 for the checks, the comparisons, the ping and the write alike.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

struct DottedAddress {
    std::array<std::uint8_t, 4> octets{};

    // First octet most significant.
    std::uint32_t Number() const;
    // Plain decimal parts without leading zeros, e.g. "192.168.1.10".
    std::string Text() const;
    bool operator==(const DottedAddress& other) const { return octets == other.octets; }
    bool operator!=(const DottedAddress& other) const { return !(*this == other); }

    // Nothing for a text that is not such an address.
    static std::optional<DottedAddress> Parse(const std::string& text);
    static DottedAddress FromNumber(std::uint32_t number);
};

// One part of a dotted text: decimal digits with blanks around them and any
// leading zeros; false for anything else (empty, signs, "0x", letters) and
// for a value beyond 32 bits.
bool DottedPartValue(const std::string& part, std::uint32_t* value);

// Both texts are addresses and the same one ("192.0.2.050" and "192.0.2.50").
bool SameDottedAddress(const std::string& a, const std::string& b);
