// Associations of variables with controls, taking over change events, format
// scanning of AssociateEdits, unbinding, and the bound list view: hidden
// columns first, rows, selection back into the variables and the controls.
#include "binding/QvSNMPRequest2Edits.h"

#include "tests/binding/group_fixture.h"
#include "ui/ListView.h"
#include "ui/Widgets.h"

#include <gtest/gtest.h>
#include <memory>
#include <utility>

namespace {

using namespace QvSyntax;
using namespace snmptest;

const QvPairDef kStates[] = {{4, "Disable"}, {1, "Enable"}, {0, nullptr}};
const QvPairDef kPrefixes[] = {{"ab", "Alpha"}, {"cd", "Gamma"}, {0, nullptr}};

class Binding : public FormGroupTest {};

QvOptionList g_states(kStates);
QvOptionList g_prefixes(kPrefixes, QV_KEY_PREFIX);

// An index row (not accessible), a write-only key, two shown columns and a
// hidden one.
const QvSNMPVar kTable[] = {
    {"", "Index", Integer, 1, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.32473.9.1.2", "Key", OctetStr, 4, nullptr, nullptr, nullptr, nullptr, nullptr,
     nullptr},
    {"1.3.6.1.4.1.32473.9.1.3", "Name", DisplayStr, 6, nullptr, nullptr, nullptr, nullptr, nullptr,
     nullptr},
    {"1.3.6.1.4.1.32473.9.1.4", "State", Integer, 6, &g_states, nullptr, nullptr, nullptr, nullptr,
     nullptr},
    {"1.3.6.1.4.1.32473.9.1.5", "Secret", Integer, 6 | 16, nullptr, nullptr, nullptr, nullptr,
     nullptr, nullptr},
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
};

TEST_F(Binding, EditFormatsTakeOneControlPerItem) {
    group->request.vars = QvSNMPVarList(kTable, MVT_UMV, 1);
    struct {
        const char* format;
        int taken;
    } cases[] = {{"%u.%u.%u.%u", 4}, {"%%s", 1},   {"%s%", 1},
                 {"%x%s", 1},        {"plain", 0}, {"%n,{l4}%h", 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        std::vector<TControl*> edits;
        for (int k = 0; k < 4; ++k)
            edits.push_back(new TEdit(form));
        const int before = group->AssociationCount();
        group->AssociateEdits(2, c.format, edits);
        ASSERT_EQ(group->AssociationCount(), before + 1);
        EXPECT_EQ(group->Association(before)->controlCount, c.taken);
        group->UnbindVariable(2);
    }
    // Unbinding gives an edit its own handlers back.
    auto* edit = new TEdit(form);
    int changes = 0;
    edit->OnChange = [&](TObject*) { ++changes; };
    group->AssociateEdits(2, "%u", edit);
    edit->SetText("1x");
    EXPECT_EQ(edit->Text(), "1");
    group->UnbindVariable(2);
    EXPECT_EQ(group->Constraint().Find(edit), nullptr);
    edit->SetText("2y");
    EXPECT_EQ(edit->Text(), "2y");
    EXPECT_EQ(changes, 2); // "1" after the removal, then "2y"
}

TEST_F(Binding, ComboAndRadioNeedOptionLists) {
    const QvSNMPVar table[] = {
        {"1.3.6.1.4.1.32473.1", "Plain", Integer, 6, nullptr, nullptr, nullptr, nullptr, nullptr,
         nullptr},
        {"1.3.6.1.4.1.32473.2", "Prefixed", DisplayStr, 6, &g_prefixes, nullptr, nullptr, nullptr,
         nullptr, nullptr},
        {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}};
    group->request.vars = QvSNMPVarList(table, SVT_SV, 0);
    EXPECT_EQ(CodeOf([&] { group->AssociateComboBox(0, new TComboBox(form)); }), -520);
    EXPECT_EQ(CodeOf([&] { group->AssociateControl(0, new TRadioGroup(form)); }), -520);
    EXPECT_EQ(CodeOf([&] { group->AssociateComboBox(1, new TComboBox(form)); }), -522);
    auto* radio = new TRadioGroup(form);
    group->AssociateControl(1, radio);
    EXPECT_EQ(radio->Items().Count(), 2);
    EXPECT_EQ(group->AssociationCount(), 1); // nothing stored for the failures
}

TEST_F(Binding, ChangeEventsAreTakenOverAndGivenBack) {
    group->request.vars = QvSNMPVarList(kTable, MVT_UMV, 1);
    auto* combo = new TComboBox(form);
    auto* box = new TCheckBox(form);
    auto* radio = new TRadioGroup(form);
    int comboChanges = 0, boxClicks = 0, radioClicks = 0;
    combo->OnChange = [&](TObject*) { ++comboChanges; };
    box->OnClick = [&](TObject*) { ++boxClicks; };
    radio->OnClick = [&](TObject*) { ++radioClicks; };
    group->AssociateComboBox(3, combo);
    group->AssociateControl(3, radio);
    group->AssociateControl(3, box);
    group->AssociateChecks(1, "0", {box}); // a second association of the same box
    combo->ChooseItem(1);
    box->Click();
    radio->ClickItem(0);
    EXPECT_EQ(comboChanges, 1);
    EXPECT_EQ(boxClicks, 1); // once, though two associations hold it
    EXPECT_EQ(radioClicks, 1);

    group->UnbindVariable(3);
    EXPECT_EQ(group->AssociationCount(), 1);
    box->Click();
    EXPECT_EQ(boxClicks, 2); // still routed through the remaining association
    group->UnbindVariable(1);
    EXPECT_EQ(group->AssociationCount(), 0);
    combo->ChooseItem(0);
    box->Click();
    EXPECT_EQ(comboChanges, 2);
    EXPECT_EQ(boxClicks, 3);

    // Once the group is gone, handlers it installed pass on to the form's.
    group->AssociateControl(3, radio);
    group.reset();
    radio->ClickItem(1);
    EXPECT_EQ(radioClicks, 2);
}

TEST_F(Binding, ListViewColumnsRowsAndSelection) {
    group->request.vars = QvSNMPVarList(kTable, MVT_FMV, 1);
    auto* lv = new TListView(form);
    int formSelections = 0;
    lv->OnSelectItem = [&](TObject*, TListItem*, bool) { ++formSelections; };
    auto* name = new TEdit(form);
    auto* state = new TComboBox(form);
    group->AssociateEdits(2, "%s", name);
    group->AssociateComboBox(3, state);
    group->BindListView(lv, true);

    EXPECT_EQ(lv->ViewStyle(), vsReport);
    EXPECT_TRUE(lv->ReadOnly());
    EXPECT_TRUE(lv->RowSelect());
    ASSERT_EQ(lv->Columns().Count(), 5);
    const char* captions[] = {"Key", "Secret", "Index", "Name", "State"};
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(lv->Columns()[k]->Caption(), captions[k]);
        if (k < 2)
            EXPECT_EQ(lv->Columns()[k]->Width(), 0);
        else
            EXPECT_GT(lv->Columns()[k]->Width(), 0); // fits its header
        EXPECT_FALSE(lv->Columns()[k]->AutoSize());
    }

    // Two rows as a read delivers them.
    const char* rows[2][5] = {{"1", "0A", "first", "Enable", "7"},
                              {"2", "0B", "second", "Disable", "8"}};
    group->BeforeRead();
    for (auto& row : rows) {
        for (int i = 0; i < 5; ++i)
            *group->request.vars.Item(i)->Value = row[i];
        group->RowReceived();
    }
    group->AfterRead();
    ASSERT_EQ(lv->Items().Count(), 2);
    EXPECT_EQ(lv->Items()[1]->Caption(), "0B");
    EXPECT_EQ(lv->Items()[1]->SubItems().Text(), "8\n2\nsecond\nDisable\n");
    EXPECT_FALSE(name->Enabled()); // a fixed table waits for a selection

    lv->ClickItem(lv->Items()[1]);
    EXPECT_EQ(formSelections, 1);
    EXPECT_TRUE(name->Enabled());
    EXPECT_EQ(name->Text(), "second");
    EXPECT_EQ(state->ItemIndex(), 0);
    EXPECT_EQ(*group->request.vars.Item(1)->Value, "0B");

    // A new read keeps the columns and clears the rows; controls are disabled again.
    lv->Columns()[3]->SetCaption("kept");
    group->BeforeRead();
    group->AfterRead();
    EXPECT_EQ(lv->Columns()[3]->Caption(), "kept");
    EXPECT_EQ(lv->Items().Count(), 0);
    EXPECT_FALSE(state->Enabled());
}

TEST_F(Binding, CollectValuesTakesTheSelectedRowThenTheControls) {
    group->request.vars = QvSNMPVarList(kTable, MVT_UMV, 1);
    auto* lv = new TListView(form);
    auto* name = new TEdit(form);
    group->AssociateEdits(2, "%s", name);
    group->BindListView(lv, false);
    TListItem* item = lv->Items().Add();
    item->SetCaption("0C");
    for (const char* s : {"9", "3", "third", "Enable"})
        item->SubItems().Add(s);
    lv->SetSelected(item);
    name->SetText("renamed");
    group->CollectValues();
    EXPECT_EQ(*group->request.vars.Item(0)->Value, "3");
    EXPECT_EQ(*group->request.vars.Item(2)->Value, "renamed");
    EXPECT_EQ(*group->request.vars.Item(3)->Value, "Enable");
}

TEST_F(Binding, ListViewFillsFromTheDeviceInBothModesWithHooksAround) {
    lmrtest::SimDevice& dev = lmrtest::SimDevice::shared();
    ASSERT_TRUE(dev.running()) << dev.error();
    CreateGlobalSessionInTempFolder();

    auto* lv = new TListView(form);
    auto* name = new TEdit(form);
    std::vector<std::string> log;
    for (uint8_t mode : {0, 1}) {
        SCOPED_TRACE(int(mode));
        auto g = std::make_unique<QvSNMPRequest2Edits>(form);
        g->mode = mode;
        AimAt(g->request, dev);
        g->request.vars = QvSNMPVarList(kDemo, MVT_FMV, 1);
        g->AssociateEdits(1, "%s{l32}", name);
        g->BindListView(lv, true);
        log.clear();
        g->OnBeforeRead = [&] { log.push_back("before"); };
        g->OnAfterRead = [&] { log.push_back("after " + std::to_string(lv->Items().Count())); };
        g->Read();
        WaitIdle(*g, 500);
        EXPECT_EQ(g->busy, 0);
        EXPECT_EQ(log, (std::vector<std::string>{"before", "after 2"}));
        ASSERT_EQ(lv->Items().Count(), 2);
        EXPECT_EQ(lv->Items()[1]->Caption(), "2");
        EXPECT_EQ(lv->Items()[1]->SubItems().Text(), "second\n192.0.2.11\n");
        EXPECT_FALSE(name->Enabled());
        lv->ClickItem(lv->Items()[0]);
        EXPECT_TRUE(name->Enabled());
        EXPECT_EQ(name->Text(), "first");
        lv->OnSelectItem = nullptr;
    }
}

// A list that shows no choice holds no value: its variable stays out of the
// write and the device keeps what it has, while the rest is written.
TEST_F(Binding, AListWithoutASelectionIsLeftOutOfTheWrite) {
    lmrtest::SimDevice& dev = lmrtest::SimDevice::shared();
    ASSERT_TRUE(dev.running()) << dev.error();
    CreateGlobalSessionInTempFolder();
    // Neither list knows the device's value, so a read selects nothing.
    static const QvPairDef kModes[] = {{2, "DHCP"}, {0, nullptr}};
    static const QvPairDef kRates[] = {{1, "Low"}, {2, "High"}, {0, nullptr}};
    static QvOptionList modes(kModes), rates(kRates);
    static const QvSNMPVar kVars[] = {
        {"1.3.6.1.2.1.1.5", "sysName", DisplayStr, 6, nullptr, nullptr, nullptr, nullptr, nullptr,
         nullptr},
        {"1.3.6.1.4.1.32473.11.37.4.1.2.1", "mode", Integer, 6, &modes, nullptr, nullptr, nullptr,
         nullptr, nullptr},
        {"1.3.6.1.4.1.32473.11.37.4.3.3.5", "rate", Integer, 6, &rates, nullptr, nullptr, nullptr,
         nullptr, nullptr},
        {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}};
    struct Case {
        const char* what;
        bool read;       // after a read that found no choice, or before any read
        bool selectMode; // the user picks a mode: only the rate stays out
        const char* numbers;
        bool nameSent;
    } cases[] = {{"after a read", true, false, "", true},
                 {"never read", false, false, "", true},
                 {"one chosen", true, true, "", true},
                 {"numbered", true, false, "0,2", true},
                 {"numbered, one chosen", true, true, "1,0", true},
                 {"nothing left to send", true, false, "2", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(dev.reset());
        auto g = std::make_unique<QvSNMPRequest2Edits>(form);
        g->mode = 0;
        AimAt(g->request, dev);
        g->request.vars = QvSNMPVarList(kVars, SVT_SV, 0);
        auto* name = new TEdit(form);
        auto* mode = new TComboBox(form);
        auto* rate = new TRadioGroup(form);
        g->AssociateEdits(0, "%s", name);
        g->AssociateComboBox(1, mode);
        g->AssociateControl(2, rate);
        if (c.read) {
            ASSERT_TRUE(g->Read());
        }
        EXPECT_EQ(mode->ItemIndex(), -1);
        EXPECT_EQ(rate->ItemIndex(), -1);
        if (c.selectMode) mode->SetItemIndex(0);
        name->SetText("renamed-ap");
        dev.takeSetLog();
        EXPECT_TRUE(g->Write(false, true, c.numbers, nullptr));
        EXPECT_EQ(dev.peek("system.5.0").value_or(""), c.nameSent ? "renamed-ap" : "LMR-7300AP");
        EXPECT_EQ(dev.peek("qvEnterprise.11.37.4.1.2.1.0").value_or(""), c.selectMode ? "2" : "1");
        EXPECT_EQ(dev.peek("qvEnterprise.11.37.4.3.3.5.0").value_or(""), "6");
        std::vector<std::string> sent;
        if (c.nameSent) sent.push_back(".1.3.6.1.2.1.1.5.0");
        if (c.selectMode) sent.push_back(".1.3.6.1.4.1.32473.11.37.4.1.2.1.0");
        EXPECT_EQ(dev.takeSetLog(), sent);
        // Left out for that write only: the flags are as before.
        EXPECT_EQ(g->request.vars.Item(1)->Access, 6);
        EXPECT_EQ(g->request.vars.Item(2)->Access, 6);
        g.reset();
        delete name;
        delete mode;
        delete rate;
    }
}

// A change handler fired while values are shown may unbind associations and
// free their controls; the walk goes on with those still bound.
TEST_F(Binding, ShowingValuesSurvivesHandlersThatUnbind) {
    static const QvPairDef kRates[] = {{1, "Low"}, {2, "High"}, {0, nullptr}};
    static QvOptionList rates(kRates);
    static const QvSNMPVar kVars[] = {
        {"1.3.6.1.4.1.32473.9.2", "name", DisplayStr, 6, nullptr, nullptr, nullptr, nullptr,
         nullptr, nullptr},
        {"1.3.6.1.4.1.32473.9.3", "address", IpAddress, 6, nullptr, nullptr, nullptr, nullptr,
         nullptr, nullptr},
        {"1.3.6.1.4.1.32473.9.4", "rate", Integer, 6, &rates, nullptr, nullptr, nullptr, nullptr,
         nullptr},
        {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}};
    enum Who { ByName, ByOwnFirstEdit, ByRadio };
    struct Case {
        const char* what;
        Who who;
        int variableUnbound;
        int associationsLeft;
        int rateShown;
    } cases[] = {{"an earlier edit unbinds the address", ByName, 1, 2, 1},
                 {"the address's first edit unbinds it", ByOwnFirstEdit, 1, 2, 1},
                 {"the radio group unbinds the name", ByRadio, 0, 2, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto g = std::make_unique<QvSNMPRequest2Edits>(form);
        g->request.vars = QvSNMPVarList(kVars, SVT_SV, 0);
        *g->request.vars.Item(0)->Value = "first";
        *g->request.vars.Item(1)->Value = "192.0.2.7";
        *g->request.vars.Item(2)->Value = "High";
        auto* name = new TEdit(form);
        std::vector<TEdit*> octets;
        for (int k = 0; k < 4; ++k)
            octets.push_back(new TEdit(form));
        auto* rate = new TRadioGroup(form);
        g->AssociateEdits(0, "%s", name);
        g->AssociateEdits(1, "%u.%u.%u.%u", octets[0], octets[1], octets[2], octets[3]);
        g->AssociateControl(2, rate);
        bool fired = false;
        // Unbinds the variable and frees controls that were bound to it.
        auto unbind = [&] {
            if (fired) return;
            fired = true;
            g->UnbindVariable(c.variableUnbound);
            if (c.variableUnbound == 1) {
                for (TEdit*& e : octets)
                    delete std::exchange(e, nullptr);
            } else {
                delete std::exchange(name, nullptr);
            }
        };
        switch (c.who) {
        case ByName:
            name->OnChange = [&](TObject*) { unbind(); };
            break;
        case ByOwnFirstEdit: {
            TEdit* first = octets[0];
            TNotifyEvent kept = first->OnChange; // the constraint's own handler
            first->OnChange = [&, kept](TObject* sender) {
                if (kept) kept(sender);
                unbind();
            };
            break;
        }
        case ByRadio:
            rate->OnClick = [&](TObject*) { unbind(); };
            break;
        }
        g->RequestToControls(-1);
        EXPECT_TRUE(fired);
        EXPECT_EQ(g->AssociationCount(), c.associationsLeft);
        EXPECT_EQ(rate->ItemIndex(), c.rateShown);
        if (name) {
            EXPECT_EQ(name->Text(), "first");
        }
        g.reset();
        delete name;
        for (TEdit* e : octets)
            delete e;
        delete rate;
    }
}

} // namespace
