#include "base/SysUtils.h"

#include "os/Path.h"
#include "base/Exception.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sys/time.h>

std::string IntToStr(long long value) {
    return std::to_string(value);
}
std::string UIntToStr(unsigned long long value) {
    return std::to_string(value);
}

std::string IntToHex(unsigned long long value, int digits) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%0*llX", digits < 0 ? 0 : (digits > 16 ? 16 : digits), value);
    return buf;
}

static bool ParseInteger(const std::string& text, long long& out) {
    std::string t = Trim(text);
    if (t.empty()) return false;
    size_t i = 0;
    bool neg = false;
    if (t[i] == '+' || t[i] == '-') {
        neg = t[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < t.size() && t[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < t.size() && t[i] == '0' && (t[i + 1] == 'x' || t[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= t.size()) return false;
    unsigned long long v = 0;
    for (; i < t.size(); ++i) {
        int d;
        unsigned char c = static_cast<unsigned char>(t[i]);
        if (std::isdigit(c))
            d = c - '0';
        else if (base == 16 && std::isxdigit(c))
            d = std::toupper(c) - 'A' + 10;
        else
            return false;
        if (v > (~0ULL - static_cast<unsigned>(d)) / static_cast<unsigned>(base)) return false;
        v = v * static_cast<unsigned>(base) + static_cast<unsigned>(d);
    }
    if (base == 10) {
        if (!neg && v > static_cast<unsigned long long>(INT64_MAX)) return false;
        if (neg && v > static_cast<unsigned long long>(INT64_MAX) + 1ULL) return false;
    }
    out = neg ? static_cast<long long>(0ULL - v) : static_cast<long long>(v);
    return true;
}

long long StrToInt(const std::string& text) {
    long long v;
    if (!ParseInteger(text, v)) throw EConvertError("'" + text + "' is not a valid integer value");
    return v;
}

long long StrToIntDef(const std::string& text, long long defaultValue) {
    long long v;
    return ParseInteger(text, v) ? v : defaultValue;
}

bool ParseDecimal(const std::string& text, long long& value) {
    size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    if (i >= text.size()) return false;
    long long v = 0;
    for (; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (!std::isdigit(c)) return false;
        if (v > (INT64_MAX - (c - '0')) / 10) return false;
        v = v * 10 + (c - '0');
    }
    value = negative ? -v : v;
    return true;
}

long long DecimalOr(const std::string& text, long long fallback) {
    long long v = fallback;
    return ParseDecimal(text, v) ? v : fallback;
}

long long LeadingInt(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool neg = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) neg = text[i++] == '-';
    unsigned long long v = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        unsigned d = static_cast<unsigned>(text[i] - '0');
        if (v > (~0ULL - d) / 10) break; // stop before overflow: read as far as it can
        v = v * 10 + d;
    }
    if (v > static_cast<unsigned long long>(INT64_MAX)) v = INT64_MAX;
    return neg ? -static_cast<long long>(v) : static_cast<long long>(v);
}

double LeadingFloat(const std::string& text, bool* found) {
    const char* s = text.c_str();
    char* end = nullptr;
    errno = 0;
    double v = std::strtod(s, &end);
    bool ok = end != s;
    // strtod also reads "inf", "nan" and hexadecimal floats; the class library did not.
    if (ok) {
        const char* p = s;
        while (*p == ' ' || *p == '\t')
            ++p;
        if (*p == '+' || *p == '-') ++p;
        if (!(std::isdigit(static_cast<unsigned char>(*p)) || *p == '.'))
            ok = false;
        else if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
            v = 0;
        }
    }
    if (!ok) v = 0;
    if (found) *found = ok;
    return v;
}

double StrToFloat(const std::string& text) {
    std::string t = Trim(text);
    bool found = false;
    double v = LeadingFloat(t, &found);
    char* end = nullptr;
    std::strtod(t.c_str(), &end);
    if (!found || *end != '\0')
        throw EConvertError("'" + text + "' is not a valid floating point value");
    return v;
}

std::string FloatToStr(double value) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    if (value == 0) return "0";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", value); // 15 significant digits
    std::string s = buf;
    size_t epos = s.find('e');
    int exponent = std::atoi(s.c_str() + epos + 1);
    std::string mant = s.substr(0, epos);
    double mag = std::fabs(std::strtod(s.c_str(), nullptr));
    if (exponent >= 15 || mag < 1e-5) {
        size_t dot = mant.find('.');
        if (dot != std::string::npos) {
            while (!mant.empty() && mant.back() == '0')
                mant.pop_back();
            if (!mant.empty() && mant.back() == '.') mant.pop_back();
        }
        return mant + "E" + std::to_string(exponent);
    }
    int decimals = 14 - exponent;
    if (decimals < 0) decimals = 0;
    std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
    s = buf;
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0')
            s.pop_back();
        if (s.back() == '.') s.pop_back();
    }
    if (s == "-0") s = "0";
    return s;
}

std::string TrimLeft(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ')
        ++i;
    return text.substr(i);
}

std::string TrimRight(const std::string& text) {
    size_t n = text.size();
    while (n > 0 && static_cast<unsigned char>(text[n - 1]) <= ' ')
        --n;
    return text.substr(0, n);
}

std::string Trim(const std::string& text) {
    return TrimLeft(TrimRight(text));
}

std::string UpperCase(const std::string& text) {
    std::string r = text;
    for (char& c : r)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return r;
}

std::string LowerCase(const std::string& text) {
    std::string r = text;
    for (char& c : r)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return r;
}

int CompareText(const std::string& a, const std::string& b) {
    return UpperCase(a).compare(UpperCase(b));
}

bool SameText(const std::string& a, const std::string& b) {
    return a.size() == b.size() && CompareText(a, b) == 0;
}

int CompareStr(const std::string& a, const std::string& b) {
    return a.compare(b);
}

std::string SubStr(const std::string& text, int start, int count) {
    if (count <= 0) return "";
    long long first = start < 1 ? 1 : start;
    long long last = static_cast<long long>(start) + count - 1;
    if (last > static_cast<long long>(text.size())) last = static_cast<long long>(text.size());
    if (first > last) return "";
    return text.substr(static_cast<size_t>(first - 1), static_cast<size_t>(last - first + 1));
}

int Pos(const std::string& sub, const std::string& text) {
    if (sub.empty()) return 0;
    size_t p = text.find(sub);
    return p == std::string::npos ? 0 : static_cast<int>(p) + 1;
}

std::string StringOfChar(char c, int count) {
    return count > 0 ? std::string(static_cast<size_t>(count), c) : std::string();
}

std::vector<std::string> SplitString(const std::string& text, char delimiter) {
    std::vector<std::string> parts;
    std::string cur;
    for (char c : text) {
        if (c == delimiter) {
            parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    parts.push_back(cur);
    return parts;
}

std::string ExtractFileName(const std::string& path) {
    return os::ExtractFileName(path);
}

std::string ExtractFilePath(const std::string& path) {
    return os::ExtractFilePath(path);
}

std::string ExtractFileExt(const std::string& path) {
    std::string name = ExtractFileName(path);
    size_t p = name.rfind('.');
    return p == std::string::npos ? std::string() : name.substr(p);
}

// Civil date <-> day number (days since 1970-01-01), proleptic Gregorian.
static long long DaysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

static void CivilFromDays(long long z, int& y, int& m, int& d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long yy = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yy + (m <= 2));
}

static const long long kEpochOffset = DaysFromCivil(1899, 12, 30); // relative to 1970-01-01

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int msec) {
    long long days = DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
                     kEpochOffset;
    double frac = (hour * 3600000.0 + minute * 60000.0 + second * 1000.0 + msec) / 86400000.0;
    return static_cast<double>(days) + frac;
}

void DecodeDateTime(TDateTime value, int& year, int& month, int& day, int& hour, int& minute,
                    int& second, int& msec) {
    if (!std::isfinite(value) || std::fabs(value) > 1e9) value = 0;
    double whole = std::floor(value);
    long long ms = std::llround((value - whole) * 86400000.0);
    long long days = static_cast<long long>(whole);
    if (ms >= 86400000) {
        ms -= 86400000;
        ++days;
    }
    CivilFromDays(days + kEpochOffset, year, month, day);
    hour = static_cast<int>(ms / 3600000);
    minute = static_cast<int>(ms / 60000 % 60);
    second = static_cast<int>(ms / 1000 % 60);
    msec = static_cast<int>(ms % 1000);
}

TDateTime Now() {
    struct timeval tv;
    gettimeofday(&tv, nullptr);
    struct tm lt;
    time_t t = tv.tv_sec;
    localtime_r(&t, &lt);
    return EncodeDateTime(lt.tm_year + 1900, lt.tm_mon + 1, lt.tm_mday, lt.tm_hour, lt.tm_min,
                          lt.tm_sec, static_cast<int>(tv.tv_usec / 1000));
}

static bool StartsWithNoCase(const std::string& s, size_t i, const char* token) {
    for (size_t k = 0; token[k]; ++k) {
        if (i + k >= s.size()) return false;
        if (std::toupper(static_cast<unsigned char>(s[i + k])) !=
            std::toupper(static_cast<unsigned char>(token[k])))
            return false;
    }
    return true;
}

std::string FormatDateTime(const std::string& format, TDateTime value) {
    int y, mo, d, h, mi, s, ms;
    DecodeDateTime(value, y, mo, d, h, mi, s, ms);
    const std::string uf = UpperCase(format);
    bool twelve = (uf.find("AM/PM") != std::string::npos || uf.find("A/P") != std::string::npos ||
                   uf.find("AMPM") != std::string::npos);
    auto two = [](int v) {
        char b[8];
        std::snprintf(b, sizeof b, "%02d", v);
        return std::string(b);
    };
    std::string out;
    size_t i = 0;
    while (i < format.size()) {
        char c = format[i];
        char u = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (c == '\'' || c == '"') {
            size_t end = format.find(c, i + 1);
            if (end == std::string::npos) end = format.size();
            out += format.substr(i + 1, end - i - 1);
            i = end + 1;
        } else if (StartsWithNoCase(format, i, "AMPM")) {
            out += h < 12 ? "AM" : "PM";
            i += 4;
        } else if (StartsWithNoCase(format, i, "AM/PM")) {
            bool upper = format[i] == 'A';
            out += h < 12 ? (upper ? "AM" : "am") : (upper ? "PM" : "pm");
            i += 5;
        } else if (StartsWithNoCase(format, i, "A/P")) {
            bool upper = format[i] == 'A';
            out += h < 12 ? (upper ? "A" : "a") : (upper ? "P" : "p");
            i += 3;
        } else if (u == 'Y') {
            size_t n = 0;
            while (i + n < format.size() &&
                   std::toupper(static_cast<unsigned char>(format[i + n])) == 'Y')
                ++n;
            if (n <= 2)
                out += two(y % 100);
            else {
                char b[16];
                std::snprintf(b, sizeof b, "%04d", y);
                out += b;
            }
            i += n;
        } else if (u == 'M' || u == 'D' || u == 'H' || u == 'N' || u == 'S') {
            bool doubled = i + 1 < format.size() &&
                           std::toupper(static_cast<unsigned char>(format[i + 1])) == u;
            int v = 0;
            switch (u) {
            case 'M':
                v = mo;
                break;
            case 'D':
                v = d;
                break;
            case 'H':
                v = twelve ? (h % 12 == 0 ? 12 : h % 12) : h;
                break;
            case 'N':
                v = mi;
                break;
            default:
                v = s;
                break;
            }
            out += doubled ? two(v) : std::to_string(v);
            i += doubled ? 2 : 1;
        } else if (StartsWithNoCase(format, i, "ZZZ")) {
            char b[8];
            std::snprintf(b, sizeof b, "%03d", ms);
            out += b;
            i += 3;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

bool TryStrToDateTime(const std::string& text, TDateTime& value) {
    std::string t = Trim(text);
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    char sep1 = 0, sep2 = 0;
    int consumed = 0;
    if (std::sscanf(t.c_str(), "%d%c%d%c%d%n", &y, &sep1, &mo, &sep2, &d, &consumed) < 5)
        return false;
    if (!((sep1 == '/' && sep2 == '/') || (sep1 == '-' && sep2 == '-'))) return false;
    std::string rest = Trim(t.substr(static_cast<size_t>(consumed)));
    if (!rest.empty()) {
        int n = 0, c2 = 0;
        if (std::sscanf(rest.c_str(), "%d:%d%n", &h, &mi, &n) < 2) return false;
        if (std::sscanf(rest.c_str() + n, ":%d%n", &s, &c2) == 1) n += c2;
        std::string ampm = UpperCase(Trim(rest.substr(static_cast<size_t>(n))));
        if (ampm == "PM" || ampm == "P") {
            if (h < 1 || h > 12) return false;
            if (h != 12) h += 12;
        } else if (ampm == "AM" || ampm == "A") {
            if (h < 1 || h > 12) return false;
            if (h == 12) h = 0;
        } else if (!ampm.empty()) {
            return false;
        }
    }
    if (mo < 1 || mo > 12 || d < 1 || d > 31 || h > 23 || mi > 59 || s > 59 || h < 0 || mi < 0 ||
        s < 0 || y < 1 || y > 9999)
        return false;
    value = EncodeDateTime(y, mo, d, h, mi, s);
    return true;
}

TDateTime StrToDateTime(const std::string& text) {
    TDateTime v;
    if (!TryStrToDateTime(text, v))
        throw EConvertError("'" + text + "' is not a valid date and time");
    return v;
}
