// The editor panel against the simulated device: row kinds and layout, the
// button column, the check-box rules and what the set buttons send.
#include "panel_fixture.h"

#include "app/TCtrlBtnPanel.h"
#include "app/TEditsPanel.h"
#include "app/TMsgPanel.h"
#include "app/TSNMPEditorPanel.h"
#include "base/Exception.h"
#include "ui/Form.h"

#include <QImage>
#include <memory>
#include "support/CaseName.h"

using namespace paneltest;

namespace {

QvPairDef kLanModePairs[] = {{1, "Static"}, {2, "DHCP"}, {0, nullptr}};
QvOptionList kLanModeList(kLanModePairs);

const QvSNMPVar kSystem[] = {
    Var(PANELTEST_SYS ".1", "System Description", QvSyntax::DisplayStr, QvAccess::ReadOnly),
    Var(PANELTEST_SYS ".4", "Contact", QvSyntax::DisplayStr, QvAccess::ReadWrite),
    Var(PANELTEST_SYS ".5", "Name", QvSyntax::DisplayStr, QvAccess::ReadWrite),
    Var(PANELTEST_SYS ".6", "Location", QvSyntax::DisplayStr, QvAccess::ReadWrite), End()};
const QvSNMPVar kOneWritable[] = {
    Var(PANELTEST_SYS ".1", "System Description", QvSyntax::DisplayStr, QvAccess::ReadOnly),
    Var(PANELTEST_SYS ".5", "Name", QvSyntax::DisplayStr, QvAccess::ReadWrite), End()};
const QvSNMPVar kReadOnly[] = {
    Var(PANELTEST_SYS ".1", "System Description", QvSyntax::DisplayStr, QvAccess::ReadOnly),
    Var(PANELTEST_SYS ".5", "Name", QvSyntax::DisplayStr, QvAccess::ReadOnly),
    Var(QV_TEST_LAN ".1", "Mode", QvSyntax::Integer, QvAccess::ReadOnly, &kLanModeList), End()};
const QvSNMPVar kWithHidden[] = {
    Var(PANELTEST_SYS ".4", "Contact", QvSyntax::DisplayStr, QvAccess::ReadWrite),
    Var(PANELTEST_SYS ".5", "Name", QvSyntax::DisplayStr, QvAccess::ReadWrite | QvAccess::Hidden),
    Var(PANELTEST_SYS ".6", "Location", QvSyntax::DisplayStr, QvAccess::ReadWrite), End()};
const QvSNMPVar kKinds[] = {
    Var(PANELTEST_SYS ".1", "System Description", QvSyntax::DisplayStr, QvAccess::ReadOnly),
    Var(PANELTEST_SYS ".5", "Name", QvSyntax::DisplayStr, QvAccess::ReadWrite),
    Var(QV_TEST_LAN ".1", "Mode", QvSyntax::Integer, QvAccess::ReadWrite, &kLanModeList),
    Var(QV_TEST_LAN ".1", "Mode shown", QvSyntax::Integer, QvAccess::ReadOnly, &kLanModeList),
    End()};

class EditorPanel : public PanelTest {
protected:
    void Make(const QvSNMPVar* table) {
        form = std::make_unique<TForm>(nullptr);
        form->SetCaption("Editor");
        group.reset(NewGroup(form.get(), table, SVT_SV));
        panel = new TSNMPEditorPanel(form.get(), group.get());
        panel->AttachToForm(form.get());
        edits = panel->EditsPanel;
        buttons = panel->Buttons;
    }
    void TearDown() override {
        group.reset();
        form.reset();
    }
    TEdit* EditOf(int r) { return dynamic_cast<TEdit*>(edits->Rows[static_cast<size_t>(r)].value); }
    TCheckBox* CheckOf(int r) { return edits->Rows[static_cast<size_t>(r)].check; }
    int VisibleChecks() {
        int n = 0;
        for (const PanelRow& row : edits->Rows)
            n += row.check->Visible();
        return n;
    }

    std::unique_ptr<TForm> form;
    std::unique_ptr<QvSNMPRequest2Edits> group; // goes before the form
    TSNMPEditorPanel* panel = nullptr;
    TEditsPanel* edits = nullptr;
    TCtrlBtnPanel* buttons = nullptr;
};

} // namespace

TEST_F(EditorPanel, RowKindsFollowWritabilityAndOptionList) {
    Make(kKinds);
    ASSERT_EQ(edits->RowCount(), 4);
    const int kinds[] = {1, 2, 3, 4};
    for (int r = 0; r < 4; ++r) {
        EXPECT_EQ(edits->Rows[static_cast<size_t>(r)].kind, kinds[r]) << r;
        EXPECT_STREQ(edits->Rows[static_cast<size_t>(r)].format, "%s");
        EXPECT_EQ(edits->Rows[static_cast<size_t>(r)].value->Tag(), r);
        EXPECT_EQ(edits->Rows[static_cast<size_t>(r)].label->Caption(), kKinds[r].Label);
    }
    EXPECT_NE(dynamic_cast<TComboBox*>(edits->Rows[2].value), nullptr);
    EXPECT_TRUE(EditOf(0)->ReadOnly());
    EXPECT_EQ(EditOf(0)->Color(), clBtnFace);
    EXPECT_FALSE(EditOf(1)->ReadOnly());
    EXPECT_EQ(EditOf(1)->Color(), clWhite);
    EXPECT_TRUE(EditOf(3)->ReadOnly());
}

TEST_F(EditorPanel, RowsAreLaidOutBelowEachOther) {
    Make(kSystem);
    int widest = 0;
    for (const PanelRow& row : edits->Rows)
        widest = std::max(widest, row.label->Width());
    int y = 20;
    for (const PanelRow& row : edits->Rows) {
        const int h = row.value->Height();
        EXPECT_GE(h, 20);
        EXPECT_EQ(row.value->Top(), y);
        EXPECT_EQ(row.value->Width(), 121);
        EXPECT_EQ(row.check->Left(), 20);
        EXPECT_EQ(row.check->Width(), 20);
        EXPECT_EQ(row.label->Left(), 45);
        EXPECT_EQ(row.value->Left(), widest + 50);
        EXPECT_EQ(row.check->Top(), y + (h - row.check->Height()) / 2);
        EXPECT_EQ(row.label->Top(), y + (h - row.label->Height()) / 2);
        y += h + 5;
    }
    panel->SetLabelWidth(180);
    for (const PanelRow& row : edits->Rows)
        EXPECT_EQ(row.value->Width(), 180);
}

TEST_F(EditorPanel, HiddenRowTakesNoPlace) {
    Make(kWithHidden);
    EXPECT_FALSE(edits->Rows[1].value->Visible());
    EXPECT_FALSE(edits->Rows[1].label->Visible());
    EXPECT_FALSE(edits->Rows[1].check->Visible());
    EXPECT_EQ(edits->Rows[2].value->Top(), 20 + edits->Rows[0].value->Height() + 5);
    edits->ShowRow(1);
    EXPECT_FALSE(group->request.vars.Item(1)->Access & QvAccess::Hidden);
    EXPECT_TRUE(edits->Rows[1].value->Visible());
    edits->HideRow(1);
    EXPECT_TRUE(group->request.vars.Item(1)->Access & QvAccess::Hidden);
}

TEST_F(EditorPanel, ButtonColumnCaptionsAndStacking) {
    Make(kSystem);
    TBitBtn* all[] = {buttons->RefreshBtn,     buttons->EditBtn,   buttons->SetCheckedBtn,
                      buttons->AddBtn,         buttons->DeleteBtn, buttons->CheckAllBtn,
                      buttons->ClearChecksBtn, buttons->CloseBtn};
    const char* captions[] = {"Refresh", "Edit",      "Set Checked",  "Add",
                              "Delete",  "Check All", "Clear Checks", "Close"};
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(all[k]->Caption(), captions[k]);
    EXPECT_EQ(buttons->SamplesLabel->Caption(), "Samples");
    EXPECT_EQ(buttons->Counter->Caption(), "0");
    EXPECT_EQ(buttons->Width(), 2 * 10 + 96);
    EXPECT_EQ(buttons->Align(), alRight);
    std::vector<TControl*> shown;
    for (TControl* c : buttons->Stack)
        if (c->Visible()) shown.push_back(c);
    ASSERT_EQ(shown.size(), 5u);
    EXPECT_EQ(shown[0], buttons->RefreshBtn);
    EXPECT_EQ(shown[1], buttons->SetCheckedBtn);
    EXPECT_EQ(shown[4], buttons->CloseBtn);
    int y = 10;
    for (TControl* c : shown) {
        EXPECT_EQ(c->Left(), 10);
        EXPECT_EQ(c->Width(), 96);
        EXPECT_EQ(c->Top(), y);
        y = c->Top() + c->Height() + 5;
    }
}

struct CheckCase {
    const char* name;
    const QvSNMPVar* table;
    bool setShown;
    const char* setCaption;
    bool setEnabled;
    bool checkAllShown;
    int visibleChecks;
};

std::string LabelOf(const CheckCase& c) {
    return std::string(c.name);
}

void PrintTo(const CheckCase& c, std::ostream* os) {
    *os << LabelOf(c);
}

class EditorChecks : public EditorPanel, public ::testing::WithParamInterface<CheckCase> {};

TEST_P(EditorChecks, ButtonsAndCheckBoxes) {
    const CheckCase& c = GetParam();
    Make(c.table);
    EXPECT_EQ(buttons->SetCheckedBtn->Visible(), c.setShown);
    if (c.setShown) {
        EXPECT_EQ(buttons->SetCheckedBtn->Caption(), c.setCaption);
        EXPECT_EQ(buttons->SetCheckedBtn->Enabled(), c.setEnabled);
    }
    EXPECT_EQ(buttons->CheckAllBtn->Visible(), c.checkAllShown);
    EXPECT_EQ(buttons->ClearChecksBtn->Visible(), c.checkAllShown);
    EXPECT_EQ(VisibleChecks(), c.visibleChecks);
    EXPECT_TRUE(buttons->RefreshBtn->Visible());
    EXPECT_TRUE(buttons->CloseBtn->Visible());
    EXPECT_FALSE(buttons->EditBtn->Visible());
    EXPECT_FALSE(buttons->Counter->Visible());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EditorChecks,
    ::testing::Values(CheckCase{"AllReadOnly", kReadOnly, false, "", false, false, 0},
                      CheckCase{"OneWritable", kOneWritable, true, "Set", true, false, 0},
                      CheckCase{"SeveralWritable", kSystem, true, "Set Checked", false, true, 3}),
    [](const ::testing::TestParamInfo<CheckCase>& i) { return std::string(i.param.name); });

TEST_F(EditorPanel, OneWritableRowIsCheckedBehindItsHiddenBox) {
    Make(kOneWritable);
    EXPECT_TRUE(CheckOf(1)->Checked());
    EXPECT_FALSE(CheckOf(1)->Visible());
}

TEST_F(EditorPanel, CheckingEnablesSetCheckedAndClearingDisablesIt) {
    Make(kSystem);
    EXPECT_FALSE(buttons->SetCheckedBtn->Enabled());
    CheckOf(2)->Click();
    EXPECT_TRUE(buttons->SetCheckedBtn->Enabled());
    buttons->ClearChecksBtn->Click();
    EXPECT_FALSE(buttons->SetCheckedBtn->Enabled());
    EXPECT_FALSE(CheckOf(2)->Checked());
    buttons->CheckAllBtn->Click();
    EXPECT_TRUE(buttons->SetCheckedBtn->Enabled());
    EXPECT_TRUE(CheckOf(1)->Checked() && CheckOf(2)->Checked() && CheckOf(3)->Checked());
    EXPECT_FALSE(CheckOf(0)->Checked()); // read-only row: its box is disabled
}

TEST_F(EditorPanel, WritableEditTakesAtMost42Characters) {
    Make(kSystem);
    EditOf(2)->SetText("");
    EditOf(2)->TypeText(std::string(43, 'x'));
    EXPECT_EQ(EditOf(2)->Text(), std::string(42, 'x'));
    EXPECT_EQ(EditOf(2)->MaxLength(), TEditsPanel::kMaxWritableLength);
}

TEST_F(EditorPanel, SetOfTheOneWritableRowSendsIt) {
    Make(kOneWritable);
    buttons->RefreshBtn->Click();
    EXPECT_EQ(EditOf(0)->Text(), "LMR-7300AP Wireless Access Point");
    EXPECT_EQ(EditOf(1)->Text(), "LMR-7300AP");
    EditOf(1)->SetText("Roof");
    buttons->SetCheckedBtn->Click();
    EXPECT_EQ(SetLog(PANELTEST_SYS), std::vector<std::string>{".5.0"});
    EXPECT_EQ(dev->peek("system.5.0"), "Roof");
    EXPECT_EQ(session.Boxes().Count(), 0);
}

TEST_F(EditorPanel, UncheckedRowsAreNotWrittenAndKeepTheirFlags) {
    Make(kSystem);
    buttons->RefreshBtn->Click();
    EditOf(1)->SetText("someone");
    EditOf(3)->SetText("Cellar");
    CheckOf(3)->Click();
    buttons->SetCheckedBtn->Click();
    EXPECT_EQ(SetLog(PANELTEST_SYS), std::vector<std::string>{".6.0"});
    EXPECT_EQ(dev->peek("system.6.0"), "Cellar");
    EXPECT_EQ(dev->peek("system.4.0"), "admin@example.net");
    for (int r = 0; r < group->request.vars.Count(); ++r)
        EXPECT_EQ(group->request.vars.Item(r)->Access, kSystem[r].Access) << r;
}

TEST_F(EditorPanel, EmptyCheckedValueStopsTheWholeSet) {
    Make(kSystem);
    buttons->RefreshBtn->Click();
    EditOf(2)->SetText("");
    CheckOf(2)->Click();
    CheckOf(3)->Click();
    buttons->SetCheckedBtn->Click();
    ASSERT_EQ(session.Boxes().Count(), 1);
    EXPECT_EQ(session.Boxes().Last().text, "Some items are empty!");
    EXPECT_EQ(session.Boxes().Last().caption, "Warning");
    EXPECT_EQ(session.Boxes().Last().buttons, mbOK);
    EXPECT_TRUE(SetLog("").empty());
    for (int r = 0; r < group->request.vars.Count(); ++r)
        EXPECT_EQ(group->request.vars.Item(r)->Access, kSystem[r].Access) << r;
}

TEST_F(EditorPanel, SetFailureGoesToTheMessagePanel) {
    Make(kOneWritable);
    buttons->RefreshBtn->Click();
    ASSERT_TRUE(dev->fault("system.5.0", "badValue", "set"));
    buttons->SetCheckedBtn->Click();
    EXPECT_EQ(session.Boxes().Count(), 0);
    ASSERT_GE(panel->Msg->Memo->Lines().Count(), 1);
    EXPECT_EQ(panel->Msg->Memo->Lines()[0].rfind("Set: ", 0), 0u) << panel->Msg->Memo->Lines()[0];
    EXPECT_TRUE(group->mode == 0);
}

TEST_F(EditorPanel, RoundTripLeavesTheDeviceAsItWas) {
    Make(kSystem);
    const std::string oids[] = {"system.4.0", "system.5.0", "system.6.0"};
    std::vector<std::optional<std::string>> before;
    for (const std::string& o : oids)
        before.push_back(dev->peek(o));
    buttons->RefreshBtn->Click();
    buttons->CheckAllBtn->Click();
    buttons->SetCheckedBtn->Click();
    EXPECT_EQ(SetLog(PANELTEST_SYS), (std::vector<std::string>{".4.0", ".5.0", ".6.0"}));
    for (size_t k = 0; k < 3; ++k)
        EXPECT_EQ(dev->peek(oids[k]), before[k]) << oids[k];
    EXPECT_EQ(session.Boxes().Count(), 0);
}

TEST_F(EditorPanel, RowBeyondTheRowsIsReported) {
    Make(kSystem);
    edits->MakeRowReadOnly(4);
    ASSERT_EQ(session.Boxes().Count(), 1);
    EXPECT_EQ(session.Boxes().Last().text, "aIdx is overtop!\n you may define < 4");
}

TEST_F(EditorPanel, ArrangingButtonsWithoutGroupRaises) {
    Make(kSystem);
    TEditsPanel bare(form.get(), nullptr);
    try {
        bare.ArrangeCtrlBtn(buttons);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "TEditsPanel:ArrangeCtrlBtn - EditCtrl is NULL!");
    }
}

TEST_F(EditorPanel, ButtonsShowCaptionsWithoutPictures) {
    Make(kSystem);
    EXPECT_FALSE(buttons->RefreshBtn->HasGlyph());
    lmrtest::TempDir folder("panel-pictures");
    QImage picture(16, 16, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    ASSERT_TRUE(picture.save(QString::fromStdString(folder.file("Get.bmp")), "BMP"));
    folder.write("Close.bmp", "not a picture");
    buttons->LoadPictures(folder.path());
    EXPECT_TRUE(buttons->RefreshBtn->HasGlyph());
    EXPECT_EQ(buttons->RefreshBtn->Caption(), "");
    EXPECT_EQ(buttons->CloseBtn->Caption(), "Close"); // unreadable picture
    EXPECT_EQ(buttons->CheckAllBtn->Caption(), "Check All");
}

TEST_F(EditorPanel, FormIsCappedAndCentred) {
    Make(kSystem);
    EXPECT_LE(form->ClientWidth(), 800);
    EXPECT_LE(form->ClientHeight(), 550);
    EXPECT_GE(form->ClientWidth(), panel->Width());
    EXPECT_EQ(form->Position(), poMainFormCenter);
    EXPECT_EQ(panel->Msg->Height(), 50);
    EXPECT_TRUE(panel->Msg->Memo->ReadOnly());
}
