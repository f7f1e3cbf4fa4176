// Advanced \ Performance against the simulated device: what an unchanged
// Apply writes, the optional rows by firmware, every range message with its
// caption, the per-rate table shown, edited and reset, a failed table read
// that leaves the form usable, and success only once every write went through.
#include "forms/wireless/TFM_Performace.h"

#include "binding/QvSNMPRequest2Edits.h"
#include "binding/QvWaitIdle.h"
#include "ui/ListView.h"
#include "ui/PageControl.h"
#include "tests/forms/admin/admin_fixture.h"

#include <algorithm>
#include <memory>
#include <ostream>

namespace {

using admintest::AdminFormTest;
using admintest::OldAdminFormTest;

const std::string kE = "qvEnterprise.11.37.4.";

std::string Rate(int n) { return "2.13.1.2.1." + std::to_string(n); }

std::vector<std::string> Objects() {
    std::vector<std::string> out = {
        "2.1.1.1.1",  "2.3.1.24.0", "2.3.1.13.1", "2.3.1.99.1", "2.3.1.14.1", "2.3.1.17.0",
        "2.3.1.19.0", "2.3.1.12.1", "2.3.1.11.0", "2.3.1.1.1",  "2.3.1.4.1",  "2.3.1.5.1",
        "2.3.1.6.1",  "2.3.1.7.1",  "2.3.1.8.1",  "2.3.1.9.1",  "2.3.1.10.1", "2.14.1.2.1",
        "2.3.1.29.1"};
    for (int n = 1; n <= 12; ++n) out.push_back(Rate(n));
    return out;
}

const std::vector<std::string> kMainWrites = {"2.3.1.4.1", "2.3.1.6.1", "2.3.1.7.1",
                                              "2.3.1.8.1", "2.3.1.9.1", "2.3.1.10.1"};

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::vector<std::string> RateWrites(std::initializer_list<int> skip = {}) {
    std::vector<std::string> out;
    for (int n = 1; n <= 12; ++n)
        if (std::find(skip.begin(), skip.end(), n) == skip.end()) out.push_back(Rate(n));
    return out;
}

// What an unchanged Apply writes on the new firmware, in order.
std::vector<std::string> NewWrites(const std::vector<std::string>& rates) {
    return std::vector<std::string>{"2.14.1.2.1"} + rates +
           std::vector<std::string>{"2.3.1.11.0", "2.3.1.24.0"} + kMainWrites +
           std::vector<std::string>{"2.3.1.99.1", "2.3.1.17.0", "2.3.1.19.0", "2.3.1.29.1",
                                    "2.3.1.12.1"};
}

template <class Base> class PerformanceFormBase : public Base {
protected:
    TFM_Performace* Open() {
        form.reset(NewForm<TFM_Performace>(Application));
        Settle();
        return form.get();
    }
    // The radio and the rate table arrive asynchronously, and so do the
    // writes of an Apply.
    void Settle() {
        TFM_Performace* f = form.get();
        EXPECT_TRUE(QvWaitWhile(
            [f] { return f->Busy() || (f->RadioGroup && f->RadioGroup->busy); }, 15000));
    }
    void Apply() {
        form->Bt_Apply_aClick(nullptr);
        Settle();
    }
    void TearDown() override {
        form.reset();
        Base::TearDown();
    }
    void Choose(TComboBox* c, const std::string& text) {
        const int i = c->Items().IndexOf(text);
        ASSERT_GE(i, 0) << text;
        c->ChooseItem(i);
    }
    std::vector<std::string> RateTexts() {
        std::vector<std::string> out;
        for (TComboBox* c : form->CB_DRate) out.push_back(c->Text());
        return out;
    }
    std::unique_ptr<TFM_Performace> form;
};

using PerformanceForm = PerformanceFormBase<AdminFormTest>;
using OldPerformanceForm = PerformanceFormBase<OldAdminFormTest>;

TEST_F(PerformanceForm, RoundTripKeepsWhatTheDeviceHeld) {
    const auto before = Snapshot(Objects());
    TFM_Performace* f = Open();
    EXPECT_EQ(f->TabSheetA->Caption(), "IEEE 802.11g");
    EXPECT_FALSE(f->TabSheetG->TabVisible());
    EXPECT_EQ(f->CB_DtRta->Text(), "Auto");
    EXPECT_EQ(f->Ed_BeInta->Text(), "100");
    EXPECT_EQ(f->Ed_RTSa->Text(), "2346");
    EXPECT_EQ(f->CB_TranPa->Text(), "Full");
    EXPECT_EQ(f->CB_RadWava->Text(), "On");
    EXPECT_EQ(f->CB_Gonly->Text(), "Mixed");
    EXPECT_EQ(f->CB_Preamble->Text(), "Short and Long");
    EXPECT_EQ(f->CB_WMM->Text(), "Enable");
    for (TControl* c : std::initializer_list<TControl*>{f->CB_Gonly, f->CB_XRa, f->CB_WMM,
                                                         f->CB_Preamble, f->CB_Snooping,
                                                         f->GB_DataRate})
        EXPECT_TRUE(c->Visible()) << c->Name();
    EXPECT_EQ(f->RateRowsRead(), 12);
    EXPECT_EQ(Status(f->StatusBar), "Get OK!");
    EXPECT_TRUE(f->Bt_Apply_a->Enabled());
    Grab(f, "performance.png");
    SetLog();
    Apply();
    // The rate control is off: every rate is greyed and none is written.
    EXPECT_EQ(SetLog(), NewWrites({}));
    EXPECT_EQ(Snapshot(Objects()), before);
    ASSERT_EQ(waits.size(), 1u);
    EXPECT_EQ(waits[0].rebootFlag, 1);
    EXPECT_EQ(Status(f->StatusBar), "Setting Success!");
    EXPECT_EQ(ui.Boxes().Count(), 0);
}

// The old firmware: the B/G row from the old object, no XR, WMM, IGMP or
// rate control; only what it has is written, and no Super G.
TEST_F(OldPerformanceForm, OldFirmwareWritesOnlyWhatItHas) {
    const auto before = Snapshot(Objects());
    TFM_Performace* f = Open();
    EXPECT_TRUE(f->GonlyRead);
    EXPECT_FALSE(f->WifiModeRead);
    EXPECT_TRUE(f->CB_Gonly->Visible());
    EXPECT_EQ(f->CB_Gonly->Text(), "Disable");
    for (TControl* c : std::initializer_list<TControl*>{f->CB_XRa, f->CB_WMM, f->CB_Snooping,
                                                         f->GB_DataRate})
        EXPECT_FALSE(c->Visible()) << c->Name();
    const int height = f->ClientHeight();
    Grab(f, "performance-old.png");
    SetLog();
    Apply();
    const std::vector<std::string> tail = {"2.3.1.19.0", "2.3.1.12.1"};
    EXPECT_EQ(SetLog(), std::vector<std::string>{"2.3.1.13.1"} + kMainWrites + tail);
    EXPECT_EQ(Snapshot(Objects()), before);
    EXPECT_EQ(waits.size(), 1u);

    // Without either B/G object the row closes up and nothing of it is sent.
    form.reset();
    ASSERT_TRUE(dev->fault(kE + "2.3.1.13.1", "noSuchName", "any"));
    f = Open();
    EXPECT_FALSE(f->GonlyRead);
    EXPECT_FALSE(f->CB_Gonly->Visible());
    EXPECT_EQ(f->ClientHeight(), height - TFM_Performace::kRowPitch);
    SetLog();
    Apply();
    EXPECT_EQ(SetLog(), kMainWrites + tail);
    EXPECT_EQ(waits.size(), 2u);
}

// The old object's "Enable" is g only: the preamble stays free and no rate
// is hidden.
TEST_F(OldPerformanceForm, OldGOnlyIsNotTakenForBOnly) {
    ASSERT_TRUE(dev->poke(kE + "2.3.1.13.1", "1"));
    TFM_Performace* f = Open();
    EXPECT_EQ(f->CB_Gonly->Text(), "Enable");
    EXPECT_EQ(f->BgMode(), 0);
    EXPECT_TRUE(f->CB_Preamble->Enabled());
    EXPECT_EQ(f->CB_Preamble->Text(), "Short and Long");
    Choose(f->CB_Gonly, "Disable");
    EXPECT_EQ(f->BgMode(), 2);
    EXPECT_TRUE(f->CB_Preamble->Enabled());
}

TEST_F(PerformanceForm, ApplyRangeMessages) {
    struct Case {
        TEdit* TFM_Performace::*edit;
        const char* text;
        const char* message;
    } cases[] = {
        {&TFM_Performace::Ed_BeInta, "19", "Please input a number between 20 and 1000."},
        {&TFM_Performace::Ed_BeInta, "1001", "Please input a number between 20 and 1000."},
        {&TFM_Performace::Ed_BeInta, "", "Please input a number between 20 and 1000."},
        {&TFM_Performace::Ed_DTIMa, "0", "Please input a number between 1 and 255."},
        {&TFM_Performace::Ed_DTIMa, "256", "Please input a number between 1 and 255."},
        {&TFM_Performace::Ed_FragLena, "255", "Please input a number between 256 and 2346."},
        {&TFM_Performace::Ed_FragLena, "2347", "Please input a number between 256 and 2346."},
        {&TFM_Performace::Ed_RTSa, "255", "Please input a number between 256 and 2346."},
        {&TFM_Performace::Ed_RTSa, "2347", "Please input a number between 256 and 2346."},
    };
    TFM_Performace* f = Open();
    SetLog();
    for (const auto& c : cases) {
        for (TEdit* e : {f->Ed_BeInta, f->Ed_DTIMa, f->Ed_FragLena, f->Ed_RTSa}) e->SetText("300");
        f->Ed_DTIMa->SetText("3");
        TEdit* e = f->*c.edit;
        e->SetText(c.text);
        ui.Boxes().Clear();
        Apply();
        ASSERT_EQ(ui.Boxes().Count(), 1) << c.text;
        EXPECT_EQ(ui.Boxes().Last().text, c.message);
        EXPECT_EQ(ui.Boxes().Last().caption, "Error");
        EXPECT_EQ(e->Text(), "");
        EXPECT_TRUE(SetLog().empty());
    }
    EXPECT_TRUE(waits.empty());
    // The limits themselves pass.
    f->Ed_BeInta->SetText("1000");
    f->Ed_DTIMa->SetText("255");
    f->Ed_FragLena->SetText("256");
    f->Ed_RTSa->SetText("2346");
    ui.Boxes().Clear();
    Apply();
    EXPECT_EQ(ui.Boxes().Count(), 0);
    EXPECT_EQ(dev->peek(kE + "2.3.1.6.1"), "1000");
    EXPECT_EQ(dev->peek(kE + "2.3.1.8.1"), "256");
    EXPECT_EQ(waits.size(), 1u);
}

// Leaving an edit with a value out of range: caption "Warning", the focus
// comes back; only the RTS edit is emptied.
TEST_F(PerformanceForm, ExitRangeMessages) {
    struct Case {
        TEdit* TFM_Performace::*edit;
        const char* text;
        const char* message;
        const char* left;
    } cases[] = {
        {&TFM_Performace::Ed_BeInta, "1001", "Please input a number between 20 and 1000.", "1001"},
        {&TFM_Performace::Ed_BeInta, "", "Please input a number between 20 and 1000.", ""},
        {&TFM_Performace::Ed_DTIMa, "0", "Please input a number between 1 and 255.", "0"},
        {&TFM_Performace::Ed_FragLena, "2347", "Please input a number between 256 and 2346.",
         "2347"},
        {&TFM_Performace::Ed_RTSa, "100", "Please input a number between 256 and 2346.", ""},
    };
    TFM_Performace* f = Open();
    // The focus moves only on a form that is shown.
    f->Show();
    for (const auto& c : cases) {
        TEdit* e = f->*c.edit;
        e->SetFocus();
        ASSERT_TRUE(e->Focused()) << c.text;
        e->SetText(c.text);
        ui.Boxes().Clear();
        f->CB_TranPa->SetFocus();
        ASSERT_EQ(ui.Boxes().Count(), 1) << c.text;
        EXPECT_EQ(ui.Boxes().Last().text, c.message);
        EXPECT_EQ(ui.Boxes().Last().caption, "Warning");
        EXPECT_EQ(e->Text(), c.left);
        EXPECT_TRUE(e->Focused());
        e->SetText(e == f->Ed_DTIMa ? "3" : "300");
        f->CB_TranPa->SetFocus();
    }
    // A good value leaves quietly.
    f->Ed_DTIMa->SetFocus();
    f->Ed_DTIMa->SetText("255");
    ui.Boxes().Clear();
    f->CB_TranPa->SetFocus();
    EXPECT_EQ(ui.Boxes().Count(), 0);
    f->Hide();
}

// The rate table: shown by mode, edited, written row by row.
TEST_F(PerformanceForm, RateTableShownAndEdited) {
    ASSERT_TRUE(dev->poke(kE + "2.14.1.2.1", "1"));
    ASSERT_TRUE(dev->poke(kE + Rate(6), "0"));
    TFM_Performace* f = Open();
    EXPECT_EQ(f->CB_DateStatus->Text(), "Enable");
    EXPECT_FALSE(f->CB_DtRta->Enabled());
    EXPECT_EQ(RateTexts(), (std::vector<std::string>{"Basic", "Basic", "Basic", "Basic", "Enable",
                                                     "Disable", "Enable", "Enable", "Enable",
                                                     "Enable", "Enable", "Enable"}));
    // Mixed: 1 to 11 Mb fixed, the OFDM rates free.
    const bool enabled[] = {false, false, false, false, true, true,
                            true,  true,  true,  true,  true, true};
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(f->CB_DRate[i]->Enabled(), enabled[i]) << i;
        EXPECT_EQ(f->CB_DRate[i]->Items().Count(), enabled[i] ? 2 : 3) << i;
    }
    EXPECT_EQ(f->ListView1->Items()[5]->Caption(), "6");
    Grab(f, "performance-rates.png");

    Choose(f->CB_DRate[5], "Enable");
    Choose(f->CB_DRate[11], "Disable");
    SetLog();
    Apply();
    EXPECT_EQ(dev->peek(kE + Rate(6)), "1");
    EXPECT_EQ(dev->peek(kE + Rate(12)), "0");
    EXPECT_EQ(dev->peek(kE + Rate(1)), "2");
    // The greyed 1 to 11 Mb are not written.
    EXPECT_EQ(SetLog(), NewWrites(RateWrites({1, 2, 3, 4})));
    EXPECT_EQ(waits.size(), 1u);

    // 11b only: the OFDM rates go, the preamble is forced long, 5.5 and 11 Mb
    // become free.
    Choose(f->CB_Gonly, "11b only");
    for (int i = 4; i < 12; ++i) EXPECT_FALSE(f->CB_DRate[i]->Visible()) << i;
    EXPECT_EQ(f->CB_Preamble->Text(), "Long Only");
    EXPECT_FALSE(f->CB_Preamble->Enabled());
    EXPECT_TRUE(f->CB_DRate[2]->Enabled());
    EXPECT_FALSE(f->CB_DRate[0]->Enabled());
    EXPECT_EQ(f->CB_DRate[0]->Text(), "Basic");
    Choose(f->CB_Gonly, "Mixed");
    EXPECT_TRUE(f->CB_DRate[4]->Visible());
    EXPECT_TRUE(f->CB_Preamble->Enabled());

    // Rate control off: every rate combo fixed, the data rate free again.
    Choose(f->CB_DateStatus, "Disable");
    for (TComboBox* c : f->CB_DRate) EXPECT_FALSE(c->Enabled());
    EXPECT_TRUE(f->CB_DtRta->Enabled());
}

// A free rate offers no "Basic": one the device holds as basic shows as
// enabled, and is sent so.
TEST_F(PerformanceForm, BasicOnAFreeRateShowsAsEnable) {
    ASSERT_TRUE(dev->poke(kE + "2.14.1.2.1", "1"));
    ASSERT_TRUE(dev->poke(kE + Rate(6), "2"));
    TFM_Performace* f = Open();
    ASSERT_EQ(f->CB_DRate[5]->Items().Count(), 2);
    EXPECT_EQ(f->CB_DRate[5]->Text(), "Enable");
    Apply();
    EXPECT_EQ(dev->peek(kE + Rate(6)), "1");
}

// An unchanged Apply in each B/G mode, with the rate control off and on:
// the rates the form greys or hides show what the device holds and are not
// written, so the device ends as it was. The device's rates are chosen so
// that each differs from what the mode would make of it.
struct ModeCase {
    const char* name;
    const char* mode; // adWIFIMode: 0 "11g only", 1 "11b only", 2 "Mixed"
    const char* control;
    std::vector<std::pair<int, const char*>> rates; // rate number, value
    std::vector<int> written;                       // rates the Apply sends
};

void PrintTo(const ModeCase& c, std::ostream* os) { *os << c.name; }

class PerformanceModes : public PerformanceForm,
                         public ::testing::WithParamInterface<ModeCase> {};

TEST_P(PerformanceModes, UnchangedApplyKeepsEveryRate) {
    const ModeCase& c = GetParam();
    ASSERT_TRUE(dev->poke(kE + "2.3.1.24.0", c.mode));
    ASSERT_TRUE(dev->poke(kE + "2.14.1.2.1", c.control));
    for (const auto& r : c.rates) ASSERT_TRUE(dev->poke(kE + Rate(r.first), r.second));
    const auto before = Snapshot(Objects());
    TFM_Performace* f = Open();
    ASSERT_EQ(f->RateRowsRead(), 12);
    const char* names[] = {"Disable", "Enable", "Basic"};
    for (int n = 1; n <= 12; ++n) {
        const std::string held = before.at(Rate(n));
        EXPECT_EQ(f->CB_DRate[n - 1]->Text(), names[std::stoi(held)]) << n;
    }
    SetLog();
    Apply();
    std::vector<std::string> rates;
    for (int n : c.written) rates.push_back(Rate(n));
    EXPECT_EQ(SetLog(), NewWrites(rates));
    EXPECT_EQ(Snapshot(Objects()), before);
    EXPECT_EQ(waits.size(), 1u);
    EXPECT_EQ(Status(f->StatusBar), "Setting Success!");
}

INSTANTIATE_TEST_SUITE_P(
    ByMode, PerformanceModes,
    ::testing::Values(
        ModeCase{"MixedOff", "2", "0", {{3, "1"}, {4, "0"}}, {}},
        ModeCase{"MixedOn", "2", "1", {{3, "1"}, {4, "0"}, {6, "0"}, {12, "0"}},
                 {5, 6, 7, 8, 9, 10, 11, 12}},
        ModeCase{"BOnlyOff", "1", "0", {{1, "1"}, {9, "0"}, {12, "0"}}, {}},
        ModeCase{"BOnlyOn", "1", "1", {{1, "1"}, {2, "0"}, {3, "1"}, {4, "0"}, {9, "0"}, {12, "0"}},
                 {3, 4}},
        ModeCase{"GOnlyOff", "0", "0", {{1, "1"}, {7, "0"}}, {}},
        ModeCase{"GOnlyOn", "0", "1", {{1, "1"}, {3, "0"}, {7, "0"}, {9, "1"}, {8, "0"}},
                 {6, 8, 10, 11, 12}}),
    [](const ::testing::TestParamInfo<ModeCase>& info) { return std::string(info.param.name); });

// The rate control and the data rate greyed by the operating mode or by
// Super G keep the device's values after a read; an unchanged Apply sends
// them back as they were.
TEST_F(PerformanceForm, GreyedSettingsKeepTheDevicesValues) {
    struct Case {
        const char* name;
        const char* oid;
        const char* value;
    } cases[] = {{"repeater", "2.1.1.1.1", "4"}, {"Super G on", "2.3.1.11.0", "1"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        form.reset();
        dev->reset();
        ASSERT_TRUE(dev->poke(kE + "2.14.1.2.1", "1"));
        ASSERT_TRUE(dev->poke(kE + "2.3.1.4.1", "54"));
        ASSERT_TRUE(dev->poke(kE + c.oid, c.value));
        const auto before = Snapshot(Objects());
        TFM_Performace* f = Open();
        EXPECT_EQ(f->CB_DateStatus->Text(), "Enable");
        EXPECT_FALSE(f->CB_DateStatus->Enabled());
        EXPECT_EQ(f->CB_DtRta->Text(), "54 Mb");
        EXPECT_FALSE(f->CB_DtRta->Enabled());
        Apply();
        EXPECT_EQ(Snapshot(Objects()), before);
        EXPECT_EQ(Status(f->StatusBar), "Setting Success!");
    }
}

// A rate control the device did not give stays greyed through the form's
// own rules and is not written.
TEST_F(PerformanceForm, RateControlNotReadIsNeitherEditableNorWritten) {
    ASSERT_TRUE(dev->fault(kE + "2.14.1.2.1", "noSuchName", "get"));
    const auto before = Snapshot(Objects());
    TFM_Performace* f = Open();
    EXPECT_TRUE(f->RateStatusGroup->ReadFailed());
    EXPECT_FALSE(f->CB_DateStatus->Enabled());
    f->CB_ApModeChange(nullptr);
    f->CB_SupModeaChange(nullptr);
    EXPECT_FALSE(f->CB_DateStatus->Enabled());
    dev->clearFaults();
    SetLog();
    Apply();
    const auto log = SetLog();
    EXPECT_EQ(std::count(log.begin(), log.end(), "2.14.1.2.1"), 0);
    EXPECT_EQ(Snapshot(Objects()), before);
}

TEST_F(PerformanceForm, ResetInElevenGOnly) {
    ASSERT_TRUE(dev->poke(kE + "2.14.1.2.1", "1"));
    TFM_Performace* f = Open();
    Choose(f->CB_Gonly, "11g only");
    ui.Boxes().Answer(mrOk);
    f->BT_RDateRateClick(nullptr);
    Settle();
    ASSERT_GE(ui.Boxes().Count(), 1);
    EXPECT_EQ(ui.Boxes().Boxes()[0].text, "It will Reset Date Settings to Default Status! Continue?");
    EXPECT_EQ(ui.Boxes().Boxes()[0].caption, "Warning");
    const char* expected[] = {"2", "2", "2", "2", "2", "1", "2", "1", "2", "1", "1", "1"};
    for (int n = 1; n <= 12; ++n) EXPECT_EQ(dev->peek(kE + Rate(n)), expected[n - 1]) << n;
    EXPECT_TRUE(f->Bt_Apply_a->Enabled());

    // Cancel writes nothing.
    SetLog();
    ui.Boxes().Clear();
    ui.Boxes().Answer(mrCancel);
    f->BT_RDateRateClick(nullptr);
    Settle();
    EXPECT_TRUE(SetLog().empty());
}

// A rate table that cannot be read leaves the form usable, says so, and no
// rate row is written; a row the device did not give is not written either.
TEST_F(PerformanceForm, FailedRateTableReadReenablesTheForm) {
    ASSERT_TRUE(dev->fault(kE + Rate(3), "timeout", "get", 4000));
    TFM_Performace* f = Open();
    dev->clearFaults();
    EXPECT_TRUE(f->Bt_Apply_a->Enabled());
    EXPECT_TRUE(f->Bt_Refresh_a->Enabled());
    EXPECT_NE(Status(f->StatusBar), "Get OK!");
    EXPECT_FALSE(Status(f->StatusBar).empty());
    EXPECT_EQ(f->RateRowsRead(), 0);
    dev->waitUntilAnswering();
    SetLog();
    Apply();
    const auto log = SetLog();
    for (const auto& oid : log) EXPECT_NE(oid.rfind("2.13.", 0), 0u) << oid;
    EXPECT_EQ(waits.size(), 1u);

    // Refresh reads the table again.
    f->Bt_Refresh_aClick(nullptr);
    Settle();
    EXPECT_EQ(Status(f->StatusBar), "Get OK!");
    EXPECT_EQ(f->RateRowsRead(), 12);
}

TEST_F(PerformanceForm, MissingRateRowIsNotWritten) {
    ASSERT_TRUE(dev->poke(kE + "2.14.1.2.1", "1"));
    ASSERT_TRUE(dev->poke(kE + Rate(6), "0"));
    ASSERT_TRUE(dev->fault(kE + Rate(5), "noSuchName", "get"));
    const auto before = Snapshot(Objects());
    TFM_Performace* f = Open();
    EXPECT_EQ(f->RateRowsRead(), 11);
    EXPECT_EQ(f->CB_DRate[4]->ItemIndex(), -1);
    EXPECT_EQ(f->CB_DRate[5]->Text(), "Disable");
    EXPECT_EQ(f->CB_DRate[6]->Text(), "Enable");
    SetLog();
    Apply();
    EXPECT_FALSE(f->CB_DRate[4]->Enabled());
    EXPECT_EQ(SetLog(), NewWrites(RateWrites({1, 2, 3, 4, 5})));
    EXPECT_EQ(Snapshot(Objects()), before);
    EXPECT_EQ(waits.size(), 1u);
}

// A refused write, synchronous or asynchronous, ends the chain: its text is
// shown once, nothing after it is sent, and there is neither success nor a
// restart.
TEST_F(PerformanceForm, FailedWriteShowsTheFirstFailureAndNoSuccess) {
    struct Case {
        const char* oid;
        std::vector<std::string> sent;
    } cases[] = {
        {"2.13.1.2.1.7", {"2.14.1.2.1", Rate(5), Rate(6)}},
        {"2.3.1.9.1", NewWrites(RateWrites({1, 2, 3, 4}))},
        {"2.3.1.29.1", NewWrites(RateWrites({1, 2, 3, 4}))},
    };
    // The main group goes as one set: none of it is taken.
    cases[1].sent.resize(cases[1].sent.size() - 5 - kMainWrites.size());
    cases[2].sent.resize(cases[2].sent.size() - 2);
    // With the rate control on, 6 to 54 Mb are the user's and are written.
    ASSERT_TRUE(dev->poke(kE + "2.14.1.2.1", "1"));
    TFM_Performace* f = Open();
    for (const auto& c : cases) {
        dev->clearFaults();
        ASSERT_TRUE(dev->fault(kE + c.oid, "badValue", "set"));
        // A second refusal further on must not be what is shown.
        ASSERT_TRUE(dev->fault(kE + "2.3.1.12.1", "genErr", "set"));
        SetLog();
        ui.Boxes().Clear();
        Apply();
        EXPECT_EQ(SetLog(), c.sent) << c.oid;
        EXPECT_EQ(ui.Boxes().Count(), 1) << c.oid;
        EXPECT_TRUE(waits.empty()) << c.oid;
        EXPECT_EQ(Status(f->StatusBar), "Setting error!") << c.oid;
        EXPECT_TRUE(f->Bt_Apply_a->Enabled());
    }
}

// Closing while the radio and the table are still on their way: the form
// may close at once, and nothing of those reads arrives into it afterwards,
// though the device goes on to answer them.
TEST_F(PerformanceForm, ClosesWhileReadsAreOutstanding) {
    form.reset(NewForm<TFM_Performace>(Application));
    TFM_Performace* f = form.get();
    ASSERT_TRUE(f->Busy());
    ASSERT_TRUE(f->RateTable->busy || f->RadioGroup->busy);
    bool canClose = false;
    f->FormCloseQuery(nullptr, canClose);
    EXPECT_TRUE(canClose);
    EXPECT_FALSE(f->RateTable->busy);
    EXPECT_FALSE(f->RadioGroup->busy);
    // What the form shows once it agreed to close.
    auto state = [f] {
        std::string out = f->StatusBar->SimpleText() + "|" + f->CB_RadWava->Text() + "|" +
                          std::to_string(f->ListView1->Items().Count());
        for (TComboBox* c : f->CB_DRate) out += "|" + c->Text();
        return out;
    };
    const std::string closing = state();
    // A read of its own: the device has answered everything asked before.
    ASSERT_TRUE(f->IgmpGroup->Read());
    // Anything that still came in would show within this bound.
    QvWaitWhile([&] { return state() == closing; }, 1500);
    EXPECT_EQ(state(), closing);
    form.reset();
    EXPECT_EQ(ui.Boxes().Count(), 0);
    EXPECT_TRUE(dev->waitUntilAnswering());
}

TEST_F(PerformanceForm, DataRateGoesToTheDeviceWithoutItsUnit) {
    TFM_Performace* f = Open();
    ASSERT_EQ(f->CB_DtRta->Items().Count(), 13);
    Choose(f->CB_DtRta, "5.5 Mb");
    Apply();
    EXPECT_EQ(dev->peek(kE + "2.3.1.4.1"), "5.5");
    form.reset();
    f = Open();
    EXPECT_EQ(f->CB_DtRta->Text(), "5.5 Mb");
}

} // namespace
