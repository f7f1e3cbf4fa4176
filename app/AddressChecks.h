#pragma once
// Checks on dotted IPv4 texts that the forms make before they write an
// address or a netmask, and the discovery of default gateways that share a
// /24 network with one of the PC's own addresses. The main window's members
// of the same names call these.
#include <string>
#include <vector>

class TStrings;

namespace AddressChecks {

// A host address: first octet 1..223, the middle two 0..255, the last 1..254.
// The text is read as DottedAddress reads it (decimal parts, blanks around a
// part and leading zeros allowed, no signs or hexadecimal), the same reading
// the address conversion of a write uses, so an accepted text reaches the
// device as the address the checks judged.
bool IsValidIP(const std::string& text);
// A contiguous netmask with a prefix length of 2 to 31, read as above.
bool IsValidMask(const std::string& text);
// Octet by octet address AND mask, joined by "."; a part that is no number
// counts 0, a larger one its low 8 bits, blanks around a part are allowed
// (the ipconfig values have them).
std::string NetworkAddressOf(const std::string& address, const std::string& mask);
// True when an element equals text exactly.
bool ContainsAddress(const TStrings& list, const std::string& text);
// Adds each "Default Gateway" and "IP Address" value of the lines (the text
// after the first ":", not trimmed) to its list unless already there.
void ParseIpconfigFile(const TStrings& lines, TStrings& addresses, TStrings& gateways);

// The gateway discovery. lineBuffer receives the listing, addresses and
// gateways accumulate what every call has parsed, output receives each
// gateway on a /24 network of a local address, in listing order, once.
void GetLocalGateways(const std::vector<std::string>& listing, TStrings& lineBuffer,
                      TStrings& addresses, TStrings& gateways, TStrings& output);
// The same on this machine's interfaces and routing table.
void GetLocalGateways(TStrings& lineBuffer, TStrings& addresses, TStrings& gateways,
                      TStrings& output);

} // namespace AddressChecks
