// Advanced \ Rogue AP against the simulated device: the masks and their check
// boxes, a scan with its pause on a timer, moving entries between the result
// and the AP list, the limit of 30, and writes that count only once answered.
#include "forms/wireless/TFM_RogueForm.h"

#include "binding/QvSNMPRequest2Edits.h"
#include "snmp/QvSession.h"
#include "support/LayoutCheck.h"
#include "tests/forms/admin/admin_fixture.h"
#include "ui/ListView.h"
#include "ui/Timer.h"

#include <QElapsedTimer>
#include <functional>
#include <memory>

namespace {

using admintest::AdminFormTest;

const std::string kAp = "qvEnterprise.11.37.4.";
const std::vector<std::string> kObjects = {
    "2.3.1.12.1",  "2.10.1.0",          "2.10.2.0",          "2.10.3.0",
    "2.10.5.0",    "2.10.4.1.1.0",      "2.10.4.1.2.0",      "2.10.4.1.3.0",
    "2.10.4.2.1.0", "2.10.4.2.2.1.8.1", "2.10.4.1.4.1.8.1"};

class RogueForm : public AdminFormTest {
protected:
    TFM_RogueForm* Open() {
        form.reset(NewForm<TFM_RogueForm>(Application));
        EXPECT_TRUE(Settle());
        return form.get();
    }
    void TearDown() override {
        form.reset();
        AdminFormTest::TearDown();
    }

    // Runs replies and posted calls until nothing of the form is outstanding
    // (bounded); the wait timer is left to the test.
    bool Settle(int ms = 8000) {
        return PumpUntil([this] { return !Busy(); }, ms);
    }
    bool Busy() const {
        if (!form) return false;
        if (!form->idle && !form->DetectWaitTimer->Enabled()) return true;
        if (form->ApplyRunning()) return true;
        for (auto* g : {form->DetectGroup.get(), form->AddGroup.get(), form->DelDetectGroup.get(),
                        form->ResultGroup.get(), form->DelListedGroup.get(),
                        form->ListGroup.get(), form->ProtectionGroup.get()})
            if (g && (g->busy || g->request.Outstanding > 0)) return true;
        return false;
    }
    static bool PumpUntil(const std::function<bool()>& done, int ms) {
        QElapsedTimer t;
        t.start();
        while (!done()) {
            Application->ProcessMessages();
            g_SnmpEventProcessor.OnTimer();
            if (t.elapsed() > ms) return false;
        }
        return true;
    }

    std::string Panel() const { return form->StatusBar1->Panels()[0]->Text(); }
    static std::vector<std::string> Captions(TListView* lv) {
        std::vector<std::string> out;
        for (int i = 0; i < lv->Items().Count(); ++i) out.push_back(lv->Items()[i]->Caption());
        return out;
    }
    static TListItem* Row(TListView* lv, const std::string& caption) {
        for (int i = 0; i < lv->Items().Count(); ++i)
            if (lv->Items()[i]->Caption() == caption) return lv->Items()[i];
        return nullptr;
    }
    // A whole scan: the detect write, the pause, the result read.
    void Scan() {
        form->DetectBtnClick(nullptr);
        ASSERT_TRUE(Settle());
        ASSERT_TRUE(form->DetectWaitTimer->Enabled()) << Panel();
        form->DetectWaitTimer->Fire();
        ASSERT_TRUE(Settle());
        ASSERT_TRUE(form->idle);
    }
    bool Enabled(std::initializer_list<TButton*> buttons) {
        for (TButton* b : buttons)
            if (!b->Enabled()) return false;
        return true;
    }

    std::unique_ptr<TFM_RogueForm> form;
};

TEST_F(RogueForm, RoundTripKeepsWhatTheDeviceHeld) {
    const auto before = Snapshot(kObjects);
    TFM_RogueForm* f = Open();
    EXPECT_EQ(f->Caption(), "Advanced\\Rogue AP");
    EXPECT_EQ(f->BSSTypRadGrp->ItemIndex(), 0);
    EXPECT_FALSE(f->CheckBox_11a->Checked());
    EXPECT_TRUE(f->CheckBox_11b->Checked());
    EXPECT_TRUE(f->CheckBox_11g->Checked());
    for (TCheckBox* c : {f->ChcBxo_off, f->ChcBxo_wep, f->ChcBxo_eap, f->ChcBxo_psk,
                         f->WPA2EAPCkBox, f->WPA2PSKCkBox, f->WPA2AUTECkBox, f->WPA2AUTPCkBox})
        EXPECT_TRUE(c->Checked()) << c->Name();
    EXPECT_EQ(f->BandEdit->Text(), "12");
    EXPECT_EQ(f->SecEdit->Text(), "255");
    EXPECT_TRUE(f->CB_RogueAP->Visible());
    EXPECT_EQ(f->CB_RogueAP->Text(), "Disable");
    EXPECT_EQ(Captions(f->AP_ListView), std::vector<std::string>{"1"});
    EXPECT_EQ(f->AP_ListView->Items()[0]->SubItems()[5], "Office");
    EXPECT_EQ(f->AP_ListView->Items()[0]->SubItems()[3], "WPA2-Enterprise");
    EXPECT_EQ(f->AP_ListView->Columns()[0]->Width(), 0);
    EXPECT_EQ(f->RogueListView->Items().Count(), 0);
    EXPECT_TRUE(Enabled({f->DetectBtn, f->AddBtn, f->DelBtn, f->ListDelBtn, f->Apply_Btn,
                         f->Cancel_Btn}));
    EXPECT_EQ(Panel(), "Get OK!");
    EXPECT_EQ(ui.Boxes().Count(), 0);
    SetLog();

    f->Apply_BtnClick(nullptr);
    ASSERT_TRUE(Settle());
    // The masks and the protection switch are scalars carrying ".0".
    EXPECT_EQ(SetLog(),
              (std::vector<std::string>{"2.10.1.0", "2.10.2.0", "2.10.3.0", "2.10.5.0"}));
    EXPECT_EQ(Snapshot(kObjects), before);
    ASSERT_EQ(waits.size(), 1u);
    EXPECT_EQ(f->StatusBar1->SimpleText(), "Set Success!");
    EXPECT_EQ(ui.Boxes().Count(), 0);
}

// The pause before the result is read is a timer: the GUI thread does not
// sleep, and the form stays shut until the result is in.
TEST_F(RogueForm, ScanWaitsOnATimerAndFillsTheResult) {
    TFM_RogueForm* f = Open();
    ui.UseFakeClock(1000);
    SetLog();
    f->DetectBtnClick(nullptr);
    EXPECT_FALSE(f->idle);
    EXPECT_EQ(Panel(), "Detecting...");
    EXPECT_FALSE(f->DetectBtn->Enabled());
    EXPECT_FALSE(f->Cancel_Btn->Enabled());
    ASSERT_TRUE(PumpUntil([f] { return !f->DetectGroup->busy; }, 8000));
    EXPECT_EQ(SetLog(), (std::vector<std::string>{"2.10.1.0", "2.10.2.0", "2.10.3.0",
                                                  "2.10.4.1.1.0"}));
    EXPECT_EQ(dev->peek(kAp + "2.10.4.1.1.0"), "1");
    ASSERT_TRUE(f->DetectWaitTimer->Enabled());
    EXPECT_EQ(f->DetectWaitTimer->Interval(), 1000u);
    EXPECT_EQ(ui.SleptMs(), 0u);
    EXPECT_FALSE(f->ResultGroup->busy);
    EXPECT_EQ(f->RogueListView->Items().Count(), 0);
    EXPECT_FALSE(f->CloseQuery());

    f->DetectWaitTimer->Fire();
    EXPECT_FALSE(f->DetectWaitTimer->Enabled());
    EXPECT_EQ(Panel(), "Detecting success. Getting data...");
    ASSERT_TRUE(Settle());
    EXPECT_EQ(ui.SleptMs(), 0u);
    EXPECT_EQ(Captions(f->RogueListView), (std::vector<std::string>{"1", "2", "3"}));
    const TListItem* first = f->RogueListView->Items()[0];
    EXPECT_EQ(first->SubItems()[0], "AP");
    EXPECT_EQ(first->SubItems()[1], "6");
    EXPECT_EQ(first->SubItems()[2], "0050C2001001");
    EXPECT_EQ(first->SubItems()[3], "WEP");
    EXPECT_EQ(first->SubItems()[4], "g");
    EXPECT_EQ(first->SubItems()[5], "Rogue-One");
    EXPECT_EQ(Panel(), "Get OK!");
    EXPECT_TRUE(f->idle);
    EXPECT_TRUE(Enabled({f->DetectBtn, f->AddBtn, f->DelBtn, f->ListDelBtn, f->Apply_Btn,
                         f->Cancel_Btn}));
    Grab(f, "rogue.png");
    EXPECT_TRUE(f->CloseQuery());
}

// On screen, at its first size and larger: every caption fits its control
// and every control lies inside its parent, the list buttons included.
TEST_F(RogueForm, EverythingFitsOnScreen) {
    TFM_RogueForm* f = Open();
    f->Show();
    Application->ProcessMessages();
    EXPECT_EQ(lmrtest::LayoutFaults(*f), std::vector<std::string>{});
    f->SetClientWidth(f->ClientWidth() + 120);
    f->SetClientHeight(f->ClientHeight() + 100);
    Application->ProcessMessages();
    // Grown where it stands, the window reaches past the screen's edge.
    lmrtest::LayoutOptions grown;
    grown.windowOnScreen = false;
    EXPECT_EQ(lmrtest::LayoutFaults(*f, grown), std::vector<std::string>{}) << "larger";
    f->Hide();
}

TEST_F(RogueForm, AddAndDeleteMoveEntriesByTheirIndex) {
    TFM_RogueForm* f = Open();
    Scan();
    SetLog();
    struct Step {
        TListView* TFM_RogueForm::*list;
        const char* caption;
        void (TFM_RogueForm::*click)(TObject*);
        const char* busyText;
        std::unique_ptr<QvSNMPRequest2Edits> TFM_RogueForm::*group;
        const char* doneText;
        const char* oid;
        std::vector<std::string> result;
        std::vector<std::string> listed;
    } steps[] = {
        {&TFM_RogueForm::RogueListView, "2", &TFM_RogueForm::AddBtnClick, "Adding...",
         &TFM_RogueForm::AddGroup, "Add to AP list successfully! Getting data...",
         "2.10.4.1.2.0", {"1", "3"}, {"1", "2"}},
        {&TFM_RogueForm::RogueListView, "3", &TFM_RogueForm::DelBtnClick, "Deleting...",
         &TFM_RogueForm::DelDetectGroup, "Delete rogue AP successfully! Getting data...",
         "2.10.4.1.3.0", {"1"}, {"1", "2"}},
        {&TFM_RogueForm::AP_ListView, "1", &TFM_RogueForm::ListDelBtnClick, "Deleting...",
         &TFM_RogueForm::DelListedGroup, "Delete successfully! Getting data...",
         "2.10.4.2.1.0", {"1"}, {"2"}},
        {&TFM_RogueForm::RogueListView, "1", &TFM_RogueForm::AddBtnClick, "Adding...",
         &TFM_RogueForm::AddGroup, "Add to AP list successfully! Getting data...",
         "2.10.4.1.2.0", {}, {"1", "2"}},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(std::string(s.busyText) + " " + s.caption);
        TListView* lv = f->*s.list;
        TListItem* item = Row(lv, s.caption);
        ASSERT_TRUE(item);
        lv->SetSelected(item);
        (f->*s.click)(nullptr);
        EXPECT_EQ(Panel(), s.busyText);
        EXPECT_FALSE(f->idle);
        EXPECT_FALSE(f->CloseQuery());
        // Once the command is answered its reads are on their way.
        QvSNMPRequest2Edits* command = (f->*s.group).get();
        ASSERT_TRUE(PumpUntil([command] { return !command->busy; }, 8000));
        EXPECT_EQ(Panel(), s.doneText);
        ASSERT_TRUE(Settle());
        EXPECT_EQ(SetLog(), std::vector<std::string>{s.oid});
        EXPECT_EQ(Captions(f->RogueListView), s.result);
        EXPECT_EQ(Captions(f->AP_ListView), s.listed);
        EXPECT_EQ(Panel(), "Get OK!");
        EXPECT_TRUE(f->idle);
        EXPECT_TRUE(Enabled({f->DetectBtn, f->ListDelBtn, f->Apply_Btn, f->Cancel_Btn}));
    }
    // The added entries are the device's now, under their new index.
    EXPECT_EQ(dev->peek(kAp + "2.10.4.2.2.1.8.2"), "Cafe");
    EXPECT_EQ(dev->peek(kAp + "2.10.4.2.2.1.8.1"), "Rogue-One");
    EXPECT_EQ(dev->peek(kAp + "2.10.4.2.2.1.1.1"), "1");
    EXPECT_EQ(Row(f->AP_ListView, "1")->SubItems()[5], "Rogue-One");
}

TEST_F(RogueForm, NothingSelectedDoesNothing) {
    TFM_RogueForm* f = Open();
    SetLog();
    for (auto click : {&TFM_RogueForm::AddBtnClick, &TFM_RogueForm::DelBtnClick,
                       &TFM_RogueForm::ListDelBtnClick}) {
        f->AP_ListView->SetSelected(nullptr);
        (f->*click)(nullptr);
        EXPECT_TRUE(f->idle);
    }
    EXPECT_TRUE(SetLog().empty());
}

TEST_F(RogueForm, AddingToAFullListIsRefusedWithoutAWrite) {
    TFM_RogueForm* f = Open();
    Scan();
    while (f->AP_ListView->Items().Count() < 30) f->AP_ListView->Items().Add()->SetCaption("x");
    SetLog();
    f->RogueListView->SetSelected(f->RogueListView->Items()[0]);
    f->AddBtnClick(nullptr);
    ASSERT_EQ(ui.Boxes().Count(), 1);
    EXPECT_EQ(ui.Boxes().Last().text, "Miximum number of AP list is 30!");
    EXPECT_EQ(ui.Boxes().Last().caption, "Warning");
    EXPECT_TRUE(f->idle);
    EXPECT_TRUE(Enabled({f->DetectBtn, f->AddBtn, f->DelBtn, f->ListDelBtn, f->Apply_Btn,
                         f->Cancel_Btn}));
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(SetLog().empty());
}

// A mask the device refuses is reported, and no scan starts.
TEST_F(RogueForm, RefusedMaskStartsNoScan) {
    TFM_RogueForm* f = Open();
    ASSERT_TRUE(dev->fault(kAp + "2.10.2.0", "badValue", "set"));
    SetLog();
    f->DetectBtnClick(nullptr);
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(SetLog().empty());
    EXPECT_EQ(dev->peek(kAp + "2.10.4.1.1.0"), "0");
    EXPECT_FALSE(f->DetectWaitTimer->Enabled());
    EXPECT_FALSE(Panel().empty());
    EXPECT_NE(Panel(), "Detecting...");
    EXPECT_TRUE(f->idle);
    EXPECT_TRUE(Enabled({f->DetectBtn, f->Cancel_Btn}));
}

TEST_F(RogueForm, RefusedCommandsReportTheirFailure) {
    struct Case {
        const char* oid;
        void (TFM_RogueForm::*click)(TObject*);
        bool needsScan;
    } cases[] = {{"2.10.4.1.1.0", &TFM_RogueForm::DetectBtnClick, false},
                 {"2.10.4.1.2.0", &TFM_RogueForm::AddBtnClick, true},
                 {"2.10.4.1.3.0", &TFM_RogueForm::DelBtnClick, true},
                 {"2.10.4.2.1.0", &TFM_RogueForm::ListDelBtnClick, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.oid);
        TFM_RogueForm* f = Open();
        if (c.needsScan) Scan();
        if (f->RogueListView->Items().Count() > 0)
            f->RogueListView->SetSelected(f->RogueListView->Items()[0]);
        f->AP_ListView->SetSelected(f->AP_ListView->Items()[0]);
        ASSERT_TRUE(dev->fault(kAp + c.oid, "badValue", "set"));
        (f->*c.click)(nullptr);
        ASSERT_TRUE(Settle());
        EXPECT_FALSE(f->DetectWaitTimer->Enabled());
        EXPECT_FALSE(Panel().empty());
        EXPECT_EQ(Panel().find("...") , std::string::npos) << Panel();
        EXPECT_TRUE(f->idle);
        EXPECT_TRUE(Enabled({f->DetectBtn, f->AddBtn, f->DelBtn, f->ListDelBtn, f->Apply_Btn,
                             f->Cancel_Btn}));
        EXPECT_TRUE(f->CloseQuery());
        dev->clearFaults();
        form.reset();
    }
}

// The protection write counts only once the device has answered it.
TEST_F(RogueForm, RefusedProtectionWriteShowsNoSuccess) {
    TFM_RogueForm* f = Open();
    ASSERT_TRUE(dev->fault(kAp + "2.10.5.0", "badValue", "set"));
    SetLog();
    f->Apply_BtnClick(nullptr);
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(waits.empty());
    EXPECT_EQ(f->StatusBar1->SimpleText(), "Set Error!");
    ASSERT_EQ(ui.Boxes().Count(), 1);
    EXPECT_FALSE(ui.Boxes().Last().text.empty());
    EXPECT_EQ(SetLog(), (std::vector<std::string>{"2.10.1.0", "2.10.2.0", "2.10.3.0"}));
}

TEST_F(RogueForm, RefusedMaskWriteOnApplyShowsNoSuccess) {
    TFM_RogueForm* f = Open();
    ASSERT_TRUE(dev->fault(kAp + "2.10.3.0", "badValue", "set"));
    SetLog();
    f->Apply_BtnClick(nullptr);
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(waits.empty());
    EXPECT_EQ(f->StatusBar1->SimpleText(), "Set Error!");
    EXPECT_TRUE(SetLog().empty());
}

TEST_F(RogueForm, WithoutProtectionSupportApplyWritesOnlyTheMasks) {
    ASSERT_TRUE(dev->poke(kAp + "99.1.1.48.0", "0"));
    TFM_RogueForm* f = Open();
    EXPECT_FALSE(f->CB_RogueAP->Visible());
    EXPECT_FALSE(f->Lab_RogueAP->Visible());
    EXPECT_FALSE(f->ProtectionGroup);
    SetLog();
    f->Apply_BtnClick(nullptr);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(SetLog(), (std::vector<std::string>{"2.10.1.0", "2.10.2.0", "2.10.3.0"}));
    EXPECT_EQ(waits.size(), 1u);
}

// The bar shows its panels, so a start-up failure goes to panel 0 and a box.
TEST_F(RogueForm, StartUpFailureIsShown) {
    for (const char* oid : {"2.3.1.12.1", "2.10.2.0"}) {
        SCOPED_TRACE(oid);
        ui.Boxes().Clear();
        ASSERT_TRUE(dev->fault(kAp + oid, "noSuchName", "get"));
        TFM_RogueForm* f = Open();
        ASSERT_EQ(ui.Boxes().Count(), 1);
        EXPECT_EQ(ui.Boxes().Last().caption, "Error");
        EXPECT_FALSE(ui.Boxes().Last().text.empty());
        EXPECT_EQ(Panel(), ui.Boxes().Last().text);
        EXPECT_FALSE(f->StatusBar1->SimplePanel());
        EXPECT_TRUE(f->Cancel_Btn->Enabled());
        // The masks are not the device's: none can be chosen.
        EXPECT_FALSE(f->BSSTypRadGrp->Enabled());
        for (TCheckBox* c : {f->CheckBox_11b, f->CheckBox_11g, f->ChcBxo_off, f->ChcBxo_wep,
                             f->ChcBxo_eap, f->WPA2AUTPCkBox})
            EXPECT_FALSE(c->Enabled()) << c->Name();
        f->BSSTypRadGrpClick(nullptr);
        EXPECT_FALSE(f->ChcBxo_eap->Enabled());
        EXPECT_TRUE(f->CloseQuery());
        dev->clearFaults();
        form.reset();
    }
}

TEST_F(RogueForm, RadioOffWarnsAndDisablesDetect) {
    ASSERT_TRUE(dev->poke(kAp + "2.3.1.12.1", "0"));
    TFM_RogueForm* f = Open();
    ASSERT_EQ(ui.Boxes().Count(), 1);
    EXPECT_EQ(ui.Boxes().Last().text,
              "Radio has been turned off,the rogue ap detection will be invalid! ");
    EXPECT_EQ(ui.Boxes().Last().caption, "Warning");
    EXPECT_FALSE(f->DetectBtn->Enabled());
    EXPECT_TRUE(f->ListDelBtn->Enabled());
}

TEST_F(RogueForm, MasksShowInTheirCheckBoxes) {
    struct Case {
        const char* band;
        const char* security;
        bool a, b, g;
        std::vector<bool> kinds;
    } cases[] = {
        {"12", "0", false, true, true, {false, false, false, false, false, false, false, false}},
        {"2", "1", false, false, false, {true, false, false, false, false, false, false, false}},
        {"1", "34", true, false, false, {false, true, false, false, false, true, false, false}},
        {"13", "384", true, true, true, {false, false, false, false, false, false, false, true}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.band) + "/" + c.security);
        ASSERT_TRUE(dev->poke(kAp + "2.10.2.0", c.band));
        ASSERT_TRUE(dev->poke(kAp + "2.10.3.0", c.security));
        TFM_RogueForm* f = Open();
        EXPECT_EQ(f->CheckBox_11a->Checked(), c.a);
        EXPECT_EQ(f->CheckBox_11b->Checked(), c.b);
        EXPECT_EQ(f->CheckBox_11g->Checked(), c.g);
        const TCheckBox* boxes[] = {f->ChcBxo_off,   f->ChcBxo_wep,   f->ChcBxo_eap,
                                    f->ChcBxo_psk,   f->WPA2EAPCkBox, f->WPA2PSKCkBox,
                                    f->WPA2AUTECkBox, f->WPA2AUTPCkBox};
        for (int k = 0; k < 8; ++k) EXPECT_EQ(boxes[k]->Checked(), c.kinds[k]) << k;
        // An unused band bit checks nothing and stays as the device gave it.
        EXPECT_EQ(f->BandEdit->Text(), c.band);
        form.reset();
    }
}

TEST_F(RogueForm, AdHocCountsOnlyOffAndWep) {
    ASSERT_TRUE(dev->poke(kAp + "2.10.1.0", "2"));
    TFM_RogueForm* f = Open();
    EXPECT_EQ(f->BSSTypRadGrp->ItemIndex(), 1);
    EXPECT_FALSE(f->ChcBxo_eap->Enabled());
    EXPECT_FALSE(f->WPA2AUTPCkBox->Enabled());
    EXPECT_TRUE(f->ChcBxo_wep->Enabled());
    EXPECT_EQ(f->SecEdit->Text(), "3");
    f->ChcBxo_off->Click();
    EXPECT_EQ(f->SecEdit->Text(), "2");
    f->BSSTypRadGrp->ClickItem(2);
    EXPECT_TRUE(f->ChcBxo_eap->Enabled());
    EXPECT_EQ(f->SecEdit->Text(), "254");
    f->CheckBox_11g->Click();
    EXPECT_EQ(f->BandEdit->Text(), "4");
    SetLog();
    f->Apply_BtnClick(nullptr);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(dev->peek(kAp + "2.10.1.0"), "3");
    EXPECT_EQ(dev->peek(kAp + "2.10.2.0"), "4");
    EXPECT_EQ(dev->peek(kAp + "2.10.3.0"), "254");
}

TEST_F(RogueForm, ResizeKeepsTheLayoutProportional) {
    TFM_RogueForm* f = Open();
    f->SetClientWidth(640);
    f->SetClientHeight(800);
    f->FormResize(nullptr);
    const int gw = f->GB_RogueList->Width();
    EXPECT_EQ(f->Panel_Inner->Width(), f->Panel_Top->Width() - 23);
    EXPECT_EQ(f->DetectBtn->Left(), gw * 201 / 465);
    EXPECT_EQ(f->AddBtn->Left(), gw * 289 / 465);
    EXPECT_EQ(f->ListDelBtn->Left(), f->GB_APList->Width() * 377 / 465);
    EXPECT_EQ(f->Apply_Btn->Left(), f->ClientWidth() * 256 / 495);
    // The list leaves room for its buttons, which end inside the group.
    EXPECT_EQ(f->RogueListView->Height(), f->GB_RogueList->Height() - 52);
    for (TButton* b : {f->DetectBtn, f->AddBtn, f->DelBtn, f->ListDelBtn}) {
        EXPECT_LT(b->Top() + b->Height(), f->GB_RogueList->Height()) << b->Name();
        EXPECT_GT(b->Top(), f->RogueListView->Top() + f->RogueListView->Height()) << b->Name();
    }
    EXPECT_LE(f->GB_APList->Top() + f->GB_APList->Height(), f->Panel_Detect->Height());
    EXPECT_EQ(f->ChcBxo_eap->Left(), (2 * f->GB_Band->Width() - 16) / 4 + 8);
}

} // namespace
