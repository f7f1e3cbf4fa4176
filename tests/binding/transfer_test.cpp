// Values between variables and their controls: every control class, the
// multi-edit layouts by syntax, bit numbers, partial merging, and the errors
// of too few controls, bad syntaxes and unknown control classes.
#include "binding/QvSNMPRequest2Edits.h"

#include "tests/binding/group_fixture.h"
#include "ui/Widgets.h"

#include <gtest/gtest.h>
#include <memory>
#include <ostream>

namespace {

using namespace QvSyntax;
using namespace snmptest;

const QvPairDef kTwoNames[] = {{1, "first"}, {2, "second"}, {0, nullptr}};
const QvPairDef kStates[] = {{4, "Disable"}, {1, "Enable"}, {2, "Auto"}, {0, nullptr}};

class Transfer : public FormGroupTest {
protected:
    // A one-variable group of that syntax, writable, with that value.
    QvSNMPVar* One(int syntax, const std::string& value, QvOptionList* list = nullptr) {
        table[0] = QvSNMPVar{"1.3.6.1.4.1.32473.1",
                             "v",
                             syntax,
                             6,
                             list,
                             nullptr,
                             nullptr,
                             nullptr,
                             nullptr,
                             nullptr};
        table[1] =
            QvSNMPVar{nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
        group->request.vars = QvSNMPVarList(table, SVT_SV, 0);
        *group->request.vars.Item(0)->Value = value;
        return group->request.vars.Item(0);
    }
    std::vector<TControl*> Edits(int n) {
        std::vector<TControl*> v;
        for (int k = 0; k < n; ++k)
            v.push_back(new TEdit(form));
        return v;
    }
    static std::vector<std::string> Texts(const std::vector<TControl*>& edits) {
        std::vector<std::string> t;
        for (TControl* e : edits)
            t.push_back(e->Text());
        return t;
    }
    std::string Format(int n) {
        std::string f;
        for (int k = 0; k < n; ++k)
            f += "%s";
        return f;
    }

    QvSNMPVar table[2];
};

struct LayoutCase {
    int syntax;
    int edits;
    std::string value;
    std::vector<std::string> shown;
    std::string readBack; // after the edits are left as shown
};

void PrintTo(const LayoutCase& c, std::ostream* os) {
    *os << "syntax " << c.syntax << " over " << c.edits << " edits";
}

class MultiEditLayout : public Transfer, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(MultiEditLayout, ShowsEachPartAndReadsItBack) {
    const LayoutCase& c = GetParam();
    QvSNMPVar* v = One(c.syntax, c.value);
    auto edits = Edits(c.edits);
    group->AssociateEdits(0, Format(c.edits), edits);
    group->RequestToControls(-1);
    EXPECT_EQ(Texts(edits), c.shown);
    *v->Value = "(NULL)";
    group->ControlsToRequest(-1);
    EXPECT_EQ(*v->Value, c.readBack);
}

INSTANTIATE_TEST_SUITE_P(
    BySyntax, MultiEditLayout,
    ::testing::Values(
        LayoutCase{
            MacAddress, 6, "000D0A1B2C3D", {"00", "0D", "0A", "1B", "2C", "3D"}, "000D0A1B2C3D"},
        LayoutCase{IpAddress, 4, "10.1.2.3", {"10", "1", "2", "3"}, "10.1.2.3"},
        LayoutCase{NsapAddr, 5, "192.0.2.1", {"192", "0", "2", "1", ""}, "192.0.2.1"},
        LayoutCase{
            TimeTicks, 5, "1 day 0:02:30.00", {"1", "0", "2", "30", "0"}, "1 day 0:02:30.00"},
        LayoutCase{OctetStr, 3, "0A0B", {"0A", "0B", ""}, "0A0B00"},
        LayoutCase{ObjectId, 4, "1.3.6", {"1", "3", "6", ""}, "1.3.6.0"},
        LayoutCase{DateTime,
                   10,
                   "2008-12-12,10:30:0.5,-5:30",
                   {"2008", "12", "12", "10", "30", "0", "5", "-", "5", "30"},
                   "2008-12-12,10:30:0.5,-5:30"},
        LayoutCase{BcDateTime,
                   7,
                   "2026/12/09 03:07:09 pm",
                   {"2026", "12", "9", "15", "7", "9", "0"},
                   "2026/12/09 03:07:09 pm"},
        LayoutCase{Integer, 2, "42", {"42", ""}, "42"}));

TEST_F(Transfer, NullAddressLeavesEditsAndEmptyEditsReadAsZeros) {
    QvSNMPVar* v = One(IpAddress, "(NULL)");
    auto edits = Edits(4);
    edits[0]->SetText("7");
    group->AssociateEdits(0, "%u.%u.%u.%u", edits);
    group->RequestToControls(-1);
    EXPECT_EQ(Texts(edits), (std::vector<std::string>{"7", "", "", ""}));
    edits[0]->SetText("");
    group->ControlsToRequest(-1);
    EXPECT_EQ(*v->Value, "0.0.0.0");
}

TEST_F(Transfer, MacEditsPadEmptyAndSingleDigits) {
    QvSNMPVar* v = One(MacAddress, "000000000000");
    auto edits = Edits(6);
    group->AssociateEdits(0, Format(6), edits);
    const char* typed[] = {"00", "", "5", "1B", "2c", "3D"};
    for (int k = 0; k < 6; ++k)
        edits[k]->SetText(typed[k]);
    group->ControlsToRequest(-1);
    EXPECT_EQ(*v->Value, "000005"
                         "1B2C3D");
}

TEST_F(Transfer, TooFewEditsRaise522BothWays) {
    struct {
        int syntax, edits;
        const char* value;
    } cases[] = {{IpAddress, 3, "10.1.2.3"},
                 {MacAddress, 5, "000D0A1B2C3D"},
                 {TimeTicks, 4, "0:00:01.00"},
                 {DateTime, 9, "2008-12-12,10:30:0.5"},
                 {BcDateTime, 6, "2026/12/09 03:07:09 pm"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.syntax);
        One(c.syntax, c.value);
        group->UnbindVariable(0);
        group->AssociateEdits(0, Format(c.edits), Edits(c.edits));
        EXPECT_EQ(CodeOf([&] { group->RequestToControls(-1); }), -522);
        EXPECT_EQ(CodeOf([&] { group->ControlsToRequest(-1); }), -522);
    }
    // More octets or arcs than edits: only when showing.
    One(OctetStr, "010203");
    group->UnbindVariable(0);
    group->AssociateEdits(0, "%h%h", Edits(2));
    EXPECT_EQ(CodeOf([&] { group->RequestToControls(-1); }), -522);
    One(ObjectId, "1.3.6.1");
    group->UnbindVariable(0);
    group->AssociateEdits(0, "%u%u%u", Edits(3));
    EXPECT_EQ(CodeOf([&] { group->RequestToControls(-1); }), -522);
}

TEST_F(Transfer, BitNumbersAcrossOctets) {
    QvSNMPVar* v = One(OctetStr, "8100FF");
    std::vector<TControl*> boxes;
    for (int k = 0; k < 3; ++k)
        boxes.push_back(new TCheckBox(form));
    group->AssociateChecks(0, "0,7,8", boxes);
    group->RequestToControls(-1);
    EXPECT_TRUE(static_cast<TCheckBox*>(boxes[0])->Checked());  // top bit of byte 0
    EXPECT_TRUE(static_cast<TCheckBox*>(boxes[1])->Checked());  // lowest bit of byte 0
    EXPECT_FALSE(static_cast<TCheckBox*>(boxes[2])->Checked()); // top bit of byte 1
    static_cast<TCheckBox*>(boxes[1])->SetChecked(false);
    static_cast<TCheckBox*>(boxes[2])->SetChecked(true);
    group->ControlsToRequest(-1);
    EXPECT_EQ(*v->Value, "8080FF"); // octets past the covered ones stay

    // Bits 0 and 9 build two octets: 80 40; the third octet stays.
    group->UnbindVariable(0);
    group->AssociateChecks(0, "0,9", {boxes[0], boxes[1]});
    static_cast<TCheckBox*>(boxes[0])->SetChecked(true);
    static_cast<TCheckBox*>(boxes[1])->SetChecked(true);
    *v->Value = "FFFFFF";
    group->ControlsToRequest(-1);
    EXPECT_EQ(*v->Value, "8040FF");

    // A bit beyond the value cannot be shown.
    *v->Value = "FF";
    EXPECT_EQ(CodeOf([&] { group->RequestToControls(-1); }), -519);
}

TEST_F(Transfer, CheckBoxesWithListOrBoolean) {
    QvOptionList names(kTwoNames);
    QvSNMPVar* v = One(Integer, "second", &names);
    auto* box = new TCheckBox(form);
    group->AssociateControl(0, box);
    group->RequestToControls(-1);
    EXPECT_TRUE(box->Checked());
    *v->Value = "first";
    group->RequestToControls(-1);
    EXPECT_FALSE(box->Checked());
    box->SetChecked(true);
    group->ControlsToRequest(-1);
    EXPECT_EQ(*v->Value, "second");
    box->SetChecked(false);
    group->ControlsToRequest(-1);
    EXPECT_EQ(*v->Value, "first");

    v = One(Boolean, "true");
    group->UnbindVariable(0);
    group->AssociateControl(0, box);
    group->RequestToControls(-1);
    EXPECT_TRUE(box->Checked());
    box->SetChecked(false);
    group->ControlsToRequest(-1);
    EXPECT_EQ(*v->Value, "false");

    One(Integer, "1");
    group->UnbindVariable(0);
    group->AssociateControl(0, box);
    EXPECT_EQ(CodeOf([&] { group->RequestToControls(-1); }), -517);
    EXPECT_EQ(CodeOf([&] { group->ControlsToRequest(-1); }), -517);
}

TEST_F(Transfer, ComboAndRadioShowNamesOfValues) {
    QvOptionList states(kStates);
    QvSNMPVar* v = One(Integer, "2", &states);
    auto* combo = new TComboBox(form);
    auto* radio = new TRadioGroup(form);
    group->AssociateComboBox(0, combo);
    group->AssociateControl(0, radio);
    EXPECT_EQ(combo->Style(), csDropDownList);
    ASSERT_EQ(combo->Items().Count(), 3);
    EXPECT_EQ(combo->Items()[0], "Disable");
    group->RequestToControls(-1);
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_EQ(radio->ItemIndex(), 2);
    group->ControlsToRequest(-1);
    EXPECT_EQ(*v->Value, "Auto");
    *v->Value = "Enable";
    group->RequestToControls(-1);
    EXPECT_EQ(combo->ItemIndex(), 1);
}

TEST_F(Transfer, LabelsEditsAndUnknownControls) {
    QvSNMPVar* v = One(DisplayStr, "Lab");
    auto* label = new TLabel(form);
    auto* edit = new TEdit(form);
    group->AssociateControl(0, label);
    group->AssociateEdits(0, "%s", edit);
    auto* staticText = new TStaticText(form);
    group->AssociateControl(0, staticText);
    group->RequestToControls(-1);
    EXPECT_EQ(label->Caption(), "Lab");
    EXPECT_EQ(edit->Text(), "Lab");
    EXPECT_EQ(staticText->Caption(), "Lab");
    staticText->SetCaption("");

    // A display string is rebuilt from its controls alone.
    label->SetCaption("");
    edit->SetText("L");
    group->ControlsToRequest(-1);
    EXPECT_EQ(*v->Value, "L");

    // An octet string keeps what a shorter text does not cover.
    v = One(OctetStr, "0A0B0C");
    group->UnbindVariable(0);
    group->AssociateEdits(0, "%h", edit);
    edit->SetText("FF");
    group->ControlsToRequest(-1);
    EXPECT_EQ(*v->Value, "FF0B0C");

    group->UnbindVariable(0);
    group->AssociateControl(0, new TMemo(form));
    EXPECT_EQ(CodeOf([&] { group->RequestToControls(-1); }), -521);
}

TEST_F(Transfer, InvalidVariablesAreNotShownAndReadOnlyOnesNotCollected) {
    QvSNMPVar* v = One(Integer, "5");
    auto* edit = new TEdit(form);
    edit->SetText("old");
    group->AssociateEdits(0, "%s", edit);
    v->Access = 6 | 32;
    group->RequestToControls(-1);
    EXPECT_EQ(edit->Text(), "old");
    v->Access = 2;
    edit->SetText("9");
    group->ControlsToRequest(-1);
    EXPECT_EQ(*v->Value, "5");
    v->Access = 6;
    group->ControlsToRequest(0);
    EXPECT_EQ(*v->Value, "9");
}

TEST_F(Transfer, ReadValueBecomesTheEditsSavedText) {
    One(UInteger, "161");
    auto* edit = new TEdit(form);
    group->AssociateEdits(0, "%u{n1x65535}", edit);
    group->RequestToControls(-1);
    ASSERT_NE(group->Constraint().Find(edit), nullptr);
    EXPECT_EQ(group->Constraint().Find(edit)->savedText, "161");
}

} // namespace
