#include "forms/wireless/TFM_Performace.h"

#include "app/MainUnit.h"
#include "app/TFM_Waiting.h"
#include "app/TMainForm.h"
#include "binding/QvSNMPRequest2Edits.h"
#include "binding/QvWaitIdle.h"
#include "forms/wireless/FormParts.h"
#include "mib/PerformaceVars.h"
#include "mib/WirelessVars.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"
#include "ui/ListView.h"
#include "ui/PageControl.h"
#include "ui/StatusBar.h"
#include "ui/Widgets.h"

#include <algorithm>
#include <exception>
#include <initializer_list>

namespace {

using formparts::Fill;
using formparts::ReadNow;

const char* const kDataRates[] = {"Auto",  "1 Mb",  "2 Mb",  "5.5 Mb", "6 Mb",  "9 Mb", "11 Mb",
                                  "12 Mb", "18 Mb", "24 Mb", "36 Mb",  "48 Mb", "54 Mb"};
// Rate combos in table-row order.
const char* const kRateCaptions[] = {"1Mb/Sec",  "2Mb/Sec",  "5.5Mb/Sec", "11Mb/Sec",
                                     "6Mb/Sec",  "9Mb/Sec",  "12Mb/Sec",  "18Mb/Sec",
                                     "24Mb/Sec", "36Mb/Sec", "48Mb/Sec",  "54Mb/Sec"};
constexpr int kFirstOfdm = 4;
const char* const kDisable = "Disable";
const char* const kEnable = "Enable";
const char* const kBasic = "Basic";

int Cap(TEdit* TMainForm::*field) {
    return MainForm && MainForm->*field ? TMainForm::FieldAsInt(MainForm->*field) : 0;
}

void SelectText(TComboBox* c, const std::string& text) {
    c->SetItemIndex(c->Items().IndexOf(text));
}

// A rate text on its combo: a two-item combo has no "Basic", which it shows
// as "Enable".
void ShowRate(TComboBox* c, const std::string& text) {
    if (text == kBasic && c->Items().Count() == 2)
        SelectText(c, kEnable);
    else
        SelectText(c, text);
}

// A control of a group may be edited only when the group's last read did
// not fail.
void SetUsable(TControl* c, bool on, const QvSNMPRequest2Controls* group) {
    c->SetEnabled(on && !(group && group->ReadFailed()));
}

bool Contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

// A whole unsigned number, or -1.
long NumberOf(const std::string& text) {
    if (text.empty() || text.size() > 9) return -1;
    for (char c : text)
        if (c < '0' || c > '9') return -1;
    return std::stol(text);
}

TComboBox* List(TForm* form, TWinControl* parent, const char* name, int l, int t, int w) {
    TComboBox* c = NewControl<TComboBox>(form, parent, name, l, t, w, 22);
    c->SetStyle(csDropDownList);
    return c;
}

} // namespace

void TFM_Performace::RegisterOpener() {
    TMainForm::RegisterModalForm<TFM_Performace>("TFM_Performace");
}

TFM_Performace::TFM_Performace(TComponent* owner) : TForm(owner) {
    SetFrame({.name = "FM_Performace", .caption = "Advanced \\ Performance", .clientWidth = 460});

    const formparts::BandPages bands =
        formparts::MakeBandPages(this, "PC_Performace", "TabSheetA", "TabSheetG", 8, 8, 444, 400);
    PC_Performace = bands.pages;
    TabSheetA = bands.band1;
    TabSheetG = bands.band2;
    TWinControl* p = TabSheetA;

    GB_Advance =
        NewControl<TGroupBox>(this, p, "GB_Advance", 6, 6, 424, 340, "Advance Wireless Settings");
    TWinControl* g = GB_Advance;
    const int lx = 12, cx = 220, cw = 180;
    auto row = [&](const std::string& caption, TControl* control, bool reserve = false) {
        TLabel* l = NewLabel(this, g, caption, lx, 0);
        rows_.push_back({l, control, true, reserve});
        return l;
    };
    CB_DtRta = List(this, g, "CB_DtRta", cx, 0, cw);
    row("Data Rate", CB_DtRta);
    Ed_BeInta = NewControl<TEdit>(this, g, "Ed_BeInta", cx, 0, cw, 21);
    row("Beacon Interval (20 - 1000)", Ed_BeInta);
    Ed_DTIMa = NewControl<TEdit>(this, g, "Ed_DTIMa", cx, 0, cw, 21);
    row("DTIM (1 - 255)", Ed_DTIMa);
    Ed_FragLena = NewControl<TEdit>(this, g, "Ed_FragLena", cx, 0, cw, 21);
    row("Fragment Length (256 - 2346)", Ed_FragLena);
    Ed_RTSa = NewControl<TEdit>(this, g, "Ed_RTSa", cx, 0, cw, 21);
    row("RTS Length (256 - 2346)", Ed_RTSa);
    CB_TranPa = List(this, g, "CB_TranPa", cx, 0, cw);
    row("Transmit Power", CB_TranPa);
    CB_RadWava = List(this, g, "CB_RadWava", cx, 0, cw);
    row("Radio", CB_RadWava);
    CB_Gonly = List(this, g, "CB_Gonly", cx, 0, cw);
    La_Gonly = row("Wireless B/G Mode", CB_Gonly);
    CB_XRa = List(this, g, "CB_XRa", cx, 0, cw);
    La_XRa = row("XR", CB_XRa);
    rows_.back().shown = false;
    CB_WMM = List(this, g, "CB_WMM", cx, 0, cw);
    La_WMM = row("Wireless Qos(WMM)", CB_WMM);
    CB_Preamble = List(this, g, "CB_Preamble", cx, 0, cw);
    // A preamble row that did not answer keeps its place.
    La_Preamble = row("Preamble", CB_Preamble, true);
    CB_Snooping = List(this, g, "CB_Snooping", cx, 0, cw);
    Lab_Snooping = row("IGMP Snooping", CB_Snooping);

    // Bound, not shown.
    CB_SupModea = List(this, g, "CB_SupModea", 0, 0, 10);
    CB_SupModea->Hide();
    CB_ApMode = List(this, g, "CB_ApMode", 0, 0, 10);
    CB_ApMode->Hide();
    CB_AuSc = List(this, g, "CB_AuSc", 0, 0, 10);
    CB_AuSc->Hide();
    Ed_DtRta = NewControl<TEdit>(this, g, "Ed_DtRta", 0, 0, 10, 10);
    Ed_DtRta->Hide();
    Ed_Freqa = NewControl<TEdit>(this, g, "Ed_Freqa", 0, 0, 10, 10);
    Ed_Freqa->Hide();
    Ed_DtLista = NewControl<TEdit>(this, g, "Ed_DtLista", 0, 0, 10, 10);
    Ed_DtLista->Hide();
    Ed_dataratecontrolsupport =
        NewControl<TEdit>(this, g, "Ed_dataratecontrolsupport", 0, 0, 10, 10);
    Ed_dataratecontrolsupport->Hide();
    ListView1 = NewControl<TListView>(this, g, "ListView1", 0, 0, 10, 10);
    ListView1->Hide();

    GB_DataRate =
        NewControl<TGroupBox>(this, p, "GB_DataRate", 6, 0, 424, 204, "Advance Data Rate Settings");
    NewLabel(this, GB_DataRate, "Enable Data Rate Control", 12, 22);
    CB_DateStatus = List(this, GB_DataRate, "CB_DateStatus", cx, 18, 100);
    NewLabel(this, GB_DataRate, "Data Rate(Mb/Sec):", 12, 48);
    for (int i = 0; i < kRates; ++i) {
        const int x = 12 + (i % 3) * 136;
        const int y = 68 + (i / 3) * kRowPitch;
        const std::string name = "CB_DRate" + std::to_string(i + 1);
        La_DRate[i] = NewLabel(this, GB_DataRate, kRateCaptions[i], x, y + 4);
        CB_DRate[i] = List(this, GB_DataRate, name.c_str(), x + 64, y, 70);
        const bool basic = i <= 4 || i == 6 || i == 8;
        if (basic)
            Fill(CB_DRate[i], {kDisable, kEnable, kBasic});
        else
            Fill(CB_DRate[i], {kDisable, kEnable});
    }
    BT_RDateRate = NewControl<TButton>(this, GB_DataRate, "BT_RDateRate", 12, 68 + 4 * kRowPitch,
                                       180, 25, "Reset Data Rate Settings");

    Bt_Apply_a = NewControl<TButton>(this, this, "Bt_Apply_a", 286, 0, 80, 25, "Apply");
    Bt_Refresh_a = NewControl<TButton>(this, this, "Bt_Refresh_a", 372, 0, 80, 25, "Refresh");
    StatusBar = new TStatusBar(this);
    StatusBar->SetName("StatusBar");
    StatusBar->SetSimplePanel(true);
    StatusBar->SetAlign(alBottom);

    // Set before the bindings take the controls over: they chain behind.
    CB_Gonly->OnChange = [this](TObject* s) { CB_GonlyChange(s); };
    CB_DateStatus->OnChange = [this](TObject* s) { CB_DateStatusChange(s); };
    CB_ApMode->OnChange = [this](TObject* s) { CB_ApModeChange(s); };
    CB_SupModea->OnChange = [this](TObject* s) { CB_SupModeaChange(s); };
    Ed_BeInta->OnExit = [this](TObject* s) { Ed_BeIntaExit(s); };
    Ed_DTIMa->OnExit = [this](TObject* s) { Ed_DTIMaExit(s); };
    Ed_FragLena->OnExit = [this](TObject* s) { Ed_FragLenaExit(s); };
    Ed_RTSa->OnExit = [this](TObject* s) { Ed_RTSaExit(s); };
    Bt_Apply_a->OnClick = [this](TObject* s) { Bt_Apply_aClick(s); };
    Bt_Refresh_a->OnClick = [this](TObject* s) { Bt_Refresh_aClick(s); };
    BT_RDateRate->OnClick = [this](TObject* s) { BT_RDateRateClick(s); };
    OnCloseQuery = [this](TObject* s, bool& can) { FormCloseQuery(s, can); };
    OnCreate = [this](TObject* s) { FormCreate(s); };
    Relayout();
}

TFM_Performace::~TFM_Performace() {
    for (auto* g : {&RateTable, &RadioGroup, &ApModeGroup, &WifiModeGroup, &GonlyGroup, &XRGroup,
                    &AutoScanGroup, &WMMGroup, &PreambleGroup, &SuperGGroup, &MainGroup,
                    &RateSupportGroup, &RateStatusGroup, &IgmpGroup})
        g->reset();
}

// --- layout ------------------------------------------------------------------------

void TFM_Performace::Relayout() {
    int y = 20;
    for (Row& r : rows_) {
        r.label->SetVisible(r.shown);
        r.control->SetVisible(r.shown);
        if (r.shown) {
            r.label->SetTop(y + 4);
            r.control->SetTop(y);
        }
        if (r.shown || r.reserve) y += kRowPitch;
    }
    GB_Advance->SetHeight(y + 6);
    int bottom = GB_Advance->Top() + GB_Advance->Height();
    if (GB_DataRate->Visible()) {
        GB_DataRate->SetTop(bottom + 6);
        bottom = GB_DataRate->Top() + GB_DataRate->Height();
    }
    PC_Performace->SetHeight(bottom + 36);
    Bt_Apply_a->SetTop(PC_Performace->Top() + PC_Performace->Height() + 8);
    Bt_Refresh_a->SetTop(Bt_Apply_a->Top());
    SetClientHeight(Bt_Apply_a->Top() + Bt_Apply_a->Height() + 30);
}

// --- opening -----------------------------------------------------------------------

namespace {
std::unique_ptr<QvSNMPRequest2Edits> NewGroup(TFM_Performace* form, const QvSNMPVar* table,
                                              int kind, int keys, int mode = 0) {
    auto g = std::make_unique<QvSNMPRequest2Edits>(form);
    g->request.vars =
        QvSNMPVarList(table, static_cast<uint8_t>(kind), static_cast<uint32_t>(keys));
    g->mode = static_cast<uint8_t>(mode);
    return g;
}
} // namespace

void TFM_Performace::FormCreate(TObject*) {
    if (!TabSheetA->TabVisible()) return;
    // 1.
    TabSheetA->SetCaption(g_BandCaption);
    ApModeGroup = NewGroup(this, mib::perfApModeTable, MVT_SV, 0);
    ApModeGroup->request.vars.Item(0)->OptionList = Cap(&TMainForm::ApmodeStringChangeSupport) == 1
                                                        ? &mib::wlApModeNewNamesList
                                                        : &mib::wlApModeList;
    ApModeGroup->AssociateComboBox(0, CB_ApMode);
    ReadNow(ApModeGroup.get());

    // 2. The B/G mode from the new object, else from the old one.
    WifiModeGroup = NewGroup(this, mib::perfWifiModeTable, SVT_SV, 0);
    WifiModeGroup->AssociateComboBox(0, CB_Gonly);
    WifiModeRead = ReadNow(WifiModeGroup.get());
    if (!WifiModeRead) {
        WifiModeGroup->UnbindVariable(0);
        GonlyGroup = NewGroup(this, mib::perfGonlyTable, MVT_SV, 0);
        GonlyGroup->AssociateComboBox(0, CB_Gonly);
        GonlyRead = ReadNow(GonlyGroup.get());
        rows_[7].shown = GonlyRead;
    }

    // 3.-6.
    XRGroup = NewGroup(this, mib::perfXRTable, MVT_SV, 0);
    XRGroup->AssociateComboBox(0, CB_XRa);
    XRRead = ReadNow(XRGroup.get());
    rows_[8].shown = XRRead;
    AutoScanGroup = NewGroup(this, mib::perfAutoScanTable, MVT_SV, 0);
    AutoScanGroup->AssociateComboBox(0, CB_AuSc);
    WMMGroup = NewGroup(this, mib::perfWMMTable, SVT_SV, 0);
    WMMGroup->AssociateComboBox(0, CB_WMM);
    WMMRead = ReadNow(WMMGroup.get());
    rows_[9].shown = WMMRead;
    PreambleGroup = NewGroup(this, mib::perfPreambleTable, SVT_SV, 0);
    PreambleGroup->AssociateComboBox(0, CB_Preamble);
    PreambleRead = ReadNow(PreambleGroup.get());
    rows_[10].shown = PreambleRead;

    // 7.-8.
    RadioGroup = NewGroup(this, mib::perfRadioTable, MVT_SV, 0, 1);
    RadioGroup->AssociateComboBox(0, CB_RadWava);
    ReadNow(RadioGroup.get());
    SuperGGroup = NewGroup(this, mib::perfSuperGTable, SVT_SV, 0);
    SuperGGroup->request.Timeout = 1000;
    const int turbo = Cap(&TMainForm::ED_Turbomode);
    SuperGGroup->request.vars.Item(0)->OptionList = turbo == 0   ? &mib::wlSuperG2List
                                                    : turbo == 2 ? &mib::wlSuperG3List
                                                                 : &mib::wlSuperG4List;
    SuperGGroup->AssociateComboBox(0, CB_SupModea);
    ReadNow(SuperGGroup.get());

    // 9.
    MainGroup = NewGroup(this, mib::perfMainTable, MVT_SV, 0);
    MainGroup->SetStatusBar(StatusBar);
    MainGroup->AssociateEdits(0, "%s", Ed_Freqa);
    MainGroup->AssociateEdits(1, "%s", Ed_DtRta);
    MainGroup->AssociateEdits(2, "%s", Ed_DtLista);
    MainGroup->AssociateEdits(3, "%u", Ed_BeInta);
    MainGroup->AssociateEdits(4, "%u", Ed_DTIMa);
    MainGroup->AssociateEdits(5, "%u", Ed_FragLena);
    MainGroup->AssociateEdits(6, "%u", Ed_RTSa);
    MainGroup->AssociateComboBox(7, CB_TranPa);
    // An edit left empty skips the constraint's exit check, and with it the
    // form's own: the form's check runs for it directly.
    for (TEdit* e : {Ed_BeInta, Ed_DTIMa, Ed_FragLena, Ed_RTSa}) {
        TNotifyEvent bound = e->OnExit;
        TNotifyEvent own;
        if (e == Ed_BeInta) own = [this](TObject* s) { Ed_BeIntaExit(s); };
        if (e == Ed_DTIMa) own = [this](TObject* s) { Ed_DTIMaExit(s); };
        if (e == Ed_FragLena) own = [this](TObject* s) { Ed_FragLenaExit(s); };
        if (e == Ed_RTSa) own = [this](TObject* s) { Ed_RTSaExit(s); };
        e->OnExit = [e, bound, own](TObject* s) {
            if (e->Text().empty())
                own(s);
            else if (bound)
                bound(s);
        };
    }
    ReadNow(MainGroup.get());
    FillDataRateCombo();

    // 10. The data rate control, when the device has it.
    RateSupportGroup = NewGroup(this, mib::perfRateSupportTable, SVT_SV, 0);
    RateSupportGroup->AssociateEdits(0, "%s", Ed_dataratecontrolsupport);
    ReadNow(RateSupportGroup.get());
    rateControlSupported_ = Ed_dataratecontrolsupport->Text() == "1";
    if (rateControlSupported_) {
        GB_DataRate->Show();
        RateStatusGroup = NewGroup(this, mib::perfRateStatusTable, MVT_SV, 0);
        RateStatusGroup->AssociateComboBox(0, CB_DateStatus);
        ReadNow(RateStatusGroup.get());
        CB_DateStatusChange(nullptr);
        RateTable = NewGroup(this, mib::perfRateTable, MVT_UMV, 1, 1);
        RateTable->BindListView(ListView1, false);
        RateTable->OnReadDone = [this](QvSNMPRequest2Controls* s, QvSNMPError* e) {
            RateTableReadDone(s, e);
        };
        // Each rate write sends the row chosen for it.
        RateTable->OnBeforeWrite = [this] {
            rateRowWriting_ = -1;
            if (rateRowsToWrite_.empty()) return;
            const int i = rateRowsToWrite_.front();
            rateRowsToWrite_.erase(rateRowsToWrite_.begin());
            if (RateItem[i] < 0 || RateItem[i] >= ListView1->Items().Count()) return;
            rateRowWriting_ = i;
            TListItem* item = ListView1->Items()[RateItem[i]];
            ListView1->SetSelected(item);
            if (item->SubItems().Count() > 0)
                item->SubItems().SetStrings(0, CB_DRate[i]->Text());
            else
                item->SubItems().Add(CB_DRate[i]->Text());
        };
        // A row the device took is what it holds now.
        RateTable->OnWriteDone = [this](QvSNMPRequest2Controls*, QvSNMPError* e) {
            const int i = rateRowWriting_;
            rateRowWriting_ = -1;
            if (i >= 0 && (!e || e->Code == 0)) DeviceRates[i] = CB_DRate[i]->Text();
        };
        StartRateTableRead();
    } else {
        GB_DataRate->Hide();
    }

    // 11.
    CB_ApModeChange(nullptr);
    CB_SupModeaChange(nullptr);
    if (WifiModeRead || GonlyRead) CB_GonlyChange(nullptr);
    SetEditLimits();

    // 12.
    IgmpGroup = NewGroup(this, mib::perfIgmpTable, MVT_SV, 0);
    IgmpGroup->AssociateComboBox(0, CB_Snooping);
    IgmpRead = ReadNow(IgmpGroup.get());
    rows_[11].shown = IgmpRead;
    Relayout();
}

void TFM_Performace::StartRateTableRead() {
    rateReadPending_ = true;
    for (int& k : RateItem) k = -1;
    EnableButtons(false);
    ReadNow(RateTable.get());
    // A request that could not even be sent never completes.
    if (rateReadPending_ && !RateTable->busy) {
        QvSNMPError failure;
        failure.Code = -1;
        failure.Message = "Get Data Rate Settings error!";
        RateTableReadDone(RateTable.get(), &failure);
    }
}

void TFM_Performace::EnableButtons(bool on) {
    Bt_Apply_a->SetEnabled(on);
    Bt_Refresh_a->SetEnabled(on);
}

bool TFM_Performace::Busy() const {
    return writes_.Running() || rateReadPending_ || (RateTable && RateTable->busy) ||
           (RadioGroup && RadioGroup->busy);
}

void TFM_Performace::FormCloseQuery(TObject*, bool& canClose) {
    // An Apply still waiting for the device keeps the form open.
    if (writes_.Running()) {
        canClose = false;
        return;
    }
    canClose = true;
    // Reads still out are of no use to a form that goes: they end here, and
    // their late replies are dropped, so the close does not wait for them.
    for (auto* g : {&RadioGroup, &RateTable})
        if (*g && (*g)->busy) WaitWhileBusy(**g, 0);
    rateReadPending_ = false;
}

// --- the data rate combo ---------------------------------------------------------------

void TFM_Performace::FillDataRateCombo() {
    CB_DtRta->Items().Clear();
    for (const char* s : kDataRates) CB_DtRta->Items().Add(s);
    const std::string rate = Ed_DtRta->Text();
    SelectText(CB_DtRta, rate == "Auto" ? rate : rate + " Mb");
}

void TFM_Performace::DataRateToDevice() {
    const std::string text = CB_DtRta->Text();
    // Nothing chosen: the device keeps its rate.
    if (CB_DtRta->ItemIndex() < 0) return;
    if (text.size() > 3 && text.compare(text.size() - 2, 2, "Mb") == 0)
        Ed_DtRta->SetText(text.substr(0, text.size() - 3));
    else
        Ed_DtRta->SetText(text);
}

void TFM_Performace::SetEditLimits() {
    Ed_BeInta->SetMaxLength(4);
    Ed_DTIMa->SetMaxLength(3);
    Ed_FragLena->SetMaxLength(4);
    Ed_RTSa->SetMaxLength(4);
}

// --- dependencies ------------------------------------------------------------------------

int TFM_Performace::BgMode() const {
    const int k = CB_Gonly->ItemIndex();
    if (GonlyRead && !WifiModeRead) return k == 1 ? 0 : k == 0 ? 2 : -1;
    return k;
}

bool TFM_Performace::RateControlOn() const { return CB_DateStatus->Text() == kEnable; }

bool TFM_Performace::AccessPointMode() const { return CB_ApMode->Text() == "Access Point"; }

bool TFM_Performace::SuperGOff() const { return Contains(CB_SupModea->Text(), kDisable); }

// The rules below grey controls by mode. The values they force follow a
// change the user makes (sender set); after a read every control keeps the
// device's value, so that an unchanged Apply changes nothing.
void TFM_Performace::CB_ApModeChange(TObject* sender) {
    if (!AccessPointMode()) {
        if (sender) SelectText(CB_DateStatus, kDisable);
        CB_DateStatus->SetEnabled(false);
    } else {
        SetUsable(CB_DateStatus, true, RateStatusGroup.get());
    }
}

void TFM_Performace::CB_SupModeaChange(TObject* sender) {
    if (SuperGOff()) {
        if (AccessPointMode()) {
            SetUsable(CB_DateStatus, true, RateStatusGroup.get());
        } else {
            CB_DateStatus->SetEnabled(false);
            if (sender) SelectText(CB_DateStatus, kDisable);
        }
        if (CB_ApMode->ItemIndex() == 4) {
            CB_DtRta->SetEnabled(false);
            if (sender) SelectText(CB_DtRta, "Auto");
        } else {
            SetUsable(CB_DtRta, !RateControlOn(), MainGroup.get());
        }
    } else {
        CB_DateStatus->SetEnabled(false);
        CB_DtRta->SetEnabled(false);
        if (sender) {
            SelectText(CB_DateStatus, kDisable);
            SelectText(CB_DtRta, "Auto");
        }
    }
}

void TFM_Performace::CB_DateStatusChange(TObject* sender) {
    if (RateControlOn()) {
        EnableRateCombos();
        CB_DtRta->SetEnabled(false);
        if (sender) SelectText(CB_DtRta, "Auto");
    } else {
        EnableRateCombos();
        SetUsable(CB_DtRta, AccessPointMode() && SuperGOff(), MainGroup.get());
    }
    SetRateComboItems();
}

void TFM_Performace::CB_GonlyChange(TObject* sender) {
    EnableRateCombos();
    const bool bOnly = BgMode() == 1;
    if (!bOnly) {
        SetUsable(CB_Preamble, true, PreambleGroup.get());
    } else {
        CB_Preamble->SetEnabled(false);
        if (sender) {
            SelectText(CB_Preamble, "Long Only");
            SelectText(CB_SupModea, kDisable);
        }
    }
    for (int i = kFirstOfdm; i < kRates; ++i) {
        CB_DRate[i]->SetVisible(!bOnly);
        La_DRate[i]->SetVisible(!bOnly);
    }
    SetRateComboItems();
}

void TFM_Performace::EnableRateCombos() {
    if (!RateControlOn()) {
        for (TComboBox* c : CB_DRate) c->SetEnabled(false);
        BT_RDateRate->SetEnabled(false);
        return;
    }
    const int m = BgMode();
    CB_DRate[0]->SetEnabled(false);
    CB_DRate[1]->SetEnabled(false);
    CB_DRate[2]->SetEnabled(m == 1);
    CB_DRate[3]->SetEnabled(m == 1);
    for (int i : {4, 6, 8}) {
        if (m == 2) CB_DRate[i]->SetEnabled(true);
        if (m == 0) CB_DRate[i]->SetEnabled(false);
    }
    for (int i : {5, 7, 9, 10, 11}) CB_DRate[i]->SetEnabled(true);
    // A rate the device did not give has nothing to edit.
    for (int i = 0; i < kRates; ++i)
        if (RateItem[i] < 0) CB_DRate[i]->SetEnabled(false);
    SetUsable(BT_RDateRate, RateTable != nullptr, RateTable.get());
}

void TFM_Performace::SetRateComboItems() {
    for (TComboBox* c : CB_DRate) {
        if (!c->Visible()) continue;
        const std::string shown = c->Text();
        if (c->Enabled())
            Fill(c, {kDisable, kEnable});
        else
            Fill(c, {kDisable, kEnable, kBasic});
        ShowRate(c, shown);
    }
    // Every rate shows what the device holds: a greyed or hidden one is
    // never written, so it must not pretend to another value.
    for (int i = 0; i < kRates; ++i)
        if (RateItem[i] >= 0) ShowRate(CB_DRate[i], DeviceRates[i]);
}

// --- the rate table ------------------------------------------------------------------------

void TFM_Performace::RateTableReadDone(QvSNMPRequest2Controls*, QvSNMPError* error) {
    if (!rateReadPending_) return;
    rateReadPending_ = false;
    if (error && error->Code != 0) {
        // Nothing of the table is known: no rate row may be written, but the
        // rest of the form still can be.
        StatusBar->SetSimpleText(error->Message.empty() ? "Get Data Rate Settings error!"
                                                        : error->Message);
        EnableRateCombos();
        EnableButtons(true);
        return;
    }
    // A row belongs to the rate its index names.
    for (int k = 0; k < ListView1->Items().Count(); ++k) {
        const long index = NumberOf(ListView1->Items()[k]->Caption());
        if (index >= 1 && index <= kRates) RateItem[index - 1] = k;
    }
    for (int i = 0; i < kRates; ++i) {
        DeviceRates[i].clear();
        if (RateItem[i] < 0) continue;
        TListItem* item = ListView1->Items()[RateItem[i]];
        if (item->SubItems().Count() > 0) DeviceRates[i] = item->SubItems()[0];
    }
    // The combos by mode, each with the device's rate.
    EnableRateCombos();
    SetRateComboItems();
    StatusBar->SetSimpleText("Get OK!");
    EnableButtons(true);
}

int TFM_Performace::RateRowsRead() const {
    int n = 0;
    for (int k : RateItem) n += k >= 0;
    return n;
}

void TFM_Performace::AddRateRowWrites(QvWriteSequence& writes, bool all) {
    // Only rows the device gave, and only those whose combo holds a rate.
    // An Apply writes only the rates the user can change: a hidden or greyed
    // one keeps the device's value. A reset sets all twelve.
    rateRowsToWrite_.clear();
    for (int i = 0; i < kRates; ++i) {
        if (RateItem[i] < 0 || RateItem[i] >= ListView1->Items().Count()) continue;
        if (CB_DRate[i]->ItemIndex() < 0) continue;
        if (!all && (!CB_DRate[i]->Enabled() || !CB_DRate[i]->Visible())) continue;
        rateRowsToWrite_.push_back(i);
        writes.Add(RateTable.get(), false);
    }
}

// --- checks ----------------------------------------------------------------------------------

bool TFM_Performace::CheckRange(TEdit* edit, long lo, long hi, const std::string& caption,
                                bool clear) {
    const long n = NumberOf(edit->Text());
    if (n >= lo && n <= hi) return true;
    MessageBox(this,
               "Please input a number between " + std::to_string(lo) + " and " +
                   std::to_string(hi) + ".",
               caption, MB_OK | MB_ICONWARNING);
    if (clear) edit->Clear();
    edit->SetFocus();
    return false;
}

void TFM_Performace::Ed_BeIntaExit(TObject*) { CheckRange(Ed_BeInta, 20, 1000, "Warning", false); }
void TFM_Performace::Ed_DTIMaExit(TObject*) { CheckRange(Ed_DTIMa, 1, 255, "Warning", false); }
void TFM_Performace::Ed_FragLenaExit(TObject*) {
    CheckRange(Ed_FragLena, 256, 2346, "Warning", false);
}
void TFM_Performace::Ed_RTSaExit(TObject*) { CheckRange(Ed_RTSa, 256, 2346, "Warning", true); }

// --- apply, refresh, reset -------------------------------------------------------------------

void TFM_Performace::Bt_Apply_aClick(TObject*) {
    if (Busy() || !MainGroup) return;
    if (!CheckRange(Ed_BeInta, 20, 1000, "Error", true)) return;
    if (!CheckRange(Ed_DTIMa, 1, 255, "Error", true)) return;
    if (!CheckRange(Ed_FragLena, 256, 2346, "Error", true)) return;
    if (!CheckRange(Ed_RTSa, 256, 2346, "Error", true)) return;
    DataRateToDevice();
    if (rateControlSupported_ && RateStatusGroup && RateTable) {
        if (CB_DateStatus->ItemIndex() >= 0) writes_.Add(RateStatusGroup.get());
        AddRateRowWrites(writes_, false);
    }
    if (WifiModeRead) {
        writes_.Add(SuperGGroup.get());
        writes_.Add(WifiModeGroup.get());
    } else if (GonlyRead) {
        writes_.Add(GonlyGroup.get());
    }
    writes_.Add(MainGroup.get());
    if (XRRead) writes_.Add(XRGroup.get());
    if (WMMRead) writes_.Add(WMMGroup.get());
    if (PreambleRead) writes_.Add(PreambleGroup.get());
    if (IgmpRead) writes_.Add(IgmpGroup.get());
    writes_.Add(RadioGroup.get());
    EnableButtons(false);
    writes_.Start([this](bool ok, const QvSNMPError&) { ApplyDone(ok); });
}

void TFM_Performace::ApplyDone(bool ok) {
    rateRowsToWrite_.clear();
    EnableButtons(true);
    if (!ok) {
        StatusBar->SetSimpleText("Setting error!");
        return;
    }
    {
        TFM_Waiting::Run();
    }
    StatusBar->SetSimpleText("Setting Success!");
}

void TFM_Performace::Bt_Refresh_aClick(TObject*) {
    if (Busy() || !MainGroup) return;
    EnableButtons(false);
    if (WifiModeRead) {
        ReadNow(WifiModeGroup.get());
        ReadNow(SuperGGroup.get());
    } else if (GonlyRead) {
        ReadNow(GonlyGroup.get());
    }
    ReadNow(MainGroup.get());
    if (PreambleRead) ReadNow(PreambleGroup.get());
    if (WMMRead) ReadNow(WMMGroup.get());
    if (IgmpRead) ReadNow(IgmpGroup.get());
    if (!RadioGroup->busy) ReadNow(RadioGroup.get());
    FillDataRateCombo();
    if (rateControlSupported_ && RateStatusGroup && RateTable) {
        ReadNow(RateStatusGroup.get());
        StartRateTableRead();
    } else {
        EnableButtons(true);
    }
    SetEditLimits();
    // The data rate as read stays; only whether it can be changed follows.
    if (RateControlOn())
        CB_DtRta->SetEnabled(false);
    else if (AccessPointMode() && SuperGOff())
        SetUsable(CB_DtRta, true, MainGroup.get());
}

void TFM_Performace::BT_RDateRateClick(TObject*) {
    if (Busy() || !RateTable) return;
    if (MessageBox(this, "It will Reset Date Settings to Default Status! Continue?", "Warning",
                   MB_OKCANCEL | MB_ICONWARNING) != IDOK)
        return;
    const int m = BgMode();
    auto set = [this](int i, const char* text) { ShowRate(CB_DRate[i], text); };
    set(0, kBasic);
    set(1, kBasic);
    if (m != 1) {
        set(2, kBasic);
        set(3, kBasic);
        for (int i : {4, 6, 8}) {
            if (m == 2) set(i, kEnable);
            if (m == 0) set(i, kBasic);
        }
    }
    for (int i : {5, 7, 9, 10, 11}) set(i, kEnable);
    if (m == 1) {
        set(2, kEnable);
        set(3, kEnable);
    }
    AddRateRowWrites(writes_, true);
    if (!writes_.Start([this](bool ok, const QvSNMPError&) {
            rateRowsToWrite_.clear();
            if (!ok) {
                StatusBar->SetSimpleText("Setting error!");
                return;
            }
            Bt_Refresh_aClick(nullptr);
        }))
        Bt_Refresh_aClick(nullptr);
}
