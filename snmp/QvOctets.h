#pragma once
// Octet images of variable values: a value's display text turned into the raw
// bytes of its syntax and back, and one field cut out at a byte offset. The
// control binding uses them to show and collect parts of a value (one byte of
// an address, a 16-bit number inside an octet string) in separate controls.
//
// Byte order: 32- and 64-bit numbers, doubles and object-identifier arcs in
// host (little-endian) order; the 16-bit part syntaxes and the year of a
// DateAndTime in network order.
#include <cstddef>
#include <cstdint>
#include <string>

// Raw bytes of a value (held in a std::string; any byte value allowed).
using QvOctetImage = std::string;

// Display text of a syntax -> octet image. "(NULL)" gives an empty image.
// Raises -511 for an unknown syntax.
QvOctetImage QvTextToOctets(const std::string& text, int syntax);
// Octet image of a syntax -> display text. An empty image gives "(NULL)"
// ("" for displaystr). Raises -518 for an image shorter than the syntax needs,
// -511 for an unknown syntax.
std::string QvOctetsToText(const QvOctetImage& octets, int syntax);
// The bytes of one field of the given syntax at a byte offset. Fixed-width
// fields that run past the end raise -519; variable-length ones take the rest.
QvOctetImage QvExtractPartOctets(const QvOctetImage& octets, int offset, int syntax);

// Field width of a syntax inside an image, or -1 for the variable-length ones
// (bitstr, octetstr, opaque, objectid, displaystr); -2 for an unknown syntax.
int QvOctetFieldWidth(int syntax);

// The number held in host order in bytes octets from at; octets past the end
// of the image count as 0.
uint64_t QvHostOrderNumber(const QvOctetImage& octets, size_t at, int bytes);
