#include "forms/wireless/TFM_FilterMAC.h"

#include "binding/New_req2Edit.h"
#include "binding/QvSNMPRequest2Edits.h"
#include "forms/wireless/TFM_Filter.h"
#include "forms/wireless/TFM_MACAddr.h"
#include "mib/FilterVars.h"
#include "ui/Application.h"
#include "ui/ListView.h"
#include "ui/StatusBar.h"
#include "ui/Widgets.h"

#include <exception>

TFM_FilterMAC* FM_FilterMAC = nullptr;

namespace {

const char kListing[] = "Listing data ... ";
const char kFreeMac[] = "000000000000";

TButton* Button(TWinControl* parent, const char* name, const char* caption, int left, int top) {
    auto* b = new TButton(parent);
    b->SetName(name);
    b->SetCaption(caption);
    b->SetBounds(left, top, 75, 25);
    return b;
}

TListView* List(TWinControl* parent, const char* name) {
    auto* lv = new TListView(parent);
    lv->SetName(name);
    lv->SetViewStyle(vsReport);
    lv->SetRowSelect(true);
    lv->SetReadOnly(true);
    lv->SetHideSelection(false);
    lv->SetBounds(12, 28, 260, 250);
    return lv;
}

std::string MacOf(const TListItem* item) {
    return item && item->SubItems().Count() > 0 ? item->SubItems()[0] : std::string();
}

} // namespace

TFM_FilterMAC::TFM_FilterMAC(TComponent* owner) : TForm(owner) {
    FM_FilterMAC = this;
    SetFrame({.name = "FM_FilterMAC", .caption = "MAC Address Table", .clientWidth = 370,
              .clientHeight = 312});

    Label15 = new TLabel(this);
    Label15->SetName("Label15");
    Label15->SetParent(this);
    Label15->SetCaption("Access Control List");
    Label15->SetBounds(12, 8, 200, 16);
    LV_StaticPoolSet = List(this, "LV_StaticPoolSet");
    // Under the list of used entries: it only carries the selection to edit.
    LV_StaticPoolSet->SetVisible(false);
    User_ListView = List(this, "User_ListView");
    Bt_Add = Button(this, "Bt_Add", "Add", 284, 28);
    Bt_Set = Button(this, "Bt_Set", "Set", 284, 60);
    Bt_Del = Button(this, "Bt_Del", "Del", 284, 92);
    Bt_Rfrsh = Button(this, "Bt_Rfrsh", "Refresh", 284, 124);
    Bt_Set->SetEnabled(false);
    Bt_Del->SetEnabled(false);
    StatusBar = new TStatusBar(this);
    StatusBar->SetName("StatusBar");
    StatusBar->Panels().Add()->SetWidth(50);
    StatusBar->SetAlign(alBottom);

    Bt_Add->OnClick = [this](TObject* s) { Bt_AddClick(s); };
    Bt_Set->OnClick = [this](TObject* s) { Bt_SetClick(s); };
    Bt_Del->OnClick = [this](TObject* s) { Bt_DelClick(s); };
    Bt_Rfrsh->OnClick = [this](TObject* s) { Bt_RfrshClick(s); };
    User_ListView->OnDblClick = [this](TObject* s) { Bt_SetClick(s); };
    User_ListView->OnSelectItem = [this](TObject* s, TListItem* item, bool selected) {
        User_ListViewSelectItem(s, item, selected);
    };
    LV_StaticPoolSet->OnClick = [this](TObject* s) { LV_StaticPoolSetClick(s); };
    OnCloseQuery = [this](TObject* s, bool& canClose) { FormCloseQuery(s, canClose); };
    OnClose = [this](TObject* s, TCloseAction&) { FormClose(s); };
    OnCreate = [this](TObject* s) { FormCreate(s); };
}

TFM_FilterMAC::~TFM_FilterMAC() {
    // The requests go first: their completions touch the dialog and the lists.
    ListRequest.reset();
    TableRequest.reset();
    delete FM_MACAddr;
    FM_MACAddr = nullptr;
    if (FM_FilterMAC == this) FM_FilterMAC = nullptr;
}

void TFM_FilterMAC::SetStatus(const std::string& text) {
    if (StatusBar->Panels().Count() > 0) StatusBar->Panels()[0]->SetText(text);
}

void TFM_FilterMAC::FormCreate(TObject*) {
    Band = FM_Filter && FM_Filter->ListFlagG && !FM_Filter->ListFlagA ? 2 : 1;
    const QvSNMPVar* table = Band == 2 ? mib::filterMacTableG : mib::filterMacTableA;
    try {
        TableRequest = std::make_unique<QvSNMPRequest2Edits>(this);
        TableRequest->request.vars = QvSNMPVarList(table, MVT_FMV, 1);
        TableRequest->OnReadDone = [this](QvSNMPRequest2Controls* s, QvSNMPError* e) {
            OnTableReadDone(s, e);
        };
        TableRequest->OnWriteDone = [this](QvSNMPRequest2Controls* s, QvSNMPError* e) {
            OnTableWriteDone(s, e);
        };
        TableRequest->BindListView(LV_StaticPoolSet, true);
        TableRequest->SetStatusBar(StatusBar->Panels()[0]);
        for (TButton* b : {Bt_Set, Bt_Del, Bt_Rfrsh, Bt_Add})
            b->SetEnabled(false);
        SetStatus(kListing);
        TableRequest->Read();

        FM_MACAddr = new TFM_MACAddr(nullptr);
        TableRequest->AssociateControl(mib::filtermac::Index, FM_MACAddr->LA_Index);
        TableRequest->AssociateEdits(mib::filtermac::MAC, "%h", FM_MACAddr->Ed_MACAddr);
        TableRequest->SetConstraintOwner(FM_MACAddr);

        ListRequest = std::make_unique<New_req2Edit>(this);
        ListRequest->request.vars = QvSNMPVarList(table, MVT_UMV, 1);
        ListRequest->BindListView(User_ListView, false);
        ListRequest->SetStatusBar(StatusBar->Panels()[0]);
        ListRequest->stopValue = kFreeMac;
        ListRequest->Read();
    } catch (const std::exception& e) {
        SetStatus(e.what());
        Busy = 0;
        Bt_Rfrsh->SetEnabled(true);
    }
}

int TFM_FilterMAC::RowOfMac(const std::string& mac) const {
    for (int k = 0; k < LV_StaticPoolSet->Items().Count(); ++k)
        if (MacOf(LV_StaticPoolSet->Items()[k]) == mac) return k;
    return -1;
}

void TFM_FilterMAC::ShowIdleButtons() {
    Bt_Rfrsh->SetEnabled(true);
    Bt_Add->SetEnabled(RowOfMac(kFreeMac) >= 0);
    const bool row = User_ListView->Selected() != nullptr;
    Bt_Set->SetEnabled(row);
    Bt_Del->SetEnabled(row);
}

void TFM_FilterMAC::OnTableReadDone(QvSNMPRequest2Controls*, QvSNMPError* error) {
    SetStatus(error ? error->Message : std::string());
    Busy = 0;
    Bt_Rfrsh->SetEnabled(true);
    if (!error || error->Code == 0) ShowIdleButtons();
}

void TFM_FilterMAC::OnTableWriteDone(QvSNMPRequest2Controls*, QvSNMPError* error) {
    SetStatus(error ? error->Message : std::string());
    if (error && error->Code != 0) {
        // Nothing follows a refused write: the form must stay closable.
        EndOperation();
        return;
    }
    for (TButton* b : {Bt_Rfrsh, Bt_Add, Bt_Set, Bt_Del})
        b->SetEnabled(false);
    LV_StaticPoolSet->Items().Clear();
    SetStatus(kListing);
    Busy = 1;
    if (!TableRequest->Read()) EndOperation();
    User_ListView->Items().Clear();
    ListRequest->rowNumber = 1;
    if (!ListRequest->busy) ListRequest->Read();
}

void TFM_FilterMAC::EndOperation() {
    if (TableRequest && TableRequest->busy) return; // its read completion clears it
    Busy = 0;
    ShowIdleButtons();
}

void TFM_FilterMAC::User_ListViewSelectItem(TObject*, TListItem*, bool) {
    const bool row = User_ListView->Selected() != nullptr;
    Bt_Set->SetEnabled(row && !Busy);
    Bt_Del->SetEnabled(row && !Busy);
}

void TFM_FilterMAC::LV_StaticPoolSetClick(TObject*) {}

void TFM_FilterMAC::Bt_RfrshClick(TObject*) {
    if (!TableRequest || !ListRequest) return;
    if (TableRequest->busy) {
        Bt_Set->SetEnabled(false);
        Bt_Del->SetEnabled(false);
        return;
    }
    Busy = 1;
    for (TButton* b : {Bt_Set, Bt_Del, Bt_Rfrsh, Bt_Add})
        b->SetEnabled(false);
    SetStatus(kListing);
    if (!TableRequest->Read()) EndOperation();
    ListRequest->rowNumber = 1;
    if (!ListRequest->busy) ListRequest->Read();
}

void TFM_FilterMAC::Bt_AddClick(TObject*) {
    if (!TableRequest || !FM_MACAddr || TableRequest->busy || Busy || writes_.Running()) return;
    const int row = RowOfMac(kFreeMac);
    if (row < 0) return;
    SelectEntry(row);
    Busy = 1;
    FM_MACAddr->SetCaption("Adding MAC Address");
    FM_MACAddr->Ed_MACAddr->SetMaxLength(12);
    FM_MACAddr->Written = false;
    FM_MACAddr->ShowModal();
    // Closed without a write that went through: no read follows to clear it.
    if (!FM_MACAddr || !FM_MACAddr->Written) EndOperation();
}

void TFM_FilterMAC::Bt_SetClick(TObject*) {
    if (!TableRequest || !FM_MACAddr || TableRequest->busy || Busy || writes_.Running()) return;
    TListItem* chosen = User_ListView->Selected();
    if (!chosen) return;
    const int row = RowOfMac(MacOf(chosen));
    if (row < 0) return;
    SelectEntry(row);
    FM_MACAddr->SetCaption("Set MAC Address");
    FM_MACAddr->Ed_MACAddr->SetMaxLength(12);
    FM_MACAddr->Written = false;
    FM_MACAddr->ShowModal();
}

void TFM_FilterMAC::Bt_DelClick(TObject*) {
    if (!TableRequest || !FM_MACAddr || TableRequest->busy || writes_.Running()) return;
    TListItem* chosen = User_ListView->Selected();
    if (!chosen) return;
    const int row = RowOfMac(MacOf(chosen));
    if (row < 0) return;
    SelectEntry(row);
    Busy = 1;
    for (TButton* b : {Bt_Add, Bt_Set, Bt_Del})
        b->SetEnabled(false);
    FM_MACAddr->Ed_MACAddr->SetText(kFreeMac);
    WriteEntry([this, row](bool ok, const QvSNMPError&) {
        // Refused: the entry keeps its MAC, and so does the dialog.
        if (!ok && row < LV_StaticPoolSet->Items().Count()) SelectEntry(row);
    });
}

void TFM_FilterMAC::SelectEntry(int row) {
    TListItem* item = LV_StaticPoolSet->Items()[row];
    // Selecting the row again copies it into the dialog again: a cancelled
    // edit or a refused delete leaves other text there.
    if (LV_StaticPoolSet->Selected() == item) LV_StaticPoolSet->SetSelected(nullptr);
    LV_StaticPoolSet->SetSelected(item);
}

bool TFM_FilterMAC::WriteEntry(QvWriteSequence::Done done) {
    if (!TableRequest || writes_.Running()) return false;
    writes_.Add(TableRequest.get(), false);
    const bool started = writes_.Start([this, done](bool ok, const QvSNMPError& failure) {
        if (!ok) EndOperation();
        if (done) done(ok, failure);
    });
    if (!started) EndOperation();
    return started;
}

bool TFM_FilterMAC::AnyOutstanding() const {
    for (const QvSNMPRequest2Controls* r :
         {static_cast<const QvSNMPRequest2Controls*>(TableRequest.get()),
          static_cast<const QvSNMPRequest2Controls*>(ListRequest.get())})
        if (r && (r->busy || r->request.Outstanding > 0)) return true;
    return writes_.Running();
}

void TFM_FilterMAC::FormCloseQuery(TObject*, bool& canClose) {
    canClose = !Busy && !AnyOutstanding();
}

void TFM_FilterMAC::FormClose(TObject*) {
    // Late replies are dropped (nothing is outstanding once the close is allowed).
    if (TableRequest) TableRequest->request.Alive = false;
}
