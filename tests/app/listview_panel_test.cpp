// The list-view panel on the device's demonstration table: the button
// column, the counter, the hint, and add, edit and delete of real rows with
// the simulator's set log checked.
#include "panel_fixture.h"

#include "app/TCtrlBtnPanel.h"
#include "app/TEditsPanel.h"
#include "app/TListViewPanel.h"
#include "app/TMsgPanel.h"
#include "app/TSNMPListViewPanel.h"
#include "base/Exception.h"
#include "mib/DemoRowTable.h"
#include "ui/Application.h"

#include <memory>

using namespace paneltest;

namespace {

#define DEMO "1.3.6.1.4.1.32473.11.37.4.98.1.1"

QvPairDef kOnlyAddDeletePairs[] = {{4, "createAndGo"}, {6, "destroy"}, {0, nullptr}};
QvOptionList kOnlyAddDeleteList(kOnlyAddDeletePairs);

const QvSNMPVar kStatusOnlyAddDelete[] = {
    Var("", "Index", QvSyntax::Integer, QvAccess::NotAccess),
    Var(DEMO ".2", "Name", QvSyntax::DisplayStr, QvAccess::ReadWrite),
    Var(DEMO ".3", "Address", QvSyntax::IpAddress, QvAccess::ReadWrite),
    Var(DEMO ".4", "Status", QvSyntax::Integer, QvAccess::ReadWrite, &kOnlyAddDeleteList), End()};

const QvSNMPVar kHiddenAddress[] = {
    Var("", "Index", QvSyntax::Integer, QvAccess::NotAccess),
    Var(DEMO ".2", "Name", QvSyntax::DisplayStr, QvAccess::ReadWrite),
    Var(DEMO ".3", "Address", QvSyntax::IpAddress, QvAccess::ReadWrite | QvAccess::Hidden), End()};

const QvSNMPVar kReadOnlyTable[] = {
    Var("", "Index", QvSyntax::Integer, QvAccess::NotAccess),
    Var(DEMO ".2", "Name", QvSyntax::DisplayStr, QvAccess::ReadOnly), End()};

std::vector<std::string> ItemsOf(TComboBox* combo) {
    return combo->Items().ToVector();
}

class ListViewPanel : public PanelTest {
protected:
    void Make(const QvSNMPVar* table = mib::demoRowTable, bool statuses = true) {
        form = std::make_unique<TForm>(nullptr);
        form->SetCaption("Demo Table");
        group.reset(NewGroup(form.get(), table, MVT_UMV, 1));
        panel = new TSNMPListViewPanel(form.get(), group.get());
        panel->AttachToForm(form.get());
        if (statuses) {
            panel->SetAddStatus(mib::demoRowStatusColumn, mib::demoRowAddName);
            panel->SetDeleteStatus(mib::demoRowStatusColumn, mib::demoRowDeleteName);
        }
        edits = panel->EditsPanel;
        buttons = panel->Buttons;
        lv = panel->ListPanel->ListView;
    }
    void TearDown() override {
        group.reset();
        form.reset();
    }
    TEdit* EditOf(int r) { return dynamic_cast<TEdit*>(edits->Rows[static_cast<size_t>(r)].value); }
    TComboBox* Status() { return dynamic_cast<TComboBox*>(edits->Rows[3].value); }
    void Select(int k) {
        ASSERT_LT(k, lv->Items().Count());
        lv->ClickItem(lv->Items()[k]);
    }

    std::unique_ptr<TForm> form;
    std::unique_ptr<QvSNMPRequest2Edits> group;
    TSNMPListViewPanel* panel = nullptr;
    TEditsPanel* edits = nullptr;
    TCtrlBtnPanel* buttons = nullptr;
    TListView* lv = nullptr;
};

} // namespace

TEST_F(ListViewPanel, ButtonColumnOfATable) {
    Make(mib::demoRowTable, false);
    for (TControl* c :
         {static_cast<TControl*>(buttons->Counter), static_cast<TControl*>(buttons->SamplesLabel),
          static_cast<TControl*>(buttons->RefreshBtn), static_cast<TControl*>(buttons->EditBtn),
          static_cast<TControl*>(buttons->CloseBtn)})
        EXPECT_TRUE(c->Visible());
    EXPECT_FALSE(buttons->AddBtn->Visible());
    EXPECT_FALSE(buttons->DeleteBtn->Visible());
    EXPECT_FALSE(buttons->SetCheckedBtn->Visible());
    EXPECT_FALSE(buttons->CheckAllBtn->Visible());
    EXPECT_FALSE(buttons->EditBtn->Enabled());
    EXPECT_EQ(panel->Content, panel->ListPanel);
    EXPECT_FALSE(edits->Visible());
    EXPECT_EQ(panel->ListPanel->Height(), 350);
    panel->SetAddStatus(mib::demoRowStatusColumn, mib::demoRowAddName);
    EXPECT_TRUE(buttons->AddBtn->Visible());
    EXPECT_EQ(buttons->AddBtn->Top(), buttons->SetCheckedBtn->Top());
}

TEST_F(ListViewPanel, ReadOnlyTableHasNoEditButton) {
    Make(kReadOnlyTable, false);
    EXPECT_FALSE(buttons->EditBtn->Visible());
}

TEST_F(ListViewPanel, WrongStatusNamesRaise) {
    Make(mib::demoRowTable, false);
    struct Case {
        bool add;
        int column;
        const char* name;
        const char* text;
    } cases[] = {
        {true, 3, "create", "TSNMPListViewPanel::SetAddStatus - Wrong AddStatusValue:create"},
        {true, 1, "createAndGo",
         "TSNMPListViewPanel::SetAddStatus - Wrong AddStatusValue:createAndGo"},
        {false, 3, "gone", "TSNMPListViewPanel::SetDeleteStatus - Wrong DeleteStatusValue:gone"},
        {false, 9, "destroy",
         "TSNMPListViewPanel::SetDeleteStatus - Wrong DeleteStatusValue:destroy"},
    };
    for (const Case& c : cases) {
        try {
            if (c.add)
                panel->SetAddStatus(c.column, c.name);
            else
                panel->SetDeleteStatus(c.column, c.name);
            ADD_FAILURE() << c.text;
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), c.text);
        }
    }
    EXPECT_FALSE(buttons->AddBtn->Visible());
    EXPECT_FALSE(buttons->DeleteBtn->Visible());
}

TEST_F(ListViewPanel, CounterFollowsTheRows) {
    Make();
    buttons->RefreshBtn->Click();
    ASSERT_EQ(lv->Items().Count(), 2);
    EXPECT_EQ(buttons->Counter->Caption(), "2");
    EXPECT_EQ(lv->Items()[0]->ColumnText(1), "first");
    ASSERT_TRUE(dev->poke(DEMO ".2.2", "changed"));
    lv->Items().Delete(1);
    EXPECT_EQ(buttons->Counter->Caption(), "1");
    buttons->RefreshBtn->Click();
    EXPECT_EQ(buttons->Counter->Caption(), "2");
}

TEST_F(ListViewPanel, SelectingShowsTheRowAndEmptySpaceClearsIt) {
    Make();
    buttons->RefreshBtn->Click();
    Select(1);
    EXPECT_TRUE(buttons->EditBtn->Enabled());
    EXPECT_TRUE(buttons->DeleteBtn->Enabled());
    EXPECT_EQ(EditOf(1)->Text(), "second");
    EXPECT_EQ(Status()->Text(), "active");
    lv->SetSelected(nullptr);
    panel->ListClick(lv);
    EXPECT_FALSE(buttons->EditBtn->Enabled());
    EXPECT_FALSE(buttons->DeleteBtn->Enabled());
    EXPECT_EQ(EditOf(1)->Text(), "");
    EXPECT_EQ(Status()->ItemIndex(), -1);
    EXPECT_EQ(*group->request.vars.Item(1)->Value, "");
}

TEST_F(ListViewPanel, HintShowsEveryColumnAsATable) {
    Make();
    buttons->RefreshBtn->Click();
    const std::string hint = panel->ItemHint(lv->Items()[0]);
    const char* expected[][2] = {
        {"Index", "1"}, {"Name", "first"}, {"Address", "192.0.2.10"}, {"Status", "active"}};
    size_t at = 0;
    for (const auto& row : expected) {
        const std::string cell = std::string("<tr><td><nobr>") + row[0] +
                                 "</nobr></td><td><nobr>&nbsp;&nbsp;" + row[1] +
                                 "</nobr></td></tr>";
        const size_t found = hint.find(cell, at);
        ASSERT_NE(found, std::string::npos) << cell << " in " << hint;
        at = found + cell.size();
    }
    EXPECT_EQ(hint.rfind("<table", 0), 0u);
    form->Show();
    Application->ProcessMessages();
    int x = 0, y = 0;
    lv->ItemPoint(lv->Items()[1], x, y);
    panel->ListMouseMove(lv, 0, x, y);
    EXPECT_TRUE(lv->ShowHint());
    EXPECT_EQ(lv->Hint(), panel->ItemHint(lv->Items()[1]));
    panel->ListMouseMove(lv, 0, x, lv->Height() + 500);
    EXPECT_FALSE(lv->ShowHint());
    form->Hide();
}

TEST_F(ListViewPanel, AddCreatesARowWithItsIndexAndStatus) {
    Make();
    buttons->RefreshBtn->Click();
    Select(0);
    std::string caption;
    TWinControl* ownerDuring = nullptr;
    TWinControl* ownerAtDialogEnd = nullptr;
    session.NextModal([&](TForm* d) {
        caption = d->Caption();
        ownerDuring = group->Constraint().Owner();
        d->OnDestroy = [&](TObject*) { ownerAtDialogEnd = group->Constraint().Owner(); };
        EXPECT_EQ(panel->Dialog(), d);
        TSNMPPanel* dp = panel->DialogPanel();
        ASSERT_NE(dp, nullptr);
        EXPECT_FALSE(dp->Buttons->RefreshBtn->Visible());
        const PanelRow& index = edits->Rows[0];
        EXPECT_TRUE(index.check->Checked());
        EXPECT_TRUE(index.check->Visible());
        EXPECT_FALSE(index.check->Enabled());
        EXPECT_TRUE(index.value->Enabled());
        EXPECT_FALSE(EditOf(0)->ReadOnly());
        EXPECT_EQ(EditOf(1)->Text(), ""); // cleared before the dialog
        EXPECT_FALSE(Status()->Enabled());
        EXPECT_TRUE(edits->Rows[3].check->Checked());
        EXPECT_EQ(Status()->Text(), "createAndGo");
        EXPECT_EQ(lv->Selected(), nullptr);
        EditOf(0)->SetText("7");
        EditOf(1)->SetText("seventh");
        EditOf(2)->SetText("192.0.2.77");
        edits->Rows[1].check->Click();
        edits->Rows[2].check->Click();
        ASSERT_TRUE(dp->Buttons->SetCheckedBtn->Enabled());
        dp->Buttons->SetCheckedBtn->Click();
    });
    buttons->AddBtn->Click();
    EXPECT_EQ(session.ModalShows(), 1);
    EXPECT_EQ(caption, "Demo Table (Add)");
    EXPECT_NE(ownerDuring, form.get());
    // Given back before the dialog went, so it never names a deleted form.
    EXPECT_EQ(ownerAtDialogEnd, form.get());
    EXPECT_EQ(group->Constraint().Owner(), form.get());
    EXPECT_EQ(panel->Dialog(), nullptr);
    EXPECT_EQ(SetLog(DEMO), (std::vector<std::string>{".2.7", ".3.7", ".4.7"}));
    EXPECT_EQ(dev->peek(DEMO ".2.7"), "seventh");
    EXPECT_EQ(dev->peek(DEMO ".4.7"), "1");
    EXPECT_EQ(lv->Items().Count(), 3);
    EXPECT_EQ(buttons->Counter->Caption(), "3");
    EXPECT_EQ(edits->Parent(), panel->Inner);
    EXPECT_FALSE(edits->Visible());
    EXPECT_EQ(session.Boxes().Count(), 0);
}

TEST_F(ListViewPanel, AddWithEmptyIndexWarnsAndStaysOpen) {
    Make();
    buttons->RefreshBtn->Click();
    session.NextModal([&](TForm* d) {
        panel->DialogPanel()->Buttons->SetCheckedBtn->Click();
        EXPECT_EQ(d->ModalResult(), mrNone);
        ASSERT_EQ(session.Boxes().Count(), 1);
        EXPECT_EQ(session.Boxes().Last().text, "Some items are empty!");
        panel->DialogPanel()->Buttons->CloseBtn->Click();
    });
    buttons->AddBtn->Click();
    EXPECT_TRUE(SetLog("").empty());
    EXPECT_EQ(lv->Items().Count(), 2);
}

TEST_F(ListViewPanel, EditOffersNeitherStatusNameAndPutsThemBack) {
    Make();
    buttons->RefreshBtn->Click();
    const std::vector<std::string> before = ItemsOf(Status());
    Select(0);
    std::vector<std::string> during;
    session.NextModal([&](TForm* d) {
        EXPECT_EQ(d->Caption(), "Demo Table");
        during = ItemsOf(Status());
        EXPECT_EQ(Status()->Text(), "active");
        EXPECT_TRUE(EditOf(0)->ReadOnly()); // the index cannot change
        EXPECT_EQ(EditOf(1)->Width(), 200);
        EXPECT_FALSE(edits->Rows[1].check->Checked());
        EditOf(1)->SetText("renamed");
        edits->Rows[1].check->Click();
        panel->DialogPanel()->Buttons->SetCheckedBtn->Click();
    });
    buttons->EditBtn->Click();
    EXPECT_EQ(during, (std::vector<std::string>{"active", "notInService", "createAndWait"}));
    EXPECT_EQ(ItemsOf(Status()), before);
    EXPECT_EQ(SetLog(DEMO), std::vector<std::string>{".2.1"});
    EXPECT_EQ(dev->peek(DEMO ".2.1"), "renamed");
    EXPECT_EQ(lv->Items()[0]->ColumnText(1), "renamed");
    EXPECT_EQ(group->Constraint().Owner(), form.get());
}

TEST_F(ListViewPanel, StatusWithOnlyAddAndDeleteIsHiddenDuringEdit) {
    Make(kStatusOnlyAddDelete);
    panel->SetLabelWidth(180);
    buttons->RefreshBtn->Click();
    Select(1);
    bool hidden = false;
    session.NextModal([&](TForm*) {
        hidden = !edits->Rows[3].value->Visible() && !edits->Rows[3].label->Visible();
        panel->DialogPanel()->Buttons->CloseBtn->Click();
    });
    buttons->EditBtn->Click();
    EXPECT_TRUE(hidden);
    EXPECT_EQ(edits->ValueWidth, 180); // the dialog's width is its own
    EXPECT_TRUE(edits->Rows[3].value->Visible());
    EXPECT_FALSE(group->request.vars.Item(3)->Access & QvAccess::Hidden);
    EXPECT_EQ(ItemsOf(Status()), (std::vector<std::string>{"createAndGo", "destroy"}));
    EXPECT_TRUE(SetLog("").empty());
}

TEST_F(ListViewPanel, DeclinedDeleteSendsNothing) {
    Make();
    buttons->RefreshBtn->Click();
    Select(1);
    session.Boxes().Answer(mrNo);
    buttons->DeleteBtn->Click();
    ASSERT_EQ(session.Boxes().Count(), 1);
    EXPECT_EQ(session.Boxes().Last().text, "Are you sure to delete ?");
    EXPECT_EQ(session.Boxes().Last().caption, "Delete");
    EXPECT_EQ(session.Boxes().Last().buttons, mbYesNo);
    EXPECT_TRUE(SetLog("").empty());
    EXPECT_EQ(lv->Items().Count(), 2);
}

TEST_F(ListViewPanel, DeleteSendsOnlyTheStatusOfTheSelectedRow) {
    Make();
    group->mode = 1; // delete writes synchronously all the same
    group->request.Alive = 1;
    buttons->RefreshBtn->Click();
    ASSERT_TRUE(snmptestWait(group.get()));
    Select(1);
    session.Boxes().Answer(mrYes);
    buttons->DeleteBtn->Click();
    EXPECT_EQ(SetLog(DEMO), std::vector<std::string>{".4.2"});
    EXPECT_EQ(dev->peek(DEMO ".2.2"), std::nullopt);
    EXPECT_EQ(dev->peek(DEMO ".2.1"), "first");
    EXPECT_EQ(group->mode, 1);
    ASSERT_TRUE(snmptestWait(group.get()));
    EXPECT_EQ(lv->Items().Count(), 1);
    for (int r = 0; r < group->request.vars.Count(); ++r)
        EXPECT_EQ(group->request.vars.Item(r)->Access, mib::demoRowTable[r].Access) << r;
}

TEST_F(ListViewPanel, EditWaitsAtMostASecondForARunningRead) {
    Make();
    buttons->RefreshBtn->Click();
    Select(0);
    session.UseFakeClock(100);
    group->mode = 1;
    group->busy = 1; // a read whose reply does not come
    std::uint64_t sleptAtOpen = 0;
    int aliveDuring = -1;
    session.NextModal([&](TForm*) {
        sleptAtOpen = session.SleptMs();
        aliveDuring = group->request.Alive;
        EditOf(1)->SetText("waited");
        edits->Rows[1].check->Click();
        panel->DialogPanel()->Buttons->SetCheckedBtn->Click();
        // The re-read after the dialog then ends before the click returns:
        // the fake clock does not wait for real replies.
        group->mode = 0;
    });
    buttons->EditBtn->Click();
    EXPECT_EQ(session.ModalShows(), 1);
    EXPECT_GE(sleptAtOpen, static_cast<std::uint64_t>(TSNMPListViewPanel::kEditWaitMs));
    EXPECT_LE(sleptAtOpen, static_cast<std::uint64_t>(TSNMPListViewPanel::kEditWaitMs) + 10);
    EXPECT_EQ(aliveDuring, 0); // a late reply of that read is not taken in
    EXPECT_EQ(SetLog(DEMO), std::vector<std::string>{".2.1"});
    EXPECT_EQ(dev->peek(DEMO ".2.1"), "waited");
    EXPECT_EQ(group->request.Alive, 1);
    EXPECT_EQ(lv->Items().Count(), 2);
    EXPECT_EQ(lv->Items()[0]->ColumnText(1), "waited");
}

TEST_F(ListViewPanel, HintLeavesOutHiddenColumns) {
    Make(kHiddenAddress, false);
    buttons->RefreshBtn->Click();
    ASSERT_EQ(lv->Items().Count(), 2);
    const std::string hint = panel->ItemHint(lv->Items()[0]);
    EXPECT_NE(hint.find("first"), std::string::npos);
    EXPECT_EQ(hint.find("Address"), std::string::npos);
    EXPECT_EQ(hint.find("192.0.2.10"), std::string::npos);
}

TEST_F(ListViewPanel, FailedAddKeepsTheDialogOpenAndReportsIt) {
    Make();
    buttons->RefreshBtn->Click();
    ASSERT_TRUE(dev->fault(DEMO ".4.8", "badValue", "set"));
    TModalResult afterSet = -1;
    std::string report;
    session.NextModal([&](TForm* d) {
        EditOf(0)->SetText("8");
        panel->DialogPanel()->Buttons->SetCheckedBtn->Click();
        afterSet = d->ModalResult();
        if (panel->Msg->Memo->Lines().Count() > 0) report = panel->Msg->Memo->Lines()[0];
        panel->DialogPanel()->Buttons->CloseBtn->Click();
    });
    buttons->AddBtn->Click();
    dev->clearFaults();
    EXPECT_EQ(afterSet, mrNone);
    EXPECT_EQ(report.rfind("Set: ", 0), 0u) << report;
    EXPECT_EQ(dev->peek(DEMO ".4.8"), std::nullopt);
    EXPECT_EQ(session.Boxes().Count(), 0);
}
