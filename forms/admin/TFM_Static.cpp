#include "forms/admin/TFM_Static.h"

#include "app/MainUnit.h"
#include "app/TMainForm.h"
#include "binding/QvFailureCapture.h"
#include "binding/QvSNMPRequest2Edits.h"
#include "mib/StaticVars.h"
#include "snmp/QvSNMPVar.h"
#include "ui/Application.h"
#include "ui/PageControl.h"
#include "ui/Widgets.h"

#include <memory>
#include <string>

namespace {

struct CounterDef {
    const char* edit; // band 1 name; band 2 ends in "g" instead of "a"
    const char* caption;
    bool percent;
};

const CounterDef kCounters[TFM_Static::CounterCount] = {
    {"Ed_TranSuRata", "Transmit Success Rate", true},
    {"Ed_TranReRata", "Transmit Retry Rate", true},
    {"Ed_RcvSuRata", "Receive Success Rate", true},
    {"Ed_RcvDuRata", "Receive Duplicate Rate", true},
    {"Ed_RTSSuCnta", "RTS Success Count", false},
    {"Ed_RTSFaCnta", "RTS Failure Count", false},
    {"Ed_TranFrCnta", "Transmitted Frame Count", false},
    {"Ed_McastTranFrCnta", "Multicast Transmitted Frame Count", false},
    {"Ed_TranErrCnta", "Transmitted Error Count", false},
    {"Ed_TranTtlRtyCnta", "Transmitted Total Retry Count ", false},
    {"Ed_TranMulRtyCnta", "Transmitted Multiple Retry Count ", false},
    {"Ed_RcvFrmCnta", "Received Frame Count", false},
    {"Ed_MRcvFrmCnta", "Multicast Received Frame Count", false},
    {"Ed_RcvFrmErrCnta", "Received Frame FCS Error Count ", false},
    {"Ed_RcvFrmDupCnta", "Received Frame Duplicate Count ", false},
    {"Ed_AckRcvfCnta", "Ack Rcv failure Count ", false},
    {"Ed_WEPEFrmCnta", "WEP Excluded Frame Count", false},
    {"Ed_WEPIErrCnta", "WEP ICV Error Count", false},
};

constexpr int kRowHeight = 24;
constexpr int kEditLeft = 230;

TEdit* NewEdit(TWinControl* parent, const std::string& name, int top) {
    auto* edit = NewControl<TEdit>(parent, parent, name, kEditLeft, top, 110, 21);
    edit->SetReadOnly(true);
    edit->SetColor(clBtnFace);
    edit->SetText("");
    return edit;
}

} // namespace

void TFM_Static::RegisterOpener() {
    TMainForm::RegisterModalForm<TFM_Static>("TFM_Static");
}

TFM_Static::TFM_Static(TComponent* owner) : TForm(owner) {
    SetFrame({.name = "FM_Static", .caption = "Status \\ Stats", .border = bsSingle,
              .position = poOwnerFormCenter, .clientWidth = 396, .clientHeight = 596});
    SetBorderIcons(BorderIcons() & ~biMaximize);
    BuildControls();
    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
}

TFM_Static::~TFM_Static() {
    FreeRequests();
}

void TFM_Static::BuildControls() {
    PC_Static = new TPageControl(this);
    PC_Static->SetName("PC_Static");
    PC_Static->SetBounds(8, 8, 380, 580);
    TabSheetA = new TTabSheet(PC_Static);
    TabSheetA->SetName("TabSheetA");
    TabSheetG = new TTabSheet(PC_Static);
    TabSheetG->SetName("TabSheetG");
    TabSheetG->SetTabVisible(false);

    TTabSheet* sheets[2] = {TabSheetA, TabSheetG};
    TEdit** edits[2] = {CountersA, CountersG};
    for (int b = 0; b < 2; ++b) {
        for (int c = 0; c < CounterCount; ++c) {
            const int top = 8 + c * kRowHeight;
            std::string name = kCounters[c].edit;
            if (b == 1) name.back() = 'g';
            NewLabel(sheets[b], sheets[b], kCounters[c].caption, 10, top + 3);
            edits[b][c] = NewEdit(sheets[b], name, top);
            if (kCounters[c].percent) NewLabel(sheets[b], sheets[b], "%", kEditLeft + 116, top + 3);
        }
    }
    const int bytesTop = 8 + CounterCount * kRowHeight;
    La_TransmitedBytes =
        NewLabel(TabSheetA, TabSheetA, "Transmitted Bytes Count", 10, bytesTop + 3);
    stTransmitedByteCount = NewEdit(TabSheetA, "stTransmitedByteCount", bytesTop);
    La_ReceivedBytes =
        NewLabel(TabSheetA, TabSheetA, "Received Bytes Count", 10, bytesTop + kRowHeight + 3);
    stReceivedByteCount = NewEdit(TabSheetA, "stReceivedByteCount", bytesTop + kRowHeight);

    Bt_RfrshA = new TButton(TabSheetA);
    Bt_RfrshA->SetParent(TabSheetA);
    Bt_RfrshA->SetName("Bt_RfrshA");
    Bt_RfrshA->SetCaption("Refresh");
    Bt_RfrshA->SetBounds(265, bytesTop + 2 * kRowHeight + 6, 75, 25);
    Bt_RfrshA->OnClick = [this](TObject* s) { Bt_RfrshAClick(s); };
    Bt_RfrshG = new TButton(TabSheetG);
    Bt_RfrshG->SetParent(TabSheetG);
    Bt_RfrshG->SetName("Bt_RfrshG");
    Bt_RfrshG->SetCaption("Refresh");
    Bt_RfrshG->SetBounds(265, bytesTop + 2 * kRowHeight + 6, 75, 25);
    Bt_RfrshG->OnClick = [this](TObject* s) { Bt_RfrshGClick(s); };
}

TEdit* TFM_Static::Counter(const std::string& name) const {
    for (int c = 0; c < CounterCount; ++c) {
        if (CountersA[c]->Name() == name) return CountersA[c];
        if (CountersG[c]->Name() == name) return CountersG[c];
    }
    return nullptr;
}

void TFM_Static::FormCreate(TObject*) {
    const QvSNMPVar* tables[2] = {mib::staticBand1Vars, mib::staticBand2Vars};
    TTabSheet* sheets[2] = {TabSheetA, TabSheetG};
    QvSNMPRequest2Edits** groups[2] = {&Band1Request, &Band2Request};
    TEdit** edits[2] = {CountersA, CountersG};
    for (int b = 0; b < 2; ++b) {
        if (!sheets[b]->TabVisible()) continue;
        sheets[b]->SetCaption(g_BandCaption);
        auto* group = new QvSNMPRequest2Edits(this);
        *groups[b] = group;
        group->mode = 0;
        group->request.vars = QvSNMPVarList(tables[b], MVT_SV, 0);
        group->request.vars.Name = "802.11 Statistics";
        for (int c = 0; c < CounterCount; ++c)
            group->AssociateEdits(c, "%s", edits[b][c]);
        QvReadOrRaise(*group);
        if (b != 0) continue;

        // Optional objects: their row shows only when the firmware answers.
        ByteRequest = new QvSNMPRequest2Edits(this);
        ByteRequest->mode = 0;
        ByteRequest->request.vars = QvSNMPVarList(mib::staticByteVars, MVT_SV, 0);
        ByteRequest->request.vars.Name = "Byte Counts";
        ByteRequest->AssociateEdits(0, "%s", stTransmitedByteCount);
        ByteRequest->AssociateEdits(1, "%s", stReceivedByteCount);
        BytesReadable = ByteRequest->Read();
        for (TControl* c : std::initializer_list<TControl*>{La_TransmitedBytes,
                                                            stTransmitedByteCount,
                                                            La_ReceivedBytes, stReceivedByteCount})
            c->SetVisible(BytesReadable);
    }
}

void TFM_Static::Bt_RfrshAClick(TObject*) {
    if (!Band1Request) return;
    QvReadOrRaise(*Band1Request);
    if (ByteRequest && BytesReadable) ByteRequest->Read();
}

void TFM_Static::Bt_RfrshGClick(TObject*) {
    if (Band2Request) QvReadOrRaise(*Band2Request);
}

void TFM_Static::FormClose(TObject*, TCloseAction&) {
    FreeRequests();
}

void TFM_Static::FreeRequests() {
    for (QvSNMPRequest2Edits** group : {&Band1Request, &Band2Request, &ByteRequest}) {
        delete *group;
        *group = nullptr;
    }
}
