// The status poll and the indicators, and the capability re-reads.
#include "tests/app/mainform_fixture.h"

namespace mainformtest {
namespace {

class Indicators : public MainFormTest {
protected:
    // Colours of one indicator after the direct call and each blink tick.
    struct Trace {
        std::vector<TColor> lan, wlan;
        int ticks = 0;
    };
    Trace Blink(TMainForm* f, QvSNMPError& result) {
        Trace t;
        f->StatusPollDone(&result);
        t.lan.push_back(Color(f->LED_Lan));
        t.wlan.push_back(Color(f->LED_WLan));
        while (f->LedBlink->Enabled() && t.ticks < 100) {
            f->LedBlink->Fire();
            ++t.ticks;
            t.lan.push_back(Color(f->LED_Lan));
            t.wlan.push_back(Color(f->LED_WLan));
        }
        return t;
    }
    static int Changes(TColor before, const std::vector<TColor>& after) {
        int n = 0;
        for (TColor c : after) {
            if (c != before) ++n;
            before = c;
        }
        return n;
    }
};

TEST_F(Indicators, BlinkCountsAndResting) {
    TMainForm* f = Bare({"/I127.0.0.1"});
    QvSNMPError ok;
    ok.Message = "Success";
    QvSNMPError down;
    down.Code = -405;
    down.Message = "(SNMPClass) SNMP request timed out!";

    struct {
        const char* what;
        bool failFirst;
        TColor lanBefore;
        int lanChanges; // colour changes seen during the blink
        int wlanChanges;
    } cases[] = {
        // From white the first toggle gives black; 24 toggles end on lime.
        {"first answer", false, clWhite, 24, 6},
        {"next answer", false, clLime, 24, 6},
        // After a failure: 24 toggles from black, then resting lime.
        {"answer after a failure", true, clBlack, 24, 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.failFirst) {
            f->StatusPollDone(&down);
            EXPECT_EQ(Color(f->LED_Power), clBlack);
            EXPECT_EQ(Color(f->LED_Lan), clBlack);
            EXPECT_EQ(Color(f->LED_WLan), clBlack);
            EXPECT_EQ(f->LastStatusText, down.Message);
            EXPECT_EQ(f->LastStatusCode, -405);
            EXPECT_TRUE(f->LedStatus->Enabled());
        }
        ASSERT_EQ(Color(f->LED_Lan), c.lanBefore);
        const TColor wlanBefore = Color(f->LED_WLan);
        Trace t = Blink(f, ok);
        EXPECT_EQ(t.ticks, 23); // the direct call and 23 timer ticks
        EXPECT_FALSE(f->LedBlink->Enabled());
        EXPECT_EQ(f->LedBlink->Tag(), 24);
        // Each of the 24 steps toggles LED_Lan, LED_WLan on tags 0, 4, ...
        // 20; a white start counts as not black. The last step rests lime.
        std::vector<TColor> lan, wlan;
        TColor l = c.lanBefore, w = wlanBefore;
        for (int k = 0; k < 24; ++k) {
            l = l != clBlack ? clBlack : clLime;
            if (k % 4 == 0) w = w != clBlack ? clBlack : clLime;
            lan.push_back(l);
            wlan.push_back(w);
        }
        EXPECT_EQ(Changes(c.lanBefore, lan), c.lanChanges);
        EXPECT_EQ(Changes(wlanBefore, wlan), c.wlanChanges);
        lan.back() = wlan.back() = clLime;
        EXPECT_EQ(t.lan, lan);
        EXPECT_EQ(t.wlan, wlan);
        EXPECT_EQ(Color(f->LED_Power), clLime);
        EXPECT_EQ(Color(f->LED_Lan), clLime);
        EXPECT_EQ(Color(f->LED_WLan), clLime);
        EXPECT_EQ(f->LastStatusText.rfind("Get: Success. Receive at ", 0), 0u)
            << f->LastStatusText;
        EXPECT_EQ(f->MainStatusBar->SimpleText(), f->LastStatusText);
        EXPECT_TRUE(f->LedStatus->Enabled());
    }
}

TEST_F(Indicators, DeviceStopsAnsweringAndComesBack) {
    lmrtest::SimOptions options;
    options.silenceSeconds = 3;
    lmrtest::SimDevice dev(options);
    ASSERT_TRUE(dev.start()) << dev.error();
    ConfigForSim(dev);
    TMainForm* f = Start({"/I127.0.0.1", "/Rtarnok"});
    ASSERT_TRUE(Settle(f));
    ASSERT_EQ(Color(f->LED_Lan), clLime);
    // A short wait per poll keeps the test quick.
    f->StatusRequest->Timeout = 30;
    f->StatusRequest->Retries = 0;

    ASSERT_TRUE(dev.restart());
    // The agent may answer a moment longer while it shuts down, also with
    // errors while its objects are going.
    for (int poll = 0; poll < 20 && f->LastStatusCode != -405; ++poll) {
        f->LedStatus->Fire();
        EXPECT_FALSE(f->LedStatus->Enabled()); // stopped while the poll is out
        ASSERT_TRUE(Pump([&] { return f->LedStatus->Enabled(); }));
    }
    ASSERT_EQ(f->LastStatusCode, -405);
    EXPECT_EQ(f->LastStatusText, "(SNMPClass) SNMP request timed out!");
    EXPECT_EQ(f->MainStatusBar->SimpleText(), f->LastStatusText);
    for (TShape* led : {f->LED_Power, f->LED_Lan, f->LED_WLan})
        EXPECT_EQ(Color(led), clBlack);

    // The Status menu does not ask a device that timed out.
    f->status2Click(f->status2);
    EXPECT_EQ(f->ClientInfoRequest, nullptr);
    EXPECT_FALSE(f->Client1->Visible());

    ASSERT_TRUE(dev.waitUntilAnswering());
    f->LedStatus->Fire();
    ASSERT_TRUE(Pump([&] { return f->LedStatus->Enabled(); }));
    EXPECT_EQ(f->LastStatusCode, 0) << f->LastStatusText;
    EXPECT_EQ(Color(f->LED_Power), clLime);
    for (int k = 0; k < 30 && f->LedBlink->Enabled(); ++k)
        f->LedBlink->Fire();
    EXPECT_EQ(Color(f->LED_Lan), clLime);
    EXPECT_EQ(Color(f->LED_WLan), clLime);
    EXPECT_EQ(ui.Boxes().Count(), 0);

    f->status2Click(f->status2);
    EXPECT_NE(f->ClientInfoRequest, nullptr);
    EXPECT_TRUE(f->Client1->Visible());
}

class Rereads : public MainFormTest {};

TEST_F(Rereads, SeventeenProbesAndTheClearOnEverySeventhTick) {
    lmrtest::SimDevice& dev = lmrtest::SimDevice::shared();
    ASSERT_TRUE(dev.running()) << dev.error();
    ConfigForSim(dev);
    TMainForm* f = Start({"/I127.0.0.1", "/Rtarnok"});
    ASSERT_TRUE(Settle(f));
    ASSERT_EQ(f->Ed_FwVer->Text(), "v2.31");

    // Changed values show after a re-read; probes read once keep theirs.
    ASSERT_TRUE(dev.poke("qvEnterprise.11.37.4.99.1.1.13.0", "2"));
    ASSERT_TRUE(dev.poke("qvEnterprise.11.37.4.99.1.1.51.0", "0"));
    for (int tick = 1; tick <= 8; ++tick) {
        SCOPED_TRACE(tick);
        f->Timer1->Fire();
        if (tick == 8) {
            // Emptied before the answers arrive; the read-once fields stay.
            EXPECT_EQ(f->Ed_FwVer->Text(), "");
            EXPECT_EQ(f->NewMultiSupport->Text(), "");
            EXPECT_EQ(f->mssidAndWdssupport->Text(), "");
            EXPECT_EQ(f->Edt_Rougeapsupport->Text(), "");
            EXPECT_EQ(f->ApmodeStringChangeSupport->Text(), "1");
            EXPECT_EQ(f->Ed_ipRangeSupported->Text(), "1");
            EXPECT_EQ(f->ProbeCounter, 1);
        } else {
            EXPECT_EQ(f->ProbeCounter, tick);
        }
        ASSERT_TRUE(Pump([&] { return ProbesIdle(f); }));
        EXPECT_EQ(f->Ed_FwVer->Text(), "v2.31");
        EXPECT_EQ(f->NewMultiSupport->Text(), "2");
        EXPECT_EQ(f->ApmodeStringChangeSupport->Text(), "1");
    }
    EXPECT_EQ(ui.Boxes().Count(), 0);
}

TEST_F(Rereads, FirmwareVersionGetsItsPrefix) {
    TMainForm* f = Bare({"/I127.0.0.1"});
    struct {
        const char* in;
        const char* out;
    } cases[] = {{"2.10", "v2.10"}, {"v2.31", "v2.31"}, {"", "v"}, {"V1.0", "vV1.0"}};
    for (const auto& c : cases) {
        f->Ed_FwVer->SetText(c.in);
        f->FirmwareVersionRead(nullptr, nullptr);
        EXPECT_EQ(f->Ed_FwVer->Text(), c.out) << c.in;
    }
}

} // namespace
} // namespace mainformtest
