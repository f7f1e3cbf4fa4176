// The first-generation Multi-SSID form against the simulated device: which
// generation the menu opens, every input check with its exact text, keys sent
// only when typed, the master SSID sent only once read, the display rules
// after the master's answer, success only once every write went through, a
// failed read, closing, and the round trip.
#include "forms/wireless/TFM_MultiSSIDForm.h"

#include "binding/QvSNMPRequest2Edits.h"
#include "binding/QvWaitIdle.h"
#include "ui/Menu.h"
#include "ui/PageControl.h"
#include "tests/forms/admin/admin_fixture.h"

#include <algorithm>
#include <memory>

namespace {

using admintest::AdminFormTest;

const std::string E = "qvEnterprise.11.37.4.";

// Every object the form reads or writes.
std::vector<std::string> FormObjects() {
    std::vector<std::string> o = {"2.9.1.1.1.0", "2.9.1.1.1.1", "2.1.1.1.1", "2.3.1.11.0",
                                  "2.3.1.11.1"};
    for (int entry = 1; entry <= 4; ++entry)
        for (int column = 2; column <= 8; ++column)
            o.push_back("2.9.2.1." + std::to_string(column) + ".1." + std::to_string(entry));
    return o;
}

// Guest n (0..2) lives in entry 1.(n+2).
std::string Guest(int n, int column) {
    return "2.9.2.1." + std::to_string(column) + ".1." + std::to_string(n + 2);
}

class MultiSsidForm : public AdminFormTest {
protected:
    void TearDown() override {
        form.reset();
        AdminFormTest::TearDown();
    }
    TFM_MultiSSIDForm* Open() {
        form.reset(NewForm<TFM_MultiSSIDForm>(Application));
        Idle();
        return form.get();
    }
    // Until no asynchronous read or write of the form is outstanding (bounded).
    bool Idle() {
        return QvWaitWhile(
            [this] {
                return form->MasterReading() || form->ApSuperGGroup->busy || form->ApplyRunning();
            },
            8000);
    }
    void Apply() {
        form->Bt_ApplyClick(nullptr);
        Idle();
    }
    void Poke(const std::string& oid, const std::string& value) {
        ASSERT_TRUE(dev->poke(E + oid, value)) << oid;
    }
    void Choose(TComboBox* c, const std::string& text) {
        const int i = c->Items().IndexOf(text);
        ASSERT_GE(i, 0) << text;
        c->ChooseItem(i);
    }
    // Guest n enabled with WEP on: authentication, key index.
    void GuestWithWep(int n, const std::string& auth, const std::string& keyIndex) {
        Poke(Guest(n, 2), "1");
        Poke(Guest(n, 4), auth);
        Poke(Guest(n, 5), "1");
        Poke(Guest(n, 6), keyIndex);
    }
    void ExpectBox(const std::string& text, const std::string& caption) {
        ASSERT_EQ(ui.Boxes().Count(), 1) << text;
        EXPECT_EQ(ui.Boxes().Last().text, text);
        EXPECT_EQ(ui.Boxes().Last().caption, caption);
    }
    std::unique_ptr<TFM_MultiSSIDForm> form;
};

TEST_F(MultiSsidForm, RoundTripKeepsWhatTheDeviceHeld) {
    struct Case {
        const char* name;
        bool everythingOn;
        std::vector<std::string> sent;
    } cases[] = {
        {"all off", false,
         {"2.9.1.1.1.0", "2.9.2.1.3.1.1", "2.9.2.1.2.1.2", "2.9.2.1.2.1.3", "2.9.2.1.2.1.4"}},
        {"all on", true,
         {"2.1.1.1.1", "2.3.1.11.1", "2.9.1.1.1.0", "2.9.2.1.3.1.1", "2.9.2.1.8.1.1",
          // each guest: state, SSID, authentication, encryption, key index, VLAN tag
          "2.9.2.1.2.1.2", "2.9.2.1.3.1.2", "2.9.2.1.4.1.2", "2.9.2.1.5.1.2", "2.9.2.1.6.1.2",
          "2.9.2.1.8.1.2", "2.9.2.1.2.1.3", "2.9.2.1.3.1.3", "2.9.2.1.4.1.3", "2.9.2.1.5.1.3",
          "2.9.2.1.6.1.3", "2.9.2.1.8.1.3", "2.9.2.1.2.1.4", "2.9.2.1.3.1.4", "2.9.2.1.4.1.4",
          "2.9.2.1.5.1.4", "2.9.2.1.6.1.4", "2.9.2.1.8.1.4"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        form.reset();
        dev->reset();
        waits.clear();
        ui.Boxes().Clear();
        if (c.everythingOn) {
            Poke("2.9.1.1.1.1", "1");
            GuestWithWep(0, "1", "2");
            GuestWithWep(1, "2", "3");
            GuestWithWep(2, "1", "4");
        }
        SetLog();
        const auto before = Snapshot(FormObjects());
        TFM_MultiSSIDForm* f = Open();
        EXPECT_EQ(f->TabSheet1->Caption(), "IEEE 802.11g");
        EXPECT_EQ(f->MasterSSIDEdit->Text(), "Guest-1");
        EXPECT_EQ(f->CheckBox1->Checked(), c.everythingOn);
        for (int n = 0; n < 3; ++n) {
            EXPECT_EQ(f->GuestCheckBox[n]->Checked(), c.everythingOn) << n;
            EXPECT_EQ(f->GuestKeyvalueEdit[n]->Text(), "**********");
            EXPECT_EQ(f->GuestKeySize[n]->Text(), "64 Bits");
        }
        if (c.everythingOn) {
            EXPECT_EQ(f->TempComboBox[0]->Text(), "Open System");
            EXPECT_EQ(f->TempComboBox[1]->Text(), "Shared Key");
            EXPECT_TRUE(f->GuestKeyvalueEdit[2]->Enabled());
            Grab(f, "multissid.png");
        }
        Apply();
        EXPECT_EQ(ui.Boxes().Count(), 0) << (ui.Boxes().Count() ? ui.Boxes().Last().text : "");
        EXPECT_EQ(SetLog(), c.sent);
        EXPECT_EQ(Snapshot(FormObjects()), before);
        EXPECT_EQ(waits.size(), 1u);
        EXPECT_EQ(Status(f->StatusBar1), "Set Success!");
    }
}

TEST_F(MultiSsidForm, TheMenuOpensThisGenerationForNewMultiSupportZero) {
    TFM_MultiSSIDForm::RegisterOpener();
    ASSERT_TRUE(TMainForm::HasFormOpener("TFM_MultiSSIDForm"));
    struct Case {
        const char* field;
        const char* asked;
        bool opensThis;
    } cases[] = {{"0", "TFM_MultiSSIDForm", true},
                 {"NewMultiSupport", "TFM_MultiSSIDForm", true},
                 {"1", "TFM_MultiSSIDNewForm", false},
                 {"2", "", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        bool opened = false;
        ui.OnModal([&](TForm* f) {
            if (auto* m = dynamic_cast<TFM_MultiSSIDForm*>(f)) {
                opened = true;
                EXPECT_EQ(FM_MultiSSIDForm, m);
                EXPECT_EQ(m->Caption(), "Advanced\\Multi-SSID");
                m->Bt_CloseClick(nullptr);
            } else {
                f->SetModalResult(mrCancel);
            }
        });
        main->NewMultiSupport->SetText(c.field);
        main->Ad_MultiSSID->Click();
        EXPECT_EQ(main->LastRequestedForm(), c.asked);
        EXPECT_EQ(opened, c.opensThis);
        EXPECT_EQ(FM_MultiSSIDForm, nullptr);
    }
}

TEST_F(MultiSsidForm, GuestSsidTextMessages) {
    struct Case {
        int guest;
        std::string ssid;
        const char* text; // "" passes
        const char* caption;
    } cases[] = {
        {0, std::string(33, 's'), "The Max Length of Guest SSID1's SSID is 32.!", "Warning"},
        {1, std::string(33, 's'), "The Max Length of Guest SSID2's SSID is 32.!", "Warning"},
        {2, "", "Please Input SSID in Guest SSID3.", "Warning"},
        {0, "", "Please Input SSID in Guest SSID1.", "Warning"},
        {1, " lead", "The first character can't be blank in Guest SSID2.", "Error"},
        {2, " lead", "The first character can't be blank in Guest SSID3.", "Error"},
        {0, std::string(32, 's'), "", ""},
    };
    TFM_MultiSSIDForm* f = Open();
    for (int n = 0; n < 3; ++n) f->GuestCheckBox[n]->Click();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        ui.Boxes().Clear();
        waits.clear();
        f->GuestSSIDEdit[c.guest]->SetText(c.ssid);
        Apply();
        if (*c.text) {
            ExpectBox(c.text, c.caption);
            EXPECT_TRUE(SetLog().empty());
            EXPECT_TRUE(waits.empty());
        } else {
            EXPECT_EQ(ui.Boxes().Count(), 0);
            EXPECT_EQ(dev->peek(E + Guest(c.guest, 3)), c.ssid);
            EXPECT_EQ(waits.size(), 1u);
            SetLog();
        }
        f->GuestSSIDEdit[c.guest]->SetText("Guest-" + std::to_string(c.guest + 2));
    }
}

// An enabled VLAN sends the IDs, so they must be there; without it they are
// neither sent nor checked.
TEST_F(MultiSsidForm, GroupIdMessagesWhileTheVlanIsOn) {
    struct Case {
        bool vlan;
        int edit; // -1 the master's
        const char* text;
    } cases[] = {
        {true, -1, "The 11g master SSID's ID is invalid.The range of ID is 1 to 4094."},
        {true, 0, "The 11g guest SSID1's ID is invalid.The range of ID is 1 to 4094."},
        {true, 1, "The 11g guest SSID2's ID is invalid.The range of ID is 1 to 4094."},
        {true, 2, "The 11g guest SSID3's ID is invalid.The range of ID is 1 to 4094."},
        {false, -1, ""},
        {false, 2, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        form.reset();
        dev->reset();
        Poke("2.9.1.1.1.1", c.vlan ? "1" : "0");
        SetLog();
        ui.Boxes().Clear();
        waits.clear();
        TFM_MultiSSIDForm* f = Open();
        EXPECT_EQ(f->GroupIDBox->Enabled(), c.vlan);
        EXPECT_EQ(f->GuestGroupID[2]->Enabled(), c.vlan);
        TEdit* id = c.edit < 0 ? f->GroupIDBox : f->GuestGroupID[c.edit];
        id->SetText("");
        Apply();
        if (*c.text) {
            ExpectBox(c.text, "Warning");
            EXPECT_TRUE(SetLog().empty());
        } else {
            EXPECT_EQ(ui.Boxes().Count(), 0);
            EXPECT_EQ(waits.size(), 1u);
            EXPECT_EQ(dev->peek(E + "2.9.2.1.8.1.1"), "1");
            EXPECT_EQ(dev->peek(E + "2.9.2.1.8.1.4"), "4");
        }
    }
}

// 4095 is reserved: an ID edit that still has the focus when Apply is
// pressed is checked before anything goes out, the switch to Access Point
// included.
TEST_F(MultiSsidForm, VlanIdRangeIsCheckedBeforeAnyWrite) {
    struct Case {
        const char* name;
        int edit; // -1 the master's
        const char* id;
        bool refused;
    } cases[] = {
        {"master 4095", -1, "4095", true}, {"guest 2 4095", 1, "4095", true},
        {"guest 3 0", 2, "0", true},       {"master 4094", -1, "4094", false},
        {"guest 1 4094", 0, "4094", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        form.reset();
        dev->reset();
        Poke("2.9.1.1.1.1", "1");
        Poke("2.1.1.1.1", "4");
        Poke(Guest(0, 2), "1");
        SetLog();
        ui.Boxes().Clear();
        waits.clear();
        const auto before = Snapshot(FormObjects());
        TFM_MultiSSIDForm* f = Open();
        TEdit* id = c.edit < 0 ? f->GroupIDBox : f->GuestGroupID[c.edit];
        id->SetFocus();
        id->SetText(c.id);
        Apply();
        if (c.refused) {
            ASSERT_EQ(ui.Boxes().Count(), 1);
            EXPECT_EQ(ui.Boxes().Last().text,
                      "(QvCommon) Please enter a number between 1 and 4094!");
            EXPECT_TRUE(SetLog().empty());
            EXPECT_EQ(Snapshot(FormObjects()), before);
            EXPECT_TRUE(waits.empty());
            EXPECT_EQ(f->ActiveControl(), id);
        } else {
            EXPECT_EQ(ui.Boxes().Count(), 0) << (ui.Boxes().Count() ? ui.Boxes().Last().text : "");
            EXPECT_EQ(waits.size(), 1u);
            EXPECT_EQ(dev->peek(E + (c.edit < 0 ? "2.9.2.1.8.1.1" : Guest(c.edit, 8))), "4094");
            EXPECT_EQ(dev->peek(E + "2.1.1.1.1"), "1");
        }
    }
}

TEST_F(MultiSsidForm, KeyIndexMessages) {
    struct Case {
        int master, g1, g2, g3; // key index values, 1..4
        const char* text;
    } cases[] = {
        {1, 1, 2, 3, "The 11g Guest SSID1's key index is same as master SSID"},
        {1, 2, 2, 3, "The 11g Guest SSID1's key index is same as Guest SSID2"},
        {1, 2, 3, 2, "The 11g Guest SSID1's key index is same as Guest SSID3"},
        {1, 2, 1, 3, "The 11g Guest SSID2's key index is same as master SSID"},
        {4, 2, 3, 3, "The 11g Guest SSID2's key index is same as Guest SSID3"},
        {4, 1, 3, 4, "The 11g Guest SSID3's key index is same as master SSID"},
        {1, 2, 3, 4, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        form.reset();
        dev->reset();
        Poke("2.9.2.1.6.1.1", std::to_string(c.master));
        GuestWithWep(0, "1", std::to_string(c.g1));
        GuestWithWep(1, "1", std::to_string(c.g2));
        GuestWithWep(2, "2", std::to_string(c.g3));
        SetLog();
        ui.Boxes().Clear();
        waits.clear();
        Open();
        Apply();
        if (*c.text) {
            ExpectBox(c.text, "Warning");
            EXPECT_TRUE(SetLog().empty());
        } else {
            EXPECT_EQ(ui.Boxes().Count(), 0);
            EXPECT_EQ(waits.size(), 1u);
        }
    }
}

// A guest whose encryption is off has no key index to clash.
TEST_F(MultiSsidForm, KeyIndexOfAGuestWithoutWepDoesNotCount) {
    GuestWithWep(0, "1", "2");
    Poke(Guest(1, 2), "1");
    Poke(Guest(1, 6), "2");
    TFM_MultiSSIDForm* f = Open();
    EXPECT_FALSE(f->GuestKey[1]->Enabled());
    Apply();
    EXPECT_EQ(ui.Boxes().Count(), 0);
    EXPECT_EQ(waits.size(), 1u);
    // Choosing a clashing index says so at once.
    Choose(f->GuestKey[0], "first");
    ExpectBox("The 11g Guest SSID1's key index is same as master SSID", "Warning");
}

TEST_F(MultiSsidForm, SsidClashMessages) {
    struct Case {
        std::string g1, g2, g3;
        const char* text;
    } cases[] = {
        {"Guest-1", "B", "C", "The 11g Guest SSID1's SSID is same as master SSID"},
        {"A", "A", "C", "The 11g Guest SSID1's SSID is same as SSID2's SSID"},
        {"A", "B", "A", "The 11g Guest SSID1's SSID is same as SSID3's SSID"},
        {"A", "Guest-1", "C", "The 11g Guest SSID2's SSID is same as master SSID"},
        {"A", "B", "B", "The 11g Guest SSID2's SSID is same as SSID3's SSID"},
        {"A", "B", "Guest-1", "The 11g Guest SSID3's SSID is same as master SSID"},
        {"A", "B", "C", ""},
    };
    TFM_MultiSSIDForm* f = Open();
    for (int n = 0; n < 3; ++n) f->GuestCheckBox[n]->Click();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        ui.Boxes().Clear();
        waits.clear();
        SetLog();
        f->GuestSSIDEdit[0]->SetText(c.g1);
        f->GuestSSIDEdit[1]->SetText(c.g2);
        f->GuestSSIDEdit[2]->SetText(c.g3);
        Apply();
        if (*c.text) {
            ExpectBox(c.text, "Warning");
            EXPECT_TRUE(SetLog().empty());
        } else {
            EXPECT_EQ(ui.Boxes().Count(), 0);
            EXPECT_EQ(waits.size(), 1u);
            EXPECT_EQ(dev->peek(E + Guest(2, 3)), "C");
        }
    }
}

// A guest that is off blocks nothing: neither an empty SSID nor one that
// another guest or the master uses.
TEST_F(MultiSsidForm, DisabledGuestsAreNotChecked) {
    Poke(Guest(0, 2), "1");
    Poke(Guest(0, 3), "Guest-3");
    Poke(Guest(1, 3), "Guest-3");
    Poke(Guest(2, 3), "");
    TFM_MultiSSIDForm* f = Open();
    EXPECT_TRUE(f->GuestSSIDEdit[0]->Enabled());
    EXPECT_FALSE(f->GuestSSIDEdit[1]->Enabled());
    EXPECT_FALSE(f->GuestSSIDEdit[2]->Enabled());
    Apply();
    EXPECT_EQ(ui.Boxes().Count(), 0) << (ui.Boxes().Count() ? ui.Boxes().Last().text : "");
    EXPECT_EQ(waits.size(), 1u);
    EXPECT_EQ(dev->peek(E + Guest(2, 3)), "");
    EXPECT_EQ(dev->peek(E + Guest(1, 3)), "Guest-3");
}

// Leaving a guest's SSID edit or its ID edit checks that guest alone.
TEST_F(MultiSsidForm, EachExitChecksItsOwnGuest) {
    struct Case {
        int clash; // the guest whose SSID is the master's
        int guest; // the guest whose edit is left
        bool idEdit;
        const char* text;
    } cases[] = {
        {0, 0, false, "The 11g Guest SSID1's SSID is same as master SSID"},
        {0, 0, true, "The 11g Guest SSID1's SSID is same as master SSID"},
        {1, 1, true, "The 11g Guest SSID2's SSID is same as master SSID"},
        {1, 2, true, ""},
        {2, 2, false, "The 11g Guest SSID3's SSID is same as master SSID"},
        {2, 2, true, "The 11g Guest SSID3's SSID is same as master SSID"},
        {2, 1, true, ""},
        {2, 0, false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.clash) + "/" + std::to_string(c.guest) + "/" +
                     std::to_string(c.idEdit));
        form.reset();
        dev->reset();
        Poke("2.9.1.1.1.1", "1");
        for (int n = 0; n < 3; ++n) Poke(Guest(n, 2), "1");
        Poke(Guest(c.clash, 3), "Guest-1");
        ui.Boxes().Clear();
        TFM_MultiSSIDForm* f = Open();
        TEdit* edit = c.idEdit ? f->GuestGroupID[c.guest] : f->GuestSSIDEdit[c.guest];
        ASSERT_TRUE(edit->OnExit);
        edit->OnExit(edit);
        if (*c.text) {
            ExpectBox(c.text, "Warning");
            EXPECT_EQ(f->ActiveControl(), f->GuestSSIDEdit[c.guest]);
        } else {
            EXPECT_EQ(ui.Boxes().Count(), 0);
        }
    }
}

TEST_F(MultiSsidForm, KeyLengthMessages) {
    struct Case {
        const char* type;
        const char* size;
        int guest;
        const char* text;
    } cases[] = {
        {"HEX", "64 Bits", 0, "The Length of Guest SSID1's key in IEEE802.11g must be 10!"},
        {"HEX", "128 Bits", 1, "The Length of Guest SSID2's key in IEEE802.11g must be 26!"},
        {"HEX", "152 Bits", 2, "The Length of Guest SSID3's key in IEEE802.11g must be 32!"},
        {"ASCII", "64 Bits", 0, "The Length of Guest SSID1's key in IEEE802.11g must be 5!"},
        {"ASCII", "128 Bits", 1, "The Length of Guest SSID2's key in IEEE802.11g must be 13!"},
        {"ASCII", "152 Bits", 2, "The Lengh of Guest SSID3's key in IEEE802.11g must be 16!"},
    };
    GuestWithWep(0, "1", "2");
    GuestWithWep(1, "1", "3");
    GuestWithWep(2, "1", "4");
    TFM_MultiSSIDForm* f = Open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        ui.Boxes().Clear();
        Choose(f->GuestKeyType[c.guest], c.type);
        Choose(f->GuestKeySize[c.guest], c.size);
        f->GuestKeyvalueEdit[c.guest]->SetText("abc");
        Apply();
        ExpectBox(c.text, "Warning");
        EXPECT_TRUE(SetLog().empty());
        f->GuestKeyvalueEdit[c.guest]->SetText("**********");
        Choose(f->GuestKeyType[c.guest], "HEX");
        Choose(f->GuestKeySize[c.guest], "64 Bits");
    }
    EXPECT_TRUE(waits.empty());
}

TEST_F(MultiSsidForm, KeyLengthRuleSetsTheEditLimit) {
    GuestWithWep(0, "1", "2");
    TFM_MultiSSIDForm* f = Open();
    struct Case {
        const char* type;
        const char* size;
        int max;
    } cases[] = {{"HEX", "64 Bits", 10},  {"HEX", "128 Bits", 26},  {"HEX", "152 Bits", 32},
                 {"ASCII", "64 Bits", 5}, {"ASCII", "128 Bits", 13}, {"ASCII", "152 Bits", 16}};
    for (const auto& c : cases) {
        Choose(f->GuestKeyType[0], c.type);
        Choose(f->GuestKeySize[0], c.size);
        EXPECT_EQ(f->GuestKeyvalueEdit[0]->MaxLength(), c.max) << c.type << " " << c.size;
    }
    EXPECT_EQ(f->GuestSSIDEdit[0]->MaxLength(), 32);
    EXPECT_EQ(f->GuestGroupID[2]->MaxLength(), 4);
    EXPECT_EQ(f->GroupIDBox->MaxLength(), 4);
}

TEST_F(MultiSsidForm, HexKeyWithOtherDigitsIsRefused) {
    GuestWithWep(1, "1", "3");
    TFM_MultiSSIDForm* f = Open();
    f->GuestKeyvalueEdit[1]->SetText("0123456G89");
    Apply();
    ASSERT_EQ(ui.Boxes().Count(), 1);
    EXPECT_EQ(ui.Boxes().Last().text, "Please input  Hexadecimal digits!");
    EXPECT_EQ(f->GuestKeyvalueEdit[1]->Text(), "");
    EXPECT_TRUE(SetLog().empty());
    EXPECT_TRUE(waits.empty());
}

// A key goes out only when the user typed one: not the mask, not what the
// device gave in clear, not the key of a guest whose WEP is off.
TEST_F(MultiSsidForm, KeyIsWrittenOnlyWhenChanged) {
    struct Case {
        const char* name;
        const char* deviceKey;
        bool wep;
        const char* keyType; // nullptr: leave the edit as read
        const char* typed;
        const char* written; // nullptr: the key is not sent
    } cases[] = {
        {"masked", "**********", true, nullptr, nullptr, nullptr},
        {"plain", "0123456789", true, nullptr, nullptr, nullptr},
        {"wep off", "**********", false, nullptr, nullptr, nullptr},
        {"typed hex", "**********", true, "HEX", "abcdef0123", "abcdef0123"},
        {"typed ascii", "**********", true, "ASCII", "Ab:Z!", "41623a5a21"},
        {"plain retyped", "0123456789", true, "HEX", "9876543210", "9876543210"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        form.reset();
        dev->reset();
        if (c.wep)
            GuestWithWep(1, "1", "3");
        else
            Poke(Guest(1, 2), "1");
        Poke(Guest(1, 7), c.deviceKey);
        SetLog();
        waits.clear();
        ui.Boxes().Clear();
        TFM_MultiSSIDForm* f = Open();
        EXPECT_EQ(f->GuestKeyvalueEdit[1]->Enabled(), c.wep);
        EXPECT_EQ(f->GuestKeyvalueEdit[1]->PasswordChar(), '*');
        if (c.keyType) {
            Choose(f->GuestKeyType[1], c.keyType);
            f->GuestKeyvalueEdit[1]->SetText(c.typed);
        }
        Apply();
        EXPECT_EQ(ui.Boxes().Count(), 0) << (ui.Boxes().Count() ? ui.Boxes().Last().text : "");
        EXPECT_EQ(waits.size(), 1u);
        const auto log = SetLog();
        const bool sent = std::find(log.begin(), log.end(), Guest(1, 7)) != log.end();
        EXPECT_EQ(sent, c.written != nullptr);
        EXPECT_EQ(dev->peek(E + Guest(1, 7)), c.written ? c.written : c.deviceKey);
        // The key lists start again from HEX once the write went through.
        EXPECT_EQ(f->GuestKeyType[1]->Text(), "HEX");
        // Applying again sends no key: the device holds what the edit holds.
        f->Bt_ApplyClick(nullptr);
        Idle();
        const auto again = SetLog();
        EXPECT_EQ(std::find(again.begin(), again.end(), Guest(1, 7)), again.end());
    }
}

// The master's SSID cannot be edited: without its answer nothing of it is
// sent, so the device keeps its SSID.
TEST_F(MultiSsidForm, MasterSsidIsNotWrittenUnlessRead) {
    ASSERT_TRUE(dev->fault(E + "2.9.2.1.3.1.1", "noSuchName", "get"));
    Poke(Guest(0, 2), "1");
    TFM_MultiSSIDForm* f = Open();
    EXPECT_FALSE(f->MasterRead);
    EXPECT_EQ(f->MasterSSIDEdit->Text(), "");
    Apply();
    EXPECT_EQ(ui.Boxes().Count(), 0) << (ui.Boxes().Count() ? ui.Boxes().Last().text : "");
    EXPECT_EQ(waits.size(), 1u);
    const auto log = SetLog();
    EXPECT_EQ(std::find(log.begin(), log.end(), "2.9.2.1.3.1.1"), log.end());
    EXPECT_EQ(dev->peek(E + "2.9.2.1.3.1.1"), "Guest-1");
    // Once it answers, it is written back as read.
    dev->clearFaults();
    f->Bt_RefreshClick(nullptr);
    Idle();
    EXPECT_TRUE(f->MasterRead);
    EXPECT_EQ(f->MasterSSIDEdit->Text(), "Guest-1");
    Apply();
    const auto next = SetLog();
    EXPECT_NE(std::find(next.begin(), next.end(), "2.9.2.1.3.1.1"), next.end());
    EXPECT_EQ(dev->peek(E + "2.9.2.1.3.1.1"), "Guest-1");
}

// The guests' security choice follows the master's security, which arrives
// asynchronously: the rules run when it has answered, also after Refresh.
TEST_F(MultiSsidForm, DisplayRulesFollowTheMastersAnswer) {
    struct Case {
        const char* auth;
        const char* encryption;
        bool choiceEnabled;
    } cases[] = {{"1", "0", true},  {"2", "1", true},  {"3", "0", true},
                 {"3", "1", false}, {"4", "0", false}, {"5", "1", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.auth) + "/" + c.encryption);
        form.reset();
        dev->reset();
        Poke("2.9.2.1.4.1.1", c.auth);
        Poke("2.9.2.1.5.1.1", c.encryption);
        Poke(Guest(0, 2), "1");
        TFM_MultiSSIDForm* f = Open();
        EXPECT_TRUE(f->GuestCheckBox[0]->Checked());
        EXPECT_TRUE(f->GuestSSIDEdit[0]->Enabled());
        EXPECT_EQ(f->TempComboBox[0]->Enabled(), c.choiceEnabled);
        EXPECT_FALSE(f->GuestSSIDEdit[1]->Enabled());
    }
    // A changed master security shows after Refresh.
    Poke("2.9.2.1.4.1.1", "1");
    form->Bt_RefreshClick(nullptr);
    Idle();
    EXPECT_TRUE(form->TempComboBox[0]->Enabled());
}

TEST_F(MultiSsidForm, SecurityChoiceDrivesEncryptionAndKeys) {
    Poke(Guest(0, 2), "1");
    TFM_MultiSSIDForm* f = Open();
    EXPECT_EQ(f->TempComboBox[0]->Text(), "None");
    EXPECT_FALSE(f->GuestKeyvalueEdit[0]->Enabled());
    Choose(f->TempComboBox[0], "Shared Key");
    EXPECT_EQ(f->GuestSecurity[0]->Text(), "Shared Key");
    EXPECT_EQ(f->EnableEncryption[0]->Text(), "enabled");
    EXPECT_TRUE(f->GuestKeyvalueEdit[0]->Enabled());
    EXPECT_TRUE(f->GuestKey[0]->Enabled());
    f->GuestKey[0]->SetItemIndex(2);
    f->GuestKeyvalueEdit[0]->SetText("00112233AA");
    Apply();
    EXPECT_EQ(ui.Boxes().Count(), 0) << (ui.Boxes().Count() ? ui.Boxes().Last().text : "");
    EXPECT_EQ(dev->peek(E + Guest(0, 4)), "2");
    EXPECT_EQ(dev->peek(E + Guest(0, 5)), "1");
    EXPECT_EQ(dev->peek(E + Guest(0, 6)), "3");
    EXPECT_EQ(dev->peek(E + Guest(0, 7)), "00112233AA");
    SetLog();
    Choose(f->TempComboBox[0], "None");
    EXPECT_EQ(f->EnableEncryption[0]->Text(), "disabled");
    EXPECT_FALSE(f->GuestKeyvalueEdit[0]->Enabled());
    Apply();
    EXPECT_EQ(dev->peek(E + Guest(0, 5)), "0");
    // With WEP off only the state, SSID and encryption go out.
    EXPECT_EQ(SetLog(), (std::vector<std::string>{"2.1.1.1.1", "2.3.1.11.1", "2.9.1.1.1.0",
                                                  "2.9.2.1.3.1.1", "2.9.2.1.2.1.2",
                                                  "2.9.2.1.3.1.2", "2.9.2.1.5.1.2",
                                                  "2.9.2.1.2.1.3", "2.9.2.1.2.1.4"}));
}

TEST_F(MultiSsidForm, AGuestOrTheVlanSwitchesToAccessPointWithoutSuperG) {
    struct Case {
        bool vlan;
        int guest; // -1 none
        bool switched;
    } cases[] = {{false, 0, true}, {false, 2, true}, {true, -1, true}, {false, -1, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.vlan) + "/" + std::to_string(c.guest));
        form.reset();
        dev->reset();
        Poke("2.1.1.1.1", "4");
        Poke("2.3.1.11.0", "1");
        waits.clear();
        TFM_MultiSSIDForm* f = Open();
        if (c.vlan) f->CheckBox1->Click();
        if (c.guest >= 0) f->GuestCheckBox[c.guest]->Click();
        Apply();
        EXPECT_EQ(ui.Boxes().Count(), 0) << (ui.Boxes().Count() ? ui.Boxes().Last().text : "");
        EXPECT_EQ(waits.size(), 1u);
        EXPECT_EQ(dev->peek(E + "2.1.1.1.1"), c.switched ? "1" : "4");
        EXPECT_EQ(dev->peek(E + "2.3.1.11.0"), c.switched ? "4" : "1");
        EXPECT_EQ(dev->peek(E + "2.9.1.1.1.1"), c.vlan ? "1" : "0");
        if (c.guest >= 0) {
            EXPECT_EQ(dev->peek(E + Guest(c.guest, 2)), "1");
        }
    }
}

// Asynchronous writes too must go through before success is said: the first
// refused write ends the Apply with its text, no waiting dialog, and nothing
// after it is sent.
TEST_F(MultiSsidForm, ARefusedWriteShowsNoSuccess) {
    struct Case {
        const char* oid;
        const char* lastSent; // the last OID the device took, "" none
    } cases[] = {
        {"2.1.1.1.1", ""},                  // AP mode, asynchronous
        {"2.9.1.1.1.0", "2.3.1.11.1"},      // VLAN state, synchronous
        {"2.9.2.1.3.1.1", "2.9.1.1.1.0"},   // master SSID, asynchronous
        {"2.9.2.1.3.1.3", "2.9.2.1.5.1.2"}, // guest 2, synchronous
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.oid);
        form.reset();
        dev->clearFaults();
        dev->reset();
        for (int n = 0; n < 3; ++n) Poke(Guest(n, 2), "1");
        SetLog();
        waits.clear();
        ui.Boxes().Clear();
        TFM_MultiSSIDForm* f = Open();
        ASSERT_TRUE(dev->fault(E + c.oid, "badValue", "set"));
        Apply();
        EXPECT_TRUE(waits.empty());
        EXPECT_EQ(Status(f->StatusBar1), "Set Error.");
        EXPECT_EQ(ui.Boxes().Count(), 1);
        const auto log = SetLog();
        if (*c.lastSent) {
            ASSERT_FALSE(log.empty());
            EXPECT_EQ(log.back(), c.lastSent);
        } else {
            EXPECT_TRUE(log.empty());
        }
        // Closing is allowed after the failure.
        f->Bt_CloseClick(nullptr);
    }
}

// A guest entry that cannot be read leaves its controls empty; the form
// still opens, shows the rest, and closes.
TEST_F(MultiSsidForm, AFailedReadLeavesTheControlsAndTheFormCloses) {
    ASSERT_TRUE(dev->fault(E + Guest(1, 3), "noSuchName", "get"));
    TFM_MultiSSIDForm::RegisterOpener();
    main->NewMultiSupport->SetText("0");
    bool shown = false;
    ui.NextModal([&](TForm* f) {
        auto* m = dynamic_cast<TFM_MultiSSIDForm*>(f);
        ASSERT_NE(m, nullptr);
        QvWaitWhile([m] { return m->MasterReading() || m->ApSuperGGroup->busy; }, 8000);
        shown = true;
        EXPECT_EQ(m->GuestSSIDEdit[0]->Text(), "Guest-2");
        EXPECT_EQ(m->GuestSSIDEdit[1]->Text(), "");
        EXPECT_EQ(m->GuestSSID[1]->ItemIndex(), -1);
        EXPECT_FALSE(m->GuestCheckBox[1]->Checked());
        EXPECT_EQ(m->MasterSSIDEdit->Text(), "Guest-1");
        m->Bt_CloseClick(nullptr);
    });
    main->Ad_MultiSSID->Click();
    EXPECT_TRUE(shown);
    EXPECT_EQ(ui.ModalTimeouts(), 0);
    EXPECT_EQ(FM_MultiSSIDForm, nullptr);
}

// A group that could not be read holds nothing of the device's: its check
// box cannot be changed and an unchanged Apply leaves it as the device has
// it, instead of writing it as disabled.
TEST_F(MultiSsidForm, AGroupThatFailedItsReadIsNotWritten) {
    struct Case {
        const char* name;
        std::string faulted; // read fails below this OID
        int guest;           // the guest whose group fails, -1 the VLAN state
        std::vector<std::string> untouched;
    } cases[] = {
        {"vlan state", "2.9.1.1.1.0", -1, {"2.9.1.1.1.0", "2.9.1.1.1.1"}},
        {"guest 2", Guest(1, 3), 1, {Guest(1, 2), Guest(1, 3), Guest(1, 8)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        form.reset();
        dev->clearFaults();
        dev->reset();
        Poke("2.9.1.1.1.1", "1");
        for (int n = 0; n < 3; ++n) Poke(Guest(n, 2), "1");
        SetLog();
        ui.Boxes().Clear();
        waits.clear();
        const auto before = Snapshot(FormObjects());
        ASSERT_TRUE(dev->fault(E + c.faulted, "noSuchName", "get"));
        TFM_MultiSSIDForm* f = Open();
        dev->clearFaults();
        TCheckBox* box = c.guest < 0 ? f->CheckBox1 : f->GuestCheckBox[c.guest];
        EXPECT_FALSE(box->Enabled());
        EXPECT_FALSE(box->Checked());
        if (c.guest >= 0) {
            EXPECT_FALSE(f->GuestGroupID[c.guest]->Enabled());
        }
        Apply();
        const auto log = SetLog();
        for (const auto& oid : c.untouched)
            EXPECT_EQ(std::find(log.begin(), log.end(), oid), log.end()) << oid;
        EXPECT_EQ(Snapshot(FormObjects()), before);
        // A Refresh that succeeds gives the box back.
        f->Bt_RefreshClick(nullptr);
        Idle();
        EXPECT_TRUE(box->Enabled());
        EXPECT_TRUE(box->Checked());
    }
}

// Ticking a guest forces Access Point with Super G off: the form sets both
// values itself, so they go out even when their read failed.
TEST_F(MultiSsidForm, TheSwitchToAccessPointNeedsNoRead) {
    Poke("2.1.1.1.1", "4");
    ASSERT_TRUE(dev->fault(E + "2.1.1.1.1", "noSuchName", "get"));
    TFM_MultiSSIDForm* f = Open();
    dev->clearFaults();
    f->GuestCheckBox[1]->Click();
    Apply();
    EXPECT_EQ(ui.Boxes().Count(), 0) << (ui.Boxes().Count() ? ui.Boxes().Last().text : "");
    EXPECT_EQ(waits.size(), 1u);
    EXPECT_EQ(dev->peek(E + "2.1.1.1.1"), "1");
    EXPECT_EQ(dev->peek(E + "2.3.1.11.0"), "4");
    EXPECT_EQ(dev->peek(E + Guest(1, 2)), "1");
}

// An ASCII key stays in its edit as typed when a write is refused, so the
// next Apply passes the same checks and sends it in hexadecimal.
TEST_F(MultiSsidForm, AsciiKeyKeepsItsTextAfterARefusedWrite) {
    GuestWithWep(0, "1", "2");
    TFM_MultiSSIDForm* f = Open();
    Choose(f->GuestKeyType[0], "ASCII");
    f->GuestKeyvalueEdit[0]->SetText("Ab:Z!");
    ASSERT_TRUE(dev->fault(E + Guest(0, 7), "badValue", "set"));
    Apply();
    EXPECT_TRUE(waits.empty());
    EXPECT_EQ(Status(f->StatusBar1), "Set Error.");
    EXPECT_EQ(f->GuestKeyType[0]->Text(), "ASCII");
    EXPECT_EQ(f->GuestKeyvalueEdit[0]->Text(), "Ab:Z!");
    EXPECT_EQ(dev->peek(E + Guest(0, 7)), "**********");
    dev->clearFaults();
    ui.Boxes().Clear();
    Apply();
    EXPECT_EQ(ui.Boxes().Count(), 0) << (ui.Boxes().Count() ? ui.Boxes().Last().text : "");
    EXPECT_EQ(waits.size(), 1u);
    EXPECT_EQ(dev->peek(E + Guest(0, 7)), "41623a5a21");
    // After success the edit shows the key as the device holds it, under HEX.
    EXPECT_EQ(f->GuestKeyType[0]->Text(), "HEX");
    EXPECT_EQ(f->GuestKeyvalueEdit[0]->Text(), "41623a5a21");
}

TEST_F(MultiSsidForm, RefreshShowsTheDeviceAgain) {
    TFM_MultiSSIDForm* f = Open();
    EXPECT_FALSE(f->GuestCheckBox[2]->Checked());
    GuestWithWep(2, "2", "4");
    Poke(Guest(2, 7), std::string(26, '*'));
    Poke("2.9.1.1.1.1", "1");
    f->Bt_RefreshClick(nullptr);
    Idle();
    EXPECT_TRUE(f->CheckBox1->Checked());
    EXPECT_TRUE(f->GuestGroupID[0]->Enabled());
    EXPECT_TRUE(f->GuestCheckBox[2]->Checked());
    EXPECT_EQ(f->TempComboBox[2]->Text(), "Shared Key");
    EXPECT_EQ(f->GuestKey[2]->Text(), "fourth");
    EXPECT_EQ(f->GuestKeySize[2]->Text(), "128 Bits");
    EXPECT_EQ(f->GuestKeyvalueEdit[2]->MaxLength(), 26);
    EXPECT_TRUE(f->GuestKeyvalueEdit[2]->Enabled());
    EXPECT_TRUE(SetLog().empty());
}

} // namespace
