#include <cstdint>
#include <gtest/gtest.h>

#include "base/Exception.h"
#include "base/SysUtils.h"

TEST(SysUtils, FloatToStrGeneralForm) {
    struct Case {
        double v;
        const char* text;
    } cases[] = {
        {0, "0"},
        {1, "1"},
        {65535, "65535"},
        {0.5, "0.5"},
        {-2.25, "-2.25"},
        {1e15, "1E15"},
        {123456789012345.0, "123456789012345"},
        {1e-6, "1E-6"},
        {0.00001, "0.00001"},
        {0.0001, "0.0001"},
        {1.0 / 3, "0.333333333333333"},
        {1e300 * 10, "1E301"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FloatToStr(c.v), c.text) << c.v;
}

TEST(SysUtils, IntegerConversions) {
    EXPECT_EQ(StrToInt(" 42 "), 42);
    EXPECT_EQ(StrToInt("-7"), -7);
    EXPECT_EQ(StrToInt("$1F"), 31);
    EXPECT_THROW(StrToInt("12a"), EConvertError);
    EXPECT_THROW(StrToInt(""), EConvertError);
    EXPECT_THROW(StrToInt("99999999999999999999"), EConvertError);
    EXPECT_EQ(StrToIntDef("x", 0), 0);
    EXPECT_EQ(LeadingInt("12ab"), 12);
    EXPECT_EQ(LeadingInt("ab"), 0);
    bool found = true;
    EXPECT_EQ(LeadingFloat("abc", &found), 0);
    EXPECT_FALSE(found);
    EXPECT_EQ(LeadingFloat("2.5x"), 2.5);
    EXPECT_EQ(LeadingFloat("inf"), 0);
}

// The device's numbers and the program's keys: plain decimal or nothing, the
// value it had kept.
TEST(SysUtils, DecimalTextOrItsFallback) {
    struct Case {
        const char* text;
        bool number;
        long long value;
    } cases[] = {
        {"0", true, 0},          {"42", true, 42},      {"-7", true, -7},
        {"+3", true, 3},         {" \t161", true, 161}, {"007", true, 7},
        {"", false, 0},          {"-", false, 0},       {" ", false, 0},
        {"12 ", false, 0},       {"1a", false, 0},      {"$1F", false, 0},
        {"0x10", false, 0},      {"(NOTDONE)", false, 0},
        {"9223372036854775807", true, INT64_MAX},
        {"9223372036854775808", false, 0},
        {"99999999999999999999", false, 0},
    };
    for (const auto& c : cases) {
        long long v = -99;
        EXPECT_EQ(ParseDecimal(c.text, v), c.number) << c.text;
        EXPECT_EQ(v, c.number ? c.value : -99) << c.text;
        EXPECT_EQ(DecimalOr(c.text, 5), c.number ? c.value : 5) << c.text;
    }
}

TEST(SysUtils, TextsAndPositions) {
    EXPECT_EQ(Trim("  a b \t"), "a b");
    EXPECT_TRUE(SameText("Enable", "enable"));
    EXPECT_FALSE(SameText("Enable", "Enabled"));
    EXPECT_EQ(SubStr("LMR-7300AP", 5, 4), "7300");
    EXPECT_EQ(SubStr("LMR-7300AP", 6, 1), "3");
    EXPECT_EQ(SubStr("abc", 3, 10), "c");
    EXPECT_EQ(SubStr("abc", 4, 1), "");
    EXPECT_EQ(SubStr("abc", 0, 2), "a");
    EXPECT_EQ(Pos("73", "LMR-7300AP"), 5);
    EXPECT_EQ(Pos("x", "abc"), 0);
    EXPECT_EQ(ExtractFileName("c:\\dir\\lmr.exe"), "lmr.exe");
    EXPECT_EQ(ExtractFileName("/usr/bin/lmr7300ap"), "lmr7300ap");
    EXPECT_EQ(ExtractFilePath("a/b\\c.txt"), "a/b\\");
}

TEST(SysUtils, DateTimeRoundTrip) {
    EXPECT_EQ(EncodeDateTime(1899, 12, 30, 0, 0, 0), 0.0);
    EXPECT_EQ(EncodeDateTime(1900, 1, 1, 12, 0, 0), 2.5);
    TDateTime t = EncodeDateTime(2026, 12, 9, 15, 7, 9);
    EXPECT_EQ(FormatDateTime("hh:nn:ss ampm", t), "03:07:09 PM");
    EXPECT_EQ(FormatDateTime("hh:nn:ss AM/PM", EncodeDateTime(2026, 1, 2, 0, 5, 0)), "12:05:00 AM");
    EXPECT_EQ(FormatDateTime("yyyy/mm/dd hh:nn:ss am/pm", t), "2026/12/09 03:07:09 pm");
    TDateTime back = 0;
    ASSERT_TRUE(TryStrToDateTime("2026/12/09 03:07:09 pm", back));
    EXPECT_NEAR(back, t, 1e-9);
    ASSERT_TRUE(TryStrToDateTime("2026/12/09 12:00:00 am", back));
    EXPECT_EQ(back, EncodeDateTime(2026, 12, 9, 0, 0, 0));
    EXPECT_FALSE(TryStrToDateTime("nonsense", back));
    EXPECT_THROW(StrToDateTime("2026/13/01"), EConvertError);
    double n = Now();
    EXPECT_GT(n, EncodeDateTime(2020, 1, 1, 0, 0, 0));
}
