#include "forms/admin/TFM_AdminNew.h"

#include "app/TFM_Waiting.h"
#include "app/TMainForm.h"
#include "base/DottedAddress.h"
#include "base/SysUtils.h"
#include "binding/New_req2Edit.h"
#include "binding/QvSNMPRequest2Edits.h"
#include "binding/QvWaitIdle.h"
#include "forms/admin/LoginChecks.h"
#include "mib/AdminNewVars.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"
#include "ui/ListView.h"
#include "ui/StatusBar.h"
#include "ui/Widgets.h"

#include <cctype>
#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <vector>

namespace {

constexpr int kMaxRanges = 4;
constexpr size_t kUserNameLimit = 64;
constexpr size_t kPasswordLimit = 12;
const LoginRules kLoginRules{kUserNameLimit, "Please limit user name to 64 characters!", true};
// The longest an Apply waits for reads still on their way.
constexpr std::uint32_t kSettleMs = 1000;
constexpr const char* kNoAddress = "0.0.0.0";

// Item indices of the Disable/Enable lists.
constexpr int kDisable = 0;
constexpr int kEnable = 1;

// A dotted address as a number, first octet most significant; a text that
// is none counts 0 (typed ranges are checked before they are compared).
std::uint32_t AddressNumber(const std::string& text) {
    const std::optional<DottedAddress> a = DottedAddress::Parse(text);
    return a ? a->Number() : 0;
}

TEdit* NewEdit(TForm* form, TWinControl* parent, const char* name) {
    auto* e = new TEdit(form);
    e->SetName(name);
    e->SetParent(parent);
    return e;
}

TComboBox* NewCombo(TForm* form, TWinControl* parent, const char* name) {
    auto* c = new TComboBox(form);
    c->SetName(name);
    c->SetParent(parent);
    return c;
}

TEdit* HiddenEdit(TForm* form, const char* name) {
    TEdit* e = NewEdit(form, form, name);
    e->SetVisible(false);
    return e;
}

TComboBox* HiddenCombo(TForm* form, const char* name) {
    TComboBox* c = NewCombo(form, form, name);
    c->SetVisible(false);
    return c;
}

TGroupBox* NewBox(TForm* form, const char* name, const char* caption) {
    auto* g = new TGroupBox(form);
    g->SetName(name);
    g->SetCaption(caption);
    return g;
}

TButton* NewButton(TForm* form, TWinControl* parent, const char* name, const char* caption) {
    auto* b = new TButton(form);
    b->SetName(name);
    b->SetParent(parent);
    b->SetCaption(caption);
    return b;
}

} // namespace

void TFM_AdminNew::RegisterOpener() {
    TMainForm::RegisterModalForm<TFM_AdminNew>("TFM_AdminNew");
}

TFM_AdminNew::TFM_AdminNew(TComponent* owner) : TForm(owner) {
    SetFrame({.name = "FM_AdminNew", .caption = "Tools \\ Admin"});
    BuildControls();
    OnCreate = [this](TObject* s) { FormCreate(s); };
}

TFM_AdminNew::~TFM_AdminNew() {
    // Every group waits out its replies before the controls it fills go;
    // none of their completions reaches the form after this.
    PingControl.reset();
    PingSupport.reset();
    TrapServer.reset();
    TrapSupport.reset();
    Login.reset();
    ManagerIp.reset();
    LimitState.reset();
    Ssh.reset();
    Telnet.reset();
    UserList.reset();
    IpRange.reset();
    ManagerVlan.reset();
    Wlan.reset();
    DeviceInfo.reset();
    VlanState.reset();
    MssidState.reset();
}

void TFM_AdminNew::BuildControls() {
    LA_Header = NewLabel(this, this, "Administrator Settings", 0, 0, "LA_Header");
    LA_Header->SetBounds(12, 8, 445, 18);

    GB_Login = NewBox(this, "GB_Login", "Login");
    const char* loginCaptions[] = {"User Name", "Old Password", "New Password",
                                   "Confirm New Password"};
    const char* loginNames[] = {"Ed_Usr", "Ed_OPwd", "Ed_NPwd", "Ed_CNP"};
    TEdit** loginEdits[] = {&Ed_Usr, &Ed_OPwd, &Ed_NPwd, &Ed_CNP};
    for (int k = 0; k < 4; ++k) {
        TLabel* l =
            NewLabel(this, GB_Login, loginCaptions[k], 0, 0, "Label_Login" + IntToStr(k));
        l->SetBounds(16, 24 + 28 * k, 150, 16);
        *loginEdits[k] = NewEdit(this, GB_Login, loginNames[k]);
        (*loginEdits[k])->SetBounds(180, 20 + 28 * k, 170, 21);
        if (k > 0) (*loginEdits[k])->SetPasswordChar('*');
    }
    Ed_Pwd = HiddenEdit(this, "Ed_Pwd");

    GB_Limit = NewBox(this, "GB_Limit", "Limit Administrator IP");
    CkBx_ManagerState = new TCheckBox(this);
    CkBx_ManagerState->SetName("CkBx_ManagerState");
    CkBx_ManagerState->SetParent(GB_Limit);
    CkBx_ManagerState->SetCaption("Limit Administrator IP");
    Label_IP1 = NewLabel(this, GB_Limit, "Limit Administrator IP 1", 0, 0, "Label_IP1");
    Ed_IP1 = NewEdit(this, GB_Limit, "Ed_IP1");
    Label_IP2 = NewLabel(this, GB_Limit, "Limit Administrator IP 2", 0, 0, "Label_IP2");
    Ed_IP2 = NewEdit(this, GB_Limit, "Ed_IP2");
    Label_iprange = NewLabel(this, GB_Limit, "IP Range", 0, 0, "Label_iprange");
    Label_From = NewLabel(this, GB_Limit, "From :", 0, 0, "Label_From");
    Ed_FromIP = NewEdit(this, GB_Limit, "Ed_FromIP");
    Label_To = NewLabel(this, GB_Limit, "To :", 0, 0, "Label_To");
    Ed_ToIP = NewEdit(this, GB_Limit, "Ed_ToIP");
    Btn_Add = NewButton(this, GB_Limit, "Btn_Add", "Add");
    Btn_Del = NewButton(this, GB_Limit, "Btn_Del", "Delete");
    ListView_User = new TListView(this);
    ListView_User->SetName("ListView_User");
    ListView_User->SetParent(GB_Limit);
    ListView_IpRange = new TListView(this);
    ListView_IpRange->SetName("ListView_IpRange");
    ListView_IpRange->SetVisible(false);
    Ed_From = HiddenEdit(this, "Ed_From");
    Ed_To = HiddenEdit(this, "Ed_To");
    LA_Index = NewLabel(this, this, "", 0, 0, "LA_Index");
    LA_Index->SetVisible(false);
    Cb_Mussid = HiddenCombo(this, "Cb_Mussid");
    Cb_VLAN = HiddenCombo(this, "Cb_VLAN");
    Label_Wlan = NewLabel(this, GB_Limit, "Administrate AP with WLAN", 0, 0, "Label_Wlan");
    Cb_WLAN = NewCombo(this, GB_Limit, "Cb_WLAN");
    CheckBox_VID = new TCheckBox(this);
    CheckBox_VID->SetName("CheckBox_VID");
    CheckBox_VID->SetParent(GB_Limit);
    CheckBox_VID->SetCaption("Limit Administrator VID :");
    Ed_VID = NewEdit(this, GB_Limit, "Ed_VID");

    GB_Console = NewBox(this, "GB_Console", "Console");
    RB_None = new TRadioButton(this);
    RB_None->SetName("RB_None");
    RB_None->SetParent(GB_Console);
    RB_None->SetCaption("None ");
    RB_None->SetBounds(16, 22, 80, 18);
    RB_Telnet = new TRadioButton(this);
    RB_Telnet->SetName("RB_Telnet");
    RB_Telnet->SetParent(GB_Console);
    RB_Telnet->SetCaption("Telnet");
    RB_Telnet->SetBounds(110, 22, 80, 18);
    RB_SHH = new TRadioButton(this);
    RB_SHH->SetName("RB_SHH");
    RB_SHH->SetParent(GB_Console);
    RB_SHH->SetCaption("SSH");
    RB_SHH->SetBounds(204, 22, 80, 18);
    Label_Timeout = NewLabel(this, GB_Console, "Timeout", 0, 0, "Label_Timeout");
    Label_Timeout->SetBounds(16, 52, 80, 16);
    CB_Timeout = NewCombo(this, GB_Console, "CB_Timeout");
    CB_Timeout->SetBounds(110, 48, 120, 22);
    CB_Telnet = HiddenCombo(this, "CB_Telnet");
    CB_SHH = HiddenCombo(this, "CB_SHH");

    Grp_Snmp = NewBox(this, "Grp_Snmp", "SNMP");
    Label_Trap = NewLabel(this, Grp_Snmp, "Trap Server IP", 0, 0, "Label_Trap");
    Label_Trap->SetBounds(16, 52, 150, 16);
    Ed_TrapServIP = NewEdit(this, Grp_Snmp, "Ed_TrapServIP");
    Ed_TrapServIP->SetBounds(180, 48, 170, 21);
    CkBx_LBS = new TCheckBox(this);
    CkBx_LBS->SetName("CkBx_LBS");
    CkBx_LBS->SetParent(Grp_Snmp);
    CkBx_LBS->SetCaption("User status notification ( for LBS)");
    CkBx_LBS->SetBounds(16, 22, 300, 18);
    Ed_TrapSupport = HiddenEdit(this, "Ed_TrapSupport");

    GB_Ping = NewBox(this, "GB_Ping", "Ping Control Setting");
    Label_Ping = NewLabel(this, GB_Ping, "Ping Control", 0, 0, "Label_Ping");
    Label_Ping->SetBounds(16, 26, 150, 16);
    CB_Ping = NewCombo(this, GB_Ping, "CB_Ping");
    CB_Ping->SetBounds(180, 22, 120, 22);
    Ed_PingSupport = HiddenEdit(this, "Ed_PingSupport");
    Ed_Firmware = HiddenEdit(this, "Ed_Firmware");

    OK = NewButton(this, this, "OK", "Apply");
    Cancel = NewButton(this, this, "Cancel", "Cancel");
    StatusBar = new TStatusBar(this);
    StatusBar->SetName("StatusBar");
    StatusBar->SetSimplePanel(true);
    StatusBar->SetAlign(alBottom);

    // Handlers go in before the bindings take the controls over: they chain
    // behind the binding's own.
    OK->OnClick = [this](TObject* s) { OKClick(s); };
    Cancel->OnClick = [this](TObject* s) { CancelClick(s); };
    Btn_Add->OnClick = [this](TObject* s) { Btn_AddClick(s); };
    Btn_Del->OnClick = [this](TObject* s) { Btn_DelClick(s); };
    CkBx_ManagerState->OnClick = [this](TObject* s) { CkBx_ManagerStateClick(s); };
    CheckBox_VID->OnClick = [this](TObject* s) { CheckBox_VIDClick(s); };
    CkBx_LBS->OnClick = [this](TObject* s) { CkBx_LBSClick(s); };
    for (TRadioButton* rb : {RB_None, RB_Telnet, RB_SHH})
        rb->OnClick = [this](TObject* s) { RB_NoneClick(s); };
    ListView_User->OnClick = [this](TObject* s) { ListView_UserClick(s); };

    // The SSH radio shows once the main window offers SSH, the SNMP group
    // once the device supports traps.
    RB_SHH->SetVisible(false);
    Grp_Snmp->SetVisible(false);
}

std::unique_ptr<QvSNMPRequest2Edits> TFM_AdminNew::NewGroup(const QvSNMPVar* table, uint8_t kind,
                                                            bool sync) {
    auto g = std::make_unique<QvSNMPRequest2Edits>(this);
    g->request.vars = QvSNMPVarList(table, kind, 0);
    g->mode = sync ? 0 : 1;
    return g;
}

bool TFM_AdminNew::ReadNow(QvSNMPRequest2Edits& group) {
    try {
        return group.Read();
    } catch (const std::exception& e) {
        StatusBar->SetSimpleText(e.what());
        return false;
    }
}

void TFM_AdminNew::StartRead(QvSNMPRequest2Edits& group) {
    try {
        group.Read();
    } catch (const std::exception& e) {
        StatusBar->SetSimpleText(e.what());
    }
}

void TFM_AdminNew::FormCreate(TObject*) {
    RangeMode = TMainForm::FieldAsInt(MainForm ? MainForm->Ed_ipRangeSupported : nullptr) == 1;
    const bool sshOffered =
        TMainForm::FieldAsInt(MainForm ? MainForm->Ed_DelFunction : nullptr) != 1;

    MssidState = NewGroup(mib::adminMssidStateTable, SVT_SV, true);
    MssidState->AssociateComboBox(0, Cb_Mussid);
    ReadNow(*MssidState);

    VlanState = NewGroup(mib::adminVlanStateTable, SVT_SV, true);
    VlanState->AssociateComboBox(0, Cb_VLAN);
    ReadNow(*VlanState);

    DeviceInfo = NewGroup(mib::adminDeviceInfoTable, SVT_SV, true);
    DeviceInfo->AssociateEdits(0, "%s", Ed_Firmware);
    ReadNow(*DeviceInfo);

    Wlan = NewGroup(mib::adminWlanTable, SVT_SV, true);
    Wlan->AssociateComboBox(0, Cb_WLAN);
    WlanFlag = ReadNow(*Wlan);

    ManagerVlan = NewGroup(mib::adminManagerVlanTable, SVT_SV, true);
    ManagerVlan->AssociateControl(0, CheckBox_VID);
    ManagerVlan->AssociateEdits(1, "%s", Ed_VID);
    VidFlag = ReadNow(*ManagerVlan);

    IpRange = std::make_unique<QvSNMPRequest2Edits>(this);
    IpRange->request.vars = QvSNMPVarList(mib::adminIpRangeTable, MVT_UMV, 1);
    IpRange->request.Timeout = 1000;
    IpRange->BindListView(ListView_IpRange, true);
    IpRange->AssociateControl(0, LA_Index);
    IpRange->AssociateEdits(mib::adminRangeFromVar, "%s", Ed_From);
    IpRange->AssociateEdits(mib::adminRangeToVar, "%s", Ed_To);
    IpRange->SetStatusBar(StatusBar);
    // Add writes into the table: only once it has been read.
    IpRange->OnReadDone = [this](QvSNMPRequest2Controls*, QvSNMPError*) {
        CkBx_ManagerStateClick(CkBx_ManagerState);
    };

    UserList = std::make_unique<New_req2Edit>(this);
    UserList->request.vars = QvSNMPVarList(mib::adminIpRangeTable, MVT_UMV, 1);
    UserList->request.Timeout = 10000;
    UserList->rowNumber = 1;
    UserList->watchedIndex = 1;
    UserList->stopValue = kNoAddress;
    UserList->BindListView(ListView_User, false);
    if (ListView_User->Columns().Count() > 1) ListView_User->Columns()[1]->SetWidth(80);
    if (RangeMode) {
        StartRead(*IpRange);
        StartRead(*UserList);
    }

    Telnet = NewGroup(mib::adminTelnetTable, SVT_SV, true);
    Telnet->AssociateComboBox(mib::adminTelnetVar, CB_Telnet);
    Telnet->AssociateComboBox(mib::adminTimeoutVar, CB_Timeout);
    ReadNow(*Telnet);
    Telnet->OnBeforeWrite = [this] { ConsoleBeforeWrite(); };

    if (sshOffered) {
        RB_SHH->SetVisible(true);
        Ssh = NewGroup(mib::adminSshTable, SVT_SV, true);
        Ssh->AssociateComboBox(0, CB_SHH);
        Ssh->OnBeforeWrite = [this] { ConsoleBeforeWrite(); };
        SshFlag = ReadNow(*Ssh);
    }

    LimitState = NewGroup(RangeMode ? mib::adminLimitRangeTable : mib::adminLimitManagerTable,
                          SVT_SV, false);
    LimitState->AssociateControl(0, CkBx_ManagerState);
    // The enabling rules follow what the device holds once it has answered.
    LimitState->OnReadDone = [this](QvSNMPRequest2Controls*, QvSNMPError* e) {
        LimitFlag = !e || e->Code == 0;
        CkBx_ManagerStateClick(CkBx_ManagerState);
    };
    StartRead(*LimitState);

    ManagerIp = NewGroup(mib::adminManagerIpTable, MVT_SV, true);
    ManagerIp->AssociateEdits(0, "%s", Ed_IP1);
    ManagerIp->AssociateEdits(1, "%s", Ed_IP2);
    ManagerIpFlag = !RangeMode && ReadNow(*ManagerIp);
    // Unused and unanswered addresses both show as empty boxes.
    for (TEdit* e : {Ed_IP1, Ed_IP2})
        if (e->Text() == kNoAddress || !ManagerIpFlag) e->SetText("");

    Login = NewGroup(mib::adminNewLoginTable, SVT_SV, true);
    Login->AssociateEdits(0, "%s", Ed_Usr);
    Login->AssociateEdits(1, "%s", Ed_Pwd);
    Login->SetStatusBar(StatusBar);
    const bool loginRead = ReadNow(*Login) && Login->ReadSucceeded();
    for (TEdit* e : {Ed_OPwd, Ed_CNP, Ed_NPwd}) {
        if (loginRead)
            e->SetText(Ed_Pwd->Text());
        else
            e->SetEnabled(false); // an unread login is never written
    }

    TrapSupport = NewGroup(mib::adminTrapSupportTable, SVT_SV, true);
    TrapSupport->AssociateEdits(0, "%s", Ed_TrapSupport);
    if (ReadNow(*TrapSupport) && Ed_TrapSupport->Text() == "1") {
        TrapFlag = true;
        TrapServer = NewGroup(mib::adminTrapServerTable, SVT_SV, false);
        TrapServer->AssociateEdits(mib::adminTrapServerIpVar, "%s", Ed_TrapServIP);
        TrapServer->AssociateControl(mib::adminUserStaNotifyVar, CkBx_LBS);
        TrapServer->OnReadDone = [this](QvSNMPRequest2Controls*, QvSNMPError*) {
            CkBx_LBSClick(CkBx_LBS);
        };
        StartRead(*TrapServer);
    }

    PingSupport = NewGroup(mib::adminPingSupportTable, SVT_SV, true);
    PingSupport->AssociateEdits(0, "%s", Ed_PingSupport);
    PingSupportFlag = ReadNow(*PingSupport) && Ed_PingSupport->Text() == "1";
    if (PingSupportFlag) {
        PingControl = NewGroup(mib::adminPingControlTable, SVT_SV, true);
        PingControl->AssociateComboBox(0, CB_Ping);
        PingControlFlag = ReadNow(*PingControl);
    }

    // Field limits and the console choice, whatever the reads gave.
    Ed_Usr->SetMaxLength(static_cast<int>(kUserNameLimit));
    for (TEdit* e : {Ed_OPwd, Ed_NPwd, Ed_CNP})
        e->SetMaxLength(static_cast<int>(kPasswordLimit));
    for (TEdit* e : {Ed_IP1, Ed_IP2, Ed_TrapServIP})
        e->SetMaxLength(15);
    if (CB_Telnet->Text() == "Enable")
        RB_Telnet->SetChecked(true);
    else if (CB_SHH->Text() == "Enable" && RB_SHH->Visible())
        RB_SHH->SetChecked(true);
    else
        RB_None->SetChecked(true);
    ApplyConsoleRule();
    KeepDeviceConsole(true);
    CheckBox_VIDClick(CheckBox_VID);
    CkBx_LBSClick(CkBx_LBS);
    CkBx_ManagerStateClick(CkBx_ManagerState);
    Btn_Del->SetEnabled(false);
    ArrangeLayout();
}

void TFM_AdminNew::ArrangeLayout() {
    constexpr int kLeft = 12;
    constexpr int kWidth = 445;
    constexpr int kGap = 8;
    int top = 32;
    GB_Login->SetBounds(kLeft, top, kWidth, 136);
    top += 136 + kGap;

    // The limit box: single addresses or ranges, then WLAN and VID rows.
    int y = 22;
    CkBx_ManagerState->SetBounds(16, y, 250, 18);
    y += 26;
    for (TControl* c : {static_cast<TControl*>(Label_IP1), static_cast<TControl*>(Ed_IP1),
                        static_cast<TControl*>(Label_IP2), static_cast<TControl*>(Ed_IP2)})
        c->SetVisible(!RangeMode);
    for (TControl* c : {static_cast<TControl*>(Label_iprange), static_cast<TControl*>(Label_From),
                        static_cast<TControl*>(Ed_FromIP), static_cast<TControl*>(Label_To),
                        static_cast<TControl*>(Ed_ToIP), static_cast<TControl*>(Btn_Add),
                        static_cast<TControl*>(ListView_User), static_cast<TControl*>(Btn_Del)})
        c->SetVisible(RangeMode);
    if (RangeMode) {
        Label_iprange->SetBounds(16, y + 4, 60, 16);
        Label_From->SetBounds(80, y + 4, 40, 16);
        Ed_FromIP->SetBounds(122, y, 110, 21);
        Label_To->SetBounds(242, y + 4, 24, 16);
        Ed_ToIP->SetBounds(268, y, 110, 21);
        Btn_Add->SetBounds(386, y - 2, 50, 25);
        y += 30;
        ListView_User->SetBounds(16, y, 362, 92);
        Btn_Del->SetBounds(386, y, 50, 25);
        y += 100;
    } else {
        Label_IP1->SetBounds(16, y + 4, 160, 16);
        Ed_IP1->SetBounds(180, y, 170, 21);
        y += 28;
        Label_IP2->SetBounds(16, y + 4, 160, 16);
        Ed_IP2->SetBounds(180, y, 170, 21);
        y += 30;
    }
    Label_Wlan->SetVisible(WlanFlag);
    Cb_WLAN->SetVisible(WlanFlag);
    if (WlanFlag) {
        Label_Wlan->SetBounds(16, y + 4, 176, 16);
        Cb_WLAN->SetBounds(200, y, 120, 22);
        y += 28;
    }
    CheckBox_VID->SetVisible(VidFlag);
    Ed_VID->SetVisible(VidFlag);
    if (VidFlag) {
        CheckBox_VID->SetBounds(16, y + 2, 176, 18);
        Ed_VID->SetBounds(200, y, 70, 21);
        y += 28;
    }
    GB_Limit->SetBounds(kLeft, top, kWidth, y + 6);
    top += y + 6 + kGap;

    GB_Console->SetBounds(kLeft, top, kWidth, 80);
    top += 80 + kGap;

    Grp_Snmp->SetVisible(TrapFlag);
    if (TrapFlag) {
        Grp_Snmp->SetBounds(kLeft, top, kWidth, 80);
        top += 80 + kGap;
    }
    GB_Ping->SetVisible(PingSupportFlag);
    if (PingSupportFlag) {
        GB_Ping->SetBounds(kLeft, top, kWidth, 56);
        top += 56 + kGap;
    }
    OK->SetBounds(kLeft + kWidth - 172, top, 80, 25);
    Cancel->SetBounds(kLeft + kWidth - 86, top, 80, 25);
    top += 25 + kGap;
    SetClientWidth(kLeft * 2 + kWidth);
    SetClientHeight(top + StatusBar->Height());
}

// --- enabling rules --------------------------------------------------------------

void TFM_AdminNew::RB_NoneClick(TObject*) {
    const bool read = Telnet && Telnet->ReadSucceeded();
    if (RB_None->Checked()) {
        CB_Telnet->SetItemIndex(kDisable);
        CB_SHH->SetItemIndex(kDisable);
        CB_Timeout->SetEnabled(false);
    } else if (RB_Telnet->Checked()) {
        CB_Telnet->SetItemIndex(kEnable);
        CB_SHH->SetItemIndex(kDisable);
        CB_Timeout->SetEnabled(read);
    } else if (RB_SHH->Checked()) {
        CB_Telnet->SetItemIndex(kDisable);
        CB_SHH->SetItemIndex(kEnable);
        CB_Timeout->SetEnabled(read);
    }
}

void TFM_AdminNew::ApplyConsoleRule() {
    // The console is one choice: without telnet's read none of it is
    // written, and SSH only with its own read.
    const bool read = Telnet && Telnet->ReadSucceeded();
    RB_None->SetEnabled(read);
    RB_Telnet->SetEnabled(read);
    RB_SHH->SetEnabled(read && SshFlag);
    CB_Timeout->SetEnabled(read && !RB_None->Checked());
}

void TFM_AdminNew::CheckBox_VIDClick(TObject*) {
    Ed_VID->SetEnabled(CheckBox_VID->Checked() && VidFlag);
}

void TFM_AdminNew::CkBx_LBSClick(TObject*) {
    Ed_TrapServIP->SetEnabled(CkBx_LBS->Checked() && TrapServer && TrapServer->ReadSucceeded());
}

void TFM_AdminNew::CkBx_ManagerStateClick(TObject*) {
    const bool on = CkBx_ManagerState->Checked() && LimitState && LimitState->ReadSucceeded();
    if (RangeMode) {
        Ed_FromIP->SetEnabled(on);
        Ed_ToIP->SetEnabled(on);
        Btn_Add->SetEnabled(on && IpRange && IpRange->ReadSucceeded());
    } else {
        Ed_IP1->SetEnabled(on && ManagerIpFlag);
        Ed_IP2->SetEnabled(on && ManagerIpFlag);
    }
    WriteManagerIP = on && !RangeMode && ManagerIpFlag;
}

void TFM_AdminNew::ListView_UserClick(TObject*) {
    if (ListView_User->Selected()) {
        Btn_Del->SetEnabled(true);
        CkBx_ManagerStateClick(CkBx_ManagerState);
    } else {
        Btn_Del->SetEnabled(false);
    }
}

void TFM_AdminNew::ResetAfterApply() {
    for (TEdit* e : {Ed_IP1, Ed_IP2})
        if (e->Text() == kNoAddress) e->SetText("");
    Ed_FromIP->SetText("");
    Ed_ToIP->SetText("");
    Btn_Del->SetEnabled(false);
}

void TFM_AdminNew::Warn(const std::string& text, const char* caption) {
    MessageBox(this, text, caption, MB_OK | MB_ICONWARNING);
}

void TFM_AdminNew::CancelClick(TObject*) { Close(); }

// --- Apply -------------------------------------------------------------------------

void TFM_AdminNew::OKClick(TObject*) {
    if (writes_.Running()) return;
    if (!ReadsSettled() || !CheckVid() || !RangeListAllowsLimit() || !CheckManagerAddresses() ||
        !CheckLoginInput() || !CheckTrapServer())
        return;
    StartApply();
}

bool TFM_AdminNew::ReadsSettled() {
    // Groups still on their way hold no value of the device yet: writing
    // them would send what the form showed before they answered.
    std::vector<QvSNMPRequest2Controls*> pending = {LimitState.get(), TrapServer.get()};
    if (RangeMode) pending.push_back(UserList.get());
    const auto busy = [&pending] {
        for (QvSNMPRequest2Controls* g : pending)
            if (g && g->busy) return true;
        return false;
    };
    if (QvWaitWhile(busy, kSettleMs)) return true;
    Warn("The settings are still being read from the device. Please try again.");
    return false;
}

bool TFM_AdminNew::CheckVid() {
    if (!VidFlag || !CheckBox_VID->Checked()) return true;
    if (Cb_Mussid->ItemIndex() <= 0 || Cb_VLAN->ItemIndex() <= 0) {
        Warn("Please enable Multi-SSID and VLAN first!");
        CheckBox_VID->SetChecked(false);
        return false;
    }
    const int vid = StrToIntDef(Ed_VID->Text(), 0);
    if (vid < 1 || vid > 4094) {
        Warn("Please input a number between 1 and 4094.!");
        Ed_VID->SetText("");
        Ed_VID->SetFocus();
        return false;
    }
    return true;
}

bool TFM_AdminNew::RangeListAllowsLimit() {
    if (!RangeMode || !LimitState->ReadSucceeded() || !CkBx_ManagerState->Checked()) return true;
    // "Empty" counts only from a walk that went through: a failed one shows
    // no rows on a device that may have ranges.
    if (!UserList->ReadSucceeded()) {
        Warn("The IP Range List could not be read.\nPlease try again.");
        ReadUserList();
        return false;
    }
    if (ListView_User->Items().Count() > 0) return true;
    // A limit without any range would lock every administrator out.
    Warn("The IP Range List is empty.\nThe Limit Administrator IP function will be "
         "disabled!!");
    CkBx_ManagerState->SetChecked(false);
    writes_.Add(LimitState.get());
    writes_.Start([this](bool ok, const QvSNMPError&) {
        StatusBar->SetSimpleText(ok ? "Set OK!" : "Setting Error!");
    });
    return false;
}

bool TFM_AdminNew::CheckManagerAddresses() {
    if (!WriteManagerIP || !CkBx_ManagerState->Checked()) return true;
    if (Ed_IP1->Text().empty() && Ed_IP2->Text().empty()) {
        Warn("You at least must input one IP address!");
        return false;
    }
    for (TEdit* e : {Ed_IP1, Ed_IP2}) {
        if (!e->Text().empty() && !TMainForm::IsValidIP(e->Text())) {
            Warn("Invalid IP address!");
            ResetAfterApply();
            e->SetFocus();
            return false;
        }
    }
    for (TEdit* e : {Ed_IP1, Ed_IP2})
        if (e->Text().empty()) e->SetText(kNoAddress);
    return true;
}

bool TFM_AdminNew::CheckLoginInput() {
    // An unread login is not written; its empty boxes prove nothing.
    if (!Login->ReadSucceeded()) return true;
    if (CheckLogin(this, {Ed_Usr, Ed_OPwd, Ed_NPwd, Ed_CNP}, Ed_Pwd->Text(), kLoginRules))
        return true;
    ResetAfterApply();
    return false;
}

bool TFM_AdminNew::CheckTrapServer() {
    // The address counts only with the notification on.
    if (!TrapFlag || !Grp_Snmp->Visible() || !TrapServer->ReadSucceeded()) return true;
    QvSNMPVarList& vars = TrapServer->request.vars;
    if (CkBx_LBS->Checked()) {
        if (!TMainForm::IsValidIP(Ed_TrapServIP->Text())) {
            Warn("Invalid IP address!");
            ResetAfterApply();
            Ed_TrapServIP->SetFocus();
            return false;
        }
        vars.Item(mib::adminTrapServerIpVar)->Access = QvAccess::ReadWrite;
    } else {
        vars.Item(mib::adminTrapServerIpVar)->Access = QvAccess::Invalid;
    }
    vars.Item(mib::adminUserStaNotifyVar)->Access = QvAccess::ReadWrite;
    return true;
}

void TFM_AdminNew::AddConsoleSteps() {
    // Without the console's read the form cannot tell what it would change.
    if (!Telnet->ReadSucceeded()) return;
    const bool ssh = SshFlag && RB_SHH->Visible();
    QvSNMPVarList& vars = Telnet->request.vars;
    vars.Item(mib::adminTelnetVar)->Access = QvAccess::ReadWrite;
    vars.Item(mib::adminTimeoutVar)->Access =
        RB_None->Checked() ? QvAccess::Invalid : QvAccess::ReadWrite;
    consoleOffLeft_ = 0;
    if (!RB_None->Checked()) {
        // Both protocols go off first, so the device never runs both; right
        // before the console's own writes, so that a refusal of an earlier
        // group leaves the console alone.
        writes_.Add(Telnet.get());
        if (ssh) writes_.Add(Ssh.get());
        consoleOffLeft_ = ssh ? 2 : 1;
    }
    writes_.Add(Telnet.get());
    if (ssh) writes_.Add(Ssh.get());
    consoleChosen_ = true;
}

void TFM_AdminNew::ConsoleBeforeWrite() {
    if (consoleOffLeft_ > 0) {
        --consoleOffLeft_;
        CB_Telnet->SetItemIndex(kDisable);
        CB_SHH->SetItemIndex(kDisable);
    } else if (consoleChosen_) {
        RB_NoneClick(RB_None);
    }
}

void TFM_AdminNew::KeepDeviceConsole(bool timeoutToo) {
    deviceConsole_.telnet = CB_Telnet->ItemIndex();
    deviceConsole_.ssh = CB_SHH->ItemIndex();
    if (timeoutToo) deviceConsole_.timeout = CB_Timeout->ItemIndex();
}

void TFM_AdminNew::RestoreConsole() {
    // Each protocol goes back to what the device held before the Apply,
    // the one to switch off first; one refusal does not stop the other.
    consoleOffLeft_ = 0;
    consoleChosen_ = false;
    CB_Telnet->SetItemIndex(deviceConsole_.telnet);
    CB_SHH->SetItemIndex(deviceConsole_.ssh);
    CB_Timeout->SetItemIndex(deviceConsole_.timeout);
    Telnet->request.vars.Item(mib::adminTimeoutVar)->Access =
        deviceConsole_.timeout < 0 ? QvAccess::Invalid : QvAccess::ReadWrite;
    std::vector<QvSNMPRequest2Controls*> order = {Telnet.get()};
    if (SshFlag && RB_SHH->Visible()) {
        if (deviceConsole_.ssh == kDisable)
            order.insert(order.begin(), Ssh.get());
        else
            order.push_back(Ssh.get());
    }
    writes_.SetShowFailure(false); // the Apply's own failure was shown
    for (QvSNMPRequest2Controls* g : order) {
        // Both groups are synchronous: each run ends inside Start.
        writes_.Add(g);
        writes_.Start([](bool, const QvSNMPError&) {});
    }
    writes_.SetShowFailure(true);
}

void TFM_AdminNew::StartApply() {
    const std::string current = Ed_Pwd->Text();
    Ed_Pwd->SetText(Ed_NPwd->Text());
    writes_.Add(Login.get());
    if (LimitFlag) writes_.Add(LimitState.get());
    if (WriteManagerIP) writes_.Add(ManagerIp.get());
    AddConsoleSteps();
    if (WlanFlag) writes_.Add(Wlan.get());
    if (VidFlag) writes_.Add(ManagerVlan.get());
    if (PingControlFlag) writes_.Add(PingControl.get());
    if (TrapFlag) writes_.Add(TrapServer.get());
    writes_.Start([this, current](bool ok, const QvSNMPError&) {
        const bool consoleSent = consoleChosen_;
        consoleOffLeft_ = 0;
        consoleChosen_ = false;
        if (ok) {
            if (consoleSent) KeepDeviceConsole(!RB_None->Checked());
            TFM_Waiting::Run();
            StatusBar->SetSimpleText("Setting Success!");
        } else {
            // A console write that stopped half-way may have left both
            // protocols off.
            QvSNMPRequest2Controls* failed = writes_.FailedGroup();
            if (consoleSent && failed && (failed == Telnet.get() || failed == Ssh.get()))
                RestoreConsole();
            // The device kept its password; so does the next check.
            Ed_Pwd->SetText(current);
            StatusBar->SetSimpleText("Setting Error!");
        }
        ResetAfterApply();
    });
}

// --- address ranges ---------------------------------------------------------------

int TFM_AdminNew::ColumnOf(const TListView* lv, const std::string& caption) {
    for (int c = 0; c < lv->Columns().Count(); ++c)
        if (lv->Columns()[c]->Caption() == caption) return c;
    return -1;
}

std::string TFM_AdminNew::CellText(const TListItem* item, int column) {
    return column < 0 ? std::string() : item->ColumnText(column);
}

void TFM_AdminNew::ReadUserList() {
    // The numbered list starts afresh from the table.
    ListView_User->Items().Clear();
    UserList->rowNumber = 1;
    UserList->watchedIndex = 1;
    UserList->stopValue = kNoAddress;
    Btn_Del->SetEnabled(false);
    if (!WaitWhileBusy(*UserList, QvReplyBoundMs(UserList->request))) return;
    StartRead(*UserList);
}

void TFM_AdminNew::WriteRanges(const char* okText, const char* failText, bool clearEntry) {
    writes_.Add(IpRange.get());
    writes_.Start([this, okText, failText, clearEntry](bool ok, const QvSNMPError&) {
        if (ok && clearEntry) {
            Ed_FromIP->SetText("");
            Ed_ToIP->SetText("");
        }
        StatusBar->SetSimpleText(ok ? okText : failText);
        ReadUserList();
    });
}

void TFM_AdminNew::Btn_AddClick(TObject*) {
    if (writes_.Running()) return;
    if (ListView_User->Items().Count() >= kMaxRanges) {
        Warn("Maximum number of IP Range List is 4!!", "Waring");
        return;
    }
    if (!TMainForm::IsValidIP(Ed_FromIP->Text()) || !TMainForm::IsValidIP(Ed_ToIP->Text())) {
        Warn("Please input valid IP address", "Waring");
        return;
    }
    const std::uint32_t from = AddressNumber(Ed_FromIP->Text());
    const std::uint32_t to = AddressNumber(Ed_ToIP->Text());
    if (from > to) {
        Warn("The IP range is not right,Please check...");
        Ed_FromIP->SetFocus();
        return;
    }
    // The table must be all there: a slot still on its way could be the
    // duplicate or the free one.
    if (!WaitWhileBusy(*IpRange, QvReplyBoundMs(IpRange->request))) {
        StatusBar->SetSimpleText("Setting Error!");
        return;
    }
    const int fromCol = ColumnOf(ListView_IpRange, "From");
    const int toCol = ColumnOf(ListView_IpRange, "To");
    TListItems& rows = ListView_IpRange->Items();
    // A duplicate anywhere in the table is refused, also behind a free slot.
    for (int r = 0; r < rows.Count(); ++r) {
        const std::string f = CellText(rows[r], fromCol);
        const std::string t = CellText(rows[r], toCol);
        if (f == kNoAddress && t == kNoAddress) continue;
        if (AddressNumber(f) == from && AddressNumber(t) == to) {
            Warn("The same IP range has been added");
            Ed_FromIP->SetFocus();
            return;
        }
    }
    TListItem* slot = nullptr;
    for (int r = 0; r < rows.Count() && !slot; ++r)
        if (CellText(rows[r], fromCol) == kNoAddress && CellText(rows[r], toCol) == kNoAddress)
            slot = rows[r];
    // Without a free slot the write would land on a used row.
    if (!slot) {
        Warn("Maximum number of IP Range List is 4!!", "Waring");
        return;
    }
    ListView_IpRange->SetSelected(slot);
    Ed_From->SetText(Ed_FromIP->Text());
    Ed_To->SetText(Ed_ToIP->Text());
    WriteRanges("Set OK!", "Setting Error!", true);
}

void TFM_AdminNew::Btn_DelClick(TObject*) {
    if (writes_.Running()) return;
    TListItem* chosen = ListView_User->Selected();
    if (!chosen) return;
    const std::string f = CellText(chosen, ColumnOf(ListView_User, "From"));
    const std::string t = CellText(chosen, ColumnOf(ListView_User, "To"));
    if (!WaitWhileBusy(*IpRange, QvReplyBoundMs(IpRange->request))) {
        StatusBar->SetSimpleText("Delete Error!");
        return;
    }
    const int fromCol = ColumnOf(ListView_IpRange, "From");
    const int toCol = ColumnOf(ListView_IpRange, "To");
    TListItems& rows = ListView_IpRange->Items();
    TListItem* row = nullptr;
    for (int r = 0; r < rows.Count() && !row; ++r)
        if (CellText(rows[r], fromCol) == f && CellText(rows[r], toCol) == t) row = rows[r];
    // A row the table no longer holds: writing now would clear whatever
    // row happens to be selected.
    if (!row) {
        StatusBar->SetSimpleText("Delete Error!");
        return;
    }
    ListView_IpRange->SetSelected(row);
    Ed_From->SetText(kNoAddress);
    Ed_To->SetText(kNoAddress);
    WriteRanges("Delete OK!", "Delete Error!", false);
}
