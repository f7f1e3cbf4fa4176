// The dotted-address reading every layer shares: what it accepts, the four
// numbers it gives, and the canonical text.
#include "base/DottedAddress.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace {

struct ParseCase {
    const char* name;
    const char* text;
    bool accepted;
    const char* canonical; // when accepted
};
void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.name; }

class DottedParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(DottedParse, ReadsDecimalPartsOnly) {
    const ParseCase& c = GetParam();
    const auto a = DottedAddress::Parse(c.text);
    ASSERT_EQ(a.has_value(), c.accepted) << '"' << c.text << '"';
    if (a) {
        EXPECT_EQ(a->Text(), c.canonical);
        EXPECT_EQ(DottedAddress::Parse(a->Text()), a) << "the canonical text reads back";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Address, DottedParse,
    ::testing::Values(
        ParseCase{"Plain", "192.168.0.1", true, "192.168.0.1"},
        ParseCase{"LeadingZerosAreDecimal", "192.168.001.010", true, "192.168.1.10"},
        ParseCase{"LeadingZeroNotOctal", "192.0.2.050", true, "192.0.2.50"},
        ParseCase{"ManyLeadingZeros", "192.168.0.0001", true, "192.168.0.1"},
        ParseCase{"AllZeros", "000.0.00.0", true, "0.0.0.0"},
        ParseCase{"Top", "255.255.255.255", true, "255.255.255.255"},
        ParseCase{"BlanksAround", " 192.168.0.1 ", true, "192.168.0.1"},
        ParseCase{"BlanksInsideParts", "10. 1 .2 .3", true, "10.1.2.3"},
        ParseCase{"Empty", "", false, ""},
        ParseCase{"ThreeParts", "1.2.3", false, ""},
        ParseCase{"FiveParts", "1.2.3.4.5", false, ""},
        ParseCase{"TrailingDot", "1.2.3.", false, ""},
        ParseCase{"LeadingDot", ".1.2.3", false, ""},
        ParseCase{"EmptyPart", "1..2.3", false, ""},
        ParseCase{"BlankPart", "192. .0.1", false, ""},
        ParseCase{"Above255", "1.256.0.1", false, ""},
        ParseCase{"Huge", "99999999999.1.1.1", false, ""},
        ParseCase{"Letter", "1.2.x.4", false, ""},
        ParseCase{"Sign", "+192.168.0.1", false, ""},
        ParseCase{"Negative", "1.2.3.-4", false, ""},
        ParseCase{"HexPrefix", "0x10.1.1.1", false, ""},
        ParseCase{"DollarHex", "$C0.168.0.1", false, ""},
        ParseCase{"BlankBetweenDigits", "19 2.168.0.1", false, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DottedAddress, NumberIsFirstOctetMostSignificant) {
    EXPECT_EQ(DottedAddress::Parse("192.168.1.10")->Number(), 0xC0A8010Au);
    EXPECT_EQ(DottedAddress::FromNumber(0xC0A8010Au).Text(), "192.168.1.10");
    EXPECT_EQ(DottedAddress::FromNumber(0).Text(), "0.0.0.0");
}

TEST(DottedAddress, SameAddressWhateverTheSpelling) {
    EXPECT_TRUE(SameDottedAddress("192.0.2.050", "192.0.2.50"));
    EXPECT_TRUE(SameDottedAddress(" 192.0.2.50", "192.0.2.50"));
    EXPECT_FALSE(SameDottedAddress("192.0.2.51", "192.0.2.50"));
    EXPECT_FALSE(SameDottedAddress("", ""));
    EXPECT_FALSE(SameDottedAddress("x", "x")) << "texts that are no address are never the same";
}

TEST(DottedPart, DigitsWithBlanksOnly) {
    std::uint32_t v = 7;
    EXPECT_TRUE(DottedPartValue(" 020 ", &v));
    EXPECT_EQ(v, 20u);
    EXPECT_TRUE(DottedPartValue("4294967295", &v));
    EXPECT_EQ(v, 4294967295u);
    EXPECT_FALSE(DottedPartValue("4294967296", &v));
    EXPECT_FALSE(DottedPartValue("", &v));
    EXPECT_FALSE(DottedPartValue("1e3", &v));
}

} // namespace
