#include "forms/admin/TFM_DHCP.h"

#include "app/TFM_Waiting.h"
#include "app/TMainForm.h"
#include "base/DottedAddress.h"
#include "base/SysUtils.h"
#include "binding/New_req2Edit.h"
#include "binding/QvSNMPRequest2Edits.h"
#include "binding/QvWaitIdle.h"
#include "forms/admin/IpEditToNumber.h"
#include "forms/admin/StaticRowWriter.h"
#include "forms/admin/TFM_StaticIP.h"
#include "mib/DHCPVars.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"
#include "ui/ListView.h"
#include "ui/PageControl.h"
#include "ui/StatusBar.h"
#include "ui/Timer.h"
#include "ui/Widgets.h"

#include <exception>

TFM_DHCP* FM_DHCP = nullptr;

namespace {

const char kListing[] = "Listing data ... ";
// Shows the listing wait once the completion that asked for it has returned,
// so the table's re-read is on its way first.
constexpr unsigned WM_LISTING_WAIT = WM_APP + 0x120;
constexpr const char* kFreeIP = mib::staticpool::FreeIP;
constexpr const char* kFreeMac = mib::staticpool::FreeMac;

TEdit* Edit(TWinControl* parent, const char* name, int left, int top, int width, int maxLength) {
    auto* e = NewControl<TEdit>(parent, parent, name, left, top, width, 21);
    e->SetMaxLength(maxLength);
    return e;
}

TButton* Button(TWinControl* parent, const char* name, const char* caption, int left, int top) {
    return NewControl<TButton>(parent, parent, name, left, top, 80, 25, caption);
}

TListView* List(TWinControl* parent, const char* name, int left, int top, int width, int height) {
    auto* lv = new TListView(parent);
    lv->SetName(name);
    lv->SetViewStyle(vsReport);
    lv->SetRowSelect(true);
    lv->SetReadOnly(true);
    lv->SetHideSelection(false);
    lv->SetBounds(left, top, width, height);
    return lv;
}

TStatusBar* Bar(TWinControl* parent, const char* name) {
    auto* s = new TStatusBar(parent);
    s->SetName(name);
    s->Panels().Add()->SetWidth(400);
    s->SetAlign(alBottom);
    return s;
}

void Box(TWinControl* owner, const std::string& text, const char* caption) {
    MessageBox(owner, text, caption, MB_OK | MB_ICONWARNING);
}

void SetPanel(TStatusBar* bar, const std::string& text) {
    if (bar && bar->Panels().Count() > 0) bar->Panels()[0]->SetText(text);
}

// "0.0.0.0" however it is spelt: the value that means "none" for WINS and DNS.
bool IsNoAddress(const std::string& text) {
    const auto a = DottedAddress::Parse(text);
    return a && a->Number() == 0;
}

} // namespace

TFM_DHCP::TFM_DHCP(TComponent* owner) : TForm(owner) {
    FM_DHCP = this;
    SetFrame({.name = "FM_DHCP", .caption = "Advanced \\ DHCP Server", .clientWidth = 560,
              .clientHeight = 420});

    PageControl1 = new TPageControl(this);
    PageControl1->SetName("PageControl1");
    PageControl1->SetAlign(alClient);
    TabSheet1 = new TTabSheet(PageControl1);
    TabSheet1->SetCaption(" Dynamic Pool Settings ");
    TabSheet2 = new TTabSheet(PageControl1);
    TabSheet2->SetCaption("Static Pool Settings  ");
    TabSheet3 = new TTabSheet(PageControl1);
    TabSheet3->SetCaption(" Current IP Mapping List  ");

    // Page 1: the function and the dynamic pool.
    TTabSheet* p = TabSheet1;
    NewLabel(p, p, "Function Enable/Disable", 16, 16);
    CB_Fuction1 = new TComboBox(p);
    CB_Fuction1->SetName("CB_Fuction1");
    CB_Fuction1->SetStyle(csDropDownList);
    CB_Fuction1->SetBounds(250, 12, 150, 22);
    NewLabel(p, p, "IP Assigned From", 16, 48);
    Ed_IPAF = Edit(p, "Ed_IPAF", 250, 44, 150, 15);
    NewLabel(p, p, "The Range of Pool (1-255)", 16, 76);
    Ed_PoolRan = Edit(p, "Ed_PoolRan", 250, 72, 60, 3);
    NewLabel(p, p, "SubMask", 16, 104);
    Ed_SubMask = Edit(p, "Ed_SubMask", 250, 100, 150, 15);
    NewLabel(p, p, "Gateway", 16, 132);
    Ed_Gateway = Edit(p, "Ed_Gateway", 250, 128, 150, 15);
    NewLabel(p, p, "Wins", 16, 160);
    Ed_Wins = Edit(p, "Ed_Wins", 250, 156, 150, 15);
    NewLabel(p, p, "DNS", 16, 188);
    Ed_DNS = Edit(p, "Ed_DNS", 250, 184, 150, 15);
    NewLabel(p, p, "Domain Name", 16, 216);
    Ed_DomNa = Edit(p, "Ed_DomNa", 250, 212, 250, 63);
    NewLabel(p, p, "Lease Time (60 - 31536000 sec)", 16, 244);
    Ed_Lease = Edit(p, "Ed_Lease", 250, 240, 100, 8);
    NewLabel(p, p, "Status", 16, 272);
    CB_Status = new TComboBox(p);
    CB_Status->SetName("CB_Status");
    CB_Status->SetStyle(csDropDownList);
    CB_Status->SetBounds(250, 268, 100, 22);
    Bt_Apply = Button(p, "Bt_Apply", "Apply", 330, 310);
    Bt_Cancel = Button(p, "Bt_Cancel", "Cancel", 420, 310);
    StatusBar1 = Bar(p, "StatusBar1");
    Ed_ext = Edit(p, "Ed_ext", 0, 0, 10, 0);
    Ed_ext->SetVisible(false);
    IPTemp = Edit(p, "IPTemp", 0, 0, 10, 0);
    IPTemp->SetVisible(false);
    Bt_Refresh = Button(p, "Bt_Refresh", "Refresh", 0, 0);
    Bt_Refresh->SetVisible(false);

    // Page 2: the static pool, its editing binder hidden behind the numbered list.
    p = TabSheet2;
    NewLabel(p, p, "Function Enable/Disable", 16, 16);
    CB_Fuction2 = new TComboBox(p);
    CB_Fuction2->SetName("CB_Fuction2");
    CB_Fuction2->SetStyle(csDropDownList);
    CB_Fuction2->SetBounds(250, 12, 150, 22);
    LV_StaticPoolSet = List(p, "LV_StaticPoolSet", 0, 0, 10, 10);
    LV_StaticPoolSet->SetVisible(false);
    User_ListView = List(p, "User_ListView", 12, 44, 530, 250);
    Bt_Rfrsh = Button(p, "Bt_Rfrsh", "Refresh", 12, 304);
    Bt_Add = Button(p, "Bt_Add", "Add", 100, 304);
    Bt_Set = Button(p, "Bt_Set", "Set", 188, 304);
    Bt_Del = Button(p, "Bt_Del", "Del", 276, 304);
    StaticApply = Button(p, "StaticApply", "Apply", 462, 304);
    Bt_Set->SetEnabled(false);
    Bt_Del->SetEnabled(false);
    StatusBar2 = Bar(p, "StatusBar2");

    // Page 3: what the server has handed out.
    p = TabSheet3;
    NewLabel(p, p, "Current DHCP Dynamic Pools", 12, 8);
    LV_DynPool = List(p, "LV_DynPool", 12, 26, 440, 130);
    Bt_RefreshDynamicPool = Button(p, "Bt_RefreshDynamicPool", "Refresh", 462, 26);
    StatusBar3 = new TStatusBar(p);
    StatusBar3->SetName("StatusBar3");
    StatusBar3->SetBounds(12, 158, 440, 20);
    StatusBar3->SetSimplePanel(true);
    NewLabel(p, p, "Current DHCP Static Pools", 12, 186);
    LV_StaticPool = List(p, "LV_StaticPool", 12, 204, 440, 110);
    Bt_RefreshStaticPool = Button(p, "Bt_RefreshStaticPool", "Refresh", 462, 204);
    StatusBar4 = Bar(p, "StatusBar4");
    StatusBar4->SetSimplePanel(true);

    Timer = new TTimer(this);
    Timer->SetEnabled(false);
    Timer->OnTimer = [this](TObject* s) { TimerTimer(s); };

    for (TComboBox* c : {CB_Fuction1, CB_Fuction2}) {
        c->Items().Add("Disable");
        c->Items().Add("Enable");
    }

    // Set before the bindings take the combos over: they chain behind.
    CB_Fuction1->OnChange = [this](TObject* s) { CB_Fuction1Change(s); };
    CB_Fuction2->OnChange = [this](TObject* s) { CB_Fuction2Change(s); };
    Bt_Apply->OnClick = [this](TObject* s) { Bt_ApplyClick(s); };
    Bt_Cancel->OnClick = [this](TObject* s) { Bt_CancelClick(s); };
    Bt_Add->OnClick = [this](TObject* s) { Bt_AddClick(s); };
    Bt_Set->OnClick = [this](TObject* s) { Bt_SetClick(s); };
    Bt_Del->OnClick = [this](TObject* s) { Bt_DelClick(s); };
    StaticApply->OnClick = [this](TObject* s) { StaticApplyClick(s); };
    Bt_Rfrsh->OnClick = [this](TObject* s) { Bt_RfrshClick(s); };
    Bt_Refresh->OnClick = [this](TObject* s) { Bt_RefreshClick(s); };
    Bt_RefreshDynamicPool->OnClick = [this](TObject* s) { Bt_RefreshDynamicPoolClick(s); };
    Bt_RefreshStaticPool->OnClick = [this](TObject* s) { Bt_RefreshStaticPoolClick(s); };
    User_ListView->OnSelectItem = [this](TObject* s, TListItem* item, bool selected) {
        User_ListViewSelectItem(s, item, selected);
    };
    PageControl1->OnChange = [this](TObject* s) { PageControl1Change(s); };
    OnCloseQuery = [this](TObject* s, bool& canClose) { FormCloseQuery(s, canClose); };
    OnMessage = [this](TMessage& m, bool& handled) {
        if (m.Msg != WM_LISTING_WAIT) return;
        handled = true;
        ShowListingWait();
    };
    OnCreate = [this](TObject* s) { FormCreate(s); };
}

TFM_DHCP::~TFM_DHCP() {
    // The requests go first: their completions touch the dialog and the lists.
    CurrentStaticRequest.reset();
    CurrentDynamicRequest.reset();
    StaticListRequest.reset();
    StaticPoolRequest.reset();
    SystemAddressRequest.reset();
    FunctionRequest.reset();
    PoolRequest.reset();
    delete FM_StaticIP;
    FM_StaticIP = nullptr;
    if (FM_DHCP == this) FM_DHCP = nullptr;
}

void TFM_DHCP::FormCreate(TObject*) {
    try {
        PoolRequest = std::make_unique<QvSNMPRequest2Edits>(this);
        PoolRequest->request.vars = QvSNMPVarList(mib::dhcpPoolTable, SVT_SV, 0);
        PoolRequest->mode = 0;
        PoolRequest->AssociateEdits(0, "%s", Ed_IPAF);
        PoolRequest->AssociateEdits(1, "%u", Ed_PoolRan);
        PoolRequest->AssociateEdits(2, "%s", Ed_SubMask);
        PoolRequest->AssociateEdits(3, "%s", Ed_Gateway);
        PoolRequest->AssociateEdits(4, "%s", Ed_Wins);
        PoolRequest->AssociateEdits(5, "%s", Ed_DNS);
        PoolRequest->AssociateEdits(6, "%s", Ed_DomNa);
        PoolRequest->AssociateEdits(7, "%u", Ed_Lease);
        PoolRequest->AssociateComboBox(8, CB_Status);
        PoolRequest->SetStatusBar(StatusBar1);
        poolRead_ = PoolRequest->Read();

        FunctionRequest = std::make_unique<QvSNMPRequest2Edits>(this);
        FunctionRequest->request.vars = QvSNMPVarList(mib::dhcpFunctionTable, SVT_SV, 0);
        FunctionRequest->mode = 0;
        FunctionRequest->AssociateComboBox(0, CB_Fuction1);
        functionRead_ = FunctionRequest->Read();
        CB_Fuction2->SetItemIndex(CB_Fuction1->ItemIndex());

        FM_StaticIP = new TFM_StaticIP(nullptr);

        StaticPoolRequest = std::make_unique<QvSNMPRequest2Edits>(this);
        StaticPoolRequest->request.vars = QvSNMPVarList(mib::dhcpStaticPoolTable, MVT_UMV, 1);
        StaticPoolRequest->BindListView(LV_StaticPoolSet, true);
        StaticPoolRequest->AssociateControl(mib::staticpool::Index, FM_StaticIP->LA_Index);
        StaticPoolRequest->AssociateEdits(mib::staticpool::IP, "%s", FM_StaticIP->Ed_AsgIP);
        StaticPoolRequest->AssociateEdits(mib::staticpool::MAC, "%h", FM_StaticIP->Ed_AsgMac);
        StaticPoolRequest->AssociateEdits(mib::staticpool::Mask, "%s", FM_StaticIP->Ed_SubMask);
        StaticPoolRequest->AssociateEdits(mib::staticpool::Gateway, "%s", FM_StaticIP->Ed_Gatway);
        StaticPoolRequest->AssociateEdits(mib::staticpool::DNS, "%s", FM_StaticIP->Ed_DNS);
        StaticPoolRequest->AssociateEdits(mib::staticpool::Wins, "%s", FM_StaticIP->Ed_Wins);
        StaticPoolRequest->AssociateEdits(mib::staticpool::Domain, "%s", FM_StaticIP->Ed_DomNa);
        StaticPoolRequest->AssociateComboBox(mib::staticpool::Status, FM_StaticIP->CB_Stat);
        StaticPoolRequest->SetConstraintOwner(FM_StaticIP);
        StaticPoolRequest->SetStatusBar(StatusBar2);
        StaticPoolRequest->OnReadDone = [this](QvSNMPRequest2Controls* s, QvSNMPError* e) {
            StaticPoolDone(s, e, false);
        };
        StaticPoolRequest->OnWriteDone = [this](QvSNMPRequest2Controls* s, QvSNMPError* e) {
            StaticPoolDone(s, e, true);
        };
        SetPanel(StatusBar1, kListing);
        SetPanel(StatusBar2, kListing);
        StaticPoolRequest->Read();

        StaticListRequest = std::make_unique<New_req2Edit>(this);
        StaticListRequest->request.vars = QvSNMPVarList(mib::dhcpStaticPoolTable, MVT_UMV, 1);
        StaticListRequest->stopValue = kFreeIP;
        StaticListRequest->BindListView(User_ListView, false);
        StaticListRequest->OnReadDone = [this](QvSNMPRequest2Controls*, QvSNMPError* e) {
            staticListRead_ = !e || e->Code == 0;
        };
        StaticListRequest->Read();

        CurrentDynamicRequest = std::make_unique<New_req2Edit>(this);
        CurrentDynamicRequest->request.vars =
            QvSNMPVarList(mib::dhcpCurrentDynamicTable, MVT_FMV, 1);
        CurrentDynamicRequest->stopValue = kFreeMac;
        CurrentDynamicRequest->BindListView(LV_DynPool, false);
        CurrentDynamicRequest->SetStatusBar(StatusBar3);
        CurrentDynamicRequest->Read();

        CurrentStaticRequest = std::make_unique<New_req2Edit>(this);
        CurrentStaticRequest->request.vars =
            QvSNMPVarList(mib::dhcpCurrentStaticTable, MVT_FMV, 1);
        CurrentStaticRequest->stopValue = kFreeMac;
        CurrentStaticRequest->BindListView(LV_StaticPool, false);
        CurrentStaticRequest->SetStatusBar(StatusBar4);
        CurrentStaticRequest->Read();
    } catch (const std::exception& e) {
        SetPanel(StatusBar1, e.what());
        SetPanel(StatusBar2, e.what());
        StatusBar3->SetSimpleText(e.what());
    }
    try {
        SystemAddressRequest = std::make_unique<QvSNMPRequest2Edits>(this);
        SystemAddressRequest->request.vars = QvSNMPVarList(mib::dhcpSystemAddressTable, SVT_SV, 0);
        SystemAddressRequest->mode = 0;
        SystemAddressRequest->AssociateEdits(0, "%s", Ed_ext);
        systemRead_ = SystemAddressRequest->Read();
    } catch (const std::exception& e) {
        SetPanel(StatusBar1, e.what());
    }
    UpdateFieldState();
}

// --- field state ---------------------------------------------------------------------

void TFM_DHCP::UpdateFieldState() {
    // A group the device did not answer is never written: its controls stay
    // disabled, and without the function nothing on the two pages is.
    for (TWinControl* c :
         std::initializer_list<TWinControl*>{CB_Fuction1, CB_Fuction2, Bt_Apply, StaticApply})
        c->SetEnabled(functionRead_);
    const bool pool = functionRead_ && poolRead_ && CB_Fuction1->ItemIndex() == 1;
    for (TWinControl* c : std::initializer_list<TWinControl*>{
             Ed_IPAF, Ed_PoolRan, Ed_SubMask, Ed_Gateway, Ed_Wins, Ed_DNS, Ed_DomNa, Ed_Lease,
             CB_Status})
        c->SetEnabled(pool);
    const bool statics = functionRead_ && CB_Fuction2->ItemIndex() == 1;
    Bt_Rfrsh->SetEnabled(statics);
    LV_StaticPoolSet->SetEnabled(statics);
    User_ListView->SetEnabled(statics);
    User_ListView->SetColor(statics ? clWindow : clBtnFace);
    if (!statics || !staticPoolRead_) {
        Bt_Add->SetEnabled(false);
        Bt_Set->SetEnabled(false);
        Bt_Del->SetEnabled(false);
    }
}

void TFM_DHCP::CB_Fuction1Change(TObject*) {
    CB_Fuction2->SetItemIndex(CB_Fuction1->ItemIndex());
    UpdateFieldState();
}

void TFM_DHCP::CB_Fuction2Change(TObject*) {
    CB_Fuction1->SetItemIndex(CB_Fuction2->ItemIndex());
    UpdateFieldState();
    Bt_Add->SetEnabled(CanEditStaticPool() && CB_Fuction2->ItemIndex() == 1 &&
                       !(StaticPoolRequest && StaticPoolRequest->busy));
}

void TFM_DHCP::User_ListViewSelectItem(TObject*, TListItem*, bool) {
    if (CB_Fuction1->ItemIndex() == 0 && CB_Fuction2->ItemIndex() == 0) {
        User_ListView->SetColor(clBtnFace);
        return;
    }
    const bool row = User_ListView->Selected() != nullptr && CanEditStaticPool();
    Bt_Set->SetEnabled(row && !StaticOperationRunning);
    Bt_Del->SetEnabled(row && !StaticOperationRunning);
}

void TFM_DHCP::PageControl1Change(TObject*) {
    if (PageControl1->ActivePage() != TabSheet2) return;
    User_ListView->SetColor(CB_Fuction1->ItemIndex() == 0 ? clBtnFace : clWindow);
    if (!(StaticListRequest && StaticListRequest->busy))
        Bt_Add->SetEnabled(CanEditStaticPool() && CB_Fuction2->ItemIndex() != 0);
}

// --- apply ----------------------------------------------------------------------------

std::uint32_t TFM_DHCP::IpEditToNumber(const TEdit* edit) {
    return DhcpIpTextToNumber(edit ? edit->Text() : std::string());
}

bool TFM_DHCP::StaticPoolOutsideDynamicPool() {
    const std::uint32_t start = IpEditToNumber(Ed_IPAF);
    const std::uint32_t range = IpEditToNumber(Ed_PoolRan);
    for (int k = 0; k < User_ListView->Items().Count(); ++k) {
        TListItem* item = User_ListView->Items()[k];
        IPTemp->SetText(item->SubItems().Count() > 0 ? item->SubItems()[0] : std::string());
        if (InAddressPool(start, range, IpEditToNumber(IPTemp))) return false;
    }
    return true;
}

bool TFM_DHCP::CanEditStaticPool() const {
    return functionRead_ && staticPoolRead_ && CB_Fuction2->ItemIndex() == 1;
}

bool TFM_DHCP::StaticListKnown() {
    if (!StaticListRequest) return false;
    const std::uint32_t bound = QvReplyBoundMs(StaticListRequest->request);
    if (StaticListRequest->busy) WaitWhileBusy(*StaticListRequest, bound);
    if (!staticListRead_ && !StaticListRequest->busy) {
        // Never read, or the read failed: ask once more before judging.
        ReadStaticLists();
        WaitWhileBusy(*StaticListRequest, bound);
    }
    return staticListRead_ && !StaticListRequest->busy;
}

bool TFM_DHCP::SystemAddressKnown() {
    if (systemRead_ || !SystemAddressRequest) return systemRead_;
    try {
        systemRead_ = SystemAddressRequest->Read();
    } catch (const std::exception&) {
        systemRead_ = false;
    }
    return systemRead_;
}

void TFM_DHCP::ShowWriteFailure(const QvSNMPError& failure, bool staticPage) {
    // The last read's "Ok" must not stand beside a refused write.
    const std::string text = failure.Message.empty() ? std::string("Set Error!") : failure.Message;
    SetPanel(StatusBar1, text);
    if (staticPage) SetPanel(StatusBar2, text);
}

void TFM_DHCP::StartWrites(bool staticPage) {
    writes_.Start([this, staticPage](bool ok, const QvSNMPError& failure) {
        if (!ok) {
            ShowWriteFailure(failure, staticPage);
            return;
        }
        TFM_Waiting::Run();
    });
}

void TFM_DHCP::Bt_ApplyClick(TObject*) {
    if (writes_.Running() || !FunctionRequest || !PoolRequest || !functionRead_) return;
    const int function = CB_Fuction1->ItemIndex();
    if (function == 0 || (function == 1 && !poolRead_)) {
        // Without a pool read the pool is left as the device holds it.
        writes_.Add(FunctionRequest.get());
        StartWrites(false);
        return;
    }
    if (function != 1) return;

    auto refuse = [this](TEdit* e, const std::string& text, const char* caption, bool clear) {
        Box(this, text, caption);
        if (clear) e->Clear();
        e->SetFocus();
    };
    if (Ed_IPAF->Text().empty())
        return refuse(Ed_IPAF, "Please input valid IP address", "Warning", false);
    if (Ed_PoolRan->Text().empty())
        return refuse(Ed_PoolRan, "Please input a number between 1 and 255.", "Warning", false);
    if (!SystemAddressKnown()) {
        Box(this, "Reject: The system IP could not be read.", "Warning");
        return;
    }
    const std::uint32_t start = IpEditToNumber(Ed_IPAF);
    const std::uint32_t range = IpEditToNumber(Ed_PoolRan);
    if (InAddressPool(start, range, IpEditToNumber(Ed_ext))) {
        Box(this, "Reject: The DHCP dynamic IP pool will cover system IP.", "Warning");
        return;
    }
    if (!StaticListKnown()) {
        Box(this, "Reject: The static DHCP Server IP pool could not be read.", "Warning");
        return;
    }
    if (!StaticPoolOutsideDynamicPool()) {
        Box(this, "Reject: The DHCP dynamic IP pool will cover Static IP.", "Warning");
        return;
    }
    const long long rangeNumber = StrToIntDef(Ed_PoolRan->Text(), -1);
    if (rangeNumber < 1 || rangeNumber > 255) {
        Box(this, "Please input a number between 1 and 255.", "Error");
        return;
    }
    if (Ed_Lease->Text().empty()) {
        Box(this, "Please input a number between 60 and 31536000.", "Warning");
        return;
    }
    const long long lease = StrToIntDef(Ed_Lease->Text(), -1);
    if (lease < 60 || lease > 31536000) {
        Box(this, "Please input a number between 60 and 31536000.", "Error");
        return;
    }
    for (TEdit* e : {Ed_SubMask, Ed_Gateway, Ed_Wins, Ed_DNS})
        if (e->Text().empty()) e->SetText(kFreeIP);
    if (!TMainForm::IsValidIP(Ed_IPAF->Text()))
        return refuse(Ed_IPAF, "Please input valid IP address", "Waring", true);
    if (!TMainForm::IsValidIP(Ed_Gateway->Text()))
        return refuse(Ed_Gateway, "Please input valid Gateway.", "Waring", true);
    if (!TMainForm::IsValidIP(Ed_Wins->Text()) && !IsNoAddress(Ed_Wins->Text()))
        return refuse(Ed_Wins, "Please input valid Wins.", "Waring", true);
    if (!TMainForm::IsValidIP(Ed_DNS->Text()) && !IsNoAddress(Ed_DNS->Text()))
        return refuse(Ed_DNS, "Please input valid DNS.", "Waring", true);
    if (!TMainForm::IsValidMask(Ed_SubMask->Text()))
        return refuse(Ed_SubMask, "Please input valid SubMask.", "Waring", true);
    if (MainForm && SameDottedAddress(Ed_IPAF->Text(), MainForm->TargetIP))
        return refuse(Ed_IPAF, "Reject:DHCPS dynamic IP pool will cover system IP", "Waring", true);

    for (TEdit* e : {Ed_IPAF, Ed_SubMask, Ed_Gateway, Ed_Wins, Ed_DNS})
        if (const auto a = DottedAddress::Parse(e->Text())) e->SetText(a->Text());
    writes_.Add(FunctionRequest.get());
    writes_.Add(PoolRequest.get());
    StartWrites(false);
}

void TFM_DHCP::StaticApplyClick(TObject*) {
    if (writes_.Running() || !FunctionRequest || !functionRead_) return;
    CB_Fuction1->SetItemIndex(CB_Fuction2->ItemIndex());
    writes_.Add(FunctionRequest.get());
    StartWrites(true);
}

void TFM_DHCP::Bt_CancelClick(TObject*) { Close(); }

// --- static pool ----------------------------------------------------------------------

int TFM_DHCP::StaticRowOfIP(const std::string& ip) const {
    for (int k = 0; k < LV_StaticPoolSet->Items().Count(); ++k) {
        const TListItem* item = LV_StaticPoolSet->Items()[k];
        if (item->SubItems().Count() > 0 && item->SubItems()[0] == ip) return k;
    }
    return -1;
}

void TFM_DHCP::Bt_AddClick(TObject*) {
    if (!StaticPoolRequest || StaticPoolRequest->busy || StaticOperationRunning) return;
    if (!CanEditStaticPool()) return;
    const int row = StaticRowOfIP(kFreeIP);
    if (row < 0) {
        Box(this, "The static pool is full!", "Warning");
        return;
    }
    LV_StaticPoolSet->SetSelected(LV_StaticPoolSet->Items()[row]);
    FM_StaticIP->SetCaption("Static IP Pool Adding");
    FM_StaticIP->Ed_AsgMac->SetMaxLength(12);
    FM_StaticIP->Ed_OldIP->SetEnabled(true);
    for (TEdit* e : {FM_StaticIP->Ed_AsgIP, FM_StaticIP->Ed_AsgMac}) {
        e->SetReadOnly(false);
        e->SetColor(clWindow);
    }
    ShowStaticDialog();
}

void TFM_DHCP::Bt_SetClick(TObject*) {
    if (!StaticPoolRequest || StaticPoolRequest->busy || StaticOperationRunning) return;
    if (!CanEditStaticPool()) return;
    TListItem* chosen = User_ListView->Selected();
    if (!chosen || chosen->SubItems().Count() == 0) return;
    const int row = StaticRowOfIP(chosen->SubItems()[0]);
    if (row < 0) return;
    LV_StaticPoolSet->SetSelected(LV_StaticPoolSet->Items()[row]);
    FM_StaticIP->SetCaption("Static IP Pool Setting");
    FM_StaticIP->Ed_AsgMac->SetMaxLength(12);
    FM_StaticIP->KeepOldValues();
    for (TEdit* e : {FM_StaticIP->Ed_AsgIP, FM_StaticIP->Ed_AsgMac}) {
        e->SetReadOnly(false);
        e->SetColor(clWindow);
    }
    ShowStaticDialog();
}

void TFM_DHCP::ShowStaticDialog() {
    FM_StaticIP->TakeSaved();
    FM_StaticIP->ShowModal();
    // The entry dialog is gone from the screen before the wait shows.
    if (FM_StaticIP && FM_StaticIP->TakeSaved()) FM_StaticIP->ShowSavedWait();
}

void TFM_DHCP::PutFreeRowValues() {
    namespace sp = mib::staticpool;
    TFM_StaticIP* d = FM_StaticIP;
    const StaticRowWriter::Values free = StaticRowWriter::FreeValues();
    d->Ed_AsgIP->SetText(free[sp::IP]);
    d->Ed_AsgMac->SetText(free[sp::MAC]);
    d->Ed_SubMask->SetText(free[sp::Mask]);
    d->Ed_Gatway->SetText(free[sp::Gateway]);
    d->Ed_DNS->SetText(free[sp::DNS]);
    d->Ed_Wins->SetText(free[sp::Wins]);
    d->Ed_DomNa->SetText(free[sp::Domain]);
    d->CB_Stat->SetItemIndex(d->CB_Stat->Items().IndexOf(free[sp::Status]));
}

void TFM_DHCP::Bt_DelClick(TObject*) {
    if (!StaticPoolRequest || StaticPoolRequest->busy || StaticOperationRunning) return;
    if (writes_.Running() || !CanEditStaticPool()) return;
    TListItem* chosen = User_ListView->Selected();
    if (!chosen || chosen->SubItems().Count() == 0) return;
    const int row = StaticRowOfIP(chosen->SubItems()[0]);
    if (row < 0) return;
    LV_StaticPoolSet->SetSelected(LV_StaticPoolSet->Items()[row]);
    StaticOperationRunning = true;
    Bt_Add->SetEnabled(false);
    Bt_Set->SetEnabled(false);
    Bt_Del->SetEnabled(false);
    PutFreeRowValues();
    RefreshListsPending = true;
    writes_.Add(StaticPoolRequest.get());
    writes_.Start([this](bool ok, const QvSNMPError&) {
        if (!ok) {
            RefreshListsPending = false;
            return;
        }
        PostMessage(this, WM_LISTING_WAIT, 0, 0);
    });
}

void TFM_DHCP::ShowListingWait() {
    TFM_Waiting::Run([&](TFM_Waiting& w) {
        w.Countdown = 20;
        w.RebootDelayTicks = 22;
        w.RebootFlag = 0;
        w.Label2->SetCaption("Waiting for listing data...");
        w.Label3->SetCaption("");
    });
}

void TFM_DHCP::StaticPoolDone(QvSNMPRequest2Controls*, QvSNMPError* error, bool write) {
    const std::string text = error ? error->Message : std::string();
    SetPanel(StatusBar1, text);
    SetPanel(StatusBar2, text);
    const bool ok = !error || error->Code == 0;
    if (!write) {
        staticPoolRead_ = ok;
        UpdateFieldState();
        Bt_Add->SetEnabled(CanEditStaticPool() && !StaticOperationRunning);
    }
    if (write) {
        StaticOperationRunning = false;
        CB_Fuction2->SetItemIndex(CB_Fuction1->ItemIndex());
        Bt_Add->SetEnabled(CanEditStaticPool());
        UpdateFieldState();
        User_ListViewSelectItem(User_ListView, nullptr, false);
        // A write whose table is not read again asks for no list refresh.
        if (!ok) RefreshListsPending = false;
        return;
    }
    if (RefreshListsPending) {
        RefreshListsPending = false;
        if (ok) ReadStaticLists();
    }
}

void TFM_DHCP::ReadStaticLists() {
    if (!StaticListRequest || StaticListRequest->busy) return;
    User_ListView->Items().Clear();
    StaticListRequest->stopValue = kFreeIP;
    StaticListRequest->rowNumber = 1;
    StaticListRequest->Read();
}

void TFM_DHCP::RefreshStaticLists() {
    if (!StaticPoolRequest) return;
    RefreshListsPending = true;
    if (!StaticPoolRequest->busy) StaticPoolRequest->Read();
}

void TFM_DHCP::Bt_RfrshClick(TObject*) {
    if (!StaticPoolRequest || StaticPoolRequest->busy) return;
    SetPanel(StatusBar1, kListing);
    SetPanel(StatusBar2, kListing);
    StaticPoolRequest->Read();
    ReadStaticLists();
}

void TFM_DHCP::Bt_RefreshClick(TObject* sender) { Bt_RfrshClick(sender); }

void TFM_DHCP::Bt_RefreshDynamicPoolClick(TObject*) {
    if (!CurrentDynamicRequest || CurrentDynamicRequest->busy) return;
    CurrentDynamicRequest->rowNumber = 1;
    CurrentDynamicRequest->Read();
}

void TFM_DHCP::Bt_RefreshStaticPoolClick(TObject*) {
    if (!CurrentStaticRequest || CurrentStaticRequest->busy) return;
    CurrentStaticRequest->rowNumber = 1;
    CurrentStaticRequest->Read();
}

bool TFM_DHCP::AnyBusy() const {
    for (const QvSNMPRequest2Controls* r :
         {static_cast<const QvSNMPRequest2Controls*>(PoolRequest.get()),
          static_cast<const QvSNMPRequest2Controls*>(FunctionRequest.get()),
          static_cast<const QvSNMPRequest2Controls*>(StaticPoolRequest.get()),
          static_cast<const QvSNMPRequest2Controls*>(StaticListRequest.get()),
          static_cast<const QvSNMPRequest2Controls*>(CurrentDynamicRequest.get()),
          static_cast<const QvSNMPRequest2Controls*>(CurrentStaticRequest.get()),
          static_cast<const QvSNMPRequest2Controls*>(SystemAddressRequest.get())})
        if (r && (r->busy || r->request.Outstanding > 0)) return true;
    return writes_.Running();
}

void TFM_DHCP::FormCloseQuery(TObject*, bool& canClose) {
    // A completion must never reach a form that is gone: closing waits until
    // nothing is outstanding (every request ends within its time-out).
    canClose = !StaticOperationRunning && !AnyBusy();
}

void TFM_DHCP::TimerTimer(TObject*) {}
