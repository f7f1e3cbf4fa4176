// The wireless settings form against the simulated device: what it shows by
// the device's capabilities, its input checks, Apply (nothing changed, a
// refused one, a failed write) and the site survey.
#include "forms/wireless/TFM_Wirless.h"

#include "app/TFM_Waiting.h"
#include "app/TMainForm.h"
#include "binding/QvSNMPRequest2Edits.h"
#include "snmp/QvSession.h"
#include "support/LayoutCheck.h"
#include "support/SimFixture.h"
#include "support/TempDir.h"
#include "ui/Application.h"
#include "ui/ListView.h"
#include "ui/Menu.h"
#include "ui/PageControl.h"
#include "ui/StatusBar.h"
#include "ui/Testing.h"
#include "ui/Widgets.h"

#include <QElapsedTimer>
#include <QPixmap>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace {

const std::string P = "qvEnterprise.11.37.4";

// Every object the form reads or writes, for before/after comparisons.
std::vector<std::string> FormObjects() {
    std::vector<std::string> o;
    for (int b = 1; b <= 2; ++b)
        for (int c = 1; c <= 3; ++c)
            o.push_back(P + ".1.1.1." + std::to_string(c) + "." + std::to_string(b));
    for (const char* s : {".2.1.1.1.1", ".2.1.1.3.1", ".2.1.1.4.1", ".2.3.1.11.0", ".2.3.1.12.1", ".2.5.1.1.1.1",
                          ".2.5.1.1.2.1", ".2.5.1.1.3.1", ".2.5.1.1.4.1", ".2.5.1.1.5.1",
                          ".2.5.1.1.6.1", ".2.5.2.3.0", ".2.5.2.4.0", ".2.5.2.5.0",
                          ".2.5.3.1.1.1.1", ".2.5.3.1.1.1.2", ".2.9.1.1.1.1", ".2.9.2.1.2.1.2",
                          ".2.9.2.1.5.1.2", ".2.9.2.1.6.1.2"})
        o.push_back(P + s);
    for (int k = 1; k <= 8; ++k)
        o.push_back(P + ".2.2.1.2.1." + std::to_string(k));
    return o;
}


// Whether the set log names the object (given below the enterprise arc).
bool Sent(const std::vector<std::string>& log, const std::string& object) {
    for (const auto& oid : log)
        if (oid.size() >= object.size() &&
            oid.compare(oid.size() - object.size(), object.size(), object) == 0)
            return true;
    return false;
}

struct Caps {
    std::string fw = "v2.31";
    std::string turbo = "2";
    std::string apModes = "127";
    std::string newMulti = "1";
    std::string keyTypeSup = "1";
    std::string modeNames = "1";
};

class WirelessForm : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static bool made = false;
        if (made) return;
        lmrtest::TempDir folder("wireless-session");
        CreateGlobalSession(folder.path() + "/");
        made = true;
    }

    void SetUp() override {
        ui.FreezeTimers();
        ui.OnTimeout = [](const std::string& c) { ADD_FAILURE() << "modal left open: " << c; };
        ui.SetModalTimeoutMs(20000);
        // The waiting dialog: its count is noted, then it is let go at once.
        ui.OnModal([this](TForm* f) {
            if (auto* w = dynamic_cast<TFM_Waiting*>(f)) {
                waits.push_back(w->Countdown);
                w->RebootFlag = 0;
                w->Countdown = 0;
                w->Close();
            }
        });
    }

    void TearDown() override {
        form.reset();
        main.reset();
        g_DefaultDevice = QvSNMPDevice{};
        g_DefaultSecurity = QvSNMPSecurity{};
    }

    bool Start(lmrtest::SimDevice& d, const Caps& c) {
        dev = &d;
        if (!dev->running()) return false;
        dev->reset();
        // The device offers what the window is told it offers.
        dev->poke(P + ".99.1.1.1.0", c.apModes);
        dev->takeSetLog();
        main = std::make_unique<TMainForm>(Application);
        // After the window: its constructor sets its own defaults.
        g_DefaultDevice.Address = dev->host();
        g_DefaultDevice.Port = static_cast<uint16_t>(dev->port());
        g_DefaultSecurity.Version = 1;
        main->Ed_FwVer->SetText(c.fw);
        main->ifMultiSSID_Edit->SetText("0");
        main->ED_Turbomode->SetText(c.turbo);
        main->APModeSupport->SetText(c.apModes);
        main->NewMultiSupport->SetText(c.newMulti);
        main->Ed_KeyTypeSup->SetText(c.keyTypeSup);
        main->ApmodeStringChangeSupport->SetText(c.modeNames);
        main->Ed_DelFunction->SetText("0");
        main->Ed_SSIDBroadDisable->SetText("0");
        main->Ed_RptModeToSuper->SetText("1");
        main->repeaterWpasupport->SetText("1");
        main->mssidAndWdssupport->SetText("1");
        form = std::make_unique<TFM_Wirless>(Application);
        form->DoCreate();
        return Idle();
    }

    // Runs the loop until no group of the form is busy (bounded).
    bool Idle(int ms = 8000) {
        QElapsedTimer t;
        t.start();
        for (;;) {
            Application->ProcessMessages();
            g_SnmpEventProcessor.OnTimer();
            bool busy = form->ApplyRunning();
            for (auto* g : {form->req2Radio.get(), form->req2AutoScan.get(),
                            form->req2GuestKeyIndex.get(), form->req2MssidEnc.get(),
                            form->req2Refresh.get(), form->req2Survey.get()})
                if (g && (g->busy || g->request.Outstanding > 0)) busy = true;
            if (!busy) return true;
            if (t.elapsed() > ms) {
                int k = 0;
                for (auto* g : {form->req2Radio.get(), form->req2AutoScan.get(),
                                form->req2GuestKeyIndex.get(), form->req2MssidEnc.get(),
                                form->req2Refresh.get(), form->req2Survey.get()}) {
                    if (g && (g->busy || g->request.Outstanding > 0))
                        ADD_FAILURE() << "group " << k << " still busy";
                    ++k;
                }
                return false;
            }
        }
    }

    std::map<std::string, std::string> Snapshot() {
        std::map<std::string, std::string> m;
        for (const auto& o : FormObjects())
            m[o] = dev->peek(o).value_or("(absent)");
        return m;
    }

    std::vector<std::string> Texts() { return ui.Boxes().Texts(); }

    UiTestSession ui;
    lmrtest::SimDevice* dev = nullptr;
    std::unique_ptr<TMainForm> main;
    std::unique_ptr<TFM_Wirless> form;
    std::vector<int> waits;
};

lmrtest::SimDevice& OldDevice() {
    static lmrtest::SimDevice d([] {
        lmrtest::SimOptions o;
        o.profile = "old";
        return o;
    }());
    if (!d.running()) d.start();
    return d;
}

TEST_F(WirelessForm, FullLayoutShowsTheDevicesSettings) {
    ASSERT_TRUE(Start(lmrtest::SimDevice::shared(), Caps{}));
    EXPECT_TRUE(form->fullLayout);
    EXPECT_EQ(form->Ed_SSIDa->Text(), "LMR-Lab");
    EXPECT_EQ(form->CB_Chana->Text(), "6");
    EXPECT_EQ(form->ED_APModeTempComboBox->Text(), "Access Point");
    EXPECT_TRUE(form->CB_AuSc->Visible());
    EXPECT_TRUE(form->GroupBox4->Visible());
    EXPECT_FALSE(form->GroupBox2->Visible());
    EXPECT_EQ(form->GroupBox5->Caption(), "Primary Radius Server Settings");
    EXPECT_EQ(form->TS_11a->Caption(), "IEEE 802.11g");
    EXPECT_FALSE(form->TS_11g->TabVisible());
    // The dynamic turbo list keeps its blanks.
    EXPECT_EQ(form->Ed_DynChLista->Text(), "40 48 56");
    EXPECT_EQ(form->Ed_Keya[0]->Text(), "**********");
}

TEST_F(WirelessForm, ShortLayoutOnOldFirmware) {
    Caps c;
    c.fw = "2.05";
    c.turbo = "0";
    c.newMulti = "0";
    ASSERT_TRUE(Start(OldDevice(), c));
    EXPECT_FALSE(form->fullLayout);
    EXPECT_FALSE(form->CB_AuSc->Visible());
    EXPECT_FALSE(form->GroupBox4->Visible());
    EXPECT_FALSE(form->ED_APModeTempComboBox->Visible());
    EXPECT_EQ(form->AD_SuperMode->Items().Count(), 2);
    EXPECT_EQ(form->AD_SuperMode->Text(), "Disable");
    // Refresh refills the visible channel list from the device.
    ASSERT_TRUE(dev->poke(P + ".1.1.1.4.1", "1 6 11"));
    form->Bt_RefreshClick(nullptr);
    ASSERT_TRUE(Idle());
    EXPECT_EQ(form->CB_Chana->Items().Count(), 3);
}

TEST_F(WirelessForm, ApplyWithNothingChangedKeepsTheDevice) {
    for (int profile = 0; profile < 2; ++profile) {
        SCOPED_TRACE(profile);
        Caps c;
        if (profile == 1) {
            c.fw = "2.05";
            c.turbo = "0";
            c.newMulti = "0";
        }
        ASSERT_TRUE(Start(profile ? OldDevice() : lmrtest::SimDevice::shared(), c));
        const auto before = Snapshot();
        dev->takeSetLog();
        waits.clear();
        form->Bt_ApplyClick(nullptr);
        ASSERT_TRUE(Idle());
        EXPECT_EQ(Snapshot(), before);
        const auto log = dev->takeSetLog();
        EXPECT_FALSE(log.empty());
        for (const auto& oid : log) { // a masked key is never sent
            EXPECT_EQ(oid.find(".2.5.3.1.1."), std::string::npos) << oid;
        }
        ASSERT_EQ(waits.size(), 1u);
        EXPECT_EQ(waits[0], 25);
        if (profile == 0) {
            EXPECT_EQ(form->StatusBar->SimpleText(), "Setting Success!");
        }
        EXPECT_TRUE(ui.Boxes().Texts().empty());
        form.reset();
        main.reset();
    }
}

struct InputCase {
    const char* name;
    std::function<void(TFM_Wirless*)> change;
    const char* text;
    const char* caption;
};

TEST_F(WirelessForm, RefusedApplyShowsItsMessageAndWritesNothing) {
    const std::vector<InputCase> cases = {
        {"ssid empty", [](TFM_Wirless* f) { f->Ed_SSIDa->SetText(""); }, "Please Input SSID.",
         "Warning"},
        {"ssid blank", [](TFM_Wirless* f) { f->Ed_SSIDa->SetText(" lab"); },
         "The first character can't be blank.", "Error"},
        {"ssid high", [](TFM_Wirless* f) { f->Ed_SSIDa->SetText("lab\xC3\xA9"); },
         "Don't support chinese character !", "Error"},
        {"wds duplicate",
         [](TFM_Wirless* f) {
             f->ED_APModeComboBox->SetItemIndex(2);
             f->Ed_ReMAddra[0]->SetText("0050c2000001");
             f->Ed_ReMAddra[3]->SetText("0050C2000001");
         },
         "Exist same MAC address.", "Warning"},
        {"wds first empty", [](TFM_Wirless* f) { f->ED_APModeComboBox->SetItemIndex(2); },
         "Please input MAC address in first blank space!", "Warning"},
        {"psk short",
         [](TFM_Wirless* f) {
             f->Ed_SecAuthaTemp->SetItemIndex(f->Ed_SecAuthaTemp->Items().IndexOf("WPA-PSK"));
             f->PassPhrasePSKEdit->SetText("1234567");
         },
         "The length of 802.11g PassPhrase is between 8 and 63.", "Error"},
        {"group key low",
         [](TFM_Wirless* f) {
             f->Ed_SecAuthaTemp->SetItemIndex(f->Ed_SecAuthaTemp->Items().IndexOf("WPA-EAP"));
             f->GroupKeyEdit->SetText("299");
         },
         "Please input a number between 300 and 9999999.", "Error"},
        {"radius ip",
         [](TFM_Wirless* f) {
             f->Ed_SecAuthaTemp->SetItemIndex(f->Ed_SecAuthaTemp->Items().IndexOf("WPA-EAP"));
             f->RadiusServerEdit->SetText("192.0.2");
         },
         "The Radius server's IP is illegal.", "Error"},
        {"key length",
         [](TFM_Wirless* f) {
             f->Ed_SecEncypa->SetItemIndex(1);
             f->Ed_Keya[0]->SetText("12345");
         },
         "The Length of the 1st key in IEEE802.11g must be 10!", "Warning"},
        {"ascii 16 spelling",
         [](TFM_Wirless* f) {
             f->Ed_SecEncypa->SetItemIndex(1);
             f->Ed_KeyType->SetItemIndex(1);
             f->Ed_KeySize->SetItemIndex(2);
             f->Ed_Keya[0]->SetText("abc");
         },
         "The Lengh of the 1st key in IEEE802.11g must be 16!", "Warning"},
    };
    ASSERT_TRUE(Start(lmrtest::SimDevice::shared(), Caps{}));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        form->Bt_RefreshClick(nullptr);
        ASSERT_TRUE(Idle());
        dev->takeSetLog();
        ui.Boxes().Clear();
        c.change(form.get());
        form->Bt_ApplyClick(nullptr);
        ASSERT_TRUE(Idle());
        ASSERT_EQ(ui.Boxes().Count(), 1);
        EXPECT_EQ(ui.Boxes().Last().text, c.text);
        EXPECT_EQ(ui.Boxes().Last().caption, c.caption);
        EXPECT_TRUE(dev->takeSetLog().empty());
    }
}

TEST_F(WirelessForm, AsciiKeyIsSentAsHexAndTheEditKeepsIt) {
    ASSERT_TRUE(Start(lmrtest::SimDevice::shared(), Caps{}));
    form->Ed_SecEncypa->SetItemIndex(1);
    form->Ed_KeyType->SetItemIndex(form->Ed_KeyType->Items().IndexOf("ASCII"));
    form->Ed_KeySize->SetItemIndex(1);
    form->Ed_Keya[0]->SetText("abcdefghijklm");
    form->Bt_ApplyClick(nullptr);
    ASSERT_TRUE(Idle());
    EXPECT_EQ(dev->peek(P + ".2.5.3.1.1.1.1").value_or(""), "6162636465666768696A6B6C6D");
    EXPECT_EQ(form->Ed_Keya[0]->Text().substr(0, 3), "abc");
}

TEST_F(WirelessForm, FailedWriteInTheMiddleIsReportedAndNoWaitFollows) {
    ASSERT_TRUE(Start(lmrtest::SimDevice::shared(), Caps{}));
    ASSERT_TRUE(dev->fault(P + ".2.3.1.12", "genErr", "set"));
    waits.clear();
    form->Bt_ApplyClick(nullptr);
    ASSERT_TRUE(Idle());
    dev->clearFaults();
    EXPECT_TRUE(waits.empty());
    EXPECT_EQ(form->StatusBar->SimpleText(), "Setting error!");
    ASSERT_EQ(ui.Boxes().Count(), 1);
    EXPECT_NE(ui.Boxes().Last().text.find("(SNMP)"), std::string::npos) << ui.Boxes().Last().text;
    // Nothing after the failed group was sent.
    for (const auto& oid : dev->takeSetLog()) {
        EXPECT_EQ(oid.find(".2.5.1.1."), std::string::npos) << oid;
    }
}

// A failed AP-mode or security write also names the write that failed.
TEST_F(WirelessForm, FailedWriteNamesTheFailedStep) {
    struct Case {
        const char* name;
        const char* faultOid;
        const char* note; // the second box, or null for none
    };
    const Case cases[] = {
        {"ap mode", ".2.1.1.1.1", "req2ApMode set faild."},
        {"security", ".2.5.1.1.1.1", "SelectToset set faild."},
        {"radio", ".2.3.1.12", nullptr},
    };
    ASSERT_TRUE(Start(lmrtest::SimDevice::shared(), Caps{}));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ui.Boxes().Clear();
        waits.clear();
        ASSERT_TRUE(dev->fault(P + c.faultOid, "genErr", "set"));
        form->Bt_ApplyClick(nullptr);
        ASSERT_TRUE(Idle());
        dev->clearFaults();
        EXPECT_TRUE(waits.empty());
        EXPECT_EQ(form->StatusBar->SimpleText(), "Setting error!");
        ASSERT_EQ(ui.Boxes().Count(), c.note ? 2 : 1);
        EXPECT_NE(ui.Boxes().Boxes()[0].text.find("(SNMP)"), std::string::npos);
        if (c.note) {
            EXPECT_EQ(ui.Boxes().Last().text, c.note);
            EXPECT_EQ(ui.Boxes().Last().caption, "Warning");
        }
        form->Bt_RefreshClick(nullptr);
        ASSERT_TRUE(Idle());
    }
}

TEST_F(WirelessForm, ChoosingAModeTurnsSuperGOffByName) {
    for (const char* turbo : {"0", "1", "2"}) {
        SCOPED_TRACE(turbo);
        Caps c;
        c.turbo = turbo;
        ASSERT_TRUE(Start(lmrtest::SimDevice::shared(), c));
        form->ED_APModeTempComboBox->SetItemIndex(0);
        form->ED_APModeTempComboBoxtestChange(nullptr);
        EXPECT_EQ(form->AD_SuperMode->Text(), "Disable");
        form.reset();
        main.reset();
    }
}

TEST_F(WirelessForm, KeyTextsConvert) {
    EXPECT_EQ(TFM_Wirless::HexToAscii("6162"), "ab");
    EXPECT_EQ(TFM_Wirless::HexToAscii("4A4b"), "JK");
    EXPECT_EQ(TFM_Wirless::AsciiToHex("JK"), "4A4B");
    EXPECT_FALSE(TFM_Wirless::KeyChanged("*****"));
    EXPECT_TRUE(TFM_Wirless::KeyChanged("***a*"));
}

TEST_F(WirelessForm, SurveyKeepsTheFormOpenWhileItRuns) {
    ASSERT_TRUE(Start(lmrtest::SimDevice::shared(), Caps{}));
    // The device fills its table only when asked to scan.
    EXPECT_FALSE(dev->peek(P + ".2.8.2.1.7.1").has_value());
    form->SiteScanClick(nullptr);
    EXPECT_FALSE(form->surveyIdle);
    EXPECT_FALSE(form->Bt_Close->Enabled());
    EXPECT_FALSE(form->CloseQuery());
    ASSERT_TRUE(Idle());
    EXPECT_TRUE(form->surveyIdle);
    EXPECT_EQ(dev->peek(P + ".2.8.1.1.1.0").value_or(""), "1");
    ASSERT_EQ(form->SiteServeyListView->Items().Count(), 2);
    form->SiteServeyListView->SetSelected(form->SiteServeyListView->Items()[0]);
    form->SiteServeyListViewClick(nullptr);
    EXPECT_EQ(form->Ed_RoMAddra0->Text(), "0050C2000001");
    EXPECT_EQ(form->Ed_SSID->Text(), "Neighbour-A");
    EXPECT_TRUE(form->CloseQuery());
}

TEST_F(WirelessForm, ScanThatTimesOutLeavesTheFormUsable) {
    ASSERT_TRUE(Start(lmrtest::SimDevice::shared(), Caps{}));
    form->req2Refresh->request.Timeout = 30;
    form->req2Refresh->request.Retries = 0;
    ASSERT_TRUE(dev->fault(P + ".2.8.1.1.1", "timeout", "set", 1500));
    form->SiteScanClick(nullptr);
    EXPECT_FALSE(form->CloseQuery());
    ASSERT_TRUE(Idle());
    dev->clearFaults();
    EXPECT_TRUE(form->surveyIdle);
    EXPECT_TRUE(form->Bt_Close->Enabled());
    EXPECT_NE(form->StatusBar->Panels()[0]->Text(), "Detecting...");
    EXPECT_FALSE(form->StatusBar->Panels()[0]->Text().empty());
    EXPECT_EQ(form->SiteServeyListView->Items().Count(), 0);
    EXPECT_TRUE(form->CloseQuery());
}

TEST_F(WirelessForm, SuperGListFollowsTheTurboModes) {
    const std::vector<std::pair<std::string, int>> cases = {{"0", 2}, {"1", 4}, {"2", 3}, {"7", 4}};
    for (const auto& [turbo, count] : cases) {
        SCOPED_TRACE(turbo);
        Caps c;
        c.turbo = turbo;
        ASSERT_TRUE(Start(lmrtest::SimDevice::shared(), c));
        EXPECT_EQ(form->AD_SuperMode->Items().Count(), count);
        EXPECT_EQ(form->AD_SuperMode->Text(), "Disable");
        form.reset();
        main.reset();
    }
}

TEST_F(WirelessForm, OldGenerationGuestsStayWhileSuperGIsOff) {
    for (const char* turbo : {"0", "1", "2"}) {
        SCOPED_TRACE(turbo);
        Caps c;
        c.turbo = turbo;
        c.newMulti = "0";
        ASSERT_TRUE(Start(lmrtest::SimDevice::shared(), c));
        ASSERT_TRUE(dev->poke(P + ".2.9.1.1.1.1", "1"));
        ASSERT_TRUE(dev->poke(P + ".2.9.2.1.2.1.2", "1"));
        form->Bt_RefreshClick(nullptr);
        ASSERT_TRUE(Idle());
        ASSERT_EQ(form->AD_SuperMode->Text(), "Disable");
        form->Bt_ApplyClick(nullptr);
        ASSERT_TRUE(Idle());
        EXPECT_EQ(dev->peek(P + ".2.9.1.1.1.1").value_or(""), "1");
        EXPECT_EQ(dev->peek(P + ".2.9.2.1.2.1.2").value_or(""), "1");
        // Super G on: the guests and the VLAN go off.
        form->AD_SuperMode->SetItemIndex(form->AD_SuperMode->Items().IndexOf(
            std::string(turbo) == "0" ? "Enable" : "Super G without Turbo"));
        form->Bt_ApplyClick(nullptr);
        ASSERT_TRUE(Idle());
        EXPECT_EQ(dev->peek(P + ".2.9.1.1.1.1").value_or(""), "0");
        EXPECT_EQ(dev->peek(P + ".2.9.2.1.2.1.2").value_or(""), "0");
        form.reset();
        main.reset();
    }
}

TEST_F(WirelessForm, GuestKeyClashIsRefusedWithItsMessage) {
    Caps c;
    c.newMulti = "0";
    ASSERT_TRUE(Start(lmrtest::SimDevice::shared(), c));
    for (int entries : {4, 2}) {
        SCOPED_TRACE(entries);
        ui.Boxes().Clear();
        if (entries == 2) {
            form->Ed_SecValKeya->Items().Clear();
            form->Ed_SecValKeya->Items().Add("First");
            form->Ed_SecValKeya->Items().Add("Fourth");
            form->Ed_SecValKeya->SetItemIndex(1); // the fourth key
            form->GuestKeyIndex_ComboBox[1]->SetItemIndex(3);
        } else {
            form->Ed_SecValKeya->SetItemIndex(0);
            form->GuestKeyIndex_ComboBox[1]->SetItemIndex(0);
        }
        form->Ed_SecValKeya->SetEnabled(true);
        form->Ed_SecAuthaTemp->SetItemIndex(0);
        form->Guest_ComboBox[1]->SetItemIndex(1);
        form->GuestEncry_ComboBox[1]->SetItemIndex(1);
        EXPECT_FALSE(form->CheckGuestKeyIndex());
        ASSERT_EQ(ui.Boxes().Count(), 1);
        EXPECT_EQ(ui.Boxes().Last().text, "The 11g master SSID's key index is same as Guest SSID2");
        EXPECT_EQ(ui.Boxes().Last().caption, "Warning");
    }
}

// With the new-generation Multi-SSID on, an enabled entry may not carry the
// primary SSID, and an enabled WPA-EAP entry loses its security when the
// primary is not EAP; a disabled entry counts for neither.
TEST_F(WirelessForm, NewGenerationEntriesAreCheckedAndFollowThePrimary) {
    ASSERT_TRUE(Start(lmrtest::SimDevice::shared(), Caps{}));
    const std::string entry = P + ".2.9.2.1.";
    ASSERT_TRUE(dev->poke(P + ".2.9.3.1.1.0", "1"));
    ASSERT_TRUE(dev->poke(entry + "2.1.3", "1"));
    ASSERT_TRUE(dev->poke(entry + "3.1.3", "LMR-Lab"));
    form->Bt_RefreshClick(nullptr);
    ASSERT_TRUE(Idle());
    ASSERT_EQ(form->CB_MultEnable->ItemIndex(), 1);
    ASSERT_EQ(form->Ed_SSIDa->Text(), "LMR-Lab");
    dev->takeSetLog();
    ui.Boxes().Clear();
    form->Bt_ApplyClick(nullptr);
    ASSERT_TRUE(Idle());
    ASSERT_EQ(ui.Boxes().Count(), 1);
    EXPECT_EQ(ui.Boxes().Last().text, "The Primary SSID's SSID is same as Multi-SSID 2");
    EXPECT_EQ(ui.Boxes().Last().caption, "Warning");
    EXPECT_TRUE(dev->takeSetLog().empty());

    // Entry 1.3 disabled: its SSID clashes with nothing. Entry 1.2 enabled
    // with WPA-EAP under an open primary goes to no security.
    ASSERT_TRUE(dev->poke(entry + "2.1.3", "0"));
    ASSERT_TRUE(dev->poke(entry + "2.1.2", "1"));
    ASSERT_TRUE(dev->poke(entry + "5.1.2", "1"));
    ASSERT_TRUE(dev->poke(entry + "4.1.2", "5"));
    form->Bt_RefreshClick(nullptr);
    ASSERT_TRUE(Idle());
    ASSERT_EQ(form->Ed_SecAuthaTemp->Text(), "Open System");
    ui.Boxes().Clear();
    waits.clear();
    form->Bt_ApplyClick(nullptr);
    ASSERT_TRUE(Idle());
    ASSERT_EQ(ui.Boxes().Count(), 1);
    EXPECT_EQ(ui.Boxes().Last().text, "To change authentication type of Primary SSID will change "
                                      "WPA-EAP of Secondary SSID to non security.");
    EXPECT_EQ(ui.Boxes().Last().caption, "Warning");
    EXPECT_EQ(waits.size(), 1u);
    EXPECT_EQ(dev->peek(entry + "5.1.2").value_or(""), "0");
    EXPECT_EQ(dev->peek(entry + "4.1.2").value_or(""), "1");
    EXPECT_EQ(dev->peek(entry + "3.1.3").value_or(""), "LMR-Lab");
    EXPECT_EQ(dev->peek(entry + "4.1.3").value_or(""), "1");
}

TEST_F(WirelessForm, HomeWirelessOpensTheForm) {
    main = std::make_unique<TMainForm>(Application);
    TFM_Wirless::RegisterOpener();
    ASSERT_TRUE(TMainForm::HasFormOpener("TFM_Wirless"));
    dev = &lmrtest::SimDevice::shared();
    g_DefaultDevice.Address = dev->host();
    g_DefaultDevice.Port = static_cast<uint16_t>(dev->port());
    g_DefaultSecurity.Version = 1;
    main->Ed_FwVer->SetText("v2.31");
    std::string caption;
    ui.NextModal([&](TForm* f) {
        caption = f->Caption();
        EXPECT_EQ(FM_Wirless, f);
        f->Close();
    });
    main->hWirelessBand1->Click();
    EXPECT_EQ(caption, "Home \\ Wireless");
    EXPECT_EQ(FM_Wirless, nullptr);
}

// What each entry of the AP-mode list stands for decides the layout, whatever
// its place: the list holds only the modes the device offers.
struct ModeMaskCase {
    const char* name;
    const char* mask;
    std::vector<std::string> entries;
};

void PrintTo(const ModeMaskCase& c, std::ostream* os) { *os << c.name << " (" << c.mask << ")"; }

class WirelessModeMask : public WirelessForm,
                         public ::testing::WithParamInterface<ModeMaskCase> {};

TEST_P(WirelessModeMask, RulesFollowTheEntryNotItsPlace) {
    Caps c;
    c.apModes = GetParam().mask;
    ASSERT_TRUE(Start(lmrtest::SimDevice::shared(), c));
    auto* list = form->ED_APModeTempComboBox;
    std::vector<std::string> items;
    for (int k = 0; k < list->Items().Count(); ++k)
        items.push_back(list->Items()[k]);
    ASSERT_EQ(items, GetParam().entries);
    for (const auto& entry : items) {
        SCOPED_TRACE(entry);
        list->SetItemIndex(list->Items().IndexOf(entry));
        form->ED_APModeTempComboBoxtestChange(nullptr);
        const bool wds = entry == "WDS with AP" || entry == "WDS";
        const bool repeater = entry == "Universal Repeater";
        const bool client = entry == "Wireless Client";
        EXPECT_EQ(form->GroupBox1->Visible(), wds);
        if (wds) {
            EXPECT_EQ(form->GroupBox1->Caption(),
                      entry == "WDS" ? " WDS without AP " : " WDS with AP ");
        }
        EXPECT_EQ(form->GroupBox2->Visible(), repeater || client);
        EXPECT_EQ(form->GroupBox3->Visible(), repeater || client);
        EXPECT_EQ(form->Ed_SSIDa->Visible(), !repeater && !client);
        if (repeater) {
            EXPECT_EQ(form->GroupBox2->Caption(), " Universal Repeater ");
            EXPECT_TRUE(form->Ed_RoMAddra0->Visible());
            EXPECT_FALSE(form->Ed_RoMAddra0->ReadOnly());
        }
        if (client) {
            EXPECT_EQ(form->GroupBox2->Caption(), " Wireless Client ");
            EXPECT_TRUE(form->Ed_CRoMAddra0->Visible());
            EXPECT_FALSE(form->Ed_SSID->ReadOnly());
        }
        // Channel and SSID broadcast.
        EXPECT_EQ(form->CB_AuSc->Enabled(), entry == "Access Point");
        EXPECT_EQ(form->CB_Chana->Enabled(), !repeater && !client);
        EXPECT_EQ(form->CB_SSIDBcasta->Enabled(), !repeater && !client);
        // The PSK ciphers and the authentications the mode allows.
        std::vector<std::string> ciphers;
        for (int k = 0; k < form->CipherforPSKBox->Items().Count(); ++k)
            ciphers.push_back(form->CipherforPSKBox->Items()[k]);
        const std::vector<std::string> want =
            entry == "WDS with AP" ? std::vector<std::string>{"Auto", "AES"}
            : entry == "WDS"       ? std::vector<std::string>{"AES"}
            : client               ? std::vector<std::string>{"AES", "TKIP"}
                                   : std::vector<std::string>{"Auto", "AES", "TKIP"};
        EXPECT_EQ(ciphers, want);
        EXPECT_EQ(form->Ed_SecAuthaTemp->Items().Count(),
                  entry == "Access Point" ? 9 : wds ? 6 : 4);
        // Looked at on screen: a form never shown has no sizes to check.
        form->Show();
        Application->ProcessMessages();
        EXPECT_EQ(lmrtest::LayoutFaults(*form), std::vector<std::string>{});
        form->Hide();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Masks, WirelessModeMask,
    ::testing::Values(
        ModeMaskCase{"RepeaterAndClientOnly", "19",
                     {"Access Point", "Universal Repeater", "Wireless Client"}},
        ModeMaskCase{"Every", "127",
                     {"Access Point", "WDS with AP", "WDS", "Universal Repeater",
                      "Wireless Client"}},
        ModeMaskCase{"WdsWithoutApAndClient", "49", {"Access Point", "WDS", "Wireless Client"}}),
    [](const auto& info) { return std::string(info.param.name); });

// Repeater and client Apply, typed or picked from the survey: each mode
// writes its own root object, the mode and the SSID, and nothing of the other.
TEST_F(WirelessForm, RepeaterAndClientApplyWriteTheirOwnRoot) {
    struct Case {
        const char* name;
        const char* entry;
        bool pick; // from the survey's first row, else typed
        const char* root;
        const char* otherRoot;
        const char* mode;
    };
    const Case cases[] = {
        {"repeater typed", "Universal Repeater", false, ".2.1.1.3.1", ".2.1.1.4.1", "4"},
        {"repeater picked", "Universal Repeater", true, ".2.1.1.3.1", ".2.1.1.4.1", "4"},
        {"client picked", "Wireless Client", true, ".2.1.1.4.1", ".2.1.1.3.1", "5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Caps caps;
        caps.apModes = "19";
        ASSERT_TRUE(Start(lmrtest::SimDevice::shared(), caps));
        ASSERT_TRUE(dev->poke(P + c.otherRoot, "hex:0050C20000EE"));
        form->Bt_RefreshClick(nullptr);
        ASSERT_TRUE(Idle());
        auto* list = form->ED_APModeTempComboBox;
        list->SetItemIndex(list->Items().IndexOf(c.entry));
        form->ED_APModeTempComboBoxtestChange(nullptr);
        std::string mac = "0050C2000009";
        std::string ssid = "LMR-Lab";
        if (c.pick) {
            form->SiteScanClick(nullptr);
            ASSERT_TRUE(Idle());
            ASSERT_GE(form->SiteServeyListView->Items().Count(), 1);
            form->SiteServeyListView->SetSelected(form->SiteServeyListView->Items()[0]);
            form->SiteServeyListViewClick(nullptr);
            mac = "0050C2000001";
            ssid = "Neighbour-A";
        } else {
            form->Ed_RoMAddra0->SetText(mac);
        }
        TEdit* shown = std::string(c.mode) == "5" ? form->Ed_CRoMAddra0 : form->Ed_RoMAddra0;
        EXPECT_TRUE(shown->Visible());
        EXPECT_EQ(shown->Text(), mac);
        dev->takeSetLog();
        ui.Boxes().Clear();
        waits.clear();
        form->Bt_ApplyClick(nullptr);
        ASSERT_TRUE(Idle());
        EXPECT_EQ(Texts(), std::vector<std::string>{});
        EXPECT_EQ(form->StatusBar->SimpleText(), "Setting Success!");
        EXPECT_EQ(waits, std::vector<int>{25});
        const auto log = dev->takeSetLog();
        EXPECT_TRUE(Sent(log, c.root));
        EXPECT_FALSE(Sent(log, c.otherRoot));
        EXPECT_EQ(dev->peek(P + c.root).value_or(""), "hex:" + mac);
        EXPECT_EQ(dev->peek(P + c.otherRoot).value_or(""), "hex:0050C20000EE");
        EXPECT_EQ(dev->peek(P + ".2.1.1.1.1").value_or(""), c.mode);
        EXPECT_EQ(dev->peek(P + ".1.1.1.1.1").value_or(""), ssid);
        // What the form shows afterwards is what the device holds.
        EXPECT_EQ(shown->Text(), mac);
        form.reset();
        main.reset();
    }
}

// The WDS modes wait 45 seconds after Apply, found by what the entry stands
// for; the others 25.
TEST_F(WirelessForm, WdsApplyWaitsFortyFiveSeconds) {
    struct Case {
        const char* name;
        const char* mask;
        const char* entry;
        int wait;
    };
    const Case cases[] = {
        {"wds with ap", "127", "WDS with AP", 45},
        {"wds", "127", "WDS", 45},
        {"wds in first place", "49", "WDS", 45},
        {"access point", "127", "Access Point", 25},
        {"repeater in second place", "19", "Universal Repeater", 25},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Caps caps;
        caps.apModes = c.mask;
        ASSERT_TRUE(Start(lmrtest::SimDevice::shared(), caps));
        auto* list = form->ED_APModeTempComboBox;
        list->SetItemIndex(list->Items().IndexOf(c.entry));
        form->ED_APModeTempComboBoxtestChange(nullptr);
        if (c.wait == 45) form->Ed_ReMAddra[0]->SetText("0050C2000001");
        form->Ed_RoMAddra0->SetText("0050C2000009");
        waits.clear();
        form->Bt_ApplyClick(nullptr);
        ASSERT_TRUE(Idle());
        EXPECT_EQ(Texts(), std::vector<std::string>{});
        EXPECT_EQ(waits, std::vector<int>{c.wait});
        if (c.wait == 45) {
            EXPECT_EQ(dev->peek(P + ".2.2.1.2.1.1").value_or(""), "hex:0050C2000001");
            // The other peers of the multipoint modes go out as the empty address.
            EXPECT_EQ(dev->peek(P + ".2.2.1.2.1.8").value_or(""), "hex:000000000000");
        }
        form.reset();
        main.reset();
    }
}

// A WEP entry on key slot 2 or 3 under a WPA primary: the warning says what
// happens, and the entry keeps its settings.
TEST_F(WirelessForm, KeySlotWarningSaysTheEntryKeepsItsSettings) {
    ASSERT_TRUE(Start(lmrtest::SimDevice::shared(), Caps{}));
    const std::string entry = P + ".2.9.2.1.";
    ASSERT_TRUE(dev->poke(P + ".2.9.3.1.1.0", "1"));
    ASSERT_TRUE(dev->poke(entry + "2.1.2", "1"));
    ASSERT_TRUE(dev->poke(entry + "4.1.2", "1"));
    ASSERT_TRUE(dev->poke(entry + "5.1.2", "1"));
    ASSERT_TRUE(dev->poke(entry + "6.1.2", "2"));
    form->Bt_RefreshClick(nullptr);
    ASSERT_TRUE(Idle());
    auto* auth = form->Ed_SecAuthaTemp;
    auth->SetItemIndex(auth->Items().IndexOf("WPA-PSK"));
    form->Ed_SecAuthaTempChange(nullptr);
    ui.Boxes().Clear();
    form->Bt_ApplyClick(nullptr);
    ASSERT_TRUE(Idle());
    ASSERT_EQ(ui.Boxes().Count(), 1);
    EXPECT_EQ(ui.Boxes().Last().text,
              "WPA or PSK will use key slot 2 and 3.\nOther Multiple SSID which uses WEP key 2 "
              "and 3 keeps its settings; change its key slot to First or Fourth.");
    EXPECT_EQ(ui.Boxes().Last().caption, "Warning");
    EXPECT_EQ(form->StatusBar->SimpleText(), "Setting Success!");
    EXPECT_EQ(dev->peek(P + ".2.5.1.1.1.1").value_or(""), "4");
    EXPECT_EQ(dev->peek(entry + "2.1.2").value_or(""), "1");
    EXPECT_EQ(dev->peek(entry + "4.1.2").value_or(""), "1");
    EXPECT_EQ(dev->peek(entry + "5.1.2").value_or(""), "1");
    EXPECT_EQ(dev->peek(entry + "6.1.2").value_or(""), "2");
}

// The backup RADIUS and backup accounting servers of a device that has them
// but did not answer their read: their controls stay disabled whatever the
// form's rules say, and an EAP Apply leaves them out.
TEST_F(WirelessForm, BackupServersWhoseReadFailedAreLeftOut) {
    struct Case {
        const char* name;
        const char* faultOid;
        std::vector<std::string> objects;
    };
    const Case cases[] = {
        {"backup radius",
         ".2.5.2.6",
         {".2.5.2.6.0", ".2.5.2.7.0", ".2.5.2.9.0", ".2.5.2.10.0"}},
        {"backup accounting",
         ".2.5.1.1.11.1",
         {".2.5.1.1.11.1", ".2.5.1.1.12.1", ".2.5.1.1.13.1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // The form opens, then the device stops answering the group.
        ASSERT_TRUE(Start(lmrtest::SimDevice::shared(), Caps{}));
        ASSERT_TRUE(dev->fault(P + c.faultOid, "noSuchName", "get"));
        form->Bt_RefreshClick(nullptr);
        ASSERT_TRUE(Idle());
        ASSERT_EQ(form->Ed_RaduisSupport->Text(), "1");
        ASSERT_EQ(form->Ed_AccountSupport->Text(), "1");
        auto* auth = form->Ed_SecAuthaTemp;
        auth->SetItemIndex(auth->Items().IndexOf("WPA-EAP"));
        form->Ed_SecAuthaTempChange(nullptr);
        // The rules that would enable the backup controls.
        form->CB_AcntEnable->SetItemIndex(1);
        form->CB_AcntEnableChange(nullptr);
        form->CB_SecRadiusModeChange(nullptr);
        if (std::string(c.name) == "backup radius") {
            for (TControl* ctl : std::vector<TControl*>{form->CB_SecRadiusMode,
                                                        form->Ed_SecRadiusServer,
                                                        form->Ed_SecRadiusport,
                                                        form->Ed_SecRadiusSecret})
                EXPECT_FALSE(ctl->Enabled()) << ctl->Name();
        } else {
            for (TControl* ctl : std::vector<TControl*>{form->CB_SecAccountMode,
                                                        form->Ed_SecAccountServer,
                                                        form->Ed_SecAccountPort})
                EXPECT_FALSE(ctl->Enabled()) << ctl->Name();
        }
        dev->takeSetLog();
        ui.Boxes().Clear();
        form->Bt_ApplyClick(nullptr);
        ASSERT_TRUE(Idle());
        EXPECT_EQ(Texts(), std::vector<std::string>{});
        const auto log = dev->takeSetLog();
        EXPECT_FALSE(log.empty());
        for (const auto& o : c.objects) {
            EXPECT_FALSE(Sent(log, o)) << o;
        }
        EXPECT_EQ(dev->peek(P + ".2.5.1.1.1.1").value_or(""), "5");
        dev->clearFaults();
        form.reset();
        main.reset();
    }
}

// A group the device stopped answering after the form opened: Apply with
// nothing changed sends none of its objects, the controls that stand for it
// cannot be used, and the device ends as it was.
TEST_F(WirelessForm, GroupWhoseReadFailedIsNotWritten) {
    struct Case {
        const char* name;
        const char* faultOid;
        std::vector<std::string> objects;
        // A control that stands for the group and the form's rules enable, or null.
        std::function<TControl*(TFM_Wirless*)> proxy;
    };
    const Case cases[] = {
        {"ap mode", ".2.1.1.1.1", {".2.1.1.1.1", ".2.2.1.2.1.1"},
         [](TFM_Wirless* f) -> TControl* { return f->ED_APModeTempComboBox; }},
        {"security", ".2.5.1.1.1.1", {".2.5.1.1.1.1", ".2.5.1.1.2.1", ".2.5.1.1.3.1"},
         [](TFM_Wirless* f) -> TControl* { return f->Ed_SecAuthaTemp; }},
        {"ssid", ".1.1.1.3.1", {".1.1.1.2.1", ".1.1.1.3.1"},
         [](TFM_Wirless* f) -> TControl* { return f->CB_Chana; }},
        {"super g", ".2.3.1.11", {".2.3.1.11.0"},
         [](TFM_Wirless* f) -> TControl* { return f->AD_SuperMode; }},
        {"repeater", ".2.1.1.3.1", {".2.1.1.3.1", ".2.1.1.4.1"}, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(Start(lmrtest::SimDevice::shared(), Caps{}));
        ASSERT_TRUE(dev->fault(P + c.faultOid, "noSuchName", "get"));
        form->Bt_RefreshClick(nullptr);
        ASSERT_TRUE(Idle());
        if (c.proxy) {
            EXPECT_FALSE(c.proxy(form.get())->Enabled());
        }
        const auto before = Snapshot();
        dev->takeSetLog();
        ui.Boxes().Clear();
        form->Bt_ApplyClick(nullptr);
        ASSERT_TRUE(Idle());
        dev->clearFaults();
        const auto log = dev->takeSetLog();
        for (const auto& o : c.objects) {
            EXPECT_FALSE(Sent(log, o)) << o;
        }
        EXPECT_EQ(Snapshot(), before);
        // Answered again, the group is usable again.
        form->Bt_RefreshClick(nullptr);
        ASSERT_TRUE(Idle());
        if (c.proxy) {
            EXPECT_TRUE(c.proxy(form.get())->Enabled());
        }
        EXPECT_TRUE(form->CloseQuery());
        form.reset();
        main.reset();
    }
}

// The limits of the SSID, the passphrase and the group key interval.
TEST_F(WirelessForm, InputLimits) {
    struct Case {
        const char* name;
        const char* auth; // null: as read
        std::function<void(TFM_Wirless*)> change;
        const char* refusal; // null: accepted
        const char* oid;     // what an accepted value is written to
        std::string value;
    };
    const std::string ssid32(32, 's'), ssid33(33, 's');
    const std::string pass63(63, 'p'), pass64(64, 'p');
    const std::vector<Case> cases = {
        {"ssid 32", nullptr, [&](TFM_Wirless* f) { f->Ed_SSIDa->SetText(ssid32); }, nullptr,
         ".1.1.1.1.1", ssid32},
        {"ssid 33", nullptr, [&](TFM_Wirless* f) { f->Ed_SSIDa->SetText(ssid33); },
         "The Max Length of SSID is 32.!", nullptr, ""},
        {"passphrase 63", "WPA-PSK",
         [&](TFM_Wirless* f) { f->PassPhrasePSKEdit->SetText(pass63); }, nullptr, ".2.5.1.1.4.1",
         pass63},
        {"passphrase 64", "WPA-PSK",
         [&](TFM_Wirless* f) { f->PassPhrasePSKEdit->SetText(pass64); },
         "The length of 802.11g PassPhrase is between 8 and 63.", nullptr, ""},
        {"interval 300", "WPA-PSK", [](TFM_Wirless* f) { f->GroupKeyPSKEdit->SetText("300"); },
         nullptr, ".2.5.1.1.6.1", "300"},
        {"interval 9999999", "WPA-PSK",
         [](TFM_Wirless* f) { f->GroupKeyPSKEdit->SetText("9999999"); }, nullptr, ".2.5.1.1.6.1",
         "9999999"},
        {"interval 10000000", "WPA-PSK",
         [](TFM_Wirless* f) { f->GroupKeyPSKEdit->SetText("10000000"); },
         "Please input a number between 300 and 9999999.", nullptr, ""},
        {"eap interval 10000000", "WPA-EAP",
         [](TFM_Wirless* f) { f->GroupKeyEdit->SetText("10000000"); },
         "Please input a number between 300 and 9999999.", nullptr, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(Start(lmrtest::SimDevice::shared(), Caps{}));
        if (c.auth) {
            auto* a = form->Ed_SecAuthaTemp;
            a->SetItemIndex(a->Items().IndexOf(c.auth));
            form->Ed_SecAuthaTempChange(nullptr);
        }
        c.change(form.get());
        const auto before = Snapshot();
        dev->takeSetLog();
        ui.Boxes().Clear();
        waits.clear();
        form->Bt_ApplyClick(nullptr);
        ASSERT_TRUE(Idle());
        if (c.refusal) {
            ASSERT_EQ(ui.Boxes().Count(), 1);
            EXPECT_EQ(ui.Boxes().Last().text, c.refusal);
            EXPECT_TRUE(dev->takeSetLog().empty());
            EXPECT_EQ(Snapshot(), before);
            EXPECT_TRUE(waits.empty());
        } else {
            EXPECT_EQ(Texts(), std::vector<std::string>{});
            EXPECT_EQ(dev->peek(P + c.oid).value_or(""), c.value);
            EXPECT_EQ(form->StatusBar->SimpleText(), "Setting Success!");
        }
        form.reset();
        main.reset();
    }
}

// Shown in each layout a device can give it, the form has no control out of
// its parent, none on another, and no label or list cut off.
TEST_F(WirelessForm, LayoutHoldsInEveryMode) {
    const char* dir = std::getenv("LMR_SCREENSHOT_DIR");
    Caps old;
    old.fw = "2.05";
    old.turbo = "0";
    old.newMulti = "0";
    struct Shot {
        const char* name;
        const char* mode; // the AP-mode entry to choose, or null
        const char* auth; // the authentication to choose, or null
        bool scan;
        bool shortLayout;
    };
    const Shot shots[] = {
        {"access-point", nullptr, nullptr, false, false},
        {"wds", "WDS with AP", nullptr, false, false},
        {"repeater", "Universal Repeater", nullptr, true, false},
        {"client", "Wireless Client", "WPA-PSK", true, false},
        {"eap", nullptr, "WPA-EAP", false, false},
        {"short", nullptr, nullptr, false, true},
    };
    for (const auto& shot : shots) {
        SCOPED_TRACE(shot.name);
        ASSERT_TRUE(Start(shot.shortLayout ? OldDevice() : lmrtest::SimDevice::shared(),
                          shot.shortLayout ? old : Caps{}));
        if (shot.mode) {
            auto* m = form->ED_APModeTempComboBox;
            ASSERT_GE(m->Items().IndexOf(shot.mode), 0);
            m->SetItemIndex(m->Items().IndexOf(shot.mode));
            form->ED_APModeTempComboBoxtestChange(nullptr);
        }
        if (shot.auth) {
            auto* a = form->Ed_SecAuthaTemp;
            ASSERT_GE(a->Items().IndexOf(shot.auth), 0);
            a->SetItemIndex(a->Items().IndexOf(shot.auth));
            form->Ed_SecAuthaTempChange(nullptr);
        }
        if (shot.scan) {
            form->SiteScanClick(nullptr);
            ASSERT_TRUE(Idle());
            EXPECT_EQ(form->SiteServeyListView->Items().Count(), 2);
        }
        form->Show();
        Application->ProcessMessages();
        EXPECT_EQ(lmrtest::LayoutFaults(*form), std::vector<std::string>{});
        if (dir)
            form->Widget()->grab().save(QString::fromStdString(std::string(dir) + "/wireless-" +
                                                               shot.name + ".png"));
        form->Hide();
        form.reset();
        main.reset();
    }
}

} // namespace
