#include <gtest/gtest.h>

#include "snmp/QvNumList.h"

namespace {

TEST(NumList, CountIsOneMoreThanDelimiters) {
    struct Case {
        const char* text;
        char delimiter;
        std::vector<int> items;
    } cases[] = {
        {"", ',', {}},
        {"7", ',', {7}},
        {"0,2", ',', {0, 2}},
        {"1,,3", ',', {1, 0, 3}},
        {",", ',', {0, 0}},
        {"192.168.0.1", '.', {192, 168, 0, 1}},
        {"1.5,2.9", ',', {1, 2}}, // fractions dropped
        {"12ab,x3", ',', {12, 0}},
        {"-4,5", ',', {-4, 5}},
    };
    for (const auto& c : cases) {
        QvNumList<int> list(c.delimiter);
        list.Parse(c.text);
        EXPECT_EQ(list.Items(), c.items) << c.text;
        EXPECT_EQ(list.Count(), static_cast<int>(c.items.size())) << c.text;
    }
}

TEST(NumList, DefaultDelimiterIsDotAndParseReplaces) {
    QvNumList<int> list;
    EXPECT_EQ(list.Delimiter, '.');
    list.Parse("1.3.6");
    EXPECT_EQ(list.Count(), 3);
    list.Parse("9");
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(list[0], 9);
}

TEST(NumList, IndexOfFindsTheFirstOccurrence) {
    QvNumList<int> list(',');
    list.Parse("0,2,2,5");
    EXPECT_EQ(list.IndexOf(0), 0);
    EXPECT_EQ(list.IndexOf(2), 1);
    EXPECT_EQ(list.IndexOf(5), 3);
    EXPECT_EQ(list.IndexOf(1), -1);
}

TEST(NumList, AllInRangeIncludesBothBounds) {
    QvNumList<unsigned int> list('.');
    list.Parse("0.255.1.10");
    EXPECT_TRUE(list.AllInRange(0, 255));
    EXPECT_FALSE(list.AllInRange(1, 255));
    EXPECT_FALSE(list.AllInRange(0, 254));
    list.Parse("");
    EXPECT_TRUE(list.AllInRange(1, 2));
}

TEST(NumList, UnsignedFormAndWrapping) {
    QvNumList<unsigned int> list(':');
    list.Parse("4294967295:4294967296:99999999999999999999999");
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list[0], 4294967295u);
    EXPECT_EQ(list[1], 0u);
    QvNumList<int> big(',');
    big.Parse("2147483648");
    EXPECT_EQ(big[0], -2147483647 - 1);
}

} // namespace
