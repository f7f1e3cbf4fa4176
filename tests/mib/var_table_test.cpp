#include <gtest/gtest.h>

#include "mib/VarTable.h"

namespace {

using namespace mib::table;

QvOptionList someList;

// The builder runs at compile time, so the tables are constant-initialised
// and may point at option lists of any file.
constexpr QvSNMPVar kRows[] = {Var("1.2.3", "first", Integer, ReadWrite, &someList),
                               Var("1.2.4", "second", DisplayStr, ReadOnly), kEnd};

TEST(VarTable, BuilderFillsTheFirstFiveFieldsOnly) {
    const QvSNMPVar& v = kRows[0];
    EXPECT_STREQ(v.Oid, "1.2.3");
    EXPECT_STREQ(v.Label, "first");
    EXPECT_EQ(v.Syntax, QvSyntax::Integer);
    EXPECT_EQ(v.Access, QvAccess::ReadWrite);
    EXPECT_EQ(v.OptionList, &someList);
    EXPECT_EQ(v.GetExpression, nullptr);
    EXPECT_EQ(v.SetExpression, nullptr);
    EXPECT_EQ(v.Reserved, nullptr);
    EXPECT_EQ(v.Value, nullptr);
    EXPECT_EQ(v.Instance, nullptr);
    EXPECT_EQ(kRows[1].OptionList, nullptr); // the list is optional
}

TEST(VarTable, TerminatorEndsATable) {
    EXPECT_EQ(QvSNMPVarList::CountVarTable(kRows), 2);
    EXPECT_EQ(kEnd.Oid, nullptr);
    EXPECT_EQ(kEnd.Label, nullptr);
    EXPECT_EQ(kEnd.Syntax, 0);
    EXPECT_EQ(kEnd.Access, 0);
    EXPECT_EQ(kEnd.OptionList, nullptr);
}

TEST(VarTable, ShortNamesAreTheSyntaxAndAccessCodes) {
    EXPECT_EQ(I, QvSyntax::Integer);
    EXPECT_EQ(S, QvSyntax::DisplayStr);
    EXPECT_EQ(M, QvSyntax::MacAddress);
    EXPECT_EQ(RW, QvAccess::ReadWrite);
    EXPECT_EQ(RO, QvAccess::ReadOnly);
    EXPECT_EQ(NA, QvAccess::NotAccess);
    EXPECT_EQ(IV, QvAccess::Invalid);
}

TEST(VarTable, AccessPointArcSitsBelowTheEnterpriseArc) {
    EXPECT_STREQ(QV_AP ".2.7", "1.3.6.1.4.1.32473.11.37.4.2.7");
}

} // namespace
