// The three transfer forms open, announce and close their server through TransferService; these cases go through it.
//
// Tools \ Firmware against the simulated device: the device fetches the
// image from the module's TFTP server, installs it and comes back with the
// new version; refusals write nothing; a refused or unanswered fetch ends
// the order with its message and the form usable again.
#include "forms/admin/TFM_Firmware.h"

#include "binding/QvSNMPRequest2Edits.h"
#include "tests/forms/admin/transfer_fixture.h"
#include "os/Path.h"
#include "tftp/TFTPServer.h"

#include <map>
#include <memory>

namespace {

using transfertest::ReadFile;
using transfertest::TextOf;

const char kVersion[] = "qvEnterprise.11.37.4.4.1.1.1.0";

std::string Image(const std::string& version) {
    std::string image = "LMR-7300AP firmware " + version + "\n";
    for (int i = 0; i < 3000; ++i)
        image += static_cast<char>('a' + i % 26);
    return image;
}

class FirmwareForm : public transfertest::TransferFormOf<TFM_Firmware> {
protected:
    void Run(TFM_Firmware* f, const std::string& path) {
        f->Ed_UpgFile->SetText(path);
        f->Bt_OK->Click();
        EXPECT_TRUE(WaitFor([f] { return f->Busy(); }));
    }
    void ExpectUpgrade(TFM_Firmware* f, const std::string& path) {
        Grab(f, "firmware.png");
        EXPECT_EQ(ui.Boxes().Count(), 0);
        // The installation may answer while the first dialog opens, so the
        // restart dialog can come up over it.
        std::map<std::string, transfertest::WaitText> seen;
        for (const auto& w : texts)
            seen[w.label2] = w;
        EXPECT_EQ(seen, (std::map<std::string, transfertest::WaitText>{
                            {"Updating firmware file...",
                             {"Please wait", "Updating firmware file...", "", 0, 2}},
                            {"Reboot...", {"Please wait", "Reboot...", "The device is restarting.", 1, 2}}}));
        EXPECT_EQ(dev->peek("qvEnterprise.11.37.4.3.3.1.0"), "127.0.0.1");
        EXPECT_EQ(dev->peek("qvEnterprise.11.37.4.3.3.2.0"), "fw.tfp");
        EXPECT_EQ(f->Ed_UpgFile->Text(), path);
        EXPECT_TRUE(f->Enabled());
        EXPECT_TRUE(f->Bt_OK->Enabled());
        ASSERT_TRUE(dev->waitUntilAnswering());
        EXPECT_EQ(dev->peek(kVersion), "v2.40");
    }
};

class FirmwareFormPlain : public FirmwareForm {
protected:
    bool NoOptions() const override { return true; }
};

TEST_F(FirmwareForm, UpgradesAndTheDeviceComesBackWithTheNewVersion) {
    const std::string path = files.write("fw.tfp", Image("v2.40"));
    TFM_Firmware* f = Open();
    EXPECT_EQ(f->Caption(), "Tools \\ Firmware");
    EXPECT_EQ(dev->peek(kVersion), "v2.31");
    f->Ed_UpgFile->SetText(path);
    f->Bt_OK->Click();
    // While the device fetches, the dialog says so where the user reads it.
    ASSERT_NE(f->LoadingDialog(), nullptr);
    EXPECT_EQ(TextOf(*f->LoadingDialog()),
              (transfertest::WaitText{"Please wait", "Loading firmware file...", "", 0, 2}));
    EXPECT_TRUE(WaitFor([f] { return f->Busy(); }));
    // Server and name, the fetch, the installation, the restart.
    EXPECT_EQ(SetLog(), (std::vector<std::string>{"3.3.1.0", "3.3.2.0", "3.3.4.0", "3.3.5.0",
                                                  "3.3.5.0"}));
    ExpectUpgrade(f, path);
}

TEST_F(FirmwareFormPlain, UpgradesWithAClientThatSendsNoOptions) {
    const std::string path = files.write("fw.tfp", Image("v2.40"));
    TFM_Firmware* f = Open();
    Run(f, path);
    ExpectUpgrade(f, path);
}

// A device that answers the fetch command at once and fetches a moment
// later: the installation is ordered only once the whole image is here.
TEST_F(FirmwareForm, InstallsOnlyOnceTheDeviceHasFetchedTheImage) {
    DeviceTransfersLate();
    const std::string path = files.write("fw.tfp", Image("v2.40"));
    TFM_Firmware* f = Open();
    Run(f, path);
    EXPECT_EQ(SetLog(), (std::vector<std::string>{"3.3.1.0", "3.3.2.0", "3.3.4.0", "3.3.5.0",
                                                  "3.3.5.0"}));
    ExpectUpgrade(f, path);
}

// The device takes the order but no fetch comes within the command's
// time-out: the form's failure, and no installation is ordered.
TEST_F(FirmwareForm, NoFetchWithinTheTimeOutFailsTheOrder) {
    DeviceTransfersLate(transfertest::FreeUdpPort());
    const std::string path = files.write("fw.tfp", Image("v2.40"));
    TFM_Firmware* f = Open();
    f->CommandRequest->request.Timeout = 50;
    Run(f, path);
    ASSERT_EQ(ui.Boxes().Count(), 1);
    EXPECT_EQ(ui.Boxes().Last().text, "Cant Perform Operation,Please try again!");
    EXPECT_EQ(Status(f->StatusBar), TFTPStatusText(TFTP_TIMEOUT));
    EXPECT_EQ(SetLog(), (std::vector<std::string>{"3.3.1.0", "3.3.2.0", "3.3.4.0"}));
    EXPECT_TRUE(f->Enabled());
    EXPECT_TRUE(f->Bt_OK->Enabled());
    EXPECT_EQ(f->LoadingDialog(), nullptr);
    EXPECT_TRUE(waits.empty());
    // The order is over: the image is served no longer.
    EXPECT_EQ(f->Transfer.Server()->AnnouncedOperation(), 0);
}

// While the device is to fetch the image, the device's address may read that
// one file and nothing else: a write over it or of any other name gets an
// access violation and changes nothing; once the order is over nothing is
// served at all.
TEST_F(FirmwareForm, OnlyTheImageIsServedAndOnlyForReading) {
    const std::string image = Image("v2.40");
    const std::string path = files.write("fw.tfp", image);
    files.write("other.tfp", "another file");
    const std::string zeros = files.write("zeros", std::string(600, '\0'));
    ASSERT_TRUE(dev->fault("qvEnterprise.11.37.4.3.3.4.0", "timeout", "set", 3000));
    TFM_Firmware* f = Open();
    f->CommandRequest->request.Retries = 0;
    f->CommandRequest->request.Timeout = 200;
    f->Ed_UpgFile->SetText(path);
    f->Bt_OK->Click();
    ASSERT_TRUE(f->Busy());
    EXPECT_EQ(DeviceCurl(false, "fw.tfp", zeros), 69);
    EXPECT_EQ(DeviceCurl(false, "planted.bin", zeros), 69);
    EXPECT_EQ(DeviceCurl(true, "other.tfp", files.file("got-other")), 69);
    EXPECT_EQ(DeviceCurl(true, "fw.tfp", files.file("got")), 0);
    EXPECT_EQ(ReadFile(files.file("got")), image);
    EXPECT_EQ(ReadFile(path), image);
    EXPECT_FALSE(os::FileExists(files.file("planted.bin")));
    EXPECT_TRUE(WaitFor([f] { return f->Busy(); }));
    dev->clearFaults();
    EXPECT_EQ(DeviceCurl(true, "fw.tfp", files.file("late")), 69);
    EXPECT_EQ(ReadFile(path), image);
}

// Opening and closing the form reads and writes nothing.
TEST_F(FirmwareForm, OpeningAndClosingLeavesTheDeviceAsItWas) {
    const std::vector<std::string> oids{"3.3.1.0", "3.3.2.0", "3.3.4.0", "3.3.5.0"};
    const auto before = Snapshot(oids);
    Open();
    form.reset();
    EXPECT_TRUE(SetLog().empty());
    EXPECT_EQ(Snapshot(oids), before);
}

TEST_F(FirmwareForm, RefusalsWriteNothingAndLeaveTheFormEnabled) {
    files.write("fw.tfp", Image("v2.40"));
    files.write("FW.TFP", Image("v2.40"));
    struct Case {
        const char* name;
        std::string path;
        const char* message;
        bool noAddress;
    } cases[] = {
        {"empty", "", "Please put in the firmware file & path.", false},
        {"folder only", files.path() + "/", "Please put in the firmware file & path.", false},
        {"capital extension", files.file("FW.TFP"), "Please put in valid firmware file & path.",
         false},
        {"missing file", files.file("none.tfp"), "Please put in valid firmware file & path.",
         false},
        {"no folder", "fw.tfp", "The file path is error.", false},
        {"no local address", files.file("fw.tfp"),
         "No address of this PC is in the device's subnet.", true},
    };
    lmrtest::ScopedCwd cwd(files.path());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.noAddress)
            NoLocalAddress();
        else
            LoopbackAddress();
        TFM_Firmware* f = Open();
        f->Ed_UpgFile->SetText(c.path);
        f->Bt_OK->Click();
        ASSERT_EQ(ui.Boxes().Count(), 1);
        EXPECT_EQ(ui.Boxes().Last().text, c.message);
        EXPECT_EQ(ui.Boxes().Last().caption, "Warning");
        EXPECT_TRUE(f->Enabled());
        EXPECT_FALSE(f->Busy());
        EXPECT_TRUE(SetLog().empty());
        EXPECT_TRUE(waits.empty());
        ui.Boxes().Clear();
        form.reset();
    }
}

// A fetch the device refuses, or never answers, ends with the message and
// the form usable; nothing is installed.
TEST_F(FirmwareForm, AFailedFetchEndsTheOrder) {
    const std::string path = files.write("fw.tfp", Image("v2.40"));
    const struct {
        const char* name;
        const char* mode;
    } cases[] = {{"refused", "genErr"}, {"never answered", "timeout"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(dev->fault("qvEnterprise.11.37.4.3.3.4.0", c.mode, "set", 2000));
        TFM_Firmware* f = Open();
        f->CommandRequest->request.Retries = 0;
        if (std::string(c.mode) == "timeout") f->CommandRequest->request.Timeout = 50;
        Run(f, path);
        ASSERT_EQ(ui.Boxes().Count(), 1);
        EXPECT_EQ(ui.Boxes().Last().text, "Cant Perform Operation,Please try again!");
        EXPECT_FALSE(Status(f->StatusBar).empty());
        EXPECT_TRUE(f->Enabled());
        EXPECT_TRUE(f->Bt_OK->Enabled());
        EXPECT_TRUE(waits.empty());
        ui.Boxes().Clear();
        form.reset();
        dev->clearFaults();
        EXPECT_EQ(dev->peek(kVersion), "v2.31");
        EXPECT_EQ(dev->peek("qvEnterprise.11.37.4.3.3.5.0"), "6");
    }
}

// A file that is no image: the device refuses to install it and does not
// restart.
TEST_F(FirmwareForm, AnImageTheDeviceRefusesShowsTheError) {
    const std::string path = files.write("bad.tfp", "not an image");
    TFM_Firmware* f = Open();
    Run(f, path);
    EXPECT_EQ(SetLog(), (std::vector<std::string>{"3.3.1.0", "3.3.2.0", "3.3.4.0"}));
    EXPECT_FALSE(Status(f->StatusBar).empty());
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].label2, "Updating firmware file...");
    EXPECT_TRUE(f->Enabled());
    EXPECT_EQ(dev->control("state"), "ok running");
    EXPECT_EQ(dev->peek(kVersion), "v2.31");
}

// Closing while the fetch is out: the server lets go of its port, and the
// late answer reaches nothing: no box, no dialog, no installation ordered.
TEST_F(FirmwareForm, ClosingWhileTheFetchIsOutIsSafe) {
    const std::string path = files.write("fw.tfp", Image("v2.40"));
    ASSERT_TRUE(dev->fault("qvEnterprise.11.37.4.3.3.4.0", "timeout", "set", 1500));
    TFM_Firmware* f = Open();
    f->CommandRequest->request.Retries = 0;
    f->CommandRequest->request.Timeout = 100;
    f->Ed_UpgFile->SetText(path);
    f->Bt_OK->Click();
    ASSERT_TRUE(f->Busy());
    form.reset();
    EXPECT_TRUE(lmrtest::UdpPortIsFree(TFTPServicePort()));
    // The held answer goes out; once the device answers again, anything
    // still due to the closed form has arrived.
    dev->clearFaults();
    ASSERT_TRUE(dev->waitUntilAnswering());
    Application->ProcessMessages();
    EXPECT_EQ(ui.Boxes().Count(), 0);
    EXPECT_TRUE(waits.empty());
    // Only the server and name went through before the close.
    EXPECT_EQ(SetLog(), (std::vector<std::string>{"3.3.1.0", "3.3.2.0"}));
    EXPECT_EQ(dev->peek("qvEnterprise.11.37.4.3.3.5.0"), "6");
}

// Another program holds the port: the message, and only this form goes.
TEST_F(FirmwareForm, APortInUseEndsOnlyTheForm) {
    QvTFTPServer holder;
    holder.Start("", TFTPServicePort(), "127.0.0.1");
    TFM_Firmware* f = Open();
    EXPECT_TRUE(f->ServerFailed());
    ASSERT_EQ(ui.Boxes().Count(), 1);
    EXPECT_EQ(ui.Boxes().Last().text.rfind("TFTP Service Init Error:", 0), 0u);
    EXPECT_GT(ui.Boxes().Last().text.size(), std::string("TFTP Service Init Error:").size());
    f->Bt_OK->Click();
    EXPECT_TRUE(SetLog().empty());
}

} // namespace
