// Start-up of the main window: the command line with the per-device file,
// the platform's folders, the refusals (no arguments, a second instance) and
// the start against the simulated device with SNMPv1 and SNMPv3.
#include "tests/app/mainform_fixture.h"
#include "support/SilentPort.h"

#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <cstdlib>

namespace mainformtest {
namespace {

struct Expect {
    std::string address = "127.0.0.1";
    int port = 161;
    int version = 0;
    std::string readCommunity = "tarnok";
    std::string writeCommunity = "quembel";
    int model = 1, level = 1, auth = 1, priv = 1;
    std::string name, authPass, privPass, contextName, engineId;
    std::string versionText, authText, privText;
    std::string target = "127.0.0.1";
};

struct LineCase {
    const char* what;
    std::vector<std::string> args;
    std::string cfgAddress; // the file's device address ("-": no file)
    std::vector<std::string> cfg;
    Expect expect;
};

Expect With(std::function<void(Expect&)> f) {
    Expect e;
    f(e);
    return e;
}

class CommandLine : public MainFormTest {};

TEST_F(CommandLine, TableOfParametersAndFiles) {
    const LineCase cases[] = {
        {"address and community, no file",
         {"/I10.0.0.5", "/Rpub"},
         "-",
         {},
         With([](Expect& e) {
             e.address = e.target = "10.0.0.5";
             e.readCommunity = "pub";
         })},
        {"a switch counts only at the start of its parameter",
         {"/I127.0.0.1", "xx/Rabc", "/Wdef/Rghi", "/Rp/I10.0.0.9"},
         "-",
         {},
         With([](Expect& e) {
             e.readCommunity = "p/I10.0.0.9";
             e.writeCommunity = "def/Rghi";
         })},
        {"switches inside v3 secrets change neither address, port nor context",
         {"/I127.0.0.1", "/A/I10.1.1.1/t99", "/Psecret/c/d", "/n/tuser"},
         "127.0.0.1",
         {"Version=3"},
         With([](Expect& e) {
             e.version = 3;
             e.versionText = "3";
             e.authPass = "/I10.1.1.1/t99";
             e.privPass = "secret/c/d";
             e.name = "/tuser";
         })},
        {"the file is looked up under the address known so far",
         {"/Rx", "/I127.0.0.1"},
         "",
         {"AgentPort=1234"},
         With([](Expect& e) {
             e.readCommunity = "x";
             e.port = 1234;
         })},
        {"only /I given: the file is not read",
         {"/I127.0.0.1"},
         "127.0.0.1",
         {"AgentPort=1234", "Version=2"},
         Expect{}},
        {"a port switch without version 3 is ignored",
         {"/I127.0.0.1", "/t1161"},
         "-",
         {},
         Expect{}},
        {"after /v2 a port switch is still ignored",
         {"/I127.0.0.1", "/v2", "/t1161"},
         "-",
         {},
         With([](Expect& e) { e.version = 2; })},
        {"/v3 is no switch",
         {"/I127.0.0.1", "/v3", "/m3"},
         "-",
         {},
         Expect{}},
        {"a version that is no number keeps the default",
         {"/I127.0.0.1", "/v2x"},
         "-",
         {},
         Expect{}},
        {"file values: level 0 kept, empty password kept, protocols plus one",
         {"/I127.0.0.1", "/Rr"},
         "127.0.0.1",
         {"AgentPort=16100", "Version=3", "ContextName=", "ContextEngineID=80001F88",
          "SecurityModel=3", "SecurityLevel=0", "SecurityName=md5user", "AuthProtocol=1",
          "PrivProtocol=0", "AuthPassword=", "PrivPassword=des"},
         With([](Expect& e) {
             e.readCommunity = "r";
             e.port = 16100;
             e.version = 3;
             e.versionText = "3";
             e.model = 3;
             e.name = "md5user";
             e.engineId = "80001F88";
             e.auth = 2;
             e.authText = "2";
             e.privPass = "des";
         })},
        {"a level of 2 stores 3; version 3 switches count; names are taken as read",
         {"/I127.0.0.1", "/m3", "/l2", "/nshauser", "/Aa1", "/Pp1", "/a2", "/p1", "/cctx",
          "/d8000"},
         "127.0.0.1",
         {"Version=3", "SecurityLevel=2"},
         With([](Expect& e) {
             e.version = 3;
             e.versionText = "3";
             e.model = 3;
             e.level = 3;
             e.authPass = "a1";
             e.privPass = "p1";
             e.auth = 3;
             e.authText = "3";
             e.priv = 2;
             e.privText = "2";
             e.contextName = "ctx";
             e.engineId = "8000";
         })},
        {"the file read again overrides an earlier switch",
         {"/I127.0.0.1", "/t999", "/Rr"},
         "127.0.0.1",
         {"Version=3", "AgentPort=777"},
         With([](Expect& e) {
             e.readCommunity = "r";
             e.version = 3;
             e.versionText = "3";
             e.port = 777;
         })},
        {"a level switch of 0 and numbers that do not convert keep their values",
         {"/I127.0.0.1", "/l0", "/tabc", "/mx", "/a", "/pq"},
         "127.0.0.1",
         {"Version=3", "AgentPort=12x", "SecurityModel=", "SecurityLevel=two"},
         With([](Expect& e) {
             e.version = 3;
             e.versionText = "3";
         })},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.what);
        lmrtest::RemoveTree(dir.file("conf"));
        dir.mkdir("conf");
        if (c.cfgAddress != "-") WriteConfig(c.cfgAddress, c.cfg);
        g_DefaultDevice = QvSNMPDevice{};
        g_DefaultScope = QvSNMPScope{};
        g_DefaultSecurity = QvSNMPSecurity{};
        TMainForm* f = Bare(c.args);
        g_DefaultSecurity.Version = 0; // as the session set-up leaves it
        f->ReadPlatformSettings();
        EXPECT_EQ(f->ConfigFolder(), ConfFolder());
        f->ParseCommandLine();
        const Expect& e = c.expect;
        EXPECT_EQ(f->TargetIP, e.target);
        EXPECT_EQ(g_DefaultDevice.Address, e.address);
        EXPECT_EQ(g_DefaultDevice.Port, e.port);
        EXPECT_EQ(g_DefaultSecurity.Version, e.version);
        EXPECT_EQ(g_DefaultSecurity.ReadCommunity, e.readCommunity);
        EXPECT_EQ(g_DefaultSecurity.WriteCommunity, e.writeCommunity);
        EXPECT_EQ(g_DefaultSecurity.SecurityModel, e.model);
        EXPECT_EQ(g_DefaultSecurity.SecurityLevel, e.level);
        EXPECT_EQ(g_DefaultSecurity.SecurityName, e.name);
        EXPECT_EQ(g_DefaultSecurity.AuthPassword, e.authPass);
        EXPECT_EQ(g_DefaultSecurity.PrivPassword, e.privPass);
        EXPECT_EQ(g_DefaultSecurity.AuthProtocol, e.auth);
        EXPECT_EQ(g_DefaultSecurity.PrivProtocol, e.priv);
        EXPECT_EQ(g_DefaultScope.ContextName, e.contextName);
        EXPECT_EQ(g_DefaultScope.ContextEngineId, e.engineId);
        EXPECT_EQ(f->VersionText, e.versionText);
        EXPECT_EQ(f->AuthProtocolText, e.authText);
        EXPECT_EQ(f->PrivProtocolText, e.privText);
        forms.pop_back();
        delete f;
    }
}

TEST_F(CommandLine, PlatformFoldersFromTheRegistry) {
    struct {
        const char* what;
        std::string registry;
        std::string folder;
    } cases[] = {
        {"no keys", "", ""},
        {"the platform's folder",
         "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quorvane\\Velkar5.1\\ExePath]\nPath=C:\\Velkar\\bin\\\n",
         "C:\\Velkar\\bin\\..\\Conf\\MBF\\"},
        {"the MIB folder replaces it",
         "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quorvane\\Velkar5.1\\ExePath]\nPath=C:\\V\\\n"
         "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quorvane\\Velkar5.1\\MibFile]\nPath=D:\\mib\\\n",
         "D:\\mib\\"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        dir.write("registry.ini", c.registry);
        TMainForm* f = Bare({"/I127.0.0.1"});
        f->ReadPlatformSettings();
        EXPECT_EQ(f->ConfigFolder(), c.folder);
        forms.pop_back();
        delete f;
    }
}

TEST_F(CommandLine, MessageFilesComeFromTheHelpFolder) {
    // The help path without its last 12 characters is the message folder;
    // folder names are found without case.
    dir.mkdir("help");
    dir.mkdir("help/ErrMsg");
    dir.write("help/ErrMsg/snmp.msg", "Got: [ERROR] Request:[VARLIST] at [TIME]!\nSet it\n");
    WriteRegistry(ConfFolder(), dir.file("help") + "/lmr7300a.hlp");
    TMainForm* f = Bare({"/I127.0.0.1"});
    f->ReadPlatformSettings();
    EXPECT_EQ(g_ReportTemplates[0], "Got: [ERROR] Request:[VARLIST] at [TIME]!");
    QvSNMPError ok;
    ok.Message = "Fine";
    f->StatusPollDone(&ok);
    EXPECT_EQ(f->LastStatusText.substr(0, 13), "Got: Fine at ");
    g_ReportTemplates.Restore();

    // A help path of fewer than 12 characters: the current folder.
    dir.mkdir("errmsg");
    dir.write("errmsg/snmp.msg", "Here: [ERROR][VARLIST]\n");
    WriteRegistry(ConfFolder(), "short.hlp");
    f->ReadPlatformSettings();
    EXPECT_EQ(g_ReportTemplates[0], "Here: [ERROR][VARLIST]");
    g_ReportTemplates.Restore();
}

class Startup : public MainFormTest {};

TEST_F(Startup, WithoutArgumentsRefusesAndSendsNothing) {
    TMainForm* f = Start({});
    ASSERT_EQ(ui.Boxes().Count(), 1);
    EXPECT_EQ(ui.Boxes().Last().kind, BoxKind::Message);
    EXPECT_EQ(ui.Boxes().Last().text, "This module is only used in the Velkar or HP-Openview.");
    EXPECT_TRUE(Application->Terminated());
    EXPECT_FALSE(f->LedStatus->Enabled());
    EXPECT_FALSE(f->LedBlink->Enabled());
    EXPECT_FALSE(f->Timer1->Enabled());
    EXPECT_EQ(f->Caption(), "LMR-7300AP");
    EXPECT_EQ(f->StatusRequest, nullptr);
    for (auto* p : f->Probes)
        EXPECT_EQ(p, nullptr);
}

TEST_F(Startup, AnswersFillTheFieldsAndTheIndicators) {
    lmrtest::SimDevice& dev = lmrtest::SimDevice::shared();
    ASSERT_TRUE(dev.running()) << dev.error();
    ConfigForSim(dev);
    TMainForm* f = Start({"/I127.0.0.1", "/Rtarnok"});
    EXPECT_EQ(f->Caption(), "LMR-7300AP : 127.0.0.1");
    EXPECT_EQ(g_DefaultDevice.Port, dev.port());
    // Polls never overlap: a second start while one is out sends nothing.
    ASSERT_NE(f->StatusRequest, nullptr);
    f->LedStatusTimer(nullptr);
    EXPECT_LE(f->StatusRequest->Outstanding, 1);
    ASSERT_TRUE(Settle(f)) << f->LastStatusText;
    EXPECT_EQ(ui.Boxes().Count(), 0) << ui.Boxes().Texts()[0];

    EXPECT_EQ(f->LastStatusText.rfind("Get: ", 0), 0u) << f->LastStatusText;
    EXPECT_NE(f->LastStatusText.find(". Receive at "), std::string::npos);
    EXPECT_EQ(f->LastStatusText.find("[VARLIST]"), std::string::npos);
    EXPECT_EQ(f->LastStatusCode, 0);
    EXPECT_EQ(Color(f->LED_Power), clLime);
    EXPECT_EQ(Color(f->LED_Lan), clLime);
    EXPECT_EQ(Color(f->LED_WLan), clLime);

    const std::pair<TEdit*, const char*> fields[] = {
        {f->Ed_FwVer, "v2.31"},
        {f->Ed_Countrycode, "US"},
        {f->ED_Turbomode, "2"},
        {f->APModeSupport, "127"},
        {f->ifMultiSSID_Edit, "1"},
        {f->IPAddressEdit, "192.0.2.1"},
        {f->SubMaskEdit, "255.255.255.0"},
        {f->NewMultiSupport, "1"},
        {f->SyslogSupport, "1"},
        {f->Ed_ClientAddSSID, "1"},
        {f->Ed_KeyTypeSup, "1"},
        {f->Ed_IfCluster, "0"},
        {f->Ed_Green, "0"},
        {f->Ed_DelFunction, "0"},
        {f->Ed_SSIDBroadDisable, "0"},
        {f->Ed_RptModeToSuper, "1"},
        {f->ApmodeStringChangeSupport, "1"},
        {f->repeaterWpasupport, "1"},
        {f->Edt_Rougeapsupport, "1"},
        {f->mssidAndWdssupport, "1"},
        {f->Ed_prioritybySSIDSupported, "1"},
        {f->Ed_DyvlanSupport, "1"},
        {f->Ed_IP1, "192.0.2.100"},
        {f->Ed_IP2, "0.0.0.0"},
        {f->Ed_ipRangeSupported, "1"},
        {f->Ifclientinfosupported, "Ifclientinfosupported"},
    };
    for (const auto& [edit, text] : fields)
        EXPECT_EQ(edit->Text(), text) << edit->Name();
    EXPECT_TRUE(f->ManagerIpProbeOk);
    EXPECT_TRUE(f->IpRangeProbeOk);
    EXPECT_EQ(f->MssidWdsRequest, f->Probes[18]);
    EXPECT_EQ(f->Probes[19]->mode, 0);
    EXPECT_EQ(f->Probes[0]->mode, 1);

    // The picture is our own drawing, decoded, with the indicators on it.
    EXPECT_FALSE(f->Image1->Empty());
    EXPECT_EQ(f->Image1->PictureWidth(), f->ClientWidth());
    for (TShape* led : {f->LED_Power, f->LED_Lan, f->LED_WLan}) {
        EXPECT_EQ(led->Width(), 13);
        EXPECT_EQ(led->Height(), 9);
        EXPECT_LE(led->Left() + led->Width(), f->Image1->Width());
        EXPECT_LE(led->Top() + led->Height(), f->Image1->Height());
    }
    if (const char* shot = std::getenv("LMR_MAINFORM_SCREENSHOT")) {
        f->Show();
        Application->ProcessMessages();
        f->Widget()->grab().save(shot);
    }
}

TEST_F(Startup, OldFirmwareFailedSyncReadsLetTheStartGoOn) {
    lmrtest::SimOptions options;
    options.profile = "old";
    lmrtest::SimDevice dev(options);
    ASSERT_TRUE(dev.start()) << dev.error();
    ConfigForSim(dev);
    TMainForm* f = Start({"/I127.0.0.1", "/Rtarnok"});
    ASSERT_TRUE(Settle(f));
    EXPECT_EQ(ui.Boxes().Count(), 0);
    // The version gets its "v"; a missing object reads as no value, which
    // counts 0 like a name.
    EXPECT_EQ(f->Ed_FwVer->Text(), "v2.05");
    EXPECT_FALSE(f->ManagerIpProbeOk);
    EXPECT_FALSE(f->IpRangeProbeOk);
    for (auto* p : f->Probes)
        EXPECT_NE(p, nullptr);
    EXPECT_EQ(f->Ed_IP1->Text(), "(NULL)");
    EXPECT_EQ(f->Ed_ipRangeSupported->Text(), "(NULL)");
    EXPECT_EQ(TMainForm::FieldAsInt(f->Ed_ipRangeSupported), 0);
    // An asynchronous read that fails leaves its field alone.
    EXPECT_EQ(f->repeaterWpasupport->Text(), "repeaterWpasupport");
    EXPECT_EQ(f->NewMultiSupport->Text(), "0");
    EXPECT_EQ(Color(f->LED_Lan), clLime);
}

// A device that does not answer: the first synchronous probe waits its
// time-out, the others are not sent, so the window shows after one time-out.
TEST_F(Startup, SilentDeviceStopsTheSynchronousProbesAfterTheFirstTimeOut) {
    lmrtest::SilentPort silent;
    ASSERT_TRUE(silent.ok());
    WriteConfig("127.0.0.1", {"AgentPort=" + std::to_string(silent.port())});
    TMainForm* f = Start({"/I127.0.0.1", "/Rtarnok"});
    ASSERT_NE(f->Probes[19], nullptr);
    EXPECT_EQ(f->Probes[19]->busy, 0);
    for (int k = 20; k < TMainForm::ProbeCount; ++k)
        EXPECT_EQ(f->Probes[k], nullptr) << "probe " << k + 1 << " was sent";
    // The fields of the probes not sent keep their first texts; both flags
    // stay false.
    EXPECT_EQ(f->Ed_DyvlanSupport->Text(), "Ed_DyvlanSupport");
    EXPECT_EQ(f->Ed_IP1->Text(), "Ed_IP1");
    EXPECT_EQ(f->Ed_ipRangeSupported->Text(), "Ed_ipRangeSupported");
    EXPECT_FALSE(f->ManagerIpProbeOk);
    EXPECT_FALSE(f->IpRangeProbeOk);
    // The re-read timer copes with the probes that were never made.
    f->Timer1->Fire();
    EXPECT_EQ(ui.Boxes().Count(), 0);
}

TEST_F(Startup, SecondInstanceForTheSameDeviceIsRefused) {
    lmrtest::SimDevice& dev = lmrtest::SimDevice::shared();
    ASSERT_TRUE(dev.running()) << dev.error();
    ConfigForSim(dev);
    TMainForm* first = Start({"/I127.0.0.1", "/Rtarnok"});
    ASSERT_TRUE(Settle(first));
    ASSERT_EQ(ui.Boxes().Count(), 0);

    TMainForm* second = Start({"/I127.0.0.1", "/Rtarnok"});
    ASSERT_EQ(ui.Boxes().Count(), 1);
    EXPECT_EQ(ui.Boxes().Last().text, "Another LMR7300AP module is running!");
    EXPECT_EQ(ui.Boxes().Last().caption, "Warning");
    EXPECT_EQ(ui.Boxes().Last().buttons, mbOK);
    EXPECT_TRUE(Application->Terminated());
    EXPECT_FALSE(second->LedStatus->Enabled());
    EXPECT_FALSE(second->Timer1->Enabled());
    EXPECT_EQ(second->StatusRequest, nullptr);
    EXPECT_EQ(second->Probes[0], nullptr);
    // The first window is untouched.
    EXPECT_TRUE(first->LedStatus->Enabled() || first->StatusRequest->Outstanding > 0);

    // Once the first is gone the name is free again.
    Application->ResetTerminated();
    forms.erase(forms.begin());
    delete first;
    TMainForm* third = Start({"/I127.0.0.1", "/Rtarnok"});
    EXPECT_EQ(ui.Boxes().Count(), 1);
    EXPECT_NE(third->StatusRequest, nullptr);
    EXPECT_TRUE(Settle(third));
}

// SNMPv3 from the per-device file: the security model must be USM (3).
class V3Startup : public MainFormTest {
protected:
    std::vector<std::string> V3Lines() {
        return {"Version=3", "SecurityName=md5user", "SecurityLevel=1", "AuthProtocol=1",
                "AuthPassword=md5authpass"};
    }
};

TEST_F(V3Startup, WithUsmTheDeviceIsRead) {
    lmrtest::SimDevice& dev = lmrtest::SimDevice::shared();
    ASSERT_TRUE(dev.running()) << dev.error();
    ConfigForSim(dev, V3Lines());
    TMainForm* f = Start({"/I127.0.0.1", "/m3"});
    ASSERT_TRUE(Settle(f)) << f->LastStatusText;
    EXPECT_EQ(g_DefaultSecurity.Version, 3);
    EXPECT_EQ(g_DefaultSecurity.SecurityModel, 3);
    EXPECT_EQ(ui.Boxes().Count(), 0);
    EXPECT_EQ(f->LastStatusCode, 0) << f->LastStatusText;
    EXPECT_EQ(f->Ed_FwVer->Text(), "v2.31");
    EXPECT_TRUE(f->IpRangeProbeOk);
    EXPECT_EQ(Color(f->LED_Lan), clLime);
}

TEST_F(V3Startup, WithoutUsmTheUserIsToldOnce) {
    lmrtest::SimDevice& dev = lmrtest::SimDevice::shared();
    ASSERT_TRUE(dev.running()) << dev.error();
    ConfigForSim(dev, V3Lines());
    TMainForm* f = Start({"/I127.0.0.1", "/Rtarnok"});
    ASSERT_TRUE(Settle(f));
    for (int tick = 0; tick < 3; ++tick) {
        f->LedStatus->Fire();
        f->Timer1->Fire();
        ASSERT_TRUE(Pump([&] { return f->LedStatus->Enabled() && ProbesIdle(f); }));
    }
    EXPECT_EQ(f->LastStatusText, "(SNMPv3) Unsupported Security Model!");
    ASSERT_EQ(ui.Boxes().Count(), 1);
    EXPECT_EQ(ui.Boxes().Last().text, "(SNMPv3) Unsupported Security Model!");
    // Captioned with the application's title, not the executable's name.
    EXPECT_EQ(ui.Boxes().Last().caption, "LMR-7300AP");
    EXPECT_EQ(Color(f->LED_Lan), clBlack);
    EXPECT_FALSE(f->IpRangeProbeOk);
    EXPECT_EQ(f->Ed_FwVer->Text(), "v");
}

} // namespace
} // namespace mainformtest
