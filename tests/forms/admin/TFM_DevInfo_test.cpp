// The device information form against the simulated device: every field,
// the Super G text by capability, AP mode and channel (the AP mode answered
// before the text is decided), the optional CPU and memory box, a failed
// read, and the round trip that leaves the device as it was.
#include "forms/admin/TFM_DevInfo.h"

#include "binding/QvSNMPRequest2Edits.h"
#include "forms/admin/TClientInformation.h"
#include "forms/admin/TFM_Static.h"
#include "ui/Menu.h"
#include "tests/forms/admin/status_fixture.h"
#include "ui/PageControl.h"
#include "ui/StatusBar.h"

#include <memory>

namespace statustest {
namespace {

const std::string kAP = "qvEnterprise.11.37.4";
const std::string kSuperValue = kAP + ".2.3.1.11.0";
const std::string kApMode = kAP + ".2.1.1.1.1";
const std::string kChannel = kAP + ".4.2.1.2.1";
const std::string kStatusSuper = kAP + ".4.2.1.3.1";
const std::string kCpuMem = kAP + ".4.1.2";

class DevInfo : public StatusFormTest {
protected:
    void SetUp() override {
        StatusFormTest::SetUp();
        ASSERT_TRUE(dev->reset());
        // A turbo-capable device whose AP mode is not asked for.
        main->ED_Turbomode->SetText("2");
        main->Ed_RptModeToSuper->SetText("1");
        main->ApmodeStringChangeSupport->SetText("1");
    }
    void TearDown() override {
        form.reset();
        StatusFormTest::TearDown();
    }
    TFM_DevInfo* Open() {
        form.reset(NewForm<TFM_DevInfo>(Application));
        return form.get();
    }
    std::unique_ptr<TFM_DevInfo> form;
};

TEST_F(DevInfo, ShowsEveryFieldAndLeavesTheDeviceAsItWas) {
    const std::vector<std::string> watched = {kSuperValue, kApMode, kChannel, kStatusSuper,
                                              kAP + ".4.1.1.1.0", kAP + ".4.1.1.4.0",
                                              kCpuMem + ".1.0", kCpuMem + ".2.0"};
    const auto before = Peek(watched);
    TFM_DevInfo* f = Open();
    EXPECT_EQ(ui.Boxes().Count(), 0) << ui.Boxes().Last().text;
    const std::pair<TEdit*, std::string> expected[] = {
        {f->Ed_SSIDa, "LMR-Lab"},
        {f->Ed_Channela, "6"},
        {f->Ed_SupModa, "Disabled"},
        {f->Ed_SupModusa, "Disabled"},
        {f->Ed_DatRata, "54"},
        {f->Ed_SecLevAutha, "Open System"},
        {f->Ed_SecLevPria, "WEP 128"},
        {f->Ed_Firmware, "v2.31"},
        {f->Ed_Mac, "0050C2A1B2C3"},
        {f->Ed_GetIP, "Manual"},
        {f->Ed_IPaddr, "192.0.2.1"},
        {f->Ed_SubMask, "255.255.255.0"},
        {f->Ed_Gate, "192.0.2.254"},
        {f->Ed_CPU, "7"},
        {f->Ed_Memory, "43"},
    };
    for (const auto& [edit, text] : expected) {
        EXPECT_EQ(edit->Text(), text) << edit->Name();
        EXPECT_TRUE(edit->ReadOnly()) << edit->Name();
    }
    EXPECT_TRUE(f->ApStatusReadable);
    EXPECT_TRUE(f->GB_APStatus->Visible());
    EXPECT_EQ(f->TabSheetA->Caption(), "IEEE 802.11g");
    EXPECT_FALSE(f->TabSheetG->TabVisible());
    EXPECT_EQ(f->Band2Request, nullptr); // band 2 is never shown
    Picture(f, "devinfo.png");

    // Refresh asks the band and the AP status again; nothing is ever written.
    ASSERT_TRUE(dev->poke(kCpuMem + ".1.0", "55"));
    f->Bt_Refa->Click();
    EXPECT_EQ(f->Ed_CPU->Text(), "55");
    ASSERT_TRUE(dev->poke(kCpuMem + ".1.0", "7"));
    form.reset();
    EXPECT_TRUE(dev->takeSetLog().empty());
    EXPECT_EQ(Peek(watched), before);
}

TEST_F(DevInfo, SuperGTextByCapabilityApModeAndChannel) {
    struct Case {
        const char* turbo;      // ED_Turbomode
        const char* rptToSuper; // Ed_RptModeToSuper
        const char* apMode;     // adAPMode (4: repeater)
        const char* superValue; // adSuperMode scalar: 4 Disable, 1 Enable
        const char* channel;
        const char* statusSuper; // stSuperMode: 1..3 Super G modes, 4 Disabled
        const char* shown;
    } cases[] = {
        {"0", "1", "1", "1", "6", "4", "Enabled"},
        {"0", "1", "1", "4", "11", "1", "Disabled"},
        // The same test of the capability decides what is read and the text.
        {"00", "1", "1", "1", "6", "4", "Enabled"},
        {"2", "1", "1", "4", "11", "1", "Super G without Turbo"},
        {"2", "1", "1", "4", "11", "3", "Super G without Turbo"},
        {"2", "1", "1", "4", "6", "3", "Super G with Dynamic Turbo"},
        {"2", "1", "1", "4", "11", "4", "Disabled"},
        // A repeater: the AP mode's answer is there before the decision.
        {"2", "0", "4", "4", "11", "3", "Enabled"},
        {"2", "0", "4", "4", "11", "4", "Disabled"},
        {"2", "0", "1", "4", "11", "3", "Super G without Turbo"},
        // A field that is no number does not ask for the AP mode.
        {"2", "x", "4", "4", "11", "3", "Super G without Turbo"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.turbo) + "/" + c.rptToSuper + "/" + c.apMode + "/" +
                     c.superValue + "/" + c.channel + "/" + c.statusSuper);
        main->ED_Turbomode->SetText(c.turbo);
        main->Ed_RptModeToSuper->SetText(c.rptToSuper);
        ASSERT_TRUE(dev->poke(kApMode, c.apMode));
        ASSERT_TRUE(dev->poke(kSuperValue, c.superValue));
        ASSERT_TRUE(dev->poke(kChannel, c.channel));
        ASSERT_TRUE(dev->poke(kStatusSuper, c.statusSuper));
        TFM_DevInfo* f = Open();
        EXPECT_EQ(f->Ed_SupModusa->Text(), c.shown);
        EXPECT_EQ(f->SuperGRequest != nullptr, std::string(c.turbo) != "2");
        EXPECT_EQ(f->ApModeRequest != nullptr, std::string(c.rptToSuper) == "0");
        // With the turbo value read, the status's own mode is left out.
        EXPECT_EQ((f->Band1Request->request.vars.Item(2)->Access & QvAccess::Invalid) != 0,
                  std::string(c.turbo) != "2");
        form.reset();
    }
    EXPECT_EQ(ui.Boxes().Count(), 0);
    EXPECT_TRUE(dev->takeSetLog().empty());
}

// The device gives its data rate as text: it is shown as sent, whatever the
// text, and Refresh shows the new one.
TEST_F(DevInfo, DataRateShowsTheDevicesText) {
    for (const char* rate : {"54", "5.5", "Auto"}) {
        SCOPED_TRACE(rate);
        ASSERT_TRUE(dev->poke(kAP + ".4.2.1.4.1", rate));
        TFM_DevInfo* f = Open();
        EXPECT_EQ(ui.Boxes().Count(), 0);
        EXPECT_EQ(f->Ed_DatRata->Text(), rate);
        ASSERT_TRUE(dev->poke(kAP + ".4.2.1.4.1", "11"));
        f->Bt_Refa->Click();
        EXPECT_EQ(f->Ed_DatRata->Text(), "11");
        form.reset();
    }
}

TEST_F(DevInfo, WithoutCpuAndMemoryTheBoxStaysHiddenAndRefreshLeavesThemOut) {
    ASSERT_TRUE(dev->fault(kCpuMem, "noSuchName", "get"));
    TFM_DevInfo* f = Open();
    EXPECT_EQ(ui.Boxes().Count(), 0);
    EXPECT_FALSE(f->ApStatusReadable);
    EXPECT_FALSE(f->GB_APStatus->Visible());
    EXPECT_EQ(f->Ed_SSIDa->Text(), "LMR-Lab");
    const int64_t failures = f->ApStatusRequest->request.Failures;
    ASSERT_TRUE(dev->clearFaults());
    f->Bt_Refa->Click();
    EXPECT_EQ(f->ApStatusRequest->request.Failures, failures);
    // Not asked, though the device would answer now.
    EXPECT_EQ(f->Ed_CPU->Text(), "(NULL)");
    Picture(f, "devinfo-old.png");
}

TEST_F(DevInfo, AFailedReadIsShownAndTheFormStillCloses) {
    ASSERT_TRUE(dev->fault(kAP + ".4.1.1.4.0", "noSuchName", "get"));
    TFM_DevInfo* f = Open();
    ASSERT_EQ(ui.Boxes().Count(), 1);
    EXPECT_FALSE(ui.Boxes().Last().text.empty());
    EXPECT_EQ(f->Ed_IPaddr->Text(), "(NULL)");
    EXPECT_FALSE(f->GB_APStatus->Visible()); // the handler ended at the failure
    f->Close();
    form.reset();
}

// The Status commands open the three forms modally once they are registered
// (the program's entry registers them).
TEST_F(DevInfo, StatusCommandsOpenTheForms) {
    TFM_DevInfo::RegisterOpener();
    TFM_Static::RegisterOpener();
    TClientInformation::RegisterOpener();
    const struct {
        TMenuItem* item;
        const char* className;
        const char* caption;
    } commands[] = {
        {main->stDeviceInfo2, "TFM_DevInfo", "Status \\ Device Info"},
        {main->stStats1, "TFM_Static", "Status \\ Stats"},
        {main->Client1, "TClientInformation", "Status \\ Client Info"},
    };
    std::vector<std::string> shown;
    ui.OnModal([&](TForm* f) {
        shown.push_back(f->Caption());
        if (auto* clients = dynamic_cast<TClientInformation*>(f)) {
            EXPECT_TRUE(Pump([&] { return !clients->Busy; }));
        }
        f->Close();
    });
    for (const auto& c : commands) {
        c.item->Click();
        EXPECT_EQ(main->LastRequestedForm(), c.className);
    }
    for (const auto& c : commands)
        TMainForm::RegisterFormOpener(c.className, nullptr);
    EXPECT_EQ(shown, (std::vector<std::string>{commands[0].caption, commands[1].caption,
                                               commands[2].caption}));
    EXPECT_EQ(ui.Boxes().Count(), 0);
    EXPECT_TRUE(dev->takeSetLog().size() == 1); // the client form's acquire only
}

} // namespace
} // namespace statustest
