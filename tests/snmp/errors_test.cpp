#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "snmp/QvErrors.h"
#include "support/TempDir.h"
#include "base/Exception.h"
#include "support/CaseName.h"

namespace {

struct Mapping {
    int status;
    int code;
    const char* text;
};

std::string LabelOf(const Mapping& c) {
    return (c.status < 0 ? "minus" + std::to_string(-c.status) : std::to_string(c.status));
}

void PrintTo(const Mapping& c, std::ostream* os) {
    *os << LabelOf(c);
}

class MapSnmpErrorTest : public ::testing::TestWithParam<Mapping> {};

TEST_P(MapSnmpErrorTest, MapsStatusToCodeAndText) {
    const Mapping& m = GetParam();
    int code = 12345;
    std::string text;
    MapSnmpError(m.status, &code, &text);
    EXPECT_EQ(code, m.code);
    EXPECT_EQ(text, m.text);
}

// Every range boundary, and the statuses just outside each range.
INSTANTIATE_TEST_SUITE_P(
    Ranges, MapSnmpErrorTest,
    ::testing::Values(Mapping{0, 0, "(QvSNMP++) Ok!"}, Mapping{1400, 0, "(QvSNMP++) Ok!"},
                      Mapping{-1401, 0, "(QvSNMP++) Ok!"},
                      Mapping{1, -101, "(SNMP) Response PDU Too Big!"},
                      Mapping{2, -102, "(SNMP) Variable does not exist!"},
                      Mapping{19, -119, "(SNMP) Cannot download the overdue firmware!"},
                      Mapping{20, -528, "(QvSNMP++) Unknown error code!"},
                      Mapping{-1402, -201, "(SNMPv3) Unsupported Security Model!"},
                      Mapping{-1418, -217, "(SNMPv3) Report sent!"},
                      Mapping{-1419, -528, "(QvSNMP++) Unknown error code!"},
                      Mapping{-1400, -528, "(QvSNMP++) Unknown error code!"},
                      Mapping{1401, -301, "(SNMPv3USM) error!"},
                      Mapping{1413, -313, "(SNMPv3USM) Unsupported PrivProtocol!"},
                      Mapping{1414, -314, "(SNMPv3USM) Address error!"},
                      Mapping{1415, -528, "(QvSNMP++) Unknown error code!"},
                      Mapping{1399, -528, "(QvSNMP++) Unknown error code!"},
                      Mapping{-1, -401, "(SNMPClass) Operation failed!"},
                      Mapping{-5, -405, "(SNMPClass) SNMP request timed out!"},
                      Mapping{-9, -409, "(SNMPClass)Unknown error code!"},
                      Mapping{-20, -420, "(SNMP Class) Transport is not supported!"},
                      Mapping{-23, -423, "(SNMPClass) Blocked Mode Shutdown!"},
                      Mapping{-24, -528, "(QvSNMP++) Unknown error code!"}),
    [](const ::testing::TestParamInfo<Mapping>& info) {
        return lmrtest::CaseName(info.index, LabelOf(info.param));
    });

TEST(MessageTables, BuiltInSizesAndSampleTexts) {
    EXPECT_EQ(g_PduMessages.BuiltInCount(), 19);
    EXPECT_EQ(g_SnmpV3Messages.BuiltInCount(), 17);
    EXPECT_EQ(g_SnmpUsmMessages.BuiltInCount(), 14);
    EXPECT_EQ(g_SnmpClassMessages.BuiltInCount(), 23);
    EXPECT_EQ(g_QvSnmpMessages.BuiltInCount(), 29);
    EXPECT_EQ(g_ReportTemplates.BuiltInCount(), 2);
    EXPECT_EQ(g_CommonMessages.BuiltInCount(), 19);
    EXPECT_EQ(g_ReportTemplates[1], "Set: [ERROR] Request:[VARLIST]. Receive at [TIME].");
    EXPECT_EQ(g_CommonMessages[9], "(QvCommon) Please enter a delimited number string with "
                                   "delimiter '[DELIMITER]'.\nHere,the count of the number is "
                                   "less than [MAXCOUNT]!");
    EXPECT_EQ(g_QvSnmpMessages[QVERR_BAD_EXPRESSION_SYNTAX],
              "(QvSNMP++) Bad SNMP syntax in the expression!");
    EXPECT_EQ(g_QvSnmpMessages[29], "");
    EXPECT_EQ(g_QvSnmpMessages[-1], "");
}

TEST(Raise, LayerAndCommonFailuresCarryTextAndCode) {
    struct Case {
        bool layer;
        int index;
        int code;
        const char* text;
    } cases[] = {
        {true, QVERR_INVALID_ADDRESS, -509, "(QvSNMP++) Invalid IP Address or DNS name!"},
        {true, QVERR_BAD_SYNTAX, -511, "(QvSNMP++) Bad SNMP syntax!"},
        {true, QVERR_BAD_ITEM_TYPE, -515, "(QvSNMP++) Bad item type of SNMP variable list!"},
        {true, QVERR_TOO_FEW_CONTROLS, -522,
         "(QvSNMP++) Count of the associated visual controls is not enough!"},
        {false, QVCOM_BAD_LOGIC_OPERAND, -1, "(QvCommon) Bad logic operand!"},
        {false, QVCOM_READ_OPTION_FILE, -18,
         "(QvCommon) Fail to read option data from file([FILENAME])!"},
    };
    for (const auto& c : cases) {
        try {
            if (c.layer)
                RaiseQvSNMPError(c.index);
            else
                RaiseQvCommonError(c.index);
            ADD_FAILURE() << "nothing raised";
        } catch (const Exception& e) {
            EXPECT_EQ(e.HelpContext(), c.code);
            EXPECT_EQ(e.Message(), c.text);
        }
    }
}

// A message file in a fresh temporary folder, removed with the fixture.
class MessageFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.ok()); }
    void TearDown() override {
        g_PduMessages.Restore();
        g_ReportTemplates.Restore();
        g_CommonMessages.Restore();
    }
    std::string Write(const std::string& name, const std::string& bytes) {
        return dir_.write(name, bytes);
    }
    lmrtest::TempDir dir_{"errmsg"};
};

TEST_F(MessageFileTest, BlankLinesTakeNoEntryAndLineEndsGo) {
    std::string path = Write("snmp.err", "first\r\n\r\n  \t \n second \nthird");
    ASSERT_TRUE(LoadMessageTable(g_PduMessages, path));
    ASSERT_EQ(g_PduMessages.Replaced().size(), 3u);
    EXPECT_EQ(g_PduMessages[0], "first");
    EXPECT_EQ(g_PduMessages[1], " second ");
    EXPECT_EQ(g_PduMessages[2], "third");
    // indices the file did not supply keep the built-in texts
    EXPECT_EQ(g_PduMessages[3], "(SNMP) Cannot modify object, Read Only!");
    int code;
    std::string text;
    MapSnmpError(2, &code, &text);
    EXPECT_EQ(text, " second ");
}

TEST_F(MessageFileTest, MissingOrBlankFileKeepsTheTable) {
    EXPECT_FALSE(LoadMessageTable(g_ReportTemplates, dir_.file("none.msg")));
    EXPECT_FALSE(LoadMessageTable(g_ReportTemplates, Write("blank.msg", "\r\n \n\t\n")));
    EXPECT_FALSE(LoadMessageTable(g_ReportTemplates, Write("empty.msg", "")));
    EXPECT_TRUE(g_ReportTemplates.Replaced().empty());
    EXPECT_EQ(g_ReportTemplates[0], "Get: [ERROR] Request:[VARLIST]. Receive at [TIME].");
}

TEST_F(MessageFileTest, LongLinesArriveInPiecesAndLaterFilesReplaceEarlier) {
    std::string longLine(1500, 'x');
    ASSERT_TRUE(LoadMessageTable(g_CommonMessages, Write("a.err", longLine + "\nend\n")));
    ASSERT_EQ(g_CommonMessages.Replaced().size(), 3u);
    EXPECT_EQ(g_CommonMessages[0].size(), 1023u);
    EXPECT_EQ(g_CommonMessages[1].size(), 1500u - 1023u);
    EXPECT_EQ(g_CommonMessages[2], "end");

    ASSERT_TRUE(LoadMessageTable(g_CommonMessages, Write("b.err", "only\n")));
    EXPECT_EQ(g_CommonMessages[0], "only");
    EXPECT_EQ(g_CommonMessages[1], "(QvCommon) Bad logic operand!");
}

TEST_F(MessageFileTest, BackslashNamesAndCaseAreResolved) {
    std::filesystem::create_directory(dir_.file("ErrMsg"));
    Write("ErrMsg/Snmp.msg", "Get [ERROR]\nSet [ERROR]\n");
    ASSERT_TRUE(LoadMessageTable(g_ReportTemplates, dir_.file("errmsg\\snmp.msg")));
    EXPECT_EQ(g_ReportTemplates[1], "Set [ERROR]");
}

} // namespace
