#include <gtest/gtest.h>

#include "snmp/QvOptionList.h"
#include "support/CaseName.h"

namespace {

const QvPairDef kDisableFirst[] = {{4, "Disable"}, {1, "Enable"}, {0, nullptr}};
const QvPairDef kTextPairs[] = {{"a", "Alpha"}, {"b", "Beta"}, {0, nullptr}};
const QvPairDef kPrefixPairs[] = {{"1-", "Channel "}, {"2-", "Band "}, {0, nullptr}};

TEST(OptionList, CountsAndCopiesPairsInTableOrder) {
    QvOptionList list(kDisableFirst);
    EXPECT_EQ(list.KeyKind, QV_KEY_INTEGER);
    EXPECT_EQ(list.CaseSensitive, 0);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.GetPair(0)->Value, 4);
    EXPECT_EQ(list.GetPair(0)->Text, "Disable");
    EXPECT_EQ(list.GetPair(1)->Value, 1);
    list.AddPairs(nullptr);
    EXPECT_EQ(list.Count(), 2);
    list.AddPairs(kDisableFirst);
    EXPECT_EQ(list.Count(), 4);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(QvOptionList::CountPairs(kTextPairs), 2);
}

struct Conversion {
    const QvPairDef* table;
    uint32_t kind;
    uint8_t caseSensitive;
    const char* input;
    int indexOfValue;
    const char* valueToText;
    int indexOfText;
    const char* textToValue;
};

std::string LabelOf(const Conversion& c) {
    return std::string(c.input);
}

void PrintTo(const Conversion& c, std::ostream* os) {
    *os << LabelOf(c);
}

class OptionConversion : public ::testing::TestWithParam<Conversion> {};

TEST_P(OptionConversion, BothDirections) {
    const Conversion& c = GetParam();
    QvOptionList list(c.table, c.kind, c.caseSensitive);
    EXPECT_EQ(list.IndexOfValue(c.input), c.indexOfValue);
    EXPECT_EQ(list.ValueToText(c.input), c.valueToText);
    EXPECT_EQ(list.IndexOfText(c.input), c.indexOfText);
    EXPECT_EQ(list.TextToValue(c.input), c.textToValue);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, OptionConversion,
    ::testing::Values(
        // integer keys: values by number, names by whole text
        Conversion{kDisableFirst, QV_KEY_INTEGER, 0, "1", 1, "Enable", -1, "1"},
        Conversion{kDisableFirst, QV_KEY_INTEGER, 0, "4", 0, "Disable", -1, "4"},
        Conversion{kDisableFirst, QV_KEY_INTEGER, 0, "Enable", -1, "Enable", 1, "1"},
        Conversion{kDisableFirst, QV_KEY_INTEGER, 0, "enable", -1, "enable", 1, "1"},
        Conversion{kDisableFirst, QV_KEY_INTEGER, 1, "enable", -1, "enable", -1, "enable"},
        Conversion{kDisableFirst, QV_KEY_INTEGER, 0, "(NULL)", -1, "(NULL)", -1, "(NULL)"},
        Conversion{kDisableFirst, QV_KEY_INTEGER, 0, "7", -1, "7", -1, "7"},
        Conversion{kDisableFirst, QV_KEY_INTEGER, 0, "1x", -1, "1x", -1, "1x"},
        Conversion{kDisableFirst, QV_KEY_INTEGER, 0, "Enabled", -1, "Enabled", -1, "Enabled"},
        // text keys, matched whole
        Conversion{kTextPairs, QV_KEY_TEXT, 0, "B", 1, "Beta", -1, "B"},
        Conversion{kTextPairs, QV_KEY_TEXT, 1, "B", -1, "B", -1, "B"},
        Conversion{kTextPairs, QV_KEY_TEXT, 0, "alpha", -1, "alpha", 0, "a"},
        Conversion{kTextPairs, QV_KEY_TEXT, 0, "ab", -1, "ab", -1, "ab"},
        // prefix keys: the rest of the text travels along
        Conversion{kPrefixPairs, QV_KEY_PREFIX, 0, "1-11", 0, "Channel 11", -1, "1-11"},
        Conversion{kPrefixPairs, QV_KEY_PREFIX, 0, "Channel 11", -1, "Channel 11", 0, "1-11"},
        Conversion{kPrefixPairs, QV_KEY_PREFIX, 0, "band 2", -1, "band 2", 1, "2-2"},
        Conversion{kPrefixPairs, QV_KEY_PREFIX, 1, "band 2", -1, "band 2", -1, "band 2"},
        Conversion{kPrefixPairs, QV_KEY_PREFIX, 0, "1", -1, "1", -1, "1"}),
    [](const ::testing::TestParamInfo<Conversion>& info) {
        return lmrtest::CaseName(info.index, LabelOf(info.param));
    });

TEST(OptionList, PrefixRoundTrip) {
    QvOptionList list(kPrefixPairs, QV_KEY_PREFIX, 0);
    for (const char* v : {"1-1", "2-", "2-x", "zz"})
        EXPECT_EQ(list.TextToValue(list.ValueToText(v)), v);
}

} // namespace
