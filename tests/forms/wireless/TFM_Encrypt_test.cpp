// Advanced \ Encryption against the simulated device: keys shown masked and
// written only when typed, every input check with its exact text, and success
// only once every write went through.
#include "forms/wireless/TFM_Encrypt.h"

#include "binding/QvSNMPRequest2Edits.h"
#include "binding/QvWaitIdle.h"
#include "ui/PageControl.h"
#include "tests/forms/admin/admin_fixture.h"

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
    } cases[] = {{7, true}, {8, false}, {63, false}, {0, true}};
    TFM_Encrypt* f = Open();
    Choose(f->CB_SecAutha, "WPA-PSK");
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

TEST_F(EncryptForm, SecondKeyOf26SelectsTheSize) {
    ASSERT_TRUE(dev->poke(kSec + "1.1.3.1", "2"));
    ASSERT_TRUE(dev->poke(kSec + "3.1.1.1.2", std::string(26, '*')));
    TFM_Encrypt* f = Open();
    EXPECT_EQ(f->CB_KeySizeA->Text(), "128 Bits");
    for (TEdit* e : f->Ed_Keya) EXPECT_EQ(e->Text(), std::string(26, '*'));
}

} // namespace
