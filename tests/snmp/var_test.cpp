#include <gtest/gtest.h>

#include "snmp/QvSNMPVar.h"
#include "base/SysUtils.h"

namespace {

using namespace QvAccess;

const QvPairDef kEnable[] = {{1, "Enable"}, {0, "Disable"}, {0, nullptr}};
QvOptionList g_enable(kEnable);

const QvSNMPVar kScalars[] = {
    {"1.3.6.1.2.1.1.1", "sysDescr", QvSyntax::DisplayStr, ReadOnly},
    {"1.3.6.1.2.1.1.5", "sysName", QvSyntax::DisplayStr, ReadWrite, nullptr, "$0", "$1", "r"},
    {"1.3.6.1.4.1.32473.1", "hState", QvSyntax::Integer, ReadWrite, &g_enable},
    {nullptr},
};

const QvSNMPVar kTable[] = {
    {"", "No.", QvSyntax::Integer, NotAccess},
    {"1.3.6.1.4.1.32473.2.1.1", "index", QvSyntax::Integer, ReadOnly},
    {"1.3.6.1.4.1.32473.2.1.2", "mac", QvSyntax::MacAddress, ReadWrite},
    {nullptr},
};

const QvSNMPVar kOnlyEnd[] = {{nullptr}};

TEST(VarList, CountsStaticTablesUpToNullOid) {
    EXPECT_EQ(QvSNMPVarList::CountVarTable(kScalars), 3);
    EXPECT_EQ(QvSNMPVarList::CountVarTable(kTable), 3); // the empty-Oid index row counts
    EXPECT_EQ(QvSNMPVarList::CountVarTable(kOnlyEnd), 0);
    EXPECT_EQ(QvSNMPVarList::CountVarTable(nullptr), 0);
}

TEST(VarList, ConstructorCopiesRecordsDeeply) {
    QvSNMPVarList list(kScalars, SVT_SV, 0);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.ItemType, SVT_SV);
    EXPECT_TRUE(list.InstanceSuffix.empty());
    EXPECT_TRUE(list.Name.empty());
    QvSNMPVar* v = list.Item(1);
    EXPECT_NE(v->Oid, kScalars[1].Oid);
    EXPECT_STREQ(v->Oid, "1.3.6.1.2.1.1.5");
    EXPECT_STREQ(v->Label, "sysName");
    EXPECT_STREQ(v->GetExpression, "$0");
    EXPECT_STREQ(v->SetExpression, "$1");
    EXPECT_STREQ(v->Reserved, "r");
    EXPECT_EQ(list.Item(0)->GetExpression, nullptr);
    ASSERT_NE(v->Value, nullptr);
    ASSERT_NE(v->Instance, nullptr);
    EXPECT_TRUE(v->Value->empty());
    EXPECT_EQ(list.Item(2)->OptionList, &g_enable); // shared, not copied
}

TEST(VarList, EmptyTablesGiveEmptyLists) {
    QvSNMPVarList a(kOnlyEnd, MVT_UMV, 1);
    EXPECT_EQ(a.Count(), 0);
    EXPECT_EQ(a.ShownCount(), 0);
    QvSNMPVarList b;
    EXPECT_EQ(b.Count(), 0);
    EXPECT_EQ(b.ItemType, SVT_SV);
    EXPECT_EQ(b.PKeyCount, 0u);
    b.AppendVarTable(nullptr);
    b.AppendVarTable(kOnlyEnd);
    EXPECT_EQ(b.Count(), 0);
    b.AppendVarTable(kScalars);
    b.AppendVarTable(kTable);
    EXPECT_EQ(b.Count(), 6);
    EXPECT_STREQ(b.Item(3)->Oid, "");
}

TEST(VarList, AssignmentKeepsTargetSuffixAndTakesEverythingElse) {
    QvSNMPVarList src(kTable, MVT_UMV, 2);
    src.Name = "pool";
    src.InstanceSuffix = "9";
    *src.Item(2)->Value = "000D0A1B2C3D";
    *src.Item(2)->Instance = "1.3.6.1.4.1.32473.2.1.2.7";
    src.Item(1)->Access = ReadOnly | Invalid;

    QvSNMPVarList dst(kScalars, SVT_SV, 0);
    dst.InstanceSuffix = "5";
    dst = src;
    EXPECT_EQ(dst.InstanceSuffix, "5");
    EXPECT_EQ(dst.Name, "pool");
    EXPECT_EQ(dst.ItemType, MVT_UMV);
    EXPECT_EQ(dst.PKeyCount, 2u);
    ASSERT_EQ(dst.Count(), 3);
    EXPECT_EQ(*dst.Item(2)->Value, "000D0A1B2C3D");
    EXPECT_EQ(*dst.Item(2)->Instance, "1.3.6.1.4.1.32473.2.1.2.7");
    EXPECT_EQ(dst.Item(1)->Access, ReadOnly | Invalid);
    EXPECT_NE(dst.Item(2)->Value, src.Item(2)->Value);

    QvSNMPVarList copy(src);
    EXPECT_TRUE(copy.InstanceSuffix.empty());
    EXPECT_EQ(*copy.Item(2)->Value, "000D0A1B2C3D");

    dst = dst; // self-assignment keeps the records
    EXPECT_EQ(dst.Count(), 3);
    EXPECT_EQ(*dst.Item(2)->Value, "000D0A1B2C3D");
}

TEST(VarList, TemporaryAssignedIntoMember) {
    QvSNMPVarList vars;
    vars = QvSNMPVarList(kTable, MVT_FMV, 1);
    EXPECT_EQ(vars.Count(), 3);
    EXPECT_EQ(vars.ItemType, MVT_FMV);
}

// Access flags against the four predicates, for a scalar list and for a
// table whose first column is a key.
TEST(VarList, AccessPredicates) {
    struct Case {
        int access;
        bool readable, writable, writableAsKey, shown, hiddenColumn;
    } cases[] = {
        {NotAccess, false, false, true, true, false},
        {ReadOnly, true, false, true, true, false},
        {WriteOnly, false, true, true, false, true},
        {ReadWrite, true, true, true, true, false},
        {Derived, false, false, true, true, false},
        {ReadOnly | Hidden, true, false, true, false, true},
        {ReadWrite | Invalid, false, false, false, false, true},
        {Invalid, false, false, false, false, true},
        {WriteOnly | Implied, false, true, true, false, false},
        {0, false, false, true, false, false},
    };
    QvSNMPVar one[] = {{"1.3.6.1.4.1.32473.9", "x", QvSyntax::Integer, 0}, {nullptr}};
    for (const auto& c : cases) {
        one[0].Access = c.access;
        QvSNMPVarList scalars(one, SVT_SV, 1);
        EXPECT_EQ(scalars.IsReadable(0), c.readable) << c.access;
        EXPECT_EQ(scalars.IsWritable(0), c.writable) << c.access;
        EXPECT_EQ(scalars.IsShown(0), c.shown) << c.access;
        EXPECT_EQ(scalars.IsHiddenColumn(0), c.hiddenColumn) << c.access;
        EXPECT_EQ(scalars.HasFlag64(0), (c.access & Implied) != 0) << c.access;
        for (uint8_t kind : {MVT_FMV, MVT_UMV}) {
            QvSNMPVarList table(one, kind, 1);
            EXPECT_EQ(table.IsWritable(0), c.writableAsKey) << c.access;
        }
        QvSNMPVarList single(one, MVT_SV, 1); // keys count only for tables
        EXPECT_EQ(single.IsWritable(0), c.writable) << c.access;
    }
}

TEST(VarList, InvalidFlagTogglesParticipation) {
    QvSNMPVarList list(kScalars, SVT_SV, 0);
    list.Item(1)->Access = ReadWrite | Invalid;
    EXPECT_FALSE(list.IsReadable(1));
    EXPECT_FALSE(list.IsWritable(1));
    EXPECT_FALSE(list.IsShown(1));
    list.Item(1)->Access &= ~Invalid;
    EXPECT_TRUE(list.IsReadable(1));
    EXPECT_TRUE(list.IsWritable(1));
    EXPECT_TRUE(list.IsShown(1));
}

TEST(VarList, ListViewIndexRowIsShownButNeverReadOrWritten) {
    QvSNMPVarList list(kTable, MVT_UMV, 0);
    EXPECT_STREQ(list.Item(0)->Oid, "");
    EXPECT_TRUE(list.IsShown(0));
    EXPECT_FALSE(list.IsReadable(0));
    EXPECT_FALSE(list.IsWritable(0));
    EXPECT_EQ(list.ShownCount(), 3);
    list.Item(2)->Access = WriteOnly;
    EXPECT_EQ(list.ShownCount(), 2);
    EXPECT_EQ(list.HiddenCount(), 1);
}

TEST(VarNames, ListsGiveTheTextOfEveryCode) {
    struct Case {
        const QvOptionList& list;
        int code;
        const char* name;
    } cases[] = {
        {QvItemTypeNames(), SVT_SV, "SVT_SV"}, {QvItemTypeNames(), MVT_UMV, "MVT_UMV"},
        {QvSyntaxNames(), 2, "integer"},       {QvSyntaxNames(), 66, "guage"},
        {QvSyntaxNames(), 76, "displaystr"},   {QvSyntaxNames(), 1, "boolean"},
        {QvSyntaxNames(), 198, "uint16"},      {QvAccessNames(), 1, "notaccess"},
        {QvAccessNames(), 6, "readwrite"},     {QvAccessNames(), 32, "invalid"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.list.ValueToText(std::to_string(c.code)), c.name);
        EXPECT_EQ(c.list.TextToValue(UpperCase(c.name)), std::to_string(c.code));
    }
    EXPECT_EQ(QvItemTypeNames().Count(), 4);
    EXPECT_EQ(QvSyntaxNames().Count(), 25);
    EXPECT_EQ(QvAccessNames().Count(), 7);
    EXPECT_EQ(QvAccessNames().ValueToText("64"), "64"); // flag 64 has no name
}

} // namespace
