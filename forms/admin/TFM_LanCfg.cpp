#include "forms/admin/TFM_LanCfg.h"

#include "app/TFM_Waiting.h"
#include "app/TMainForm.h"
#include "base/DottedAddress.h"
#include "binding/QvSNMPRequest2Edits.h"
#include "binding/QvWaitIdle.h"
#include "forms/admin/IpEditToNumber.h"
#include "forms/admin/PingHost.h"
#include "mib/DHCPVars.h"
#include "mib/LanCfgVars.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"
#include "ui/ListView.h"
#include "ui/StatusBar.h"
#include "ui/Widgets.h"

#include <exception>

TFM_LanCfg* FM_LanCfg = nullptr;

namespace {

TEdit* Edit(TWinControl* parent, const char* name, int top) {
    return NewControl<TEdit>(parent, parent, name, 140, top - 4, 150, 21);
}

bool Succeeded(const QvSNMPError* e) { return !e || e->Code == 0; }

} // namespace

TFM_LanCfg::TFM_LanCfg(TComponent* owner) : TForm(owner) {
    FM_LanCfg = this;
    SetFrame({.name = "FM_LanCfg", .caption = "Home \\ LAN", .clientWidth = 320,
              .clientHeight = 190});

    Label1 = NewLabel(this, this, "Get IP From", 16, 20, "Label1");
    CB_IPFrom = new TComboBox(this);
    CB_IPFrom->SetName("CB_IPFrom");
    CB_IPFrom->SetStyle(csDropDownList);
    CB_IPFrom->SetBounds(140, 16, 150, 22);
    Label2 = NewLabel(this, this, "IP Address", 16, 52, "Label2");
    ED_IpAddr = Edit(this, "ED_IpAddr", 52);
    Label3 = NewLabel(this, this, "Subnet Mask", 16, 80, "Label3");
    ED_SubMask = Edit(this, "ED_SubMask", 80);
    Label4 = NewLabel(this, this, "Default Gateway", 16, 108, "Label4");
    ED_DefGw = Edit(this, "ED_DefGw", 108);
    BT_LanCfgOk = new TButton(this);
    BT_LanCfgOk->SetName("BT_LanCfgOk");
    BT_LanCfgOk->SetCaption("Apply");
    BT_LanCfgOk->SetBounds(120, 136, 80, 25);
    BT_LanCfgCancel = new TButton(this);
    BT_LanCfgCancel->SetName("BT_LanCfgCancel");
    BT_LanCfgCancel->SetCaption("Cancel");
    BT_LanCfgCancel->SetBounds(210, 136, 80, 25);
    StatusBar = new TStatusBar(this);
    StatusBar->SetName("StatusBar");
    StatusBar->SetSimplePanel(true);
    StatusBar->SetAlign(alBottom);

    Static_ListView = new TListView(this);
    Static_ListView->SetName("Static_ListView");
    Static_ListView->SetViewStyle(vsReport);
    Static_ListView->SetVisible(false);
    Ed_IPAF = new TEdit(this);
    Ed_IPAF->SetName("Ed_IPAF");
    Ed_IPAF->SetVisible(false);
    Ed_PoolRan = new TEdit(this);
    Ed_PoolRan->SetName("Ed_PoolRan");
    Ed_PoolRan->SetVisible(false);
    ED_Restart = new TComboBox(this);
    ED_Restart->SetName("ED_Restart");
    ED_Restart->SetStyle(csDropDownList);
    ED_Restart->SetVisible(false);

    // Set before the binding takes the combo over: it chains behind.
    CB_IPFrom->OnChange = [this](TObject* s) { CB_IPFromChange(s); };
    BT_LanCfgOk->OnClick = [this](TObject* s) { BT_LanCfgOkClick(s); };
    BT_LanCfgCancel->OnClick = [this](TObject* s) { BT_LanCfgCancelClick(s); };
    OnCloseQuery = [this](TObject* s, bool& canClose) { FormCloseQuery(s, canClose); };
    OnCreate = [this](TObject* s) { FormCreate(s); };
}

TFM_LanCfg::~TFM_LanCfg() {
    StaticPoolRequest.reset();
    PoolRequest.reset();
    LanRequest.reset();
    if (FM_LanCfg == this) FM_LanCfg = nullptr;
}

void TFM_LanCfg::FormCreate(TObject*) {
    namespace lc = mib::lancfg;
    try {
        LanRequest = std::make_unique<QvSNMPRequest2Edits>(this);
        LanRequest->request.vars = QvSNMPVarList(mib::lanCfgTable, SVT_SV, 0);
        LanRequest->mode = 0;
        LanRequest->AssociateComboBox(lc::GetIPFrom, CB_IPFrom);
        LanRequest->AssociateEdits(lc::IPAddress, "%s", ED_IpAddr);
        LanRequest->AssociateEdits(lc::SubnetMask, "%s", ED_SubMask);
        LanRequest->AssociateEdits(lc::DefaultGateway, "%s", ED_DefGw);
        LanRequest->AssociateComboBox(lc::Restart, ED_Restart);
        LanRequest->SetStatusBar(StatusBar);

        PoolRequest = std::make_unique<QvSNMPRequest2Edits>(this);
        PoolRequest->request.vars = QvSNMPVarList(mib::dhcpPoolTable, SVT_SV, 0);
        PoolRequest->AssociateEdits(0, "%s", Ed_IPAF);
        PoolRequest->AssociateEdits(1, "%u", Ed_PoolRan);
        PoolRequest->OnReadDone = [this](QvSNMPRequest2Controls*, QvSNMPError* e) {
            poolOk_ = Succeeded(e);
        };
        PoolRequest->Read();

        StaticPoolRequest = std::make_unique<QvSNMPRequest2Edits>(this);
        StaticPoolRequest->request.vars = QvSNMPVarList(mib::dhcpStaticPoolTable, MVT_UMV, 1);
        StaticPoolRequest->request.Timeout = 10000;
        StaticPoolRequest->BindListView(Static_ListView, true);
        StaticPoolRequest->OnReadDone = [this](QvSNMPRequest2Controls*, QvSNMPError* e) {
            staticOk_ = Succeeded(e);
        };

        if (ReadLan()) {
            OpenedAddress = ED_IpAddr->Text();
            OpenedIPFrom = CB_IPFrom->ItemIndex();
            UpdateVisibility();
        }
    } catch (const std::exception& e) {
        StatusBar->SetSimpleText(e.what());
    }
    for (TEdit* e : {ED_IpAddr, ED_SubMask, ED_DefGw})
        e->SetMaxLength(15);
    UpdateEditable();
}

void TFM_LanCfg::UpdateEditable() {
    // Settings the device did not give are never written back.
    for (TWinControl* c :
         std::initializer_list<TWinControl*>{CB_IPFrom, ED_IpAddr, ED_SubMask, ED_DefGw,
                                             BT_LanCfgOk})
        c->SetEnabled(lanRead_);
}

bool TFM_LanCfg::ReadLan() {
    try {
        lanRead_ = LanRequest && LanRequest->Read();
    } catch (const std::exception& e) {
        StatusBar->SetSimpleText(e.what());
        lanRead_ = false;
    }
    UpdateEditable();
    return lanRead_;
}

void TFM_LanCfg::UpdateVisibility() {
    const bool shown = CB_IPFrom->ItemIndex() != 1;
    for (TControl* c : std::initializer_list<TControl*>{Label2, ED_IpAddr, Label3, ED_SubMask,
                                                        Label4, ED_DefGw})
        c->SetVisible(shown);
}

void TFM_LanCfg::CB_IPFromChange(TObject*) { UpdateVisibility(); }

void TFM_LanCfg::BT_LanCfgCancelClick(TObject*) { Close(); }

void TFM_LanCfg::FormCloseQuery(TObject*, bool& canClose) {
    // Completions of the pool reads must find the form still there.
    canClose = !writes_.Running() && !(PoolRequest && PoolRequest->busy) &&
               !(StaticPoolRequest && StaticPoolRequest->busy);
}

void TFM_LanCfg::Warn(const std::string& text) {
    MessageBox(this, text, "Warning", MB_OK | MB_ICONWARNING);
}

bool TFM_LanCfg::PoolKnown() {
    if (!PoolRequest) return false;
    if (PoolRequest->busy) WaitWhileBusy(*PoolRequest, QvReplyBoundMs(PoolRequest->request));
    if (!poolOk_ && !PoolRequest->busy) {
        // Never read, or the read failed: ask once more before judging.
        PoolRequest->Read();
        WaitWhileBusy(*PoolRequest, QvReplyBoundMs(PoolRequest->request));
    }
    return poolOk_ && !Ed_IPAF->Text().empty() && !Ed_PoolRan->Text().empty();
}

bool TFM_LanCfg::StaticPoolKnown() {
    if (!StaticPoolRequest) return false;
    if (StaticPoolRequest->busy)
        WaitWhileBusy(*StaticPoolRequest, QvReplyBoundMs(StaticPoolRequest->request));
    staticOk_ = false;
    StaticPoolRequest->Read();
    TFM_Waiting::Run([](TFM_Waiting& w) {
        w.Label2->SetCaption("Please wait...");
        w.Label3->SetCaption("Judge the IP whether can be used.");
        w.Countdown = 12;
        w.RebootFlag = 0;
    });
    // The table may still be arriving when the dialog closes.
    WaitWhileBusy(*StaticPoolRequest, QvReplyBoundMs(StaticPoolRequest->request));
    return staticOk_;
}

void TFM_LanCfg::BT_LanCfgOkClick(TObject*) {
    if (writes_.Running() || !LanRequest || !lanRead_) return;
    if (CB_IPFrom->ItemIndex() == 0)
        ApplyStatic();
    else if (CB_IPFrom->ItemIndex() == 1)
        ApplyDynamic();
}

void TFM_LanCfg::ApplyStatic() {
    namespace lc = mib::lancfg;
    if (!TMainForm::IsValidIP(ED_IpAddr->Text())) {
        Warn("Please input valid IP Address.");
        ED_IpAddr->Clear();
        return;
    }
    if (!TMainForm::IsValidMask(ED_SubMask->Text())) {
        Warn("Please input valid Subnet Mask.");
        ED_SubMask->Clear();
        return;
    }
    if (!TMainForm::IsValidIP(ED_DefGw->Text())) {
        Warn("Please input valid Gateway.");
        ED_DefGw->Clear();
        return;
    }
    if (!PoolKnown()) {
        Warn("Reject: The DHCP Server IP pool could not be read.");
        return;
    }
    if (InAddressPool(IpEditToNumber(Ed_IPAF), IpEditToNumber(Ed_PoolRan),
                      IpEditToNumber(ED_IpAddr))) {
        Warn("Reject: The IP conflicts with Dynamic DHCP Server IP");
        ReadLan();
        return;
    }
    // From here on the address is its four numbers: "192.168.001.010" is
    // pinged, compared and written as 192.168.1.10.
    const std::string address = DottedAddress::Parse(ED_IpAddr->Text())->Text();
    if (!SameDottedAddress(address, OpenedAddress)) {
        const PingResult r = PingAddress(address);
        if (r != PingResult::Silent) {
            Warn(r == PingResult::Answered ? "Reject: The IP already has been used."
                                           : "Reject: The IP could not be checked for use.");
            ReadLan();
            ED_IpAddr->SetFocus();
            return;
        }
        if (!StaticPoolKnown()) {
            Warn("Reject: The static DHCP Server IP pool could not be read.");
            return;
        }
        for (int k = 0; k < Static_ListView->Items().Count(); ++k) {
            const TListItem* item = Static_ListView->Items()[k];
            if (item->SubItems().Count() > 0 && SameDottedAddress(item->SubItems()[0], address)) {
                Warn("Reject: The IP conflicts with Static DHCP Server IP");
                ReadLan();
                return;
            }
        }
    }

    for (TEdit* e : {ED_IpAddr, ED_SubMask, ED_DefGw})
        e->SetText(DottedAddress::Parse(e->Text())->Text());
    ED_Restart->SetItemIndex(1);
    for (int i : {lc::IPAddress, lc::SubnetMask, lc::DefaultGateway})
        LanRequest->request.vars.Item(i)->Access = QvAccess::ReadWrite;
    const bool openedDynamic = OpenedIPFrom == 1;
    writes_.Add(LanRequest.get());
    writes_.Start([this, address, openedDynamic](bool ok, const QvSNMPError&) {
        if (!ok) {
            StatusBar->SetSimpleText("Set Error!");
            return;
        }
        StatusBar->SetSimpleText("Set Success!");
        TFM_Waiting::Run([&](TFM_Waiting& w) {
            if (openedDynamic) w.Label2->SetCaption("The device is restarting.");
            w.Label3->SetCaption("The system IP will be " + address);
        });
    });
}

void TFM_LanCfg::ApplyDynamic() {
    namespace lc = mib::lancfg;
    if (MessageBox(this, "Device will reboot,continue?", "Warning",
                   MB_OKCANCEL | MB_ICONWARNING) != IDOK)
        return;
    for (int i : {lc::IPAddress, lc::SubnetMask, lc::DefaultGateway})
        LanRequest->request.vars.Item(i)->Access = QvAccess::Invalid;
    writes_.Add(LanRequest.get());
    writes_.Start([this](bool ok, const QvSNMPError&) {
        if (!ok) return;
        StatusBar->SetSimpleText("Set Success!");
        TFM_Waiting::Run();
    });
}
