#pragma once
// The SNMPv2 DateAndTime value: eleven bytes, the year in host order inside
// the object and in network order on the wire.
#include <cstdint>
#include <string>

#pragma pack(push, 1)
class QvDateTime {
public:
    // The PC's local date and time now: no deci-seconds, offset +0:0.
    QvDateTime();
    // Every field given; a zero value is QvDateTime(0, 0, 0, 0, 0, 0, 0).
    QvDateTime(uint16_t year, uint8_t month, uint8_t day, uint8_t hour, uint8_t minutes,
               uint8_t seconds, uint8_t deciSeconds, char direction = '+', uint8_t hoursFromUtc = 0,
               uint8_t minutesFromUtc = 0);

    // "y-m-d,h:m:s.d,+h:m", "y-m-d,h:m:s.d,-h:m" or "y-m-d,h:m:s.d"; fields
    // not read stay 0, and the direction "+" when none was read.
    static QvDateTime Parse(const std::string& text);
    // Unpadded numbers; the UTC offset only when it is not zero.
    std::string GetPrintable() const;
    void SetData(const QvDateTime& other);
    void SwapYearBytes();

    uint16_t Year;
    uint8_t Month;
    uint8_t Day;
    uint8_t Hour;
    uint8_t Minutes;
    uint8_t Seconds;
    uint8_t DeciSeconds;
    char Direction;
    uint8_t HoursFromUtc;
    uint8_t MinutesFromUtc;
};
#pragma pack(pop)

static_assert(sizeof(QvDateTime) == 11, "DateAndTime is eleven bytes");

// The eleven wire bytes (year big-endian) and back. Missing bytes of a short
// octet string read as 0, with direction "+" when the direction byte is missing.
std::string QvDateTimeToOctets(const QvDateTime& value);
QvDateTime QvDateTimeFromOctets(const std::string& octets);
