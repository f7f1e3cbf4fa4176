// Conversion of values by syntax: received bindings to display text, display
// text to bindings, index columns to instance suffixes and back.
#include "base/Exception.h"
#include "snmp/QvSNMPRequest.h"

#include <gtest/gtest.h>

namespace {

namespace S = QvSyntax;

class ConvertTest : public ::testing::Test {
protected:
    // One variable of the syntax (a table with key count keys when given).
    void Use(int syntax, int access = QvAccess::ReadWrite, uint8_t kind = SVT_SV,
             uint32_t keys = 0) {
        table_[0] = {"1.3.6.1.4.1.99.1",
                     "v",
                     syntax,
                     access,
                     nullptr,
                     nullptr,
                     nullptr,
                     nullptr,
                     nullptr,
                     nullptr};
        table_[1] = {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
        req.vars = QvSNMPVarList(table_, kind, keys);
    }
    std::string& Value() { return *req.vars.Item(0)->Value; }
    std::string FromVb(const Vb& vb) {
        req.VbToValue(0, vb);
        return Value();
    }
    Vb ToVb(const std::string& text) {
        Value() = text;
        Vb vb;
        req.ValueToVb(0, vb);
        return vb;
    }
    std::string Key(const std::string& text) {
        Value() = text;
        std::string out;
        req.KeyValueToOid(0, out);
        return out;
    }
    QvSNMPVar table_[2];
    QvSNMPRequest req;
};

Vb Octets(std::string b) {
    Vb vb;
    vb.SetOctets(snmpeng::kSynOctets, std::move(b));
    return vb;
}

TEST_F(ConvertTest, ReceivedValuesShowByTheirSyntax) {
    struct Case {
        int syntax;
        Vb vb;
        const char* text;
    };
    Vb i;
    i.SetInteger(-1);
    Vb c;
    c.SetUnsigned(snmpeng::kSynCounter, 4294967295u);
    Vb c64;
    c64.SetUnsigned(snmpeng::kSynCounter64, 18446744073709551615ull);
    Vb tt;
    tt.SetUnsigned(snmpeng::kSynTimeTicks, 8640100);
    Vb tt2;
    tt2.SetUnsigned(snmpeng::kSynTimeTicks, 17652304);
    Vb tt0;
    tt0.SetUnsigned(snmpeng::kSynTimeTicks, 360000 + 6000 * 2 + 303);
    Vb ip;
    ip.SetOctets(snmpeng::kSynIpAddress, std::string("\xC0\xA8\x00\x01", 4));
    Vb oid;
    oid.SetOidValue("1.3.6.1.4.1");
    Vb one;
    one.SetInteger(1);
    Vb zero;
    zero.SetInteger(0);
    Vb null;
    const Case cases[] = {
        {S::Integer, i, "-1"},
        {S::Counter, c, "4294967295"},
        {S::Guage, c, "4294967295"},
        {S::Counter64, c64, "18446744073709551615"},
        {S::TimeTicks, tt, "1 day 0:00:01.00"},
        {S::TimeTicks, tt2, "2 days, 1:02:03.04"},
        {S::TimeTicks, tt0, "1:02:03.03"},
        {S::IpAddress, ip, "192.168.0.1"},
        {S::ObjectId, oid, "1.3.6.1.4.1"},
        {S::Boolean, one, "true"},
        {S::Boolean, zero, "false"},
        {S::MacAddress, Octets(std::string("\x00\x0D\x0A\x1B\x2C\x3D", 6)), "000D0A1B2C3D"},
        {S::OctetStr, Octets("ab"), "6162"},
        {S::OctetStr, Octets(""), ""},
        {S::DisplayStr, Octets(std::string("ab\0cd", 5)), "ab"},
        {S::DisplayStr, Octets(""), ""},
        {S::DisplayStr, i, "-1"},
        {S::DisplayStr, c, "4294967295"},
        {S::Integer, null, "(NULL)"},
        {S::Null, one, "(NULL)"},
        {S::DateTime, Octets(std::string("\x07\xD5\x05\x1A\x0D\x1E\x0F\x00", 8)),
         "2005-5-26,13:30:15.0"},
    };
    for (const Case& k : cases) {
        Use(k.syntax);
        EXPECT_EQ(FromVb(k.vb), k.text) << "syntax " << k.syntax;
    }
}

TEST_F(ConvertTest, DisplayTextBecomesTheBinding) {
    Use(S::OctetStr);
    EXPECT_EQ(ToVb("1A2").octets, std::string("\x01\xA2", 2));
    EXPECT_EQ(ToVb("0a 0b").octets, std::string("\x0A\x0B", 2));
    EXPECT_EQ(ToVb("zz").octets, std::string("\x00", 1));
    Use(S::Integer);
    EXPECT_EQ(ToVb("-12abc").integer, -12);
    EXPECT_EQ(ToVb("abc").integer, 0);
    EXPECT_EQ(ToVb("(NULL)").syntax, snmpeng::kSynNull);
    Use(S::TimeTicks);
    EXPECT_EQ(ToVb("2 days, 1:02:03.04").unsigned_, 17652304u);
    EXPECT_EQ(ToVb("1 day 0:00:01.00").unsigned_, 8640100u);
    EXPECT_EQ(ToVb("12345").unsigned_, 0u);
    Use(S::IpAddress);
    EXPECT_EQ(ToVb("10.0.0.2").octets, std::string("\x0A\x00\x00\x02", 4));
    Use(S::Boolean);
    EXPECT_EQ(ToVb("true").integer, 1);
    EXPECT_EQ(ToVb("yes").integer, 0);
    Use(S::DisplayStr);
    EXPECT_EQ(ToVb("hello").octets, "hello");
    Use(S::Counter64);
    EXPECT_EQ(ToVb("4294967296").unsigned_, 4294967296ull);
}

// What the address checks accept is written as typed, leading zeros and
// surrounding blanks included; any other text raises instead of becoming
// 0.0.0.0.
TEST_F(ConvertTest, DottedAddressIsFourDecimalPartsOrRaises) {
    struct Case {
        const char* text;
        const char* octets; // null: refused
    } cases[] = {
        {"192.168.001.010", "\xC0\xA8\x01\x0A"},
        {" 192.168.1.10 ", "\xC0\xA8\x01\x0A"},
        {"192. 168 .1.10", "\xC0\xA8\x01\x0A"},
        {"0.0.0.0", "\x00\x00\x00\x00"},
        {"255.255.255.255", "\xFF\xFF\xFF\xFF"},
        {"0000255.1.1.1", "\xFF\x01\x01\x01"},
        {"256.1.1.1", nullptr},
        {"1.2.3.1000", nullptr},
        {"1.2.3", nullptr},
        {"1.2.3.4.5", nullptr},
        {"a.b.c.d", nullptr},
        {"1.2.3.4x", nullptr},
        {"-1.2.3.4", nullptr},
        {"1..3.4", nullptr},
        {"1.2.3.", nullptr},
        {"", nullptr},
        {"   ", nullptr},
        {"0x7f.0.0.1", nullptr},
    };
    for (int syntax : {S::IpAddress, S::NsapAddr})
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string("\"") + c.text + "\" syntax " + std::to_string(syntax));
            Use(syntax);
            if (c.octets) {
                Vb vb = ToVb(c.text);
                EXPECT_EQ(vb.octets, std::string(c.octets, 4));
                continue;
            }
            try {
                ToVb(c.text);
                ADD_FAILURE() << "accepted";
            } catch (const Exception& e) {
                EXPECT_EQ(e.HelpContext(), -511);
                EXPECT_EQ(e.Message(), "(QvSNMP++) Bad SNMP syntax!");
            }
        }
}

TEST_F(ConvertTest, UnknownSyntaxIsBadSyntax) {
    Use(99);
    try {
        FromVb(Octets("x"));
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.HelpContext(), -511);
        EXPECT_EQ(e.Message(), "(QvSNMP++) Bad SNMP syntax!");
    }
    EXPECT_THROW(ToVb("1"), Exception);
    EXPECT_THROW(Key("1"), Exception);
}

TEST_F(ConvertTest, IndexColumnsEncodeAndDecode) {
    Use(S::MacAddress, QvAccess::ReadOnly, MVT_UMV, 1);
    EXPECT_EQ(Key("000D0A1B2C3D"), "0.13.10.27.44.61");
    EXPECT_EQ(Key("000D0A"), "");
    EXPECT_EQ(req.OidToKeyValue(0, "0.13.10.27.44.61.9"), "9");
    EXPECT_EQ(Value(), "000D0A1B2C3D");
    // A short index still gives a whole address, padded with zero bytes.
    EXPECT_EQ(req.OidToKeyValue(0, "1.2"), "");
    EXPECT_EQ(Value(), "010200000000");
    Use(S::DisplayStr, QvAccess::ReadOnly, MVT_UMV, 1);
    EXPECT_EQ(Key("ab"), "2.97.98");
    EXPECT_EQ(req.OidToKeyValue(0, "2.97.98.5"), "5");
    EXPECT_EQ(Value(), "ab");
    Use(S::DisplayStr, QvAccess::ReadOnly | QvAccess::Implied, MVT_UMV, 1);
    EXPECT_EQ(Key("ab"), "97.98");
    EXPECT_EQ(req.OidToKeyValue(0, "97.98"), "");
    EXPECT_EQ(Value(), "ab");
    Use(S::IpAddress, QvAccess::ReadOnly, MVT_UMV, 1);
    EXPECT_EQ(Key("192.168.1.2"), "192.168.1.2");
    EXPECT_EQ(req.OidToKeyValue(0, "10.1.2.3.7.8"), "7.8");
    EXPECT_EQ(Value(), "10.1.2.3");
    Use(S::Integer, QvAccess::ReadOnly, MVT_UMV, 1);
    EXPECT_EQ(req.OidToKeyValue(0, "4294967295"), "");
    EXPECT_EQ(Value(), "-1");
    Use(S::ObjectId, QvAccess::ReadOnly, MVT_UMV, 1);
    EXPECT_EQ(Key("1.3.6"), "3.1.3.6");
    EXPECT_EQ(req.OidToKeyValue(0, "3.1.3.6.9"), "9");
    EXPECT_EQ(Value(), "1.3.6");
    Use(S::OctetStr, QvAccess::ReadOnly, MVT_UMV, 1);
    EXPECT_EQ(req.OidToKeyValue(0, "2.256.171"), "");
    EXPECT_EQ(Value(), "00AB");
}

TEST_F(ConvertTest, EndOfWalkAtSubIdentifierBoundaryAndNonIncreasing) {
    Use(S::Integer, QvAccess::ReadOnly, MVT_FMV, 0);
    const std::string base = "1.3.6.1.1";
    EXPECT_FALSE(req.IsEndOfWalk(base, "", "1.3.6.1.1.5"));
    EXPECT_TRUE(req.IsEndOfWalk(base, "", "1.3.6.1.10.5"));
    EXPECT_TRUE(req.IsEndOfWalk(base, "", "1.3.6.1.1"));
    EXPECT_TRUE(req.IsEndOfWalk(base, "1.3.6.1.1.5", "1.3.6.1.1.5"));
    EXPECT_TRUE(req.IsEndOfWalk(base, "1.3.6.1.1.5", "1.3.6.1.1.4"));
    EXPECT_FALSE(req.IsEndOfWalk(base, "1.3.6.1.1.5", "1.3.6.1.1.10"));
    Use(S::Integer);
    EXPECT_FALSE(req.IsEndOfWalk(base, "1.3.6.1.1.5", "1.3.6.1.1.5"));
}

TEST_F(ConvertTest, ExpansionQuotesOrRefuses) {
    Use(S::OctetStr);
    Value() = "41";
    EXPECT_EQ(req.ExpandVariables("$0=\"41\"", true, '$'), "\"41\"=\"41\"");
    try {
        req.ExpandVariables("$0", false, '$');
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.HelpContext(), -513);
    }
    Value() = "(NULL)";
    try {
        req.ExpandVariables("$0", true, '$');
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.HelpContext(), -512);
    }
    // A value holding the marker would be expanded for ever.
    Use(S::Integer);
    Value() = "$0";
    EXPECT_THROW(req.ExpandVariables("$0", false, '$'), Exception);
}

TEST_F(ConvertTest, DerivedValuesAndConditions) {
    table_[0] = {"1.3.6.1.4.1.99.1",
                 "a",
                 S::Integer,
                 QvAccess::ReadWrite,
                 nullptr,
                 "$0*2+1",
                 nullptr,
                 nullptr,
                 nullptr,
                 nullptr};
    table_[1] = {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
    req.vars = QvSNMPVarList(table_, SVT_SV, 0);
    Value() = "20";
    req.EvaluateDerived(0, true);
    EXPECT_EQ(Value(), "41");
    req.EvaluateDerived(0, false); // no set expression
    EXPECT_EQ(Value(), "41");
    EXPECT_TRUE(req.EvaluateCondition(""));
}

} // namespace
