// The event rules: which user actions and which property writes from code
// fire which events, one row per control x action.
#include "ui/Testing.h"
#include "ui/Ui.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;

struct Bench {
    UiTestSession session;
    Log log;
    std::unique_ptr<TForm> form{new TForm(nullptr)};
    TNotifyEvent Note(const std::string& what) {
        return [this, what](TObject*) { log.push_back(what); };
    }
};

void SendKey(QWidget* w, int key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &release);
}

TComboBox* Combo(Bench& b, TComboBoxStyle style) {
    auto* c = new TComboBox(b.form.get());
    c->SetStyle(style);
    c->Items().Add("one");
    c->Items().Add("two");
    c->OnChange = b.Note("change");
    return c;
}

TListView* List(Bench& b) {
    auto* lv = new TListView(b.form.get());
    lv->SetViewStyle(vsReport);
    lv->Columns().Add()->SetCaption("Name");
    lv->SetBounds(0, 0, 200, 120);
    for (const char* s : {"a", "b"})
        lv->Items().Add()->SetCaption(s);
    lv->OnSelectItem = [&b](TObject*, TListItem* item, bool selected) {
        b.log.push_back((selected ? "select:" : "deselect:") + item->Caption());
    };
    lv->OnClick = b.Note("click");
    lv->OnDblClick = b.Note("dblclick");
    lv->OnMouseMove = [&b](TObject*, TShiftState, int, int) { b.log.push_back("move"); };
    b.form->Show();
    return lv;
}

struct Row {
    const char* name;
    std::function<void(Bench&)> run;
    Log expected;
};

const std::vector<Row>& Rows() {
    static const std::vector<Row> rows = {
        // edit: OnChange
        {"EditTyping",
         [](Bench& b) {
             auto* e = new TEdit(b.form.get());
             e->OnChange = b.Note("change");
             e->TypeText("ab");
         },
         {"change", "change"}},
        {"EditPaste",
         [](Bench& b) {
             auto* e = new TEdit(b.form.get());
             e->OnChange = b.Note("change");
             e->PasteText("hello");
         },
         {"change"}},
        {"EditCodeDifferentText",
         [](Bench& b) {
             auto* e = new TEdit(b.form.get());
             e->SetText("x");
             e->OnChange = b.Note("change");
             e->SetText("y");
         },
         {"change"}},
        {"EditCodeSameText",
         [](Bench& b) {
             auto* e = new TEdit(b.form.get());
             e->SetText("x");
             e->OnChange = b.Note("change");
             e->SetText("x");
         },
         {}},
        // combo box: OnChange only from the user
        {"ComboUserChoice", [](Bench& b) { Combo(b, csDropDownList)->ChooseItem(1); }, {"change"}},
        {"ComboUserTyping", [](Bench& b) { Combo(b, csDropDown)->TypeText("t"); }, {"change"}},
        {"ComboCodeItemIndex", [](Bench& b) { Combo(b, csDropDownList)->SetItemIndex(1); }, {}},
        {"ComboCodeText",
         [](Bench& b) {
             Combo(b, csDropDownList)->SetText("two");
             Combo(b, csDropDown)->SetText("free text");
         },
         {}},
        {"ComboCodeItems",
         [](Bench& b) {
             auto* c = Combo(b, csDropDownList);
             c->SetItemIndex(0);
             c->Items().Clear();
             c->Items().Add("three");
             c->Items().SetStrings(0, "four");
         },
         {}},
        // check box and radio button: OnClick
        {"CheckBoxClick",
         [](Bench& b) {
             auto* c = new TCheckBox(b.form.get());
             c->OnClick = b.Note("click");
             c->Click();
         },
         {"click"}},
        {"CheckBoxSpace",
         [](Bench& b) {
             auto* c = new TCheckBox(b.form.get());
             c->OnClick = b.Note("click");
             b.form->Show();
             c->SetFocus();
             SendKey(c->Widget(), Qt::Key_Space, " ");
         },
         {"click"}},
        {"CheckBoxCodeDifferent",
         [](Bench& b) {
             auto* c = new TCheckBox(b.form.get());
             c->OnClick = b.Note("click");
             c->SetChecked(true);
         },
         {"click"}},
        {"CheckBoxCodeSame",
         [](Bench& b) {
             auto* c = new TCheckBox(b.form.get());
             c->SetChecked(true);
             c->OnClick = b.Note("click");
             c->SetChecked(true);
         },
         {}},
        {"RadioButtonClick",
         [](Bench& b) {
             auto* r1 = new TRadioButton(b.form.get());
             auto* r2 = new TRadioButton(b.form.get());
             r1->SetChecked(true);
             r2->OnClick = b.Note("click");
             r2->Click();
             if (r1->Checked()) b.log.push_back("sibling still checked");
         },
         {"click"}},
        {"RadioButtonCodeDifferent",
         [](Bench& b) {
             auto* r = new TRadioButton(b.form.get());
             r->OnClick = b.Note("click");
             r->SetChecked(true);
             r->SetChecked(true);
         },
         {"click"}},
        // radio group: OnClick
        {"RadioGroupClick",
         [](Bench& b) {
             auto* g = new TRadioGroup(b.form.get());
             g->Items().Add("a");
             g->Items().Add("b");
             g->OnClick = b.Note("click");
             g->ClickItem(1);
             g->ClickItem(1);
         },
         {"click"}},
        {"RadioGroupCodeItemIndex",
         [](Bench& b) {
             auto* g = new TRadioGroup(b.form.get());
             g->Items().Add("a");
             g->Items().Add("b");
             g->OnClick = b.Note("click");
             g->SetItemIndex(1);
             g->SetItemIndex(1);
         },
         {"click"}},
        // list view: OnSelectItem from the user and from Selected, not from Clear
        {"ListViewUserClick",
         [](Bench& b) {
             auto* lv = List(b);
             lv->ClickItem(lv->Items()[0]);
             lv->ClickItem(lv->Items()[1]);
         },
         {"select:a", "click", "deselect:a", "select:b", "click"}},
        {"ListViewUserKeys",
         [](Bench& b) {
             auto* lv = List(b);
             lv->SetSelected(lv->Items()[0]);
             b.log.clear();
             lv->SetFocus();
             SendKey(lv->Widget(), Qt::Key_Down, QString());
         },
         {"deselect:a", "select:b"}},
        {"ListViewCodeSelected",
         [](Bench& b) {
             auto* lv = List(b);
             lv->SetSelected(lv->Items()[0]);
             lv->Items()[1]->SetSelected(true);
         },
         {"select:a", "deselect:a", "select:b"}},
        {"ListViewCodeClear",
         [](Bench& b) {
             auto* lv = List(b);
             lv->SetSelected(lv->Items()[0]);
             b.log.clear();
             lv->Items().Clear();
         },
         {}},
        {"ListViewMouseOnlyEvents",
         [](Bench& b) {
             auto* lv = List(b);
             lv->SetSelected(lv->Items()[0]); // code: no click
             b.log.clear();
             lv->MouseMoveTo(5, 5);
             lv->DblClickAt(150, 100); // empty space: no item
         },
         {"move", "deselect:a", "click", "dblclick"}},
        // page control: OnChange from a tab click only
        {"PageControlTabClick",
         [](Bench& b) {
             auto* pc = new TPageControl(b.form.get());
             new TTabSheet(pc);
             auto* p2 = new TTabSheet(pc);
             pc->OnChange = b.Note("change");
             pc->ClickTab(p2);
         },
         {"change"}},
        {"PageControlCodeActivePage",
         [](Bench& b) {
             auto* pc = new TPageControl(b.form.get());
             new TTabSheet(pc);
             auto* p2 = new TTabSheet(pc);
             pc->OnChange = b.Note("change");
             pc->SetActivePage(p2);
             p2->SetTabVisible(false);
         },
         {}},
        // menu: a top item fires OnClick as its menu opens
        {"TopMenuOpens",
         [](Bench& b) {
             auto* menu = new TMainMenu(b.form.get());
             TMenuItem* top = menu->Items().AddItem("Tools");
             top->OnClick = b.Note("open");
             top->AddItem("Admin", b.Note("admin"));
             b.form->Show();
             QMenu* qmenu = menu->Bar()->actions().front()->menu();
             qmenu->popup(QPoint(0, 0));
             qmenu->actions().front()->trigger();
             qmenu->hide();
         },
         {"open", "admin"}},
        // form: close box and Close()
        {"FormCloseBox",
         [](Bench& b) {
             b.form->OnCloseQuery = [&b](TObject*, bool&) { b.log.push_back("query"); };
             b.form->OnClose = [&b](TObject*, TCloseAction&) { b.log.push_back("close"); };
             b.form->Show();
             b.form->Widget()->close();
             if (b.form->IsShown()) b.log.push_back("still shown");
         },
         {"query", "close"}},
        {"FormCloseFromCode",
         [](Bench& b) {
             b.form->OnCloseQuery = [&b](TObject*, bool&) { b.log.push_back("query"); };
             b.form->OnClose = [&b](TObject*, TCloseAction&) { b.log.push_back("close"); };
             b.form->Show();
             b.form->Close();
         },
         {"query", "close"}},
        // OnExit/OnEnter of focusable controls
        {"FocusMovedByUser",
         [](Bench& b) {
             auto* e1 = new TEdit(b.form.get());
             auto* e2 = new TEdit(b.form.get());
             b.form->Show();
             e1->OnExit = b.Note("exit1");
             e2->OnEnter = b.Note("enter2");
             Application->ProcessMessages();               // the window becomes active
             e2->Widget()->setFocus(Qt::MouseFocusReason); // as a click would
         },
         {"exit1", "enter2"}},
        {"FocusMovedByTab",
         [](Bench& b) {
             auto* e1 = new TEdit(b.form.get());
             auto* e2 = new TEdit(b.form.get());
             b.form->Show();
             e1->OnExit = b.Note("exit1");
             e2->OnEnter = b.Note("enter2");
             SendKey(e1->Widget(), Qt::Key_Tab, "\t");
         },
         {"exit1", "enter2"}},
        {"FocusSetFromCode",
         [](Bench& b) {
             auto* e1 = new TEdit(b.form.get());
             auto* e2 = new TEdit(b.form.get());
             b.form->Show();
             e1->OnExit = b.Note("exit1");
             e2->OnEnter = b.Note("enter2");
             e2->SetFocus();
         },
         {"exit1", "enter2"}},
        {"FocusMessageBoxIsNoExit",
         [](Bench& b) {
             auto* e1 = new TEdit(b.form.get());
             new TEdit(b.form.get());
             b.form->Show();
             e1->OnExit = b.Note("exit1");
             e1->OnChange = [](TObject*) { MessageBox(nullptr, "bad", "Warning", MB_OK); };
             e1->TypeText("x");
         },
         {}},
        {"FocusOtherWindowIsNoExit",
         [](Bench& b) {
             auto* e1 = new TEdit(b.form.get());
             b.form->Show();
             e1->OnExit = b.Note("exit1");
             auto other = std::make_unique<TForm>(nullptr);
             auto* e3 = new TEdit(other.get());
             other->Show();
             e3->SetFocus();
             other->Close();
         },
         {}},
    };
    return rows;
}

class UiEventRules : public ::testing::TestWithParam<size_t> {};

TEST_P(UiEventRules, FireExactlyTheExpectedEvents) {
    const Row& row = Rows()[GetParam()];
    Bench bench;
    row.run(bench);
    EXPECT_EQ(bench.log, row.expected) << row.name;
    EXPECT_EQ(bench.session.ModalTimeouts(), 0);
}

INSTANTIATE_TEST_SUITE_P(Table, UiEventRules, ::testing::Range<size_t>(0, Rows().size()),
                         [](const ::testing::TestParamInfo<size_t>& info) {
                             return std::string(Rows()[info.param].name);
                         });

} // namespace
