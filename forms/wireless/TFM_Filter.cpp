#include "forms/wireless/TFM_Filter.h"

#include "app/MainUnit.h"
#include "app/TFM_Waiting.h"
#include "app/TMainForm.h"
#include "binding/QvFailureCapture.h"
#include "binding/QvSNMPRequest2Edits.h"
#include "forms/wireless/FormParts.h"
#include "forms/wireless/TFM_FilterMAC.h"
#include "mib/FilterVars.h"
#include "ui/Application.h"
#include "ui/PageControl.h"
#include "ui/StatusBar.h"
#include "ui/Widgets.h"

#include <exception>

TFM_Filter* FM_Filter = nullptr;

namespace {


namespace fv = mib::filter;

constexpr int kDisableItem = 2; // "Disable" in the access control list

TComboBox* Combo(TComponent* owner, TWinControl* parent, const std::string& name, int l, int t) {
    TComboBox* c = NewControl<TComboBox>(owner, parent, name, l, t, 120, 22);
    c->SetStyle(csDropDownList);
    return c;
}

struct BandControls {
    TComboBox* access;
    TComboBox* station;
    TComboBox* ethernet;
    TComboBox* between;
    TLabel* betweenLabel1;
    TLabel* betweenLabel2;
    TButton* list;
};

// One band page; the names of band 2's controls end in "g".
BandControls BuildPage(TComponent* owner, TTabSheet* page, bool g) {
    auto name = [g](const char* base) { return std::string(base) + (g ? "g" : "a"); };
    BandControls b{};
    auto* access =
        NewControl<TGroupBox>(owner, page, "", 8, 8, 376, 88, "Wireless Access Setting:");
    NewControl<TLabel>(owner, access, "", 12, 28, 120, 16, "Access Control");
    b.access = Combo(owner, access, name("CB_AC"), 184, 24);
    b.list = NewControl<TButton>(owner, access, name("Bt_MacTab"), 184, 54, 160, 25,
                                 "Access Control List");
    auto* partition = NewControl<TGroupBox>(owner, page, "", 8, 104, 376, 132, "WLAN Partition:");
    NewControl<TLabel>(owner, partition, "", 12, 28, 160, 16, "Internal Station Connection ");
    b.station = Combo(owner, partition, name("CB_InSC"), 184, 24);
    NewControl<TLabel>(owner, partition, "", 12, 60, 160, 16, "Ethernet to WLAN Access");
    b.ethernet = Combo(owner, partition, name("CB_E2WA"), 184, 56);
    b.betweenLabel1 = NewControl<TLabel>(owner, partition, g ? "" : "La_InSCAGa", 12, 88, 165, 16,
                                         "Internal Station Connection Between ");
    b.betweenLabel2 = NewControl<TLabel>(owner, partition, g ? "" : "La_InSCBa", 12, 104, 165, 16,
                                         "802.11a and 802.11g");
    b.between = Combo(owner, partition, name("CB_InSCB"), 184, 92);
    return b;
}

} // namespace

void TFM_Filter::RegisterOpener() {
    TMainForm::RegisterModalForm<TFM_Filter>("TFM_Filter");
}

TFM_Filter::TFM_Filter(TComponent* owner) : TForm(owner) {
    FM_Filter = this;
    SetFrame({.name = "FM_Filter", .caption = "Advanced \\ Filter", .clientWidth = 408,
              .clientHeight = 340});

    const formparts::BandPages bands =
        formparts::MakeBandPages(this, "Bt_MacTableg", "TS_80211a", "TS_80211g", 8, 8, 392, 270);
    Bt_MacTableg = bands.pages;
    TS_80211a = bands.band1;
    TS_80211g = bands.band2;

    const BandControls a = BuildPage(this, TS_80211a, false);
    CB_ACa = a.access;
    CB_InSCa = a.station;
    CB_E2WAa = a.ethernet;
    CB_InSCBa = a.between;
    La_InSCAGa = a.betweenLabel1;
    La_InSCBa = a.betweenLabel2;
    Bt_MacTaba = a.list;
    const BandControls g = BuildPage(this, TS_80211g, true);
    CB_ACg = g.access;
    CB_InSCg = g.station;
    CB_E2WAg = g.ethernet;
    CB_InSCBg = g.between;
    Bt_MacTabg = g.list;

    Bt_Apply = NewControl<TButton>(this, this, "Bt_Apply", 144, 286, 80, 25, "Apply");
    Bt_Refresh = NewControl<TButton>(this, this, "Bt_Refresh", 232, 286, 80, 25, "Refresh");
    Bt_Close = NewControl<TButton>(this, this, "Bt_Close", 320, 286, 80, 25, "Close");
    StatusBar = new TStatusBar(this);
    StatusBar->SetName("StatusBar");
    StatusBar->SetSimplePanel(true);
    StatusBar->SetAlign(alBottom);

    // Set before the binding takes the combos over: it chains behind.
    CB_ACa->OnChange = [this](TObject* s) { CB_ACaChange(s); };
    CB_ACg->OnChange = [this](TObject* s) { CB_ACgChange(s); };
    CB_InSCBa->OnChange = [this](TObject* s) { CB_InSCBaChange(s); };
    CB_InSCBg->OnChange = [this](TObject* s) { CB_InSCBgChange(s); };
    Bt_MacTaba->OnClick = [this](TObject* s) { Bt_MacTabaClick(s); };
    Bt_MacTabg->OnClick = [this](TObject* s) { Bt_MacTabgClick(s); };
    Bt_Apply->OnClick = [this](TObject* s) { Bt_ApplyClick(s); };
    Bt_Refresh->OnClick = [this](TObject* s) { Bt_RefreshClick(s); };
    Bt_Close->OnClick = [this](TObject* s) { Bt_CloseClick(s); };
    OnCreate = [this](TObject* s) { FormCreate(s); };
}

TFM_Filter::~TFM_Filter() {
    Request.reset();
    if (FM_Filter == this) FM_Filter = nullptr;
}

void TFM_Filter::FormCreate(TObject*) {
    try {
        Request = std::make_unique<QvSNMPRequest2Edits>(this);
        Request->request.vars = QvSNMPVarList(mib::filterTable, MVT_SV, 0);
        Request->mode = 0;
        QvSNMPVarList& v = Request->request.vars;
        auto bind = [&](int row, TComboBox* c) {
            Request->AssociateComboBox(row, c);
            v.Item(row)->Access = QvAccess::ReadWrite;
        };
        const bool bandA = TS_80211a->TabVisible();
        const bool bandG = TS_80211g->TabVisible();
        if (bandA) {
            TS_80211a->SetCaption(g_BandCaption);
            bind(fv::AccessA, CB_ACa);
            bind(fv::StationA, CB_InSCa);
            bind(fv::EthernetA, CB_E2WAa);
        }
        if (bandG) {
            TS_80211g->SetCaption(g_BandCaption);
            bind(fv::AccessG, CB_ACg);
            bind(fv::StationG, CB_InSCg);
            bind(fv::EthernetG, CB_E2WAg);
        }
        const bool both = bandA && bandG;
        if (both) {
            bind(fv::BetweenA, CB_InSCBa);
            bind(fv::BetweenG, CB_InSCBg);
        }
        for (TControl* c : std::initializer_list<TControl*>{La_InSCAGa, La_InSCBa, CB_InSCBa})
            c->SetVisible(both);
        Request->SetStatusBar(StatusBar);
    } catch (const std::exception& e) {
        StatusBar->SetSimpleText(e.what());
        return;
    }
    if (ReadNow()) UpdateListButtons();
}

bool TFM_Filter::ReadNow() {
    if (!Request) return false;
    std::string failure;
    bool ok = false;
    try {
        QvFailureCapture capture(Request->request);
        ok = Request->Read();
        failure = capture.First().Message;
    } catch (const std::exception& e) {
        failure = e.what();
    }
    if (!ok) StatusBar->SetSimpleText(failure.empty() ? "Reading Error!" : failure);
    return ok;
}

void TFM_Filter::UpdateListButtons() {
    Bt_MacTaba->SetEnabled(CB_ACa->ItemIndex() != kDisableItem);
    Bt_MacTabg->SetEnabled(CB_ACg->ItemIndex() != kDisableItem);
}

void TFM_Filter::CB_ACaChange(TObject*) { UpdateListButtons(); }
void TFM_Filter::CB_ACgChange(TObject*) { UpdateListButtons(); }

void TFM_Filter::CB_InSCBaChange(TObject*) { CB_InSCBg->SetItemIndex(CB_InSCBa->ItemIndex()); }
void TFM_Filter::CB_InSCBgChange(TObject*) { CB_InSCBa->SetItemIndex(CB_InSCBg->ItemIndex()); }

void TFM_Filter::Bt_ApplyClick(TObject*) {
    if (!Request || writes_.Running()) return;
    writes_.Add(Request.get(), true);
    writes_.Start([this](bool ok, const QvSNMPError&) {
        if (!ok) {
            StatusBar->SetSimpleText("Setting Error!");
            return;
        }
        TFM_Waiting::Run();
    });
}

void TFM_Filter::Bt_RefreshClick(TObject*) {
    ReadNow();
    UpdateListButtons();
}

void TFM_Filter::Bt_CloseClick(TObject*) { Close(); }

void TFM_Filter::OpenList(std::uint8_t& flag) {
    flag = 1;
    {
        std::unique_ptr<TFM_FilterMAC> list(NewForm<TFM_FilterMAC>(Application));
        list->SetCaption("IEEE 802.11g MAC Address Table");
        list->ShowModal();
    }
    flag = 0;
}

void TFM_Filter::Bt_MacTabaClick(TObject*) { OpenList(ListFlagA); }
void TFM_Filter::Bt_MacTabgClick(TObject*) { OpenList(ListFlagG); }
