// Advanced \ Mode against the simulated device: what each mode lets the user
// edit and writes, the modes an authentication allows, every input check with
// its exact text, and success only once the write went through.
#include "forms/wireless/TFM_ModeCFG.h"

#include "binding/QvSNMPRequest2Edits.h"
#include "binding/QvWaitIdle.h"
#include "ui/Menu.h"
#include "ui/PageControl.h"
#include "tests/forms/admin/admin_fixture.h"
#include "support/LayoutCheck.h"

#include <algorithm>
#include <memory>

namespace {

using admintest::AdminFormTest;

const std::string kAp = "qvEnterprise.11.37.4.2.";
const std::string kMode = "2.1.1.1.1";
const std::string kRoot = "2.1.1.3.1";
const std::string kClientRoot = "2.1.1.4.1";
const std::string kSsid = "1.1.1.1.1";

std::string Remote(int k) { return "2.2.1.2.1." + std::to_string(k); }

std::vector<std::string> Objects() {
    std::vector<std::string> o = {kMode, kRoot, kClientRoot, kSsid};
    for (int k = 1; k <= 8; ++k) o.push_back(Remote(k));
    return o;
}

class ModeForm : public AdminFormTest {
protected:
    TFM_ModeCFG* Open(const std::string& fw = "v2.31") {
        form.reset();
        main->Ed_FwVer->SetText(fw);
        main->ApmodeStringChangeSupport->SetText(names);
        form.reset(NewForm<TFM_ModeCFG>(Application));
        return form.get();
    }
    void TearDown() override {
        form.reset();
        AdminFormTest::TearDown();
    }
    void Poke(const std::string& oid, const std::string& value) {
        ASSERT_TRUE(dev->poke("qvEnterprise.11.37.4." + oid, value)) << oid;
    }
    std::string Peek(const std::string& oid) {
        return dev->peek("qvEnterprise.11.37.4." + oid).value_or("(absent)");
    }
    void Choose(TComboBox* c, const std::string& text) {
        const int i = c->Items().IndexOf(text);
        ASSERT_GE(i, 0) << text;
        c->ChooseItem(i);
    }
    std::vector<std::string> Items(TComboBox* c) {
        std::vector<std::string> out;
        for (int i = 0; i < c->Items().Count(); ++i) out.push_back(c->Items()[i]);
        return out;
    }
    static bool Greyed(TEdit* e) { return e->ReadOnly() && e->Color() == clBtnFace; }
    static bool Editable(TEdit* e) { return !e->ReadOnly() && e->Color() == clWindow; }

    std::string names = "1";
    std::unique_ptr<TFM_ModeCFG> form;
};

// Read, Apply with nothing changed: the device holds what it held, and only
// what the mode uses was sent, in every mode.
TEST_F(ModeForm, RoundTripKeepsWhatTheDeviceHeld) {
    struct Case {
        const char* mode;
        const char* shown;
        std::vector<std::pair<std::string, std::string>> pokes;
        std::vector<std::string> sent;
    } cases[] = {
        {"1", "Access Point", {}, {kMode}},
        {"2", "PtP Bridge", {{Remote(1), "hex:0050C2000001"}}, {kMode, Remote(1)}},
        {"3",
         "PtMP Bridge",
         {{Remote(1), "hex:0050C2000001"}, {Remote(3), "hex:0050C2000003"}},
         {kMode, Remote(1), Remote(2), Remote(3), Remote(4), Remote(5), Remote(6), Remote(7),
          Remote(8)}},
        {"4", "Universal Repeater", {{kRoot, "hex:0050C2000009"}}, {kMode, kRoot}},
        {"5", "Wireless Client", {{kClientRoot, "hex:0050C200000A"}}, {kMode, kSsid}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        ASSERT_TRUE(dev->reset());
        Poke(kMode, c.mode);
        for (const auto& [oid, value] : c.pokes) Poke(oid, value);
        const auto before = Snapshot(Objects());
        SetLog();
        waits.clear();
        TFM_ModeCFG* f = Open();
        EXPECT_EQ(f->TS_80211a->Caption(), "IEEE 802.11g");
        EXPECT_EQ(f->CB_11a_APM->Text(), c.shown);
        EXPECT_TRUE(f->CB_11a_APM->Visible());
        f->Bt_ApplyClick(nullptr);
        EXPECT_EQ(SetLog(), c.sent);
        EXPECT_EQ(Snapshot(Objects()), before);
        EXPECT_EQ(waits.size(), 1u);
        EXPECT_EQ(ui.Boxes().Count(), 0);
        EXPECT_EQ(Status(f->StatusBar), "IEEE802.11g Setting Success!");
    }
}

TEST_F(ModeForm, ModeCommandOpensTheForm) {
    TFM_ModeCFG::RegisterOpener();
    ASSERT_TRUE(TMainForm::HasFormOpener("TFM_ModeCFG"));
    const int before = ui.ModalShows();
    main->adMode1->Click();
    EXPECT_EQ(main->LastRequestedForm(), "TFM_ModeCFG");
    EXPECT_EQ(ui.ModalShows(), before + 1);
    TMainForm::RegisterFormOpener("TFM_ModeCFG", nullptr);
}

// Shown in every mode, no control lies outside its parent or on another and
// no label is cut off.
TEST_F(ModeForm, LayoutHoldsInEveryMode) {
    for (const char* mode : {"1", "2", "3", "4", "5"}) {
        SCOPED_TRACE(mode);
        ASSERT_TRUE(dev->reset());
        Poke(kMode, mode);
        Poke(Remote(1), "hex:0050C2000001");
        Poke(Remote(2), "hex:0050C2000002");
        TFM_ModeCFG* f = Open();
        f->Show();
        Application->ProcessMessages();
        EXPECT_EQ(lmrtest::LayoutFaults(*f), std::vector<std::string>{});
        f->Hide();
        Grab(f, std::string("modecfg-") + mode + ".png");
    }
}

// A mode group whose read failed is never written: its controls and the
// list that stands in for the mode cannot be used, and Apply claims nothing.
TEST_F(ModeForm, FailedReadIsNeverWritten) {
    for (const char* auth : {"1", "3"}) {
        SCOPED_TRACE(auth);
        ASSERT_TRUE(dev->reset());
        Poke("2.5.1.1.1.1", auth);
        ASSERT_TRUE(dev->fault("qvEnterprise.11.37.4." + kMode, "noSuchName", "get"));
        const auto before = Snapshot(Objects());
        SetLog();
        waits.clear();
        ui.Boxes().Clear();
        TFM_ModeCFG* f = Open();
        EXPECT_TRUE(f->ModeGroupA->ReadFailed());
        EXPECT_FALSE(f->CB_11a_APM->Enabled());
        EXPECT_FALSE(f->CB_11a_APMTemp->Enabled());
        for (TEdit* e : f->Ed_ReMAddra) EXPECT_FALSE(e->Enabled());
        ui.Boxes().Clear();
        f->Bt_ApplyClick(nullptr);
        EXPECT_TRUE(SetLog().empty());
        EXPECT_EQ(Snapshot(Objects()), before);
        EXPECT_TRUE(waits.empty());
        EXPECT_NE(Status(f->StatusBar), "IEEE802.11g Setting Success!");
        ASSERT_TRUE(dev->clearFaults());
        // Once the device answers again, the form is usable again.
        f->Bt_RefreshClick(nullptr);
        EXPECT_TRUE(f->ReplacementUsed ? f->CB_11a_APMTemp->Enabled() : f->CB_11a_APM->Enabled());
        EXPECT_TRUE(f->CloseQuery());
    }
}

// Which edits each mode lets the user change, and which it empties.
TEST_F(ModeForm, FieldsFollowTheMode) {
    struct Case {
        const char* mode;
        bool remote0, remotes, root, clientRoot, ssid;
        bool ssidKept;
    } cases[] = {
        {"Access Point", false, false, false, false, false, false},
        {"PtP Bridge", true, false, false, false, false, false},
        {"PtMP Bridge", true, true, false, false, false, false},
        {"Universal Repeater", false, false, true, false, false, true},
        {"Wireless Client", false, false, false, true, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        TFM_ModeCFG* f = Open();
        f->Ed_RoMAddra0->SetText("0050C2000009");
        f->Ed_SSID->SetText("kept");
        Choose(f->CB_11a_APM, c.mode);
        EXPECT_EQ(Editable(f->Ed_ReMAddra[0]), c.remote0);
        EXPECT_EQ(Greyed(f->Ed_ReMAddra[0]), !c.remote0);
        for (int i = 1; i < 8; ++i) EXPECT_EQ(Editable(f->Ed_ReMAddra[i]), c.remotes) << i;
        EXPECT_EQ(Editable(f->Ed_RoMAddra0), c.root);
        EXPECT_EQ(f->Ed_RoMAddra0->Text(), c.root ? "0050C2000009" : "");
        EXPECT_EQ(Editable(f->Ed_CRoMAddra0), c.clientRoot);
        EXPECT_EQ(Editable(f->Ed_SSID), c.ssid);
        EXPECT_EQ(f->Ed_SSID->Text(), c.ssidKept ? "kept" : "");
        for (TEdit* e : f->Ed_ReMAddra) EXPECT_EQ(e->Text(), "");
        for (TEdit* e : f->Ed_ReMAddra) EXPECT_EQ(e->MaxLength(), 12);
    }
}

// Every check with its text and caption; nothing is written after one.
TEST_F(ModeForm, InputChecks) {
    struct Case {
        const char* mode;
        TEdit* TFM_ModeCFG::*edit; // null: a remote edit
        int remote;
        const char* text;
        const char* message;
        const char* caption;
    } cases[] = {
        {"PtP Bridge", nullptr, 0, "0050C2", "The length is 12 in IEEE802.11g MAC address.",
         "Error"},
        {"PtMP Bridge", nullptr, 5, "0050C20000", "The length is 12 in IEEE802.11g MAC address.",
         "Error"},
        {"Universal Repeater", &TFM_ModeCFG::Ed_RoMAddra0, 0, "12345",
         "The length is 12 in IEEE802.11g Root AP MAC Address.", "Error"},
        {"Wireless Client", &TFM_ModeCFG::Ed_SSID, 0, "", "Please input the SSID.", "Warning"},
        {"Wireless Client", &TFM_ModeCFG::Ed_SSID, 0, " lab", "The first character can't be blank.",
         "Error"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        TFM_ModeCFG* f = Open();
        Choose(f->CB_11a_APM, c.mode);
        TEdit* e = c.edit ? f->*c.edit : f->Ed_ReMAddra[c.remote];
        e->SetText(c.text);
        ui.Boxes().Clear();
        f->Bt_ApplyClick(nullptr);
        ASSERT_EQ(ui.Boxes().Count(), 1);
        EXPECT_EQ(ui.Boxes().Last().text, c.message);
        EXPECT_EQ(ui.Boxes().Last().caption, c.caption);
        EXPECT_EQ(Status(f->StatusBar), "IEEE802.11g Setting Error!");
        if (c.edit == &TFM_ModeCFG::Ed_SSID) {
            EXPECT_TRUE(e->Focused());
        }
        // The zeros that stood in for empty peers are gone again.
        for (TEdit* r : f->Ed_ReMAddra) {
            if (r != e) {
                EXPECT_EQ(r->Text(), "");
            }
        }
        EXPECT_TRUE(SetLog().empty());
        EXPECT_TRUE(waits.empty());
    }
}

// The same address twice, in any case, is refused; empty edits are no pair.
TEST_F(ModeForm, DuplicatePeersWithoutRegardToCase) {
    struct Case {
        const char* first;
        const char* fourth;
        bool refused;
    } cases[] = {
        {"0050C2AABB01", "0050C2AABB01", true},
        {"0050C2AABB01", "0050c2aabb01", true},
        {"0050c2AaBb01", "0050C2aAbB01", true},
        {"0050C2AABB01", "0050C2AABB02", false},
        {"", "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.first) + " " + c.fourth);
        ASSERT_TRUE(dev->reset());
        SetLog();
        waits.clear();
        TFM_ModeCFG* f = Open();
        Choose(f->CB_11a_APM, "PtMP Bridge");
        f->Ed_ReMAddra[0]->SetText(c.first);
        f->Ed_ReMAddra[3]->SetText(c.fourth);
        ui.Boxes().Clear();
        f->Bt_ApplyClick(nullptr);
        if (c.refused) {
            ASSERT_EQ(ui.Boxes().Count(), 1);
            EXPECT_EQ(ui.Boxes().Last().text, "Exist same MAC address.");
            EXPECT_EQ(ui.Boxes().Last().caption, "Warning");
            EXPECT_TRUE(f->Ed_ReMAddra[3]->Focused());
            EXPECT_TRUE(SetLog().empty());
            EXPECT_TRUE(waits.empty());
        } else {
            EXPECT_EQ(ui.Boxes().Count(), 0);
            EXPECT_EQ(Peek(kMode), "3");
            EXPECT_EQ(waits.size(), 1u);
        }
    }
}

// Peers are not written outside the multipoint mode, so a pair the device
// holds does not stand in the way of another mode.
TEST_F(ModeForm, GreyedPeerPairDoesNotBlockAnotherMode) {
    Poke(Remote(1), "hex:0050C2000001");
    Poke(Remote(2), "hex:0050C2000001");
    TFM_ModeCFG* f = Open();
    EXPECT_EQ(f->Ed_ReMAddra[1]->Text(), "0050C2000001");
    f->Bt_ApplyClick(nullptr);
    EXPECT_EQ(ui.Boxes().Count(), 0);
    EXPECT_EQ(SetLog(), (std::vector<std::string>{kMode}));
    EXPECT_EQ(waits.size(), 1u);
}

// An empty peer goes out as the all-zero address and shows empty again.
TEST_F(ModeForm, EmptyPeerIsWrittenAsZeros) {
    Poke(Remote(4), "hex:0050C2000004");
    TFM_ModeCFG* f = Open();
    Choose(f->CB_11a_APM, "PtMP Bridge");
    EXPECT_EQ(f->Ed_ReMAddra[3]->Text(), "0050C2000004");
    f->Ed_ReMAddra[0]->SetText("0050c2000001");
    f->Ed_ReMAddra[3]->Clear();
    f->Bt_ApplyClick(nullptr);
    const auto sent = SetLog();
    EXPECT_EQ(Peek(kMode), "3");
    EXPECT_EQ(Peek(Remote(1)), "hex:0050C2000001");
    for (int k = 2; k <= 8; ++k) {
        EXPECT_EQ(Peek(Remote(k)), "hex:000000000000") << k;
        EXPECT_NE(std::find(sent.begin(), sent.end(), Remote(k)), sent.end()) << k;
    }
    EXPECT_EQ(f->Ed_ReMAddra[3]->Text(), "");
    EXPECT_EQ(f->Ed_ReMAddra[0]->Text(), "0050c2000001");
    EXPECT_EQ(waits.size(), 1u);
}

// A mode the list does not hold is not written (it would go out as 0): the
// device keeps it and no success or restart follows.
TEST_F(ModeForm, UnknownModeIsLeftAsTheDeviceHasIt) {
    for (const char* mode : {"6", "7"}) {
        SCOPED_TRACE(mode);
        ASSERT_TRUE(dev->reset());
        Poke(kMode, mode);
        SetLog();
        TFM_ModeCFG* f = Open();
        EXPECT_EQ(f->CB_11a_APM->ItemIndex(), -1);
        f->Bt_ApplyClick(nullptr);
        EXPECT_EQ(Peek(kMode), mode);
        EXPECT_TRUE(SetLog().empty());
        EXPECT_TRUE(waits.empty());
        EXPECT_EQ(ui.Boxes().Count(), 0);
        EXPECT_NE(Status(f->StatusBar), "IEEE802.11g Setting Success!");
        // Choosing a known mode writes it.
        Choose(f->CB_11a_APM, "Access Point");
        f->Bt_ApplyClick(nullptr);
        EXPECT_EQ(Peek(kMode), "1");
        EXPECT_EQ(waits.size(), 1u);
        waits.clear();
    }
}

// A refused write shows its failure and neither success nor the restart.
TEST_F(ModeForm, FailedWriteShowsTheFailure) {
    TFM_ModeCFG* f = Open();
    Choose(f->CB_11a_APM, "PtP Bridge");
    f->Ed_ReMAddra[0]->SetText("0050C2000001");
    ASSERT_TRUE(dev->fault("qvEnterprise.11.37.4." + Remote(1), "badValue", "set"));
    f->Bt_ApplyClick(nullptr);
    EXPECT_TRUE(waits.empty());
    EXPECT_EQ(Status(f->StatusBar), "IEEE802.11g Setting Error!");
    ASSERT_EQ(ui.Boxes().Count(), 1);
    EXPECT_FALSE(ui.Boxes().Last().text.empty());
    EXPECT_EQ(Peek(kMode), "1");
    EXPECT_EQ(Peek(Remote(1)), "hex:000000000000");
    EXPECT_EQ(f->Ed_ReMAddra[0]->Text(), "0050C2000001");
}

// A write that answers later: nothing is reported before its answer, and
// success and the restart only when it went through.
TEST_F(ModeForm, LaterAnswerDecidesTheOutcome) {
    for (bool refused : {false, true}) {
        SCOPED_TRACE(refused);
        ASSERT_TRUE(dev->reset());
        ASSERT_TRUE(dev->clearFaults());
        waits.clear();
        ui.Boxes().Clear();
        TFM_ModeCFG* f = Open();
        f->ModeGroupA->mode = 1;
        Choose(f->CB_11a_APM, "PtP Bridge");
        f->Ed_ReMAddra[0]->SetText("0050C2000001");
        if (refused) {
            ASSERT_TRUE(dev->fault("qvEnterprise.11.37.4." + kMode, "badValue", "set"));
        }
        f->Bt_ApplyClick(nullptr);
        EXPECT_TRUE(waits.empty());
        EXPECT_NE(Status(f->StatusBar), "IEEE802.11g Setting Success!");
        ASSERT_TRUE(WaitWhileBusy(*f->ModeGroupA, 5000));
        Application->ProcessMessages();
        EXPECT_EQ(waits.size(), refused ? 0u : 1u);
        EXPECT_EQ(Status(f->StatusBar),
                  refused ? "IEEE802.11g Setting Error!" : "IEEE802.11g Setting Success!");
        EXPECT_EQ(Peek(kMode), refused ? "1" : "2");
        EXPECT_EQ(ui.Boxes().Count(), refused ? 1 : 0);
    }
}

// The modes an authentication allows, by firmware and mode names.
TEST_F(ModeForm, ModeListByAuthentication) {
    struct Case {
        const char* fw;
        const char* names;
        const char* auth;
        const char* mode;
        std::vector<std::string> list; // empty: the full mode combo
        const char* selected;
    } cases[] = {
        {"v2.31", "1", "1", "1", {}, ""},
        {"v2.31", "1", "2", "1", {}, ""},
        {"v2.31", "1", "3", "4",
         {"Access Point", "PtP Bridge", "PtMP Bridge", "Universal Repeater"}, "Universal Repeater"},
        {"v2.31", "0", "3", "4", {"Access Point", "PtP Bridge", "PtMP Bridge", "AP Reperter"},
         "AP Reperter"},
        {"v2.31", "1", "4", "5", {"Access Point", "Wireless Client"}, "Wireless Client"},
        {"v2.31", "0", "4", "1", {"Access Point", "AP Client"}, "Access Point"},
        {"v2.31", "1", "5", "1", {"Access Point"}, "Access Point"},
        {"v2.31", "1", "5", "2", {"Access Point"}, ""},
        {"v1.10", "1", "4", "2", {"Access Point"}, "Access Point"},
        {"v1.10", "1", "5", "1", {"Access Point"}, "Access Point"},
        {"v1.10", "1", "3", "3", {}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.fw) + " auth " + c.auth + " mode " + c.mode);
        ASSERT_TRUE(dev->reset());
        Poke("2.5.1.1.1.1", c.auth);
        Poke(kMode, c.mode);
        names = c.names;
        TFM_ModeCFG* f = Open(c.fw);
        EXPECT_EQ(f->ReplacementUsed, !c.list.empty());
        EXPECT_EQ(f->CB_11a_APMTemp->Visible(), !c.list.empty());
        EXPECT_EQ(f->CB_11a_APM->Visible(), c.list.empty());
        if (!c.list.empty()) {
            EXPECT_EQ(Items(f->CB_11a_APMTemp), c.list);
            EXPECT_EQ(f->CB_11a_APMTemp->Text(), c.selected);
        }
    }
}

// The replacement list's choice is what goes out.
TEST_F(ModeForm, ReplacementChoiceIsWritten) {
    struct Case {
        const char* names;
        const char* auth;
        const char* entry;
        const char* shown;
        const char* written;
    } cases[] = {
        {"0", "3", "AP Reperter", "Universal Repeater", "4"},
        {"1", "3", "PtMP Bridge", "PtMP Bridge", "3"},
        {"0", "4", "AP Client", "Wireless Client", "5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        ASSERT_TRUE(dev->reset());
        Poke("2.5.1.1.1.1", c.auth);
        waits.clear();
        names = c.names;
        TFM_ModeCFG* f = Open();
        Choose(f->CB_11a_APMTemp, c.entry);
        EXPECT_EQ(f->CB_11a_APM->Text(), c.shown);
        if (std::string(c.written) == "4") f->Ed_RoMAddra0->SetText("0050C2000009");
        if (std::string(c.written) == "5") f->Ed_SSID->SetText("LMR-Lab");
        f->Bt_ApplyClick(nullptr);
        EXPECT_EQ(ui.Boxes().Count(), 0) << (ui.Boxes().Count() ? ui.Boxes().Last().text : "");
        EXPECT_EQ(Peek(kMode), c.written);
        EXPECT_EQ(waits.size(), 1u);
    }
}

// The first firmware generation of this model: no SSID, and the client's
// own root address stands in for the repeater's outside the repeater mode.
TEST_F(ModeForm, FirstFirmwareUsesTheClientRoot) {
    Poke(kMode, "5");
    TFM_ModeCFG* f = Open("v1.10");
    EXPECT_FALSE(f->Ed_SSID->Visible());
    EXPECT_TRUE(f->Ed_CRoMAddra0->Visible());
    EXPECT_FALSE(f->Ed_RoMAddra0->Visible());
    EXPECT_TRUE(Editable(f->Ed_CRoMAddra0));
    f->Ed_CRoMAddra0->SetText("0050C2");
    f->Bt_ApplyClick(nullptr);
    ASSERT_EQ(ui.Boxes().Count(), 1);
    EXPECT_EQ(ui.Boxes().Last().text, "The length is 12 in IEEE802.11g Root AP MAC Address.");
    EXPECT_TRUE(SetLog().empty());
    f->Ed_CRoMAddra0->SetText("0050C200000A");
    f->Bt_ApplyClick(nullptr);
    EXPECT_EQ(SetLog(), (std::vector<std::string>{kMode, kClientRoot}));
    EXPECT_EQ(Peek(kClientRoot), "hex:0050C200000A");
    Choose(f->CB_11a_APM, "Universal Repeater");
    EXPECT_TRUE(f->Ed_RoMAddra0->Visible());
    EXPECT_FALSE(f->Ed_CRoMAddra0->Visible());
}

TEST_F(ModeForm, RefreshShowsTheDeviceAgain) {
    TFM_ModeCFG* f = Open();
    Poke(kMode, "2");
    Poke(Remote(1), "hex:0050C2000001");
    f->Bt_RefreshClick(nullptr);
    EXPECT_EQ(f->CB_11a_APM->Text(), "PtP Bridge");
    EXPECT_EQ(f->Ed_ReMAddra[0]->Text(), "0050C2000001");
    EXPECT_TRUE(Editable(f->Ed_ReMAddra[0]));
    EXPECT_TRUE(SetLog().empty());
}

} // namespace
