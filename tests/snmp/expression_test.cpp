#include <gtest/gtest.h>

#include <cmath>

#include "snmp/QvExpression.h"
#include "base/Exception.h"
#include "base/SysUtils.h"
#include "support/CaseName.h"

namespace {

struct Numeric {
    const char* text;
    double value;
};

std::string LabelOf(const Numeric& c) {
    return std::string(c.text);
}

void PrintTo(const Numeric& c, std::ostream* os) {
    *os << LabelOf(c);
}

class NumericExpression : public ::testing::TestWithParam<Numeric> {};

TEST_P(NumericExpression, Evaluates) {
    EXPECT_DOUBLE_EQ(EvaluateNumericExpression(GetParam().text), GetParam().value)
        << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NumericExpression,
    ::testing::Values(Numeric{"2*(3+4)", 14}, Numeric{"(1+2)*(3+4)", 21}, Numeric{"((2))", 2},
                      Numeric{"10-2-3", 11},                     // right grouping
                      Numeric{"8/4/2", 4}, Numeric{"8/2*3", 24}, // plain left operand
                      Numeric{"-5", -5}, Numeric{"1+2*3", 7}, Numeric{"2*3+1", 7},
                      Numeric{"12abc", 12}, Numeric{"abc", 0}, Numeric{"", 0}, Numeric{"0.5*4", 2},
                      Numeric{"(1+2", 2},                          // unpaired "(" ignored
                      Numeric{"1/0", 0}, Numeric{"5/(2-2)", 0},    // division by zero
                      Numeric{"1E308*10", 0}, Numeric{"1E999", 0}, // overflow
                      Numeric{"1E308+1E308", 0}, Numeric{"0/0", 0}),
    [](const ::testing::TestParamInfo<Numeric>& info) {
        return lmrtest::CaseName(info.index, LabelOf(info.param));
    });

TEST(NumericExpression, NowIsTheCurrentDayNumber) {
    double before = Now();
    double v = EvaluateNumericExpression("now-1");
    double after = Now();
    EXPECT_GE(v, before - 1);
    EXPECT_LE(v, after - 1);
    double w = EvaluateNumericExpression("NOW*2");
    EXPECT_GE(w, 2 * before);
    EXPECT_LE(w, 2 * Now());
}

struct Logic {
    const char* text;
    bool value;
};

std::string LabelOf(const Logic& c) {
    return std::string(c.text);
}

void PrintTo(const Logic& c, std::ostream* os) {
    *os << LabelOf(c);
}

class LogicExpression : public ::testing::TestWithParam<Logic> {};

TEST_P(LogicExpression, Evaluates) {
    EXPECT_EQ(EvaluateLogicExpression(GetParam().text), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LogicExpression,
    ::testing::Values(Logic{"true", true}, Logic{"FALSE", false}, Logic{"10>9", false},
                      Logic{"10>=10", true}, Logic{"a<>b", true}, Logic{"b<=a", false},
                      Logic{"abc<abd", true}, Logic{"x=x", true}, Logic{" 1 = 1 ", true},
                      Logic{"\"1\"=1", true}, Logic{"\"a|b\"=\"a|b\"", true},
                      Logic{"\"a&b\"=\"a&c\"", false}, Logic{"true|x", true},
                      Logic{"false&x", false}, Logic{"!false", true}, Logic{"!1=2", true},
                      Logic{"1=1&2=2", true}, Logic{"1=2|2=2", true}, Logic{"(1=2|2=2)&3=3", true},
                      Logic{"!(1=1)", false}, Logic{"(true)", true}, Logic{"\"(x\"=\"(x\"", true}),
    [](const ::testing::TestParamInfo<Logic>& info) {
        return lmrtest::CaseName(info.index, LabelOf(info.param));
    });

TEST(LogicExpression, BadOperandsRaise) {
    for (const char* text : {"false|x", "true&x", "x", "", "!maybe"}) {
        try {
            EvaluateLogicExpression(text);
            ADD_FAILURE() << text;
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), "(QvCommon) Bad logic operand!");
            EXPECT_EQ(e.HelpContext(), -1);
        }
    }
}

TEST(Comparison, NowSideIsTheDayNumberText) {
    EXPECT_TRUE(EvaluateComparison("NOW>1"));
    EXPECT_TRUE(EvaluateComparison("now<>0"));
}

TEST(SplitAtFirstOperator, TwoCharacterOperatorsWin) {
    static const char* const ops[] = {"<>", ">=", "<=", ">", "<", "=", nullptr};
    struct Case {
        const char* text;
        int index;
        const char* left;
        const char* right;
    } cases[] = {
        {"a<>b", 0, "a", "b"},    {"a>=b", 1, "a", "b"}, {"a<=b", 2, "a", "b"},
        {"a>b", 3, "a", "b"},     {"a<b", 4, "a", "b"},  {"a=b=c", 5, "a", "b=c"},
        {"a=b>c", 3, "a=b", "c"}, {"abc", -1, "", ""},
    };
    for (const auto& c : cases) {
        std::string l, r;
        EXPECT_EQ(SplitAtFirstOperator(ops, c.text, l, r), c.index) << c.text;
        EXPECT_EQ(l, c.left) << c.text;
        EXPECT_EQ(r, c.right) << c.text;
    }
}

TEST(TextHelpers, StripQuotes) {
    EXPECT_EQ(StripQuotes(""), "");
    EXPECT_EQ(StripQuotes("\""), "\"");
    EXPECT_EQ(StripQuotes("\"\""), "");
    EXPECT_EQ(StripQuotes("\"ab\""), "ab");
    EXPECT_EQ(StripQuotes("\"\"ab\"\""), "\"ab\"");
    EXPECT_EQ(StripQuotes("\"ab"), "\"ab");
    EXPECT_EQ(StripQuotes("ab"), "ab");
}

TEST(TextHelpers, SpanOfChars) {
    const std::string digits = "0123456789";
    EXPECT_EQ(SpanOfChars("ab123cd", 3, digits), 5);
    EXPECT_EQ(SpanOfChars("ab123", 3, digits), 5);
    EXPECT_EQ(SpanOfChars("ab123", 5, digits), 5);
    EXPECT_EQ(SpanOfChars("ab123", 1, digits), 0);
    EXPECT_EQ(SpanOfChars("ab123", 6, digits), 0);
    EXPECT_EQ(SpanOfChars("ab123", 0, digits), 0);
    EXPECT_EQ(SpanOfChars("", 1, digits), 0);
}

TEST(TextHelpers, StringReplaceAll) {
    EXPECT_EQ(StringReplaceAll("[MIN]-[MIN]", "[MIN]", "1"), "1-1");
    EXPECT_EQ(StringReplaceAll("aaa", "a", "aa"), "aaaaaa"); // not scanned again
    EXPECT_EQ(StringReplaceAll("aaaa", "aa", "b"), "bb");
    EXPECT_EQ(StringReplaceAll("abc", "", "x"), "abc");
    EXPECT_EQ(StringReplaceAll("abc", "d", "x"), "abc");
    EXPECT_EQ(StringReplaceAll("", "a", "x"), "");
}

} // namespace
