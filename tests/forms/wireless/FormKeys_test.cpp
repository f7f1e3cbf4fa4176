// The WEP key rules every wireless form follows: what counts as the mask,
// the key lengths, both conversions in the case a form asks for, and what
// an Apply sends for a key edit.
#include "forms/wireless/FormParts.h"

#include "ui/Testing.h"
#include "ui/Widgets.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace {

using formparts::HexCase;
using formparts::KeyUse;

TEST(FormKeys, WhatCountsAsTheMask) {
    struct Case {
        const char* text;
        bool mask;
    } cases[] = {{"*", true},          {"**********", true}, {"", false},
                 {"***a*", false},     {" *****", false},    {"0123456789", false}};
    for (const auto& c : cases) EXPECT_EQ(formparts::IsKeyMask(c.text), c.mask) << '"' << c.text << '"';
    EXPECT_EQ(formparts::KeyMask(5), "*****");
    EXPECT_EQ(formparts::KeyMask(0), "");
    EXPECT_EQ(formparts::KeyMask(-3), "");
}

TEST(FormKeys, LengthsBySizeAndType) {
    struct Case {
        bool ascii;
        int size;
        int length;
    } cases[] = {{false, 0, 10}, {false, 1, 26}, {false, 2, 32}, {true, 0, 5},   {true, 1, 13},
                 {true, 2, 16},  {false, -1, 10}, {true, 3, 5},  {false, 7, 10}};
    for (const auto& c : cases)
        EXPECT_EQ(formparts::KeyLength(c.ascii, c.size), c.length) << c.ascii << " " << c.size;
    for (size_t length : {0u, 5u, 9u, 11u, 13u, 16u, 33u})
        EXPECT_EQ(formparts::KeySizeOfHexLength(length), -1) << length;
    EXPECT_EQ(formparts::KeySizeOfHexLength(10), 0);
    EXPECT_EQ(formparts::KeySizeOfHexLength(26), 1);
    EXPECT_EQ(formparts::KeySizeOfHexLength(32), 2);
}

TEST(FormKeys, ConversionsInEitherCase) {
    EXPECT_EQ(formparts::AsciiToHex("Ab:Z!", HexCase::Lower), "41623a5a21");
    EXPECT_EQ(formparts::AsciiToHex("JK\xE9", HexCase::Upper), "4A4BE9");
    EXPECT_EQ(formparts::AsciiToHex("\xFF\x01", HexCase::Lower), "ff01");
    EXPECT_EQ(formparts::AsciiToHex("", HexCase::Upper), "");
    EXPECT_EQ(formparts::HexToAscii("4A4b"), "JK");
    EXPECT_EQ(formparts::HexToAscii("4142x3"), std::string("AB\x03"));
    EXPECT_EQ(formparts::HexToAscii("414"), "A");
    EXPECT_EQ(formparts::HexToAscii("ff"), "\xFF");
    for (const std::string text : {"Ab:Z!", "\x01\x7F\x80\xFE"})
        for (HexCase c : {HexCase::Lower, HexCase::Upper})
            EXPECT_EQ(formparts::HexToAscii(formparts::AsciiToHex(text, c)), text);
    EXPECT_TRUE(formparts::IsHexText("0123456789abcdefABCDEF"));
    EXPECT_FALSE(formparts::IsHexText("0123456G89"));
    EXPECT_FALSE(formparts::IsHexText("01 23"));
}

// A mask or an empty edit sends nothing; an ASCII key goes out as hex and
// its edit keeps what was typed; other digits are refused with the message.
TEST(FormKeys, WhatAnApplySends) {
    struct Case {
        const char* name;
        const char* text;
        bool ascii;
        HexCase hexCase;
        KeyUse use;
        const char* sent;     // for Send
        const char* editText; // the edit afterwards
    } cases[] = {
        {"mask", "**********", false, HexCase::Lower, KeyUse::Keep, "", "**********"},
        {"ascii mask", "*****", true, HexCase::Lower, KeyUse::Keep, "", "*****"},
        {"empty", "", false, HexCase::Upper, KeyUse::Keep, "", ""},
        {"hex", "00112233aA", false, HexCase::Upper, KeyUse::Send, "00112233aA", "00112233aA"},
        {"ascii lower", "Ab:Z!", true, HexCase::Lower, KeyUse::Send, "41623a5a21", "Ab:Z!"},
        {"ascii upper", "Ab:Z!", true, HexCase::Upper, KeyUse::Send, "41623A5A21", "Ab:Z!"},
        {"ascii of stars and more", "**a**", true, HexCase::Lower, KeyUse::Send, "2a2a612a2a",
         "**a**"},
        {"other digit", "0123456G89", false, HexCase::Lower, KeyUse::Refused, "", ""},
    };
    UiTestSession ui;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ui.Boxes().Clear();
        auto edit = std::make_unique<TEdit>(nullptr);
        edit->SetText(c.text);
        std::string sent;
        EXPECT_EQ(formparts::OutgoingKey(edit.get(), c.ascii, c.hexCase, &sent), c.use);
        if (c.use == KeyUse::Send) {
            EXPECT_EQ(sent, c.sent);
        }
        EXPECT_EQ(edit->Text(), c.editText);
        if (c.use == KeyUse::Refused) {
            ASSERT_EQ(ui.Boxes().Count(), 1);
            EXPECT_EQ(ui.Boxes().Last().text, "Please input  Hexadecimal digits!");
        } else {
            EXPECT_EQ(ui.Boxes().Count(), 0);
        }
    }
}

} // namespace
