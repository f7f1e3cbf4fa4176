#include "forms/admin/TFM_StaticIP.h"

#include "app/TFM_Waiting.h"
#include "app/TMainForm.h"
#include "base/DottedAddress.h"
#include "base/SysUtils.h"
#include "binding/QvSNMPRequest2Edits.h"
#include "forms/admin/IpEditToNumber.h"
#include "forms/admin/PingHost.h"
#include "forms/admin/TFM_DHCP.h"
#include "mib/DHCPVars.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"
#include "ui/ListView.h"
#include "ui/StatusBar.h"
#include "ui/Widgets.h"

#include <cctype>

TFM_StaticIP* FM_StaticIP = nullptr;

namespace {

using mib::staticpool::FreeIP;

TEdit* Edit(TWinControl* parent, const char* name, int left, int top, int width, int maxLength) {
    auto* e = NewControl<TEdit>(parent, parent, name, left, top, width, 21);
    e->SetMaxLength(maxLength);
    return e;
}

TEdit* Hidden(TWinControl* parent, const char* name) {
    TEdit* e = Edit(parent, name, 0, 0, 10, 0);
    e->SetVisible(false);
    return e;
}

bool IsHexDigit(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

// "0.0.0.0" however it is spelt: the value that means "none" for WINS and DNS.
bool IsNoAddress(const std::string& text) {
    const auto a = DottedAddress::Parse(text);
    return a && a->Number() == 0;
}

// An accepted address is written as the checks read it.
void Canonical(TEdit* e) {
    if (const auto a = DottedAddress::Parse(e->Text())) e->SetText(a->Text());
}

} // namespace

TFM_StaticIP::TFM_StaticIP(TComponent* owner) : TForm(owner) {
    FM_StaticIP = this;
    SetFrame({.name = "FM_StaticIP", .caption = "Static Pool Settings", .clientWidth = 330,
              .clientHeight = 330});

    NewLabel(this, this, "Index", 16, 14);
    LA_Index = new TLabel(this);
    LA_Index->SetName("LA_Index");
    LA_Index->SetBounds(130, 14, 60, 16);
    NewLabel(this, this, "IP Address", 16, 42);
    Ed_AsgIP = Edit(this, "Ed_AsgIP", 130, 38, 180, 15);
    NewLabel(this, this, "MAC Address", 16, 70);
    Ed_AsgMac = Edit(this, "Ed_AsgMac", 130, 66, 180, 12);
    NewLabel(this, this, "Subnet Mask", 16, 98);
    Ed_SubMask = Edit(this, "Ed_SubMask", 130, 94, 180, 15);
    NewLabel(this, this, "Gateway", 16, 126);
    Ed_Gatway = Edit(this, "Ed_Gatway", 130, 122, 180, 15);
    NewLabel(this, this, "WINS", 16, 154);
    Ed_Wins = Edit(this, "Ed_Wins", 130, 150, 180, 15);
    NewLabel(this, this, "DNS", 16, 182);
    Ed_DNS = Edit(this, "Ed_DNS", 130, 178, 180, 15);
    NewLabel(this, this, "Domain Name", 16, 210);
    Ed_DomNa = Edit(this, "Ed_DomNa", 130, 206, 180, 63);
    NewLabel(this, this, "Status", 16, 238);
    CB_Stat = new TComboBox(this);
    CB_Stat->SetName("CB_Stat");
    CB_Stat->SetStyle(csDropDownList);
    CB_Stat->SetBounds(130, 234, 100, 22);
    Apply = new TButton(this);
    Apply->SetName("Apply");
    Apply->SetCaption("Apply");
    Apply->SetBounds(230, 268, 80, 25);
    StatusBar1 = new TStatusBar(this);
    StatusBar1->SetName("StatusBar1");
    StatusBar1->SetSimplePanel(true);
    StatusBar1->SetAlign(alBottom);

    Ed_OldIP = Hidden(this, "Ed_OldIP");
    ED_OldMAC = Hidden(this, "ED_OldMAC");
    Ed_AsgIP2 = Hidden(this, "Ed_AsgIP2");
    Ed_AsgMac2 = Hidden(this, "Ed_AsgMac2");
    Ed_SubMask2 = Hidden(this, "Ed_SubMask2");
    Ed_Gatway2 = Hidden(this, "Ed_Gatway2");
    Ed_Wins2 = Hidden(this, "Ed_Wins2");
    Ed_DNS2 = Hidden(this, "Ed_DNS2");
    Ed_DomNa2 = Hidden(this, "Ed_DomNa2");

    Apply->OnClick = [this](TObject* s) { ApplyClick(s); };
    Ed_DomNa->OnChange = [this](TObject* s) { Ed_DomNaChange(s); };
}

TFM_StaticIP::~TFM_StaticIP() {
    freeRowWriter_.reset();
    if (FM_StaticIP == this) FM_StaticIP = nullptr;
}

bool TFM_StaticIP::AddMode() const { return Ed_OldIP->Enabled(); }

void TFM_StaticIP::KeepOldValues() {
    Ed_OldIP->SetEnabled(false);
    Ed_OldIP->SetText(Ed_AsgIP->Text());
    ED_OldMAC->SetText(Ed_AsgMac->Text());
    OldMask = Ed_SubMask->Text();
    OldGateway = Ed_Gatway->Text();
    OldWins = Ed_Wins->Text();
    OldDns = Ed_DNS->Text();
    OldDomain = Ed_DomNa->Text();
    OldStatus = CB_Stat->ItemIndex();
}

void TFM_StaticIP::RestoreOldValues() {
    Ed_AsgIP->SetText(Ed_OldIP->Text());
    Ed_AsgMac->SetText(ED_OldMAC->Text());
    Ed_SubMask->SetText(OldMask);
    Ed_Gatway->SetText(OldGateway);
    Ed_Wins->SetText(OldWins);
    Ed_DNS->SetText(OldDns);
    Ed_DomNa->SetText(OldDomain);
    CB_Stat->SetItemIndex(OldStatus);
}

void TFM_StaticIP::CopyToTwins() {
    Ed_AsgIP2->SetText(Ed_AsgIP->Text());
    Ed_AsgMac2->SetText(Ed_AsgMac->Text());
    Ed_SubMask2->SetText(Ed_SubMask->Text());
    Ed_Gatway2->SetText(Ed_Gatway->Text());
    Ed_Wins2->SetText(Ed_Wins->Text());
    Ed_DNS2->SetText(Ed_DNS->Text());
    Ed_DomNa2->SetText(Ed_DomNa->Text());
}

bool TFM_StaticIP::IsMacText(const std::string& text) {
    if (text.size() != 12) return false;
    for (char c : text)
        if (!IsHexDigit(c)) return false;
    return true;
}

bool TFM_StaticIP::SameMac(const std::string& a, const std::string& b) {
    if (!IsMacText(a) || !IsMacText(b)) return false;
    for (size_t i = 0; i < 12; ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

void TFM_StaticIP::Refuse(const std::string& text, const std::string& caption,
                          TEdit* clearAndFocus) {
    MessageBox(this, text, caption, MB_OK | MB_ICONWARNING);
    if (clearAndFocus) {
        clearAndFocus->Clear();
        clearAndFocus->SetFocus();
    }
}

void TFM_StaticIP::Ed_DomNaChange(TObject*) {}

void TFM_StaticIP::ApplyClick(TObject*) {
    TFM_DHCP* dhcp = FM_DHCP;
    if (!dhcp || !dhcp->StaticPoolRequest || writes_.Running()) return;
    TListView* rows = dhcp->LV_StaticPoolSet;
    const std::string index = LA_Index->Caption();
    const std::string ip = Ed_AsgIP->Text();

    // The row's own index column tells it apart, whatever order the walk
    // gave; addresses are compared as numbers, however they are spelt.
    if (!IsNoAddress(ip)) {
        for (int k = 0; k < rows->Items().Count(); ++k) {
            const TListItem* item = rows->Items()[k];
            if (item->Caption() != index && item->SubItems().Count() > 0 &&
                SameDottedAddress(item->SubItems()[0], ip))
                return Refuse("Reject: The IP has already existed. ", "Warning", nullptr);
        }
    }
    if (!TMainForm::IsValidMask(Ed_SubMask->Text()))
        return Refuse("Please input valid SubMask.", "Waring", Ed_SubMask);
    if (!TMainForm::IsValidIP(Ed_Gatway->Text()))
        return Refuse("Please input valid Gateway.", "Waring", Ed_Gatway);
    if (!TMainForm::IsValidIP(Ed_Wins->Text()) && !IsNoAddress(Ed_Wins->Text()))
        return Refuse("Please input valid Wins.", "Waring", Ed_Wins);
    if (!TMainForm::IsValidIP(Ed_DNS->Text()) && !IsNoAddress(Ed_DNS->Text()))
        return Refuse("Please input valid DNS.", "Waring", Ed_DNS);
    if (!TMainForm::IsValidIP(ip)) return Refuse("Please input valid IP address", "Waring", Ed_AsgIP);
    const DottedAddress address = *DottedAddress::Parse(ip);

    // An entry whose host is up keeps its address: only a new one is tested.
    if (AddMode() || !SameDottedAddress(ip, Ed_OldIP->Text())) {
        const PingResult r = PingAddress(address.Text());
        if (r == PingResult::Answered)
            return Refuse("Reject: The IP already has been used.", "Warning", nullptr);
        if (r != PingResult::Silent)
            return Refuse("Reject: The IP could not be checked for use.", "Warning", nullptr);
    }
    // Anything but twelve hexadecimal digits would reach the device as zeros.
    const std::string mac = Ed_AsgMac->Text();
    if (!IsMacText(mac) || mac == mib::staticpool::FreeMac)
        return Refuse("Please input valid MAC.", "Warning", nullptr);
    if (InAddressPool(IpEditToNumber(dhcp->Ed_IPAF), IpEditToNumber(dhcp->Ed_PoolRan),
                      address.Number()))
        return Refuse("Reject: The IP has already existed in IP Dynamic pool.", "Warning", nullptr);
    if (SameDottedAddress(ip, dhcp->Ed_ext->Text()))
        return Refuse("Reject: The IP is the system IP.", "Warning", nullptr);

    for (TEdit* e : {Ed_AsgIP, Ed_SubMask, Ed_Gatway, Ed_Wins, Ed_DNS})
        Canonical(e);
    CopyToTwins();
    const TListItem* other = nullptr;
    for (int k = 0; k < rows->Items().Count(); ++k) {
        const TListItem* item = rows->Items()[k];
        if (item->Caption() != index && item->SubItems().Count() > 1 &&
            SameMac(item->SubItems()[1], mac)) {
            other = item;
            break;
        }
    }
    if (other && !AddMode()) {
        RestoreOldValues();
        return Refuse("Reject: DHCPS static IP already exists in static DHCP server!", "Warning",
                      nullptr);
    }

    // The other row with this MAC goes free first, so the table never holds
    // the MAC twice; then the function and the entry's own row. Should a
    // later write be refused, the freed row gets its entry back.
    freeRowWriter_.reset();
    movedIndex_.clear();
    if (other) {
        movedIndex_ = other->Caption();
        movedValues_ = StaticRowWriter::ValuesOf(*other);
        freeRowWriter_ =
            std::make_unique<StaticRowWriter>(this, movedIndex_, StaticRowWriter::FreeValues());
        writes_.Add(freeRowWriter_.get(), false);
    }
    writes_.Add(dhcp->FunctionRequest.get());
    writes_.Add(dhcp->StaticPoolRequest.get());
    dhcp->StaticOperationRunning = true;
    writes_.Start([this](bool ok, const QvSNMPError& failure) {
        TFM_DHCP* d = FM_DHCP;
        if (d) d->StaticOperationRunning = false;
        if (!ok) {
            if (d) d->ShowWriteFailure(failure, true);
            if (!movedIndex_.empty() && writes_.FailedGroup() != freeRowWriter_.get())
                RestoreMovedRow();
            movedIndex_.clear();
            return;
        }
        movedIndex_.clear();
        // The entry's write goes on to read the table again; the numbered
        // list follows once that read is in. A read of our own here would
        // walk the table a second time beside it.
        if (d) d->RefreshListsPending = true;
        Finish();
    });
}

void TFM_StaticIP::RestoreMovedRow() {
    StaticRowWriter restore(this, movedIndex_, movedValues_);
    try {
        restore.Write(false, true, "", nullptr);
    } catch (const std::exception&) {
        // The refusal is already on screen; the list shows what the device holds.
    }
}

bool TFM_StaticIP::TakeSaved() {
    const bool saved = saved_;
    saved_ = false;
    return saved;
}

void TFM_StaticIP::Finish() {
    saved_ = true;
    SetModalResult(mrOk);
}

void TFM_StaticIP::ShowSavedWait() {
    TFM_Waiting::Run([&](TFM_Waiting& w) {
        w.Countdown = 15;
        w.RebootDelayTicks = 22;
        w.RebootFlag = 0;
        w.Label3->SetCaption("But the device isn't restarting.");
    });
}
