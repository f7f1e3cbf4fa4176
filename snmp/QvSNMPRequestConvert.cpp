// Values between display text and the wire, by the variable's syntax.
#include <cmath>
#include <cstring>
#include <optional>

#include "base/DottedAddress.h"
#include "base/SysUtils.h"
#include "snmp/QvDateTime.h"
#include "snmp/QvExpression.h"
#include "snmp/QvSNMPRequest.h"

namespace S = QvSyntax;

namespace {

constexpr const char* kNull = "(NULL)";
constexpr const char* kDateTimeFormat = "yyyy/mm/dd hh:nn:ss am/pm";

int64_t IntOf(const Vb& vb) {
    return vb.syntax == snmpeng::kSynInteger ? vb.integer : static_cast<int64_t>(vb.unsigned_);
}

double DoubleOf(const std::string& octets) {
    unsigned char b[8] = {0};
    std::memcpy(b, octets.data(), octets.size() < 8 ? octets.size() : 8);
    uint64_t bits = 0;
    for (int k = 7; k >= 0; --k)
        bits = (bits << 8) | b[k];
    double d;
    std::memcpy(&d, &bits, 8);
    return d;
}

std::string DoubleOctets(double d) {
    uint64_t bits;
    std::memcpy(&bits, &d, 8);
    std::string out(8, '\0');
    for (int k = 0; k < 8; ++k)
        out[k] = static_cast<char>((bits >> (8 * k)) & 0xFF);
    return out;
}

uint64_t DoubleBits(double d) {
    uint64_t bits;
    std::memcpy(&bits, &d, 8);
    return bits;
}

double BitsDouble(uint64_t bits) {
    double d;
    std::memcpy(&d, &bits, 8);
    return d;
}

double TextToDateTime(const std::string& text) {
    TDateTime v = 0;
    if (TryStrToDateTime(text, v)) return v;
    return 0;
}

std::string Dotted(const std::string& bytes) {
    std::string out;
    for (size_t k = 0; k < bytes.size(); ++k) {
        if (k) out += ".";
        out += std::to_string(static_cast<unsigned char>(bytes[k]));
    }
    return out;
}

// Four decimal parts 0-255, each with leading zeros and blanks around it
// allowed, as the address checks accept them. Anything else is refused
// rather than sent as 0.0.0.0, which would move the device out of reach.
std::string IpOctets(const std::string& text) {
    const std::optional<DottedAddress> a = DottedAddress::Parse(text);
    if (!a) RaiseQvSNMPError(QVERR_BAD_SYNTAX);
    return std::string(a->octets.begin(), a->octets.end());
}

std::vector<uint32_t> SplitSubIds(const std::string& text) {
    std::vector<uint32_t> out;
    if (text.empty()) return out;
    for (const std::string& part : SplitString(text, '.'))
        out.push_back(static_cast<uint32_t>(LeadingInt(part)));
    return out;
}

std::string Join(const std::vector<uint64_t>& ids) {
    std::string out;
    for (size_t k = 0; k < ids.size(); ++k) {
        if (k) out += ".";
        out += std::to_string(ids[k]);
    }
    return out;
}

bool IsOctetSyntax(int s) {
    return s == S::BitStr || s == S::OctetStr || s == S::Opaque || s == S::MacAddress;
}

} // namespace

std::string QvTimeTicksToText(uint32_t t) {
    unsigned long days = t / 8640000ul, rest = t % 8640000ul;
    unsigned long h = rest / 360000ul, m = rest / 6000ul % 60, s = rest / 100ul % 60,
                  c = rest % 100;
    char buf[96];
    if (days == 0)
        std::snprintf(buf, sizeof buf, "%lu:%02lu:%02lu.%02lu", h, m, s, c);
    else if (days == 1)
        std::snprintf(buf, sizeof buf, "1 day %lu:%02lu:%02lu.%02lu", h, m, s, c);
    else
        std::snprintf(buf, sizeof buf, "%lu days, %lu:%02lu:%02lu.%02lu", days, h, m, s, c);
    return buf;
}

uint32_t QvTextToTimeTicks(const std::string& text) {
    uint64_t count = 0;
    std::string rest = text;
    size_t at = rest.find("days");
    size_t len = 4;
    if (at == std::string::npos) {
        at = rest.find("day");
        len = 3;
    }
    if (at != std::string::npos) {
        count += static_cast<uint64_t>(LeadingInt(Trim(rest.substr(0, at)))) * 8640000ull;
        rest = rest.substr(at + len);
        size_t comma = rest.find_first_not_of(' ');
        if (comma != std::string::npos && rest[comma] == ',') rest = rest.substr(comma + 1);
    }
    const char seps[] = {':', ':', '.'};
    const uint64_t scale[] = {360000, 6000, 100};
    for (int k = 0; k < 3; ++k) {
        size_t p = rest.find(seps[k]);
        if (p == std::string::npos) return static_cast<uint32_t>(count);
        count += static_cast<uint64_t>(LeadingInt(Trim(rest.substr(0, p)))) * scale[k];
        rest = rest.substr(p + 1);
        if (k == 2) count += static_cast<uint64_t>(LeadingInt(Trim(rest)));
    }
    return static_cast<uint32_t>(count);
}

std::string QvBytesToHex(const std::string& bytes) {
    static const char* d = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        out += d[c >> 4];
        out += d[c & 15];
    }
    return out;
}

std::string QvHexToBytes(const std::string& text) {
    std::string t;
    for (char c : text)
        if (c != ' ') t += c;
    auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        return 0;
    };
    std::string out;
    size_t k = 0;
    if (t.size() % 2) out += static_cast<char>(digit(t[k++]));
    for (; k + 1 < t.size() + 1 && k < t.size(); k += 2)
        out += static_cast<char>(digit(t[k]) * 16 + digit(t[k + 1]));
    return out;
}

std::string QvSNMPRequest::ExpandVariables(const std::string& textIn, bool quote, char marker) {
    std::string text = textIn;
    // A value that holds the marker would be expanded again; a bound keeps a
    // self-referring expression from looping for ever.
    for (int round = 0;; ++round) {
        size_t at = text.find(marker);
        if (at == std::string::npos) return text;
        if (round >= 1000) RaiseQvSNMPError(QVERR_BAD_EXPRESSION_SYNTAX);
        size_t end = at + 1;
        int index = 0;
        while (end < text.size() && text[end] >= '0' && text[end] <= '9') {
            index = index * 10 + (text[end] - '0');
            if (index > 1000000) break;
            ++end;
        }
        if (index >= vars.Count()) RaiseQvSNMPError(QVERR_BAD_EXPRESSION_SYNTAX);
        QvSNMPVar* v = vars.Item(index);
        std::string value = *v->Value;
        if (v->OptionList) value = v->OptionList->TextToValue(value);
        if (value == kNull) RaiseQvSNMPError(QVERR_NULL_IN_EXPRESSION);
        std::string repl;
        switch (v->Syntax) {
        case S::Boolean:
        case S::Bool8:
        case S::Bool16:
            repl = value == "true" ? "1" : "0";
            break;
        case S::Integer:
        case S::Counter:
        case S::Guage:
        case S::Counter64:
        case S::UInteger:
        case S::Double:
        case S::Int8:
        case S::UInt8:
        case S::Int16:
        case S::UInt16:
            repl = value;
            break;
        case S::TimeTicks:
            repl = std::to_string(QvTextToTimeTicks(value));
            break;
        case S::BcDateTime:
            repl = FloatToStr(TextToDateTime(value));
            break;
        default:
            if (!quote) RaiseQvSNMPError(QVERR_BAD_EXPRESSION_SYNTAX);
            repl = "\"" + value + "\"";
        }
        text = text.substr(0, at) + repl + text.substr(end);
    }
}

std::string QvSNMPRequest::OidToKeyValue(int i, const std::string& suffix) {
    QvSNMPVar* v = vars.Item(i);
    const bool implied = vars.HasFlag64(i) && i == static_cast<int>(vars.PKeyCount) - 1;
    std::vector<uint32_t> ids = SplitSubIds(suffix);
    size_t used = 0;
    auto take = [&]() -> uint32_t { return used < ids.size() ? ids[used++] : 0; };
    auto takeBytes = [&](bool counted) {
        size_t n = counted ? take() : ids.size() - used;
        std::string bytes;
        for (size_t k = 0; k < n && used < ids.size(); ++k)
            bytes += static_cast<char>(take() & 0xFF);
        return bytes;
    };
    // A fixed-size value: missing sub-identifiers count as zero bytes.
    auto takeFixed = [&](size_t n) {
        std::string bytes;
        for (size_t k = 0; k < n; ++k)
            bytes += static_cast<char>(take() & 0xFF);
        return bytes;
    };
    std::string value;
    switch (v->Syntax) {
    case S::Null:
        value = kNull;
        break;
    case S::Boolean:
        value = take() ? "true" : "false";
        break;
    case S::Integer:
        value = std::to_string(static_cast<int32_t>(take()));
        break;
    case S::Counter:
    case S::Guage:
    case S::UInteger:
        value = std::to_string(take());
        break;
    case S::TimeTicks:
        value = QvTimeTicksToText(take());
        break;
    case S::Counter64: {
        uint64_t hi = take(), lo = take();
        value = std::to_string((hi << 32) | lo);
        break;
    }
    case S::Double: {
        uint64_t lo = take(), hi = take();
        value = FloatToStr(BitsDouble((hi << 32) | lo));
        break;
    }
    case S::BcDateTime: {
        uint64_t lo = take(), hi = take();
        value = FormatDateTime(kDateTimeFormat, BitsDouble((hi << 32) | lo));
        break;
    }
    case S::IpAddress:
    case S::NsapAddr:
        value = Dotted(takeFixed(4));
        break;
    case S::MacAddress:
        value = QvBytesToHex(takeFixed(6));
        break;
    case S::DateTime:
        value = QvDateTimeFromOctets(takeFixed(11)).GetPrintable();
        break;
    case S::BitStr:
    case S::OctetStr:
    case S::Opaque:
        value = QvBytesToHex(takeBytes(!implied));
        break;
    case S::DisplayStr:
        value = takeBytes(!implied);
        break;
    case S::ObjectId:
        if (implied) {
            value = suffix;
            used = ids.size();
        } else {
            size_t n = take();
            std::vector<uint64_t> sub;
            for (size_t k = 0; k < n && used < ids.size(); ++k)
                sub.push_back(take());
            value = Join(sub);
        }
        break;
    default:
        RaiseQvSNMPError(QVERR_BAD_SYNTAX);
    }
    if (v->OptionList) value = v->OptionList->ValueToText(value);
    *v->Value = value;
    std::vector<uint64_t> rest(ids.begin() + static_cast<long>(used), ids.end());
    return Join(rest);
}

void QvSNMPRequest::KeyValueToOid(int i, std::string& out) {
    QvSNMPVar* v = vars.Item(i);
    const bool implied = vars.HasFlag64(i) && i == static_cast<int>(vars.PKeyCount) - 1;
    std::string text = *v->Value;
    if (v->OptionList) text = v->OptionList->TextToValue(text);
    std::vector<uint64_t> ids;
    auto bytes = [&](const std::string& b) {
        if (!implied) ids.push_back(b.size());
        for (unsigned char c : b)
            ids.push_back(c);
    };
    switch (v->Syntax) {
    case S::Null:
        break;
    case S::Boolean:
        ids.push_back(text == "true" ? 1 : 0);
        break;
    case S::Integer:
    case S::Counter:
    case S::Guage:
    case S::UInteger:
        ids.push_back(static_cast<uint32_t>(LeadingInt(text)));
        break;
    case S::Counter64: {
        uint64_t n = static_cast<uint64_t>(LeadingFloat(text));
        ids.push_back(n >> 32);
        ids.push_back(n & 0xFFFFFFFFull);
        break;
    }
    case S::Double:
    case S::BcDateTime: {
        uint64_t b = DoubleBits(v->Syntax == S::Double ? LeadingFloat(text) : TextToDateTime(text));
        ids.push_back(b & 0xFFFFFFFFull);
        ids.push_back(b >> 32);
        break;
    }
    case S::BitStr:
    case S::OctetStr:
    case S::Opaque:
        bytes(QvHexToBytes(text));
        break;
    case S::DisplayStr:
        bytes(text);
        break;
    case S::ObjectId: {
        std::vector<uint32_t> sub = SplitSubIds(text);
        if (!implied) ids.push_back(sub.size());
        for (uint32_t s : sub)
            ids.push_back(s);
        break;
    }
    case S::IpAddress:
    case S::NsapAddr: {
        std::vector<std::string> parts = SplitString(text, '.');
        for (int k = 0; k < 4; ++k)
            ids.push_back(k < static_cast<int>(parts.size())
                              ? static_cast<uint32_t>(LeadingInt(parts[k])) & 0xFF
                              : 0);
        break;
    }
    case S::TimeTicks:
        ids.push_back(QvTextToTimeTicks(text));
        break;
    case S::MacAddress: {
        std::string b = QvHexToBytes(text);
        if (b.size() >= 6)
            for (int k = 0; k < 6; ++k)
                ids.push_back(static_cast<unsigned char>(b[k]));
        break;
    }
    case S::DateTime:
        for (unsigned char c : QvDateTimeToOctets(QvDateTime::Parse(text)))
            ids.push_back(c);
        break;
    default:
        RaiseQvSNMPError(QVERR_BAD_SYNTAX);
    }
    out = Join(ids);
}

void QvSNMPRequest::VbToValue(int i, const Vb& vb) {
    QvSNMPVar* v = vars.Item(i);
    std::string text;
    switch (v->Syntax) {
    case S::Null:
        text = kNull;
        break;
    case S::Boolean:
        text = IntOf(vb) == 0 ? "false" : "true";
        break;
    case S::Integer:
        text = std::to_string(static_cast<int32_t>(IntOf(vb)));
        break;
    case S::Counter:
    case S::Guage:
    case S::UInteger:
        text = std::to_string(static_cast<uint32_t>(IntOf(vb)));
        break;
    case S::Counter64:
        text = std::to_string(static_cast<uint64_t>(IntOf(vb)));
        break;
    case S::Double:
        text = FloatToStr(DoubleOf(vb.octets));
        break;
    case S::BitStr:
    case S::OctetStr:
    case S::Opaque:
    case S::MacAddress:
        text = QvBytesToHex(vb.octets);
        break;
    case S::ObjectId:
        text = vb.oidValue;
        break;
    case S::IpAddress:
    case S::NsapAddr:
        text = Dotted(vb.octets);
        break;
    case S::TimeTicks:
        text = QvTimeTicksToText(static_cast<uint32_t>(IntOf(vb)));
        break;
    case S::DateTime:
        text = QvDateTimeFromOctets(vb.octets).GetPrintable();
        break;
    case S::BcDateTime:
        text = FormatDateTime(kDateTimeFormat, DoubleOf(vb.octets));
        break;
    case S::DisplayStr:
        // A text object that a firmware answers with a number shows it.
        if (vb.syntax == snmpeng::kSynInteger)
            text = std::to_string(vb.integer);
        else if (vb.syntax == snmpeng::kSynCounter || vb.syntax == snmpeng::kSynGauge ||
                 vb.syntax == snmpeng::kSynUInteger || vb.syntax == snmpeng::kSynCounter64)
            text = std::to_string(vb.unsigned_);
        else
            text = vb.octets.substr(0, vb.octets.find('\0'));
        break;
    default:
        RaiseQvSNMPError(QVERR_BAD_SYNTAX);
    }
    if (!IsOctetSyntax(v->Syntax) && vb.HasEmptyPrintable())
        text = v->Syntax == S::DisplayStr ? "" : kNull;
    if (v->OptionList) text = v->OptionList->ValueToText(text);
    *v->Value = text;
}

void QvSNMPRequest::ValueToVb(int i, Vb& vb) {
    QvSNMPVar* v = vars.Item(i);
    std::string text = *v->Value;
    if (v->OptionList) text = v->OptionList->TextToValue(text);
    if (v->Syntax != S::Null && text == kNull) {
        vb.SetNull();
        return;
    }
    switch (v->Syntax) {
    case S::Null:
        vb.SetNull();
        break;
    case S::Boolean:
        vb.SetInteger(text == "true" ? 1 : 0);
        break;
    case S::Integer:
        vb.SetInteger(static_cast<int32_t>(LeadingInt(text)));
        break;
    case S::Counter:
    case S::Guage:
    case S::UInteger:
        vb.SetUnsigned(v->Syntax, static_cast<uint32_t>(LeadingInt(text)));
        break;
    case S::Counter64:
        vb.SetUnsigned(snmpeng::kSynCounter64, static_cast<uint64_t>(LeadingFloat(text)));
        break;
    case S::Double:
        vb.SetOctets(snmpeng::kSynOctets, DoubleOctets(LeadingFloat(text)));
        break;
    case S::BitStr:
        vb.SetOctets(snmpeng::kSynBits, QvHexToBytes(text));
        break;
    case S::OctetStr:
    case S::MacAddress:
        vb.SetOctets(snmpeng::kSynOctets, QvHexToBytes(text));
        break;
    case S::Opaque:
        vb.SetOctets(snmpeng::kSynOpaque, QvHexToBytes(text));
        break;
    case S::ObjectId:
        vb.SetOidValue(text);
        break;
    case S::IpAddress:
        vb.SetOctets(snmpeng::kSynIpAddress, IpOctets(text));
        break;
    case S::NsapAddr:
        vb.SetOctets(snmpeng::kSynNsap, IpOctets(text));
        break;
    case S::TimeTicks:
        vb.SetUnsigned(snmpeng::kSynTimeTicks, QvTextToTimeTicks(text));
        break;
    case S::DateTime:
        vb.SetOctets(snmpeng::kSynOctets, QvDateTimeToOctets(QvDateTime::Parse(text)));
        break;
    case S::BcDateTime:
        vb.SetOctets(snmpeng::kSynOctets, DoubleOctets(TextToDateTime(text)));
        break;
    case S::DisplayStr:
        vb.SetOctets(snmpeng::kSynOctets, text);
        break;
    default:
        RaiseQvSNMPError(QVERR_BAD_SYNTAX);
    }
}

void QvSNMPRequest::EvaluateDerived(int i, bool afterGet) {
    QvSNMPVar* v = vars.Item(i);
    const char* expr = afterGet ? v->GetExpression : v->SetExpression;
    if (!expr || !*expr) return;
    double n = EvaluateNumericExpression(ExpandVariables(expr, false, '$'));
    std::string text;
    switch (v->Syntax) {
    case S::Boolean:
        text = n == 0 ? "false" : "true";
        break;
    case S::Integer:
        text = std::to_string(static_cast<int32_t>(std::trunc(n)));
        break;
    case S::Counter:
    case S::Guage:
    case S::UInteger:
        text = std::to_string(static_cast<uint32_t>(static_cast<int64_t>(std::trunc(n))));
        break;
    case S::Counter64:
        text = std::to_string(static_cast<uint64_t>(n < 0 ? 0 : std::trunc(n)));
        break;
    case S::Double:
        text = FloatToStr(n);
        break;
    case S::TimeTicks:
        text = QvTimeTicksToText(static_cast<uint32_t>(static_cast<int64_t>(std::trunc(n))));
        break;
    case S::BcDateTime:
        text = FormatDateTime(kDateTimeFormat, n);
        break;
    default:
        RaiseQvSNMPError(QVERR_BAD_EXPRESSION_SYNTAX);
    }
    if (v->OptionList) text = v->OptionList->ValueToText(text);
    *v->Value = text;
}

bool QvSNMPRequest::EvaluateCondition(const std::string& text) {
    if (text.empty()) return true;
    return EvaluateLogicExpression(ExpandVariables(text, true, '$'));
}

namespace {
// -1, 0, 1 comparing dotted identifiers arc by arc.
int CompareOids(const std::string& a, const std::string& b) {
    std::vector<uint32_t> x = SplitSubIds(a), y = SplitSubIds(b);
    for (size_t k = 0; k < x.size() && k < y.size(); ++k)
        if (x[k] != y[k]) return x[k] < y[k] ? -1 : 1;
    return x.size() == y.size() ? 0 : (x.size() < y.size() ? -1 : 1);
}
} // namespace

bool QvSNMPRequest::IsEndOfWalk(const std::string& base, const std::string& previous,
                                const std::string& received) {
    if (!vars.IsTable()) return false;
    if (received.size() <= base.size()) return true;
    // Inside the column only below its identifier: "1.10.5" is not under "1.1".
    if (received.compare(0, base.size(), base) != 0 || received[base.size()] != '.') return true;
    // An agent that does not move forward would keep a walk going for ever.
    if (!previous.empty() && CompareOids(received, previous) <= 0) return true;
    return false;
}
