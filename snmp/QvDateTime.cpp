#include "snmp/QvDateTime.h"

#include <cstdio>
#include <cstring>
#include <ctime>

QvDateTime::QvDateTime() {
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    *this =
        QvDateTime(static_cast<uint16_t>(tm.tm_year + 1900), static_cast<uint8_t>(tm.tm_mon + 1),
                   static_cast<uint8_t>(tm.tm_mday), static_cast<uint8_t>(tm.tm_hour),
                   static_cast<uint8_t>(tm.tm_min), static_cast<uint8_t>(tm.tm_sec), 0);
}

QvDateTime::QvDateTime(uint16_t year, uint8_t month, uint8_t day, uint8_t hour, uint8_t minutes,
                       uint8_t seconds, uint8_t deciSeconds, char direction, uint8_t hoursFromUtc,
                       uint8_t minutesFromUtc)
    : Year(year), Month(month), Day(day), Hour(hour), Minutes(minutes), Seconds(seconds),
      DeciSeconds(deciSeconds), Direction(direction), HoursFromUtc(hoursFromUtc),
      MinutesFromUtc(minutesFromUtc) {}

QvDateTime QvDateTime::Parse(const std::string& text) {
    int n[9] = {};
    char direction = '+';
    const char* s = text.c_str();
    if (std::sscanf(s, "%d-%d-%d,%d:%d:%d.%d,+%d:%d", &n[0], &n[1], &n[2], &n[3], &n[4], &n[5],
                    &n[6], &n[7], &n[8]) == 9) {
        direction = '+';
    } else if (std::sscanf(s, "%d-%d-%d,%d:%d:%d.%d,-%d:%d", &n[0], &n[1], &n[2], &n[3], &n[4],
                           &n[5], &n[6], &n[7], &n[8]) == 9) {
        direction = '-';
    } else {
        // Whatever matched before the first mismatch is kept.
        for (int& v : n)
            v = 0;
        std::sscanf(s, "%d-%d-%d,%d:%d:%d.%d", &n[0], &n[1], &n[2], &n[3], &n[4], &n[5], &n[6]);
    }
    auto b = [](int v) { return static_cast<uint8_t>(static_cast<unsigned>(v) & 0xFFu); };
    return QvDateTime(static_cast<uint16_t>(static_cast<unsigned>(n[0]) & 0xFFFFu), b(n[1]),
                      b(n[2]), b(n[3]), b(n[4]), b(n[5]), b(n[6]), direction, b(n[7]), b(n[8]));
}

std::string QvDateTime::GetPrintable() const {
    char buf[96];
    if ((HoursFromUtc != 0 || MinutesFromUtc != 0) && (Direction == '+' || Direction == '-'))
        std::snprintf(buf, sizeof buf, "%d-%d-%d,%d:%d:%d.%d,%c%d:%d", Year, Month, Day, Hour,
                      Minutes, Seconds, DeciSeconds, Direction, HoursFromUtc, MinutesFromUtc);
    else
        std::snprintf(buf, sizeof buf, "%d-%d-%d,%d:%d:%d.%d", Year, Month, Day, Hour, Minutes,
                      Seconds, DeciSeconds);
    return buf;
}

void QvDateTime::SetData(const QvDateTime& other) {
    std::memcpy(this, &other, sizeof *this);
}

void QvDateTime::SwapYearBytes() {
    Year = static_cast<uint16_t>(Year << 8 | Year >> 8);
}

std::string QvDateTimeToOctets(const QvDateTime& value) {
    unsigned char bytes[11];
    bytes[0] = static_cast<unsigned char>(value.Year >> 8);
    bytes[1] = static_cast<unsigned char>(value.Year & 0xFF);
    bytes[2] = value.Month;
    bytes[3] = value.Day;
    bytes[4] = value.Hour;
    bytes[5] = value.Minutes;
    bytes[6] = value.Seconds;
    bytes[7] = value.DeciSeconds;
    bytes[8] = static_cast<unsigned char>(value.Direction);
    bytes[9] = value.HoursFromUtc;
    bytes[10] = value.MinutesFromUtc;
    return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

QvDateTime QvDateTimeFromOctets(const std::string& octets) {
    auto at = [&](size_t i) -> uint8_t {
        return i < octets.size() ? static_cast<uint8_t>(octets[i]) : 0;
    };
    char direction = octets.size() > 8 ? static_cast<char>(octets[8]) : '+';
    return QvDateTime(static_cast<uint16_t>(at(0) << 8 | at(1)), at(2), at(3), at(4), at(5), at(6),
                      at(7), direction, at(9), at(10));
}
