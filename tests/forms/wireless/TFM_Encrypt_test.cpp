// Advanced \ Encryption against the simulated device: keys shown masked and
// written only when typed, every input check with its exact text, and success
// only once every write went through.
#include "forms/wireless/TFM_Encrypt.h"

#include "binding/QvSNMPRequest2Edits.h"
#include "binding/QvWaitIdle.h"
#include "support/LayoutCheck.h"
#include "ui/PageControl.h"
#include "tests/forms/admin/admin_fixture.h"

#include <algorithm>
#include <memory>

namespace {

using admintest::AdminFormTest;

const std::string kSec = "qvEnterprise.11.37.4.2.5.";
const std::vector<std::string> kObjects = {
    "2.5.1.1.1.1", "2.5.1.1.2.1", "2.5.1.1.3.1", "2.5.1.1.4.1", "2.5.1.1.5.1", "2.5.1.1.6.1",
    "2.5.3.1.1.1.1", "2.5.3.1.1.1.2", "2.5.3.1.1.1.3", "2.5.3.1.1.1.4", "2.5.2.1.0",
    "2.5.2.2.0",   "2.5.2.3.0",   "2.5.2.4.0",   "2.5.2.5.0"};

class EncryptForm : public AdminFormTest {
protected:
    TFM_Encrypt* Open() {
        form.reset(NewForm<TFM_Encrypt>(Application));
        // The security servers arrive asynchronously.
        if (form->ServerGroup) WaitWhileBusy(*form->ServerGroup, 5000);
        return form.get();
    }
    void TearDown() override {
        form.reset();
        AdminFormTest::TearDown();
    }
    void Choose(TComboBox* c, const std::string& text) {
        const int i = c->Items().IndexOf(text);
        ASSERT_GE(i, 0) << text;
        c->ChooseItem(i);
    }
    void Apply() {
        form->Bt_ApplyClick(nullptr);
        if (form->ServerGroup) WaitWhileBusy(*form->ServerGroup, 5000);
    }
    std::unique_ptr<TFM_Encrypt> form;
};

TEST_F(EncryptForm, RoundTripKeepsWhatTheDeviceHeld) {
    const auto before = Snapshot(kObjects);
    TFM_Encrypt* f = Open();
    EXPECT_EQ(f->TS_80211a->Caption(), "IEEE 802.11g");
    EXPECT_EQ(f->CB_SecAutha->Text(), "Open System");
    EXPECT_EQ(f->CB_SecAutha->Items().Count(), 5);
    EXPECT_EQ(f->CB_KeySizeA->Text(), "64 Bits");
    EXPECT_EQ(f->Ed_Keya[0]->Text(), "**********");
    EXPECT_EQ(f->Ed_RadiusSrv2->Text(), "192.0.2.20");
    Grab(f, "encrypt.png");
    Apply();
    EXPECT_EQ(SetLog(), (std::vector<std::string>{"2.5.1.1.1.1", "2.5.1.1.2.1", "2.5.1.1.3.1"}));
    EXPECT_EQ(Snapshot(kObjects), before);
    ASSERT_EQ(waits.size(), 1u);
    EXPECT_EQ(ui.Boxes().Count(), 0);
}

// Every length message, for each type and size, on the key that is wrong.
TEST_F(EncryptForm, KeyLengthMessages) {
    struct Case {
        const char* type;
        const char* size;
        int key;
        const char* text;
    } cases[] = {
        {"HEX", "64 Bits", 0, "The Length of the 1st key in IEEE802.11g must be 10!"},
        {"HEX", "128 Bits", 1, "The Length of the 2nd key in IEEE802.11g must be 26!"},
        {"HEX", "152 Bits", 2, "The Length of the 3rd key in IEEE802.11g must be 32!"},
        {"ASCII", "64 Bits", 3, "The Length of the 4th key in IEEE802.11g must be 5!"},
        {"ASCII", "128 Bits", 0, "The Length of the 1st key in IEEE802.11g must be 13!"},
        {"ASCII", "152 Bits", 3, "The Lengh of the 4th key in IEEE802.11g must be 16!"},
    };
    TFM_Encrypt* f = Open();
    Choose(f->CB_SecEncypa, "Enable");
    for (const auto& c : cases) {
        Choose(f->CB_KeyTypeA, c.type);
        Choose(f->CB_KeySizeA, c.size);
        TEdit* e = std::string(c.type) == "HEX" ? f->Ed_Keya[c.key] : f->Ed_Keyt[c.key];
        e->SetText("abc");
        ui.Boxes().Clear();
        Apply();
        ASSERT_EQ(ui.Boxes().Count(), 1) << c.text;
        EXPECT_EQ(ui.Boxes().Last().text, c.text);
        EXPECT_EQ(ui.Boxes().Last().caption, "Warning");
        EXPECT_TRUE(SetLog().empty());
    }
    EXPECT_TRUE(waits.empty());
}

TEST_F(EncryptForm, UntouchedMasksWriteNoKey) {
    TFM_Encrypt* f = Open();
    Choose(f->CB_SecEncypa, "Enable");
    Apply();
    EXPECT_EQ(SetLog(), (std::vector<std::string>{"2.5.1.1.1.1", "2.5.1.1.2.1", "2.5.1.1.3.1"}));
    EXPECT_EQ(dev->peek(kSec + "1.1.2.1"), "1");
    EXPECT_EQ(f->Ed_Keya[0]->Text(), "**********");
}

TEST_F(EncryptForm, AsciiKeyIsWrittenAsLowerCaseHex) {
    TFM_Encrypt* f = Open();
    Choose(f->CB_SecEncypa, "Enable");
    Choose(f->CB_KeyTypeA, "ASCII");
    EXPECT_EQ(f->Ed_Keyt[1]->Text(), "*****");
    f->Ed_Keyt[1]->SetText("Ab:Z!");
    Apply();
    EXPECT_EQ(SetLog(), (std::vector<std::string>{"2.5.1.1.1.1", "2.5.1.1.2.1", "2.5.1.1.3.1",
                                                  "2.5.3.1.1.1.2"}));
    EXPECT_EQ(dev->peek(kSec + "3.1.1.1.2"), "41623a5a21");
    EXPECT_EQ(f->Ed_Keyt[1]->Text(), "*****");
    EXPECT_EQ(waits.size(), 1u);
}

TEST_F(EncryptForm, HexKeyWithOtherDigitsIsRefused) {
    TFM_Encrypt* f = Open();
    Choose(f->CB_SecEncypa, "Enable");
    f->Ed_Keya[2]->SetText("0123456G89");
    Apply();
    ASSERT_EQ(ui.Boxes().Count(), 1);
    EXPECT_EQ(ui.Boxes().Last().text, "Please input  Hexadecimal digits!");
    EXPECT_EQ(f->Ed_Keya[2]->Text(), "");
    EXPECT_TRUE(SetLog().empty());
}

TEST_F(EncryptForm, PassPhraseLength) {
    struct Case {
        size_t length;
        bool refused;
    } cases[] = {{7, true}, {8, false}, {63, false}, {0, true}, {64, true}};
    TFM_Encrypt* f = Open();
    Choose(f->CB_SecAutha, "WPA-PSK");
    // A text longer than the edit takes (pasted, or set by assistive software).
    f->Ed_PassPha->SetMaxLength(0);
    EXPECT_EQ(f->CB_SecEncypa->Text(), "Enable");
    EXPECT_FALSE(f->Ed_PassPha->ReadOnly());
    for (const auto& c : cases) {
        ui.Boxes().Clear();
        waits.clear();
        f->Ed_PassPha->SetText(std::string(c.length, 'p'));
        Apply();
        if (c.refused) {
            ASSERT_EQ(ui.Boxes().Count(), 1) << c.length;
            EXPECT_EQ(ui.Boxes().Last().text,
                      "The length of 802.11g PassPhrase is between 8 and 63.");
            EXPECT_EQ(ui.Boxes().Last().caption, "Error");
            EXPECT_TRUE(SetLog().empty());
        } else {
            EXPECT_EQ(ui.Boxes().Count(), 0) << c.length;
            EXPECT_EQ(dev->peek(kSec + "1.1.4.1"), std::string(c.length, 'p'));
            EXPECT_EQ(dev->peek(kSec + "1.1.1.1"), "4");
            EXPECT_EQ(waits.size(), 1u);
            SetLog();
        }
    }
}

// A group key interval the user cannot edit is not sent, so it cannot block
// a WEP setting; when it is sent, it is checked.
TEST_F(EncryptForm, GroupKeyIntervalCheckedWhenWritten) {
    ASSERT_TRUE(dev->poke(kSec + "1.1.6.1", "0"));
    TFM_Encrypt* f = Open();
    Apply();
    EXPECT_EQ(ui.Boxes().Count(), 0);
    EXPECT_EQ(waits.size(), 1u);
    SetLog();
    Choose(f->CB_SecAutha, "WPA-PSK");
    for (const char* text : {"299", "10000000", "", "x"}) {
        ui.Boxes().Clear();
        f->Ed_GKUIa->SetText(text);
        Apply();
        ASSERT_EQ(ui.Boxes().Count(), 1) << text;
        EXPECT_EQ(ui.Boxes().Last().text, "Please input a number between 300 and 9999999.");
        EXPECT_EQ(ui.Boxes().Last().caption, "Error");
        EXPECT_EQ(f->Ed_GKUIa->Text(), "");
        EXPECT_TRUE(SetLog().empty());
    }
}

TEST_F(EncryptForm, NoAuthenticationIsReported) {
    ASSERT_TRUE(dev->poke(kSec + "1.1.1.1", "7"));
    TFM_Encrypt* f = Open();
    EXPECT_EQ(f->CB_SecAutha->ItemIndex(), -1);
    Apply();
    ASSERT_EQ(ui.Boxes().Count(), 1);
    EXPECT_EQ(ui.Boxes().Last().text, "Please select an Authentication.");
    EXPECT_TRUE(SetLog().empty());
    EXPECT_TRUE(waits.empty());
}

// The servers go out only for WPA-EAP, with what the device gave, and a
// refused server write leaves no success behind.
TEST_F(EncryptForm, SecurityServersWithWpaEap) {
    TFM_Encrypt* f = Open();
    Choose(f->CB_SecAutha, "WPA-EAP");
    EXPECT_FALSE(f->Ed_RadiusSrv2->ReadOnly());
    f->Ed_RadiusSrv2->SetText("192.0.2.30");
    Apply();
    EXPECT_EQ(SetLog(), (std::vector<std::string>{"2.5.1.1.1.1", "2.5.1.1.5.1", "2.5.1.1.6.1",
                                                  "2.5.2.1.0", "2.5.2.2.0", "2.5.2.3.0",
                                                  "2.5.2.4.0", "2.5.2.5.0"}));
    EXPECT_EQ(dev->peek(kSec + "2.3.0"), "192.0.2.30");
    EXPECT_EQ(dev->peek(kSec + "2.4.0"), "1812");
    EXPECT_EQ(dev->peek(kSec + "2.5.0"), "lab-secret");
    EXPECT_EQ(waits.size(), 1u);

    waits.clear();
    ASSERT_TRUE(dev->fault("qvEnterprise.11.37.4.2.5.2.5.0", "badValue", "set"));
    Apply();
    EXPECT_TRUE(waits.empty());
    EXPECT_EQ(Status(f->StatusBar), "Setting error!");

    struct Case {
        const char* server;
        const char* port;
        const char* text;
    } cases[] = {{"0.0.0.0", "1812", "The Radius server's IP is illegal."},
                 {"192.0.2.30", "", "Please input a number between 1 and 65535."}};
    for (const auto& c : cases) {
        ui.Boxes().Clear();
        SetLog();
        f->Ed_RadiusSrv2->SetText(c.server);
        f->Ed_RadiusPort->SetText(c.port);
        Apply();
        ASSERT_GE(ui.Boxes().Count(), 1) << c.text;
        EXPECT_EQ(ui.Boxes().Last().text, c.text);
        EXPECT_TRUE(SetLog().empty());
    }
}

TEST_F(EncryptForm, RefusedWriteShowsNoSuccess) {
    TFM_Encrypt* f = Open();
    ASSERT_TRUE(dev->fault("qvEnterprise.11.37.4.2.5.1.1.2.1", "badValue", "set"));
    Apply();
    EXPECT_TRUE(waits.empty());
    EXPECT_EQ(Status(f->StatusBar), "Setting error!");
}

// Every caption readable: nothing clipped, nothing overlapping, with the
// DNS row shown and hidden.
TEST_F(EncryptForm, NoCaptionIsClippedOrOverlaps) {
    for (bool hidden : {false, true}) {
        SCOPED_TRACE(hidden ? "DNS row hidden" : "DNS row shown");
        if (hidden) {
            ASSERT_TRUE(dev->poke("qvEnterprise.11.37.4.99.1.1.5.0", "3.3.0.156"));
        }
        TFM_Encrypt* f = Open();
        EXPECT_EQ(f->Ed_DNS->Visible(), !hidden);
        Choose(f->CB_SecAutha, "WPA-EAP");
        f->Show();
        Application->ProcessMessages();
        EXPECT_EQ(lmrtest::LayoutFaults(*f), std::vector<std::string>{});
        Grab(f, hidden ? "encrypt-eap-nodns.png" : "encrypt-eap.png");
        f->Hide();
        form.reset();
    }
}

// The passphrase is a secret like the keys: never shown.
TEST_F(EncryptForm, SecretsAreMasked) {
    TFM_Encrypt* f = Open();
    EXPECT_EQ(f->Ed_PassPha->PasswordChar(), '*');
    EXPECT_EQ(f->Ed_RadiusSec->PasswordChar(), '*');
    EXPECT_EQ(f->Ed_PassPha->Text(), "lab-passphrase");
}

// Band 1's AP mode is the object every other form reads, at instance .1:
// it decides the authentications offered.
TEST_F(EncryptForm, ApModeOfBandOneDecidesTheList) {
    struct Case {
        const char* mode;
        const char* firmware;
        std::vector<std::string> offered;
    } cases[] = {
        {"1", "v2.1", {"Open System", "Shared Key", "Open System / Shared Key", "WPA-PSK", "WPA-EAP"}},
        {"5", "v2.1", {"Open System", "Shared Key", "WPA-PSK"}},
        {"3", "v2.1", {"Open System", "Shared Key", "Open System / Shared Key"}},
        {"5", "v1.4", {"Open System", "Shared Key", "Open System / Shared Key"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.mode) + " " + c.firmware);
        form.reset();
        ASSERT_TRUE(dev->poke("qvEnterprise.11.37.4.2.1.1.1.1", c.mode));
        main->Ed_FwVer->SetText(c.firmware);
        TFM_Encrypt* f = Open();
        EXPECT_EQ(f->CB_11a_APM->ItemIndex(), std::stoi(c.mode) - 1);
        std::vector<std::string> offered;
        for (int i = 0; i < f->CB_SecAutha->Items().Count(); ++i)
            offered.push_back(f->CB_SecAutha->Items()[i]);
        EXPECT_EQ(offered, c.offered);
    }
}

// Apply pressed while an edit still has the focus: its range is checked
// before the first write.
TEST_F(EncryptForm, RangesAreCheckedBeforeAnyWrite) {
    struct Case {
        const char* name;
        const char* auth;
        TEdit* TFM_Encrypt::*edit;
        const char* text;
        const char* message; // "" passes
    } cases[] = {
        {"port 0", "WPA-EAP", &TFM_Encrypt::Ed_RadiusPort, "0",
         "(QvCommon) Please enter a number between 1 and 65535!"},
        {"port 65536", "WPA-EAP", &TFM_Encrypt::Ed_RadiusPort, "65536",
         "(QvCommon) Please enter a number between 1 and 65535!"},
        {"interval 299", "WPA-PSK", &TFM_Encrypt::Ed_GKUIa, "299",
         "Please input a number between 300 and 9999999."},
        {"port 65535", "WPA-EAP", &TFM_Encrypt::Ed_RadiusPort, "65535", ""},
        {"interval 10000000", "WPA-EAP", &TFM_Encrypt::Ed_GKUIa, "10000000",
         "Please input a number between 300 and 9999999."},
        {"interval 300", "WPA-PSK", &TFM_Encrypt::Ed_GKUIa, "300", ""},
        {"interval 9999999", "WPA-EAP", &TFM_Encrypt::Ed_GKUIa, "9999999", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        form.reset();
        dev->reset();
        SetLog();
        ui.Boxes().Clear();
        waits.clear();
        const auto before = Snapshot(kObjects);
        TFM_Encrypt* f = Open();
        Choose(f->CB_SecAutha, c.auth);
        TEdit* edit = f->*c.edit;
        edit->SetFocus();
        edit->SetText(c.text);
        Apply();
        if (*c.message) {
            ASSERT_EQ(ui.Boxes().Count(), 1);
            EXPECT_EQ(ui.Boxes().Last().text, c.message);
            EXPECT_TRUE(SetLog().empty());
            EXPECT_EQ(Snapshot(kObjects), before);
            EXPECT_TRUE(waits.empty());
        } else {
            EXPECT_EQ(ui.Boxes().Count(), 0) << (ui.Boxes().Count() ? ui.Boxes().Last().text : "");
            EXPECT_EQ(waits.size(), 1u);
            EXPECT_EQ(dev->peek(kSec + (c.edit == &TFM_Encrypt::Ed_GKUIa ? "1.1.6.1" : "2.4.0")),
                      c.text);
        }
    }
}

// With ASCII chosen only the ASCII edits count: a hexadecimal key typed
// before the switch, no longer shown, is not sent.
TEST_F(EncryptForm, AKeyNoLongerShownIsNotSent) {
    TFM_Encrypt* f = Open();
    Choose(f->CB_SecEncypa, "Enable");
    f->Ed_Keya[2]->SetText("0123456789");
    Choose(f->CB_KeyTypeA, "ASCII");
    Apply();
    EXPECT_EQ(ui.Boxes().Count(), 0) << (ui.Boxes().Count() ? ui.Boxes().Last().text : "");
    EXPECT_EQ(SetLog(), (std::vector<std::string>{"2.5.1.1.1.1", "2.5.1.1.2.1", "2.5.1.1.3.1"}));
    EXPECT_EQ(dev->peek(kSec + "3.1.1.1.3"), "**********");
    EXPECT_EQ(waits.size(), 1u);
}

// A control whose group could not be read stays greyed whatever the
// authentication shown asks for, and nothing of that group is sent.
TEST_F(EncryptForm, ControlsOfAGroupThatFailedItsReadStayGreyed) {
    ASSERT_TRUE(dev->fault(kSec + "1.1.5.1", "noSuchName", "get"));
    TFM_Encrypt* f = Open();
    dev->clearFaults();
    EXPECT_TRUE(f->PassPhraseA->ReadFailed());
    for (const char* auth : {"WPA-PSK", "WPA-EAP", "Open System"}) {
        Choose(f->CB_SecAutha, auth);
        EXPECT_FALSE(f->CB_CipherTypea->Enabled()) << auth;
    }
    Choose(f->CB_SecAutha, "WPA-EAP");
    Apply();
    const auto log = SetLog();
    for (const char* oid : {"2.5.1.1.4.1", "2.5.1.1.5.1", "2.5.1.1.6.1"})
        EXPECT_EQ(std::find(log.begin(), log.end(), oid), log.end()) << oid;
    EXPECT_EQ(ui.Boxes().Count(), 0) << (ui.Boxes().Count() ? ui.Boxes().Last().text : "");
    f->Bt_RefClick(nullptr);
    EXPECT_EQ(f->CB_SecAutha->Text(), "WPA-EAP");
    EXPECT_FALSE(f->PassPhraseA->ReadFailed());
    EXPECT_TRUE(f->CB_CipherTypea->Enabled());
}

// The RADIUS server the user sees is the read one: without its read it
// cannot be typed.
TEST_F(EncryptForm, RadiusServerNeedsItsRead) {
    ASSERT_TRUE(dev->fault(kSec + "2.3.0", "noSuchName", "get"));
    TFM_Encrypt* f = Open();
    dev->clearFaults();
    Choose(f->CB_SecAutha, "WPA-EAP");
    EXPECT_FALSE(f->Ed_RadiusSrv2->Enabled());
    f->Bt_RefClick(nullptr);
    if (f->ServerGroup) WaitWhileBusy(*f->ServerGroup, 5000);
    EXPECT_TRUE(f->Ed_RadiusSrv2->Enabled());
    EXPECT_EQ(f->Ed_RadiusSrv2->Text(), "192.0.2.20");
}

TEST_F(EncryptForm, SecondKeyOf26SelectsTheSize) {
    ASSERT_TRUE(dev->poke(kSec + "1.1.3.1", "2"));
    ASSERT_TRUE(dev->poke(kSec + "3.1.1.1.2", std::string(26, '*')));
    TFM_Encrypt* f = Open();
    EXPECT_EQ(f->CB_KeySizeA->Text(), "128 Bits");
    for (TEdit* e : f->Ed_Keya) EXPECT_EQ(e->Text(), std::string(26, '*'));
}

} // namespace
