#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <ctime>

#include "snmp/QvDateTime.h"
#include "support/CaseName.h"

namespace {

std::string Bytes(std::initializer_list<int> b) {
    std::string s;
    for (int v : b)
        s.push_back(static_cast<char>(v));
    return s;
}

TEST(DateTime, IsElevenPlainBytes) {
    EXPECT_EQ(sizeof(QvDateTime), 11u);
}

TEST(DateTime, ReceivedBytesShowWithOffset) {
    QvDateTime d = QvDateTimeFromOctets(
        Bytes({0x07, 0xD8, 0x0C, 0x0C, 0x0A, 0x1E, 0x00, 0x05, 0x2B, 0x08, 0}));
    EXPECT_EQ(d.Year, 2008);
    EXPECT_EQ(d.Direction, '+');
    EXPECT_EQ(d.GetPrintable(), "2008-12-12,10:30:0.5,+8:0");
    EXPECT_EQ(QvDateTimeToOctets(d),
              Bytes({0x07, 0xD8, 0x0C, 0x0C, 0x0A, 0x1E, 0x00, 0x05, 0x2B, 0x08, 0}));
}

TEST(DateTime, SwapYearBytesConvertsARawCopy) {
    QvDateTime d(0, 0, 0, 0, 0, 0, 0);
    std::string wire = Bytes({0x07, 0xD8, 12, 9, 8, 5, 3, 0, '-', 5, 30});
    static_assert(sizeof d == 11);
    std::memcpy(&d, wire.data(), 11);
    d.SwapYearBytes();
    EXPECT_EQ(d.GetPrintable(), "2008-12-9,8:5:3.0,-5:30");
    d.SwapYearBytes();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&d), 11), wire);
    QvDateTime copy;
    copy.SetData(d);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&copy), 11), wire);
}

struct ParseCase {
    const char* text;
    int year, month, day, hour, minutes, seconds, deci;
    char direction;
    int hours, mins;
    const char* printable;
};

std::string LabelOf(const ParseCase& c) {
    return std::string(c.text);
}

void PrintTo(const ParseCase& c, std::ostream* os) {
    *os << LabelOf(c);
}

class DateTimeParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(DateTimeParse, FieldsAndTextForm) {
    const ParseCase& c = GetParam();
    QvDateTime d = QvDateTime::Parse(c.text);
    EXPECT_EQ(d.Year, c.year);
    EXPECT_EQ(d.Month, c.month);
    EXPECT_EQ(d.Day, c.day);
    EXPECT_EQ(d.Hour, c.hour);
    EXPECT_EQ(d.Minutes, c.minutes);
    EXPECT_EQ(d.Seconds, c.seconds);
    EXPECT_EQ(d.DeciSeconds, c.deci);
    EXPECT_EQ(d.Direction, c.direction);
    EXPECT_EQ(d.HoursFromUtc, c.hours);
    EXPECT_EQ(d.MinutesFromUtc, c.mins);
    EXPECT_EQ(d.GetPrintable(), c.printable);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, DateTimeParse,
    ::testing::Values(ParseCase{"2008-12-12,10:30:0.5", 2008, 12, 12, 10, 30, 0, 5, '+', 0, 0,
                                "2008-12-12,10:30:0.5"},
                      ParseCase{"2008-12-12,10:30:0.5,-5:30", 2008, 12, 12, 10, 30, 0, 5, '-', 5,
                                30, "2008-12-12,10:30:0.5,-5:30"},
                      ParseCase{"2008-12-12,10:30:0.5,+8:0", 2008, 12, 12, 10, 30, 0, 5, '+', 8, 0,
                                "2008-12-12,10:30:0.5,+8:0"},
                      ParseCase{"2008-12-12,10:30:0.5,+0:0", 2008, 12, 12, 10, 30, 0, 5, '+', 0, 0,
                                "2008-12-12,10:30:0.5"},
                      // no range test; numbers are cut to their field widths
                      ParseCase{"2026-13-40,25:61:61.10", 2026, 13, 40, 25, 61, 61, 10, '+', 0, 0,
                                "2026-13-40,25:61:61.10"},
                      ParseCase{"70000-1-1,0:0:0.0", 70000 - 65536, 1, 1, 0, 0, 0, 0, '+', 0, 0,
                                "4464-1-1,0:0:0.0"},
                      ParseCase{"2008-300-1,0:0:0.0", 2008, 300 - 256, 1, 0, 0, 0, 0, '+', 0, 0,
                                "2008-44-1,0:0:0.0"},
                      // partial and foreign texts keep what was read, the rest 0
                      ParseCase{"2008-12-12,10:30:0.5,*8:0", 2008, 12, 12, 10, 30, 0, 5, '+', 0, 0,
                                "2008-12-12,10:30:0.5"},
                      ParseCase{"2008-12-12,10:30", 2008, 12, 12, 10, 30, 0, 0, '+', 0, 0,
                                "2008-12-12,10:30:0.0"},
                      ParseCase{"2008-12-12,10:30:0.5,+8", 2008, 12, 12, 10, 30, 0, 5, '+', 0, 0,
                                "2008-12-12,10:30:0.5"},
                      ParseCase{"yesterday", 0, 0, 0, 0, 0, 0, 0, '+', 0, 0, "0-0-0,0:0:0.0"},
                      ParseCase{"", 0, 0, 0, 0, 0, 0, 0, '+', 0, 0, "0-0-0,0:0:0.0"}),
    [](const ::testing::TestParamInfo<ParseCase>& info) {
        return lmrtest::CaseName(info.index, LabelOf(info.param));
    });

TEST(DateTime, WireRoundTripOfParsedText) {
    for (const char* t :
         {"2008-12-12,10:30:0.5,-5:30", "1999-1-31,23:59:60.9", "2026-12-9,8:5:3.0"})
        EXPECT_EQ(QvDateTimeFromOctets(QvDateTimeToOctets(QvDateTime::Parse(t))).GetPrintable(), t);
}

TEST(DateTime, ShortOctetsReadMissingBytesAsZero) {
    // the eight-byte form without the UTC offset
    QvDateTime d = QvDateTimeFromOctets(Bytes({0x07, 0xD8, 12, 12, 10, 30, 0, 5}));
    EXPECT_EQ(d.GetPrintable(), "2008-12-12,10:30:0.5");
    EXPECT_EQ(QvDateTimeFromOctets("").GetPrintable(), "0-0-0,0:0:0.0");
}

TEST(DateTime, NowHasNoOffsetAndMatchesTheClock) {
    std::time_t t = std::time(nullptr);
    QvDateTime now;
    std::tm tm{};
    localtime_r(&t, &tm);
    EXPECT_EQ(now.Direction, '+');
    EXPECT_EQ(now.HoursFromUtc, 0);
    EXPECT_EQ(now.MinutesFromUtc, 0);
    EXPECT_EQ(now.DeciSeconds, 0);
    EXPECT_NEAR(now.Year, tm.tm_year + 1900, 1);
    std::string text = now.GetPrintable();
    EXPECT_EQ(std::count(text.begin(), text.end(), ','), 1);
}

} // namespace
