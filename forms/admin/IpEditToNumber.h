#pragma once
// Dotted addresses in edit boxes as numbers, first octet most significant,
// for the pool checks of the LAN, DHCP and static pool forms.
#include <cstdint>
#include <string>

class TEdit;

// An address DottedAddress accepts gives its number. Otherwise a part that
// is no number counts 0, and a text without dots is its own number.
std::uint32_t IpTextToNumber(const std::string& text);
std::uint32_t IpEditToNumber(const TEdit* edit);
// The DHCP form's variant: the same, but a part that is no number makes the
// whole -1.
std::uint32_t DhcpIpTextToNumber(const std::string& text);

// ip lies in the pool of start and range: start <= ip < start + range,
// the sum taken without 32-bit wrap.
bool InAddressPool(std::uint32_t start, std::uint32_t range, std::uint32_t ip);
