// Edit constraints: the grammar, what typing keeps, the exit check and its
// messages, the saved text, the exit character and auto-advance, and a form's
// own veto through the edit's Tag.
#include "binding/QvEditConstraint.h"

#include "ui/Application.h"
#include "base/Exception.h"
#include "ui/Form.h"
#include "base/SysUtils.h"
#include "ui/Testing.h"
#include "ui/Widgets.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

int ParseCode(const std::string& text) {
    _EditConstraint_s c;
    try {
        QvEditConstraint::Parse(text, c);
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "(QvCommon) Bad format specifier of edit's constraint!");
        return e.HelpContext();
    }
    return 0;
}

TEST(ConstraintGrammar, BadFormatsRaiseMinusTwo) {
    for (const char* bad : {"%x", "%u{n1", "%u{q1}", "%u{n}", "u", "%", "%n", "%u(n1)", "%u{l}",
                            "%u{e}", "%u{w}", "%s{x}"}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(ParseCode(bad), -2);
    }
}

TEST(ConstraintGrammar, ItemsAndDefaults) {
    struct Case {
        const char* text;
        char type, delimiter;
        double minimum, maximum;
        int length;
        uint16_t flags;
        char exitChar;
        int width;
    } cases[] = {
        {"%u{n1x65535}", 'u', 0, 1, 65535, 0, 0, 0, 0},
        {"%u", 'u', 0, 0, 4294967295.0, 0, 0, 0, 0},
        {"%i", 'i', 0, -2147483648.0, 2147483647.0, 0, 0, 0, 0},
        {"%s{l8an}", 's', 0, 2.2250738585072014e-308, 1.7976931348623157e308, 8,
         QV_EC_AUTO_ADVANCE | QV_EC_REQUIRED, 0, 0},
        {"%n.{l4f}", 'n', '.', 2.2250738585072014e-308, 1.7976931348623157e308, 4,
         QV_EC_EXACT_LENGTH, 0, 0},
        {"%h{l10fw80}", 'h', 0, 2.2250738585072014e-308, 1.7976931348623157e308, 10,
         QV_EC_EXACT_LENGTH, 0, 80},
        {"%u{e.n0x255}", 'u', 0, 0, 255, 0, 0, '.', 0},
        {"%u{n5n7x9x8}", 'u', 0, 7, 8, 0, 0, 0, 0}, // a later item overrides
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        _EditConstraint_s b;
        QvEditConstraint::Parse(c.text, b);
        EXPECT_EQ(b.type, c.type);
        EXPECT_EQ(b.delimiter, c.delimiter);
        EXPECT_DOUBLE_EQ(b.minimum, c.minimum);
        EXPECT_DOUBLE_EQ(b.maximum, c.maximum);
        EXPECT_EQ(b.length, c.length);
        EXPECT_EQ(b.flags, c.flags);
        EXPECT_EQ(b.exitChar, c.exitChar);
        EXPECT_EQ(b.width, c.width);
    }
}

TEST(ConstraintTyping, FirstRefusedCharacter) {
    struct Case {
        const char* constraint;
        const char* text;
        int refused;
    } cases[] = {
        {"%u", "12a", 2},   {"%u", "-1", 0},      {"%i", "-5", -1},         {"%i", "5-", 1},
        {"%f", "1.2.3", 3}, {"%f", "-1.5", -1},   {"%h", "0aFg", 3},        {"%n.", "1..2", 2},
        {"%n.", ".1", 0},   {"%n,", "1,2,3", -1}, {"%s", "any thing!", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.constraint) + " " + c.text);
        _EditConstraint_s b;
        QvEditConstraint::Parse(c.constraint, b);
        EXPECT_EQ(QvEditConstraint::FirstRefused(b, c.text), c.refused);
    }
}

TEST(ConstraintExit, Messages) {
    struct Case {
        const char* constraint;
        const char* text;
        const char* message;
    } cases[] = {
        {"%u{n1x65535}", "0", "(QvCommon) Please enter a number between 1 and 65535!"},
        {"%u{n1x65535}", "65535", ""},
        {"%u{n1x65535}", "65536", "(QvCommon) Please enter a number between 1 and 65535!"},
        {"%f", "0",
         "(QvCommon) Please enter a number between 2.2250738585072E-308 and "
         "1.79769313486232E308!"},
        {"%f", "0.5", ""},
        {"%n.{l4f}", "1.2.3",
         "(QvCommon) Please enter a delimited number string with delimiter '.'.\nHere,the count "
         "of the number is equal to 4!"},
        {"%n,{l2}", "1,2,3",
         "(QvCommon) Please enter a delimited number string with delimiter ','.\nHere,the count "
         "of the number is less than 2!"},
        {"%n,{n1x9}", "1,10",
         "(QvCommon) Please enter a delimited number string with delimiter ','.\nHere,each "
         "number is between 1 and 9!"},
        {"%n,", "0,4294967295", ""}, // no "x": the 32-bit range
        {"%n,{x9}", "1.9,5", ""},    // a "." ends the number: 1
        {"%s{l8an}", "", "(QvCommon) Empty value is not allowed!"},
        {"%s{l8}", "", ""},
        {"%s{l3}", "abcd", "(QvCommon) Please enter a string whose length is less than 3!"},
        {"%s{l3f}", "ab", "(QvCommon) Please enter a string whose length is 3!"},
        {"%h{l10f}", "ABCDE", "(QvCommon) Please enter a hex string whose length is 10!"},
        {"%h{l4}", "ABCDE", "(QvCommon) Please enter a hex string whose length is less than 4!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.constraint) + " " + c.text);
        _EditConstraint_s b;
        QvEditConstraint::Parse(c.constraint, b);
        EXPECT_EQ(QvEditConstraint::ExitMessage(b, c.text), c.message);
    }
}

// A form with three edits and a constraint object owned by it.
class ConstraintOnForm : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(nullptr);
        for (auto& e : edits) {
            e = new TEdit(form);
            e->SetParent(form);
        }
        constraint = std::make_unique<QvEditConstraint>(form, 1);
        form->Show();
        Application->ProcessMessages();
    }
    void TearDown() override {
        constraint.reset();
        delete form;
    }
    std::string ExeCaption() const { return ExtractFileName(Application->ExeName()); }

    UiTestSession session;
    TForm* form = nullptr;
    TEdit* edits[3] = {};
    std::unique_ptr<QvEditConstraint> constraint;
};

TEST_F(ConstraintOnForm, TypingRemovesRefusedCharactersWithABeep) {
    constraint->CheckEdit(edits[0], "%u{n1x65535}");
    edits[0]->SetFocus();
    const int beeps = session.Beeps();
    edits[0]->TypeText("12a");
    EXPECT_EQ(edits[0]->Text(), "12");
    EXPECT_EQ(session.Beeps(), beeps + 1);
}

TEST_F(ConstraintOnForm, RefusedExitShowsMessageRestoresSavedTextAndKeepsFocus) {
    constraint->CheckEdit(edits[0], "%u{n1x65535}");
    edits[0]->SetFocus();
    edits[0]->TypeText("80");
    edits[1]->SetFocus(); // accepted: becomes the saved text
    EXPECT_EQ(session.Boxes().Count(), 0);
    edits[0]->SetFocus();
    edits[0]->SetText("0");
    edits[1]->SetFocus();
    ASSERT_EQ(session.Boxes().Count(), 1);
    EXPECT_EQ(session.Boxes().Last().text, "(QvCommon) Please enter a number between 1 and 65535!");
    EXPECT_EQ(session.Boxes().Last().caption, ExeCaption());
    EXPECT_EQ(edits[0]->Text(), "80");
    Application->ProcessMessages();
    EXPECT_EQ(form->ActiveControl(), edits[0]);
}

TEST_F(ConstraintOnForm, FirstRefusedEntryEmptiesUnlessTheTextWasStored) {
    constraint->CheckEdit(edits[0], "%u{n1x65535}");
    edits[0]->SetText("0");
    edits[0]->SetFocus();
    edits[1]->SetFocus();
    EXPECT_EQ(edits[0]->Text(), "");
    // A value read from the device is stored and comes back instead.
    edits[0]->SetText("161");
    constraint->StoreText(edits[0]);
    edits[0]->SetFocus();
    edits[0]->SetText("0");
    edits[1]->SetFocus();
    EXPECT_EQ(edits[0]->Text(), "161");
}

TEST_F(ConstraintOnForm, ExitCharacterMovesOnAndDoesNotStay) {
    constraint->CheckEdit(edits[0], "%u{e.}");
    edits[0]->SetFocus();
    edits[0]->TypeText("10.");
    EXPECT_EQ(edits[0]->Text(), "10");
    Application->ProcessMessages();
    EXPECT_EQ(form->ActiveControl(), edits[1]);
}

TEST_F(ConstraintOnForm, AutoAdvanceAtFullLengthAndRequiredValue) {
    constraint->CheckEdit(edits[0], "%s{l8an}");
    EXPECT_EQ(edits[0]->MaxLength(), 8);
    edits[0]->SetFocus();
    edits[0]->TypeText("abcdefg");
    Application->ProcessMessages();
    EXPECT_EQ(form->ActiveControl(), edits[0]);
    edits[0]->TypeText("h");
    Application->ProcessMessages();
    EXPECT_EQ(form->ActiveControl(), edits[1]);
    edits[0]->SetFocus();
    edits[0]->SetText("");
    edits[1]->SetFocus();
    ASSERT_EQ(session.Boxes().Count(), 1);
    EXPECT_EQ(session.Boxes().Last().text, "(QvCommon) Empty value is not allowed!");
}

TEST_F(ConstraintOnForm, FormHandlersRunAfterTheCheckAndVetoWithTagMinusOne) {
    int changes = 0, exits = 0;
    edits[0]->OnChange = [&](TObject*) { ++changes; };
    edits[0]->OnExit = [&](TObject*) {
        ++exits;
        if (edits[0]->Text() == "13") edits[0]->SetTag(-1);
    };
    constraint->CheckEdit(edits[0], "%u");
    edits[0]->SetFocus();
    edits[0]->TypeText("12");
    EXPECT_EQ(changes, 2);
    edits[1]->SetFocus();
    EXPECT_EQ(exits, 1);
    edits[0]->SetFocus();
    edits[0]->SetText("13");
    edits[1]->SetFocus();
    EXPECT_EQ(exits, 2);
    EXPECT_EQ(edits[0]->Text(), "12"); // vetoed: the saved text is back
    EXPECT_EQ(session.Boxes().Count(), 0);
    // Remove gives the edit its own handlers back.
    edits[0]->SetTag(0);
    constraint->Remove(edits[0]);
    edits[0]->SetText("x");
    EXPECT_EQ(edits[0]->Text(), "x");
    EXPECT_EQ(changes, 5); // the veto's restore and the own handler's change
}

TEST_F(ConstraintOnForm, PlaceholdersPassBothHandlers) {
    int exits = 0;
    edits[0]->OnExit = [&](TObject*) { ++exits; };
    constraint->CheckEdit(edits[0], "%u{n1x9}");
    for (const char* placeholder : {"(NOTDONE)", "(NULL)"}) {
        edits[0]->SetFocus();
        edits[0]->SetText(placeholder);
        edits[1]->SetFocus();
        EXPECT_EQ(edits[0]->Text(), placeholder);
    }
    EXPECT_EQ(session.Boxes().Count(), 0);
    EXPECT_EQ(exits, 0);
}

TEST_F(ConstraintOnForm, CheckAllSplitsAtEachPercent) {
    constraint->CheckAll("%u{n0x255}%u{n0x255}%s{l4}", {edits[0], edits[1], edits[2]});
    EXPECT_EQ(constraint->Count(), 3);
    EXPECT_EQ(constraint->Find(edits[1])->maximum, 255);
    EXPECT_EQ(constraint->Find(edits[2])->type, 's');
    EXPECT_EQ(edits[2]->MaxLength(), 4);

    // Dots between constraints separate them; a "%" without a type takes no edit.
    for (TEdit* e : edits)
        constraint->Remove(e);
    constraint->CheckAll("%u{e.}.%%u.%s", {edits[0], edits[1], edits[2]});
    EXPECT_EQ(constraint->Find(edits[0])->exitChar, '.');
    EXPECT_EQ(constraint->Find(edits[1])->type, 'u');
    EXPECT_EQ(constraint->Find(edits[2])->type, 's');

    // A bad piece anywhere binds nothing.
    for (TEdit* e : edits)
        constraint->Remove(e);
    EXPECT_EQ(ParseCode("%u{n1"), -2);
    EXPECT_THROW(constraint->CheckAll("%u%u{n1", {edits[0], edits[1]}), Exception);
    EXPECT_EQ(constraint->Count(), 0);
}

TEST_F(ConstraintOnForm, HandlersOutlivingTheConstraintPassOn) {
    int exits = 0;
    edits[0]->OnExit = [&](TObject*) { ++exits; };
    constraint->CheckEdit(edits[0], "%u");
    constraint.reset();
    edits[0]->SetFocus();
    edits[0]->TypeText("a1");
    edits[1]->SetFocus();
    EXPECT_EQ(edits[0]->Text(), "a1");
    EXPECT_EQ(exits, 1);
}

} // namespace
