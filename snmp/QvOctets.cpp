#include "snmp/QvOctets.h"

#include "snmp/QvDateTime.h"
#include "snmp/QvErrors.h"
#include "snmp/QvSNMPRequest.h"
#include "base/SysUtils.h"

#include <bit>
#include <cstdint>
#include <limits>
#include <vector>

namespace {

enum : int {
    kBoolean = 1,
    kInteger = 2,
    kBitStr = 3,
    kOctetStr = 4,
    kNull = 5,
    kObjectId = 6,
    kIpAddress = 64,
    kCounter = 65,
    kGuage = 66,
    kTimeTicks = 67,
    kOpaque = 68,
    kNsapAddr = 69,
    kCounter64 = 70,
    kUInteger = 71,
    kDouble = 72,
    kMacAddress = 73,
    kDateTime = 74,
    kBcDateTime = 75,
    kDisplayStr = 76,
    kBool8 = 193,
    kInt8 = 194,
    kUInt8 = 195,
    kBool16 = 196,
    kInt16 = 197,
    kUInt16 = 198,
};

[[noreturn]] void Fail(int index) {
    RaiseQvSNMPError(index);
}

void PutLE(QvOctetImage& out, uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void PutBE(QvOctetImage& out, uint64_t v, int bytes) {
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
uint64_t GetBE(const QvOctetImage& in, size_t at, int bytes) {
    uint64_t v = 0;
    for (int i = 0; i < bytes; ++i)
        v = (v << 8) | static_cast<unsigned char>(in[at + static_cast<size_t>(i)]);
    return v;
}

uint32_t Low32(const std::string& text) {
    return static_cast<uint32_t>(static_cast<unsigned long long>(LeadingInt(text)));
}

// Dotted arcs; empty parts (a leading dot) are skipped.
std::vector<uint32_t> ParseArcs(const std::string& text) {
    std::vector<uint32_t> arcs;
    for (const std::string& part : SplitString(text, '.'))
        if (!Trim(part).empty()) arcs.push_back(Low32(part));
    return arcs;
}

// The printable time-ticks form read back; a bare number is taken as a count.
uint32_t TextToTicks(const std::string& text) {
    std::string t = Trim(text);
    if (!t.empty() && t.find_first_not_of("0123456789") == std::string::npos) return Low32(t);
    return QvTextToTimeTicks(t);
}

uint64_t ToCounter64(double v) {
    if (!(v > 0)) return 0; // negatives and NaN
    if (v >= 18446744073709551615.0) return std::numeric_limits<uint64_t>::max();
    return static_cast<uint64_t>(v);
}

const char kBcFormat[] = "yyyy/mm/dd hh:nn:ss am/pm";

} // namespace

uint64_t QvHostOrderNumber(const QvOctetImage& in, size_t at, int bytes) {
    uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        const size_t k = at + static_cast<size_t>(i);
        if (k < in.size())
            v = (v << 8) | static_cast<unsigned char>(in[k]);
        else
            v <<= 8;
    }
    return v;
}

int QvOctetFieldWidth(int syntax) {
    switch (syntax) {
    case kBoolean:
    case kInteger:
    case kIpAddress:
    case kNsapAddr:
    case kCounter:
    case kGuage:
    case kUInteger:
    case kTimeTicks:
        return 4;
    case kCounter64:
    case kDouble:
    case kBcDateTime:
        return 8;
    case kMacAddress:
        return 6;
    case kDateTime:
        return 11;
    case kBool8:
    case kInt8:
    case kUInt8:
        return 1;
    case kBool16:
    case kInt16:
    case kUInt16:
        return 2;
    case kNull:
        return 0;
    case kBitStr:
    case kOctetStr:
    case kOpaque:
    case kObjectId:
    case kDisplayStr:
        return -1;
    default:
        return -2;
    }
}

QvOctetImage QvTextToOctets(const std::string& text, int syntax) {
    if (QvOctetFieldWidth(syntax) == -2) Fail(QVERR_BAD_SYNTAX);
    QvOctetImage out;
    if (text == "(NULL)") return out;
    switch (syntax) {
    case kBoolean:
        PutLE(out, text == "true" ? 1 : 0, 4);
        break;
    case kInteger:
    case kCounter:
    case kGuage:
    case kUInteger:
        PutLE(out, Low32(text), 4);
        break;
    case kBitStr:
    case kOctetStr:
    case kOpaque:
    case kMacAddress:
        out = QvHexToBytes(text);
        break;
    case kNull:
        break;
    case kObjectId:
        for (uint32_t arc : ParseArcs(text))
            PutLE(out, arc, 4);
        break;
    case kIpAddress:
    case kNsapAddr:
        for (uint32_t arc : ParseArcs(text))
            out.push_back(static_cast<char>(arc & 0xFF));
        break;
    case kTimeTicks:
        PutLE(out, TextToTicks(text), 4);
        break;
    case kCounter64:
        PutLE(out, ToCounter64(LeadingFloat(text)), 8);
        break;
    case kDouble:
        PutLE(out, std::bit_cast<uint64_t>(LeadingFloat(text)), 8);
        break;
    case kDateTime:
        out = QvDateTimeToOctets(QvDateTime::Parse(text));
        break;
    case kBcDateTime: {
        TDateTime dt = 0;
        if (!TryStrToDateTime(text, dt)) dt = 0; // unreadable date: the day zero
        PutLE(out, std::bit_cast<uint64_t>(dt), 8);
        break;
    }
    case kDisplayStr:
        out = text;
        break;
    case kBool8:
        out.push_back(text == "true" ? 1 : 0);
        break;
    case kInt8:
    case kUInt8:
        out.push_back(static_cast<char>(Low32(text) & 0xFF));
        break;
    case kBool16:
        PutBE(out, text == "true" ? 1 : 0, 2);
        break;
    case kInt16:
    case kUInt16:
        PutBE(out, Low32(text) & 0xFFFF, 2);
        break;
    }
    return out;
}

std::string QvOctetsToText(const QvOctetImage& o, int syntax) {
    int width = QvOctetFieldWidth(syntax);
    if (width == -2) Fail(QVERR_BAD_SYNTAX);
    if (o.empty()) return syntax == kDisplayStr ? std::string() : std::string("(NULL)");
    if (width > 0 && o.size() < static_cast<size_t>(width)) Fail(QVERR_BAD_PARTIAL_VALUE);
    switch (syntax) {
    case kBoolean:
        return QvHostOrderNumber(o, 0, 4) ? "true" : "false";
    case kInteger:
        return IntToStr(static_cast<int32_t>(static_cast<uint32_t>(QvHostOrderNumber(o, 0, 4))));
    case kCounter:
    case kGuage:
    case kUInteger:
        return UIntToStr(QvHostOrderNumber(o, 0, 4));
    case kBitStr:
    case kOctetStr:
    case kOpaque:
    case kMacAddress:
        return QvBytesToHex(o);
    case kNull:
        return "(NULL)";
    case kObjectId: {
        std::string text;
        for (size_t at = 0; at + 4 <= o.size(); at += 4) {
            if (!text.empty()) text += ".";
            text += UIntToStr(QvHostOrderNumber(o, at, 4));
        }
        return text;
    }
    case kIpAddress:
    case kNsapAddr:
        return UIntToStr(static_cast<unsigned char>(o[0])) + "." +
               UIntToStr(static_cast<unsigned char>(o[1])) + "." +
               UIntToStr(static_cast<unsigned char>(o[2])) + "." +
               UIntToStr(static_cast<unsigned char>(o[3]));
    case kTimeTicks:
        return QvTimeTicksToText(static_cast<uint32_t>(QvHostOrderNumber(o, 0, 4)));
    case kCounter64:
        return UIntToStr(QvHostOrderNumber(o, 0, 8));
    case kDouble:
        return FloatToStr(std::bit_cast<double>(QvHostOrderNumber(o, 0, 8)));
    case kDateTime:
        return QvDateTimeFromOctets(o).GetPrintable();
    case kBcDateTime:
        return FormatDateTime(kBcFormat, std::bit_cast<double>(QvHostOrderNumber(o, 0, 8)));
    case kDisplayStr: {
        size_t zero = o.find('\0');
        return zero == std::string::npos ? o : o.substr(0, zero);
    }
    case kBool8:
        return o[0] ? "true" : "false";
    case kInt8:
        return IntToStr(static_cast<signed char>(o[0]));
    case kUInt8:
        return UIntToStr(static_cast<unsigned char>(o[0]));
    case kBool16:
        return GetBE(o, 0, 2) ? "true" : "false";
    case kInt16:
        return IntToStr(static_cast<int16_t>(static_cast<uint16_t>(GetBE(o, 0, 2))));
    case kUInt16:
        return UIntToStr(GetBE(o, 0, 2));
    }
    return "(NULL)";
}

QvOctetImage QvExtractPartOctets(const QvOctetImage& o, int offset, int syntax) {
    int width = QvOctetFieldWidth(syntax);
    if (width == -2) Fail(QVERR_BAD_SYNTAX);
    if (o.empty() || width == 0) return QvOctetImage();
    if (width < 0) { // the rest from the offset on
        if (offset < 0 || static_cast<size_t>(offset) >= o.size()) return QvOctetImage();
        return o.substr(static_cast<size_t>(offset));
    }
    if (offset < 0 || o.size() < static_cast<size_t>(offset) + static_cast<size_t>(width))
        Fail(QVERR_PARTIAL_INDEX_RANGE);
    return o.substr(static_cast<size_t>(offset), static_cast<size_t>(width));
}
