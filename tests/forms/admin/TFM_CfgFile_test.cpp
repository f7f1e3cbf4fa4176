// Tools \ Configuration File against the simulated device: a file sent to
// the device comes back byte for byte; a save lands in the chosen folder
// (".dcf" added when the name lacks it); refusals write nothing; a refused
// transfer reports its failure.
#include "forms/admin/TFM_CfgFile.h"

#include "binding/QvSNMPRequest2Edits.h"
#include "os/Path.h"
#include "tftp/TFTPServer.h"
#include "tests/forms/admin/transfer_fixture.h"

#include <memory>

namespace {

using transfertest::ReadFile;

class CfgFileForm : public transfertest::TransferFormOf<TFM_CfgFile> {
protected:
    void Save(TFM_CfgFile* f, const std::string& path) {
        f->Ed_SaveFile->SetText(path);
        f->Bt_Upload->Click();
        EXPECT_TRUE(WaitFor([f] { return f->Busy(); }));
    }
    void Update(TFM_CfgFile* f, const std::string& path) {
        f->Ed_UpgFile->SetText(path);
        f->Bt_OK->Click();
        EXPECT_TRUE(WaitFor([f] { return f->Busy(); }));
    }
};

TEST_F(CfgFileForm, AnUpdatedFileComesBackByteForByte) {
    std::string content = "# settings\r\nssid=Lab\r\n";
    for (int i = 0; i < 1200; ++i)
        content += static_cast<char>(i % 256);
    const std::string sent = files.write("mine.dcf", content);
    TFM_CfgFile* f = Open();
    Grab(f, "cfgfile.png");
    Update(f, sent);
    EXPECT_EQ(ui.Boxes().Count(), 0);
    EXPECT_EQ(SetLog(), (std::vector<std::string>{"3.3.1.0", "3.3.2.0", "3.3.4.0", "3.3.5.0"}));
    EXPECT_EQ(dev->peek("qvEnterprise.11.37.4.3.3.2.0"), "mine.dcf");
    EXPECT_EQ(f->StatusBar->Panels()[0]->Text(), "The configuration file updated successfully!");
    // The restart goes out after five ticks.
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], (transfertest::WaitText{"Please wait", "Waiting for reboot...",
                                                "The device is restarting.", 1, 5}));
    EXPECT_EQ(f->Ed_UpgFile->Text(), sent);

    Save(f, files.file("back"));
    ASSERT_EQ(ui.Boxes().Count(), 1);
    EXPECT_EQ(ui.Boxes().Last().text, "The configuration file saved successfully!");
    EXPECT_EQ(ui.Boxes().Last().caption, "OK");
    EXPECT_EQ(dev->peek("qvEnterprise.11.37.4.3.3.2.0"), "back.dcf");
    EXPECT_EQ(ReadFile(files.file("back.dcf")), content);
    EXPECT_EQ(f->Ed_SaveFile->Text(), "");
}

TEST_F(CfgFileForm, SaveKeepsANameThatHoldsDcf) {
    TFM_CfgFile* f = Open();
    const struct {
        const char* chosen;
        const char* landed;
    } cases[] = {{"plain", "plain.dcf"}, {"a.dcf.old", "a.dcf.old"}, {"UP.DCF", "UP.DCF"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.chosen);
        Save(f, files.file(c.chosen));
        ASSERT_EQ(ui.Boxes().Count(), 1);
        EXPECT_EQ(ui.Boxes().Last().text, "The configuration file saved successfully!");
        EXPECT_EQ(ReadFile(files.file(c.landed)).rfind("# LMR-7300AP configuration", 0), 0u);
        EXPECT_EQ(SetLog(), (std::vector<std::string>{"3.3.1.0", "3.3.2.0", "3.3.4.0"}));
        ui.Boxes().Clear();
    }
}

TEST_F(CfgFileForm, OpeningAndClosingLeavesTheDeviceAsItWas) {
    const std::vector<std::string> oids{"3.3.1.0", "3.3.2.0", "3.3.4.0", "3.3.5.0"};
    const auto before = Snapshot(oids);
    Open();
    form.reset();
    EXPECT_TRUE(SetLog().empty());
    EXPECT_EQ(Snapshot(oids), before);
}

TEST_F(CfgFileForm, RefusalsWriteNothing) {
    files.write("ok.dcf", "x");
    files.write("lower.txt", "x");
    lmrtest::ScopedCwd cwd(files.path());
    struct Case {
        const char* name;
        bool save;
        std::string path;
        const char* message;
        bool noAddress;
    } cases[] = {
        {"update empty", false, "", "Empty file is not accepted.", false},
        {"update missing", false, files.file("none.dcf"), "File format error! Please try again!",
         false},
        {"update not dcf", false, files.file("lower.txt"), "File format error! Please try again!",
         false},
        {"update no folder", false, "ok.dcf", "The file path is error.", false},
        {"update no address", false, files.file("ok.dcf"),
         "No address of this PC is in the device's subnet.", true},
        {"save empty", true, "", "Empty file is not accepted.", false},
        {"save no folder", true, "saved", "The file path is error.", false},
        {"save no address", true, files.file("s.dcf"),
         "No address of this PC is in the device's subnet.", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.noAddress)
            NoLocalAddress();
        else
            LoopbackAddress();
        TFM_CfgFile* f = Open();
        if (c.save) {
            f->Ed_SaveFile->SetText(c.path);
            f->Bt_Upload->Click();
        } else {
            f->Ed_UpgFile->SetText(c.path);
            f->Bt_OK->Click();
        }
        ASSERT_EQ(ui.Boxes().Count(), 1);
        EXPECT_EQ(ui.Boxes().Last().text, c.message);
        EXPECT_EQ(ui.Boxes().Last().caption, "Warning");
        EXPECT_FALSE(f->Busy());
        EXPECT_TRUE(SetLog().empty());
        ui.Boxes().Clear();
        form.reset();
    }
}

// A refused or unanswered transfer command, and a refused address write,
// are reported from the completion.
TEST_F(CfgFileForm, FailuresAreReported) {
    const std::string sent = files.write("mine.dcf", "abc");
    struct Case {
        const char* name;
        const char* oid;
        const char* mode;
        bool save;
        const char* message;
        const char* caption;
    } cases[] = {
        {"update refused", "3.3.4.0", "genErr", false, "The configuration file updated fail!",
         "ERROR"},
        {"update unanswered", "3.3.4.0", "timeout", false, "The configuration file updated fail!",
         "ERROR"},
        {"save refused", "3.3.4.0", "genErr", true, "Fail to save the configuration file!",
         "ERROR"},
        {"address refused", "3.3.1.0", "genErr", true, "Fail to save the configuration file!",
         "ERROR"},
        {"take-over refused", "3.3.5.0", "genErr", false, "The configuration file updated fail!",
         "ERROR"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(dev->fault(std::string("qvEnterprise.11.37.4.") + c.oid, c.mode, "set", 2000));
        TFM_CfgFile* f = Open();
        f->CommandRequest->request.Retries = 0;
        f->CommandRequest->request.Timeout = 50;
        if (c.save)
            Save(f, files.file("out.dcf"));
        else
            Update(f, sent);
        ASSERT_EQ(ui.Boxes().Count(), 1);
        EXPECT_EQ(ui.Boxes().Last().text, c.message);
        EXPECT_EQ(ui.Boxes().Last().caption, c.caption);
        EXPECT_TRUE(waits.empty());
        ui.Boxes().Clear();
        form.reset();
        dev->clearFaults();
        dev->takeSetLog();
    }
}

// A device that answers the transfer command at once and transfers a
// moment later: the take-over goes out only once it has fetched the whole
// file, and a save is reported only once the file has arrived.
TEST_F(CfgFileForm, ResultsWaitForTheWholeFile) {
    DeviceTransfersLate();
    std::string content = "# mine\n";
    for (int i = 0; i < 2000; ++i)
        content += static_cast<char>('a' + i % 26);
    const std::string sent = files.write("mine.dcf", content);
    TFM_CfgFile* f = Open();
    Update(f, sent);
    EXPECT_EQ(ui.Boxes().Count(), 0);
    EXPECT_EQ(SetLog(), (std::vector<std::string>{"3.3.1.0", "3.3.2.0", "3.3.4.0", "3.3.5.0"}));
    EXPECT_EQ(f->StatusBar->Panels()[0]->Text(), "The configuration file updated successfully!");
    EXPECT_EQ(texts.size(), 1u);

    Save(f, files.file("back.dcf"));
    ASSERT_EQ(ui.Boxes().Count(), 1);
    EXPECT_EQ(ui.Boxes().Last().text, "The configuration file saved successfully!");
    EXPECT_EQ(ReadFile(files.file("back.dcf")), content);
}

// The device takes the order but no transfer comes within the command's
// time-out: the failure, no take-over, and no file.
TEST_F(CfgFileForm, NoTransferWithinTheTimeOutFails) {
    DeviceTransfersLate(transfertest::FreeUdpPort());
    const std::string sent = files.write("mine.dcf", "abc");
    const struct {
        const char* name;
        bool save;
        const char* message;
        std::vector<std::string> sets;
    } cases[] = {
        {"update", false, "The configuration file updated fail!",
         {"3.3.1.0", "3.3.2.0", "3.3.4.0"}},
        {"save", true, "Fail to save the configuration file!", {"3.3.1.0", "3.3.2.0", "3.3.4.0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TFM_CfgFile* f = Open();
        f->CommandRequest->request.Timeout = 50;
        if (c.save)
            Save(f, files.file("out.dcf"));
        else
            Update(f, sent);
        ASSERT_EQ(ui.Boxes().Count(), 1);
        EXPECT_EQ(ui.Boxes().Last().text, c.message);
        EXPECT_EQ(ui.Boxes().Last().caption, "ERROR");
        EXPECT_EQ(f->StatusBar->Panels()[0]->Text(), TFTPStatusText(TFTP_TIMEOUT));
        EXPECT_EQ(SetLog(), c.sets);
        EXPECT_FALSE(os::FileExists(files.file("out.dcf")));
        EXPECT_TRUE(f->Bt_OK->Enabled());
        EXPECT_TRUE(texts.empty());
        ui.Boxes().Clear();
        form.reset();
    }
}

// While the device is to read the file, only that file may be read: a write
// over it, or of any other name, and a read of another file are refused.
// While it is to save, only that name may be written.
TEST_F(CfgFileForm, OnlyTheOrderedTransferIsServed) {
    const std::string sent = files.write("mine.dcf", "my settings");
    files.write("other.dcf", "other settings");
    const std::string upload = files.write("upload", "from the device");
    ASSERT_TRUE(dev->fault("qvEnterprise.11.37.4.3.3.4.0", "timeout", "set", 3000));
    TFM_CfgFile* f = Open();
    f->CommandRequest->request.Retries = 0;
    f->CommandRequest->request.Timeout = 200;
    f->Ed_UpgFile->SetText(sent);
    f->Bt_OK->Click();
    ASSERT_TRUE(f->Busy());
    EXPECT_EQ(DeviceCurl(false, "mine.dcf", upload), 69);
    EXPECT_EQ(DeviceCurl(false, "planted.dcf", upload), 69);
    EXPECT_EQ(DeviceCurl(true, "other.dcf", files.file("got")), 69);
    EXPECT_EQ(ReadFile(sent), "my settings");
    EXPECT_FALSE(os::FileExists(files.file("planted.dcf")));
    EXPECT_TRUE(WaitFor([f] { return f->Busy(); }));
    ui.Boxes().Clear();

    f->Ed_SaveFile->SetText(files.file("saved.dcf"));
    f->Bt_Upload->Click();
    ASSERT_TRUE(f->Busy());
    EXPECT_EQ(DeviceCurl(true, "mine.dcf", files.file("got")), 69);
    EXPECT_EQ(DeviceCurl(true, "saved.dcf", files.file("got")), 69);
    EXPECT_EQ(DeviceCurl(false, "other.dcf", upload), 69);
    EXPECT_EQ(ReadFile(files.file("other.dcf")), "other settings");
    EXPECT_FALSE(os::FileExists(files.file("got")));
    EXPECT_TRUE(WaitFor([f] { return f->Busy(); }));
    dev->clearFaults();
}

// The take-over runs in the background: the window keeps running with its
// controls disabled, and the form can be closed while it is out.
TEST_F(CfgFileForm, TheTakeOverNeverFreezesTheWindow) {
    const std::string sent = files.write("mine.dcf", "abc");
    ASSERT_TRUE(dev->fault("qvEnterprise.11.37.4.3.3.5.0", "timeout", "set", 2000));
    TFM_CfgFile* f = Open();
    f->UpgradeRequest->request.Retries = 0;
    f->UpgradeRequest->request.Timeout = 150;
    f->Ed_UpgFile->SetText(sent);
    f->Bt_OK->Click();
    // The event loop sees the write outstanding.
    ASSERT_TRUE(WaitFor([f] { return !f->UpgradeRequest->busy; }, 8000));
    EXPECT_TRUE(f->Busy());
    for (TControl* c : {static_cast<TControl*>(f->Bt_OK), static_cast<TControl*>(f->Bt_Upload),
                        static_cast<TControl*>(f->Bt_Browse), static_cast<TControl*>(f->Bt_SavBrw)})
        EXPECT_FALSE(c->Enabled()) << c->Name();
    form.reset();
    dev->clearFaults();
    ASSERT_TRUE(dev->waitUntilAnswering());
    Application->ProcessMessages();
    EXPECT_EQ(ui.Boxes().Count(), 0);
    EXPECT_TRUE(waits.empty());
}

// A refused take-over: the failure, and the form usable again.
TEST_F(CfgFileForm, ARefusedTakeOverEndsTheOrder) {
    const std::string sent = files.write("mine.dcf", "abc");
    ASSERT_TRUE(dev->fault("qvEnterprise.11.37.4.3.3.5.0", "genErr", "set"));
    TFM_CfgFile* f = Open();
    Update(f, sent);
    ASSERT_EQ(ui.Boxes().Count(), 1);
    EXPECT_EQ(ui.Boxes().Last().text, "The configuration file updated fail!");
    EXPECT_TRUE(f->Bt_OK->Enabled());
    EXPECT_TRUE(f->Ed_UpgFile->Enabled());
    EXPECT_TRUE(texts.empty());
}

// A second order while one is out is refused.
TEST_F(CfgFileForm, ASecondOrderWaits) {
    ASSERT_TRUE(dev->fault("qvEnterprise.11.37.4.3.3.4.0", "timeout", "set", 1000));
    TFM_CfgFile* f = Open();
    f->CommandRequest->request.Retries = 0;
    f->CommandRequest->request.Timeout = 300;
    f->Ed_SaveFile->SetText(files.file("one.dcf"));
    f->Bt_Upload->Click();
    ASSERT_TRUE(f->Busy());
    f->Ed_SaveFile->SetText(files.file("two.dcf"));
    f->Bt_Upload->Click();
    ASSERT_EQ(ui.Boxes().Count(), 1);
    EXPECT_EQ(ui.Boxes().Last().text, "Please wait until the transfer in progress has ended.");
    EXPECT_TRUE(WaitFor([f] { return f->Busy(); }));
    dev->clearFaults();
}

} // namespace
