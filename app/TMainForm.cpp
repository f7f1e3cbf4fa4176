#include "app/TMainForm.h"

#include "app/AddressChecks.h"
#include "app/DevicePicture.h"
#include "app/MainUnit.h"
#include "app/TAboutForm.h"
#include "app/TConfigForm.h"
#include "app/TSNMPEditorPanel.h"
#include "base/Exception.h"
#include "base/SysUtils.h"
#include "binding/QvFailureCapture.h"
#include "binding/QvSNMPRequest2Edits.h"
#include "mib/OptionLists.h"
#include "mib/VarTable.h"
#include "os/Path.h"
#include "os/Registry.h"
#include "os/StateFolder.h"
#include "snmp/QvExpression.h"
#include "snmp/QvIni.h"
#include "snmp/QvSNMPRequest.h"
#include "snmp/QvSession.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"
#include "ui/Menu.h"
#include "ui/StatusBar.h"
#include "ui/Timer.h"
#include "ui/Widgets.h"

#include <cctype>
#include <exception>
#include <map>

TMainForm* MainForm = nullptr;

namespace {

constexpr int kTimedOutCode = -405;

int CodeOf(const std::exception& e) {
    if (auto* ours = dynamic_cast<const Exception*>(&e)) return ours->HelpContext();
    return 0;
}

// Failures that a later poll cannot cure: the SNMPv3 set-up is wrong.
bool IsConfigurationError(int code) {
    return (code <= -201 && code >= -217) || (code <= -301 && code >= -314);
}

// The "no outline" of the indicators: the pen follows the brush.
void SetLed(TShape* led, TColor color) {
    led->Brush().SetColor(color);
    led->Pen().SetColor(color);
    led->SetVisible(true);
}

void ToggleLed(TShape* led) {
    SetLed(led, led->Brush().Color() != clBlack ? clBlack : clLime);
}

using mib::table::kEnd;
using mib::table::Var;
using namespace QvSyntax;
using QvAccess::ReadOnly;
using QvAccess::ReadWrite;

const QvSNMPVar kSystemGroup[] = {
    Var("1.3.6.1.2.1.1.1", "System Description", DisplayStr, ReadOnly),
    Var("1.3.6.1.2.1.1.2", "System Object ID", ObjectId, ReadOnly),
    Var("1.3.6.1.2.1.1.3", "System Uptime", TimeTicks, ReadOnly),
    Var("1.3.6.1.2.1.1.4", "System Contact", DisplayStr, ReadWrite),
    Var("1.3.6.1.2.1.1.5", "System Name", DisplayStr, ReadWrite),
    Var("1.3.6.1.2.1.1.6", "System Location", DisplayStr, ReadWrite),
    kEnd};

const QvSNMPVar kSysDescr[] = {Var("1.3.6.1.2.1.1.1", "sysDescr", DisplayStr, ReadOnly), kEnd};

#define PROBE_TABLE(name, oid, label, syntax)                                                      \
    const QvSNMPVar name[] = {Var(QV_AP oid, label, syntax, ReadOnly), kEnd}

PROBE_TABLE(kFirmwareVersion, ".4.1.1.1", "stFirmwareVersion", DisplayStr);
PROBE_TABLE(kCountryCode, ".99.1.1.6", "countrycode", DisplayStr);
PROBE_TABLE(kTurboModes, ".99.1.1.2", "turbomodes", Integer);
PROBE_TABLE(kApModes, ".99.1.1.1", "apmodes", Integer);
PROBE_TABLE(kMssidSupported, ".99.1.1.9", "mssidsupported", Integer);
PROBE_TABLE(kMssidIsolated, ".99.1.1.13", "mssidisolatedsecurity", Integer);
PROBE_TABLE(kSyslogSupported, ".99.1.1.11", "syslogsupported", Integer);
PROBE_TABLE(kMssidIndication, ".99.1.1.14", "mssidindication", Integer);
PROBE_TABLE(kKeyTypeSelection, ".99.1.1.15", "keytypeselection", Integer);
PROBE_TABLE(kClusterSupported, ".99.1.1.16", "clustersupported", Integer);
PROBE_TABLE(kGreenPacket, ".99.1.1.17", "greenpacketsupported", Integer);
PROBE_TABLE(kFunctionVersion, ".99.1.1.28", "functionversion", Integer);
PROBE_TABLE(kRepeaterTurbo, ".99.1.1.30", "repeaterturbomodessupport", Integer);
PROBE_TABLE(kApModeString, ".99.1.1.51", "apmodestringchangeSupported", Integer);
PROBE_TABLE(kRepeaterWpa, ".99.1.1.50", "repeaterWpasupport", Integer);
PROBE_TABLE(kRogueAp, ".99.1.1.10", "rogueapsupported", Integer);
PROBE_TABLE(kMssidAndWds, ".99.1.1.49", "mssidAndWdssupport", Integer);
PROBE_TABLE(kPriorityBySsid, ".99.1.1.56", "prioritybySSIDSupported", Integer);
PROBE_TABLE(kDynamicVlan, ".99.1.1.54", "dynamicVlanSupported", Integer);
PROBE_TABLE(kIpRange, ".99.1.1.55", "ipRangeSupported", Integer);
PROBE_TABLE(kClientInfo, ".99.1.1.7", "clientinfosupported", Integer);

const QvSNMPVar kLanGroup[] = {
    Var(QV_AP ".1.2.1", "hGetIPFrom", Integer, ReadWrite, &mib::hGetIPFromList),
    Var(QV_AP ".1.2.2", "hIPAddress", IpAddress, ReadWrite),
    Var(QV_AP ".1.2.3", "hSubnetMask", IpAddress, ReadWrite),
    Var(QV_AP ".1.2.4", "hDefaultGateway", IpAddress, ReadWrite),
    Var(QV_AP ".3.2.1", "sysRestart", Integer, ReadWrite, &mib::sysRestartList),
    kEnd};

const QvSNMPVar kManagerIp[] = {
    Var(QV_AP ".3.1.3.2.1.1.1", "managerIP", IpAddress, ReadWrite),
    Var(QV_AP ".3.1.3.2.1.1.2", "managerIP", IpAddress, ReadWrite), kEnd};

// One probe: its table, item kind, bound fields (variable, format, field
// member) and whether it reads synchronously.
struct FieldBinding {
    int variable;
    const char* format;
    TEdit* TMainForm::*field;
};
struct ProbeDef {
    const QvSNMPVar* table;
    uint8_t itemType;
    bool sync;
    FieldBinding fields[2];
};

const ProbeDef kProbes[TMainForm::ProbeCount] = {
    {kFirmwareVersion, SVT_SV, false, {{0, "%s", &TMainForm::Ed_FwVer}}},
    {kCountryCode, SVT_SV, false, {{0, "%s", &TMainForm::Ed_Countrycode}}},
    {kTurboModes, SVT_SV, false, {{0, "%s", &TMainForm::ED_Turbomode}}},
    {kApModes, SVT_SV, false, {{0, "%u", &TMainForm::APModeSupport}}},
    {kMssidSupported, SVT_SV, false, {{0, "%u", &TMainForm::ifMultiSSID_Edit}}},
    {kLanGroup,
     SVT_SV,
     false,
     {{1, "%s", &TMainForm::IPAddressEdit}, {2, "%s", &TMainForm::SubMaskEdit}}},
    {kMssidIsolated, SVT_SV, false, {{0, "%s", &TMainForm::NewMultiSupport}}},
    {kSyslogSupported, SVT_SV, false, {{0, "%s", &TMainForm::SyslogSupport}}},
    {kMssidIndication, SVT_SV, false, {{0, "%s", &TMainForm::Ed_ClientAddSSID}}},
    {kKeyTypeSelection, SVT_SV, false, {{0, "%s", &TMainForm::Ed_KeyTypeSup}}},
    {kClusterSupported, SVT_SV, false, {{0, "%s", &TMainForm::Ed_IfCluster}}},
    {kGreenPacket, SVT_SV, false, {{0, "%s", &TMainForm::Ed_Green}}},
    {kFunctionVersion, SVT_SV, false, {{0, "%s", &TMainForm::Ed_DelFunction}}},
    {kFunctionVersion, SVT_SV, false, {{0, "%s", &TMainForm::Ed_SSIDBroadDisable}}},
    {kRepeaterTurbo, SVT_SV, false, {{0, "%s", &TMainForm::Ed_RptModeToSuper}}},
    {kApModeString, SVT_SV, false, {{0, "%s", &TMainForm::ApmodeStringChangeSupport}}},
    {kRepeaterWpa, SVT_SV, false, {{0, "%s", &TMainForm::repeaterWpasupport}}},
    {kRogueAp, SVT_SV, false, {{0, "%s", &TMainForm::Edt_Rougeapsupport}}},
    {kMssidAndWds, SVT_SV, false, {{0, "%s", &TMainForm::mssidAndWdssupport}}},
    {kPriorityBySsid, SVT_SV, true, {{0, "%s", &TMainForm::Ed_prioritybySSIDSupported}}},
    {kDynamicVlan, SVT_SV, true, {{0, "%s", &TMainForm::Ed_DyvlanSupport}}},
    {kManagerIp, MVT_SV, true, {{0, "%s", &TMainForm::Ed_IP1}, {1, "%s", &TMainForm::Ed_IP2}}},
    {kIpRange, SVT_SV, true, {{0, "%s", &TMainForm::Ed_ipRangeSupported}}},
};

// Probe numbers (1-based) the re-read timer reads again, in its order.
constexpr int kRereadOrder[] = {1, 2, 3, 4, 5, 18, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 19};

// Fields emptied on every seventh re-read, in this order.
TEdit* TMainForm::* const kClearedFields[] = {
    &TMainForm::Ed_FwVer,           &TMainForm::Ed_Countrycode,     &TMainForm::ED_Turbomode,
    &TMainForm::APModeSupport,      &TMainForm::ifMultiSSID_Edit,   &TMainForm::Edt_Rougeapsupport,
    &TMainForm::IPAddressEdit,      &TMainForm::SubMaskEdit,        &TMainForm::NewMultiSupport,
    &TMainForm::SyslogSupport,      &TMainForm::Ed_ClientAddSSID,   &TMainForm::Ed_KeyTypeSup,
    &TMainForm::Ed_IfCluster,       &TMainForm::Ed_Green,           &TMainForm::Ed_DelFunction,
    &TMainForm::Ed_SSIDBroadDisable, &TMainForm::Ed_RptModeToSuper, &TMainForm::mssidAndWdssupport,
};

struct FieldDef {
    TEdit* TMainForm::*field;
    const char* name;
};
const FieldDef kFields[] = {
    {&TMainForm::Ed_FwVer, "Ed_FwVer"},
    {&TMainForm::Ed_Countrycode, "Ed_Countrycode"},
    {&TMainForm::ED_Turbomode, "ED_Turbomode"},
    {&TMainForm::APModeSupport, "APModeSupport"},
    {&TMainForm::ifMultiSSID_Edit, "ifMultiSSID_Edit"},
    {&TMainForm::IPAddressEdit, "IPAddressEdit"},
    {&TMainForm::SubMaskEdit, "SubMaskEdit"},
    {&TMainForm::NewMultiSupport, "NewMultiSupport"},
    {&TMainForm::SyslogSupport, "SyslogSupport"},
    {&TMainForm::Ed_ClientAddSSID, "Ed_ClientAddSSID"},
    {&TMainForm::Ed_KeyTypeSup, "Ed_KeyTypeSup"},
    {&TMainForm::Ed_IfCluster, "Ed_IfCluster"},
    {&TMainForm::Ed_Green, "Ed_Green"},
    {&TMainForm::Ed_DelFunction, "Ed_DelFunction"},
    {&TMainForm::Ed_SSIDBroadDisable, "Ed_SSIDBroadDisable"},
    {&TMainForm::Ed_RptModeToSuper, "Ed_RptModeToSuper"},
    {&TMainForm::ApmodeStringChangeSupport, "ApmodeStringChangeSupport"},
    {&TMainForm::repeaterWpasupport, "repeaterWpasupport"},
    {&TMainForm::Edt_Rougeapsupport, "Edt_Rougeapsupport"},
    {&TMainForm::mssidAndWdssupport, "mssidAndWdssupport"},
    {&TMainForm::Ed_prioritybySSIDSupported, "Ed_prioritybySSIDSupported"},
    {&TMainForm::Ed_DyvlanSupport, "Ed_DyvlanSupport"},
    {&TMainForm::Ed_IP1, "Ed_IP1"},
    {&TMainForm::Ed_IP2, "Ed_IP2"},
    {&TMainForm::Ed_ipRangeSupported, "Ed_ipRangeSupported"},
    {&TMainForm::Ifclientinfosupported, "Ifclientinfosupported"},
};

std::map<std::string, TMainForm::FormOpener>& Openers() {
    static std::map<std::string, TMainForm::FormOpener> openers;
    return openers;
}

// Where the indicators sit on the picture.
constexpr int kLedTop = 118;
constexpr int kLedLeft[3] = {150, 180, 210};

} // namespace

TMainForm::TMainForm(TComponent* owner) : TForm(owner), alive_(std::make_shared<bool>(true)) {
    MainForm = this;
    SetName("MainForm");
    SetCaption(g_ModelName);
    BuildControls();
    BuildMenus();
    LoadPicture();

    // First load of the message files, from beside the executable.
    const std::string folder = os::ExtractFilePath(os::ParamStr(0)) + "errMSg\\";
    LoadMessageTable(g_SnmpClassMessages, folder + "snmpclass.err");
    LoadMessageTable(g_PduMessages, folder + "snmp.err");
    LoadMessageTable(g_ReportTemplates, folder + "snmp.msg");
    LoadMessageTable(g_QvSnmpMessages, folder + "qvsnmp.err");
    LoadMessageTable(g_SnmpV3Messages, folder + "snmpv3.err");
    LoadMessageTable(g_SnmpUsmMessages, folder + "snmpusm.err");
    LoadMessageTable(g_CommonMessages, folder + "common.err");
    g_DefaultSecurity.Version = 3;

    OnCreate = [this](TObject* sender) { FormCreate(sender); };
}

TMainForm::~TMainForm() {
    *alive_ = false;
    StopTimers();
    // Requests wait for their replies here; nothing of ours runs any more.
    delete ClientInfoRequest;
    ClientInfoRequest = nullptr;
    for (auto*& probe : Probes) {
        delete probe;
        probe = nullptr;
    }
    MssidWdsRequest = nullptr;
    StatusRequest.reset();
    if (MainForm == this) MainForm = nullptr;
}

void TMainForm::BuildControls() {
    Image1 = new TImage(this);
    Image1->SetName("Image1");
    Image1->SetBounds(0, 0, DevicePictureWidth, DevicePictureHeight);

    TShape** leds[3] = {&LED_Power, &LED_Lan, &LED_WLan};
    const char* ledNames[3] = {"LED_Power", "LED_Lan", "LED_WLan"};
    for (int k = 0; k < 3; ++k) {
        auto* led = new TShape(this);
        led->SetName(ledNames[k]);
        led->SetBounds(kLedLeft[k], kLedTop, 13, 9);
        led->Pen().SetColor(clWhite); // no outline on the white start
        led->BringToFront();
        *leds[k] = led;
    }

    MainStatusBar = new TStatusBar(this);
    MainStatusBar->SetName("MainStatusBar");
    MainStatusBar->SetAlign(alBottom);
    MainStatusBar->Panels().Add()->SetWidth(50);

    for (const FieldDef& f : kFields) {
        auto* edit = new TEdit(this);
        edit->SetName(f.name);
        edit->SetVisible(false);
        edit->SetText(f.field == &TMainForm::Ed_FwVer ? "" : f.name);
        this->*f.field = edit;
    }

    LedStatus = new TTimer(this);
    LedStatus->SetName("LedStatus");
    LedStatus->SetInterval(2000);
    LedStatus->OnTimer = [this](TObject* s) { LedStatusTimer(s); };
    LedBlink = new TTimer(this);
    LedBlink->SetName("LedBlink");
    LedBlink->SetInterval(30);
    LedBlink->OnTimer = [this](TObject* s) { LedBlinkTimer(s); };
    Timer1 = new TTimer(this);
    Timer1->SetName("Timer1");
    Timer1->SetInterval(2000);
    Timer1->OnTimer = [this](TObject* s) { Timer1Timer(s); };
}

void TMainForm::BuildMenus() {
    MainMenu1 = new TMainMenu(this);
    MainMenu1->SetName("MainMenu1");
    TMenuItem& bar = MainMenu1->Items();
    auto top = [&](const char* name, const char* caption, TNotifyEvent onOpen) {
        TMenuItem* item = bar.AddItem(caption, std::move(onOpen));
        item->SetName(name);
        return item;
    };
    auto command = [](TMenuItem* menu, const char* name, const char* caption, bool visible,
                      TNotifyEvent onClick) {
        TMenuItem* item = menu->AddItem(caption, std::move(onClick));
        item->SetName(name);
        item->SetVisible(visible);
        return item;
    };
    auto opens = [this](const char* className) {
        return [this, className](TObject*) { OpenFeatureForm(className); };
    };

    Home1 = top("Home1", "Home", nullptr);
    Information1 = command(Home1, "Information1", "Information", true,
                           [this](TObject* s) { Information1Click(s); });
    hWirelessBand1 = command(Home1, "hWirelessBand1", "Wireless", true, opens("TFM_Wirless"));
    hLan1 = command(Home1, "hLan1", "LAN", true, opens("TFM_LanCfg"));

    advanced2 = top("advanced2", "Advanced", [this](TObject* s) { advanced2Click(s); });
    adMode1 = command(advanced2, "adMode1", "Mode", true, opens("TFM_ModeCFG"));
    adPerformance1 =
        command(advanced2, "adPerformance1", "Performance", true, opens("TFM_Performace"));
    adFilters2 = command(advanced2, "adFilters2", "Filter", true, opens("TFM_Filter"));
    adEncryption2 = command(advanced2, "adEncryption2", "Encryption", true, opens("TFM_Encrypt"));
    adGrouping2 = command(advanced2, "adGrouping2", "Grouping", false, opens("TFM_Group"));
    adDHCPServer2 = command(advanced2, "adDHCPServer2", "DHCP Server", true, opens("TFM_DHCP"));
    Ad_MultiSSID = command(advanced2, "Ad_MultiSSID", "Multi-SSID", false,
                           [this](TObject* s) { Ad_MultiSSIDClick(s); });
    RogueAP1 = command(advanced2, "RogueAP1", "Rogue AP", true, opens("TFM_RogueForm"));

    tools2 = top("tools2", "Tools", [this](TObject* s) { tools2Click(s); });
    tAdmin2 = command(tools2, "tAdmin2", "Admin", true, [this](TObject* s) { tAdmin1Click(s); });
    tSystem2 = command(tools2, "tSystem2", "System", true, opens("TFM_Sytem"));
    Firmware1 = command(tools2, "Firmware1", "Firmware", true, opens("TFM_Firmware"));
    tUpdate2 = command(tools2, "tUpdate2", "Configuration File", true, opens("TFM_CfgFile"));
    tMisc1 = command(tools2, "tMisc1", "Miscellaneous", true, opens("TFM_Misc"));

    status2 = top("status2", "Status", [this](TObject* s) { status2Click(s); });
    stDeviceInfo2 = command(status2, "stDeviceInfo2", "Device Info", true, opens("TFM_DevInfo"));
    stStats1 = command(status2, "stStats1", "Stats", true, opens("TFM_Static"));
    Client1 = command(status2, "Client1", "Client Info", true, opens("TClientInformation"));
    SystemLog = command(status2, "SystemLog", "Log", true, opens("TLogForm"));

    Help1 = top("Help1", "Help", nullptr);
    About1 = command(Help1, "About1", "About", true, [this](TObject* s) { About1Click(s); });
}

void TMainForm::LoadPicture() {
    int w = 0, h = 0;
    std::vector<unsigned char> rgb;
    if (DecodeDevicePicture(rgb, w, h)) Image1->SetRGB(w, h, rgb.data());
    Image1->SetBounds(0, 0, DevicePictureWidth, DevicePictureHeight);
}

void TMainForm::StopTimers() {
    if (LedStatus) LedStatus->SetEnabled(false);
    if (LedBlink) LedBlink->SetEnabled(false);
    if (Timer1) Timer1->SetEnabled(false);
}

int TMainForm::FieldAsInt(const TEdit* field) {
    long long v = 0;
    if (!field || !ParseDecimal(field->Text(), v)) return 0;
    return v < INT32_MIN || v > INT32_MAX ? 0 : static_cast<int>(v);
}

// --- start-up -------------------------------------------------------------------

void TMainForm::FormCreate(TObject*) {
    SetClientWidth(Image1->Width());
    SetClientHeight(Image1->Height() + MainStatusBar->Height());
    SetBorderStyle(bsSingle);
    SetBorderIcons(BorderIcons() & ~biMaximize);

    // The boots counter goes with the program's other state, not into
    // whatever folder the platform started us in.
    CreateGlobalSession(os::StateFolder());
    g_DefaultSecurity.Version = 0;

    ReadPlatformSettings();

    if (os::ParamCount() == 0) {
        StopTimers();
        ShowMessage("This module is only used in the Velkar or HP-Openview.");
        Application->Terminate();
        // A refused start sends nothing to any device.
        return;
    }
    ParseCommandLine();

    SetCaption(Caption() + " : " + TargetIP);

    std::string lockError;
    if (instanceLock_.acquire(Caption()) != os::InstanceLock::Status::Acquired) {
        StopTimers();
        Application->MessageBox(g_SingleInstanceMessage, "Warning", MB_OK);
        Application->Terminate();
        Close();
        return;
    }

    StatusRequest = std::make_unique<QvSNMPRequest>();
    StatusRequest->vars = QvSNMPVarList(kSysDescr, SVT_SV, 0);
    LedStatusTimer(nullptr);
    CreateProbes();
}

void TMainForm::ReadPlatformSettings() {
    // Message folder: the help file's folder, from the platform's registry.
    std::string messageFolder;
    {
        os::Registry reg(os::RegistryRoot::LocalMachine);
        if (reg.openKey("\\SOFTWARE\\Quorvane\\Modules\\HelpPath", true)) {
            const std::string help = reg.readString(g_HelpPathValueName);
            if (help.size() > 12) messageFolder = help.substr(0, help.size() - 12);
        }
    }
    LoadMessageTable(g_CommonMessages, messageFolder + "errmsg\\common.err");
    LoadMessageTable(g_PduMessages, messageFolder + "errmsg\\snmp.err");
    LoadMessageTable(g_SnmpV3Messages, messageFolder + "errmsg\\snmpv3.err");
    LoadMessageTable(g_SnmpUsmMessages, messageFolder + "errmsg\\snmpusm.err");
    LoadMessageTable(g_SnmpClassMessages, messageFolder + "errmsg\\snmpclass.err");
    LoadMessageTable(g_QvSnmpMessages, messageFolder + "errmsg\\qvsnmp.err");
    LoadMessageTable(g_ReportTemplates, messageFolder + "errmsg\\snmp.msg");

    // Configuration folder of the platform.
    {
        os::Registry reg(os::RegistryRoot::LocalMachine);
        if (reg.openKey("\\SOFTWARE\\Quorvane\\Velkar5.1\\ExePath", false))
            configFolder_ = reg.readString("Path") + "..\\Conf\\MBF\\";
        reg.closeKey();
        if (reg.openKey("\\SOFTWARE\\Quorvane\\Velkar5.1\\MibFile", false))
            configFolder_ = reg.readString("Path");
    }
}

void TMainForm::ParseCommandLine() {
    static const char* const kV3Switches[] = {"/t", "/c", "/d", "/m", "/l",
                                              "/n", "/A", "/P", "/a", "/p"};
    QvSNMPSecurity& sec = g_DefaultSecurity;
    for (int i = 1; i <= os::ParamCount(); ++i) {
        const std::string param = os::ParamStr(i);
        // The platform passes one switch per parameter, at its start: a
        // password or community may hold "/I" or "/t" anywhere else.
        auto found = [&](const char* sw, std::string& value) {
            if (param.compare(0, std::char_traits<char>::length(sw), sw) != 0) return false;
            value = param.substr(2);
            return true;
        };
        std::string value;
        long long n = 0;
        if (found("/I", value)) {
            TargetIP = value;
            g_DefaultDevice.Address = value;
            continue;
        }
        ReadConfigFile(configFolder_);
        if (found("/R", value)) {
            sec.ReadCommunity = value;
            continue;
        }
        if (found("/W", value)) {
            sec.WriteCommunity = value;
            continue;
        }
        if (found("/v2", value)) {
            if (ParseDecimal(value, n)) sec.Version = static_cast<uint8_t>(n);
            continue;
        }
        if (!(VersionText == "3" || sec.Version == 3)) continue;
        for (const char* sw : kV3Switches) {
            if (!found(sw, value)) continue;
            const char c = sw[1];
            const bool number = ParseDecimal(value, n);
            switch (c) {
            case 't':
                if (number) g_DefaultDevice.Port = static_cast<uint16_t>(n);
                break;
            case 'c':
                g_DefaultScope.ContextName = value;
                break;
            case 'd':
                g_DefaultScope.ContextEngineId = value;
                break;
            case 'm':
                if (number) sec.SecurityModel = static_cast<int>(n);
                break;
            case 'l':
                if (number && n != 0) sec.SecurityLevel = static_cast<int>(n) + 1;
                break;
            case 'n':
                sec.SecurityName = value;
                break;
            case 'A':
                sec.AuthPassword = value;
                break;
            case 'P':
                sec.PrivPassword = value;
                break;
            case 'a':
                if (number) {
                    sec.AuthProtocol = static_cast<int>(n) + 1;
                    if (AuthProtocolText != "0") AuthProtocolText = IntToStr(sec.AuthProtocol);
                }
                break;
            case 'p':
                if (number) {
                    sec.PrivProtocol = static_cast<int>(n) + 1;
                    if (PrivProtocolText != "0") PrivProtocolText = IntToStr(sec.PrivProtocol);
                }
                break;
            }
            break;
        }
    }
}

void TMainForm::ReadConfigFile(const std::string& folder) {
    const std::string path = folder + TargetIP + ".cfg";
    if (!os::FileExists(os::ResolvePath(path))) return;
    QvIni ini(path);
    const char* const section = "Program Information";
    auto key = [&](const char* name) { return ini.ReadString(section, name, ""); };
    QvSNMPSecurity& sec = g_DefaultSecurity;
    long long n = 0;
    std::string v;
    if (ParseDecimal(key("AgentPort"), n)) g_DefaultDevice.Port = static_cast<uint16_t>(n);
    if (ParseDecimal(key("Version"), n)) {
        sec.Version = static_cast<uint8_t>(n);
        VersionText = IntToStr(sec.Version);
    }
    v = key("ContextName");
    if (!v.empty()) g_DefaultScope.ContextName = v;
    g_DefaultScope.ContextEngineId = key("ContextEngineID");
    if (ParseDecimal(key("SecurityModel"), n)) sec.SecurityModel = static_cast<int>(n);
    v = key("SecurityLevel");
    if (v != "0" && ParseDecimal(v, n)) sec.SecurityLevel = static_cast<int>(n) + 1;
    sec.SecurityName = key("SecurityName");
    v = key("AuthProtocol");
    if (v != "0" && ParseDecimal(v, n)) {
        sec.AuthProtocol = static_cast<int>(n) + 1;
        AuthProtocolText = IntToStr(sec.AuthProtocol);
    }
    v = key("PrivProtocol");
    if (v != "0" && ParseDecimal(v, n)) {
        sec.PrivProtocol = static_cast<int>(n) + 1;
        PrivProtocolText = IntToStr(sec.PrivProtocol);
    }
    v = key("AuthPassword");
    if (!v.empty()) sec.AuthPassword = v;
    v = key("PrivPassword");
    if (!v.empty()) sec.PrivPassword = v;
}

// --- capability probes ----------------------------------------------------------

QvSNMPRequest2Edits* TMainForm::NewProbe(int index) {
    const ProbeDef& def = kProbes[index];
    auto* probe = new QvSNMPRequest2Edits(this);
    Probes[index] = probe;
    probe->request.vars = QvSNMPVarList(def.table, def.itemType, 0);
    for (const FieldBinding& f : def.fields)
        if (f.format) probe->AssociateEdits(f.variable, f.format, this->*f.field);
    probe->mode = def.sync ? 0 : 1;
    return probe;
}

void TMainForm::CreateProbes() {
    for (int k = 0; k < ProbeCount; ++k) {
        QvSNMPRequest2Edits* probe = NewProbe(k);
        if (k == 0)
            probe->OnReadDone = [this](QvSNMPRequest2Controls* s, QvSNMPError* e) {
                FirmwareVersionRead(s, e);
            };
        if (k == 18) MssidWdsRequest = probe;
        QvFailureCapture capture(probe->request);
        const bool ok = probe->Read();
        if (k == 21) ManagerIpProbeOk = ok;
        if (k == 22) IpRangeProbeOk = ok;
        // Old firmware answers "no such object" and the next probe may still
        // be there; a device that does not answer at all would make each of
        // the remaining probes wait its own time-out before the window shows.
        if (kProbes[k].sync && capture.First().Code == kTimedOutCode) break;
    }
}

void TMainForm::FirmwareVersionRead(QvSNMPRequest2Controls*, QvSNMPError*) {
    const std::string text = Ed_FwVer->Text();
    if (text.empty() || text[0] != 'v') Ed_FwVer->SetText("v" + text);
}

void TMainForm::Timer1Timer(TObject*) {
    if (ProbeCounter == 7) {
        for (TEdit* TMainForm::*field : kClearedFields)
            (this->*field)->SetText("");
        ProbeCounter = 0;
    }
    for (int number : kRereadOrder) {
        QvSNMPRequest2Edits* probe = Probes[number - 1];
        // A probe still waiting for its last answer is not sent again.
        if (!probe || probe->busy) continue;
        try {
            probe->Read();
        } catch (const std::exception&) {
            // The status poll shows what is wrong; a box every 2 s would not help.
        }
    }
    ++ProbeCounter;
}

// --- status poll ------------------------------------------------------------------

void TMainForm::LedStatusTimer(TObject*) {
    LedStatus->SetEnabled(false);
    if (!StatusRequest || pollOutstanding_) return;
    std::shared_ptr<bool> alive = alive_;
    pollOutstanding_ = true;
    try {
        StatusRequest->GetAsync(
            [this, alive](QvSNMPError* error, QvSNMPVarList*) {
                if (*alive) StatusPollDone(error);
            },
            true);
    } catch (const std::exception& e) {
        pollOutstanding_ = false;
        PollFailed(MessageOf(e), CodeOf(e));
        LedStatus->SetEnabled(true);
    }
}

void TMainForm::PollFailed(const std::string& text, int code) {
    lastPollOk_ = false;
    SetLed(LED_Power, clBlack);
    SetLed(LED_Lan, clBlack);
    SetLed(LED_WLan, clBlack);
    MainStatusBar->SetSimpleText(text);
    LastStatusText = MainStatusBar->SimpleText();
    LastStatusCode = code;
    // A wrong SNMPv3 set-up fails every poll the same way: say it once.
    if (IsConfigurationError(code) && !configErrorShown_) {
        configErrorShown_ = true;
        QvShowOwnedMessage(this, text);
    }
}

void TMainForm::StatusPollDone(QvSNMPError* error) {
    pollOutstanding_ = false;
    if (error->Code != 0) {
        PollFailed(error->Message, error->Code);
    } else {
        lastPollOk_ = true;
        std::string text = g_ReportTemplates[0];
        const std::string tagError = "[ERROR]", tagList = "[VARLIST]";
        const size_t e = text.find(tagError);
        if (e != std::string::npos) {
            const size_t l = text.find(tagList, e + tagError.size());
            if (l != std::string::npos)
                text.erase(e + tagError.size(), l + tagList.size() - (e + tagError.size()));
        }
        text = StringReplaceAll(text, "[ERROR]", error->Message);
        text = StringReplaceAll(text, "[TIME]", FormatDateTime("hh:nn:ss ampm", Now()));
        MainStatusBar->SetSimpleText(text);
        LastStatusText = MainStatusBar->SimpleText();
        LastStatusCode = 0;
        LedBlinkTimer(nullptr);
    }
    if (LedStatus) LedStatus->SetEnabled(true);
}

void TMainForm::LedBlinkTimer(TObject*) {
    if (!LedBlink->Enabled()) {
        LedBlink->SetTag(0);
        LedBlink->SetEnabled(true);
    }
    SetLed(LED_Power, clLime);
    ToggleLed(LED_Lan);
    if (LedBlink->Tag() % 4 == 0) ToggleLed(LED_WLan);
    LedBlink->SetTag(LedBlink->Tag() + 1);
    if (LedBlink->Tag() >= 24) {
        LedBlink->SetEnabled(false);
        // Resting lime says the device answered the last poll.
        if (lastPollOk_) {
            SetLed(LED_Lan, clLime);
            SetLed(LED_WLan, clLime);
        }
    }
}

// --- menus ------------------------------------------------------------------------

void TMainForm::RegisterFormOpener(const std::string& className, FormOpener opener) {
    Openers()[className] = std::move(opener);
}

bool TMainForm::HasFormOpener(const std::string& className) {
    auto it = Openers().find(className);
    return it != Openers().end() && it->second;
}

void TMainForm::OpenFeatureForm(const std::string& className) {
    lastRequestedForm_ = className;
    auto it = Openers().find(className);
    if (it == Openers().end() || !it->second) return;
    FormOpener opener = it->second;
    opener();
}

void TMainForm::advanced2Click(TObject*) {
    const std::string fw = Ed_FwVer->Text();
    const std::string version = fw.size() > 1 ? fw.substr(1, 4) : std::string();
    const bool newer =
        version == "2.10" || version >= "2.11" || ifMultiSSID_Edit->Text() == "1";
    if (newer) {
        adMode1->SetVisible(false);
        adEncryption2->SetVisible(false);
        Ad_MultiSSID->SetVisible(FieldAsInt(Ed_DelFunction) != 1);
    } else {
        adMode1->SetVisible(true);
        adEncryption2->SetVisible(true);
        Ad_MultiSSID->SetVisible(false);
    }
    adGrouping2->SetVisible(FieldAsInt(NewMultiSupport) != 0);
    RogueAP1->SetVisible(FieldAsInt(Edt_Rougeapsupport) != 0);
}

void TMainForm::tools2Click(TObject*) {
    if (FieldAsInt(Ed_Green) == 0)
        tMisc1->SetVisible(FieldAsInt(Ed_ipRangeSupported) != 1);
    else
        tMisc1->SetVisible(false);
}

void TMainForm::tAdmin1Click(TObject*) {
    if (!ManagerIpProbeOk && !IpRangeProbeOk) {
        tMisc1->SetVisible(true);
        OpenFeatureForm("TFM_Admin");
    } else {
        tMisc1->SetVisible(false);
        OpenFeatureForm("TFM_AdminNew");
    }
}

void TMainForm::Ad_MultiSSIDClick(TObject*) {
    const int kind = FieldAsInt(NewMultiSupport);
    if (kind == 0)
        OpenFeatureForm("TFM_MultiSSIDForm");
    else if (kind == 1)
        OpenFeatureForm("TFM_MultiSSIDNewForm");
    else
        lastRequestedForm_.clear();
}

void TMainForm::status2Click(TObject*) {
    // The last poll timed out: asking again now would only block the menu.
    if (LastStatusCode == kTimedOutCode) {
        Client1->SetVisible(false);
        return;
    }
    delete ClientInfoRequest;
    ClientInfoRequest = new QvSNMPRequest2Edits(this);
    ClientInfoRequest->mode = 0;
    ClientInfoRequest->request.vars = QvSNMPVarList(kClientInfo, SVT_SV, 0);
    ClientInfoRequest->AssociateEdits(0, "%u", Ifclientinfosupported);
    bool ok = false;
    try {
        ok = ClientInfoRequest->Read();
    } catch (const std::exception&) {
        ok = false;
    }
    if (ok) {
        Client1->SetVisible(Ifclientinfosupported->Text() == "1");
    } else {
        if (LastStatusCode == kTimedOutCode) {
            Client1->SetVisible(false);
            return;
        }
        const int d = ModelSeriesDigit();
        const std::string fw = Ed_FwVer->Text();
        const int f = fw.size() > 1 && std::isdigit(static_cast<unsigned char>(fw[1]))
                          ? fw[1] - '0'
                          : 0;
        Client1->SetVisible((d == 3 && f == 2) || (d == 4 && f == 1));
    }
    const int syslog = FieldAsInt(SyslogSupport);
    if (syslog == 0)
        SystemLog->SetVisible(false);
    else if (syslog == 1)
        SystemLog->SetVisible(true);
}

void TMainForm::Information1Click(TObject*) {
    lastRequestedForm_ = "TConfigForm";
    std::unique_ptr<TConfigForm> form(new TConfigForm(Application));
    form->SetCaption("Home \\ Information");
    auto* group = new QvSNMPRequest2Edits(form.get());
    group->request.vars = QvSNMPVarList(kSystemGroup, SVT_SV, 0);
    group->request.Timeout = 3000;
    TSNMPEditorPanel* panel = form->AddEditorPanel(group);
    panel->SetLabelWidth(180);
    // The host form reads its group once it is on screen; a read started
    // here as well would only ask the device twice.
    form->ShowModal();
}

void TMainForm::About1Click(TObject*) {
    lastRequestedForm_ = "TAboutForm";
    std::unique_ptr<TAboutForm> about(new TAboutForm(Application));
    about->ShowModal();
}

// --- address checks ------------------------------------------------------------------

bool TMainForm::IsValidIP(const std::string& text) {
    return AddressChecks::IsValidIP(text);
}

bool TMainForm::IsValidMask(const std::string& text) {
    return AddressChecks::IsValidMask(text);
}

std::string TMainForm::NetworkAddressOf(const std::string& address, const std::string& mask) {
    return AddressChecks::NetworkAddressOf(address, mask);
}

bool TMainForm::ContainsAddress(const TStrings& list, const std::string& text) {
    return AddressChecks::ContainsAddress(list, text);
}

void TMainForm::ParseIpconfigFile(const TStrings& lines, TStrings& addresses, TStrings& gateways) {
    AddressChecks::ParseIpconfigFile(lines, addresses, gateways);
}

void TMainForm::GetLocalGateways(TStrings& output) {
    AddressChecks::GetLocalGateways(IpConfigList, LocalAddressList, IpconfigGatewayList, output);
}
