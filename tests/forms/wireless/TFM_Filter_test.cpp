// Advanced \ Filter against the simulated device: the band 1 rows only, the
// list button greyed while nothing is filtered, the between-bands choice kept
// alike, success (and the waiting dialog) only after the write went through.
#include "forms/wireless/TFM_Filter.h"

#include "binding/QvSNMPRequest2Edits.h"
#include "forms/wireless/TFM_FilterMAC.h"
#include "tests/forms/wireless/filter_fixture.h"
#include "ui/ListView.h"
#include "ui/PageControl.h"

#include <memory>

namespace {

using namespace filtertest;

class FilterForm : public FilterTest {
protected:
    TFM_Filter* Open() {
        form.reset(NewForm<TFM_Filter>(Application));
        return form.get();
    }
    // With both band tabs shown, as a layout with band 2 would have it.
    TFM_Filter* OpenBothBands() {
        form.reset(new TFM_Filter(Application));
        form->TS_80211g->SetTabVisible(true);
        form->DoCreate();
        return form.get();
    }
    void TearDown() override {
        form.reset();
        FilterTest::TearDown();
    }
    static void Choose(TComboBox* c, const std::string& text) {
        const int i = c->Items().IndexOf(text);
        ASSERT_GE(i, 0) << text;
        c->ChooseItem(i);
    }
    std::unique_ptr<TFM_Filter> form;
};

TEST_F(FilterForm, RoundTripKeepsWhatTheDeviceHeld) {
    const auto before = Snapshot(kFilterObjects);
    TFM_Filter* f = Open();
    EXPECT_EQ(f->TS_80211a->Caption(), "IEEE 802.11g");
    EXPECT_EQ(f->CB_ACa->Text(), "Accept");
    EXPECT_EQ(f->CB_ACa->Items().Count(), 3);
    EXPECT_EQ(f->CB_InSCa->Text(), "Enable");
    EXPECT_EQ(f->CB_E2WAa->Text(), "Enable");
    EXPECT_TRUE(f->Bt_MacTaba->Enabled());
    // Band 2's tab is hidden: the row between the bands is too.
    EXPECT_FALSE(f->CB_InSCBa->Visible());
    EXPECT_FALSE(f->La_InSCAGa->Visible());
    EXPECT_FALSE(f->La_InSCBa->Visible());
    for (int row = 3; row < 8; ++row)
        EXPECT_TRUE(f->Request->request.vars.Item(row)->Access & QvAccess::Invalid) << row;
    Grab(f, "filter.png");
    f->Bt_Apply->Click();
    EXPECT_EQ(SetLog(), (std::vector<std::string>{"2.4.1.1.1.1", "2.4.3.1.1.1", "2.4.3.1.2.1"}));
    EXPECT_EQ(Snapshot(kFilterObjects), before);
    ASSERT_EQ(waits.size(), 1u);
    EXPECT_EQ(waits[0].rebootFlag, 1) << "the waiting dialog's defaults restart the device";
    EXPECT_EQ(ui.Boxes().Count(), 0);
}

TEST_F(FilterForm, ChangesAreWritten) {
    TFM_Filter* f = Open();
    Choose(f->CB_ACa, "Reject");
    Choose(f->CB_InSCa, "Disable");
    Choose(f->CB_E2WAa, "Disable");
    f->Bt_Apply->Click();
    EXPECT_EQ(Peek("2.4.1.1.1.1"), "2");
    EXPECT_EQ(Peek("2.4.3.1.1.1"), "0");
    EXPECT_EQ(Peek("2.4.3.1.2.1"), "0");
    EXPECT_EQ(Peek("2.4.1.1.1.2"), "1") << "band 2 is left alone";
    EXPECT_EQ(waits.size(), 1u);
}

TEST_F(FilterForm, DisableGreysTheListButton) {
    TFM_Filter* f = Open();
    Choose(f->CB_ACa, "Disable");
    EXPECT_FALSE(f->Bt_MacTaba->Enabled());
    Choose(f->CB_ACa, "Reject");
    EXPECT_TRUE(f->Bt_MacTaba->Enabled());
    ASSERT_TRUE(dev->poke(kArc + "2.4.1.1.1.1", "3"));
    f->Bt_Refresh->Click();
    EXPECT_EQ(f->CB_ACa->Text(), "Disable");
    EXPECT_FALSE(f->Bt_MacTaba->Enabled());
    form.reset();
    f = Open();
    EXPECT_FALSE(f->Bt_MacTaba->Enabled()) << "a read of 3 greys it too";
}

TEST_F(FilterForm, FailedWriteKeepsTheFormWithSettingError) {
    const auto before = Snapshot(kFilterObjects);
    TFM_Filter* f = Open();
    Choose(f->CB_ACa, "Reject");
    ASSERT_TRUE(dev->fault(kArc + "2.4.3.1.2.1", "genErr", "set"));
    f->Bt_Apply->Click();
    EXPECT_EQ(f->StatusBar->SimpleText(), "Setting Error!");
    EXPECT_TRUE(waits.empty()) << "no waiting dialog after a refused write";
    EXPECT_EQ(ui.Boxes().Count(), 1) << "the failure is shown with its text";
    EXPECT_EQ(Snapshot(kFilterObjects), before);
    EXPECT_FALSE(f->Modal());
}

TEST_F(FilterForm, ReadFailureAtCreationGoesToTheStatusBar) {
    ASSERT_TRUE(dev->fault(kArc + "2.4.1.1.1.1", "noSuchName", "get"));
    TFM_Filter* f = Open();
    EXPECT_FALSE(f->StatusBar->SimpleText().empty());
    EXPECT_EQ(ui.Boxes().Count(), 0);
}

TEST_F(FilterForm, BothBandsShowTheConnectionBetweenThemAlike) {
    TFM_Filter* f = OpenBothBands();
    EXPECT_EQ(f->TS_80211g->Caption(), "IEEE 802.11g");
    EXPECT_TRUE(f->CB_InSCBa->Visible());
    EXPECT_TRUE(f->La_InSCAGa->Visible());
    EXPECT_EQ(f->CB_InSCBa->Text(), "Disable");
    EXPECT_EQ(f->CB_ACg->Text(), "Accept");
    Choose(f->CB_InSCBa, "Enable");
    EXPECT_EQ(f->CB_InSCBg->Text(), "Enable");
    Choose(f->CB_InSCBg, "Disable");
    EXPECT_EQ(f->CB_InSCBa->Text(), "Disable");
    Choose(f->CB_InSCBg, "Enable");
    Choose(f->CB_ACg, "Disable");
    EXPECT_FALSE(f->Bt_MacTabg->Enabled());
    EXPECT_TRUE(f->Bt_MacTaba->Enabled());
    f->Bt_Apply->Click();
    EXPECT_EQ(SetLog().size(), 8u);
    EXPECT_EQ(Peek("2.4.3.1.3.1"), "1");
    EXPECT_EQ(Peek("2.4.3.1.3.2"), "1");
    EXPECT_EQ(Peek("2.4.1.1.1.2"), "3");
}

// Each list button opens the table of its band, flagged while it is open.
TEST_F(FilterForm, ListButtonsOpenTheirBandsTable) {
    struct Case {
        TButton* TFM_Filter::*button;
        int band;
        const char* firstMac;
    } cases[] = {{&TFM_Filter::Bt_MacTaba, 1, "000D0A1B2C3D"},
                 {&TFM_Filter::Bt_MacTabg, 2, "0050C2F10002"}};
    TFM_Filter* f = OpenBothBands();
    for (const auto& c : cases) {
        bool seen = false;
        ui.NextModal([&](TForm* shown) {
            auto* table = dynamic_cast<TFM_FilterMAC*>(shown);
            ASSERT_NE(table, nullptr);
            seen = true;
            EXPECT_EQ(table->Caption(), "IEEE 802.11g MAC Address Table");
            EXPECT_EQ(table->Band, c.band);
            EXPECT_EQ(c.band == 1 ? f->ListFlagA : f->ListFlagG, 1);
            ASSERT_TRUE(Until([&] { return !table->Busy && !table->AnyOutstanding(); }));
            ASSERT_GE(table->User_ListView->Items().Count(), 1);
            EXPECT_EQ(table->User_ListView->Items()[0]->SubItems()[0], c.firstMac);
            table->Close();
        });
        (f->*(c.button))->Click();
        EXPECT_TRUE(seen);
        EXPECT_EQ(f->ListFlagA, 0);
        EXPECT_EQ(f->ListFlagG, 0);
    }
    EXPECT_EQ(FM_FilterMAC, nullptr);
}

} // namespace
