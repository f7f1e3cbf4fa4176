// Every row of the adapter's status table: what the library reports ends in
// the module code a form shows. The expected codes are written out here,
// keyed by the row's description, so a row that changes its status or a new
// row without an expectation fails.
#include "snmp/QvErrors.h"
#include "snmp/engine/StatusTable.h"

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <ostream>
#include <set>
#include <string>

// Rows print as their description, not as bytes with pointers in them, so
// test names stay the same from build to build.
namespace snmpeng {
void PrintTo(const StatusRow& row, std::ostream* os) {
    *os << row.what;
}
} // namespace snmpeng

namespace {

using namespace snmpeng;

// Module codes: class errors -401..-423, PDU status -101..-119, USM
// -301..-314, message processing -201..-217.
const std::map<std::string, int>& Expected() {
    static const std::map<std::string, int> kCodes = {
        {"success", 0},
        {"general failure", -401},
        {"no reply within the retries", -405},
        {"address that does not resolve", -418},
        {"local port in use", -421},
        {"no socket", -422},
        {"send failed", -422},
        {"receive failed", -422},
        {"session not valid", -410},
        {"out of memory", -402},
        {"no PDU", -411},
        {"unknown PDU type", -411},
        {"message too long", -411},
        {"bad value type", -411},
        {"bad value", -411},
        {"SNMPv2 type in an SNMPv1 PDU", -411},
        {"bad object identifier", -417},
        {"bad sub-identifier", -417},
        {"object identifier too long", -417},
        {"version the library refuses", -416},
        {"version code other than 0-3", -416},
        {"message cannot be encoded", -212},
        {"reply cannot be decoded", -207},
        {"reply cannot be parsed", -207},
        {"invalid message", -204},
        {"bad engine id", -205},
        {"unknown security model", -201},
        {"security model other than USM", -201},
        {"unknown engine id report", -310},
        {"unknown engine id", -310},
        {"unknown user name report", -304},
        {"unknown user name", -304},
        {"bad security name", -304},
        {"unsupported level report", -303},
        {"unsupported level", -303},
        {"bad security level", -303},
        {"wrong digest report", -308},
        {"wrong digest", -308},
        {"not in time window report", -311},
        {"not in time window", -311},
        {"decryption error report", -306},
        {"decryption error", -306},
        {"encryption error", -305},
        {"security parameters cannot be parsed", -309},
        {"user-based security failure", -301},
        {"report of an unknown kind", -301},
        {"authentication protocol not served", -312},
        {"privacy protocol not served", -313},
        {"authentication password too short", -307},
        {"privacy password too short", -305},
    };
    return kCodes;
}

std::vector<StatusRow> Rows() {
    std::size_t n = 0;
    const StatusRow* rows = StatusRows(&n);
    return {rows, rows + n};
}

class StatusRowTest : public ::testing::TestWithParam<StatusRow> {};

TEST_P(StatusRowTest, EndsInTheExpectedModuleCode) {
    const StatusRow& row = GetParam();
    auto it = Expected().find(row.what);
    ASSERT_NE(it, Expected().end()) << "no expectation for \"" << row.what << "\"";
    EXPECT_EQ(StatusOf(row.condition), row.status);
    int code = 1;
    std::string text;
    MapSnmpError(row.status, &code, &text);
    EXPECT_EQ(code, it->second) << row.what;
    EXPECT_FALSE(text.empty());
    if (row.status != kOk) {
        EXPECT_NE(text, g_QvSnmpMessages[QVERR_UNKNOWN]) << row.what;
    }
}

INSTANTIATE_TEST_SUITE_P(Table, StatusRowTest, ::testing::ValuesIn(Rows()),
                         [](const ::testing::TestParamInfo<StatusRow>& info) {
                             std::string name;
                             for (char c : std::string(info.param.what))
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             // Descriptions are unique (a repeated one fails
                             // as a duplicate test name), so no index: a new row
                             // leaves the others' names alone.
                             return name;
                         });

TEST(StatusTable, ConditionsAreListedOnce) {
    std::set<int> seen;
    for (const StatusRow& row : Rows())
        EXPECT_TRUE(seen.insert(row.condition).second) << row.what;
}

TEST(StatusTable, UnlistedConditionIsAGeneralFailure) {
    EXPECT_EQ(StatusOf(-987654), kOperationFailed);
}

} // namespace
