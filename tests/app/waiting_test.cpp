// The waiting dialog against the simulated device: its defaults and the
// firmware read, the countdown in ticks driven by hand (timers frozen), the
// LAN indicator of a main window that is made but not started, the one
// restart command in the device's set log, and the close rules.
#include "app/TFM_Waiting.h"

#include "app/TMainForm.h"
#include "binding/QvSNMPRequest2Edits.h"
#include "snmp/QvSession.h"
#include "support/SimFixture.h"
#include "tests/app/mainform_fixture.h"
#include "tests/binding/group_fixture.h"
#include "ui/Application.h"
#include "ui/Testing.h"
#include "ui/Timer.h"
#include "ui/Widgets.h"

#include <QPixmap>
#include <QString>
#include <QWidget>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;
const std::string kUpgradeCommand = ".1.3.6.1.4.1.32473.11.37.4.3.3.5.0";

class Waiting : public ::testing::Test {
protected:
    static void SetUpTestSuite() { snmptest::CreateGlobalSessionInTempFolder(); }

    void SetUp() override {
        ui.FreezeTimers();
        dev = &lmrtest::SimDevice::shared();
        ASSERT_TRUE(dev->running()) << dev->error();
        main = new TMainForm(nullptr); // made, not started: no poll runs
        ASSERT_EQ(MainForm, main);
        ASSERT_NE(main->LED_Lan, nullptr);
        g_DefaultDevice.Address = dev->host();
        g_DefaultDevice.Port = static_cast<uint16_t>(dev->port());
        g_DefaultSecurity = QvSNMPSecurity{};
        g_DefaultSecurity.Version = 1;
        g_DefaultTimeout = 50;
        dev->takeSetLog();
    }

    void TearDown() override {
        delete dialog;
        delete main;
        // A restart of this test must not silence the next one in the process.
        if (dev && dev->control("state") != "ok running") dev->waitUntilAnswering();
        g_DefaultDevice = QvSNMPDevice{};
        g_DefaultSecurity = QvSNMPSecurity{};
    }

    TFM_Waiting* Make() {
        dialog = new TFM_Waiting(Application);
        FM_Waiting = dialog;
        return dialog;
    }

    void Lan(bool lime) { main->LED_Lan->Brush().SetColor(lime ? clLime : clBlack); }

    // Ticks until the dialog asks to close (at most limit ticks); lime(t)
    // sets the indicator before tick t (1-based). Returns the closing tick,
    // 0 when it stayed open; the count shown after each tick goes to shown.
    int Tick(const std::function<bool(int)>& lime, int limit, Texts* shown = nullptr) {
        for (int t = 1; t <= limit; ++t) {
            Lan(lime(t));
            dialog->Timer1->Fire();
            if (shown) shown->push_back(dialog->La_Time->Caption());
            if (dialog->ModalResult() != mrNone || (!dialog->Modal() && !dialog->IsShown()))
                return t;
        }
        return 0;
    }

    // Waits for the restart write to be answered.
    void FinishRestart() {
        if (dialog->RebootRequest) {
            EXPECT_TRUE(snmptest::WaitIdle(*dialog->RebootRequest));
        }
    }

    UiTestSession ui;
    lmrtest::SimDevice* dev = nullptr;
    TMainForm* main = nullptr;
    TFM_Waiting* dialog = nullptr;
};

TEST_F(Waiting, DefaultsAndTheFirmwareRead) {
    Make();
    EXPECT_EQ(dialog->Caption(), "Please wait");
    EXPECT_EQ(dialog->BorderStyle(), bsSingle);
    EXPECT_FALSE(dialog->BorderIcons() & biMaximize);
    EXPECT_EQ(dialog->Position(), poMainFormCenter);
    EXPECT_EQ(dialog->Label2->Caption(), "Settings saved.");
    EXPECT_EQ(dialog->Label3->Caption(), "The device is restarting.");
    EXPECT_EQ(dialog->Label1->Caption(), "Please wait for");
    EXPECT_EQ(dialog->Label4->Caption(), "seconds");
    EXPECT_FALSE(dialog->Ed_Reboot->Visible());
    EXPECT_FALSE(dialog->Ed_FwVer->Visible());
    EXPECT_EQ(dialog->Timer1->Interval(), 1200u);
    EXPECT_TRUE(dialog->Timer1->Enabled());
    EXPECT_EQ(dialog->Countdown, 25);
    EXPECT_EQ(dialog->RebootFlag, 1);
    EXPECT_EQ(dialog->PendingReboot, 1);
    EXPECT_EQ(dialog->RebootDelayTicks, 2);
    EXPECT_EQ(dialog->FailureCount, 0);
    EXPECT_EQ(dialog->Ed_FwVer->Text(), *dev->peek("qvEnterprise.11.37.4.4.1.1.1.0"));
    EXPECT_EQ(ui.Boxes().Count(), 0);
    EXPECT_TRUE(dev->takeSetLog().empty());
}

TEST_F(Waiting, SilentDeviceAtCreationStillCountsFromTwentyFive) {
    ASSERT_TRUE(dev->fault("qvEnterprise.11.37.4.4.1.1.1", "timeout", "any", 2000));
    Make();
    dev->clearFaults();
    EXPECT_EQ(dialog->Countdown, 25);
    EXPECT_EQ(dialog->Ed_FwVer->Text(), "");
    for (const auto& b : ui.Boxes().Boxes())
        ADD_FAILURE() << b.caption << ": " << b.text;
}

struct CountCase {
    const char* name;
    int countdown;
    std::function<bool(int)> lime; // indicator before tick t
    int closesAt;                  // tick that closes; 0: still open after 20
    Texts shown;                   // count on show, then after each tick to the close
    int failures;
};
void PrintTo(const CountCase& c, std::ostream* os) {
    *os << c.name;
}

class WaitingCount : public Waiting, public ::testing::WithParamInterface<CountCase> {};

TEST_P(WaitingCount, ShownModally) {
    const CountCase& c = GetParam();
    Make();
    dialog->RebootFlag = 0;
    dialog->Countdown = c.countdown;
    int closedAt = -1;
    Texts shown;
    ui.NextModal([&](TForm*) {
        shown.push_back(dialog->La_Time->Caption());
        closedAt = Tick(c.lime, 20, &shown);
    });
    dialog->ShowModal();
    EXPECT_EQ(closedAt, c.closesAt);
    EXPECT_EQ(shown, c.shown);
    EXPECT_EQ(dialog->FailureCount, c.failures);
    EXPECT_EQ(ui.ModalTimeouts(), 0);
    EXPECT_TRUE(dev->takeSetLog().empty());
}

bool Always(int) {
    return true;
}
bool Never(int) {
    return false;
}

INSTANTIATE_TEST_SUITE_P(
    Table, WaitingCount,
    ::testing::Values(
        CountCase{"AnsweringThroughout", 5, Always, 5, {"5", "4", "3", "2", "1", "0"}, 0},
        CountCase{"SilentSixTicksAtOne",
                  5,
                  Never,
                  10,
                  {"5", "4", "3", "2", "1", "1", "1", "1", "1", "1", "1"},
                  6},
        CountCase{"BackOnTheThirdCheck",
                  3,
                  [](int t) { return t >= 5; },
                  5,
                  {"3", "2", "1", "1", "1", "0"},
                  2},
        // Lime only during a blink of the countdown does not close it early.
        CountCase{"AnsweringBeforeOneIsNoClose",
                  4,
                  [](int t) { return t < 3; },
                  9,
                  {"4", "3", "2", "1", "1", "1", "1", "1", "1", "1"},
                  6},
        // A caller's count of 0 still gives up after six silent ticks.
        CountCase{"NoCountAndSilent", 0, Never, 6, {"0", "0", "0", "0", "0", "0", "0"}, 6},
        CountCase{"NoCountAndAnswering", 0, Always, 1, {"0", "-1"}, 0}),
    [](const ::testing::TestParamInfo<CountCase>& info) { return std::string(info.param.name); });

struct RestartCase {
    const char* name;
    int rebootFlag;
    int delay;
    int countdown;
    int restartTick; // 0: none while the dialog is open
};
void PrintTo(const RestartCase& c, std::ostream* os) {
    *os << c.name;
}

class WaitingRestart : public Waiting, public ::testing::WithParamInterface<RestartCase> {};

TEST_P(WaitingRestart, OneWriteAtMost) {
    const RestartCase& c = GetParam();
    Make();
    dialog->RebootFlag = static_cast<uint8_t>(c.rebootFlag);
    dialog->RebootDelayTicks = c.delay;
    dialog->Countdown = c.countdown;
    int sentAt = 0;
    int closedAt = 0;
    ui.NextModal([&](TForm*) {
        for (int t = 1; t <= 20 && !closedAt; ++t) {
            Lan(true);
            dialog->Timer1->Fire();
            if (dialog->RebootRequest && !sentAt) sentAt = t;
            if (dialog->ModalResult() != mrNone) closedAt = t;
        }
    });
    dialog->ShowModal();
    FinishRestart();
    EXPECT_EQ(closedAt, c.countdown);
    EXPECT_EQ(sentAt, c.restartTick);
    const Texts log = dev->takeSetLog();
    if (c.restartTick) {
        EXPECT_EQ(log, (Texts{kUpgradeCommand}));
        // Only the restart value makes the device go silent.
        EXPECT_NE(dev->control("state"), "ok running");
        EXPECT_EQ(dialog->Ed_Reboot->Text(), "reboot");
        EXPECT_EQ(ui.Boxes().Count(), 0);
    } else {
        EXPECT_TRUE(log.empty());
    }
    EXPECT_EQ(dialog->PendingReboot, c.delay <= c.countdown ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(Table, WaitingRestart,
                         ::testing::Values(RestartCase{"DefaultsSendOnTheSecondTick", 1, 2, 5, 2},
                                           RestartCase{"LaterDelay", 1, 4, 5, 4},
                                           RestartCase{"DelayOnTheClosingTick", 1, 5, 5, 5},
                                           RestartCase{"DelayBeyondTheStay", 1, 6, 5, 0},
                                           RestartCase{"RebootOff", 0, 2, 5, 0},
                                           RestartCase{"RebootOffNoDelay", 0, 0, 3, 0}),
                         [](const ::testing::TestParamInfo<RestartCase>& info) {
                             return std::string(info.param.name);
                         });

// More ticks than the delay never send a second command.
TEST_F(Waiting, RestartStepRunsOnce) {
    Make();
    dialog->Countdown = 25;
    dialog->Show();
    EXPECT_EQ(Tick(Always, 10), 0);
    FinishRestart();
    EXPECT_EQ(dev->takeSetLog(), (Texts{kUpgradeCommand}));
    EXPECT_EQ(dialog->PendingReboot, 0);
    EXPECT_TRUE(dialog->IsShown());
}

TEST_F(Waiting, CloseRefusedWhileCountingAcceptedAfterThreeFailedChecks) {
    Make();
    dialog->RebootFlag = 0;
    dialog->Countdown = 3;
    dialog->Show();
    // The close box while counting down, then while waiting at 1.
    EXPECT_EQ(Tick(Never, 1), 0);
    dialog->Widget()->close();
    EXPECT_TRUE(dialog->IsShown());
    EXPECT_EQ(Tick(Never, 3), 0); // at 1, two failed checks
    EXPECT_EQ(dialog->FailureCount, 2);
    dialog->Widget()->close();
    EXPECT_TRUE(dialog->IsShown());
    EXPECT_EQ(dialog->Countdown, 1);
    EXPECT_EQ(Tick(Never, 1), 0);
    EXPECT_EQ(dialog->FailureCount, 3);
    dialog->Widget()->close();
    EXPECT_FALSE(dialog->IsShown());
    EXPECT_EQ(dialog->Countdown, 0);
}

TEST_F(Waiting, CloseAcceptedOnceTheCountRanOut) {
    Make();
    dialog->RebootFlag = 0;
    dialog->Countdown = 2;
    dialog->Show();
    dialog->Close();
    EXPECT_TRUE(dialog->IsShown());
    // Lime before the count reaches 0 only counts down.
    EXPECT_EQ(Tick(Always, 1), 0);
    dialog->Close();
    EXPECT_TRUE(dialog->IsShown());
    EXPECT_EQ(Tick(Always, 1), 1);
    EXPECT_FALSE(dialog->IsShown());
}

// The modal show refuses the close box too, and ends on the closing tick.
TEST_F(Waiting, ModalCloseBoxRefusedThenTheDeviceAnswers) {
    Make();
    dialog->RebootFlag = 0;
    dialog->Countdown = 2;
    bool stillShownAfterCloseBox = false;
    ui.NextModal([&](TForm*) {
        dialog->Widget()->close();
        PostCall([&] {
            stillShownAfterCloseBox = dialog->IsShown() && dialog->ModalResult() == mrNone;
            if (const char* dir = std::getenv("LMR_SCREENSHOT_DIR")) {
                Tick(Always, 1);
                dialog->Widget()->grab().save(
                    QString::fromStdString(std::string(dir) + "/waiting.png"));
            }
            Tick(Always, 2);
        });
    });
    dialog->ShowModal();
    EXPECT_TRUE(stillShownAfterCloseBox);
    EXPECT_EQ(dialog->Countdown, 0);
    EXPECT_EQ(ui.ModalTimeouts(), 0);
}

// After the close no tick reaches the dialog: a modeless one is hidden and
// its restart, still due, never goes out.
TEST_F(Waiting, NoTicksAfterTheClose) {
    Make();
    dialog->Countdown = 2;
    dialog->RebootDelayTicks = 5;
    dialog->Show();
    EXPECT_EQ(Tick(Always, 2), 2);
    EXPECT_FALSE(dialog->Timer1->Enabled());
    // With the timers thawed, the ticks a still running timer would give up
    // to the restart step (tick 5) are given: none may come, so nothing is sent.
    ui.FreezeTimers(false);
    EXPECT_FALSE(dialog->Timer1->Running());
    for (int t = 0; t < 5; ++t)
        if (dialog->Timer1->Running()) dialog->Timer1->Fire();
    for (int k = 0; k < 20; ++k)
        Application->ProcessMessages();
    EXPECT_TRUE(dev->takeSetLog().empty());
}

// Without a main window the device counts as silent.
TEST_F(Waiting, NoMainWindowGivesUpAfterSixTicks) {
    delete main;
    main = nullptr;
    ASSERT_EQ(MainForm, nullptr);
    Make();
    dialog->RebootFlag = 0;
    dialog->Countdown = 2;
    dialog->Show();
    int t = 0;
    for (; t < 20 && dialog->IsShown(); ++t)
        dialog->Timer1->Fire();
    EXPECT_EQ(t, 7);
    EXPECT_EQ(dialog->FailureCount, 6);
}

TEST_F(Waiting, GlobalClearedWhenTheDialogGoes) {
    Make();
    EXPECT_EQ(FM_Waiting, dialog);
    delete dialog;
    dialog = nullptr;
    EXPECT_EQ(FM_Waiting, nullptr);
}

// The whole road: a started main window polls a device of its own; the
// dialog sends the restart, the polls fail while the device is silent, and
// the dialog closes on the first tick after an answer turned the LAN
// indicator lime again.
class WaitingOnThePoll : public mainformtest::MainFormTest {};

TEST_F(WaitingOnThePoll, RestartSilenceAndBack) {
    lmrtest::SimOptions options;
    options.silenceSeconds = 2;
    lmrtest::SimDevice dev(options);
    ASSERT_TRUE(dev.start()) << dev.error();
    ConfigForSim(dev);
    TMainForm* f = Start({"/I127.0.0.1", "/Rtarnok", "/Wquembel"});
    ASSERT_TRUE(Settle(f));
    ASSERT_EQ(mainformtest::Color(f->LED_Lan), clLime);
    // About one failed poll per second of silence.
    f->StatusRequest->Timeout = 100;
    f->StatusRequest->Retries = 0;
    dev.takeSetLog();

    auto* dialog = new TFM_Waiting(Application);
    FM_Waiting = dialog;
    dialog->Countdown = 6;
    int closedAt = 0, silentPolls = 0;
    bool answeredAtClose = false, restarting = false;
    ui.NextModal([&](TForm*) {
        for (int t = 1; t <= 40 && !closedAt; ++t) {
            f->LedStatus->Fire();
            if (!Pump([&] { return f->LedStatus->Enabled(); })) break;
            for (int k = 0; k < 30 && f->LedBlink->Enabled(); ++k)
                f->LedBlink->Fire();
            if (f->LastStatusCode != 0) ++silentPolls;
            dialog->Timer1->Fire();
            if (dialog->ModalResult() != mrNone) {
                closedAt = t;
                answeredAtClose = f->LastStatusCode == 0;
            }
            // Ticks come faster than in life: let the device begin its restart.
            if (dialog->RebootRequest && !restarting)
                restarting = Pump([&] { return dev.control("state") == "ok silent"; }, 5000);
        }
    });
    dialog->ShowModal();
    if (dialog->RebootRequest) {
        EXPECT_TRUE(snmptest::WaitIdle(*dialog->RebootRequest));
    }
    EXPECT_EQ(dev.takeSetLog(), (Texts{kUpgradeCommand}));
    EXPECT_TRUE(restarting);
    EXPECT_GT(silentPolls, 0);
    EXPECT_GT(closedAt, 5);
    EXPECT_TRUE(answeredAtClose);
    EXPECT_LT(dialog->FailureCount, TFM_Waiting::MaxFailures);
    EXPECT_EQ(dialog->Countdown, 0);
    EXPECT_EQ(ui.ModalTimeouts(), 0);
    delete dialog;
    EXPECT_EQ(FM_Waiting, nullptr);
}

} // namespace
