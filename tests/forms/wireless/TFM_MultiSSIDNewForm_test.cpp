// Advanced \ Multi-SSID (eight SSIDs per band) against the simulated device:
// the entries as the device holds them, every message of Save with its exact
// text, the two-stage save of an entry, Apply with success only after both
// writes, and a form that can always be closed once nothing is outstanding.
#include "forms/wireless/TFM_MultiSSIDNewForm.h"

#include "binding/QvSNMPRequest2Edits.h"
#include "binding/QvWaitIdle.h"
#include "ui/ListView.h"
#include "ui/Menu.h"
#include "tests/forms/admin/admin_fixture.h"

#include <algorithm>
#include <functional>
#include <memory>

namespace {

using admintest::AdminFormTest;

const std::string kAp = "qvEnterprise.11.37.4.";
const std::string kRow = "2.9.2.1.";

std::string Cell(int column, int entry) {
    return kRow + std::to_string(column) + ".1." + std::to_string(entry + 1);
}

// Every object the form reads or writes.
std::vector<std::string> FormObjects() {
    std::vector<std::string> out = {"2.9.3.1.1.0", "2.9.1.1.1.0", "2.9.4.1.1.1", "2.5.1.1.6.0",
                                    "2.5.2.3.0",   "2.5.2.4.0",   "2.5.2.5.0",   "2.1.1.1.1",
                                    "2.3.1.11.1",  "2.5.1.1.9.1", "2.5.1.1.10.1", "2.5.1.1.8.1"};
    for (int e = 0; e < 8; ++e)
        for (int c : {2, 3, 4, 5, 6, 7, 8, 11, 12, 13, 14, 18})
            out.push_back(Cell(c, e));
    return out;
}

class MultiSsidNewForm : public AdminFormTest {
protected:
    void SetUp() override {
        AdminFormTest::SetUp();
        if (HasFatalFailure()) return;
        Prepare();
    }
    void Prepare() {
        // Multi-SSID on: the primary, a WEP entry on key slot 2 and a WPA-PSK one.
        Poke("2.9.3.1.1.0", "1");
        Poke(Cell(2, 0), "1");
        Poke(Cell(3, 0), "LMR-Lab");
        Poke(Cell(2, 1), "1");
        Poke(Cell(5, 1), "1");
        Poke(Cell(6, 1), "2");
        Poke(Cell(2, 2), "1");
        Poke(Cell(4, 2), "4");
        Poke(Cell(5, 2), "1");
        dev->takeSetLog();
    }
    void TearDown() override {
        form.reset();
        AdminFormTest::TearDown();
    }
    void Poke(const std::string& oid, const std::string& value) {
        ASSERT_TRUE(dev->poke(kAp + oid, value)) << oid;
    }
    std::string Peek(const std::string& oid) { return dev->peek(kAp + oid).value_or("(absent)"); }

    TFM_MultiSSIDNewForm* Open() {
        form.reset(NewForm<TFM_MultiSSIDNewForm>(Application));
        EXPECT_TRUE(Idle());
        return form.get();
    }
    // Runs the loop until no table operation, save or Apply is outstanding.
    bool Idle() {
        return QvWaitWhile([this] { return form->Outstanding(); }, 20000);
    }
    void Choose(TComboBox* c, const std::string& text) {
        const int i = c->Items().IndexOf(text);
        ASSERT_GE(i, 0) << text;
        c->ChooseItem(i);
    }
    void Entry(int entry) {
        form->CB_Idx->ChooseItem(entry);
        ASSERT_EQ(form->CB_Idx->ItemIndex(), entry);
    }
    void Save() {
        form->SaveButtonClick(nullptr);
        Idle();
    }
    std::string Panel() { return form->StatusBar1->Panels()[0]->Text(); }
    // The status text as each write of the table completes.
    void WatchPanels() {
        auto done = form->SsidTable->OnWriteDone;
        form->SsidTable->OnWriteDone = [this, done](QvSNMPRequest2Controls* s, QvSNMPError* e) {
            done(s, e);
            panels.push_back(Panel());
        };
    }
    std::vector<std::string> panels;
    std::vector<std::string> Texts() { return ui.Boxes().Texts(); }

    std::unique_ptr<TFM_MultiSSIDNewForm> form;
};

TEST_F(MultiSsidNewForm, ShowsTheEnabledEntries) {
    TFM_MultiSSIDNewForm* f = Open();
    EXPECT_EQ(Panel(), "Get OK!");
    EXPECT_TRUE(f->TableRead);
    EXPECT_TRUE(f->IfEnabMuSSID->Checked());
    EXPECT_TRUE(f->PrioritySupported);
    EXPECT_TRUE(f->AccountSupported);
    EXPECT_TRUE(f->CB_WMM->Visible()); // the device has the broadcast and WMM columns
    EXPECT_EQ(f->MulSSIDListView->Items().Count(), 8);
    const TListItems& rows = f->LV_MultiSSID_User->Items();
    ASSERT_EQ(rows.Count(), 3);
    const char* expect[3][5] = {{"Primary", "LMR-Lab", "OFF", "OFF", "11g"},
                                {"Multi-SSID1", "Guest-2", "WEP", "OFF", "11g"},
                                {"Multi-SSID2", "Guest-3", "WPA-PSK", "OFF", "11g"}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 5; ++c) EXPECT_EQ(rows[r]->ColumnText(c), expect[r][c]) << r << c;
    // The primary takes only its VLAN tag from here.
    EXPECT_FALSE(f->Ed_SSID->Enabled());
    EXPECT_FALSE(f->CB_SecShow->Enabled());
    EXPECT_EQ(f->CB_SecShow->Text(), "None");
    EXPECT_EQ(ui.Boxes().Count(), 0);

    Entry(2);
    EXPECT_EQ(f->Ed_SSID->Text(), "Guest-3");
    EXPECT_EQ(f->CB_Sec->Text(), "WPA-PSK");
    EXPECT_TRUE(f->GP_PSK->Visible());
    EXPECT_EQ(f->GP_PSK->Caption(), "PassPhrase Settings");
    EXPECT_FALSE(f->GP_KeySetting->Visible());
    EXPECT_EQ(f->Ed_PassPhrase->Text(), "guest-passphrase");
    Grab(f, "multissid-new-psk.png");
    Entry(1);
    EXPECT_EQ(f->CB_Sec->Text(), "Open System");
    EXPECT_TRUE(f->GP_KeySetting->Visible());
    EXPECT_EQ(f->CB_KeySize->Text(), "64 Bits");
    EXPECT_EQ(f->Ed_KeyValue->Text(), "**********");
    // Entry 2 uses WPA, so slots 2 and 3 are not offered.
    EXPECT_TRUE(f->WpaInUse);
    EXPECT_EQ(f->CB_IdxTmp->Items().Count(), 2);
    Grab(f, "multissid-new-wep.png");
    // A click on the visible list chooses its entry.
    f->LV_MultiSSID_User->ClickItem(rows[2]);
    EXPECT_EQ(f->CB_Idx->ItemIndex(), 2);
    EXPECT_TRUE(f->DelButton->Enabled());
    f->LV_MultiSSID_User->ClickItem(rows[0]);
    EXPECT_EQ(f->CB_Idx->ItemIndex(), 0);
    EXPECT_FALSE(f->DelButton->Enabled());
}

TEST_F(MultiSsidNewForm, RoundTripKeepsWhatTheDeviceHeld) {
    const auto before = Snapshot(FormObjects());
    TFM_MultiSSIDNewForm* f = Open();
    Grab(f, "multissid-new.png");
    f->ApplyBtnClick(nullptr);
    Idle();
    EXPECT_EQ(SetLog(), (std::vector<std::string>{"2.9.3.1.1.0", "2.9.1.1.1.0"}));
    EXPECT_EQ(Snapshot(FormObjects()), before);
    EXPECT_EQ(Panel(), "Setting success!");
    ASSERT_EQ(waits.size(), 1u);
    EXPECT_EQ(waits[0].rebootFlag, 1);
    EXPECT_EQ(ui.Boxes().Count(), 0);
    EXPECT_TRUE(f->CloseQuery());
}

// Saving an entry unchanged writes the shared settings, then the SSID, then
// the chosen columns, and the device keeps what it held.
TEST_F(MultiSsidNewForm, SaveOfAnUnchangedEntryKeepsTheDevice) {
    Poke(Cell(6, 1), "1"); // the WEP entry on slot 1: no slot warning
    const auto before = Snapshot(FormObjects());
    Open();
    Entry(2);
    WatchPanels();
    SetLog();
    Save();
    EXPECT_EQ(Texts(), std::vector<std::string>{});
    EXPECT_EQ(panels, (std::vector<std::string>{"Save Multi-SSID...!", "Save Multi-SSID complete!"}));
    EXPECT_EQ(Panel(), "Get OK!");
    const std::string e = ".1.3";
    EXPECT_EQ(SetLog(), (std::vector<std::string>{
                            "2.9.4.1.1.1", "2.9.3.1.1.0", "2.9.1.1.1.0", "2.5.1.1.6.0",
                            kRow + "3" + e, kRow + "2" + e, kRow + "3" + e, kRow + "4" + e,
                            kRow + "5" + e, kRow + "8" + e, kRow + "11" + e, kRow + "12" + e,
                            kRow + "14" + e, kRow + "18" + e}));
    EXPECT_EQ(Snapshot(FormObjects()), before);
    EXPECT_TRUE(form->TableRead);
    EXPECT_TRUE(form->CloseQuery());

    // The primary: the two states and its VLAN tag.
    Entry(0);
    panels.clear();
    Save();
    EXPECT_EQ(panels, std::vector<std::string>{"Save Multi-SSID complete!"});
    EXPECT_EQ(SetLog(),
              (std::vector<std::string>{"2.9.3.1.1.0", "2.9.1.1.1.0", kRow + "8.1.1"}));
    EXPECT_EQ(Snapshot(FormObjects()), before);
}

TEST_F(MultiSsidNewForm, SavedEntryChangesReachTheDevice) {
    Open();
    Entry(3);
    form->Ed_SSID->SetText("Visitors");
    Choose(form->CB_SecShow, "WPA2-PSK");
    EXPECT_TRUE(form->GP_PSK->Visible());
    form->Ed_PassPhrase->SetText("visitor-pass");
    Save();
    EXPECT_EQ(Panel(), "Get OK!");
    EXPECT_EQ(Peek(Cell(2, 3)), "1");
    EXPECT_EQ(Peek(Cell(3, 3)), "Visitors");
    EXPECT_EQ(Peek(Cell(4, 3)), "6");
    EXPECT_EQ(Peek(Cell(5, 3)), "1");
    EXPECT_EQ(Peek(Cell(12, 3)), "visitor-pass");
    ASSERT_EQ(form->LV_MultiSSID_User->Items().Count(), 4);
    EXPECT_EQ(form->LV_MultiSSID_User->Items()[3]->ColumnText(0), "Multi-SSID3");
    EXPECT_EQ(form->LV_MultiSSID_User->Items()[3]->ColumnText(2), "WPA2-PSK");

    // An ASCII key goes out as lower-case hexadecimal, two digits a character.
    ui.Boxes().Clear();
    SetLog();
    Entry(4);
    Choose(form->CB_SecShow, "Shared Key");
    Choose(form->CB_KeyType, "ASCII");
    form->Ed_KeyValue->SetText("Ab:Z!");
    Save();
    EXPECT_EQ(Texts(), std::vector<std::string>{});
    EXPECT_EQ(Peek(Cell(7, 4)), "41623a5a21");
    EXPECT_EQ(Peek(Cell(13, 4)), "1");
    EXPECT_EQ(Peek(Cell(4, 4)), "2");

    // Delete turns the entry off and nothing else.
    SetLog();
    WatchPanels();
    TListItem* row = form->LV_MultiSSID_User->Items()[3];
    form->LV_MultiSSID_User->ClickItem(row);
    form->DelButtonClick(nullptr);
    EXPECT_EQ(Panel(), "Deleting...");
    Idle();
    EXPECT_EQ(SetLog(), std::vector<std::string>{Cell(2, 3)});
    EXPECT_EQ(Peek(Cell(2, 3)), "0");
    EXPECT_EQ(panels, std::vector<std::string>{"Save Multi-SSID complete!"});
    // The primary cannot be deleted.
    form->LV_MultiSSID_User->ClickItem(form->LV_MultiSSID_User->Items()[0]);
    form->DelButtonClick(nullptr);
    Idle();
    EXPECT_TRUE(SetLog().empty());
}

// Every refusal of Save with its text and caption; nothing is written, the
// priority state included.
TEST_F(MultiSsidNewForm, SaveMessagesWriteNothing) {
    struct Case {
        const char* name;
        int entry;
        std::function<void(TFM_MultiSSIDNewForm*)> change;
        const char* text;
        const char* caption;
    };
    auto wep = [this](const char* type, const char* size, const char* key) {
        return [this, type, size, key](TFM_MultiSSIDNewForm* f) {
            Choose(f->CB_KeyType, type);
            Choose(f->CB_KeySize, size);
            f->Ed_KeyValue->SetText(key);
        };
    };
    const Case cases[] = {
        {"vlan id", 1,
         [](TFM_MultiSSIDNewForm* f) {
             f->CB_VLanState->SetChecked(true);
             f->Ed_WLANID->SetText("");
         },
         "Please input VLAN ID!", "Warning"},
        {"ssid empty", 1, [](TFM_MultiSSIDNewForm* f) { f->Ed_SSID->SetText(""); },
         "Please input SSID!", "Warning"},
        {"ssid blank", 1, [](TFM_MultiSSIDNewForm* f) { f->Ed_SSID->SetText(" lab"); },
         "The first character can't be blank!", "Warning"},
        {"ssid long", 1,
         [](TFM_MultiSSIDNewForm* f) {
             f->Ed_SSID->SetMaxLength(0);
             f->Ed_SSID->SetText(std::string(33, 's'));
         },
         "The Max Length of SSID is 32!", "Warning"},
        {"group key", 2, [](TFM_MultiSSIDNewForm* f) { f->Ed_GrpKey->SetText(""); },
         "Please input a number between 300 and 9999999.", "Warning"},
        {"passphrase short", 2,
         [](TFM_MultiSSIDNewForm* f) { f->Ed_PassPhrase->SetText("seven77"); },
         "The length of 802.11g PassPhrase is between 8 and 63.", "Error"},
        {"same as primary", 2, [](TFM_MultiSSIDNewForm* f) { f->Ed_SSID->SetText("LMR-Lab"); },
         "The 11g Multi-SSID 2's SSID is same as Primary SSID", "Warning"},
        {"same as entry", 2, [](TFM_MultiSSIDNewForm* f) { f->Ed_SSID->SetText("Guest-2"); },
         "The 11g Multi-SSID 2's SSID is same as Multi-SSID 1", "Warning"},
        {"hex 64", 1, wep("HEX", "64 Bits", "0123"), "The Length of key value must be 10!",
         "Warning"},
        {"hex 128", 1, wep("HEX", "128 Bits", "0123"), "The Length of key value must be 26!",
         "Warning"},
        {"hex 152", 1, wep("HEX", "152 Bits", "0123"), "The Length of key value must be 32!",
         "Warning"},
        {"ascii 64", 1, wep("ASCII", "64 Bits", "ab"), "The Length of key value must be 5!",
         "Warning"},
        {"ascii 128", 1, wep("ASCII", "128 Bits", "ab"), "The Length of key value must be 13!",
         "Warning"},
        {"ascii 152", 1, wep("ASCII", "152 Bits", "ab"), "The Lengh of key value must be 16!",
         "Warning"},
        {"hex digits", 1, wep("HEX", "64 Bits", "0123456G89"), "Please input  Hexadecimal digits!",
         "LMR-7300AP"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        form.reset();
        dev->reset();
        Prepare();
        Open();
        Entry(c.entry);
        c.change(form.get());
        ui.Boxes().Clear();
        Save();
        ASSERT_EQ(ui.Boxes().Count(), 1) << (Texts().empty() ? "" : Texts()[0]);
        EXPECT_EQ(ui.Boxes().Last().text, c.text);
        if (std::string(c.caption) != "LMR-7300AP") {
            EXPECT_EQ(ui.Boxes().Last().caption, c.caption);
        }
        EXPECT_TRUE(SetLog().empty());
        EXPECT_TRUE(form->CloseQuery());
    }
    // The refused digits are gone from the key edit.
    EXPECT_EQ(form->Ed_KeyValue->Text(), "");
}

// Save pressed while an edit still has the focus: its range is checked
// before the first write, the shared settings included.
TEST_F(MultiSsidNewForm, RangesAreCheckedBeforeAnyWrite) {
    struct Case {
        const char* name;
        int entry;
        bool vlan;
        TEdit* TFM_MultiSSIDNewForm::*edit;
        const char* text;
        const char* message; // "" passes
    } cases[] = {
        {"vlan 4095", 2, true, &TFM_MultiSSIDNewForm::Ed_WLANID, "4095",
         "(QvCommon) Please enter a number between 1 and 4094!"},
        {"primary vlan 4095", 0, true, &TFM_MultiSSIDNewForm::Ed_WLANID, "4095",
         "(QvCommon) Please enter a number between 1 and 4094!"},
        {"interval 299", 2, false, &TFM_MultiSSIDNewForm::Ed_GrpKey, "299",
         "(QvCommon) Please enter a number between 300 and 9999999!"},
        {"interval 10000000", 2, false, &TFM_MultiSSIDNewForm::Ed_GrpKey, "10000000",
         "(QvCommon) Please enter a number between 300 and 9999999!"},
        {"vlan 4094", 2, true, &TFM_MultiSSIDNewForm::Ed_WLANID, "4094", ""},
        {"interval 300", 2, false, &TFM_MultiSSIDNewForm::Ed_GrpKey, "300", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        form.reset();
        dev->reset();
        Prepare();
        Poke(Cell(6, 1), "1"); // no slot warning
        if (c.vlan) Poke("2.9.1.1.1.1", "1");
        const auto before = Snapshot(FormObjects());
        Open();
        Entry(c.entry);
        TEdit* edit = form.get()->*c.edit;
        ASSERT_TRUE(edit->Enabled());
        edit->SetMaxLength(0);
        edit->SetFocus();
        edit->SetText(c.text);
        ui.Boxes().Clear();
        SetLog();
        Save();
        if (*c.message) {
            EXPECT_EQ(Texts(), std::vector<std::string>{c.message});
            EXPECT_TRUE(SetLog().empty());
            EXPECT_EQ(Snapshot(FormObjects()), before);
            EXPECT_EQ(form->ActiveControl(), edit);
        } else {
            EXPECT_EQ(Texts(), std::vector<std::string>{});
            EXPECT_EQ(Panel(), "Get OK!");
            EXPECT_EQ(Peek(c.vlan ? Cell(8, c.entry) : "2.5.1.1.6.0"), c.text);
        }
        EXPECT_TRUE(form->CloseQuery());
    }
}

// The longest SSID and passphrase pass, one character more does not.
TEST_F(MultiSsidNewForm, LengthLimits) {
    struct Case {
        const char* name;
        int entry;
        TEdit* TFM_MultiSSIDNewForm::*edit;
        size_t length;
        int column;          // where the text goes when it passes
        const char* message; // "" passes
    } cases[] = {
        {"ssid 32", 1, &TFM_MultiSSIDNewForm::Ed_SSID, 32, 3, ""},
        {"ssid 33", 1, &TFM_MultiSSIDNewForm::Ed_SSID, 33, 3, "The Max Length of SSID is 32!"},
        {"passphrase 63", 2, &TFM_MultiSSIDNewForm::Ed_PassPhrase, 63, 12, ""},
        {"passphrase 64", 2, &TFM_MultiSSIDNewForm::Ed_PassPhrase, 64, 12,
         "The length of 802.11g PassPhrase is between 8 and 63."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        form.reset();
        dev->reset();
        Prepare();
        Poke(Cell(6, 1), "1"); // no slot warning
        const std::string before = Peek(Cell(c.column, c.entry));
        Open();
        Entry(c.entry);
        TEdit* edit = form.get()->*c.edit;
        edit->SetMaxLength(0);
        const std::string text(c.length, 'n');
        edit->SetText(text);
        ui.Boxes().Clear();
        SetLog();
        Save();
        if (*c.message) {
            EXPECT_EQ(Texts(), std::vector<std::string>{c.message});
            EXPECT_TRUE(SetLog().empty());
            EXPECT_EQ(Peek(Cell(c.column, c.entry)), before);
        } else {
            EXPECT_EQ(Texts(), std::vector<std::string>{});
            EXPECT_EQ(Peek(Cell(c.column, c.entry)), text);
        }
    }
}

// The passphrase is a secret like the key: never shown.
TEST_F(MultiSsidNewForm, SecretsAreMasked) {
    Open();
    EXPECT_EQ(form->Ed_PassPhrase->PasswordChar(), '*');
    EXPECT_EQ(form->Ed_KeyValue->PasswordChar(), '*');
    EXPECT_EQ(form->Ed_RadiusSec->PasswordChar(), '*');
}

// An ASCII key stays in its edit as typed when the row write is refused: the
// next Save passes the same length check and sends it in hexadecimal.
TEST_F(MultiSsidNewForm, AsciiKeyKeepsItsTextAfterARefusedWrite) {
    Poke(Cell(6, 1), "1");
    Open();
    Entry(1);
    Choose(form->CB_KeyType, "ASCII");
    form->Ed_KeyValue->SetText("Ab:Z!");
    ASSERT_TRUE(dev->fault(kAp + Cell(7, 1), "badValue", "set"));
    Save();
    EXPECT_NE(Panel(), "Get OK!");
    EXPECT_EQ(form->CB_KeyType->Text(), "ASCII");
    EXPECT_EQ(form->Ed_KeyValue->Text(), "Ab:Z!");
    EXPECT_EQ(Peek(Cell(7, 1)), "**********");
    dev->clearFaults();
    ui.Boxes().Clear();
    Save();
    EXPECT_EQ(Texts(), std::vector<std::string>{});
    EXPECT_EQ(Panel(), "Get OK!");
    EXPECT_EQ(Peek(Cell(7, 1)), "41623a5a21");
    EXPECT_EQ(Peek(Cell(13, 1)), "1");
}

// Without the device's table the entry controls hold nothing: Save is
// greyed and writes nothing, the states included.
TEST_F(MultiSsidNewForm, NoSaveWithoutTheTable) {
    Open();
    form->SsidTable->request.Timeout = 30;
    form->SsidTable->request.Retries = 0;
    ASSERT_TRUE(dev->fault(kAp + "2.9.2.1.2", "timeout", "get", 1500));
    Save(); // the primary: states, its VLAN tag, then the re-read that fails
    dev->clearFaults();
    ASSERT_TRUE(dev->waitUntilAnswering());
    ASSERT_TRUE(form->SsidTable->ReadFailed());
    EXPECT_FALSE(form->SaveButton->Enabled());
    form->CB_Idx->ChooseItem(2);
    EXPECT_FALSE(form->SaveButton->Enabled());
    EXPECT_FALSE(form->Ed_SSID->Enabled());
    const auto before = Snapshot(FormObjects());
    SetLog();
    ui.Boxes().Clear();
    Save();
    EXPECT_TRUE(SetLog().empty());
    EXPECT_EQ(Snapshot(FormObjects()), before);
    EXPECT_FALSE(Panel().empty());
    EXPECT_TRUE(form->CloseQuery());
}

// A masked ASCII key shows as a mask of its characters and is not written.
TEST_F(MultiSsidNewForm, MaskedAsciiKeyStaysAMask) {
    Poke(Cell(13, 1), "1"); // ASCII
    Poke(Cell(6, 1), "1");
    Open();
    Entry(1);
    EXPECT_EQ(form->CB_KeyType->Text(), "ASCII");
    EXPECT_EQ(form->Ed_KeyValue->Text(), "*****");
    Save();
    EXPECT_EQ(Texts(), std::vector<std::string>{});
    const auto log = SetLog();
    EXPECT_NE(std::find(log.begin(), log.end(), Cell(6, 1)), log.end());
    EXPECT_EQ(std::find(log.begin(), log.end(), Cell(7, 1)), log.end());
    EXPECT_EQ(Peek(Cell(7, 1)), "**********");
}

// An SSID equal to that of a disabled entry is free; a key of the right
// length is taken.
TEST_F(MultiSsidNewForm, AcceptedInput) {
    Open();
    Entry(1);
    form->Ed_SSID->SetText("Guest-5"); // entry 4, disabled
    Choose(form->CB_KeySize, "128 Bits");
    form->Ed_KeyValue->SetText("0123456789abcdef0123456789");
    Save();
    EXPECT_EQ(Texts(), std::vector<std::string>{});
    EXPECT_EQ(Peek(Cell(3, 1)), "Guest-5");
    EXPECT_EQ(Peek(Cell(7, 1)), "0123456789abcdef0123456789");
}

// A WEP entry on a slot that WPA takes: the text says that the other entry
// keeps its settings, and it does.
TEST_F(MultiSsidNewForm, KeySlotWarningTellsWhatHappens) {
    const auto other = Snapshot({Cell(2, 1), Cell(4, 1), Cell(5, 1), Cell(6, 1), Cell(7, 1)});
    Open();
    Entry(3);
    Choose(form->CB_SecShow, "WPA-PSK");
    form->Ed_PassPhrase->SetText("a-long-passphrase");
    Save();
    EXPECT_EQ(Texts(), std::vector<std::string>{
                           "WPA or PSK will use key slot 2 and 3.\nOther Multiple SSID which uses "
                           "WEP key 2 and 3 keeps its settings; change its key slot to First or "
                           "Fourth."});
    EXPECT_EQ(Peek(Cell(2, 3)), "1");
    EXPECT_EQ(Snapshot({Cell(2, 1), Cell(4, 1), Cell(5, 1), Cell(6, 1), Cell(7, 1)}), other);
}

TEST_F(MultiSsidNewForm, SharedSettingWarnings) {
    Poke(Cell(6, 1), "1");
    Open();
    // Another WEP entry on the same slot.
    Entry(3);
    Choose(form->CB_SecShow, "Open System");
    Choose(form->CB_IdxTmp, "First");
    Save();
    EXPECT_EQ(Texts(), std::vector<std::string>{"Key value is used by SSID! \nTo change Key "
                                                "value affects other SSID settings."});
    ui.Boxes().Clear();
    // A changed group key interval while a WPA entry is on.
    Entry(2);
    form->Ed_GrpKey->SetText("600");
    Save();
    EXPECT_EQ(Texts(), std::vector<std::string>{"Group Key Update Interval is used by SSID!\nTo "
                                                "change Group Key Update Interval affects other "
                                                "SSID settings."});
    EXPECT_EQ(form->KeptGroupKey, "600");
    EXPECT_EQ(Peek("2.5.1.1.6.0"), "600");
}

// The security server and a key the user cannot change are not checked, and
// the device keeps them.
TEST_F(MultiSsidNewForm, DisabledEditsAreNotChecked) {
    Poke("2.5.2.3.0", "not-an-address");
    Poke(Cell(4, 2), "5"); // WPA-EAP
    Poke(Cell(6, 1), "1"); // no slot warning
    Open();
    Entry(2);
    EXPECT_EQ(form->GP_PSK->Caption(), "Radius Server Settings");
    EXPECT_FALSE(form->Ed_RiduisServ->Enabled());
    EXPECT_FALSE(form->Ed_GrpKey->Enabled());
    form->Ed_RadiusPort->SetText("");
    form->Ed_GrpKey->SetText("");
    SetLog();
    Save();
    EXPECT_EQ(Texts(), std::vector<std::string>{});
    EXPECT_EQ(Panel(), "Get OK!");
    EXPECT_EQ(Peek("2.5.2.3.0"), "not-an-address");
    const auto log = SetLog();
    EXPECT_NE(std::find(log.begin(), log.end(), Cell(11, 2)), log.end());
    for (const auto& oid : log) {
        EXPECT_NE(oid.rfind("2.5.2.", 0), 0u) << oid;
        EXPECT_NE(oid, "2.5.1.1.6.0");
    }
}

class NarrowMultiSsidForm : public MultiSsidNewForm {};

// Narrow table under the bridge lock: the key edit is greyed, so whatever it
// holds is neither checked nor written; the key slot is.
TEST_F(NarrowMultiSsidForm, LockedKeyIsLeftAlone) {
    Poke("99.1.1.45.0", "0");
    Poke("2.1.1.1.1", "3"); // PtMP Bridge
    main->mssidAndWdssupport->SetText("1");
    Open();
    EXPECT_FALSE(form->CB_WMM->Visible());
    Entry(1);
    EXPECT_FALSE(form->Ed_KeyValue->Enabled());
    EXPECT_FALSE(form->Ed_PassPhrase->Enabled());
    form->Ed_KeyValue->SetText("zz");
    Save();
    EXPECT_EQ(Texts(), std::vector<std::string>{});
    const auto log = SetLog();
    EXPECT_NE(std::find(log.begin(), log.end(), Cell(6, 1)), log.end());
    EXPECT_EQ(std::find(log.begin(), log.end(), Cell(7, 1)), log.end());
    EXPECT_EQ(Peek(Cell(7, 1)), "**********");
}

TEST_F(MultiSsidNewForm, ApplyReportsSuccessOnlyAfterBothWrites) {
    ASSERT_TRUE(dev->fault(kAp + "2.9.1.1.1.0", "genErr", "set"));
    TFM_MultiSSIDNewForm* f = Open();
    f->ApplyBtnClick(nullptr);
    Idle();
    EXPECT_EQ(Panel(), "Set error!");
    EXPECT_TRUE(waits.empty());
    ASSERT_EQ(ui.Boxes().Count(), 1); // the failure's own text
    EXPECT_TRUE(f->CloseQuery());
}

// A shared write that fails stops the save before the entry's row.
TEST_F(MultiSsidNewForm, FailedSharedWriteStopsTheSave) {
    Open();
    Entry(2);
    ASSERT_TRUE(dev->fault(kAp + "2.9.3.1.1.0", "genErr", "set"));
    SetLog();
    Save();
    for (const auto& oid : SetLog()) EXPECT_NE(oid.rfind(kRow, 0), 0u) << oid;
    EXPECT_NE(Panel(), "Save Multi-SSID complete!");
    EXPECT_NE(Panel(), "Save Multi-SSID...!");
    EXPECT_TRUE(form->CloseQuery());
}

// A read that fails while the form is made leaves it closable.
TEST_F(MultiSsidNewForm, ClosesAfterAFailedCreationRead) {
    ASSERT_TRUE(dev->fault(kAp + "2.9.3.1.1.0", "noSuchName", "get"));
    form.reset(NewForm<TFM_MultiSSIDNewForm>(Application));
    EXPECT_FALSE(form->SsidTable);
    EXPECT_TRUE(form->CloseQuery());
}

// The re-read after a save fails: its text shows, and the form closes.
TEST_F(MultiSsidNewForm, ClosesAfterAFailedTableRead) {
    Open();
    form->SsidTable->request.Timeout = 30;
    form->SsidTable->request.Retries = 0;
    ASSERT_TRUE(dev->fault(kAp + "2.9.2.1.2", "timeout", "get", 1500));
    Save(); // the primary: states, then its VLAN tag, then the re-read
    EXPECT_EQ(Peek(Cell(8, 0)), "1");
    EXPECT_FALSE(form->TableRead);
    EXPECT_NE(Panel(), "Get OK!") << Panel();
    EXPECT_FALSE(Panel().empty());
    EXPECT_TRUE(form->CloseQuery());
    dev->clearFaults();
}

// While the table is on its way the form stays open.
TEST_F(MultiSsidNewForm, StaysOpenWhileTheTableIsRead) {
    form.reset(NewForm<TFM_MultiSSIDNewForm>(Application));
    EXPECT_TRUE(form->Outstanding());
    EXPECT_FALSE(form->CloseQuery());
    Idle();
    EXPECT_TRUE(form->CloseQuery());
}

// The VLAN state, Super G mode and group key interval are the settings the
// older form reads at other instances.
TEST_F(MultiSsidNewForm, SharedObjectsAreTheOlderFormsOnes) {
    Poke("2.9.1.1.1.1", "1");
    Poke("2.3.1.11.0", "1");
    Poke("2.5.1.1.6.1", "1200");
    Open();
    EXPECT_TRUE(form->CB_VLanState->Checked());
    EXPECT_FALSE(form->IfEnabMuSSID->Enabled());
    EXPECT_EQ(form->CB_SuperMode->Text(), "Enable");
    EXPECT_EQ(form->Ed_GrpKey->Text(), "1200");
    // Multi-SSID goes on with Super G off: the user hears of it once.
    EXPECT_EQ(Texts(), std::vector<std::string>{"If you enable Multi-SSID,Super G will be Disabled!"});
    EXPECT_EQ(form->LV_MultiSSID_User->Items()[1]->ColumnText(3), "2");
    Entry(2);
    form->Ed_GrpKey->SetText("900");
    form->CB_VLanState->SetChecked(false);
    Save();
    EXPECT_EQ(Peek("2.5.1.1.6.1"), "900");
    EXPECT_EQ(Peek("2.9.1.1.1.1"), "0");
}

TEST_F(MultiSsidNewForm, KeyTextConversions) {
    EXPECT_EQ(TFM_MultiSSIDNewForm::AsciiToHex("Ab:Z!"), "41623a5a21");
    EXPECT_EQ(TFM_MultiSSIDNewForm::AsciiToHex("\xE9"), "e9");
    EXPECT_EQ(TFM_MultiSSIDNewForm::HexToAscii("4142x3"), std::string("AB\x03"));
    EXPECT_EQ(TFM_MultiSSIDNewForm::HexToAscii("414"), "A");
}

TEST_F(MultiSsidNewForm, AdvancedMultiSsidOpensIt) {
    TFM_MultiSSIDNewForm::RegisterOpener();
    main->NewMultiSupport->SetText("1");
    std::string caption;
    ui.NextModal([&](TForm* f) {
        caption = f->Caption();
        QvWaitWhile([f] { return static_cast<TFM_MultiSSIDNewForm*>(f)->Outstanding(); }, 20000);
        f->Close();
    });
    main->Ad_MultiSSID->Click();
    EXPECT_EQ(caption, "Advanced \\ Multi-SSID");
    EXPECT_EQ(main->LastRequestedForm(), "TFM_MultiSSIDNewForm");
}

} // namespace
