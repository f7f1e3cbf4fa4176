// Status \ Log against the simulated device: the device uploads its log to
// the module's server as the bare name "LogFile.RD" in the log folder and
// the form lists it once the upload has ended; a file left from before never
// passes for a new one; Clear and the settings report from the completion.
#include "forms/admin/TLogForm.h"

#include "binding/QvSNMPRequest2Edits.h"
#include "forms/admin/TLogSetForm.h"
#include "os/Path.h"
#include "tests/forms/admin/transfer_fixture.h"
#include "tftp/TFTPServer.h"
#include "ui/ListView.h"
#include "ui/Timer.h"

#include <QFontMetrics>
#include <QString>
#include <QWidget>
#include <memory>

namespace {

using transfertest::ReadFile;

class LogForm : public transfertest::TransferFormOf<TLogForm> {
protected:
    TLogForm* Open() {
        TLogForm* f = TransferFormOf::Open();
        EXPECT_TRUE(WaitFor([f] { return f->Awaiting(); }));
        return f;
    }
    static std::vector<std::string> Row(TLogForm* f, int i) {
        TListItem* item = f->ViewListView->Items()[i];
        return {item->Caption(), item->SubItems().Strings(0), item->SubItems().Strings(1)};
    }
    std::string Panel(TLogForm* f) { return f->StatusBar1->Panels()[0]->Text(); }
};

TEST_F(LogForm, ShowsTheUploadedLogLineByLine) {
    TLogForm* f = Open();
    Grab(f, "log.png");
    EXPECT_EQ(Panel(f), "Get OK.");
    EXPECT_EQ(dev->peek("qvEnterprise.11.37.4.2.11.5.0"), "LogFile.RD");
    EXPECT_EQ(dev->peek("qvEnterprise.11.37.4.2.11.4.0"), "127.0.0.1");
    ASSERT_EQ(f->ViewListView->Items().Count(), 3);
    EXPECT_EQ(Row(f, 0), (std::vector<std::string>{"Dec 10 08:00:01", "System", "Device started"}));
    EXPECT_EQ(Row(f, 1),
              (std::vector<std::string>{"Dec 10 08:00:03", "Wireless", "Radio on channel 6"}));
    // Blanks after the bracket stay in the message.
    EXPECT_EQ(Row(f, 2), (std::vector<std::string>{"Dec 10 08:15:42", "Notice",
                                                   " Client 00:11:22:33:44:55 associated"}));
    EXPECT_TRUE(f->SetBtn->Enabled());
    EXPECT_TRUE(os::FileExists(files.file("LogFile.RD")));
    EXPECT_EQ(ui.Boxes().Count(), 0);
}

TEST_F(LogForm, LinesAreSplitIntoTimeTypeAndMessage) {
    TLogForm* f = Open();
    const struct {
        const char* line;
        std::vector<std::string> row;
    } cases[] = {
        {"  12:00 \t[Sys]  text ] more", {"12:00", "Sys", "  text ] more"}},
        {"no tab [T]msg", {"", "T", "msg"}},
        {"t\tno bracket at all", {"t", "", "no bracket at all"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const std::string path = files.write("case.log", std::string(c.line) + "\n\n");
        EXPECT_TRUE(LoadLogFile(f, path));
        ASSERT_EQ(f->ViewListView->Items().Count(), 1);
        EXPECT_EQ(Row(f, 0), c.row);
    }
    // A missing file keeps the lines of the last load.
    EXPECT_FALSE(LoadLogFile(f, files.file("missing.log")));
    EXPECT_EQ(f->ViewListView->Items().Count(), 1);
    // An empty file gives an empty list.
    EXPECT_TRUE(LoadLogFile(f, files.write("empty.log", "")));
    EXPECT_EQ(f->ViewListView->Items().Count(), 0);
}

// A file from an earlier run is removed before the device is asked; when
// no upload comes, the wait ends with "Get fail.".
TEST_F(LogForm, AStaleFileIsNeverShownAsANewLog) {
    files.write("LogFile.RD", "old\t[Old]stale line\n");
    ASSERT_TRUE(dev->fault("qvEnterprise.11.37.4.2.11.6.0", "genErr", "set"));
    form.reset(NewForm<TLogForm>(Application));
    TLogForm* f = form.get();
    EXPECT_TRUE(WaitFor([f] { return f->Awaiting(); }));
    EXPECT_EQ(Panel(f), "Get fail.");
    EXPECT_EQ(f->ViewListView->Items().Count(), 0);
    EXPECT_FALSE(os::FileExists(files.file("LogFile.RD")));
    ui.Boxes().Clear();

    // The device takes the order but never uploads: a bounded wait.
    dev->clearFaults();
    ASSERT_EQ(dev->control("tftp " + std::to_string(transfertest::FreeUdpPort())), "ok");
    f->GetBtn->Click();
    ASSERT_TRUE(f->Awaiting());
    EXPECT_EQ(Panel(f), "Refresh...!");
    for (int i = 0; i < TLogForm::MaxWaitTicks && f->Awaiting(); ++i)
        f->Timer1->Fire();
    EXPECT_FALSE(f->Awaiting());
    EXPECT_EQ(Panel(f), "Get fail.");
}

// The list sits below the group's caption, and the columns fit the
// device's own time stamps.
TEST_F(LogForm, TheCaptionShowsAndTheColumnsFitTheirTexts) {
    TLogForm* f = Open();
    EXPECT_EQ(f->GroupBox1->Caption(), "View Log");
    EXPECT_GE(f->ViewListView->Top(), 16) << "the list would cover the caption";
    EXPECT_LE(f->ViewListView->Top() + f->ViewListView->Height(), f->GroupBox1->Height());
    const std::string stamp = "2026-12-11 05:04:33";
    const std::string type = "Wireless";
    ASSERT_TRUE(LoadLogFile(f, files.write("long.log", stamp + "\t[" + type + "]Radio on\n")));
    f->Show();
    Application->ProcessMessages();
    const QFontMetrics metrics(f->ViewListView->Widget()->font());
    EXPECT_GT(f->ViewListView->Columns()[0]->Width(),
              metrics.horizontalAdvance(QString::fromStdString(stamp)));
    EXPECT_GT(f->ViewListView->Columns()[1]->Width(),
              metrics.horizontalAdvance(QString::fromStdString(type)));
    f->Hide();
}

// A failed read of the hidden get-log group: the other groups are made all
// the same, the failure is told, and Clear still reaches the device.
TEST_F(LogForm, AFailedReadStillMakesEveryGroup) {
    ASSERT_TRUE(dev->fault("qvEnterprise.11.37.4.2.11.4.0", "noSuchName", "get"));
    form.reset(NewForm<TLogForm>(Application));
    TLogForm* f = form.get();
    ASSERT_NE(f->LogSetRequest, nullptr);
    ASSERT_NE(f->ClearRequest, nullptr);
    ASSERT_GE(ui.Boxes().Count(), 1);
    EXPECT_FALSE(ui.Boxes().Boxes().front().text.empty());
    EXPECT_EQ(ui.Boxes().Boxes().front().caption, "Warning");
    EXPECT_TRUE(WaitFor([f] { return f->Awaiting(); }));
    dev->clearFaults();
    SetLog();
    f->Clear_Btn->Click();
    EXPECT_TRUE(snmptest::WaitIdle(*f->ClearRequest));
    Application->ProcessMessages();
    EXPECT_EQ(SetLog(), (std::vector<std::string>{"2.11.10.0"}));
    EXPECT_TRUE(snmptest::WaitIdle(*f->LogSetRequest));
    EXPECT_TRUE(f->LogSetForm->SettingsRead());
}

// Settings whose read failed are never written (as zeros) and cannot be
// edited.
TEST_F(LogForm, SettingsThatWereNotReadAreNeverWritten) {
    const std::vector<std::string> oids{"2.11.1.0", "2.11.2.0", "2.11.3.0", "2.11.8.0",
                                        "2.11.9.0"};
    ASSERT_TRUE(dev->poke("qvEnterprise.11.37.4.2.11.9.0", "192.0.2.7"));
    const auto before = Snapshot(oids);
    ASSERT_TRUE(dev->fault("qvEnterprise.11.37.4.2.11.1.0", "noSuchName", "get"));
    TLogForm* f = Open();
    EXPECT_TRUE(snmptest::WaitIdle(*f->LogSetRequest));
    Application->ProcessMessages();
    dev->clearFaults();
    SetLog();
    TLogSetForm* s = f->LogSetForm.get();
    EXPECT_FALSE(s->SettingsRead());
    for (TControl* c : {static_cast<TControl*>(s->SysLevCeBox),
                        static_cast<TControl*>(s->WirelessLevCeBox),
                        static_cast<TControl*>(s->NoticeLevCeBox),
                        static_cast<TControl*>(s->LogServerEdit), static_cast<TControl*>(s->Button2)})
        EXPECT_FALSE(c->Enabled()) << c->Name();
    s->Button2->Click();
    EXPECT_TRUE(snmptest::WaitIdle(*f->LogSetRequest));
    Application->ProcessMessages();
    EXPECT_TRUE(SetLog().empty());
    EXPECT_NE(Status(s->StatusBar1), "Set Success!");
    EXPECT_TRUE(waits.empty());
    EXPECT_EQ(Snapshot(oids), before);
}

// While the form waits for the log, the device's address may write
// "LogFile.RD" and nothing else; once it has arrived nothing is taken.
TEST_F(LogForm, OnlyTheLogUploadIsTaken) {
    ASSERT_EQ(dev->control("tftp " + std::to_string(transfertest::FreeUdpPort())), "ok");
    form.reset(NewForm<TLogForm>(Application));
    TLogForm* f = form.get();
    ASSERT_TRUE(WaitFor([f] { return !f->Timer1->Enabled(); }, 5000));
    ASSERT_TRUE(f->Awaiting());
    const std::string upload = files.write("upload", "12:00\t[System]from the device\n");
    EXPECT_EQ(DeviceCurl(false, "planted.txt", upload), 69);
    EXPECT_EQ(DeviceCurl(true, "LogFile.RD", files.file("got")), 69);
    EXPECT_FALSE(os::FileExists(files.file("planted.txt")));
    EXPECT_EQ(DeviceCurl(false, "LogFile.RD", upload), 0);
    EXPECT_TRUE(WaitFor([f] { return f->Awaiting(); }, 5000));
    EXPECT_EQ(Panel(f), "Get OK.");
    ASSERT_EQ(f->ViewListView->Items().Count(), 1);
    EXPECT_EQ(Row(f, 0), (std::vector<std::string>{"12:00", "System", "from the device"}));
    EXPECT_EQ(DeviceCurl(false, "LogFile.RD", files.write("again", "x\n")), 69);
    EXPECT_EQ(ReadFile(files.file("LogFile.RD")), "12:00\t[System]from the device\n");
}

TEST_F(LogForm, NoLocalAddressTellsTheUser) {
    NoLocalAddress();
    form.reset(NewForm<TLogForm>(Application));
    TLogForm* f = form.get();
    EXPECT_FALSE(f->Awaiting());
    ASSERT_EQ(ui.Boxes().Count(), 1);
    EXPECT_EQ(ui.Boxes().Last().text, "No address of this PC is in the device's subnet.");
    EXPECT_EQ(Panel(f), "Refresh...!");
    EXPECT_TRUE(SetLog().empty());
}

TEST_F(LogForm, ClearEmptiesTheListOnlyWhenTheDeviceTookIt) {
    TLogForm* f = Open();
    ASSERT_EQ(f->ViewListView->Items().Count(), 3);
    SetLog();
    ASSERT_TRUE(dev->fault("qvEnterprise.11.37.4.2.11.10.0", "genErr", "set"));
    f->Clear_Btn->Click();
    EXPECT_TRUE(snmptest::WaitIdle(*f->ClearRequest));
    Application->ProcessMessages();
    EXPECT_EQ(f->ViewListView->Items().Count(), 3);
    ui.Boxes().Clear();
    dev->clearFaults();
    f->Clear_Btn->Click();
    EXPECT_TRUE(snmptest::WaitIdle(*f->ClearRequest));
    Application->ProcessMessages();
    EXPECT_EQ(f->ViewListView->Items().Count(), 0);
    EXPECT_EQ(dev->peek("qvEnterprise.11.37.4.2.11.10.0"), "1");
    // The device's log is empty now.
    f->GetBtn->Click();
    EXPECT_TRUE(WaitFor([f] { return f->Awaiting(); }));
    EXPECT_EQ(Panel(f), "Get OK.");
    EXPECT_EQ(f->ViewListView->Items().Count(), 0);
}

// Round trip of the settings: Apply with what was read writes the same.
TEST_F(LogForm, SettingsApplyWithNothingChangedKeepsTheDevice) {
    ASSERT_TRUE(dev->poke("qvEnterprise.11.37.4.2.11.8.0", "1"));
    ASSERT_TRUE(dev->poke("qvEnterprise.11.37.4.2.11.9.0", "192.0.2.7"));
    const std::vector<std::string> oids{"2.11.1.0", "2.11.2.0", "2.11.3.0", "2.11.8.0",
                                        "2.11.9.0"};
    const auto before = Snapshot(oids);
    TLogForm* f = Open();
    EXPECT_TRUE(snmptest::WaitIdle(*f->LogSetRequest));
    SetLog();
    TLogSetForm* s = f->LogSetForm.get();
    EXPECT_TRUE(s->SysLevCeBox->Checked());
    EXPECT_FALSE(s->NoticeLevCeBox->Checked());
    EXPECT_EQ(s->LogServerEdit->Text(), "192.0.2.7");
    Grab(s, "logset.png");
    s->Button2->Click();
    EXPECT_TRUE(snmptest::WaitIdle(*f->LogSetRequest));
    Application->ProcessMessages();
    EXPECT_EQ(Status(s->StatusBar1), "Set Success!");
    ASSERT_EQ(waits.size(), 1u);
    EXPECT_EQ(SetLog(), oids);
    EXPECT_EQ(Snapshot(oids), before);
}

TEST_F(LogForm, SettingsServerAddress) {
    TLogForm* f = Open();
    EXPECT_TRUE(snmptest::WaitIdle(*f->LogSetRequest));
    TLogSetForm* s = f->LogSetForm.get();
    const struct {
        const char* server;
        const char* box; // null: none
        const char* state;
        const char* stored;
    } cases[] = {{"", nullptr, "0", "0.0.0.0"},
                 {"192.0.2.9", nullptr, "1", "192.0.2.9"},
                 {"300.1.1.1", "Please input valid IP Address.", "1", "192.0.2.9"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.server);
        waits.clear();
        s->LogServerEdit->SetText(c.server);
        s->Button2->Click();
        EXPECT_TRUE(snmptest::WaitIdle(*f->LogSetRequest));
        Application->ProcessMessages();
        if (c.box) {
            ASSERT_EQ(ui.Boxes().Count(), 1);
            EXPECT_EQ(ui.Boxes().Last().text, c.box);
            EXPECT_EQ(s->LogServerEdit->Text(), "");
            EXPECT_TRUE(waits.empty());
            ui.Boxes().Clear();
        } else {
            EXPECT_EQ(Status(s->StatusBar1), "Set Success!");
        }
        EXPECT_EQ(dev->peek("qvEnterprise.11.37.4.2.11.8.0"), c.state);
        EXPECT_EQ(dev->peek("qvEnterprise.11.37.4.2.11.9.0"), c.stored);
    }
    // A refused write: no success, no waiting dialog.
    ASSERT_TRUE(dev->fault("qvEnterprise.11.37.4.2.11.1.0", "genErr", "set"));
    waits.clear();
    s->Button2->Click();
    EXPECT_TRUE(snmptest::WaitIdle(*f->LogSetRequest));
    Application->ProcessMessages();
    EXPECT_EQ(Status(s->StatusBar1), "Set Error!");
    EXPECT_TRUE(waits.empty());
}

TEST_F(LogForm, NetworkAddressesAndTheChosenInterface) {
    EXPECT_EQ(NetworkAddressOf("10.1.2.3", "255.0.0.0"), "10.0.0.0");
    EXPECT_EQ(NetworkAddressOf("192.168.1.77", "255.255.255.0"), "192.168.1.0");
    EXPECT_EQ(NetworkAddressOf("a.1.2", "255.255.255.255"), "0.1.2.0");
    main->IPAddressEdit->SetText("10.9.9.9");
    main->SubMaskEdit->SetText("255.0.0.0");
    TEdit edit(nullptr);
    const std::vector<os::NetInterface> two{{"a", "192.168.1.5", "255.255.255.0", ""},
                                            {"b", "10.1.2.3", "255.0.0.0", ""}};
    EXPECT_TRUE(FindLocalIPInDeviceSubnet(&edit, two));
    EXPECT_EQ(edit.Text(), "10.1.2.3");
    // No interface there: the first gateway's /24 network decides.
    main->IPAddressEdit->SetText("172.16.0.1");
    edit.SetText("");
    LocalGatewaySource() = [](TStrings& out) { out.Add("192.168.1.1"); };
    EXPECT_TRUE(FindLocalIPInDeviceSubnet(&edit, two));
    EXPECT_EQ(edit.Text(), "192.168.1.5");
    // The listing of this computer's gateways puts a blank before each.
    edit.SetText("");
    LocalGatewaySource() = [](TStrings& out) { out.Add(" 192.168.1.1"); };
    EXPECT_TRUE(FindLocalIPInDeviceSubnet(&edit, two));
    EXPECT_EQ(edit.Text(), "192.168.1.5");
    edit.SetText("");
    LocalGatewaySource() = [](TStrings&) {};
    EXPECT_FALSE(FindLocalIPInDeviceSubnet(&edit, two));
    EXPECT_EQ(edit.Text(), "");
}

TEST_F(LogForm, APortInUseEndsOnlyTheForm) {
    QvTFTPServer holder;
    holder.Start("", TFTPServicePort(), "127.0.0.1");
    form.reset(NewForm<TLogForm>(Application));
    EXPECT_TRUE(form->ServerFailed());
    ASSERT_EQ(ui.Boxes().Count(), 1);
    EXPECT_EQ(ui.Boxes().Last().text.rfind("TFTP Service Init Error:", 0), 0u);
    EXPECT_FALSE(form->Awaiting());
}

} // namespace
