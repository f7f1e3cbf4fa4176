// The client information form against the simulated device: the acquire
// write and then the table walk, the rows with and without the SSID column,
// 0, 1 and 256 stations, texts that are no numbers, failures of either step
// and of the start, the busy form that refuses to close, a form deleted
// while its walk runs, and the round trip that writes only the acquire.
#include "forms/admin/TClientInformation.h"

#include "binding/QvSNMPRequest2Edits.h"
#include "tests/forms/admin/status_fixture.h"
#include "ui/ListView.h"
#include "ui/StatusBar.h"

#include <memory>

namespace statustest {
namespace {

const std::string kAcquire = ".1.3.6.1.4.1.32473.11.37.4.4.5.1.1.1.1";
const std::string kTable = "qvEnterprise.11.37.4.4.5.2.1";

class Clients : public StatusFormTest {
protected:
    void SetUp() override {
        StatusFormTest::SetUp();
        ASSERT_TRUE(dev->reset());
        main->Ed_ClientAddSSID->SetText("1");
    }
    void TearDown() override {
        form.reset();
        StatusFormTest::TearDown();
    }
    TClientInformation* Open() {
        form.reset(NewForm<TClientInformation>(Application));
        return form.get();
    }
    bool Settled() {
        return Pump([&] { return !form->Busy; });
    }
    std::string Status() const { return form->StatusBar->Panels()[0]->Text(); }
    std::vector<std::vector<std::string>> Rows() const {
        std::vector<std::vector<std::string>> rows;
        TListItems& items = form->User_ListView->Items();
        for (int r = 0; r < items.Count(); ++r) {
            std::vector<std::string> row = {items.Item(r)->Caption()};
            for (int c = 0; c < items.Item(r)->SubItems().Count(); ++c)
                row.push_back(items.Item(r)->SubItems()[c]);
            rows.push_back(row);
        }
        return rows;
    }
    std::unique_ptr<TClientInformation> form;
};

using Rowset = std::vector<std::vector<std::string>>;

TEST_F(Clients, AcquiresThenListsTheStationsWithAndWithoutSsid) {
    struct Case {
        const char* ssidField;
        Rowset rows;
        int ssidWidth;
    } cases[] = {
        {"1",
         {{"1", "0050C2000001", "G", "Auto", "57  %", "Off", "LMR-Lab"},
          {"2", "0050C2000003", "B", "WPA2-PSK", "80  %", "On", "Guest"}},
         -2},
        {"0",
         {{"1", "0050C2000001", "G", "Auto", "57  %", "Off"},
          {"2", "0050C2000003", "B", "WPA2-PSK", "80  %", "On"}},
         0},
        // Not a number: the six-column table.
        {"Ed_ClientAddSSID",
         {{"1", "0050C2000001", "G", "Auto", "57  %", "Off"},
          {"2", "0050C2000003", "B", "WPA2-PSK", "80  %", "On"}},
         0},
    };
    const auto before = Peek({kTable + ".2.1", kTable + ".4.3", "system.5.0"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ssidField);
        ASSERT_TRUE(dev->poke(kAcquire, "0"));
        main->Ed_ClientAddSSID->SetText(c.ssidField);
        TClientInformation* f = Open();
        EXPECT_TRUE(f->Busy);
        EXPECT_FALSE(f->Bt_Rfrsh->Enabled());
        ASSERT_TRUE(Settled());
        EXPECT_EQ(Rows(), c.rows);
        // The all-zero slot is no station.
        EXPECT_EQ(f->ClientListView->Items().Count(), 3);
        EXPECT_EQ(f->NumOfRecord->Caption(), "2");
        EXPECT_EQ(f->User_ListView->Columns().Items(6)->Width() == 0, c.ssidWidth == 0);
        EXPECT_TRUE(f->Bt_Rfrsh->Enabled());
        EXPECT_EQ(dev->peek(kAcquire), "1");
        EXPECT_EQ(dev->takeSetLog(), std::vector<std::string>{kAcquire});
        if (c.ssidWidth != 0) Picture(f, "clients.png");
        EXPECT_TRUE(f->CloseQuery());
        form.reset();
    }
    EXPECT_EQ(ui.Boxes().Count(), 0);
    EXPECT_EQ(Peek({kTable + ".2.1", kTable + ".4.3", "system.5.0"}), before);
}

TEST_F(Clients, ListsZeroOneAndManyStations) {
    for (int n : {0, 1, 256}) {
        SCOPED_TRACE(n);
        lmrtest::TempDir dir("clients");
        lmrtest::SimOptions options;
        options.extraArgs = {"--data", DataFileWithClients(dir, n)};
        lmrtest::SimDevice own(options);
        ASSERT_TRUE(own.start()) << own.error();
        Aim(own);
        TClientInformation* f = Open();
        ASSERT_TRUE(Pump([&] { return !f->Busy; }, 60000));
        EXPECT_EQ(f->NumOfRecord->Caption(), std::to_string(n));
        const Rowset rows = Rows();
        ASSERT_EQ(static_cast<int>(rows.size()), n);
        if (n > 0) {
            char mac[24];
            std::snprintf(mac, sizeof mac, "0050C2%06X", n);
            EXPECT_EQ(rows.back()[0], std::to_string(n));
            EXPECT_EQ(rows.back()[1], mac);
            EXPECT_EQ(rows.back()[6], "sta" + std::to_string(n));
        }
        EXPECT_EQ(own.takeSetLog(), std::vector<std::string>{kAcquire});
        form.reset();
        Aim(*dev);
    }
    EXPECT_EQ(ui.Boxes().Count(), 0);
}

TEST_F(Clients, TextsThatAreNoNumbersShowBlank) {
    struct {
        std::string text;
        const char *band, *power, *auth;
    } cases[] = {
        {"0", "A", "Off", "Open System"}, {"1", "B", "On", "Shared Key"},
        {"2", "G", " ", "WPA-EAP"},       {"3", "G", " ", "WPA-PSK"},
        {"4", " ", " ", "Auto"},          {"8", " ", " ", "WPA-Auto-PSK"},
        {"9", " ", " ", " "},             {"-1", " ", " ", " "},
        {"(NOTDONE)", " ", " ", " "},     {"(NULL)", " ", " ", " "},
        {"", " ", " ", " "},              {"3x", " ", " ", " "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TClientInformation::BandText(c.text), c.band) << c.text;
        EXPECT_EQ(TClientInformation::PowerSavingText(c.text), c.power) << c.text;
        EXPECT_EQ(TClientInformation::AuthenticationText(c.text), c.auth) << c.text;
    }

    // Columns that end before the others arrive as "(NOTDONE)".
    main->Ed_ClientAddSSID->SetText("0");
    for (const char* column : {".3", ".4", ".6"})
        ASSERT_TRUE(dev->fault(kTable + column, "noSuchName", "get"));
    TClientInformation* f = Open();
    ASSERT_TRUE(Settled());
    EXPECT_EQ(ui.Boxes().Count(), 0);
    EXPECT_EQ(Rows(), (Rowset{{"1", "0050C2000001", " ", " ", "57  %", " "},
                              {"2", "0050C2000003", " ", " ", "80  %", " "}}));
    EXPECT_TRUE(f->CloseQuery());
}

TEST_F(Clients, FailuresEndTheOperationAndTheFormCloses) {
    struct Case {
        const char* name;
        std::function<void()> arrange;
        const char* statusStart; // the status panel begins with this
        bool tableRead;
    } cases[] = {
        {"acquire refused", [&] { dev->fault(kAcquire, "badValue", "set"); }, "Detect timed out!",
         false},
        {"start refused", [&] { g_DefaultDevice.Address = ""; }, "Detect timed out!", false},
        {"table read timed out", [&] { dev->fault(kTable, "timeout", "get", 2600); }, "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Aim(*dev);
        ASSERT_TRUE(dev->clearFaults());
        dev->takeSetLog();
        c.arrange();
        TClientInformation* f = Open();
        ASSERT_TRUE(Settled());
        EXPECT_EQ(Status().rfind(c.statusStart, 0), 0u) << Status();
        EXPECT_GT(Status().size(), std::string(c.statusStart).size()) << Status();
        EXPECT_NE(Status(), "Get Client info...!");
        EXPECT_EQ(f->NumOfRecord->Caption(), "0");
        // Only the table's failure follows an acquire the device took.
        EXPECT_EQ(dev->takeSetLog().size(), c.tableRead ? 1u : 0u);
        EXPECT_TRUE(f->Bt_Rfrsh->Enabled());
        EXPECT_TRUE(f->CloseQuery());
        ASSERT_TRUE(dev->clearFaults());
        // Refresh works again once the device does.
        Aim(*dev);
        form->GetClientRequest->request.Device = g_DefaultDevice;
        form->ClientTableRequest->request.Device = g_DefaultDevice;
        f->Bt_Rfrsh->Click();
        ASSERT_TRUE(Settled());
        EXPECT_EQ(f->NumOfRecord->Caption(), "2");
        form.reset();
        if (!dev->waitUntilAnswering()) FAIL() << "device silent";
    }
    EXPECT_EQ(ui.Boxes().Count(), 0);
}

TEST_F(Clients, RefusesToCloseWhileDetectingAndRefreshWaits) {
    // The acquire's answer is held back for a while: the form is busy.
    ASSERT_TRUE(dev->fault(kAcquire, "timeout", "set", 1500));
    TClientInformation* f = Open();
    EXPECT_TRUE(f->Busy);
    EXPECT_EQ(Status(), "Detect Client Info...");
    EXPECT_FALSE(f->CloseQuery());
    EXPECT_FALSE(f->Bt_Rfrsh->Enabled());
    f->Bt_Close->Click();
    EXPECT_TRUE(f->Busy);
    // The device never takes a held-back set: the write fails in the end,
    // and the form may close again.
    ASSERT_TRUE(Settled());
    EXPECT_TRUE(f->CloseQuery());
    EXPECT_TRUE(f->Bt_Rfrsh->Enabled());
    EXPECT_EQ(Status().rfind("Detect timed out!", 0), 0u) << Status();
}

TEST_F(Clients, ClosingWhileTheWalkRunsLeavesNothingBehind) {
    ASSERT_TRUE(dev->fault(kTable, "timeout", "get", 800));
    TClientInformation* f = Open();
    ASSERT_TRUE(Pump([&] { return f->ClientTableRequest->busy || !f->Busy; }));
    EXPECT_TRUE(f->Busy);
    EXPECT_FALSE(f->CloseQuery());
    // Deleted mid-walk: its groups stop, no completion reaches the form.
    form.reset();
    for (int k = 0; k < 50; ++k)
        Application->ProcessMessages();
    EXPECT_EQ(ui.Boxes().Count(), 0);
    EXPECT_TRUE(dev->waitUntilAnswering());
}

TEST_F(Clients, FollowsTheFormSize) {
    TClientInformation* f = Open();
    ASSERT_TRUE(Settled());
    f->Show(); // a hidden window hears of its size only when it shows
    f->SetBounds(0, 0, 540, 400);
    ASSERT_TRUE(Pump([&] { return f->Bt_Rfrsh->Top() == f->Height() - 85; }, 3000));
    ASSERT_EQ(f->Height(), 400);
    EXPECT_EQ(f->User_ListView->Width(), 540 - 34);
    EXPECT_EQ(f->User_ListView->Height(), 400 - 132);
    EXPECT_EQ(f->Bt_Rfrsh->Top(), 400 - 85);
    EXPECT_EQ(f->Bt_Close->Top(), 400 - 85);
    EXPECT_EQ(f->Bt_Rfrsh->Left(), 100);
    EXPECT_EQ(f->Bt_Close->Left(), 317);
}

} // namespace
} // namespace statustest
