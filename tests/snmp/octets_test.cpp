// Octet images of display texts by syntax, fields at byte offsets, and the
// failures of short images, fields past the end and unknown syntaxes.
#include "snmp/QvOctets.h"

#include "snmp/QvSNMPVar.h"
#include "tests/binding/group_fixture.h"
#include "base/Exception.h"

#include <cctype>
#include <gtest/gtest.h>
#include <ostream>
#include "support/CaseName.h"

namespace {

using snmptest::CodeOf;

std::string Bytes(std::initializer_list<int> bytes) {
    std::string s;
    for (int b : bytes)
        s.push_back(static_cast<char>(b));
    return s;
}

// Letters and digits of a text, the rest as "_" (a readable test name).
std::string Plain(const std::string& text) {
    std::string out;
    for (char ch : text)
        out.push_back(std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_');
    return out;
}

struct ImageCase {
    int syntax;
    std::string text;
    std::string octets;
    std::string back; // the text read back from the octets
};

std::string LabelOf(const ImageCase& c) {
    return "syntax" + std::to_string(c.syntax) + "_" + c.text;
}

void PrintTo(const ImageCase& c, std::ostream* os) {
    *os << "syntax " << c.syntax << " text " << Plain(c.text);
}

class OctetImage : public ::testing::TestWithParam<ImageCase> {};

TEST_P(OctetImage, TextToOctetsAndBack) {
    const ImageCase& c = GetParam();
    EXPECT_EQ(QvTextToOctets(c.text, c.syntax), c.octets);
    EXPECT_EQ(QvOctetsToText(c.octets, c.syntax), c.back);
}

using namespace QvSyntax;
INSTANTIATE_TEST_SUITE_P(
    EverySyntax, OctetImage,
    ::testing::Values(
        ImageCase{Boolean, "true", Bytes({1, 0, 0, 0}), "true"},
        ImageCase{Boolean, "yes", Bytes({0, 0, 0, 0}), "false"},
        ImageCase{Integer, "-2", Bytes({0xFE, 0xFF, 0xFF, 0xFF}), "-2"},
        ImageCase{Integer, "12ab", Bytes({12, 0, 0, 0}), "12"},
        ImageCase{Integer, "abc", Bytes({0, 0, 0, 0}), "0"},
        ImageCase{OctetStr, "0a0B", Bytes({0x0A, 0x0B}), "0A0B"},
        ImageCase{OctetStr, "1A2", Bytes({0x01, 0xA2}), "01A2"},
        ImageCase{BitStr, "8040", Bytes({0x80, 0x40}), "8040"},
        ImageCase{Opaque, "ZZ", Bytes({0}), "00"}, ImageCase{Null, "x", "", "(NULL)"},
        ImageCase{ObjectId, "1.3.6", Bytes({1, 0, 0, 0, 3, 0, 0, 0, 6, 0, 0, 0}), "1.3.6"},
        ImageCase{IpAddress, "10.1.2.3", Bytes({10, 1, 2, 3}), "10.1.2.3"},
        ImageCase{NsapAddr, "192.168.0.300", Bytes({192, 168, 0, 44}), "192.168.0.44"},
        ImageCase{Counter, "4294967295", Bytes({0xFF, 0xFF, 0xFF, 0xFF}), "4294967295"},
        ImageCase{Guage, "258", Bytes({2, 1, 0, 0}), "258"},
        ImageCase{UInteger, "7", Bytes({7, 0, 0, 0}), "7"},
        ImageCase{TimeTicks, "1 day 0:00:01.00", Bytes({0x64, 0xD6, 0x83, 0x00}),
                  "1 day 0:00:01.00"},
        ImageCase{TimeTicks, "2 days, 1:02:03.04", Bytes({0x50, 0x5A, 0x0D, 0x01}),
                  "2 days, 1:02:03.04"},
        ImageCase{TimeTicks, "0:02:30.00", Bytes({0x98, 0x3A, 0x00, 0x00}), "0:02:30.00"},
        // A bare number is a count of hundredths.
        ImageCase{TimeTicks, "6000", Bytes({0x70, 0x17, 0x00, 0x00}), "0:01:00.00"},
        ImageCase{Counter64, "4294967296", Bytes({0, 0, 0, 0, 1, 0, 0, 0}), "4294967296"},
        ImageCase{Double, "0.5", Bytes({0, 0, 0, 0, 0, 0, 0xE0, 0x3F}), "0.5"},
        ImageCase{MacAddress, "000D0A1B2C3D", Bytes({0, 0x0D, 0x0A, 0x1B, 0x2C, 0x3D}),
                  "000D0A1B2C3D"},
        ImageCase{DateTime, "2008-12-12,10:30:0.5,+8:0",
                  Bytes({0x07, 0xD8, 12, 12, 10, 30, 0, 5, '+', 8, 0}),
                  "2008-12-12,10:30:0.5,+8:0"},
        ImageCase{DisplayStr, "ab", "ab", "ab"}, ImageCase{Bool8, "true", Bytes({1}), "true"},
        ImageCase{Int8, "-1", Bytes({0xFF}), "-1"}, ImageCase{UInt8, "257", Bytes({1}), "1"},
        ImageCase{Bool16, "true", Bytes({0, 1}), "true"},
        ImageCase{Int16, "-2", Bytes({0xFF, 0xFE}), "-2"},
        ImageCase{UInt16, "65534", Bytes({0xFF, 0xFE}), "65534"}),
    [](const ::testing::TestParamInfo<ImageCase>& info) {
        return lmrtest::CaseName(info.index, LabelOf(info.param));
    });

TEST(OctetImageNull, NullTextGivesEmptyImageForEveryKnownSyntax) {
    for (int syntax : {1,  2,  3,  4,  5,  6,  64,  65,  66,  67,  68,  69, 70,
                       71, 72, 73, 74, 75, 76, 193, 194, 195, 196, 197, 198}) {
        SCOPED_TRACE(syntax);
        EXPECT_EQ(QvTextToOctets("(NULL)", syntax), "");
        EXPECT_EQ(QvOctetsToText("", syntax), syntax == DisplayStr ? "" : "(NULL)");
        EXPECT_EQ(QvExtractPartOctets("", 0, syntax), "");
    }
}

TEST(OctetImageDate, BcDateTimeRoundTrip) {
    const std::string text = "2026/12/09 03:07:09 pm";
    std::string octets = QvTextToOctets(text, BcDateTime);
    ASSERT_EQ(octets.size(), 8u);
    EXPECT_EQ(QvOctetsToText(octets, BcDateTime), text);
}

struct PartCase {
    std::string image;
    int offset;
    int syntax;
    std::string text; // shown text, or "" when code is set
    int code;
};

std::string LabelOf(const PartCase& c) {
    return "syntax" + std::to_string(c.syntax) + "_at" + std::to_string(c.offset);
}

void PrintTo(const PartCase& c, std::ostream* os) {
    *os << "syntax " << c.syntax << " at " << c.offset;
}

class PartOctets : public ::testing::TestWithParam<PartCase> {};

TEST_P(PartOctets, FieldAtOffset) {
    const PartCase& c = GetParam();
    if (c.code) {
        EXPECT_EQ(CodeOf([&] {
                      QvOctetsToText(QvExtractPartOctets(c.image, c.offset, c.syntax), c.syntax);
                  }),
                  c.code);
    } else {
        EXPECT_EQ(QvOctetsToText(QvExtractPartOctets(c.image, c.offset, c.syntax), c.syntax),
                  c.text);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Fields, PartOctets,
    ::testing::Values(PartCase{Bytes({10, 1, 2, 3}), 2, UInt8, "2", 0},
                      PartCase{Bytes({0xFF, 0xFE}), 0, UInt16, "65534", 0},
                      PartCase{Bytes({0xFF, 0xFE}), 0, Int16, "-2", 0},
                      PartCase{Bytes({0xFF, 0xFE}), 0, Bool16, "true", 0},
                      PartCase{Bytes({0, 0, 0xAB, 0xCD}), 2, OctetStr, "ABCD", 0},
                      PartCase{Bytes({1, 2, 3, 4, 5}), 1, IpAddress, "2.3.4.5", 0},
                      PartCase{Bytes({1, 2, 3, 4}), 1, IpAddress, "", -519},
                      PartCase{Bytes({1, 2, 3, 4}), 3, UInt16, "", -519},
                      PartCase{Bytes({1, 2, 3, 4}), 4, UInt8, "", -519}),
    [](const ::testing::TestParamInfo<PartCase>& info) {
        return lmrtest::CaseName(info.index, LabelOf(info.param));
    });

TEST(OctetImageErrors, ShortImagesRaise518) {
    struct {
        int syntax;
        size_t length;
    } cases[] = {{IpAddress, 3}, {Integer, 3},    {Boolean, 2},   {Counter64, 7},
                 {Double, 7},    {MacAddress, 5}, {DateTime, 10}, {BcDateTime, 7},
                 {Bool16, 1},    {UInt16, 1},     {TimeTicks, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.syntax);
        EXPECT_EQ(CodeOf([&] { QvOctetsToText(std::string(c.length, '\1'), c.syntax); }), -518);
    }
    // Variable-length syntaxes take any length.
    EXPECT_EQ(QvOctetsToText(Bytes({1, 2, 3}), OctetStr), "010203");
    EXPECT_EQ(QvOctetsToText(Bytes({7}), DisplayStr), "\7");
}

TEST(OctetImageErrors, UnknownSyntaxRaises511InAllThree) {
    EXPECT_EQ(CodeOf([] { QvTextToOctets("1", 199); }), -511);
    EXPECT_EQ(CodeOf([] { QvTextToOctets("(NULL)", 199); }), -511);
    EXPECT_EQ(CodeOf([] { QvOctetsToText(Bytes({1, 2, 3, 4}), 199); }), -511);
    EXPECT_EQ(CodeOf([] { QvExtractPartOctets(Bytes({1, 2, 3, 4}), 0, 199); }), -511);
    EXPECT_EQ(CodeOf([] { QvExtractPartOctets("", 0, 0); }), -511);
}

} // namespace
