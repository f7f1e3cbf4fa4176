#pragma once
// The main window: start-up from the command line, the configuration file
// and the registry; the device picture with its three indicators; the status
// poll; the capability fields the menus and the feature forms read; the menus.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "os/SingleInstance.h"
#include "snmp/QvErrors.h"
#include "ui/Application.h"
#include "ui/Form.h"
#include "ui/Strings.h"

class TEdit;
class TImage;
class TMainMenu;
class TMenuItem;
class TShape;
class TStatusBar;
class TTimer;
class QvSNMPRequest;
class QvSNMPRequest2Controls;
class QvSNMPRequest2Edits;

class TMainForm : public TForm {
public:
    explicit TMainForm(TComponent* owner);
    ~TMainForm() override;

    // Picture, indicators and status bar.
    TImage* Image1 = nullptr;
    TShape* LED_Power = nullptr;
    TShape* LED_Lan = nullptr;
    TShape* LED_WLan = nullptr;
    TStatusBar* MainStatusBar = nullptr;

    // Timers: status poll, blink, capability re-read.
    TTimer* LedStatus = nullptr;
    TTimer* LedBlink = nullptr;
    TTimer* Timer1 = nullptr;

    // Menus.
    TMainMenu* MainMenu1 = nullptr;
    TMenuItem* Home1 = nullptr;
    TMenuItem* Information1 = nullptr;
    TMenuItem* hWirelessBand1 = nullptr;
    TMenuItem* hLan1 = nullptr;
    TMenuItem* advanced2 = nullptr;
    TMenuItem* adMode1 = nullptr;
    TMenuItem* adPerformance1 = nullptr;
    TMenuItem* adFilters2 = nullptr;
    TMenuItem* adEncryption2 = nullptr;
    TMenuItem* adGrouping2 = nullptr;
    TMenuItem* adDHCPServer2 = nullptr;
    TMenuItem* Ad_MultiSSID = nullptr;
    TMenuItem* RogueAP1 = nullptr;
    TMenuItem* tools2 = nullptr;
    TMenuItem* tAdmin2 = nullptr;
    TMenuItem* tSystem2 = nullptr;
    TMenuItem* Firmware1 = nullptr;
    TMenuItem* tUpdate2 = nullptr;
    TMenuItem* tMisc1 = nullptr;
    TMenuItem* status2 = nullptr;
    TMenuItem* stDeviceInfo2 = nullptr;
    TMenuItem* stStats1 = nullptr;
    TMenuItem* Client1 = nullptr;
    TMenuItem* SystemLog = nullptr;
    TMenuItem* Help1 = nullptr;
    TMenuItem* About1 = nullptr;

    // Capability fields: hidden edits, read by name from other forms. Before
    // the first answer each holds its own name (Ed_FwVer starts empty).
    TEdit* Ed_FwVer = nullptr;
    TEdit* Ed_Countrycode = nullptr;
    TEdit* ED_Turbomode = nullptr;
    TEdit* APModeSupport = nullptr;
    TEdit* ifMultiSSID_Edit = nullptr;
    TEdit* IPAddressEdit = nullptr;
    TEdit* SubMaskEdit = nullptr;
    TEdit* NewMultiSupport = nullptr;
    TEdit* SyslogSupport = nullptr;
    TEdit* Ed_ClientAddSSID = nullptr;
    TEdit* Ed_KeyTypeSup = nullptr;
    TEdit* Ed_IfCluster = nullptr;
    TEdit* Ed_Green = nullptr;
    TEdit* Ed_DelFunction = nullptr;
    TEdit* Ed_SSIDBroadDisable = nullptr;
    TEdit* Ed_RptModeToSuper = nullptr;
    TEdit* ApmodeStringChangeSupport = nullptr;
    TEdit* repeaterWpasupport = nullptr;
    TEdit* Edt_Rougeapsupport = nullptr;
    TEdit* mssidAndWdssupport = nullptr;
    TEdit* Ed_prioritybySSIDSupported = nullptr;
    TEdit* Ed_DyvlanSupport = nullptr;
    TEdit* Ed_IP1 = nullptr;
    TEdit* Ed_IP2 = nullptr;
    TEdit* Ed_ipRangeSupported = nullptr;
    TEdit* Ifclientinfosupported = nullptr;

    // The device address from "/I".
    std::string TargetIP;
    // Version and protocol values as last stored by the start-up.
    std::string VersionText;
    std::string AuthProtocolText;
    std::string PrivProtocolText;
    // The status bar's text after the last poll, and that poll's error code.
    std::string LastStatusText;
    int LastStatusCode = 0;
    int ProbeCounter = 0;
    bool ManagerIpProbeOk = false;
    bool IpRangeProbeOk = false;

    std::unique_ptr<QvSNMPRequest> StatusRequest;
    // The capability probes, in start-up order (null until created).
    static constexpr int ProbeCount = 23;
    QvSNMPRequest2Edits* Probes[ProbeCount] = {};
    QvSNMPRequest2Edits* MssidWdsRequest = nullptr; // probe 19
    QvSNMPRequest2Edits* ClientInfoRequest = nullptr;

    TStringList GatewayList;
    TStringList LocalAddressList;
    TStringList IpconfigGatewayList;
    TStringList IpConfigList; // the listing the gateways were parsed from

    // Address checks the forms call before they write an address or a mask.
    static bool IsValidIP(const std::string& text);
    static bool IsValidMask(const std::string& text);
    static std::string NetworkAddressOf(const std::string& address, const std::string& mask);
    static bool ContainsAddress(const TStrings& list, const std::string& text);
    void ParseIpconfigFile(const TStrings& lines, TStrings& addresses, TStrings& gateways);
    // Appends each default gateway on a /24 network of a local address, once.
    void GetLocalGateways(TStrings& output);

    // Handlers.
    void FormCreate(TObject* sender);
    void LedStatusTimer(TObject* sender);
    void StatusPollDone(QvSNMPError* error);
    void LedBlinkTimer(TObject* sender);
    void Timer1Timer(TObject* sender);
    void FirmwareVersionRead(QvSNMPRequest2Controls* sender, QvSNMPError* error);
    void advanced2Click(TObject* sender);
    void tools2Click(TObject* sender);
    void status2Click(TObject* sender);
    void tAdmin1Click(TObject* sender);
    void Ad_MultiSSIDClick(TObject* sender);
    void Information1Click(TObject* sender);
    void About1Click(TObject* sender);

    // Feature forms are opened by class name through openers that their own
    // units register; a name without an opener opens nothing.
    using FormOpener = std::function<void()>;
    static void RegisterFormOpener(const std::string& className, FormOpener opener);
    // The usual opener: the form is made, shown modally and deleted.
    template <class F> static void RegisterModalForm(const std::string& className) {
        RegisterFormOpener(className, [] {
            std::unique_ptr<F> form(NewForm<F>(Application));
            form->ShowModal();
        });
    }
    static bool HasFormOpener(const std::string& className);
    // Opens the named form modally (when it has an opener); remembers the name.
    void OpenFeatureForm(const std::string& className);
    // The class name the last command asked for ("" before any).
    const std::string& LastRequestedForm() const { return lastRequestedForm_; }

    // Start-up steps, in their order inside FormCreate: the message files
    // and the configuration folder named by the platform's registry, then
    // the command line with the per-device configuration file.
    void ReadPlatformSettings();
    void ParseCommandLine();
    const std::string& ConfigFolder() const { return configFolder_; }

    // The capability field's text as an integer, 0 when it is no number.
    static int FieldAsInt(const TEdit* field);

private:
    void BuildControls();
    void BuildMenus();
    void LoadPicture();
    void StopTimers();
    void ReadConfigFile(const std::string& folder);
    void CreateProbes();
    QvSNMPRequest2Edits* NewProbe(int index);
    void PollFailed(const std::string& text, int code);

    std::shared_ptr<bool> alive_; // cleared first in the destructor
    os::InstanceLock instanceLock_;
    std::string configFolder_;
    bool pollOutstanding_ = false;
    bool lastPollOk_ = false;
    std::string lastRequestedForm_;
    bool configErrorShown_ = false;
};

extern TMainForm* MainForm;
